// CKXLauncherLink: starting, stopping and reporting to the launcher.
#include "LauncherLink.h"

CKXLauncherLink::CKXLauncherLink(tagLauncherState& state, CPopupArming& popup) : m_state(state), m_popup(popup) {}

CKXLauncherLink::~CKXLauncherLink() { Stop(); }

bool CKXLauncherLink::Start(const tagKXServerWindows& windows) {
  if (m_client) return m_server != nullptr;
  m_client = std::make_unique<CKXClient>();
  m_server = std::make_unique<CKXServer>(m_state, m_popup, windows);
  m_client->Connect();
  const bool serving = m_server->Start() != FALSE;
  m_state.nRequestCode = 0;
  NotifyPeer(kLauncherReady, 0);
  m_state.bLauncherBusy = false;
  m_state.bInstallCancel = false;
  return serving;
}

void CKXLauncherLink::Stop() {
  if (!m_client) return;
  NotifyPeer(kLauncherClosing, 0);
  m_server->Stop();
  std::lock_guard<std::mutex> guard(m_notifyLock);
  m_client.reset();
  m_server.reset();
}

void CKXLauncherLink::NotifyPeer(int code, int value, LPCTSTR text1, int number1, LPCTSTR text2) {
  std::lock_guard<std::mutex> guard(m_notifyLock);
  if (!m_client || !m_state.IsNotifying()) return;
  m_client->SendRequest(code, text1, number1, 0, value, 0, 0, 0, text2, 0);
}

void CKXLauncherLink::SetDownloadInstallWindow(HWND window) {
  if (m_server) m_server->SetDownloadInstallWindow(window);
}

void CKXLauncherLink::NotifyPeerUpdateProgress(int remaining) {
  if (m_state.bProgressNotify) NotifyPeer(kLauncherUpdatesLeft, remaining, _T(""), remaining > 0 ? 1 : 0, _T(""));
}
