// CKXLauncherLink: the main program's two inter-process call objects in hidden scan mode,
// owned by the main window: the server the launcher calls and the client that reports to
// the launcher. Start when the main window opens in hidden scan mode, Stop when it is
// destroyed.
#pragma once
#include <afx.h>

#include <memory>
#include <mutex>

#include "KXClient.h"
#include "KXServer.h"
#include "LauncherState.h"

// The status codes the main program sends the launcher.
enum LauncherStatusCode {
  kLauncherReady = 1,
  kLauncherClosing = 2,
  kLauncherScanProgress = 6,
  kLauncherStopped = 9,
  kLauncherDownloadProgress = 14,
  kLauncherInstallFinished = 15,
  kLauncherUpdatesLeft = 17,
};

class CKXLauncherLink {
 public:
  CKXLauncherLink(tagLauncherState& state, CPopupArming& popup);
  ~CKXLauncherLink();
  CKXLauncherLink(const CKXLauncherLink&) = delete;
  CKXLauncherLink& operator=(const CKXLauncherLink&) = delete;

  // Creates the client and the server, connects the client, starts the server, clears the
  // launcher request code, tells the launcher it is ready, and clears launcher busy and the
  // install-cancel request. False when the server could not start (the client still
  // reports).
  bool Start(const tagKXServerWindows& windows);
  // Tells the launcher that the program closes (when it is being told), stops the server
  // and frees both objects.
  void Stop();

  // Hands the launcher a status while it is being told (hidden scan mode or progress
  // notify): the code and value of its status call, and the record's texts and first number.
  void NotifyPeer(int code, int value, LPCTSTR text1 = nullptr, int number1 = 0, LPCTSTR text2 = nullptr);
  // In progress-notify mode: the number of updates still to install, with a flag telling
  // whether any remain.
  void NotifyPeerUpdateProgress(int remaining);
  // The download-and-install window as it opens, null as it closes: the launcher's cancel
  // reaches it at once.
  void SetDownloadInstallWindow(HWND window);

 private:
  tagLauncherState& m_state;
  CPopupArming& m_popup;
  std::unique_ptr<CKXClient> m_client;
  std::unique_ptr<CKXServer> m_server;
  std::mutex m_notifyLock;
};
