// The painters of the program's pictures, in one palette: a navy title and header band, light
// frames, blue accent buttons on white, and the signs of canvas.h.
#include "painters.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "canvas.h"

namespace zx::resgen {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kInk{0x2D, 0x36, 0x48};          // the windows' text colour
constexpr Rgb kBandTop{0x36, 0x57, 0x82};      // the title and header band, at y 0 ...
constexpr Rgb kBandBottom{0x14, 0x25, 0x3D};   // ... and at y 64
constexpr Rgb kOutline{0x12, 0x21, 0x36};
constexpr Rgb kSide{0xE2, 0xE8, 0xEF};         // frame sides and bottom
constexpr Rgb kSideLine{0xB7, 0xC3, 0xD1};
constexpr int kBandSpan = 64;

Rgb BandAt(double y) { return Mix(kBandTop, kBandBottom, std::clamp(y / kBandSpan, 0.0, 1.0)); }

// The band behind a picture placed `top` pixels below the window's top.
void Band(cairo_t* cr, Rect r, double top) {
  Gradient(cr, r, BandAt(top), BandAt(top + r.h));
  if (top <= 1 && r.h > 1) {  // the light line along the window's top
    SetColour(cr, Mix(kBandTop, kWhite, 0.25));
    cairo_rectangle(cr, r.x, r.y + 1 - top, r.w, 1);
    cairo_fill(cr);
  }
}

// One piece of a picture made of slices: `part` names where the piece lies in a whole of vw x
// vh that `whole` draws ("tl", "t", "tr", "l", "m", "r", "bl", "b", "br").
void Slice(cairo_t* cr, Rect cell, int vw, int vh, const std::string& part,
           const std::function<void(cairo_t*, Rect)>& whole) {
  const bool left = part.back() == 'l';
  const bool right = part.back() == 'r';
  const bool top = part[0] == 't', bottom = part[0] == 'b';
  const double sx = left ? 0 : right ? vw - cell.w : std::floor((vw - cell.w) / 2);
  const double sy = top ? 0 : bottom ? vh - cell.h : std::floor((vh - cell.h) / 2);
  cairo_save(cr);
  cairo_rectangle(cr, cell.x, cell.y, cell.w, cell.h);
  cairo_clip(cr);
  cairo_translate(cr, cell.x - sx, cell.y - sy);
  whole(cr, {0, 0, static_cast<double>(vw), static_cast<double>(vh)});
  cairo_restore(cr);
}

bool IsPart(const std::string& v) {
  static const char* parts[] = {"tl", "t", "tr", "l", "m", "r", "bl", "b", "br"};
  return std::find(std::begin(parts), std::end(parts), v) != std::end(parts);
}

// The window frame: the band across the top, light sides and bottom, a dark outline with
// rounded corners. The piece's own size gives the band height and border widths.
void Frame(cairo_t* cr, Rect cell, const std::string& part) {
  const bool sideways = part.find('l') != std::string::npos || part.find('r') != std::string::npos;
  const int side = sideways ? static_cast<int>(cell.w) : 8;
  const int band = part[0] == 't' ? static_cast<int>(cell.h) : 29;
  const int foot = part[0] == 'b' ? static_cast<int>(cell.h) : 8;
  const int span = 2 * side + 40 + static_cast<int>(cell.w), height = band + foot + 40 + static_cast<int>(cell.h);
  Slice(cr, cell, span, height, part, [&](cairo_t* c, Rect w) {
    SetColour(c, kOutline);
    cairo_paint(c);
    cairo_save(c);
    RoundedPath(c, w, 7);
    cairo_clip(c);
    SetColour(c, kSide);
    cairo_paint(c);
    Band(c, {0, 0, w.w, static_cast<double>(band)}, 0);
    SetColour(c, kSideLine);
    cairo_rectangle(c, side - 1, band, w.w - 2 * side + 2, w.h - band - foot + 1);
    cairo_fill(c);
    SetColour(c, kWhite);
    cairo_rectangle(c, side, band, w.w - 2 * side, w.h - band - foot);
    cairo_fill(c);
    cairo_restore(c);
    RoundedPath(c, {0.5, 0.5, w.w - 1, w.h - 1}, 7);
    SetColour(c, kOutline);
    cairo_set_line_width(c, 1);
    cairo_stroke(c);
  });
}

// The look of a box in each state: normal, pressed, hover, disabled.
struct Tone {
  Fill states[4];
  bool onBand;  // sits on the header band rather than on white
  double radius;
};

const std::map<std::string, Tone>& Tones() {
  static const std::map<std::string, Tone> tones{
      {"accent",
       {{{{0x4C, 0x8E, 0xE2}, {0x2A, 0x61, 0xB2}, {0x1F, 0x4A, 0x8A}},
         {{0x22, 0x52, 0x98}, {0x35, 0x6E, 0xBE}, {0x17, 0x3C, 0x72}},
         {{0x6F, 0xAB, 0xF2}, {0x3A, 0x78, 0xCA}, {0x26, 0x5A, 0xA0}},
         {{0xE1, 0xE5, 0xEA}, {0xD0, 0xD6, 0xDD}, {0xB4, 0xBC, 0xC6}}},
        false, 3}},
      {"light",
       {{{kWhite, {0xE2, 0xE7, 0xEE}, {0x9D, 0xAB, 0xBC}},
         {{0xCF, 0xD7, 0xE2}, {0xE8, 0xEC, 0xF1}, {0x7D, 0x8D, 0xA2}},
         {{0xF3, 0xF8, 0xFF}, {0xD2, 0xE3, 0xF7}, {0x5F, 0x8F, 0xCB}},
         {{0xF5, 0xF6, 0xF8}, {0xEC, 0xEE, 0xF1}, {0xD0, 0xD5, 0xDB}}},
        false, 3}},
      {"band",
       {{{{0x45, 0x67, 0x93}, {0x2E, 0x4B, 0x72}, {0x12, 0x22, 0x38}},
         {{0x1B, 0x2F, 0x4B}, {0x2A, 0x45, 0x6A}, {0x0C, 0x18, 0x28}},
         {{0x5B, 0x82, 0xB5}, {0x3C, 0x5F, 0x8E}, {0x16, 0x2A, 0x45}},
         {{0x3A, 0x4C, 0x63}, {0x33, 0x43, 0x58}, {0x22, 0x2E, 0x3D}}},
        true, 3}},
      {"tab",
       {{{{0x3E, 0x5F, 0x8B}, {0x2C, 0x49, 0x70}, {0x1A, 0x2F, 0x4C}},
         {kWhite, kWhite, {0x1A, 0x2F, 0x4C}},
         {{0xEE, 0xF4, 0xFC}, {0xC8, 0xDA, 0xF0}, {0x1A, 0x2F, 0x4C}},
         {{0x2C, 0x3F, 0x58}, {0x26, 0x38, 0x4F}, {0x1A, 0x2F, 0x4C}}},
        true, 5}},
  };
  return tones;
}

// Where band pictures sit below the window's top: the title-bar buttons near the top, the
// tabs and header buttons in the lower half.
constexpr double kTitleRow = 3, kTabRow = 35;

void Button(cairo_t* cr, Rect cell, const std::string& variant, int state) {
  const Tone& tone = Tones().at(variant);
  if (tone.onBand) Band(cr, cell, kTabRow);
  const bool tab = variant == "tab";
  // Tabs round their top only: the box runs on below the cell.
  Box(cr, {cell.x, cell.y, cell.w, cell.h + (tab ? tone.radius : 0)}, tone.states[state % 4], tone.radius);
}

// The title-bar buttons: a white glyph on the band, a box under it when hovered or pressed.
void TitleButton(cairo_t* cr, Rect cell, const std::string& glyph, int state) {
  Band(cr, cell, kTitleRow);
  const bool close = glyph == "close";
  if (state == 1) Box(cr, cell, close ? Fill{{0xA8, 0x26, 0x2D}, {0xC4, 0x3B, 0x42}, {0x6E, 0x14, 0x1A}}
                                      : Fill{{0x14, 0x25, 0x3D}, {0x24, 0x3D, 0x60}, {0x0A, 0x14, 0x22}}, 3);
  if (state == 2) Box(cr, cell, close ? Fill{{0xEA, 0x62, 0x67}, {0xC9, 0x3C, 0x43}, {0x8C, 0x20, 0x27}}
                                      : Fill{{0x5A, 0x80, 0xB2}, {0x3E, 0x61, 0x90}, {0x18, 0x2C, 0x48}}, 3);
  const double s = std::min(cell.h - 8, 9.0);
  const double x = std::round(cell.x + (cell.w - s) / 2) + 0.5, y = std::round(cell.y + (cell.h - s) / 2) + 0.5;
  SetColour(cr, kWhite);
  cairo_set_line_width(cr, close ? 1.6 : 1.0);
  if (close) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + s, y + s);
    cairo_move_to(cr, x + s, y);
    cairo_line_to(cr, x, y + s);
  } else if (glyph == "minimise") {
    cairo_rectangle(cr, x, y + s - 1, s, 1);
  } else if (glyph == "maximise") {
    cairo_rectangle(cr, x, y, s, s);
    cairo_move_to(cr, x, y + 1);
    cairo_line_to(cr, x + s, y + 1);
  } else {  // restore: two windows, one behind the other
    cairo_rectangle(cr, x, y + 3, s - 3, s - 3);
    cairo_move_to(cr, x + 3, y + 3);
    cairo_line_to(cr, x + 3, y);
    cairo_line_to(cr, x + s, y);
    cairo_line_to(cr, x + s, y + s - 3);
    cairo_line_to(cr, x + s - 3, y + s - 3);
  }
  cairo_stroke(cr);
}

