// The litehtml document container of the layer: fonts are GDI fonts (pango underneath),
// text, backgrounds, borders and list markers are drawn with the GDI on the DC litehtml hands
// back, clipping follows the DC's clip region. A document is laid out once for its width.
#include "litepage.h"

#include <litehtml/litehtml.h>

#include <algorithm>
#include <map>
#include <vector>

#include "defaultstyle.h"
#include "windraw.h"
#include "winresource.h"
#include "zx/gdi.h"
#include "stringapiset.h"
#include "winuser.h"

namespace zx::html {

std::string Utf8Of(std::u16string_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::u16string Utf16Of(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(std::max(n, 0)), u'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

BaseStyle BaseStyleOf(HDC dc) {
  BaseStyle base;
  base.bodyMargin = false;
  LOGFONTW lf{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf)) {
    if (lf.lfFaceName[0]) base.face = lf.lfFaceName;
    if (lf.lfHeight) base.pixels = std::abs(static_cast<int>(lf.lfHeight));
    base.bold = lf.lfWeight >= FW_BOLD;
    base.italic = lf.lfItalic != 0;
    base.underline = lf.lfUnderline != 0;
  } else {
    base.pixels = 12;
  }
  base.colour = GetTextColor(dc);
  return base;
}

namespace {

// Bigger type is drawn at this size: a hostile page cannot ask pango for giant glyphs.
constexpr int kLargestFont = 500;

HDC DcOf(litehtml::uint_ptr hdc) { return reinterpret_cast<HDC>(hdc); }
COLORREF ColourOf(const litehtml::web_color& c) { return RGB(c.red, c.green, c.blue); }

void Fill(HDC dc, int left, int top, int right, int bottom, const litehtml::web_color& colour) {
  if (colour.alpha == 0 || right <= left || bottom <= top) return;
  const RECT box{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(ColourOf(colour));
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}

bool Drawn(const litehtml::border& b) {
  return b.width > 0 && b.style != litehtml::border_style_none && b.style != litehtml::border_style_hidden;
}

}  // namespace

class Container final : public litehtml::document_container {
 public:
  Container(const BaseStyle& base, int width) : base_(base), face_(Utf8Of(base.face)), width_(width) {
    dc_ = CreateCompatibleDC(nullptr);
  }
  ~Container() {
    DeleteDC(dc_);
    for (auto& [src, picture] : pictures_)
      if (picture) DeleteObject(picture);
  }
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  litehtml::uint_ptr create_font(const char* faceName, int size, int weight, litehtml::font_style italic,
                                 unsigned int decoration, litehtml::font_metrics* fm) override {
    LOGFONTW lf{};
    lf.lfHeight = -std::clamp(size, 1, kLargestFont);
    lf.lfWeight = weight;
    lf.lfItalic = italic == litehtml::fontStyleItalic;
    lf.lfUnderline = (decoration & litehtml::font_decoration_underline) != 0;
    lf.lfStrikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::string_view family = faceName ? faceName : "";
    family = family.substr(0, family.find(','));
    while (!family.empty() && (family.front() == ' ' || family.front() == '"' || family.front() == '\'')) family.remove_prefix(1);
    while (!family.empty() && (family.back() == ' ' || family.back() == '"' || family.back() == '\'')) family.remove_suffix(1);
    const std::u16string face = Utf16Of(family);
    std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    if (fm) {
      const HGDIOBJ old = SelectObject(dc_, font);
      TEXTMETRICW tm{};
      GetTextMetricsW(dc_, &tm);
      SelectObject(dc_, old);
      fm->ascent = tm.tmAscent;
      fm->descent = tm.tmDescent;
      fm->height = tm.tmAscent + tm.tmDescent;
      fm->x_height = tm.tmAscent / 2;
      fm->draw_spaces = lf.lfUnderline || lf.lfStrikeOut;
    }
    return reinterpret_cast<litehtml::uint_ptr>(font);
  }
  void delete_font(litehtml::uint_ptr font) override { DeleteObject(reinterpret_cast<HFONT>(font)); }

  int text_width(const char* text, litehtml::uint_ptr font) override {
    const std::u16string wide = Utf16Of(text ? text : "");
    if (wide.empty()) return 0;
    const HGDIOBJ old = SelectObject(dc_, reinterpret_cast<HFONT>(font));
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc_, old);
    return size.cx;
  }

  void draw_text(litehtml::uint_ptr hdc, const char* text, litehtml::uint_ptr font, litehtml::web_color color,
                 const litehtml::position& pos) override {
    const std::u16string wide = Utf16Of(text ? text : "");
    HDC dc = DcOf(hdc);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(font));
    SetTextColor(dc, ColourOf(color));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, pos.x, pos.y, wide.c_str(), static_cast<int>(wide.size()));
    SelectObject(dc, old);
  }

