// BCMenu: loading from a menu resource, the item records and sub-menus, measuring, and the
// two drawing styles (classic on palette devices, full colour otherwise).
#include "BCMenu.h"

#include <algorithm>
#include <vector>

#include "BCMenuMemDC.h"
#include "BCMenuTemplate.h"
#include "winmetrics.h"
#include "winreg.h"
#include "winresource.h"

namespace {

constexpr int kImageColumn = BCMenu::kImageSize + 4;
constexpr int kTextGap = 6;
constexpr COLORREF kBaseColour = 0xEED5B1;

struct SharedFonts {
  HFONT normal;
  HFONT bold;
};

HFONT TahomaFont(LONG weight) {
  LOGFONTW font{};
  font.lfHeight = -11;
  font.lfWeight = weight;
  font.lfQuality = PROOF_QUALITY;
  const char16_t name[] = u"Tahoma";
  std::copy(std::begin(name), std::end(name), font.lfFaceName);
  return CreateFontIndirectW(&font);
}

const SharedFonts& Fonts() {
  static const SharedFonts fonts{TahomaFont(FW_NORMAL), TahomaFont(FW_BOLD)};
  return fonts;
}

struct SharedImages {
  HIMAGELIST list = nullptr;
  std::vector<UINT> sources;  // one per entry
};

SharedImages& Images() {
  static SharedImages images;
  return images;
}

// The tick: seven strokes of three pixels, rising from the left.
void DrawCheckMark(HDC dc, int x, int y, COLORREF colour) {
  static constexpr int kStart[7] = {2, 3, 4, 3, 2, 1, 0};
  const HPEN pen = CreatePen(PS_SOLID, 1, colour);
  const HGDIOBJ old = SelectObject(dc, pen);
  for (int i = 0; i < 7; ++i) {
    MoveToEx(dc, x + i, y + kStart[i], nullptr);
    LineTo(dc, x + i, y + kStart[i] + 3);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawRadioMark(HDC dc, int x, int y, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  const HPEN pen = CreatePen(PS_SOLID, 1, colour);
  const HGDIOBJ oldBrush = SelectObject(dc, brush);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  Ellipse(dc, x, y, x + 6, y + 6);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The item's text, its accelerator (after a tab) right-aligned.
void DrawItemText(HDC dc, const BCMenuData& data, RECT area, COLORREF colour, bool bold) {
  const std::u16string text(data.GetWideString());
  const std::size_t tab = text.find(u'\t');
  const HGDIOBJ old = SelectObject(dc, bold ? Fonts().bold : Fonts().normal);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const UINT format = DT_SINGLELINE | DT_VCENTER;
  DrawTextW(dc, text.substr(0, tab).c_str(), -1, &area, format | DT_LEFT);
  if (tab != std::u16string::npos) {
    area.right -= kTextGap * 2;
    DrawTextW(dc, text.substr(tab + 1).c_str(), -1, &area, format | DT_RIGHT);
  }
  SelectObject(dc, old);
}

bool HasThreeForms(int index) {
  const SharedImages& images = Images();
  if (index < 0 || static_cast<std::size_t>(index) + 2 >= images.sources.size()) return false;
  const UINT source = images.sources[static_cast<std::size_t>(index)];
  return images.sources[static_cast<std::size_t>(index) + 1] == source &&
         images.sources[static_cast<std::size_t>(index) + 2] == source;
}

// A resource of the module AfxFindResourceHandle names, else of the program's own module.
struct OwnResource {
  HINSTANCE module = nullptr;
  const BYTE* bytes = nullptr;
  DWORD size = 0;
};
OwnResource FindOwnResource(LPCTSTR name, LPCTSTR type) {
  OwnResource found;
  found.module = AfxFindResourceHandle(name, type);
  HRSRC resource = FindResourceW(found.module, name, type);
  if (!resource) {
    found.module = AfxGetInstanceHandle();
    resource = FindResourceW(found.module, name, type);
  }
  if (!resource) return found;
  found.bytes = static_cast<const BYTE*>(LockResource(LoadResource(found.module, resource)));
  found.size = found.bytes ? SizeofResource(found.module, resource) : 0;
  return found;
}

// The button picture at `index` of a toolbar strip, centred in an image cell over the light
// grey that the image list takes as transparent.
HBITMAP CutButton(HBITMAP strip, int index, int width, int height) {
  const HDC screen = GetDC(nullptr);
  const HDC from = CreateCompatibleDC(screen);
  const HDC to = CreateCompatibleDC(screen);
  const HBITMAP cell = CreateCompatibleBitmap(screen, BCMenu::kImageSize, BCMenu::kImageSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ oldFrom = SelectObject(from, strip);
  const HGDIOBJ oldTo = SelectObject(to, cell);
  RECT all{0, 0, BCMenu::kImageSize, BCMenu::kImageSize};
  Fill(to, all, 0xC0C0C0);
  BitBlt(to, (BCMenu::kImageSize - width) / 2, (BCMenu::kImageSize - height) / 2, width, height, from,
         index * width, 0, SRCCOPY);
  SelectObject(to, oldTo);
  SelectObject(from, oldFrom);
  DeleteDC(to);
  DeleteDC(from);
  return cell;
}

// The pixels of a 19 x 19 image from `source` into a new bitmap, pixel by pixel.
template <typename Paint>
HBITMAP PaintForm(HBITMAP source, Paint paint) {
  const HDC screen = GetDC(nullptr);
  const HDC from = CreateCompatibleDC(screen);
  const HDC to = CreateCompatibleDC(screen);
  const HBITMAP form = CreateCompatibleBitmap(screen, BCMenu::kImageSize, BCMenu::kImageSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ oldFrom = SelectObject(from, source);
  const HGDIOBJ oldTo = SelectObject(to, form);
  paint(from, to);
  SelectObject(to, oldTo);
  SelectObject(from, oldFrom);
  DeleteDC(to);
  DeleteDC(from);
  return form;
}

bool IsDark(COLORREF c) { return (GetRValue(c) * 54 + GetGValue(c) * 182 + GetBValue(c) * 19) / 256 < 128; }

// The disabled form: a mask cleared with WHITENESS takes the dark pixels of the image in
// black; the form is the light grey with the shadow on each masked pixel and the highlight one
// pixel down-right of it.
HBITMAP MakeDisabledForm(HBITMAP source) {
  const HBITMAP mask = PaintForm(source, [](HDC from, HDC to) {
    PatBlt(to, 0, 0, BCMenu::kImageSize, BCMenu::kImageSize, WHITENESS);
    for (int y = 0; y < BCMenu::kImageSize; ++y)
      for (int x = 0; x < BCMenu::kImageSize; ++x)
        if (IsDark(GetPixel(from, x, y))) SetPixel(to, x, y, 0);
  });
  const HBITMAP form = PaintForm(mask, [](HDC from, HDC to) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    RECT all{0, 0, BCMenu::kImageSize, BCMenu::kImageSize};
    Fill(to, all, 0xC0C0C0);
    for (int y = 0; y < BCMenu::kImageSize; ++y) {
      for (int x = 0; x < BCMenu::kImageSize; ++x) {
        if ((GetPixel(from, x, y) & 0xFFFFFF) != 0) continue;
        if (x + 1 < BCMenu::kImageSize && y + 1 < BCMenu::kImageSize) SetPixel(to, x + 1, y + 1, highlight);
        SetPixel(to, x, y, shadow);
      }
    }
  });
  DeleteObject(mask);
  return form;
}

// The shaded form: each pixel halfway to the button face.
HBITMAP MakeShadedForm(HBITMAP source) {
  return PaintForm(source, [](HDC from, HDC to) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < BCMenu::kImageSize; ++y) {
      for (int x = 0; x < BCMenu::kImageSize; ++x) {
        const COLORREF c = GetPixel(from, x, y);
        SetPixel(to, x, y, RGB((GetRValue(c) + GetRValue(face)) / 2, (GetGValue(c) + GetGValue(face)) / 2,
                               (GetBValue(c) + GetBValue(face)) / 2));
      }
    }
  });
}

}  // namespace

BCMenu::BCMenu() { Fonts(); }

BCMenu::~BCMenu() {
  DestroyMenuData();
  DestroyMenu();
}

void BCMenu::DestroyMenuData() {
  for (INT_PTR i = 0; i < m_SubMenus.GetSize(); ++i) {
    m_SubMenus[i]->DestroyMenuData();
    m_SubMenus[i]->Detach();  // its handle goes with this menu's
    delete m_SubMenus[i];
  }
  m_SubMenus.RemoveAll();
  for (INT_PTR i = 0; i < m_MenuList.GetSize(); ++i) delete m_MenuList[i];
  m_MenuList.RemoveAll();
}

BOOL BCMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }

BOOL BCMenu::LoadToolbar(UINT nToolBar) {
  const LPCTSTR name = MAKEINTRESOURCEW(nToolBar);
  const OwnResource found = FindOwnResource(name, RT_TOOLBAR);
  BCMenuToolbar toolbar;
  if (!found.bytes || !ReadToolbarTemplate(found.bytes, found.size, toolbar) || toolbar.width > kImageSize ||
      toolbar.height > kImageSize)
    return FALSE;
  const HBITMAP strip = LoadBitmapW(found.module, name);
  BITMAP info{};
  if (!strip || !GetObjectW(strip, sizeof info, &info)) return FALSE;
  const int pictures = info.bmWidth / toolbar.width;
  int index = 0;  // separators have no picture
  bool complete = info.bmHeight >= toolbar.height;
  for (WORD id : toolbar.ids)
    if (id != 0) complete = complete && index++ < pictures;
  if (!complete) {
    DeleteObject(strip);
    return FALSE;
  }
  index = 0;
  for (WORD id : toolbar.ids) {
    if (id == 0) continue;
    int image = FindImage(id);
    if (image < 0) {
      const HBITMAP cell = CutButton(strip, index, toolbar.width, toolbar.height);
      image = AddImage(cell, id);
      DeleteObject(cell);
    }
    ++index;
    if (image >= 0) ModifyODMenu(nullptr, id, image);
  }
  DeleteObject(strip);
  return TRUE;
}

BOOL BCMenu::LoadMenu(LPCTSTR lpszResourceName) {
  const OwnResource found = FindOwnResource(lpszResourceName, RT_MENU);
  if (!found.bytes) return FALSE;
  std::vector<BCMenuTemplateItem> items;
  if (!ReadMenuTemplate(found.bytes, found.size, items)) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  DestroyMenuData();
  DestroyMenu();
  if (!CreateMenu()) return FALSE;
  std::vector<BCMenu*> open{this};
  for (const BCMenuTemplateItem& item : items) {
    open.resize(static_cast<std::size_t>(item.level) + 1);
    BCMenu* current = open.back();
    if (item.flags & MF_POPUP) {
      open.push_back(current->AppendSubMenu(item.text.c_str()));
    } else {
      UINT flags = (item.flags & ~(MF_END | MF_POPUP)) | MF_OWNERDRAW;
      if (item.id == 0 && item.text.empty()) flags |= MF_SEPARATOR;  // a template's separator
      current->AppendODMenu(item.text.c_str(), flags, item.id);
    }
  }
  return TRUE;
}

BCMenu* BCMenu::AppendSubMenu(LPCTSTR lpstrText) {
  auto* sub = new BCMenu;
  sub->CreatePopupMenu();
  sub->m_bSubMenu = TRUE;
  sub->m_crHighlight = m_crHighlight;
  m_SubMenus.Add(sub);
  AppendODMenu(lpstrText, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(sub->m_hMenu));
  return sub;
}

BOOL BCMenu::AppendODMenu(LPCTSTR lpstrText, UINT nFlags, UINT_PTR nID, int nIconNormal) {
  auto* data = new BCMenuData;
  data->SetWideString(lpstrText);
  data->nFlags = nFlags | MF_OWNERDRAW;
  data->nID = (nFlags & MF_POPUP) ? 0 : static_cast<UINT>(nID);
  data->menuIconNormal = nIconNormal;
  data->nType = nFlags & MFT_RADIOCHECK;
  m_MenuList.Add(data);
  const BOOL appended = ::AppendMenuW(m_hMenu, data->nFlags, nID, reinterpret_cast<LPCWSTR>(data));
  if (!appended) {
    m_MenuList.RemoveAt(m_MenuList.GetUpperBound());
    delete data;
  }
  return appended;
}

BOOL BCMenu::ModifyODMenu(LPCTSTR lpstrText, UINT nID, int nIconNormal) {
  BCMenuData* data = FindMenuItem(nID);
  if (!data) return FALSE;
  if (lpstrText) data->SetWideString(lpstrText);
  data->menuIconNormal = nIconNormal;
  return TRUE;
}

BOOL BCMenu::AppendODMenu(LPCTSTR lpstrText, UINT nFlags, UINT_PTR nID, CImageList* pImageList, int nImage) {
  const UINT source = (nFlags & MF_POPUP) ? 0 : static_cast<UINT>(nID);
  return AppendODMenu(lpstrText, nFlags, nID, AddImageFromList(pImageList, nImage, source));
}

BOOL BCMenu::ModifyODMenu(LPCTSTR lpstrText, UINT nID, CImageList* pImageList, int nImage) {
  if (FindMenuItem(nID) == nullptr) return FALSE;
  return ModifyODMenu(lpstrText, nID, AddImageFromList(pImageList, nImage, nID));
}

BCMenuData* BCMenu::FindMenuItem(UINT nID) {
  for (INT_PTR i = 0; i < m_MenuList.GetSize(); ++i)
    if (!(m_MenuList[i]->nFlags & (MF_POPUP | MF_SEPARATOR)) && m_MenuList[i]->nID == nID) return m_MenuList[i];
  for (INT_PTR i = 0; i < m_SubMenus.GetSize(); ++i)
    if (BCMenuData* found = m_SubMenus[i]->FindMenuItem(nID)) return found;
  return nullptr;
}

BOOL BCMenu::GetMenuText(UINT nID, CString& text) {
  const BCMenuData* data = FindMenuItem(nID);
  if (!data) return FALSE;
  text = data->GetWideString();
  return TRUE;
}

void BCMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  const auto* data = reinterpret_cast<const BCMenuData*>(lpMIS->itemData);
  if (!data) return;
  if (data->nFlags & MF_SEPARATOR) {
    lpMIS->itemWidth = 0;
    lpMIS->itemHeight = 3;
    return;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = 500;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  CWnd* main = AfxGetMainWnd();
  const HWND window = main && main->m_hWnd ? main->m_hWnd : GetDesktopWindow();
  const HDC dc = ::GetDC(window);
  const int version = GetWindowsVersionClass();
  // Every version that measures at all measures in the menu font (NT 6 and later included).
  const HGDIOBJ old = version != 0 ? SelectObject(dc, font) : nullptr;
  SIZE extent{};
  if (version != 0) {
    const std::u16string text(data->GetWideString());
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  }
  if (old) SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  DeleteObject(font);
  lpMIS->itemWidth = static_cast<UINT>(kImageSize + extent.cx + 15);
  lpMIS->itemHeight = static_cast<UINT>(std::max(GetSystemMetrics(SM_CYMENU), kImageSize + 7));
}

void BCMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  const auto* data = reinterpret_cast<const BCMenuData*>(lpDIS->itemData);
  if (!data || !lpDIS->hDC) return;
  if (GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE)
    DrawItemClassic(lpDIS, *data);
  else
    DrawItemFullColour(lpDIS, *data);
}

void BCMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS, const BCMenuData& data) {
  const HDC dc = lpDIS->hDC;
  RECT rect = lpDIS->rcItem;
  if (data.nFlags & MF_SEPARATOR) {
    Fill(dc, rect, GetSysColor(COLOR_MENU));
    rect.top += (rect.bottom - rect.top) / 2;
    DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP);
    return;
  }
  const bool selected = lpDIS->itemState & ODS_SELECTED;
  const bool disabled = lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED);
  const bool checked = lpDIS->itemState & ODS_CHECKED;
  Fill(dc, rect, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int top = rect.top + (rect.bottom - rect.top - kImageSize) / 2;
  RECT image{rect.left + 1, top, rect.left + 1 + kImageSize, top + kImageSize};
  const COLORREF text = GetSysColor(disabled ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  if (HasThreeForms(data.menuIconNormal)) {
    ImageList_Draw(Images().list, data.menuIconNormal + (disabled ? 1 : 0), dc, image.left, image.top, ILD_NORMAL);
    if (checked || selected) DrawEdge(dc, &image, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else if (checked) {
    if (data.nType & MFT_RADIOCHECK)
      DrawRadioMark(dc, image.left + 6, image.top + 6, text);
    else
      DrawCheckMark(dc, image.left + 6, image.top + 5, text);
  }
  RECT area{rect.left + kImageColumn + kTextGap, rect.top, rect.right, rect.bottom};
  DrawItemText(dc, data, area, text, lpDIS->itemState & ODS_DEFAULT);
}

void BCMenu::DrawItemFullColour(LPDRAWITEMSTRUCT lpDIS, const BCMenuData& data) {
  CDC* target = CDC::FromHandle(lpDIS->hDC);
  BCMenuMemDC memory(target, &lpDIS->rcItem);
  const HDC dc = memory.GetSafeHdc();
  const RECT rect = lpDIS->rcItem;
  const bool xp = IsXPThemeActive();
  const COLORREF window = DarkenColor(GetSysColor(COLOR_WINDOW), 0.02);
  const COLORREF column = LightenColor(kBaseColour, xp ? 0.7 : 0.85);
  const COLORREF frame = xp ? GetSysColor(COLOR_HIGHLIGHT) : LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.25);
  Fill(dc, rect, window);
  RECT columnRect{rect.left, rect.top, rect.left + kImageColumn, rect.bottom};
  Fill(dc, columnRect, column);
  if (data.nFlags & MF_SEPARATOR) {
    RECT line{rect.left + kImageColumn + kTextGap, rect.top + (rect.bottom - rect.top) / 2, rect.right,
              rect.top + (rect.bottom - rect.top) / 2 + 1};
    Fill(dc, line, DarkenColor(column, 0.4));
    return;
  }
  const bool selected = lpDIS->itemState & ODS_SELECTED;
  const bool disabled = lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED);
  const bool checked = lpDIS->itemState & ODS_CHECKED;
  if (selected && !disabled) {
    Fill(dc, rect, frame);
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    Fill(dc, inner, m_crHighlight);
  }
  const int top = rect.top + (rect.bottom - rect.top - kImageSize) / 2;
  RECT image{rect.left + 2, top, rect.left + 2 + kImageSize, top + kImageSize};
  const COLORREF text = disabled ? LightenColor(GetSysColor(COLOR_GRAYTEXT), 0.4) : GetSysColor(COLOR_MENUTEXT);
  if (checked) {
    Fill(dc, image, frame);
    RECT box{image.left + 1, image.top + 1, image.right - 1, image.bottom - 1};
    Fill(dc, box, LightenColor(GetSysColor(COLOR_HIGHLIGHT), selected ? 0.55 : 0.85));
  }
  if (HasThreeForms(data.menuIconNormal)) {
    const int form = disabled ? 1 : (selected || checked ? 0 : 2);
    ImageList_Draw(Images().list, data.menuIconNormal + form, dc, image.left, image.top, ILD_TRANSPARENT);
  } else if (checked) {
    if (data.nType & MFT_RADIOCHECK)
      DrawRadioMark(dc, image.left + 6, image.top + 6, text);
    else
      DrawCheckMark(dc, image.left + 6, image.top + 5, text);
  }
  RECT area{rect.left + kImageColumn + kTextGap, rect.top, rect.right, rect.bottom};
  DrawItemText(dc, data, area, text, lpDIS->itemState & ODS_DEFAULT);
}

HIMAGELIST BCMenu::SharedImageList() {
  SharedImages& images = Images();
  if (!images.list) images.list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, 1, 1);
  return images.list;
}

