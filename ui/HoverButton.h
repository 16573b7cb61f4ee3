// The bitmap button: its picture is one state of a strip [normal | pressed | hover |
// disabled], or three pieces (left, middle tiled, right) each holding three states.
#pragma once
#include "BaseGUIButton.h"

class ZXHELPER_API CHoverButton : public CBaseGUIButton {
  DECLARE_DYNAMIC(CHoverButton)

 public:
  CHoverButton();
  ~CHoverButton() override;

  // The strip of this bitmap id, through the class library's resource chain; the button
  // takes the size of one state. FALSE (and no strip) when the bitmap does not load.
  BOOL LoadBitmap(UINT nIDResource);
  // Takes ownership of a strip made by the caller, cut into three states.
  BOOL SetBitmap(HBITMAP hBitmap);
  // The three pieces from the current resource module; the button becomes width x height,
  // which is kept as its state size.
  BOOL LoadThreePieces(UINT nLeftId, UINT nMiddleId, UINT nRightId, int nWidth, int nHeight);

  // Four images in a loaded strip (the fourth drawn while disabled); set before loading.
  void SetFourState(BOOL bFourState) { m_bFourState = bFourState ? TRUE : FALSE; }
  // Drawn pressed whatever the state.
  void SetStickyPressed(BOOL bSticky);

  int GetStateWidth() const { return m_nStateWidth; }
  int GetStateHeight() const { return m_nStateHeight; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  virtual void DrawThreePiece(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  // The strip's x for the item's state.
  int StripSourceX(const DRAWITEMSTRUCT& item) const;
  // Draws the strip's state at this x over the whole button of the size given.
  void DrawState(CDC* pDC, int xSource, int nWidth, int nHeight);
  BOOL IsDisabled(const DRAWITEMSTRUCT& item) const;
  // Whether the strip holds a fourth, disabled image: four-state and cut in four (a strip
  // handed over is cut in three, whatever the switch).
  bool HasDisabledImage() const;
  // Takes the strip in, cut into that many states: state size, button size, highlight
  // cleared, single-strip mode.
  BOOL AdoptStrip(HBITMAP hBitmap, int nStates);

  int m_nStateWidth = 0;
  int m_nStateHeight = 0;
  CBitmap m_bmpStrip;
  BOOL m_bSingleStrip = TRUE;
  CBitmap m_bmpLeft, m_bmpMiddle, m_bmpRight;
  int m_nLeftWidth = 0, m_nMiddleWidth = 0, m_nRightWidth = 0;
  int m_nLeftHeight = 0, m_nMiddleHeight = 0, m_nRightHeight = 0;
  BYTE m_bFourState = FALSE;
  BYTE m_bStickyPressed = FALSE;
};
