// CFadeWnd: a window laid over another while that one is disabled, showing the screen under
// it turning grey step by step (about 1.5 seconds on any machine), and FadeWindow, which
// fades a window with a fade window that deletes itself when it closes.
#pragma once
#include <atomic>
#include <mutex>
#include <vector>

#include "HelperApi.h"
#include "afxwin.h"

class ZXHELPER_API CFadeWnd : public CWnd {
 public:
  static constexpr int kColors = 256;

  // A plain grey scale (white to black), nothing faded yet.
  CFadeWnd();
  // The colours of the table; a live window is faded at once over its window rectangle.
  CFadeWnd(CWnd* pWnd, COLORREF crLight, COLORREF crDark);
  ~CFadeWnd() override;

  virtual void SetColors(COLORREF crLight, COLORREF crDark);
  virtual BOOL CloseOnLButton() { return TRUE; }
  virtual BOOL CloseOnRButton() { return FALSE; }
  // Lays the fade window over rect (the window's window rectangle when empty) and starts the
  // fade; FALSE when there is no live window, the display is a palette device, or the
  // window or the screen's snapshot can't be made (a self-deleting object is deleted then).
  virtual BOOL Fade(CWnd* pWnd, BOOL bSelfDelete, CRect rect = CRect(0, 0, 0, 0));

  // The computations of the fade.
  static void BuildColorTable(COLORREF crLight, COLORREF crDark, COLORREF* table);
  // One pixel of a 32-bit DIB (0x00RRGGBB) blended with alpha 0..255 towards its grey's colour.
  static DWORD BlendPixel(const COLORREF* table, DWORD pixel, int alpha);
  static int AlphaFor(int percent) { return percent * 255 / 100; }
  // The step in percent after a first frame that took frameMs milliseconds.
  static int StepFor(DWORD frameMs);
  // Whether a display of these raster capabilities shows a fade (not a palette device).
  static BOOL CanFade(int rasterCaps) { return (rasterCaps & RC_PALETTE) == 0; }

  const COLORREF* ColorTable() const { return m_colors; }
  CWnd* FadedWindow() const { return m_pWndLock; }
  // Waits until the fade loop has painted its last step.
  void WaitForFade();
  // The percentages painted so far, in order.
  std::vector<int> PaintedSteps() const;

 protected:
  // Called on the fade thread after each step has been painted (timed with the step).
  virtual void OnFadeStep(int nPercent);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  static UINT FadeThread(LPVOID pParam);
  void RunFade();
  HBITMAP MakeFadedImage(int nPercent) const;
  void PaintFaded(HDC dc);
  void StopFade();
  BOOL TakeSnapshot(const CRect& rect);

  CWnd m_wndInvisible;
  BOOL m_bSelfDelete = FALSE;
  HBITMAP m_hbmpScreen = nullptr;
  HBITMAP m_hbmpFaded = nullptr;
  COLORREF m_colors[kColors]{};
  CWnd* m_pWndLock = nullptr;
  bool m_bTakingFocus = false;

  CWinThread* m_pThread = nullptr;
  std::atomic<bool> m_bStop{false};
  mutable std::mutex m_lock;  // the faded image and the steps, shared with the fade thread
  std::vector<int> m_steps;
};

// Fades a window with a self-deleting fade window of those colours.
ZXHELPER_API BOOL FadeWindow(CWnd* pWnd, COLORREF crLight, COLORREF crDark);