// A bar of the page painters: a rounded light box cut into caps and a middle column, or its
// middle with a sign on it.
void Bar(cairo_t* cr, Rect cell, const std::string& variant, bool hot) {
  const Fill fill = hot ? Fill{{0xEC, 0xF4, 0xFE}, {0xD0, 0xE2, 0xF7}, {0x8A, 0xB1, 0xE0}}
                        : Fill{kWhite, {0xEC, 0xF0, 0xF5}, {0xC6, 0xD0, 0xDC}};
  const bool part = IsPart(variant);
  Slice(cr, cell, static_cast<int>(cell.w) + 40, static_cast<int>(cell.h), part ? variant : "m",
        [&](cairo_t* c, Rect w) { Box(c, w, fill, 6); });
  if (!part) {
    const double s = std::min(cell.w, cell.h) * 0.7;
    Sign(cr, variant, {cell.x + (cell.w - s) / 2, cell.y + (cell.h - s) / 2, s, s});
  }
}

struct Gradation {
  Rgb top, bottom;
  bool line;  // a rule along one edge ...
  bool lineOnTop;
  Rgb lineColour;
};

const std::map<std::string, Gradation>& Gradations() {
  static const std::map<std::string, Gradation> g{
      {"tint", {{0xEF, 0xF3, 0xF8}, {0xEF, 0xF3, 0xF8}, false, false, {}}},
      {"rule", {{0xC9, 0xD3, 0xDF}, kWhite, false, false, {}}},
      {"footer", {{0xF4, 0xF6, 0xF9}, {0xE0, 0xE6, 0xED}, true, true, {0xC9, 0xD2, 0xDD}}},
      {"heading", {kWhite, {0xEC, 0xF1, 0xF8}, true, false, {0xD3, 0xDB, 0xE5}}},
      {"header", {{0xFB, 0xFC, 0xFD}, {0xE3, 0xE8, 0xEF}, true, false, {0xBA, 0xC5, 0xD2}}},
      {"info", {{0xD6, 0xE7, 0xF9}, kWhite, false, false, {}}},
      {"warning", {{0xFB, 0xE8, 0xC6}, kWhite, false, false, {}}},
      {"error", {{0xF9, 0xD5, 0xD6}, kWhite, false, false, {}}},
      {"question", {{0xD4, 0xEE, 0xEE}, kWhite, false, false, {}}},
      {"shade", {{0x34, 0x45, 0x5C}, {0x16, 0x20, 0x2E}, false, false, {}}},
  };
  return g;
}

