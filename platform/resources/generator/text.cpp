// Text of the pictures: pango over a private fontconfig set-up holding only the shipped
// DejaVu Sans files, so every machine draws the same pixels.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <stdexcept>

#include "canvas.h"

namespace zx::resgen {
namespace {

constexpr const char* kFontFiles[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                      "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};

PangoFontMap* FontMap() {
  static PangoFontMap* map = [] {
    FcConfig* config = FcConfigCreate();
    for (const char* file : kFontFiles)
      if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file)))
        throw std::runtime_error(std::string("the shipped font is missing: ") + file);
    PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
    FcConfigDestroy(config);
    return m;  // lives for the run
  }();
  return map;
}

}  // namespace

void Text(cairo_t* cr, const std::string& text, Rect r, double pixels, bool bold, Rgb colour, bool centred) {
  PangoContext* context = pango_font_map_create_context(FontMap());
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 96.0);
  PangoLayout* layout = pango_layout_new(context);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family_static(font, "DejaVu Sans");
  pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  const double x = centred ? r.x + (r.w - logical.width) / 2 : r.x;
  // Centred on the ink of the letters, so digits and capitals sit in the middle.
  const double y = r.y + (r.h - ink.height) / 2 - ink.y;
  cairo_save(cr);
  SetColour(cr, colour);
  cairo_move_to(cr, std::round(x), std::round(y));
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  pango_font_description_free(font);
  g_object_unref(layout);
  g_object_unref(context);
}

}  // namespace zx::resgen
