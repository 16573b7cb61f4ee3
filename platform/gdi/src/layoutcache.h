// Laid-out texts kept for their next drawing (GDI-internal): a window painted again or a list
// scrolled draws the same texts in the same fonts, and shaping is most of drawing a text.
#pragma once
#include <pango/pangocairo.h>

#include <string>

#include "font.h"

namespace zx::gdi {

// How a layout fits its width: not at all, wrapped at words, or cut with an ellipsis.
enum class LayoutFit { None, WrapWords, EllipsizeEnd, EllipsizeMiddle };

// The layout NewLayout gives, fitted to `width` pixels; the caller owns a reference
// (g_object_unref) and changes nothing of it. Under the engine's lock.
PangoLayout* FittedLayout(FontObject& font, const std::string& utf8, bool singleParagraph, int underlineByte,
                          LayoutFit fit, int width);

}  // namespace zx::gdi
