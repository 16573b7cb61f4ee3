// The class library's objects for common controls it was not given one for: a list view
// found through GetDlgItem is a CListCtrl, a tree view a CTreeCtrl, and so on.
#include "afxcmn.h"
#include "afxdtctl.h"
#include "control.h"
#include "zx/afxkinds.h"

namespace zx::comctl {
namespace {

template <class Kind>
CWnd* Make() {
  return new Kind;
}

}  // namespace

void AddTemporaryKinds() {
  afx::AddTemporaryKind(WC_LISTVIEWW, Make<CListCtrl>);
  afx::AddTemporaryKind(WC_TREEVIEWW, Make<CTreeCtrl>);
  afx::AddTemporaryKind(WC_HEADERW, Make<CHeaderCtrl>);
  afx::AddTemporaryKind(PROGRESS_CLASSW, Make<CProgressCtrl>);
  afx::AddTemporaryKind(ANIMATE_CLASSW, Make<CAnimateCtrl>);
  afx::AddTemporaryKind(TOOLTIPS_CLASSW, Make<CToolTipCtrl>);
  afx::AddTemporaryKind(DATETIMEPICK_CLASSW, Make<CDateTimeCtrl>);
}

}  // namespace zx::comctl
