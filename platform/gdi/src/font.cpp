// Fonts on pango with a private fontconfig set-up that holds only the shipped DejaVu Sans
// files, and fixed font options (grey antialiasing, slight hinting, whole-pixel metrics).
#include "font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <cstdio>

#include "errhandlingapi.h"
#include "wingdi.h"
#include "zx/fontleaks.h"  // the leak checker excuses fontconfig's caches

namespace zx::gdi {
namespace {

constexpr const char* kFamily = "DejaVu Sans";
constexpr const char* kFontFiles[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                      "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
constexpr double kDefaultEm = 12.0;  // lfHeight 0

struct Engine {
  std::mutex lock;
  PangoFontMap* map = nullptr;
  PangoContext* smooth = nullptr;  // antialiased text
  PangoContext* sharp = nullptr;   // NONANTIALIASED_QUALITY
  double cellPerEm = 0;            // cell height (ascent + descent) per pixel of em size
};

PangoContext* NewContext(PangoFontMap* map, cairo_antialias_t antialias) {
  PangoContext* context = pango_font_map_create_context(map);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, antialias);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 96.0);
  pango_context_set_round_glyph_positions(context, TRUE);
  pango_context_set_base_dir(context, PANGO_DIRECTION_LTR);
  return context;
}

PangoFontDescription* Describe(double em, bool bold) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family_static(d, kFamily);
  pango_font_description_set_absolute_size(d, em * PANGO_SCALE);
  pango_font_description_set_weight(d, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  return d;
}

Engine& TheEngine() {
  static Engine* engine = [] {
    auto* e = new Engine;  // lives for the process
    FcConfig* config = FcConfigCreate();
    for (const char* file : kFontFiles) {
      if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file)))
        std::fprintf(stderr, "zxplatform: font file %s is missing; text will not show\n", file);
    }
    e->map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(e->map), config);
    FcConfigDestroy(config);
    e->smooth = NewContext(e->map, CAIRO_ANTIALIAS_GRAY);
    e->sharp = NewContext(e->map, CAIRO_ANTIALIAS_NONE);
    // The cell height of a large size gives the ratio used for positive lfHeight values.
    PangoFontDescription* probe = Describe(1000, false);
    PangoLayout* layout = pango_layout_new(e->smooth);
    pango_layout_set_font_description(layout, probe);
    pango_layout_set_text(layout, "X", 1);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    e->cellPerEm = logical.height > 0 ? logical.height / 1000.0 : 1.0;
    g_object_unref(layout);
    pango_font_description_free(probe);
    return e;
  }();
  return *engine;
}

int WidthOf(FontObject& font, const char* text) {
  PangoLayout* layout = NewLayout(font, text, true);
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, nullptr);
  g_object_unref(layout);
  return width;
}

}  // namespace

std::unique_lock<std::mutex> LockTextEngine() { return std::unique_lock<std::mutex>(TheEngine().lock); }

FontObject::FontObject(const LOGFONTW& logFont) : GdiObject(OBJ_FONT), logFont(logFont) {}

// A description is plain memory, shared with no other pango object: freed without the lock.
FontObject::~FontObject() {
  if (description_) pango_font_description_free(description_);
}

const PangoFontDescription* FontObject::Description() {
  if (!description_) {
    const LONG h = logFont.lfHeight;
    double em = kDefaultEm;
    if (h < 0) em = -static_cast<double>(h);
    else if (h > 0) em = h / TheEngine().cellPerEm;
    description_ = Describe(em, logFont.lfWeight >= FW_SEMIBOLD);
  }
  return description_;
}

const FontMetrics& FontObject::Metrics() {
  if (measured_) return metrics_;
  PangoLayout* layout = NewLayout(*this, "X", true);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  metrics_.ascent = PANGO_PIXELS(pango_layout_get_baseline(layout));
  metrics_.height = logical.height;
  metrics_.descent = metrics_.height - metrics_.ascent;
  g_object_unref(layout);
  const double em = pango_font_description_get_size(Description()) / double(PANGO_SCALE);
  metrics_.internalLeading = metrics_.height - static_cast<int>(std::lround(em));
  const int alphabet = WidthOf(*this, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  metrics_.aveCharWidth = (alphabet + 26) / 52;
  metrics_.maxCharWidth = WidthOf(*this, "W");
  measured_ = true;
  return metrics_;
}

PangoLayout* NewLayout(FontObject& font, const std::string& utf8, bool singleParagraph,
                       int underlineByte) {
  Engine& e = TheEngine();
  PangoLayout* layout = pango_layout_new(font.antialiased() ? e.smooth : e.sharp);
  pango_layout_set_font_description(layout, font.Description());
  pango_layout_set_single_paragraph_mode(layout, singleParagraph);
  PangoAttrList* attributes = pango_attr_list_new();
  if (font.logFont.lfUnderline)
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.logFont.lfStrikeOut)
    pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  if (underlineByte >= 0 && underlineByte < static_cast<int>(utf8.size())) {
    PangoAttribute* mark = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    mark->start_index = static_cast<guint>(underlineByte);
    const char* next = g_utf8_next_char(utf8.c_str() + underlineByte);
    mark->end_index = static_cast<guint>(next - utf8.c_str());
    pango_attr_list_insert(attributes, mark);
  }
  pango_layout_set_attributes(layout, attributes);
  pango_attr_list_unref(attributes);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

std::string ToUtf8(const WCHAR* text, std::size_t length, std::vector<int>* offsets) {
  std::string out;
  out.reserve(length);
  if (offsets) offsets->assign(length + 1, 0);
  for (std::size_t i = 0; i < length; ++i) {
    if (offsets) (*offsets)[i] = static_cast<int>(out.size());
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
      if (offsets) (*offsets)[i] = static_cast<int>(out.size());
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  if (offsets) (*offsets)[length] = static_cast<int>(out.size());
  return out;
}

}  // namespace zx::gdi

using namespace zx::gdi;

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW copy = *font;
  copy.lfFaceName[LF_FACESIZE - 1] = 0;
  return Insert<HFONT>(std::make_shared<FontObject>(copy));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW lf{height,
              width,
              escapement,
              orientation,
              weight,
              static_cast<BYTE>(italic),
              static_cast<BYTE>(underline),
              static_cast<BYTE>(strikeOut),
              static_cast<BYTE>(charSet),
              static_cast<BYTE>(outPrecision),
              static_cast<BYTE>(clipPrecision),
              static_cast<BYTE>(quality),
              static_cast<BYTE>(pitchAndFamily),
              {}};
  for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = faceName[i];
  return CreateFontIndirectW(&lf);
}
