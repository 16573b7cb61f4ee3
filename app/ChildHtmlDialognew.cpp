// CChildHtmlDialognew: the main program's HTML dialog base.
#include "ChildHtmlDialognew.h"

CChildHtmlDialognew::CChildHtmlDialognew(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd)
    : CChildHtmlDialog(nIDTemplate, nHtmlResID, pParentWnd) {}

CChildHtmlDialognew::~CChildHtmlDialognew() = default;
