// The generator's drawing surface on cairo, and the few helpers every painter is made of:
// gradient fills, rounded boxes, text in the shipped font and the small sign glyphs.
#pragma once
#include <cairo.h>

#include <memory>
#include <string>

#include "image.h"

namespace zx::resgen {

struct Rect {
  double x, y, w, h;
};

// A vertical run of colour: top to bottom, and the outline drawn around a box.
struct Fill {
  Rgb top, bottom, border;
};

class Canvas {
 public:
  Canvas(int width, int height);  // transparent
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixels as they stand, straight alpha.
  Image Take() const;

 private:
  int width_, height_;
  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface_;
  std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr_;
};

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a
void RoundedPath(cairo_t* cr, Rect r, double radius);
// A vertical gradient over r, within the current clip.
void Gradient(cairo_t* cr, Rect r, Rgb top, Rgb bottom);
// A rounded box: the fill's gradient inside, a one-pixel outline, a light inner top line.
void Box(cairo_t* cr, Rect r, const Fill& fill, double radius);
// One line of text centred in r (or starting at r.x when `centred` is false), in the shipped
// DejaVu Sans at `pixels` em size.
void Text(cairo_t* cr, const std::string& text, Rect r, double pixels, bool bold, Rgb colour,
          bool centred = true);
// A sign drawn in the square r: "error", "warning", "info", "question", "good", "app",
// "pending", "done", "bubble", "clock", "arrow", "shield". False for an unknown name.
bool Sign(cairo_t* cr, const std::string& name, Rect r);
bool IsSign(const std::string& name);

}  // namespace zx::resgen
