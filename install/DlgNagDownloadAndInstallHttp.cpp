// CDlgNagDownloadAndInstall: the transfer's progress texts. The download library reports each
// step of a transfer with its byte counts and a line of sizes; the popup that runs a fetch shows
// the item's percentage on its progress bar and the sizes with the speed so far in the open
// status line.
#include <atomic>
#include <mutex>

#include "CheckedFormat.h"
#include "DlgNagDownloadAndInstall.h"
#include "DownloaderLibrary.h"

namespace {

// The popup whose run is fetching now (one at a time), and the speed text of the last report.
std::atomic<CDlgNagDownloadAndInstall*> g_active{nullptr};
std::mutex g_speedLock;
CString g_speed;

}  // namespace

CString CDlgNagDownloadAndInstall::FormatSpeedText(double kilobytesPerSecond) {
  CString number, text;
  if (kilobytesPerSecond < 1) {
    FormatChecked(number, Lang(_T("IDS_BYTE_PERSEC")), {kilobytesPerSecond * 1024});
    FormatChecked(text, Lang(_T("IDS_HTTPDOWNLOAD_BYTESPERSECOND")), {number});
  } else {
    FormatChecked(number, Lang(kilobytesPerSecond < 10 ? _T("IDS_BYTE_PERSEC2") : _T("IDS_BYTE_PERSEC")),
                  {kilobytesPerSecond});
    FormatChecked(text, Lang(_T("IDS_HTTPDOWNLOAD_KILOBYTESPERSECOND")), {number});
  }
  return text;
}

void CDlgNagDownloadAndInstall::ShowTransferBytes(ULONGLONG received, ULONGLONG /*total*/) {
  CDlgNagDownloadAndInstall* dialog = g_active.load();
  if (dialog == nullptr) return;
  const DWORD elapsed = ::GetTickCount() - dialog->m_dwTransferStart;
  const double seconds = (elapsed == 0 ? 1 : elapsed) / 1000.0;
  const CString speed = FormatSpeedText(static_cast<double>(received) / 1024.0 / seconds);
  std::lock_guard<std::mutex> hold(g_speedLock);
  g_speed = speed;
}

void CDlgNagDownloadAndInstall::ShowTransferProgress(int percent, const CString& sizes) {
  CDlgNagDownloadAndInstall* dialog = g_active.load();
  if (dialog == nullptr) return;
  CString line = sizes;
  {
    std::lock_guard<std::mutex> hold(g_speedLock);
    if (!g_speed.IsEmpty()) line += _T(", ") + g_speed;
  }
  dialog->Post({RunEvent::kProgress, percent, 0, CString()});
  dialog->Post({RunEvent::kStatus, FALSE, 0, line});
}

void CDlgNagDownloadAndInstall::FollowTransfers(bool follow) {
  if (follow) {
    {
      std::lock_guard<std::mutex> hold(g_speedLock);
      g_speed.Empty();
    }
    g_active.store(this);
    CDownloaderLibrary::SetBytesSink(&ShowTransferBytes);
    CDownloaderLibrary::SetStatusSink(&ShowTransferProgress);
    return;
  }
  CDlgNagDownloadAndInstall* self = this;
  if (!g_active.compare_exchange_strong(self, nullptr)) return;
  CDownloaderLibrary::SetStatusSink(nullptr);
  CDownloaderLibrary::SetBytesSink(nullptr);
}
