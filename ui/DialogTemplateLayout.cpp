// Reading a dialog template's layout: little-endian reads over the template bytes, any read
// past the end making the whole template damaged.
#include "DialogTemplateLayout.h"

namespace {

constexpr DWORD kSetFont = 0x40;  // DS_SETFONT

class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
  bool ok() const { return m_ok; }

  WORD Word() {
    if (!Need(2)) return 0;
    const WORD v = static_cast<WORD>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return v;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    if (!Need(1)) return 0;
    return m_bytes[m_pos++];
  }
  std::u16string String() {
    std::u16string text;
    for (WORD c = Word(); m_ok && c != 0; c = Word()) text.push_back(static_cast<char16_t>(c));
    return text;
  }
  // A name field: none (0), an ordinal (0xFFFF, number) or a string. True when present.
  bool NameOrOrdinal() {
    const WORD first = Word();
    if (first == 0) return false;
    if (first == 0xFFFF) {
      Word();
      return true;
    }
    for (WORD c = Word(); m_ok && c != 0; c = Word()) {
    }
    return true;
  }
  void Skip(size_t n) {
    if (Need(n)) m_pos += n;
  }
  void AlignDword() { Skip((4 - m_pos % 4) % 4); }

 private:
  bool Need(size_t n) {
    if (!m_ok || n > m_size - m_pos) m_ok = false;
    return m_ok;
  }
  const BYTE* m_bytes;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

}  // namespace

BOOL ReadDialogTemplateLayout(const BYTE* bytes, size_t size, DialogTemplateLayout& out) {
  if (bytes == nullptr) return FALSE;
  TemplateReader r(bytes, size);
  const bool extended = size >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
  if (extended) {
    r.Skip(4);  // version, signature
    r.Dword();  // help id
    out.exStyle = r.Dword();
    out.style = r.Dword();
  } else {
    out.style = r.Dword();
    out.exStyle = r.Dword();
  }
  const WORD count = r.Word();
  r.Short();
  r.Short();
  out.cx = r.Short();
  out.cy = r.Short();
  out.hasMenu = r.NameOrOrdinal();
  r.NameOrOrdinal();  // window class
  r.String();         // title
  if (out.style & kSetFont) {
    WORD points = r.Word();
    if (points >= 0x8000) points = static_cast<WORD>(0x10000 - points);
    out.pointSize = points;
    out.weight = 0;
    out.italic = 0;
    if (extended) {
      out.weight = r.Word();
      out.italic = r.Byte();
      r.Byte();  // character set
    }
    out.face = r.String();
  }
  if (!r.ok()) return FALSE;
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword();
    DialogTemplateItem item;
    if (extended) {
      r.Dword();  // help id
      r.Dword();  // extended style
      r.Dword();  // style
    } else {
      r.Dword();
      r.Dword();
    }
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = extended ? r.Dword() : r.Word();
    r.NameOrOrdinal();  // class
    r.NameOrOrdinal();  // title
    r.Skip(r.Word());   // extra data
    if (!r.ok()) return FALSE;
    out.items.push_back(item);
  }
  return TRUE;
}

