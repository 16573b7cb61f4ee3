// CDownloaderLibrary: loading the download library, one transfer through its entry point 1
// with the callbacks it calls back into, stopping a transfer, the partial-file naming and the
// size texts of the progress line.
#include "DownloaderLibrary.h"

#include <winuser.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "CheckedFormat.h"
#include "GlobalConstants.h"
#include "IniReader.h"

namespace {

// Process-wide state of the binding: one transfer runs at a time in the process.
std::atomic<bool> g_loaded{false};
std::atomic<bool> g_running{false};
std::atomic<bool> g_finished{true};
std::atomic<DownloadStatusSink> g_sink{nullptr};
std::atomic<DownloadBytesSink> g_bytesSink{nullptr};
std::mutex g_transferLock;
std::mutex g_stopLock;
// The binding whose transfer runs (its abort flag silences the progress line).
std::atomic<const CDownloaderLibrary*> g_active{nullptr};

CString Text(LPCTSTR id) { return GetLangString(id, _T("QVX")); }

// A copy of the text in a new terminated buffer, freed with delete[].
LPWSTR CopyToNewBuffer(LPCTSTR text) {
  const size_t length = text ? std::char_traits<WCHAR>::length(text) : 0;
  auto* buffer = new WCHAR[length + 1];
  for (size_t i = 0; i < length; ++i) buffer[i] = text[i];
  buffer[length] = 0;
  return buffer;
}

// The request block and the three buffers it points at, freed together.
struct RequestBlock {
  RequestBlock(LPCTSTR address, LPCTSTR target, LPCTSTR checksum, int flag, BYTE byteFlag)
      : block(new tagDownloadRequest[1]) {
    memset(block.get(), 0, sizeof(tagDownloadRequest));
    block[0].pszAddress = CopyToNewBuffer(address);
    block[0].pszTargetPath = CopyToNewBuffer(target);
    block[0].pszChecksum = CopyToNewBuffer(checksum);
    block[0].nFlag = flag;
    block[0].bFlag = byteFlag;
  }
  ~RequestBlock() {
    delete[] block[0].pszAddress;
    delete[] block[0].pszTargetPath;
    delete[] block[0].pszChecksum;
  }
  RequestBlock(const RequestBlock&) = delete;
  RequestBlock& operator=(const RequestBlock&) = delete;
  std::unique_ptr<tagDownloadRequest[]> block;
};

BOOL ProgressCallback(LPVOID /*context*/, const tagDownloadProgress* progress) {
  const DownloadStatusSink sink = g_sink.load();
  CString line;
  const CDownloaderLibrary* active = g_active.load();
  if (progress == nullptr || sink == nullptr || g_finished.load()) return TRUE;
  if (active == nullptr || active->IsAbortRequested()) return TRUE;
  if (!FormatDownloadProgressLine(*progress, line)) return TRUE;
  if (const DownloadBytesSink bytes = g_bytesSink.load()) bytes(progress->ullReceived, progress->ullTotal);
  sink(progress->nPercent, line);
  return TRUE;
}

BOOL NoticeCallback(LPVOID, LPVOID, LPVOID) { return TRUE; }
int MessageCallback(LPVOID, LPCWSTR, int code, LPVOID, LPVOID) { return code == 0 ? 1 : 7; }
int EndCallback(LPVOID, LPVOID) { return 1; }

}  // namespace

CDownloaderLibrary::~CDownloaderLibrary() {
  CloseEvent();
  if (m_hModule != nullptr) FreeLibrary(m_hModule);
}

bool CDownloaderLibrary::Load(LPCTSTR libraryName) {
  try {
    m_hModule = LoadLibraryW(libraryName);
    if (m_hModule != nullptr) {
      m_pfnDownload = reinterpret_cast<DownloaderDownloadFn>(GetProcAddress(m_hModule, MAKEINTRESOURCEA(1)));
      m_pfnAbort = reinterpret_cast<DownloaderAbortFn>(GetProcAddress(m_hModule, MAKEINTRESOURCEA(2)));
      m_pfnConnected = reinterpret_cast<DownloaderConnectedFn>(GetProcAddress(m_hModule, MAKEINTRESOURCEA(3)));
      if (m_pfnDownload == nullptr || m_pfnAbort == nullptr || m_pfnConnected == nullptr) {
        // A library without its entry points is of no use: as good as missing.
        FreeLibrary(m_hModule);
        m_hModule = nullptr;
        m_pfnDownload = nullptr;
        m_pfnAbort = nullptr;
        m_pfnConnected = nullptr;
      }
    }
  } catch (...) {
    m_hModule = nullptr;
  }
  g_loaded.store(m_hModule != nullptr);
  if (m_hModule == nullptr) {
    CString message;
    FormatChecked(message, Text(_T("IDS_DOWNLOAD_DLL_NOTFOUND")), {g_strProductName});
    MessageBoxW(nullptr, message, g_strProductName, MB_OK | MB_ICONERROR);
  }
  return m_hModule != nullptr;
}