void Graded(cairo_t* cr, Rect cell, const std::string& variant) {
  const Gradation& g = Gradations().at(variant);
  Gradient(cr, cell, g.top, g.bottom);
  if (!g.line) return;
  SetColour(cr, g.lineColour);
  cairo_rectangle(cr, cell.x, g.lineOnTop ? cell.y : cell.y + cell.h - 1, cell.w, 1);
  cairo_fill(cr);
}

// The left panel shows the main window's logo above its first button, 17 pixels down: the
// panel's head is a strip of the band that the logo on the band sits in.
constexpr double kPanelHead = 17;

// The product's mark and name. On the band they keep to the panel's head, so the same picture
// reads whole in the title bar and above the panel's buttons; on white they fill the height.
void Logo(cairo_t* cr, Rect cell, const std::string& variant, const std::string& text) {
  const bool band = variant == "band";
  if (band) Band(cr, cell, 0);
  const double h = band ? std::min(cell.h, kPanelHead) : cell.h;
  const double s = std::round(h * 0.8);
  Sign(cr, "app", {cell.x + 2, cell.y + std::round((h - s) / 2), s, s});
  Text(cr, text, {cell.x + s + 7, cell.y, cell.w - s - 7, h}, std::round(h * 0.6), true, band ? kWhite : kInk,
       false);
}

