// The class library's wrappers of the common controls: CImageList, CHeaderCtrl, CListCtrl,
// CTreeCtrl, CProgressCtrl, CAnimateCtrl and CToolTipCtrl. Each member sends the control's
// message; the controls themselves are in commctrl.h.
#pragma once
#include "afxstr.h"
#include "afxwin.h"
#include "atltypes.h"
#include "commctrl.h"

// ---------------------------------------------------------------------------------------
// Image lists. A CImageList owns the list it made or attached and destroys it with itself.
// Draw and Add take the class library's DC and bitmap objects (anything with GetSafeHdc,
// GetSafeHandle).
class CImageList : public CObject {
  DECLARE_DYNAMIC(CImageList)

 public:
  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  // A wrapper of a list owned elsewhere, valid until the thread's next temporary clean-up.
  static CImageList* FromHandle(HIMAGELIST hImageList);

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // A strip from bitmap resource nBitmapID of the resource module, cut into cx-wide images
  // with crMask as the transparent colour (CLR_NONE: no mask).
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
  COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
  int Add(HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
  int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
  BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
  int Add(HBITMAP image, COLORREF crMask) { return ImageList_AddMasked(m_hImageList, image, crMask); }
  int Add(HBITMAP image, HBITMAP mask) { return ImageList_Add(m_hImageList, image, mask); }
  template <class Bitmap>
  int Add(Bitmap* pbmImage, COLORREF crMask) {
    return Add(BitmapOf(pbmImage), crMask);
  }
  template <class Bitmap>
  int Add(Bitmap* pbmImage, Bitmap* pbmMask) {
    return Add(BitmapOf(pbmImage), BitmapOf(pbmMask));
  }
  template <class Dc>
  BOOL Draw(Dc* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, nStyle);
  }
  template <class Dc>
  BOOL DrawEx(Dc* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle) {
    return ImageList_DrawEx(m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y,
                            sz.cx, sz.cy, clrBk, clrFg, nStyle);
  }

 private:
  template <class Bitmap>
  static HBITMAP BitmapOf(Bitmap* bitmap) {
    return bitmap ? static_cast<HBITMAP>(bitmap->GetSafeHandle()) : nullptr;
  }
};

// ---------------------------------------------------------------------------------------
class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)

 public:
  int GetItemCount() const;
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
  BOOL SetItem(int nPos, HDITEM* pHeaderItem);
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
};

// ---------------------------------------------------------------------------------------
class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Columns.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn);
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol);
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn);
  int GetColumnWidth(int nCol) const;
  BOOL SetColumnWidth(int nCol, int cx);
  CHeaderCtrl* GetHeaderCtrl() const;

  // Items.
  int InsertItem(const LVITEM* pItem);
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  BOOL SetItem(const LVITEM* pItem);
  BOOL GetItem(LVITEM* pItem) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nItem) const;
  int GetItemCount() const;
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  UINT GetItemState(int nItem, UINT nMask) const;
  // Check boxes (LVS_EX_CHECKBOXES): state image 2 is checked, 1 unchecked.
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
  BOOL GetCheck(int nItem) const;
  int GetNextItem(int nItem, int nFlags) const;
  UINT GetSelectedCount() const;
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
  BOOL Update(int nItem);
  BOOL RedrawItems(int nFirst, int nLast);

  // Look.
  DWORD SetExtendedStyle(DWORD dwNewStyle);
  DWORD GetExtendedStyle() const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  CImageList* GetImageList(int nImageList) const;
  BOOL SetBkColor(COLORREF cr);
  COLORREF GetBkColor() const;
  BOOL SetTextColor(COLORREF cr);
  COLORREF GetTextColor() const;

  // Geometry and scrolling.
  BOOL EnsureVisible(int nItem, BOOL bPartialOK);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const;
  int SubItemHitTest(LPLVHITTESTINFO pInfo);
  BOOL Scroll(CSize size);

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  mutable CHeaderCtrl m_header;  // a view of the list's header, never attached
};

// ---------------------------------------------------------------------------------------
class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                       UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  BOOL DeleteItem(HTREEITEM hItem);
  BOOL DeleteAllItems();

  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
  HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  UINT GetCount() const;
  UINT GetVisibleCount() const;

  BOOL GetItem(TVITEM* pItem) const;
  BOOL SetItem(TVITEM* pItem);
  CString GetItemText(HTREEITEM hItem) const;
  BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  // Check boxes (TVS_CHECKBOXES): state image 2 is checked, 1 unchecked.
  BOOL GetCheck(HTREEITEM hItem) const;
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);

  BOOL Expand(HTREEITEM hItem, UINT nCode);
  BOOL SelectItem(HTREEITEM hItem);
  BOOL EnsureVisible(HTREEITEM hItem);
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;

  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  CImageList* GetImageList(int nImageListType) const;
  SHORT SetItemHeight(SHORT cyHeight);
  SHORT GetItemHeight() const;
  UINT GetIndent() const;
  void SetIndent(UINT nIndent);
  COLORREF SetBkColor(COLORREF clr);
  COLORREF SetTextColor(COLORREF clr);

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};

// ---------------------------------------------------------------------------------------
class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  void GetRange(int& nLower, int& nUpper) const;
  int GetPos() const;
  int SetPos(int nPos);
  int OffsetPos(int nPos);
  int SetStep(int nStep);
  int StepIt();
  COLORREF SetBarColor(COLORREF clrBar);
  COLORREF SetBkColor(COLORREF clrNew);
};

// ---------------------------------------------------------------------------------------
class CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // The clip of "AVI" resource nID of the resource module.
  BOOL Open(UINT nID);
  BOOL Open(LPCTSTR lpszFileName);
  // Frames nFrom to nTo (0xFFFF: the last), nRep times (-1: without end).
  BOOL Play(UINT nFrom, UINT nTo, UINT nRep);
  BOOL Stop();
  BOOL Close();
  BOOL IsPlaying() const;
};

// ---------------------------------------------------------------------------------------
class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  // A tool for a whole window (no rectangle and id 0) or for a rectangle of it.
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void RelayEvent(LPMSG lpMsg);
  void Activate(BOOL bActivate);
  void Pop();
  int GetToolCount() const;
  int SetMaxTipWidth(int iWidth);
  void SetDelayTime(UINT nDelay);
  void SetTipBkColor(COLORREF clr);
  void SetTipTextColor(COLORREF clr);

 private:
  TOOLINFO ToolFor(CWnd* pWnd, UINT_PTR nIDTool) const;
};

// The tooltip of the class library's visual managers: a CToolTipCtrl that keeps the look
// parameters it is given (drawn with the default look here).
class CMFCToolTipInfo {
 public:
  BOOL m_bVislManagerTheme = FALSE;
};

class CMFCToolTipCtrl : public CToolTipCtrl {
  DECLARE_DYNAMIC(CMFCToolTipCtrl)

 public:
  void SetParams(CMFCToolTipInfo* pParams);
  const CMFCToolTipInfo& GetParams() const { return m_Params; }

 private:
  CMFCToolTipInfo m_Params;
};
