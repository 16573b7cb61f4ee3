// CDlgBaseWndPopupNagBase: a framed popup run over the translucent backdrop
// (RunModalWithBackdrop); OK answers 1, Cancel 2, EndWithResult what it is given, and each
// ends the backdrop's run.
#pragma once
#include "DlgResultPopupBase.h"

class ZXHELPER_API CDlgBaseWndPopupNagBase : public CDlgResultPopupBase {
  DECLARE_DYNAMIC(CDlgBaseWndPopupNagBase)

 public:
  using CDlgResultPopupBase::CDlgResultPopupBase;

  void EndWithResult(int nResult) { Close(nResult); }
};
