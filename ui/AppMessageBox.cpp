// The message box entry points: button sets and icons chosen from message-box flags or given
// by the caller, the box run modally, its result answered.
#include "DlgBaseMessageBoxWndBase.h"
#include "IniReader.h"

namespace {

constexpr UINT kErrorIcon = 1113;
constexpr UINT kWarningIcon = 1114;
constexpr UINT kInformationIcon = 1115;
constexpr UINT kQuestionIcon = 1116;
constexpr UINT kIconBits = 0xF0;

// The box's icon for the icon bits of message-box flags: a question asks with the question
// mark and a warning warns; only an error carries the error sign. No icon bits (or bits no flag
// names) show the information sign.
UINT IconOfFlags(UINT flags) {
  switch (flags & kIconBits) {
    case MB_ICONHAND: return kErrorIcon;
    case MB_ICONQUESTION: return kQuestionIcon;
    case MB_ICONEXCLAMATION: return kWarningIcon;
    default: return kInformationIcon;
  }
}

// The pressed button's result, or -1 when the box could not be made (its template missing or
// damaged).
int Run(CDlgBaseMessageBoxWndBase& box, LPCTSTR lpszText) {
  box.SetText(lpszText);
  if (box.DoModal() == -1) return -1;
  return box.GetResult();
}

}  // namespace

int AppMessageBox(LPCTSTR lpszText, UINT nType, CWnd* pParent, const CRect* pBoxRect, BYTE bHtmlWrap) {
  CQVXMessageBox box(pParent, bHtmlWrap);
  box.SetBoxRect(pBoxRect ? *pBoxRect : CRect(0, 0, 315, 171));
  if (nType & MB_YESNO) {
    box.SetButtons(kMessageBoxYesNo, 0, nullptr, 0, 0);
  } else if (nType & MB_OKCANCEL) {
    box.SetButtons(kMessageBoxOkCancel, 0, nullptr, 0, 0);
  } else if (nType & MB_ABORTRETRYIGNORE) {
    CStringArray texts;
    texts.Add(GetLangString(_T("IDS_YES"), _T("QVX")));
    texts.Add(GetLangString(_T("IDS_NO"), _T("QVX")));
    texts.Add(GetLangString(_T("IDS_CANCEL"), _T("QVX")));
    box.SetButtons(kMessageBoxCustomWithCheck, 3, &texts, 0, 0);
    box.SetBoxRect(CRect(0, 0, 500, 300));
  } else {
    box.SetButtons(kMessageBoxOk, 0, nullptr, 0, 0);
  }
  box.SetIcon(IconOfFlags(nType));
  return Run(box, lpszText);
}

int AppMessageBoxEx(LPCTSTR lpszText, UINT nIconFlag, int nCount, const CStringArray& texts, const CRect& boxRect,
                    BOOL bCheckBox, int nLargeButtons, CWnd* pParent) {
  CQVXMessageBox box(pParent, TRUE);
  box.SetIcon(IconOfFlags(nIconFlag));
  box.SetButtons(bCheckBox ? kMessageBoxCustomWithCheck : kMessageBoxCustom, nCount, &texts, 0, nLargeButtons);
  box.SetBoxRect(boxRect);
  return Run(box, lpszText);
}

int AppMessageBoxCustom(LPCTSTR lpszText, UINT nBitmapId, int nCount, const CStringArray& texts, const CRect& boxRect,
                        BOOL bHeader, CWnd* pParent) {
  CQVXMessageBox box(pParent, TRUE);
  box.SetButtons(kMessageBoxCustomWithCheck, nCount, &texts, 0, 0);
  box.SetBoxRect(boxRect);
  if (bHeader) box.SetHeaderBitmap(nBitmapId);
  else box.SetPictureBitmap(nBitmapId);
  return Run(box, lpszText);
}
