// The update checker's download library binding.
#include "UpdateDownloader.h"

#include <handleapi.h>
#include <libloaderapi.h>
#include <synchapi.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// The library calls back without naming the download: the sink of the download that runs.
std::atomic<IUpdateDownloadSink*> g_activeSink{nullptr};
std::atomic<bool> g_running{false};

// A zero-terminated UTF-16 copy that the request block points at.
std::unique_ptr<WCHAR[]> Copy(LPCTSTR text) {
  const size_t length = text ? std::char_traits<WCHAR>::length(text) : 0;
  auto buffer = std::make_unique<WCHAR[]>(length + 1);
  if (length) std::memcpy(buffer.get(), text, length * sizeof(WCHAR));
  buffer[length] = 0;
  return buffer;
}

BOOL NoticeCallback(LPVOID, LPVOID, LPVOID) { return TRUE; }
int EndCallback(LPVOID, LPVOID) { return TRUE; }

bool Filled(LPCTSTR text) { return text != nullptr && *text != 0; }

}  // namespace

CUpdateDownloader::~CUpdateDownloader() {
  if (m_hEvent != nullptr) CloseHandle(m_hEvent);
  if (m_hModule != nullptr) FreeLibrary(m_hModule);
}

BOOL CUpdateDownloader::Load(LPCTSTR libraryName) {
  if (m_hEvent == nullptr) m_hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HMODULE module = LoadLibraryW(libraryName);
  if (module == nullptr) return FALSE;
  const auto entry = [module](int ordinal) { return GetProcAddress(module, MAKEINTRESOURCEA(ordinal)); };
  m_pfnDownload = reinterpret_cast<DownloaderDownloadFn>(entry(1));
  m_pfnAbort = reinterpret_cast<DownloaderAbortFn>(entry(2));
  m_pfnConnected = reinterpret_cast<DownloaderConnectedFn>(entry(3));
  m_pfnSession = reinterpret_cast<DownloaderSessionFn>(entry(4));
  if (!m_pfnDownload || !m_pfnAbort || !m_pfnConnected || !m_pfnSession) {
    FreeLibrary(module);
    m_pfnDownload = nullptr;
    m_pfnAbort = nullptr;
    m_pfnConnected = nullptr;
    m_pfnSession = nullptr;
    return FALSE;
  }
  m_hModule = module;
  return TRUE;
}

int CUpdateDownloader::DownloadFile(LPCTSTR url, LPCTSTR file, LPCTSTR hash, int mode, BYTE flag, BOOL cancelled) {
  g_running.store(true);
  m_bAbort.store(false);
  ResetEvent();
  if (m_hModule == nullptr || !(Filled(hash) || (Filled(url) && Filled(file) && flag == 0))) {
    g_running.store(false);
    return 0;
  }
  int result = 0;
  {
    const auto address = Copy(url), target = Copy(file), digest = Copy(hash);
    tagDownloadRequest request;
    std::memset(&request, 0, sizeof request);
    request.pszAddress = address.get();
    request.pszTargetPath = target.get();
    request.pszChecksum = digest.get();
    request.bFlag = flag;
    request.nFlag = mode;
    if (!cancelled) {
      g_activeSink.store(m_pSink);
      m_pfnSession(1);
      result = m_pfnDownload(&request, 1, ProgressCallback, NoticeCallback, QuestionCallback, EndCallback);
      m_pfnSession(0);
      g_activeSink.store(nullptr);
    }
  }
  if (m_hEvent != nullptr) SetEvent(m_hEvent);
  g_running.store(false);
  return result;
}

void CUpdateDownloader::StopDownload() {
  m_bAbort.store(true);
  if (!g_running.load() || m_hModule == nullptr) return;
  if (m_hEvent == nullptr || WaitForSingleObject(m_hEvent, kStopGraceMs) != WAIT_OBJECT_0) m_pfnAbort(0);
}

BOOL CUpdateDownloader::WaitForDownloadEnd() {
  // A download that is not running has nothing to wait for (its event may never come).
  if (g_running.load() && m_hEvent != nullptr) WaitForSingleObject(m_hEvent, INFINITE);
  ResetEvent();
  return TRUE;
}

BOOL CUpdateDownloader::IsConnected() const { return m_pfnConnected != nullptr && m_pfnConnected() != 0; }

void CUpdateDownloader::ResetEvent() {
  if (m_hEvent != nullptr) ::ResetEvent(m_hEvent);
}

BOOL CUpdateDownloader::IsDownloadRunning() { return g_running.load() ? TRUE : FALSE; }

BOOL CUpdateDownloader::ProgressCallback(LPVOID, const tagDownloadProgress* progress) {
  IUpdateDownloadSink* sink = g_activeSink.load();
  if (progress != nullptr && sink != nullptr)
    sink->OnDownloadProgress(CString(progress->pszStatus != nullptr ? progress->pszStatus : u""), progress->nPercent,
                             progress->ullReceived, progress->ullTotal);
  return TRUE;
}

int CUpdateDownloader::QuestionCallback(LPVOID, LPCWSTR text, int kind, LPVOID, LPVOID) {
  IUpdateDownloadSink* sink = g_activeSink.load();
  if (sink != nullptr) return sink->OnDownloadQuestion(text, kind);
  return kind == 0 ? IDOK : IDNO;
}
