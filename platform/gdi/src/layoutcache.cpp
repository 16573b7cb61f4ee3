// The kept layouts: the most recently drawn ones, each under everything that shapes it.
#include "layoutcache.h"

#include <list>
#include <unordered_map>
#include <utility>

namespace zx::gdi {
namespace {

constexpr std::size_t kKeptLayouts = 256;

// Everything a layout depends on: the font as NewLayout reads it, the text and the fitting.
std::string KeyOf(const FontObject& font, const std::string& utf8, bool singleParagraph, int underlineByte,
                  LayoutFit fit, int width) {
  const LOGFONTW& f = font.logFont;
  std::string key = std::to_string(f.lfHeight) + ',' + std::to_string(f.lfWeight >= FW_SEMIBOLD) + ',' +
                    std::to_string(font.antialiased()) + ',' + std::to_string(f.lfUnderline != 0) + ',' +
                    std::to_string(f.lfStrikeOut != 0) + ',' + std::to_string(singleParagraph) + ',' +
                    std::to_string(underlineByte) + ',' + std::to_string(static_cast<int>(fit)) + ',' +
                    std::to_string(fit == LayoutFit::None ? 0 : width) + ':';
  return key += utf8;
}

class KeptLayouts {
 public:
  PangoLayout* Find(const std::string& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return found->second->second;
  }
  void Keep(std::string key, PangoLayout* layout) {
    g_object_ref(layout);
    order_.emplace_front(std::move(key), layout);
    index_[order_.front().first] = order_.begin();
    if (order_.size() <= kKeptLayouts) return;
    index_.erase(order_.back().first);
    g_object_unref(order_.back().second);
    order_.pop_back();
  }

 private:
  std::list<std::pair<std::string, PangoLayout*>> order_;  // most recent first
  std::unordered_map<std::string, std::list<std::pair<std::string, PangoLayout*>>::iterator> index_;
};

KeptLayouts& Kept() {
  static KeptLayouts* kept = new KeptLayouts;  // lives past static destruction
  return *kept;
}

}  // namespace

PangoLayout* FittedLayout(FontObject& font, const std::string& utf8, bool singleParagraph, int underlineByte,
                          LayoutFit fit, int width) {
  std::string key = KeyOf(font, utf8, singleParagraph, underlineByte, fit, width);
  if (PangoLayout* kept = Kept().Find(key)) return static_cast<PangoLayout*>(g_object_ref(kept));
  PangoLayout* layout = NewLayout(font, utf8, singleParagraph, underlineByte);
  if (fit != LayoutFit::None) pango_layout_set_width(layout, width * PANGO_SCALE);
  if (fit == LayoutFit::WrapWords) pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  if (fit == LayoutFit::EllipsizeEnd || fit == LayoutFit::EllipsizeMiddle)
    pango_layout_set_ellipsize(layout, fit == LayoutFit::EllipsizeMiddle ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
  // Laid out now, so that a kept layout is only ever read.
  pango_layout_get_line_count(layout);
  Kept().Keep(std::move(key), layout);
  return layout;
}

}  // namespace zx::gdi
