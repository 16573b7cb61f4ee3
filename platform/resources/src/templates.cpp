// Dialog and menu template readers.
#include "bytes.h"
#include "zx/restemplates.h"

namespace zx::res {
namespace {

constexpr DWORD kSetFont = 0x40;
constexpr WORD kPopup = 0x10;
constexpr WORD kEnd = 0x80;
constexpr int kMaxMenuDepth = 16;

NameOrNumber ReadNameOrNumber(ByteReader& r) {
  NameOrNumber field;
  const WORD first = r.U16();
  if (first == 0) return field;
  if (first == 0xFFFF) {
    field.kind = NameOrNumber::Kind::Number;
    field.number = r.U16();
    return field;
  }
  field.kind = NameOrNumber::Kind::Text;
  field.text.push_back(static_cast<char16_t>(first));
  field.text += r.String();
  return field;
}

void ReadBox(ByteReader& r, short& x, short& y, short& cx, short& cy) {
  x = static_cast<short>(r.U16());
  y = static_cast<short>(r.U16());
  cx = static_cast<short>(r.U16());
  cy = static_cast<short>(r.U16());
}

bool ReadMenuItems(ByteReader& r, int depth, std::vector<MenuTemplateItem>& items,
                   std::string& error) {
  for (;;) {
    MenuTemplateItem item;
    item.flags = r.U16();
    if (!(item.flags & kPopup)) item.id = r.U16();
    item.text = r.String();
    if (!r.ok()) {
      error = "menu item " + std::to_string(items.size() + 1) + " runs past the end of the menu";
      return false;
    }
    if (item.flags & kPopup) {
      if (depth >= kMaxMenuDepth) {
        error = "menu popups nest deeper than " + std::to_string(kMaxMenuDepth);
        return false;
      }
      if (!ReadMenuItems(r, depth + 1, item.items, error)) return false;
    }
    const bool last = (item.flags & kEnd) != 0;
    item.flags &= static_cast<WORD>(~kEnd);
    items.push_back(std::move(item));
    if (last) return true;
  }
}

}  // namespace

bool ReadDialogTemplate(const void* data, std::size_t size, DialogTemplate& dialog,
                        std::string& error) {
  ByteReader r(static_cast<const BYTE*>(data), size);
  DialogTemplate d;
  const WORD version = r.U16();
  const WORD signature = r.U16();
  d.extended = version == 1 && signature == 0xFFFF;
  if (d.extended) {
    d.helpId = r.U32();
    d.exStyle = r.U32();
    d.style = r.U32();
  } else {
    r = ByteReader(static_cast<const BYTE*>(data), size);
    d.style = r.U32();
    d.exStyle = r.U32();
  }
  const WORD count = r.U16();
  ReadBox(r, d.x, d.y, d.cx, d.cy);
  d.menu = ReadNameOrNumber(r);
  d.windowClass = ReadNameOrNumber(r);
  d.title = r.String();
  if (d.style & kSetFont) {
    d.hasFont = true;
    d.pointSize = r.U16();
    if (d.extended) {
      d.weight = r.U16();
      d.italic = r.U8();
      d.charset = r.U8();
    }
    d.face = r.String();
  }
  if (!r.ok()) {
    error = "the dialog header runs past the end of the template";
    return false;
  }
  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    r.Align4();
    if (d.extended) {
      item.helpId = r.U32();
      item.exStyle = r.U32();
      item.style = r.U32();
    } else {
      item.style = r.U32();
      item.exStyle = r.U32();
    }
    ReadBox(r, item.x, item.y, item.cx, item.cy);
    item.id = d.extended ? r.U32() : r.U16();
    item.windowClass = ReadNameOrNumber(r);
    item.title = ReadNameOrNumber(r);
    const WORD extra = r.U16();
    if (r.ok() && extra > 0 && r.remaining() >= extra) item.extra.assign(r.here(), r.here() + extra);
    r.Skip(extra);
    if (!r.ok()) {
      error = "dialog item " + std::to_string(i + 1) + " of " + std::to_string(count) +
              " runs past the end of the template";
      return false;
    }
    d.items.push_back(std::move(item));
  }
  dialog = std::move(d);
  return true;
}

bool ReadMenuTemplate(const void* data, std::size_t size, std::vector<MenuTemplateItem>& items,
                      std::string& error) {
  ByteReader r(static_cast<const BYTE*>(data), size);
  const WORD version = r.U16();
  const WORD headerSize = r.U16();
  if (!r.ok() || version != 0) {
    error = r.ok() ? "not a standard menu template (version " + std::to_string(version) + ")"
                   : "the menu header runs past the end of the menu";
    return false;
  }
  r.Skip(headerSize);
  std::vector<MenuTemplateItem> read;
  if (!ReadMenuItems(r, 0, read, error)) return false;
  items = std::move(read);
  return true;
}

}  // namespace zx::res
