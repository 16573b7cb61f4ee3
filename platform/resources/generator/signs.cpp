// The sign glyphs of icons, message boxes, lists and tools: each a shape in its own colours
// with a white mark, drawn to any square.
#include <cmath>
#include <functional>
#include <map>

#include "canvas.h"

namespace zx::resgen {
namespace {

constexpr Rgb kWhite{255, 255, 255};

// A filled disc with a lighter top, darker outline.
void Disc(cairo_t* cr, Rect r, Rgb light, Rgb dark) {
  const double cx = r.x + r.w / 2, cy = r.y + r.h / 2, radius = r.w / 2 - 0.5;
  cairo_save(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_clip(cr);
  Gradient(cr, r, light, dark);
  cairo_restore(cr);
  cairo_arc(cr, cx, cy, radius - 0.25, 0, 2 * M_PI);
  SetColour(cr, Mix(dark, {0, 0, 0}, 0.25));
  cairo_set_line_width(cr, std::max(0.75, r.w / 32));
  cairo_stroke(cr);
}

// A white stroke through the points given in fractions of the square.
void Mark(cairo_t* cr, Rect r, std::initializer_list<std::pair<double, double>> points, double width,
          Rgb colour = kWhite) {
  bool first = true;
  for (const auto& [px, py] : points) {
    const double x = r.x + px * r.w, y = r.y + py * r.h;
    if (first) cairo_move_to(cr, x, y);
    else cairo_line_to(cr, x, y);
    first = false;
  }
  SetColour(cr, colour);
  cairo_set_line_width(cr, std::max(1.2, width * r.w));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void Letter(cairo_t* cr, Rect r, const char* letter, Rgb colour, double scale = 0.62) {
  Text(cr, letter, r, r.h * scale, true, colour);
}

void Error(cairo_t* cr, Rect r) {
  Disc(cr, r, {232, 86, 90}, {180, 30, 38});
  Mark(cr, r, {{0.33, 0.33}, {0.67, 0.67}}, 0.11);
  Mark(cr, r, {{0.67, 0.33}, {0.33, 0.67}}, 0.11);
}

void Warning(cairo_t* cr, Rect r) {
  cairo_save(cr);
  cairo_move_to(cr, r.x + r.w / 2, r.y + r.h * 0.06);
  cairo_line_to(cr, r.x + r.w * 0.97, r.y + r.h * 0.92);
  cairo_line_to(cr, r.x + r.w * 0.03, r.y + r.h * 0.92);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_clip_preserve(cr);
  Gradient(cr, r, {250, 208, 84}, {226, 150, 24});
  cairo_reset_clip(cr);
  SetColour(cr, {160, 100, 10});
  cairo_set_line_width(cr, std::max(0.75, r.w / 32));
  cairo_stroke(cr);
  cairo_restore(cr);
  Letter(cr, {r.x, r.y + r.h * 0.2, r.w, r.h * 0.7}, "!", {58, 40, 12}, 0.55);
}

void Info(cairo_t* cr, Rect r) {
  Disc(cr, r, {92, 158, 236}, {30, 92, 180});
  Letter(cr, r, "i", kWhite);
}

void Question(cairo_t* cr, Rect r) {
  Disc(cr, r, {78, 174, 210}, {22, 110, 150});
  Letter(cr, r, "?", kWhite);
}

void Good(cairo_t* cr, Rect r) {
  Disc(cr, r, {96, 198, 110}, {32, 130, 56});
  Mark(cr, r, {{0.28, 0.52}, {0.44, 0.68}, {0.73, 0.35}}, 0.11);
}

void App(cairo_t* cr, Rect r) {
  cairo_save(cr);
  RoundedPath(cr, {r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1}, r.w * 0.22);
  cairo_clip(cr);
  Gradient(cr, r, {72, 140, 226}, {26, 72, 146});
  // A green swoosh under the letter: the product keeps things up to date.
  cairo_arc(cr, r.x + r.w * 0.5, r.y + r.h * 1.25, r.w * 0.62, 0, 2 * M_PI);
  SetColour(cr, {76, 186, 98});
  cairo_fill(cr);
  cairo_restore(cr);
  RoundedPath(cr, {r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1}, r.w * 0.22);
  SetColour(cr, {18, 48, 98});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  Letter(cr, {r.x, r.y, r.w, r.h * 0.8}, "T", kWhite, 0.6);
}

void Pending(cairo_t* cr, Rect r) {
  Disc(cr, r, {236, 240, 245}, {196, 205, 216});
  for (double x : {0.3, 0.5, 0.7}) Mark(cr, r, {{x, 0.5}, {x, 0.5}}, 0.12, {96, 112, 134});
}

void Bubble(cairo_t* cr, Rect r) {
  cairo_save(cr);
  RoundedPath(cr, {r.x + r.w * 0.04, r.y + r.h * 0.1, r.w * 0.92, r.h * 0.64}, r.w * 0.16);
  cairo_move_to(cr, r.x + r.w * 0.28, r.y + r.h * 0.7);
  cairo_line_to(cr, r.x + r.w * 0.22, r.y + r.h * 0.94);
  cairo_line_to(cr, r.x + r.w * 0.5, r.y + r.h * 0.72);
  cairo_close_path(cr);
  cairo_clip(cr);
  Gradient(cr, r, {120, 176, 238}, {44, 104, 186});
  cairo_restore(cr);
  for (double y : {0.3, 0.5}) Mark(cr, r, {{0.22, y}, {0.78, y}}, 0.07);
}

void Clock(cairo_t* cr, Rect r) {
  Disc(cr, r, {255, 255, 255}, {214, 222, 232});
  Mark(cr, r, {{0.5, 0.22}, {0.5, 0.5}, {0.7, 0.62}}, 0.08, {45, 54, 72});
}

void Arrow(cairo_t* cr, Rect r) {
  Disc(cr, r, {96, 198, 110}, {32, 130, 56});
  Mark(cr, r, {{0.5, 0.24}, {0.5, 0.72}}, 0.11);
  Mark(cr, r, {{0.3, 0.52}, {0.5, 0.72}, {0.7, 0.52}}, 0.11);
}

void Shield(cairo_t* cr, Rect r) {
  cairo_save(cr);
  cairo_move_to(cr, r.x + r.w * 0.5, r.y + r.h * 0.04);
  cairo_line_to(cr, r.x + r.w * 0.9, r.y + r.h * 0.18);
  cairo_curve_to(cr, r.x + r.w * 0.9, r.y + r.h * 0.6, r.x + r.w * 0.7, r.y + r.h * 0.85, r.x + r.w * 0.5,
                 r.y + r.h * 0.96);
  cairo_curve_to(cr, r.x + r.w * 0.3, r.y + r.h * 0.85, r.x + r.w * 0.1, r.y + r.h * 0.6, r.x + r.w * 0.1,
                 r.y + r.h * 0.18);
  cairo_close_path(cr);
  cairo_clip(cr);
  Gradient(cr, r, {72, 140, 226}, {26, 72, 146});
  cairo_restore(cr);
  Mark(cr, r, {{0.32, 0.5}, {0.46, 0.64}, {0.7, 0.36}}, 0.1);
}

const std::map<std::string, std::function<void(cairo_t*, Rect)>>& Signs() {
  static const std::map<std::string, std::function<void(cairo_t*, Rect)>> signs{
      {"error", Error}, {"warning", Warning}, {"info", Info},     {"question", Question},
      {"good", Good},   {"done", Good},       {"app", App},       {"pending", Pending},
      {"bubble", Bubble}, {"clock", Clock},   {"arrow", Arrow},   {"shield", Shield}};
  return signs;
}

}  // namespace

bool IsSign(const std::string& name) { return Signs().count(name) != 0; }

bool Sign(cairo_t* cr, const std::string& name, Rect r) {
  const auto found = Signs().find(name);
  if (found == Signs().end()) return false;
  cairo_save(cr);
  found->second(cr, r);
  cairo_restore(cr);
  return true;
}

}  // namespace zx::resgen
