// Dialog templates for the dialog tests, written byte by byte in the DLGTEMPLATEEX layout.
#pragma once
#include <string>
#include <vector>

#include "windlg.h"

namespace zx::test {

// Writes a DLGTEMPLATEEX byte by byte, as the resource compiler lays it out.
class TemplateWriter {
 public:
  TemplateWriter(DWORD style, short x, short y, short cx, short cy, const std::u16string& title,
                 bool font = true) {
    Word(1);
    Word(0xFFFF);
    Dword(0);      // help id
    Dword(0);      // extended style
    Dword(style | (font ? DS_SETFONT : 0));
    countAt_ = bytes_.size();
    Word(0);
    Word(x), Word(y), Word(cx), Word(cy);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(title);
    if (font) {
      Word(8), Word(400), Byte(0), Byte(1);
      Text(u"Tahoma");
    }
  }

  TemplateWriter& Item(DWORD id, const std::u16string& windowClass, const std::u16string& text,
                       DWORD style, short x, short y, short cx, short cy) {
    while (bytes_.size() % 4) Byte(0);
    Dword(0), Dword(0), Dword(style | WS_CHILD | WS_VISIBLE);
    Word(x), Word(y), Word(cx), Word(cy);
    Dword(id);
    Text(windowClass);
    Text(text);
    Word(0);  // no creation data
    const WORD count = static_cast<WORD>(bytes_[countAt_] | (bytes_[countAt_ + 1] << 8)) + 1;
    bytes_[countAt_] = static_cast<BYTE>(count);
    bytes_[countAt_ + 1] = static_cast<BYTE>(count >> 8);
    return *this;
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }
  std::vector<BYTE>& bytes() { return bytes_; }

 private:
  void Byte(BYTE b) { bytes_.push_back(b); }
  void Word(WORD w) { Byte(static_cast<BYTE>(w)), Byte(static_cast<BYTE>(w >> 8)); }
  void Dword(DWORD d) { Word(static_cast<WORD>(d)), Word(static_cast<WORD>(d >> 16)); }
  void Text(const std::u16string& text) {
    for (char16_t c : text) Word(c);
    Word(0);
  }
  std::vector<BYTE> bytes_;
  std::size_t countAt_ = 0;
};

}  // namespace zx::test
