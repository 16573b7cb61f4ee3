// The update engine's scan service, its excluded hardware ids, the whole update lookup of a
// scan, the MD5 texts of files and buffers, and the restart of Windows.
#include "ScanServices.h"

#include <utility>

#include <windows.h>

#include "DigestsMd5.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ExchangeEncoding.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"
#include "UpdateServiceHelper.h"

namespace {

constexpr UINT kOperationStartMessage = 1026;
constexpr int kStepNoConnection = 38;
// The exit code of the message loop when a pending install keeps Windows from restarting.
constexpr int kPendingInstallExitCode = 18;

}  // namespace

CString GetFileMd5IfExists(const CString& path) {
  if (path.IsEmpty() || PathExists(path) != 1) return CString();
  return CMD5Checksum::DigestHex(path);
}

CString Md5HexOfBuffer(const BYTE* bytes, UINT length) {
  if (bytes == nullptr || length == 0) return CString();
  return CMD5Checksum::DigestHex(bytes, length);
}

void RestartComputer() {
  WCHAR windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  CString pending = windows;
  AppendPathComponent(pending, _T("winsxs\\pending.xml"));
  if (length > 0 && length < MAX_PATH && GetOSMajorVersion() > 5 && PathExists(pending) == 1) {
    PostQuitMessage(kPendingInstallExitCode);
    return;
  }
  CDriverInstallEngine::RebootSystem();
}

void CDriverScanUpdate::SetScannedDevices(std::unique_ptr<CDeviceRecordArray> devices, int count) {
  m_pDevices = std::move(devices);
  const int size = m_pDevices ? static_cast<int>(m_pDevices->GetSize()) : 0;
  m_nDeviceCount = std::max(0, std::min(count, size));
  m_answerDriverIds.clear();
  m_answerMap.clear();
  m_updatedDevices.clear();
  m_arrResultKeys.RemoveAll();
  m_nUpdatesFound = 0;
  if (tagDeviceDriverInfo* first = m_pDevices ? m_pDevices->GetAt(0) : nullptr)
    first->pLinked = std::make_unique<CDeviceRecordArray>(std::max(m_nDeviceCount, kUpdateBlockSize));
}

bool CDriverScanUpdate::SetKeyMarked(const CString& hardwareId, BOOL flag) {
  try {
    CString value;
    const bool present = m_mapExcludedIds.Lookup(hardwareId, value) != FALSE;
    if (flag && !present) m_mapExcludedIds.SetAt(hardwareId, CString());
    if (!flag && present) m_mapExcludedIds.RemoveKey(hardwareId);
    return true;
  } catch (...) {
    return false;
  }
}

void CDriverScanUpdate::SetScanWindows(HWND progressWindow, HWND statusText, TextLookup lookup) {
  m_hProgressWindow = progressWindow;
  m_hStatusText = statusText;
  m_textLookup = std::move(lookup);
}

void CDriverScanUpdate::StopOperation(BOOL flag) {
  if (GetProcessEngine().WaitForStep(flag ? kStepStopScan : kStepStopBackup)) {
    if (flag)
      m_bScanDone = TRUE;
    else
      m_bFinished = m_bAborted = TRUE;
    return;
  }
  m_bFinished = m_bAborted = FALSE;
}

int CDriverScanUpdate::ReportScanEnd(LPCTSTR scanPath) {
  int result = -1;
  try {
    m_nUpdatesFound = 0;
    m_bScanDone = FALSE;
    m_bConnectionProblem = FALSE;
    if (m_hProgressWindow != nullptr) PostMessageW(m_hProgressWindow, kOperationStartMessage, 0, 0);
    SetScannedDevices(std::make_unique<CDeviceRecordArray>(CDeviceRecordArray::kInitialCapacity), 0);
    // The main window's list starts empty for each scan.
    CEngineProgressView* view = GetEngineProgressView();
    if (view != nullptr) {
      view->nEngineMode = kModeScan;
      view->nScanIndex = 0;
      view->nDisplayCounter = 0;
      view->deviceList.RemoveAll();
      view->displayToRecord.RemoveAll();
    }
    const LPCTSTR path = scanPath != nullptr ? scanPath : _T("");
    result = m_deviceScan ? m_deviceScan(path) : GetProcessEngine().RunDeviceScan(path);

    // The records the scan reported, taken from the main window's list.
    if (view != nullptr && view->nScanIndex > 0) {
      const int count = view->nScanIndex;
      auto devices = std::make_unique<CDeviceRecordArray>(std::max<INT_PTR>(count, CDeviceRecordArray::kInitialCapacity));
      for (int i = 0; i < count; ++i)
        if (const tagDeviceDriverInfo* record = view->deviceList.GetAt(i)) devices->GetAt(i)->CopyFrom(*record);
      SetScannedDevices(std::move(devices), count);
    }

    LPCTSTR textId = nullptr;
    if (result == kStepCompleted || result == kStepStopScan) {
      m_bScanDone = TRUE;
      textId = result == kStepCompleted ? _T("IDS_SCAN_COMPLETED") : _T("IDS_SCAN_ABORTED");
    } else if (result == kStepNoConnection) {
      m_bConnectionProblem = TRUE;
      textId = _T("IDS_PRB_INTERNET_CONN");
    }
    if (textId != nullptr && m_hStatusText != nullptr && IsWindow(m_hStatusText))
      SetWindowTextW(m_hStatusText, m_textLookup ? m_textLookup(textId) : CString(textId));
  } catch (...) {
  }
  return result;
}

int CDriverScanUpdate::LookUpUpdates(CUpdateServiceHelper& helper) {
  CMarkup document;
  BuildScanRequestXml(m_pDevices.get(), m_nDeviceCount, document);
  CString request = document.GetDocumentText();
  if (IsRequestEnciphered()) {
    CString encoded;
    EncipherTextToHex(request, encoded);
    request = std::move(encoded);
  }
  BSTR answer = nullptr;
  const BOOL answered = helper.GetUpdateData(request, &answer);
  request.Empty();
  // The answer is deciphered in the service's own string, which goes as it is read.
  CString text;
  const BOOL decoded = answered && getOutputStrFromHex(std::u16string_view(answer, SysStringLen(answer)), text);
  SysFreeString(answer);
  if (!answered) return kStepNoConnection;
  if (!decoded) {
    ParseUpdateResults(document, CString());
    return kStepFailed;
  }
  ParseUpdateResults(document, std::move(text));
  return kStepCompleted;
}
