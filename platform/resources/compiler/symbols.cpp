// Symbols the scripts may use for styles, flags and languages, with Windows' values.
#include <map>

#include "compiler.h"

namespace zx::rc {

bool Symbol(const std::string& name, long long& value) {
  static const std::map<std::string, long long> kSymbols = {
      // Window styles.
      {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000}, {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000},
      {"WS_MAXIMIZE", 0x01000000}, {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000}, {"WS_MINIMIZEBOX", 0x00020000}, {"WS_MAXIMIZEBOX", 0x00010000},
      {"WS_OVERLAPPEDWINDOW", 0x00CF0000}, {"WS_POPUPWINDOW", 0x80880000},
      // Extended window styles.
      {"WS_EX_DLGMODALFRAME", 0x00000001}, {"WS_EX_NOPARENTNOTIFY", 0x00000004},
      {"WS_EX_TOPMOST", 0x00000008}, {"WS_EX_ACCEPTFILES", 0x00000010},
      {"WS_EX_TRANSPARENT", 0x00000020}, {"WS_EX_TOOLWINDOW", 0x00000080},
      {"WS_EX_WINDOWEDGE", 0x00000100}, {"WS_EX_CLIENTEDGE", 0x00000200},
      {"WS_EX_CONTEXTHELP", 0x00000400}, {"WS_EX_RIGHT", 0x00001000},
      {"WS_EX_CONTROLPARENT", 0x00010000}, {"WS_EX_STATICEDGE", 0x00020000},
      {"WS_EX_APPWINDOW", 0x00040000}, {"WS_EX_LAYERED", 0x00080000},
      // Dialog styles.
      {"DS_ABSALIGN", 0x01}, {"DS_SYSMODAL", 0x02}, {"DS_3DLOOK", 0x04}, {"DS_FIXEDSYS", 0x08},
      {"DS_NOFAILCREATE", 0x10}, {"DS_LOCALEDIT", 0x20}, {"DS_SETFONT", 0x40},
      {"DS_MODALFRAME", 0x80}, {"DS_NOIDLEMSG", 0x100}, {"DS_SETFOREGROUND", 0x200},
      {"DS_CONTROL", 0x400}, {"DS_CENTER", 0x800}, {"DS_CENTERMOUSE", 0x1000},
      {"DS_CONTEXTHELP", 0x2000}, {"DS_SHELLFONT", 0x48},
      // Buttons.
      {"BS_PUSHBUTTON", 0x0}, {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2},
      {"BS_AUTOCHECKBOX", 0x3}, {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5},
      {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7}, {"BS_USERBUTTON", 0x8},
      {"BS_AUTORADIOBUTTON", 0x9}, {"BS_OWNERDRAW", 0xB}, {"BS_LEFTTEXT", 0x20},
      {"BS_ICON", 0x40}, {"BS_BITMAP", 0x80}, {"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200},
      {"BS_CENTER", 0x300}, {"BS_TOP", 0x400}, {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00},
      {"BS_MULTILINE", 0x2000}, {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},
      // Statics.
      {"SS_LEFT", 0x0}, {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3},
      {"SS_BLACKRECT", 0x4}, {"SS_GRAYRECT", 0x5}, {"SS_WHITERECT", 0x6}, {"SS_BLACKFRAME", 0x7},
      {"SS_SIMPLE", 0xB}, {"SS_LEFTNOWORDWRAP", 0xC}, {"SS_OWNERDRAW", 0xD}, {"SS_BITMAP", 0xE},
      {"SS_ETCHEDHORZ", 0x10}, {"SS_ETCHEDVERT", 0x11}, {"SS_ETCHEDFRAME", 0x12},
      {"SS_NOPREFIX", 0x80}, {"SS_NOTIFY", 0x100}, {"SS_CENTERIMAGE", 0x200},
      {"SS_SUNKEN", 0x1000}, {"SS_ENDELLIPSIS", 0x4000},
      // Edits.
      {"ES_LEFT", 0x0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_MULTILINE", 0x4},
      {"ES_UPPERCASE", 0x8}, {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20},
      {"ES_AUTOVSCROLL", 0x40}, {"ES_AUTOHSCROLL", 0x80}, {"ES_NOHIDESEL", 0x100},
      {"ES_READONLY", 0x800}, {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
      // Combo and list boxes.
      {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3},
      {"CBS_OWNERDRAWFIXED", 0x10}, {"CBS_OWNERDRAWVARIABLE", 0x20}, {"CBS_AUTOHSCROLL", 0x40},
      {"CBS_SORT", 0x100}, {"CBS_HASSTRINGS", 0x200}, {"CBS_NOINTEGRALHEIGHT", 0x400},
      {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_OWNERDRAWFIXED", 0x10},
      {"LBS_HASSTRINGS", 0x40}, {"LBS_NOINTEGRALHEIGHT", 0x100},
      // List views, tree views, progress bars, animations.
      {"LVS_ICON", 0x0}, {"LVS_REPORT", 0x1}, {"LVS_SMALLICON", 0x2}, {"LVS_LIST", 0x3},
      {"LVS_SINGLESEL", 0x4}, {"LVS_SHOWSELALWAYS", 0x8}, {"LVS_SORTASCENDING", 0x10},
      {"LVS_SORTDESCENDING", 0x20}, {"LVS_SHAREIMAGELISTS", 0x40}, {"LVS_NOLABELWRAP", 0x80},
      {"LVS_AUTOARRANGE", 0x100}, {"LVS_EDITLABELS", 0x200}, {"LVS_OWNERDRAWFIXED", 0x400},
      {"LVS_ALIGNLEFT", 0x800}, {"LVS_OWNERDATA", 0x1000}, {"LVS_NOSCROLL", 0x2000},
      {"LVS_NOCOLUMNHEADER", 0x4000}, {"LVS_NOSORTHEADER", 0x8000},
      {"TVS_HASBUTTONS", 0x1}, {"TVS_HASLINES", 0x2}, {"TVS_LINESATROOT", 0x4},
      {"TVS_EDITLABELS", 0x8}, {"TVS_DISABLEDRAGDROP", 0x10}, {"TVS_SHOWSELALWAYS", 0x20},
      {"TVS_CHECKBOXES", 0x100}, {"TVS_TRACKSELECT", 0x200}, {"TVS_FULLROWSELECT", 0x1000},
      {"TVS_NOSCROLL", 0x2000}, {"PBS_SMOOTH", 0x1}, {"PBS_VERTICAL", 0x4}, {"PBS_MARQUEE", 0x8},
      {"ACS_CENTER", 0x1}, {"ACS_TRANSPARENT", 0x2}, {"ACS_AUTOPLAY", 0x4}, {"ACS_TIMER", 0x8},
      // Version records.
      {"VS_FF_DEBUG", 0x1}, {"VS_FF_PRERELEASE", 0x2}, {"VS_FFI_FILEFLAGSMASK", 0x3F},
      {"VOS_NT_WINDOWS32", 0x40004}, {"VOS__WINDOWS32", 0x4}, {"VFT_UNKNOWN", 0x0},
      {"VFT_APP", 0x1}, {"VFT_DLL", 0x2}, {"VFT2_UNKNOWN", 0x0},
      // Languages.
      {"LANG_NEUTRAL", 0x00}, {"LANG_ENGLISH", 0x09}, {"LANG_GERMAN", 0x07},
      {"LANG_FRENCH", 0x0C}, {"SUBLANG_NEUTRAL", 0x00}, {"SUBLANG_DEFAULT", 0x01},
      {"SUBLANG_ENGLISH_US", 0x01}, {"SUBLANG_ENGLISH_UK", 0x02},
      // Common ids.
      {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
      {"IDYES", 6}, {"IDNO", 7}, {"IDC_STATIC", -1},
  };
  auto it = kSymbols.find(name);
  if (it == kSymbols.end()) return false;
  value = it->second;
  return true;
}

}  // namespace zx::rc