BOOL CDownloaderLibrary::Reset() {
  CloseEvent();
  m_hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_nReserved = 0;
  if (m_hEvent != nullptr) ResetEvent(m_hEvent);
  return g_loaded.load() ? TRUE : FALSE;
}

void CDownloaderLibrary::CloseEvent() {
  if (m_hEvent != nullptr) CloseHandle(m_hEvent);
  m_hEvent = nullptr;
}

int CDownloaderLibrary::Download(LPCTSTR address, LPCTSTR targetPath, LPCTSTR checksum, int flag, BYTE byteFlag) {
  std::lock_guard<std::mutex> transfer(g_transferLock);
  if (m_hModule == nullptr) return 0;
  const auto filled = [](LPCTSTR text) { return text != nullptr && *text != 0; };
  if (!((filled(address) && filled(targetPath) && byteFlag == 0) || filled(checksum))) {
    g_running.store(false);
    return 0;
  }
  if (m_hEvent != nullptr) ResetEvent(m_hEvent);
  m_bAbort.store(false);
  g_finished.store(false);
  g_active.store(this);
  int result = 0;
  {
    RequestBlock request(address, targetPath, checksum, flag, byteFlag);
    g_running.store(true);
    try {
      result = m_pfnDownload(request.block.get(), 1, ProgressCallback, NoticeCallback, MessageCallback, EndCallback);
    } catch (...) {
      result = 0;
    }
    g_running.store(false);
  }
  if (m_hEvent != nullptr) SetEvent(m_hEvent);
  g_finished.store(true);
  g_active.store(nullptr);
  return result;
}

void CDownloaderLibrary::Stop() {
  if (m_hModule == nullptr) return;
  { std::lock_guard<std::mutex> stop(g_stopLock); }
  m_bAbort.store(true);
  if (!g_running.load()) return;
  const bool ended = m_hEvent != nullptr && WaitForSingleObject(m_hEvent, kStopGraceMs) == WAIT_OBJECT_0;
  if (!ended && g_running.load()) m_pfnAbort(0);
}

bool CDownloaderLibrary::IsAbortRequested() const { return m_bAbort.load(); }

void CDownloaderLibrary::SetStatusSink(DownloadStatusSink sink) { g_sink.store(sink); }
void CDownloaderLibrary::SetBytesSink(DownloadBytesSink sink) { g_bytesSink.store(sink); }

bool CDownloaderLibrary::IsTransferRunning() { return g_running.load(); }

BYTE PreparePartialTarget(LPCTSTR /*address*/, CString& targetPath, LPCTSTR /*checksum*/, BYTE keepExisting,
                          bool quietMode) {
  BYTE result = 1;
  if (GetFileAttributesW(targetPath) != INVALID_FILE_ATTRIBUTES) {
    if (keepExisting != 0) {
      result = 0;
    } else if (!DeleteFileW(targetPath) && GetLastError() != ERROR_FILE_NOT_FOUND && !quietMode) {
      return 0;
    }
  }
  targetPath += CDownloaderLibrary::kPartialSuffix;
  return result;
}

bool RenamePartialFile(CString& path, bool append, bool rename) {
  const CString oldPath = path;
  if (append) {
    path += CDownloaderLibrary::kPartialSuffix;
  } else {
    const int at = path.Find(CDownloaderLibrary::kPartialSuffix);
    if (at >= 0) path = path.Left(at);
  }
  if (!rename) return true;
  return MoveFileExW(oldPath, path, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

void FormatFileSize(double bytes, CString& text) {
  constexpr double kKiB = 1024.0, kMiB = 1048576.0, kGiB = 1073741824.0;
  if (bytes <= 0) {
    text.Empty();
  } else if (bytes > kGiB) {
    FormatChecked(text, Text(_T("IDS_FILESIE_GB")), {bytes / kGiB});
  } else if (bytes > kMiB) {
    FormatChecked(text, Text(_T("IDS_FILESIE_MB")), {bytes / kMiB});
  } else if (bytes > kKiB) {
    FormatChecked(text, Text(_T("IDS_FILESIE_KB")), {bytes / kKiB});
  } else {
    // A whole number of bytes, with its unit: not a bare number with six decimals.
    FormatChecked(text, Text(_T("IDS_BYTES")), {static_cast<long long>(bytes)});
  }
}

bool FormatDownloadProgressLine(const tagDownloadProgress& progress, CString& line) {
  if (progress.ullReceived == 0 || progress.ullTotal == 0) return false;
  CString received, total;
  FormatFileSize(static_cast<double>(progress.ullReceived), received);
  FormatFileSize(static_cast<double>(progress.ullTotal), total);
  if (received.IsEmpty()) received = _T("0 KB");
  FormatChecked(line, Text(_T("IDS_DOWLOADED_OF")), {received, total});
  return true;
}
