// The drawing surface and the fill helpers of the generator.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace zx::resgen {

Rgb ParseRgb(const std::string& text) {
  unsigned value = 0;
  char extra = 0;
  if (text.size() != 7 || text[0] != '#' || std::sscanf(text.c_str() + 1, "%6x%c", &value, &extra) != 1)
    throw std::invalid_argument("a colour is written #RRGGBB: " + text);
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy),
      cr_(cairo_create(surface_.get()), cairo_destroy) {
  if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("no drawing surface");
}

Image Canvas::Take() const {
  cairo_surface_flush(surface_.get());
  const unsigned char* data = cairo_image_surface_get_data(surface_.get());
  const int stride = cairo_image_surface_get_stride(surface_.get());
  Image image{width_, height_, {}};
  image.pixels.reserve(static_cast<std::size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      if (a == 0 || a == 255) {
        image.pixels.push_back(a == 0 ? 0 : p);
        continue;
      }
      auto un = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
      image.pixels.push_back(a << 24 | un((p >> 16) & 0xFF) << 16 | un((p >> 8) & 0xFF) << 8 | un(p & 0xFF));
    }
  }
  return image;
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto m = [t](std::uint8_t p, std::uint8_t q) { return static_cast<std::uint8_t>(std::lround(p + (q - p) * t)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void RoundedPath(cairo_t* cr, Rect r, double radius) {
  const double k = std::min({radius, r.w / 2, r.h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, r.x + r.w - k, r.y + k, k, -M_PI / 2, 0);
  cairo_arc(cr, r.x + r.w - k, r.y + r.h - k, k, 0, M_PI / 2);
  cairo_arc(cr, r.x + k, r.y + r.h - k, k, M_PI / 2, M_PI);
  cairo_arc(cr, r.x + k, r.y + k, k, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Gradient(cairo_t* cr, Rect r, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
  cairo_rectangle(cr, r.x, r.y, r.w, r.h);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Box(cairo_t* cr, Rect r, const Fill& fill, double radius) {
  cairo_save(cr);
  RoundedPath(cr, {r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1}, radius);
  cairo_clip(cr);
  Gradient(cr, r, fill.top, fill.bottom);
  // A light line just inside the top edge gives the box its lift.
  SetColour(cr, {255, 255, 255}, 0.35);
  cairo_rectangle(cr, r.x + 1, r.y + 1, r.w - 2, 1);
  cairo_fill(cr);
  cairo_reset_clip(cr);
  RoundedPath(cr, {r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1}, radius);
  SetColour(cr, fill.border);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace zx::resgen
