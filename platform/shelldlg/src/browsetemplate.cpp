// The folder browser's dialog template in the extended layout: the title line, an optional
// status line, the folder tree, OK and Cancel, in the dialog font "MS Shell Dlg" 8.
#include "browsetemplate.h"

#include <string>

#include "commctrl.h"
#include "windlg.h"

namespace zx::shelldlg {
namespace {

class Writer {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(static_cast<WORD>(d & 0xFFFF));
    Word(static_cast<WORD>(d >> 16));
  }
  void Text(std::u16string_view text) {
    for (char16_t c : text) Word(c);
    Word(0);
  }
  void Align() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, DWORD id, std::u16string_view windowClass,
            std::u16string_view text) {
    Align();
    Dword(0);  // help id
    Dword(0);  // extended style
    Dword(style | WS_CHILD | WS_VISIBLE);
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Dword(id);
    Text(windowClass);
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<WORD> Take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

}  // namespace

std::vector<WORD> BrowseTemplate(bool statusLine) {
  Writer w;
  w.Word(1);
  w.Word(0xFFFF);
  w.Dword(0);
  w.Dword(0);
  w.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  w.Word(statusLine ? 5 : 4);
  for (short v : {0, 0, 200, 212}) w.Word(static_cast<WORD>(v));
  w.Word(0);  // no menu
  w.Word(0);  // the dialog class
  w.Text(u"Browse For Folder");
  w.Word(8);
  w.Word(FW_NORMAL);
  w.Word(0);  // not italic, ANSI character set
  w.Text(u"MS Shell Dlg");
  const short treeTop = statusLine ? 42 : 30;
  w.Item(SS_LEFT, 7, 7, 186, 20, kTitleId, u"Static", u"");
  if (statusLine) w.Item(SS_LEFT | SS_NOPREFIX, 7, 29, 186, 10, kStatusId, u"Static", u"");
  w.Item(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, treeTop,
         186, static_cast<short>(184 - treeTop), kTreeId, WC_TREEVIEWW, u"");
  w.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 87, 191, 50, 14, IDOK, u"Button", u"OK");
  w.Item(BS_PUSHBUTTON | WS_TABSTOP, 143, 191, 50, 14, IDCANCEL, u"Button", u"Cancel");
  return w.Take();
}

}  // namespace zx::shelldlg