int BCMenu::AddImage(HBITMAP hBitmap, UINT nSourceID) {
  BITMAP info{};
  if (!hBitmap || !GetObjectW(hBitmap, sizeof(info), &info) || info.bmWidth != kImageSize ||
      info.bmHeight != kImageSize || !SharedImageList())
    return -1;
  const int first = ImageList_GetImageCount(Images().list);
  const HBITMAP forms[3] = {hBitmap, MakeDisabledForm(hBitmap), MakeShadedForm(hBitmap)};
  int added = 0;
  for (const HBITMAP form : forms)
    if (form && ImageList_AddMasked(Images().list, form, 0xC0C0C0) >= 0) ++added;
  DeleteObject(forms[1]);
  DeleteObject(forms[2]);
  Images().sources.resize(static_cast<std::size_t>(first), 0);
  for (int i = 0; i < added; ++i) Images().sources.push_back(nSourceID);
  return added == 3 ? first : -1;
}

int BCMenu::AddImageFromList(CImageList* pImageList, int nImage, UINT nSourceID) {
  if (pImageList == nullptr || pImageList->GetSafeHandle() == nullptr || nImage < 0 ||
      nImage >= pImageList->GetImageCount())
    return -1;
  const HICON icon = ImageList_GetIcon(pImageList->GetSafeHandle(), nImage, ILD_NORMAL);
  if (icon == nullptr) return -1;
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP cell = CreateCompatibleBitmap(screen, kImageSize, kImageSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(dc, cell);
  RECT all{0, 0, kImageSize, kImageSize};
  Fill(dc, all, GetSysColor(COLOR_BTNFACE));
  DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
  DestroyIcon(icon);
  const int image = AddImage(cell, nSourceID);
  DeleteObject(cell);
  return image;
}

int BCMenu::FindImage(UINT nSourceID) {
  const std::vector<UINT>& sources = Images().sources;
  const auto found = std::find(sources.begin(), sources.end(), nSourceID);
  return found == sources.end() ? -1 : static_cast<int>(found - sources.begin());
}

COLORREF BCMenu::LightenColor(COLORREF col, double factor) {
  if (factor <= 0.0 || factor > 1.0) return col;
  const auto up = [factor](BYTE c) { return static_cast<BYTE>(c + (255 - c) * factor); };
  return RGB(up(GetRValue(col)), up(GetGValue(col)), up(GetBValue(col)));
}

COLORREF BCMenu::DarkenColor(COLORREF col, double factor) {
  if (factor <= 0.0 || factor > 1.0) return col;
  const auto down = [factor](BYTE c) { return static_cast<BYTE>(c - c * factor); };
  return RGB(down(GetRValue(col)), down(GetGValue(col)), down(GetBValue(col)));
}

int BCMenu::GetWindowsVersionClass() {
  static const int versionClass = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = 276;
    if (!GetVersionExW(&info)) return 0;
    if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) {
      if (info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS || info.dwMajorVersion < 4) return 0;
      if (info.dwMinorVersion >= 90) return 4;
      return info.dwMinorVersion >= 10 ? 3 : 2;
    }
    if (info.dwMajorVersion == 4) return 5;
    if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) return 6;
    if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) return 7;
    return 1;
  }();
  return versionClass;
}

BOOL BCMenu::IsXPThemeActive() {
  if (GetWindowsVersionClass() != 7) return FALSE;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft\\Plus!\\Themes\\Current", 0, 0x20019, &key) != ERROR_SUCCESS)
    return TRUE;
  WCHAR value[MAX_PATH] = {};
  DWORD size = sizeof(value) - sizeof(WCHAR);
  DWORD type = 0;
  const LONG read = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) return TRUE;
  return std::u16string(value).find(u"Windows Classic.theme") == std::u16string::npos;
}
