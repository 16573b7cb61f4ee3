// CDlgParentTransculent: the translucent backdrop laid over the owner while a popup runs on
// top of it, and RunModalWithBackdrop, which runs a nag popup (or any dialog of the family)
// that way and answers its result.
#pragma once
#include "DlgBaseWnd.h"
#include "HVBitmap.h"

class CDlgResultPopupBase;

class ZXHELPER_API CDlgParentTransculent : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgParentTransculent)

 public:
  static constexpr UINT kTemplateId = 1274;

  // A hidden backdrop shows neither itself nor the popup: the popup works unseen for a
  // program that runs for someone else, and ends the run as usual.
  CDlgParentTransculent(CDialog* pDialog, UINT nDialogTemplate, const CRect& ownerRect, BOOL bHidden = FALSE);

  // The backdrop with the popup over it until the popup ends the run; the owner (when given)
  // is disabled meanwhile. -1 when the backdrop or the popup could not be made.
  INT_PTR DoModal() override;
  BOOL OnInitDialog() override;
  // Ends the run (the popup's close through CloseParentDialog).
  void EndRun();

 protected:
  // Enter and Escape on the backdrop itself do nothing; they belong to the popup.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  CHVBitmap m_bmpPicture;
  int m_nPictureWidth = 0;
  int m_nPictureHeight = 0;
  CDialog* m_pDialog;
  UINT m_nDialogTemplate;
  CRect m_rcOwner;
  BOOL m_bPopupMade = FALSE;
  BOOL m_bHidden = FALSE;
  BOOL m_bEnded = FALSE;

  DECLARE_MESSAGE_MAP()
};

// Runs the popup of this template (a nag popup, the main program's framed popups) over a
// backdrop on the owner's window rectangle; the popup's result (1 OK, 2 Cancel, or the stored
// result), or -1 when it could not be shown.
// Hidden, neither the backdrop nor the popup is shown and the owner's place is left as it is.
ZXHELPER_API int RunModalWithBackdrop(CWnd* pOwner, CDlgResultPopupBase* pDialog, UINT nTemplateId,
                                      BOOL bHidden = FALSE);
// Runs any dialog that ends itself through CloseParentDialog the same way (the HTML dialogs
// too), hidden as above when asked: IDOK once it has closed, or -1 when it could not be shown.
ZXHELPER_API int RunModalWithBackdrop(CWnd* pOwner, CDialog* pDialog, UINT nTemplateId, BOOL bHidden = FALSE);
// Ends the run of the window's parent (or owner) dialog.
ZXHELPER_API void CloseParentDialog(CWnd* pWnd);