// The left panel: a light column with the band's strip at its head and a rule on its right.
void Panel(cairo_t* cr, Rect cell) {
  Graded(cr, cell, "tint");
  Band(cr, {cell.x, cell.y, cell.w, kPanelHead}, 0);
  SetColour(cr, kSideLine);
  cairo_rectangle(cr, cell.x + cell.w - 1, cell.y + kPanelHead, 1, cell.h - kPanelHead);
  cairo_fill(cr);
}

void Check(cairo_t* cr, Rect cell, const std::string& variant) {
  const bool off = variant.size() > 4 && variant.compare(variant.size() - 4, 4, "-off") == 0;
  const std::string mark = off ? variant.substr(0, variant.size() - 4) : variant;
  const double s = std::min({cell.w, cell.h, 13.0});
  const Rect box{cell.x + std::floor((cell.w - s) / 2), cell.y + std::floor((cell.h - s) / 2), s, s};
  Box(cr, box, off ? Fill{{0xF4, 0xF5, 0xF7}, {0xEA, 0xEC, 0xEF}, {0xBF, 0xC6, 0xCF}}
                   : Fill{kWhite, {0xE6, 0xEC, 0xF3}, {0x6E, 0x81, 0x9A}}, 2);
  const Rgb ink = off ? Rgb{0xA4, 0xAE, 0xBA} : Rgb{0x1F, 0x4F, 0x96};
  SetColour(cr, ink);
  if (mark == "checked") {
    cairo_move_to(cr, box.x + s * 0.22, box.y + s * 0.52);
    cairo_line_to(cr, box.x + s * 0.42, box.y + s * 0.72);
    cairo_line_to(cr, box.x + s * 0.78, box.y + s * 0.28);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  } else if (mark == "mixed") {
    cairo_rectangle(cr, box.x + 3, box.y + 3, s - 6, s - 6);
    cairo_fill(cr);
  }
}

// The age of a driver on a scale of thirds: recent, old, ancient; focused rows outline it.
void Age(cairo_t* cr, Rect cell, const std::string& variant, bool focused) {
  const int thirds = variant == "recent" ? 1 : variant == "old" ? 2 : 3;
  const Fill fills[] = {{{0x6C, 0xCB, 0x7C}, {0x2E, 0x9A, 0x45}, {0x25, 0x7A, 0x37}},
                        {{0xF6, 0xBF, 0x5C}, {0xDB, 0x88, 0x1A}, {0xAE, 0x6A, 0x10}},
                        {{0xEE, 0x72, 0x77}, {0xC3, 0x32, 0x3A}, {0x92, 0x22, 0x29}}};
  Box(cr, cell, {{0xE9, 0xED, 0xF2}, {0xDC, 0xE2, 0xEA}, focused ? Rgb{0x1F, 0x4F, 0x96} : Rgb{0xC2, 0xCB, 0xD6}},
      cell.h / 2);
  Box(cr, {cell.x, cell.y, std::round(cell.w * thirds / 3), cell.h}, fills[thirds - 1], cell.h / 2);
}

