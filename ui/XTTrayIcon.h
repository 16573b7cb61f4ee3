// CXTTrayIcon: one icon in the notification area for a program window (its owner), kept by a
// hidden window of its own: tip, balloon, icon and animation frames, mouse actions turned into
// the owner's commands and popup menu, the icon put back when the shell restarts, and the
// owner animated into and out of the notification area.
#pragma once
#include <afxwin.h>

#include <vector>

#include "HelperApi.h"
#include "XTIconHandle.h"
#include "shellnotify.h"

class ZXHELPER_API CXTTrayIcon : public CWnd {
 public:
  // The callback message of the icon, sent to the owner as well.
  static constexpr UINT kCallbackMessage = 0xDD1;
  // The record's size in the layout the shell reads (tip, state, balloon).
  static constexpr DWORD kRecordSize = 936;

  CXTTrayIcon();
  ~CXTTrayIcon() override;

  using CWnd::Create;
  // Without a menu.
  virtual BOOL Create(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nIconID);
  // Keeps the owner, the icon and the tip, makes its hidden window and adds the icon; false
  // without an owner or when the window can't be made.
  virtual BOOL Create(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nIconID, UINT uMenuID,
                      UINT uDefMenuItemID, bool bDefMenuItemByPos);
  // Kills the animation timer and puts back the tip and the icon of the icon id.
  virtual void StopAnimation();
  virtual void StartAnimation(UINT uElapse);
  // Loads a small icon per id (from the current resource module) with its tip (none: the
  // tip text); false at the first icon that does not load; true for a count below 1.
  virtual BOOL SetAnimationIcons(const UINT* lpIDArray, int nIDCount, const CString* lpStrTipArray = nullptr);
  virtual BOOL SetAnimationIcons(const UINT* lpIDArray, const CString* lpStrTipArray, int nIDCount);
  // Adds the icon again with the flags it was added with, unless hidden or removed.
  virtual BOOL AddIconAgain();
  // Parents the window to the second hidden window (made when missing).
  virtual BOOL RemoveFromTaskbar(CWnd* pWnd);
  virtual void RemoveAnimationIcons();
  virtual BOOL SetTooltipText(LPCTSTR lpszTipText);
  virtual BOOL SetIcon(UINT nIDResource);
  virtual void KillAnimation();
  virtual void Animate(UINT nIDEvent, UINT uElapse);
  // The icon's callback message (wParam = the icon's id, lParam = the mouse message).
  virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

  BOOL ShellNotify(DWORD dwMessage);

  BOOL SetNotificationWnd(CWnd* pNotifyWnd);
  CWnd* GetNotificationWnd() const;
  BOOL SetCallbackMessage(UINT uNewCallbackMessage);
  UINT GetCallbackMessage() const { return m_niData.uCallbackMessage; }

  BOOL SetIcon(HICON hIcon);
  HICON GetIcon() const { return m_niData.hIcon; }
  BOOL SetTooltipText(UINT nTipText);
  CString GetTooltipText() const { return m_strToolTip; }

  BOOL AddIcon();
  // Takes the icon out of the notification area.
  BOOL HideIcon();
  // Hides the icon where it is (a newer shell) or takes it out (an older one).
  BOOL HideInPlace();
  BOOL ShowIcon();
  BOOL IsHidden() const { return m_bHidden; }
  BOOL IsRemoved() const { return m_bRemoved; }
  BOOL AddFailed() const { return m_bAddFailed; }

  // The balloon (a newer shell, a text): at most 255 characters, a title of at most 63.
  BOOL ShowBalloonTip(LPCTSTR lpszInfo, LPCTSTR lpszInfoTitle = nullptr, DWORD dwInfoFlags = NIIF_NONE,
                      UINT uTimeout = 10);

  BOOL SetDefaultMenuItem(UINT uItem, bool bByPos);
  void GetDefaultMenuItem(UINT& uItem, bool& bByPos) const;

  void MinimizeToTray(CWnd* pWnd);
  void MaximizeFromTray(CWnd* pWnd);

  // The record as it goes to the shell.
  const NOTIFYICONDATAW& GetNotifyIconData() const { return m_niData; }

  // The icon's size: its colour bitmap's, or a monochrome mask's width and half its height.
  static CSize GetIconSize(HICON hIcon);
  // A new icon fitting width x height with the icon's aspect ratio kept (null on failure).
  static HICON ResizeIcon(HICON hIcon, CSize fit);
  // The notification area's rectangle: from the taskbar's windows, else from the taskbar's
  // place, else from the work area; false when none answers.
  static BOOL GetTrayWindowRect(RECT* pRect);
  // The rectangle given a taskbar's place (ABM_GETTASKBARPOS) and given the work area.
  static RECT TrayRectFromTaskbar(const APPBARDATA& taskbar);
  static RECT TrayRectFromWorkArea(const RECT& work);
  // Whether the shell's library reports version 5 or above (asked once per process).
  static BOOL IsNewerShell();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 protected:
  struct TRAYICONDATA {
    HICON hIcon = nullptr;
    CString strToolTip;
  };

  UINT m_uFlags = 0;
  UINT m_nIconID = 0;
  UINT m_nIDEvent = 1001;
  int m_iAnimFrame = 0;
  UINT m_uDefMenuItemID = 0;
  BYTE m_bDefMenuItemByPos = TRUE;
  BYTE m_bHidden = TRUE;
  BYTE m_bRemoved = TRUE;
  BYTE m_bAddFailed = FALSE;
  HWND m_hWndNotify = nullptr;
  CWnd m_wndMinimize;
  int m_iMaxTipSize = 64;
  CString m_strToolTip;
  CXTIconHandle m_hIcon;
  std::vector<TRAYICONDATA> m_arTrayIcons;
  NOTIFYICONDATAW m_niData{};
  // The process's answer of IsNewerShell, kept with the icon.
  BOOL m_bNewerShell = TRUE;

 private:
  // The menu of id uID with its first popup; false when either is missing.
  BOOL LoadTrayMenu(CMenu& menu, CMenu*& pPopup) const;
  void AnimationStep();
};
