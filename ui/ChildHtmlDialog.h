// CChildHtmlDialog: the base of every HTML dialog. It shows a page of the resources as a fixed
// surface rather than a browser: browser keys (Ctrl+N, Ctrl+P, F5, Alt+F4 ...) never act,
// text outside edit fields cannot be selected, dragged or given a context menu, drops are
// refused, and the elements "ButtonOK" and "ButtonCancel" end the dialog. Derived dialogs
// with event maps of their own join the base's entries with CombineEventMaps.
#pragma once
#include <afxdhtml.h>

#include <vector>

#include "HelperApi.h"

class ZXHELPER_API CChildHtmlDialog : public CDHtmlDialog {
  DECLARE_DYNCREATE(CChildHtmlDialog)

 public:
  CChildHtmlDialog();
  CChildHtmlDialog(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd);
  ~CChildHtmlDialog() override;

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;
  // No browser context menu and no drop target.
  HRESULT ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
  HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;

  // The host flags every HTML dialog runs with: dialog, no 3-D border, no scroll bars.
  static constexpr DWORD kHostFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;

  // A derived dialog's own entries (ended by the end mark) followed by those of this base
  // that it does not repeat, ended by the end mark.
  static std::vector<DHtmlEventMapEntry> CombineEventMaps(const DHtmlEventMapEntry* own);

 protected:
  const DHtmlEventMapEntry* GetDHtmlEventMap() override;
  void OnOK() override;
  void OnCancel() override;

  HRESULT OnButtonOK(IHTMLElement* pElement);
  HRESULT OnButtonCancel(IHTMLElement* pElement);
  // Selection, dragging and the context menu go on only inside text-edit elements.
  HRESULT OnHtmlSelectStart(IHTMLElement* pElement);
  HRESULT OnHtmlDragStart(IHTMLElement* pElement);
  HRESULT OnHtmlContextMenu(IHTMLElement* pElement);

  afx_msg LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

 private:
  // The base's entries: the two buttons, then selection, dragging and the context menu of
  // 90 tags; built once.
  static const DHtmlEventMapEntry* BaseEventMap();
  // Refuses drops and browser registration on the browser and the window.
  void RefuseDrops();

  DECLARE_MESSAGE_MAP()
};