// The step numbers 1 to 10 in discs: the top row plain, the bottom row highlighted.
void Numbers(cairo_t* cr, Rect cell) {
  const int across = static_cast<int>(cell.w / 24);
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < across; ++i) {
      const Rect r{cell.x + i * 24.0 + 1, cell.y + row * 24.0 + 1, 22, 22};
      cairo_save(cr);
      cairo_arc(cr, r.x + 11, r.y + 11, 11, 0, 2 * M_PI);
      cairo_clip(cr);
      if (row == 0) Gradient(cr, r, {0x9A, 0xA8, 0xBB}, {0x6A, 0x7B, 0x92});
      else Gradient(cr, r, {0x4C, 0x8E, 0xE2}, {0x2A, 0x61, 0xB2});
      cairo_restore(cr);
      Text(cr, std::to_string(i + 1), r, i + 1 < 10 ? 12 : 10, true, kWhite);
    }
}

// The hand cursor: the tip of the pointing finger is the hot spot's neighbourhood (5, 0).
void Hand(cairo_t* cr, Rect cell) {
  const double k = cell.w / 32;
  const Rect parts[] = {{3.5, 0.5, 4, 13}, {3.5, 9.5, 13, 13}, {7.5, 6.5, 3, 8}, {10.5, 7.5, 3, 8},
                        {13.5, 8.5, 3, 8}, {0.5, 11.5, 4, 6}};
  auto path = [&] {
    for (const Rect& p : parts) RoundedPath(cr, {cell.x + p.x * k, cell.y + p.y * k, p.w * k, p.h * k}, 1.5 * k);
  };
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  path();
  SetColour(cr, {0, 0, 0});
  cairo_set_line_width(cr, 2 * k);
  cairo_stroke(cr);
  path();
  SetColour(cr, kWhite);
  cairo_fill(cr);
}

// The size grip at the foot of the main window: white above the frame's bottom edge, dots in
// the corner.
void Grip(cairo_t* cr, Rect cell) {
  SetColour(cr, kWhite);
  cairo_rectangle(cr, cell.x, cell.y, cell.w, cell.h);
  cairo_fill(cr);
  Frame(cr, {cell.x, cell.y + cell.h - 8, cell.w, 8}, "b");
  SetColour(cr, {0xA3, 0xAF, 0xBF});
  for (int row = 0; row < 3; ++row)
    for (int i = 0; i <= row; ++i) {
      cairo_rectangle(cr, cell.x + cell.w - 4 - 3 * i, cell.y + cell.h - 11 - 3 * (2 - row), 2, 2);
      cairo_fill(cr);
    }
}

// A large picture: a light ground with soft rings and a sign, at the left of a wide picture.
void Scene(cairo_t* cr, Rect cell, const std::string& sign) {
  Gradient(cr, cell, {0xF6, 0xF9, 0xFD}, {0xDF, 0xE8, 0xF3});
  SetColour(cr, kWhite, 0.45);
  cairo_set_line_width(cr, 10);
  for (double r : {0.5, 0.8, 1.1}) {
    cairo_arc(cr, cell.x + cell.w * 0.85, cell.y + cell.h * 0.9, cell.h * r, 0, 2 * M_PI);
    cairo_stroke(cr);
  }
  const double s = std::round(std::min(cell.h * 0.66, cell.w * 0.4));
  const double x = cell.w > 2 * cell.h ? 16 : (cell.w - s) / 2;
  Sign(cr, sign, {cell.x + std::round(x), cell.y + std::round((cell.h - s) / 2), s, s});
}

