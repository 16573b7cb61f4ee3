// The process-wide font set of the application base: face, height and character set, the base
// record and the 24 shared fonts every window uses.
#include "HalvoranApp.h"
#include "Locks.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"

CString g_strFontFace = _T("tahoma");
LONG g_nSharedFontHeight = -12;
BYTE g_nSharedCharSet = DEFAULT_CHARSET;
HFONT g_hSharedFonts[kSharedFontCount] = {};

namespace {

CRITICAL_SECTION& FontLock() {
  static CRITICAL_SECTION* section = [] {
    auto* created = new CRITICAL_SECTION;  // lives until the process ends
    InitLock(created);
    return created;
  }();
  return *section;
}

bool IsSegoeFace(const WCHAR* face) {
  CString upper = face;
  return upper.MakeUpper().Left(3) == _T("SEG");
}

void SetFace(LOGFONTW& font, LPCTSTR face) { lstrcpynW(font.lfFaceName, face, LF_FACESIZE); }

// One row of the table: the height change from the base (grow > 0), weight, underline,
// italic, and a fixed height or face where the row has one.
struct FontRow {
  int grow;
  LONG weight;
  bool underline;
  bool italic;
  LONG fixedHeight;
  LPCTSTR face;
};

constexpr BYTE kClearTypeNatural = 6;
constexpr LONG kRow17Weight = -1;  // 700, or 400 before Windows 6

constexpr FontRow kRows[kSharedFontCount] = {
    {0, 400, false, false, 0, nullptr},  {0, 400, true, false, 0, nullptr},   {0, 700, true, false, 0, nullptr},
    {0, 700, false, false, 0, nullptr},  {1, 700, false, false, 0, nullptr},  {1, 500, false, false, 0, nullptr},
    {1, 400, false, false, 0, nullptr},  {1, 400, true, false, 0, nullptr},   {-1, 400, false, false, 0, nullptr},
    {-1, 700, false, false, 0, nullptr}, {-2, 400, false, false, 0, nullptr}, {6, 700, false, false, 0, nullptr},
    {6, 700, false, true, 0, nullptr},   {9, 400, false, false, 0, nullptr},  {6, 400, false, false, 0, nullptr},
    {4, 400, true, false, 0, nullptr},   {4, kRow17Weight, false, false, 0, nullptr},
    {4, kRow17Weight, false, false, 0, nullptr},
    {1, 400, false, false, 0, nullptr},  {8, 400, false, false, 0, nullptr},  {8, 700, false, false, 0, nullptr},
    {0, 400, false, false, -21, _T("Arial")}, {0, 400, false, false, -15, nullptr},
    {0, 700, false, false, -15, nullptr},
};

}  // namespace

CString GetFontFaceName() { return g_strFontFace; }

void SetFontFace(BOOL preferSegoe, LPCTSTR face) {
  CString chosen = face;
  WCHAR windows[MAX_PATH] = {};
  if (preferSegoe && GetWindowsDirectoryW(windows, MAX_PATH)) {
    CString fontFile = windows;
    AppendPathComponent(fontFile, _T("FONTS\\SEGOEUI.TTF"));
    if (PathExists(fontFile) == 1 || GetOSMajorVersion() >= 6) chosen = _T("SEGOE UI");
  }
  g_strFontFace = chosen;
}

LONG GetSharedFontHeight() { return g_nSharedFontHeight; }
void SetSharedFontHeight(LONG height) { g_nSharedFontHeight = height; }
BYTE GetSharedCharSet() { return g_nSharedCharSet; }
void SetSharedCharSet(BYTE charSet) { g_nSharedCharSet = charSet; }

void GetBaseLogFont(LOGFONTW& font) {
  EnterLock guard(&FontLock());
  font = LOGFONTW{};
  font.lfHeight = g_nSharedFontHeight;
  font.lfCharSet = g_nSharedCharSet;
  font.lfWeight = FW_NORMAL;
  font.lfQuality = CLEARTYPE_QUALITY;
  SetFace(font, g_strFontFace);
}

void BuildSharedFontRecords(const LOGFONTW& base, DWORD major, DWORD minor, LOGFONTW (&records)[kSharedFontCount]) {
  LOGFONTW font = base;
  font.lfQuality = (major > 6 || (major == 6 && minor >= 1)) ? kClearTypeNatural : CLEARTYPE_QUALITY;
  if (major < 6 && !IsSegoeFace(font.lfFaceName)) SetFace(font, _T("Arial"));
  const LONG height = base.lfHeight;
  const CString face = font.lfFaceName;
  for (int row = 0; row < kSharedFontCount; ++row) {
    const FontRow& shape = kRows[row];
    if (shape.fixedHeight) font.lfHeight = shape.fixedHeight;
    else font.lfHeight = height < 0 ? height - shape.grow : height + shape.grow;
    font.lfWeight = shape.weight == kRow17Weight ? (major >= 6 ? 700 : 400) : shape.weight;
    font.lfUnderline = shape.underline;
    font.lfItalic = shape.italic;
    SetFace(font, shape.face ? shape.face : static_cast<LPCTSTR>(face));
    records[row] = font;
  }
}

void CHalvoranApp::CreateSharedFonts() {
  LOGFONTW base;
  GetBaseLogFont(base);
  LOGFONTW records[kSharedFontCount];
  BuildSharedFontRecords(base, GetOSMajorVersion(), GetOSMinorVersion(), records);
  for (int row = 0; row < kSharedFontCount; ++row) {
    if (g_hSharedFonts[row]) DeleteObject(g_hSharedFonts[row]);
    g_hSharedFonts[row] = CreateFontIndirectW(&records[row]);
  }
}
