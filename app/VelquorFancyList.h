// velquor::CFancyListCtrl: the main program's build of the owner-drawn list, which shows the
// driver results: its eight fonts, plain mode, each row's status kind, value and further
// texts, the status column with its age badge, labels and dates, the overlay icons, the
// title block, the hand cursor over the link band, and the process-wide switches under which
// the main window's results list follows its checks.
#pragma once
#include <afxcmn.h>
#include <afxgdi.h>

#include "FancyListBase.h"

namespace velquor {

// The process-wide switches of the driver lists, both on while the one-click results popup is
// open: with both on, a check clicked in a list is handed on to the same row of the main
// window's results list; the second hides the status column's action texts.
struct tagDriverListSwitches {
  BOOL bPopupOpen = FALSE;
  BOOL bStatusTextsHidden = FALSE;
};
tagDriverListSwitches& DriverListSwitches();

class CFancyListCtrl : public CFancyListBase {
  DECLARE_DYNAMIC(CFancyListCtrl)

 public:
  static constexpr UINT kCheckBitmapId = 5274;
  static constexpr UINT kHandCursorId = 5196;
  static constexpr UINT kInstalledOverlayId = 5113;  // rows waiting for a restart
  static constexpr UINT kStateOverlayId = 5201;      // rows of states 0, 1 and 3
  // Age badges by status kind (the next id draws a focused row's).
  static constexpr UINT kBadgeRecentId = 5367;
  static constexpr UINT kBadgeOldId = 5371;
  static constexpr UINT kBadgeAncientId = 5369;
  static constexpr int kStatusColumn = 3;
  static constexpr int kTitleBlockWidth = 220;
  static constexpr int kBadgeWidth = 157;
  // Between the title block, the age block and the action text.
  static constexpr int kBlockGap = 8;
  // The row height the status block needs: badge, labels and the two date lines.
  static constexpr int kStatusBlockHeight = 74;

  static constexpr COLORREF kTextColour = 0x1B1209;
  static constexpr COLORREF kLineColour = 0xD8CCCC;
  static constexpr COLORREF kFocusFill = 0xB6EFFF;
  static constexpr COLORREF kGroupCellFill = 0xF4F2F0;
  static constexpr COLORREF kGroupTitleColour = 0x864E07;
  static constexpr COLORREF kTitleColour = 0x141414;
  static constexpr COLORREF kPlainTitleColour = 0x555555;
  static constexpr COLORREF kStatusColour = 0xFF3600;
  static constexpr COLORREF kInstalledColour = 0x300EF;
  static constexpr COLORREF kAvailableColour = 0x8E19;

  CFancyListCtrl();
  ~CFancyListCtrl() override;

  // The row's title, status kind (1-4 show an age badge), value and three further texts (the
  // class line, the installed and the available date). FALSE outside the list or without a
  // detail column.
  BOOL SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT nStatusKind = 4, UINT nValue = 0,
                      LPCTSTR lpszText1 = nullptr, LPCTSTR lpszText2 = nullptr, LPCTSTR lpszText3 = nullptr);
  UINT GetStatusKind(int nItem) const;
  UINT GetValue(int nItem) const;
  // One of the three further texts (0-2).
  CString GetFurtherText(int nItem, int nText) const;
  CString GetLastText(int nItem) const;
  BOOL SetLastText(int nItem, LPCTSTR lpszText);

  // Titles in grey.
  void SetPlainMode(BOOL bPlain);
  BOOL IsPlainMode() const { return m_bPlainMode; }
  // The band of the action links in client coordinates: from the end of column 1 as wide as
  // the status column.
  CRect GetLinkBand() const;

 protected:
  void PreSubclassWindow() override;
  void CreateFonts() override;
  CFont& FirstLineFont() override { return m_fontText; }
  CFont& LineFont() override { return m_fontDetail; }
  CFont& TextFont() override { return m_fontText; }
  CPoint CheckImageOrigin(int columnLeft, int columnWidth, const CRect& row) const override;
  int CheckBandOffset() const override { return 23; }
  void DrawRowBackground(CDC* pDC, int nItem, const CRect& row, UINT state) override;
  void DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;
  void DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;
  void DrawOtherCell(CDC* pDC, int nItem, int column, int x, int width, const CRect& row, UINT state) override;
  void OnRowInserted(std::size_t at) override;
  void OnRowRemoved(std::size_t at) override;
  void OnRowsCleared() override;
  void OnRowsReordered(const std::vector<std::size_t>& before) override;
  void OnCheckClicked(int nItem, BOOL bChecked) override;

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  // The hand over the link band, else the arrow; true when the hand was set.
  bool SetBandCursor(CPoint point);
  // The left of the title block: half the check column right of it, or 36 without one.
  int TitleLeft() const;
  // The left edges of the status column's action text and age block (client coordinates).
  int StatusTextLeft() const;
  int AgeBlockLeft() const { return StatusTextLeft() - kBlockGap - kBadgeWidth; }
  void DrawStatus(CDC* pDC, int nItem, int x, int width, const CRect& row, UINT state);
  void DrawAgeLabels(CDC* pDC, int left, int top);
  // "label value" in the 220-pixel block; answers the line's bottom.
  int DrawDateLine(CDC* pDC, int left, int top, const CString& label, const CString& value, COLORREF colour);

  CFont m_fontText;       // Tahoma 11
  CFont m_fontBold;       // Tahoma 11 bold: titles
  CFont m_fontDetail;     // Segoe UI 11
  CFont m_fontGroup;      // Segoe UI 12 bold: group headers
  CFont m_fontPlain;      // Segoe UI 12
  CFont m_fontLink;       // Segoe UI 11 underlined: action texts
  CFont m_fontSmall;      // Tahoma 9
  CFont m_fontLarge;      // Segoe UI 15 bold
  CFont m_fontLabels;     // the shared base font two units smaller
  // The status column's texts, read once: the three action texts, the three age labels and
  // the two date labels.
  CString m_strStatus[3];
  CString m_strAges[3];
  CString m_strInstalled;
  CString m_strAvailable;
  HCURSOR m_hHandCursor = nullptr;
  HICON m_hOverlays[2] = {};
  BYTE m_bPlainMode = FALSE;
  std::vector<UINT> m_statusKinds;
  std::vector<UINT> m_values;
  std::vector<CString> m_texts[3];
  std::vector<CString> m_lastTexts;
};

}  // namespace velquor
