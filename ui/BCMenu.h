// BCMenu: a menu whose items are all drawn by the class, with an image column, check and
// radio marks drawn as small glyphs and disabled images made from the normal ones. It builds
// itself from a menu resource and measures and draws its items when the owner window forwards
// WM_MEASUREITEM and WM_DRAWITEM. Also the colour helpers and the Windows version class.
#pragma once
#include "BCMenuData.h"
#include "HelperApi.h"
#include "afxcmn.h"
#include "afxtempl.h"
#include "commctrl.h"
#include "afxwin.h"

class ZXHELPER_API BCMenu : public CMenu {
 public:
  static constexpr int kImageSize = 19;

  BCMenu();
  ~BCMenu() override;
  BCMenu(const BCMenu&) = delete;
  BCMenu& operator=(const BCMenu&) = delete;

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  // From the module AfxFindResourceHandle names, else the program's own; FALSE (the menu left
  // as it was) when the resource is missing or its template is damaged.
  virtual BOOL LoadMenu(UINT nIDResource);
  virtual BOOL LoadMenu(LPCTSTR lpszResourceName);

  // The pictures of the toolbar resource of that id (its BITMAP of the same id, one button
  // width apart) given to the items with its buttons' command ids, each picture centred in an
  // image cell. FALSE, and no item changed, when the toolbar or its bitmap is missing or
  // damaged, or its buttons are larger than an image cell.
  BOOL LoadToolbar(UINT nToolBar);

  // Items: appended or changed as owner-drawn items with a record of their own; MFT_RADIOCHECK
  // in the flags makes a checked item show the radio mark.
  BOOL AppendODMenu(LPCTSTR lpstrText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nIconNormal = -1);
  BOOL ModifyODMenu(LPCTSTR lpstrText, UINT nID, int nIconNormal = -1);
  // The same with the image at that index of an image list, added to the shared list under
  // the item's command id (no image when it cannot be taken).
  BOOL AppendODMenu(LPCTSTR lpstrText, UINT nFlags, UINT_PTR nID, CImageList* pImageList, int nImage);
  BOOL ModifyODMenu(LPCTSTR lpstrText, UINT nID, CImageList* pImageList, int nImage);
  // The record of the item with that command id, in this menu or its sub-menus; null if none.
  BCMenuData* FindMenuItem(UINT nID);
  BOOL GetMenuText(UINT nID, CString& text);
  // The sub-menus this menu made, in order.
  INT_PTR GetSubMenuCount() const { return m_SubMenus.GetSize(); }
  BCMenu* GetCreatedSubMenu(INT_PTR i) const { return m_SubMenus[i]; }
  BOOL IsCreatedSubMenu() const { return m_bSubMenu; }

  // Images: a 19 x 19 bitmap added to the shared image list as three entries (normal,
  // disabled, shaded) under a source id; the index of the first, or -1.
  static int AddImage(HBITMAP hBitmap, UINT nSourceID);
  // The icon at that index of an image list drawn into a 19 x 19 bitmap over the button face
  // and added as above.
  static int AddImageFromList(CImageList* pImageList, int nImage, UINT nSourceID);
  static int FindImage(UINT nSourceID);
  static HIMAGELIST SharedImageList();

  static COLORREF LightenColor(COLORREF col, double factor);
  static COLORREF DarkenColor(COLORREF col, double factor);
  // 0 Win32s or an early 9x, 2 Windows 95, 3 98, 4 Me, 5 NT 4, 6 2000, 7 XP, 1 other NT.
  static int GetWindowsVersionClass();
  static BOOL IsXPThemeActive();

  COLORREF m_crHighlight = 0xFCF0DC;

 protected:
  // Deletes every item record and every sub-menu this menu made.
  virtual void DestroyMenuData();

 private:
  void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS, const BCMenuData& data);
  void DrawItemFullColour(LPDRAWITEMSTRUCT lpDIS, const BCMenuData& data);
  BCMenu* AppendSubMenu(LPCTSTR lpstrText);

  CArray<BCMenuData*, BCMenuData*> m_MenuList;
  CArray<BCMenu*, BCMenu*> m_SubMenus;
  BOOL m_bSubMenu = FALSE;
};