  int pt_to_px(int pt) const override {
    return static_cast<int>(std::clamp((static_cast<long long>(pt) * 96 + 36) / 72, -1000000LL, 1000000LL));
  }
  int get_default_font_size() const override { return base_.pixels; }
  const char* get_default_font_name() const override { return face_.c_str(); }

  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override {
    const litehtml::position& p = marker.pos;
    const int side = std::max(2, std::min(p.width, p.height) / 2);
    const int left = p.x + (p.width - side) / 2;
    const int top = p.y + (p.height - side) / 2;
    Fill(DcOf(hdc), left, top, left + side, top + side, marker.color);
  }

  void load_image(const char* src, const char*, bool) override { Picture(src); }
  void get_image_size(const char* src, const char*, litehtml::size& sz) override {
    BITMAP info{};
    HBITMAP picture = Picture(src);
    const bool known = picture && GetObjectW(picture, sizeof info, &info) == sizeof info;
    sz.width = known ? info.bmWidth : 0;
    sz.height = known ? std::abs(info.bmHeight) : 0;
  }

  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override {
    const litehtml::position& b = bg.clip_box;
    HDC dc = DcOf(hdc);
    Fill(dc, b.x, b.y, b.x + b.width, b.y + b.height, bg.color);
    HBITMAP picture = bg.image.empty() ? nullptr : Picture(bg.image.c_str());
    if (!picture || bg.image_size.width <= 0 || bg.image_size.height <= 0) return;
    BITMAP info{};
    if (GetObjectW(picture, sizeof info, &info) != sizeof info) return;
    HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(source, picture);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, b.x, b.y, b.x + b.width, b.y + b.height);
    StretchBlt(dc, bg.position_x, bg.position_y, bg.image_size.width, bg.image_size.height, source, 0, 0,
               info.bmWidth, std::abs(info.bmHeight), SRCCOPY);
    RestoreDC(dc, saved);
    SelectObject(source, old);
    DeleteDC(source);
  }

  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& p,
                    bool) override {
    HDC dc = DcOf(hdc);
    const int right = p.x + p.width;
    const int bottom = p.y + p.height;
    if (Drawn(borders.top)) Fill(dc, p.x, p.y, right, p.y + borders.top.width, borders.top.color);
    if (Drawn(borders.bottom)) Fill(dc, p.x, bottom - borders.bottom.width, right, bottom, borders.bottom.color);
    if (Drawn(borders.left)) Fill(dc, p.x, p.y, p.x + borders.left.width, bottom, borders.left.color);
    if (Drawn(borders.right)) Fill(dc, right - borders.right.width, p.y, right, bottom, borders.right.color);
  }

  void set_caption(const char*) override {}
  void set_base_url(const char*) override {}
  void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
  void on_anchor_click(const char*, const litehtml::element::ptr&) override {}
  void set_cursor(const char*) override {}
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override {
    for (char& c : text) {
      if (tt == litehtml::text_transform_uppercase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (tt == litehtml::text_transform_lowercase && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
  }
  void import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) override {}

  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool, bool) override {
    clips_.push_back(pos);
  }
  void del_clip() override {
    if (!clips_.empty()) clips_.pop_back();
  }

  void get_client_rect(litehtml::position& client) const override { client = litehtml::position(0, 0, width_, 0); }

  std::shared_ptr<litehtml::element> create_element(const char*, const litehtml::string_map&,
                                                    const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }

  void get_media_features(litehtml::media_features& media) const override {
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = width_;
    media.height = media.device_height = 0;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
  }
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
    language = "en";
    culture.clear();
  }

 private:
  BaseStyle base_;
  std::string face_;
  int width_;
  HDC dc_;
  std::vector<litehtml::position> clips_;
  std::map<std::string, HBITMAP> pictures_;

  // The picture a source names, read once: the last part of the address is a resource of the
  // pictures' module, by number ("1700", "#1700") or name, a bitmap or a PNG.
  HBITMAP Picture(const char* src) {
    const std::string key = src ? src : "";
    const auto known = pictures_.find(key);
    if (known != pictures_.end()) return known->second;
    HBITMAP& picture = pictures_[key];
    std::string_view name = key;
    name = name.substr(name.find_last_of('/') == std::string_view::npos ? 0 : name.find_last_of('/') + 1);
    if (!name.empty() && name.front() == '#') name.remove_prefix(1);
    if (name.empty() || !base_.pictures) return picture;
    const bool number = name.size() < 6 && name.find_first_not_of("0123456789") == std::string_view::npos;
    const std::u16string text = Utf16Of(name);
    const LPCWSTR resource = number ? MAKEINTRESOURCEW(std::atoi(std::string(name).c_str())) : text.c_str();
    picture = static_cast<HBITMAP>(LoadImageW(base_.pictures, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (picture) return picture;
    if (HRSRC found = FindResourceW(base_.pictures, resource, u"PNG")) {
      const void* bytes = LockResource(LoadResource(base_.pictures, found));
      if (bytes) picture = zx::gdi::DecodePngBitmap(bytes, SizeofResource(base_.pictures, found));
    }
    return picture;
  }
};

namespace {

litehtml::context& SharedContext() {
  static litehtml::context* context = [] {
    auto* c = new litehtml::context;  // kept for the process: documents of any thread read it
    c->load_master_stylesheet(kDefaultStyle);
    return c;
  }();
  return *context;
}

std::string Hex(COLORREF c) {
  char text[8];
  snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

// The base style as a style sheet of the user's, over the default one.
std::string UserStyle(const BaseStyle& base) {
  std::string css = "body { color: " + Hex(base.colour) + ";";
  if (base.bold) css += " font-weight: bold;";
  if (base.italic) css += " font-style: italic;";
  if (base.underline) css += " text-decoration: underline;";
  if (!base.bodyMargin) css += " margin: 0;";
  return css + " }";
}

void Walk(litehtml::element& element, const char* name, const std::function<void(litehtml::element&, const char*)>& visit) {
  if (const char* value = element.get_attr(name)) visit(element, value);
  for (std::size_t i = 0; i < element.get_children_count(); ++i)
    if (auto child = element.get_child(static_cast<int>(i))) Walk(*child, name, visit);
}

void Leaves(litehtml::element& element, RECT* box, bool* any) {
  if (element.get_children_count() == 0) {
    const litehtml::position p = element.get_placement();
    if (p.width <= 0 || p.height <= 0) return;
    const RECT r{p.x, p.y, p.x + p.width, p.y + p.height};
    if (*any) UnionRect(box, box, &r);
    else *box = r;
    *any = true;
    return;
  }
  for (std::size_t i = 0; i < element.get_children_count(); ++i)
    if (auto child = element.get_child(static_cast<int>(i))) Leaves(*child, box, any);
}

}  // namespace

PageLayout::PageLayout(const std::string& utf8, const BaseStyle& base, int width)
    : width_(std::max(width, 1)), container_(std::make_unique<Container>(base, width_)) {
  litehtml::css user;
  user.parse_stylesheet(UserStyle(base).c_str(), nullptr, nullptr, litehtml::media_query_list::ptr());
  user.sort_selectors();
  document_ = litehtml::document::createFromUTF8(utf8.c_str(), container_.get(), &SharedContext(), &user);
  if (document_) document_->render(width_);
}

PageLayout::~PageLayout() { document_.reset(); }

int PageLayout::Height() const { return document_ ? document_->height() : 0; }

void PageLayout::Draw(HDC dc, int x, int y, const RECT& clip) const {
  if (!document_) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  const litehtml::position area(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  document_->draw(reinterpret_cast<litehtml::uint_ptr>(dc), x, y, &area);
  RestoreDC(dc, saved);
}

std::shared_ptr<litehtml::element> PageLayout::ElementAt(int x, int y) const {
  if (!document_ || !document_->root()) return nullptr;
  return document_->root()->get_element_by_point(x, y, x, y);
}

void PageLayout::ForEachWith(const char* name, const std::function<void(litehtml::element&, const char*)>& visit) const {
  if (document_ && document_->root()) Walk(*document_->root(), name, visit);
}

bool PageLayout::BoxOf(litehtml::element& element, RECT* box) {
  bool any = false;
  Leaves(element, box, &any);
  return any;
}

}  // namespace zx::html
