// Fonts and the one text engine (GDI-internal). Every face a LOGFONT names is drawn with the
// shipped DejaVu Sans (regular, or bold from FW_SEMIBOLD on) through pango, with fixed font
// options, so metrics and pixels do not depend on the host's font setup. All pango calls
// run under the engine's lock.
#pragma once
#include <pango/pangocairo.h>

#include <mutex>
#include <string>
#include <vector>

#include "objects.h"

namespace zx::gdi {

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;  // ascent + descent: the distance between lines
  int internalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
};

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTW& logFont);
  ~FontObject() override;
  const LOGFONTW logFont;
  bool italic() const { return logFont.lfItalic != 0; }
  bool antialiased() const { return logFont.lfQuality != NONANTIALIASED_QUALITY; }

  // Both under the engine's lock.
  const PangoFontDescription* Description();
  const FontMetrics& Metrics();

 private:
  PangoFontDescription* description_ = nullptr;
  FontMetrics metrics_;
  bool measured_ = false;
};

// The engine's lock; hold it around every use of the functions below and of pango.
std::unique_lock<std::mutex> LockTextEngine();

// A layout of the text in the font (underline and strike-out as the font says). The caller
// owns it (g_object_unref). `underlineByte` >= 0 underlines the one character starting there.
PangoLayout* NewLayout(FontObject& font, const std::string& utf8, bool singleParagraph,
                       int underlineByte = -1);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD. With offsets, offsets[i] is the
// byte where unit i starts (offsets.size() == text.size() + 1).
std::string ToUtf8(const WCHAR* text, std::size_t length, std::vector<int>* offsets = nullptr);

}  // namespace zx::gdi