// A see-through highlight laid over a button.
void Glow(cairo_t* cr, Rect cell, const std::string& variant) {
  const double a = variant == "selected" ? 0.24 : 0.12;
  RoundedPath(cr, {cell.x + 0.5, cell.y + 0.5, cell.w - 1, cell.h - 1}, 4);
  SetColour(cr, {0x2F, 0x6F, 0xB7}, a);
  cairo_fill_preserve(cr);
  SetColour(cr, {0x2F, 0x6F, 0xB7}, a * 2.5);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

struct Painter {
  std::function<bool(const std::string&)> accepts;
  std::function<void(cairo_t*, Rect, const std::string&, const Picture&, int state)> paint;
};

bool Among(const std::string& v, std::initializer_list<const char*> words) {
  return std::any_of(words.begin(), words.end(), [&](const char* w) { return v == w; });
}

template <typename Table>
std::function<bool(const std::string&)> KeyOf(const Table& table) {
  return [&table](const std::string& v) { return table.count(v) != 0; };
}

const std::map<std::string, Painter>& Painters() {
  auto none = [](const std::string& v) { return v.empty(); };
  static const std::map<std::string, Painter> painters{
      {"frame", {IsPart, [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Frame(c, r, v); }}},
      {"bar", {[](const std::string& v) { return IsPart(v) || IsSign(v); },
               [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Bar(c, r, v, false); }}},
      {"hotbar", {[](const std::string& v) { return IsPart(v) || IsSign(v); },
                  [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Bar(c, r, v, true); }}},
      {"button", {KeyOf(Tones()), [](cairo_t* c, Rect r, const std::string& v, const Picture&, int s) {
                    Button(c, r, v, s);
                  }}},
      {"title", {[](const std::string& v) { return Among(v, {"close", "minimise", "maximise", "restore"}); },
                 [](cairo_t* c, Rect r, const std::string& v, const Picture&, int s) { TitleButton(c, r, v, s); }}},
      {"fill", {KeyOf(Gradations()),
                [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Graded(c, r, v); }}},
      {"sign", {IsSign, [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) {
                  const double s = std::min(r.w, r.h);
                  Sign(c, v, {r.x + std::floor((r.w - s) / 2), r.y + std::floor((r.h - s) / 2), s, s});
                }}},
      {"logo", {[](const std::string& v) { return Among(v, {"band", "light"}); },
                [](cairo_t* c, Rect r, const std::string& v, const Picture& p, int) { Logo(c, r, v, p.text); }}},
      {"check", {[](const std::string& v) {
                   return Among(v, {"clear", "checked", "mixed", "clear-off", "checked-off", "mixed-off"});
                 },
                 [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Check(c, r, v); }}},
      {"age", {[](const std::string& v) { return Among(v, {"recent", "old", "ancient"}); },
               [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Age(c, r, v, false); }}},
      {"agefocus", {[](const std::string& v) { return Among(v, {"recent", "old", "ancient"}); },
                    [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Age(c, r, v, true); }}},
      {"numbers", {none, [](cairo_t* c, Rect r, const std::string&, const Picture&, int) { Numbers(c, r); }}},
      {"hand", {none, [](cairo_t* c, Rect r, const std::string&, const Picture&, int) { Hand(c, r); }}},
      {"panel", {none, [](cairo_t* c, Rect r, const std::string&, const Picture&, int) { Panel(c, r); }}},
      {"grip", {none, [](cairo_t* c, Rect r, const std::string&, const Picture&, int) { Grip(c, r); }}},
      {"scene", {IsSign, [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Scene(c, r, v); }}},
      {"glow", {[](const std::string& v) { return Among(v, {"hover", "selected"}); },
                [](cairo_t* c, Rect r, const std::string& v, const Picture&, int) { Glow(c, r, v); }}},
  };
  return painters;
}

template <typename T>
const T& OfState(const std::vector<T>& list, int state) {
  return list[list.size() == 1 ? 0 : static_cast<std::size_t>(state)];
}

}  // namespace

bool Accepts(const std::string& kind, const std::string& variant) {
  const auto found = Painters().find(kind);
  return found != Painters().end() && found->second.accepts(variant);
}

Image Draw(const Picture& p, Size size) {
  Canvas canvas(size.width * p.states, size.height);
  cairo_t* cr = canvas.cr();
  const bool bitmap = p.file.size() > 4 && p.file.compare(p.file.size() - 4, 4, ".bmp") == 0;
  for (int state = 0; state < p.states; ++state) {
    const Rect cell{static_cast<double>(state * size.width), 0, static_cast<double>(size.width),
                    static_cast<double>(size.height)};
    cairo_save(cr);
    cairo_rectangle(cr, cell.x, cell.y, cell.w, cell.h);
    cairo_clip(cr);
    if (!p.colours.empty() || bitmap) {
      SetColour(cr, p.colours.empty() ? kWhite : OfState(p.colours, state));
      cairo_paint(cr);
    }
    if (!p.kind.empty()) {
      const std::string none;
      Painters().at(p.kind).paint(cr, cell, p.variants.empty() ? none : OfState(p.variants, state), p, state);
    }
    cairo_restore(cr);
  }
  return canvas.Take();
}

}  // namespace zx::resgen
