// The per-driver package fetch: the link request and answer, the reuse of a package already
// downloaded, the transfer into a partial file and its MD5 check.
#include "DriverPackageFetch.h"

#include <windows.h>

#include <algorithm>

#include "DownloaderLibrary.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "ExchangeEncoding.h"
#include "FileHistory.h"
#include "HalvoranApp.h"
#include "LabelledText.h"
#include "IniReader.h"
#include "MachineId.h"
#include "Markup.h"
#include "PathHelpers.h"
#include "ScanServices.h"
#include "UpdateAnswer.h"
#include "UpdateServiceHelper.h"

namespace {

// The language text of an id; the id itself when the language has none.
CString Text(LPCTSTR id) {
  const CString text = GetLangString(id, _T("QVX"));
  return text.IsEmpty() ? CString(id) : text;
}

bool IsLetterOrDigit(WCHAR c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

CString WithoutBlanks(CString text) {
  text.Remove(_T(' '));
  return text;
}

}  // namespace

CString PackageExtensionOf(const CString& address) {
  CString path = address;
  const int end = path.FindOneOf(_T("?#"));
  if (end >= 0) path = path.Left(end);
  const int slash = std::max(path.ReverseFind(_T('/')), path.ReverseFind(_T('\\')));
  const CString segment = path.Mid(slash + 1);
  const int dot = segment.ReverseFind(_T('.'));
  if (dot < 0) return CString();
  const CString extension = segment.Mid(dot + 1);
  if (extension.IsEmpty() || extension.GetLength() > 8) return CString();
  for (int i = 0; i < extension.GetLength(); ++i)
    if (!IsLetterOrDigit(extension[i])) return CString();
  return CString(_T(".")) + extension;
}

CString PackageFileBaseName(const CString& driverKey) {
  CString name = driverKey;
  for (int i = 0; i < name.GetLength(); ++i) {
    const WCHAR c = name[i];
    if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
        c == u'>' || c == u'|')
      name.SetAt(i, u'_');
  }
  return name;
}

CDriverPackageFetch::CDriverPackageFetch(CDriverScanUpdate& engine, CUpdateServiceHelper& helper,
                                         CDownloaderLibrary* library)
    : m_engine(engine), m_helper(helper), m_library(library) {}

void CDriverPackageFetch::RequestStop() {
  m_stop.store(true);
  if (m_library != nullptr) m_library->Stop();
}

void CDriverPackageFetch::SetWorkFolders(const CString& first, const CString& second) {
  m_workFolders[0] = first;
  m_workFolders[1] = second;
}

void CDriverPackageFetch::CreateWorkFolders() const {
  for (const CString& folder : {m_downloadFolder, m_workFolders[0], m_workFolders[1]})
    if (!folder.IsEmpty()) CreateDirectoryTree(folder);
}

bool CDriverPackageFetch::SaveFileList() {
  if (m_fileListPath.IsEmpty()) return false;
  return SaveHistoryFile(m_fileListPath, m_packages);
}

void CDriverPackageFetch::Status(LPCTSTR textId, const CString& name) {
  if (!m_statusLine) return;
  m_statusLine(LabelledText(Text(textId), name));
}

bool CDriverPackageFetch::BuildLinkRequestXml(const CString& hardwareId, const CString& osId, CString& document) {
  try {
    const CString prefix = WithoutBlanks(CString(_T("Zephrin")) + _T("ZephrinKX") + GetAppName());
    // The machine identifier also fills the stored user hash when it was not worked out yet.
    const CString machineId = GetMachineId();
    const CString userHash = CHalvoranApp::m_sUSER_HASH;
    CMarkup markup;
    markup.AppendElement(_T("newdataset"));
    markup.EnterElement();
    const auto group = [&markup](LPCTSTR name, std::initializer_list<std::pair<LPCTSTR, CString>> children) {
      markup.AppendElement(name);
      markup.EnterElement();
      for (const auto& [child, value] : children) markup.AppendElement(child, value);
      markup.LeaveElement();
    };
    group(_T("device"), {{_T("hardwareid"), hardwareId}, {_T("osid"), osId}});
    group(_T("key"), {{_T("machineid"), machineId}});
    group(_T("saveXmlFileName"), {{_T("file_name_initials"), WithoutBlanks(prefix + _T("DownloadXml-dt"))}});
    group(_T("dbref"), {{_T("dbinitials"), prefix}});
    group(_T("user_hash"), {{_T("user_hash_data"), userHash}});
    document = markup.GetDocumentText();
    return true;
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return false;
}

bool CDriverPackageFetch::ParseLinkAnswerXml(CString& answer, BOOL enciphered, CString& address, CString& checksum) {
  if (enciphered && !getOutputStrFromHex(answer)) {
    answer.Empty();
    return false;
  }
  CMarkup document;
  document.SetDocumentText(answer);
  // Every element in document order.
  bool walking = document.NextElement();
  while (walking) {
    const CString name = document.GetElementName();
    CString value = document.GetElementText();
    value.Trim();
    if (name.CompareNoCase(_T("url")) == 0) address = value;
    if (name.CompareNoCase(_T("hashstring")) == 0 && !value.IsEmpty()) checksum = value;
    document.EnterElement();
    if (document.NextElement()) continue;
    document.LeaveElement();
    while (!document.NextElement()) {
      if (!document.LeaveElement()) {
        walking = false;
        break;
      }
    }
  }
  answer.Empty();
  return true;
}

int CDriverPackageFetch::DownloadThroughLibrary(const CString& address, const CString& file, bool deleteFirst) {
  if (deleteFirst) DeleteFileW(file);
  if (m_library == nullptr || !m_library->IsLoaded()) return 0;
  m_library->Reset();
  CString partial = file;
  if (!PreparePartialTarget(address, partial, m_checksum, 0)) {
    m_library->CloseEvent();
    return 0;
  }
  const int result = m_library->Download(address, partial, m_checksum, 1, 0);
  Sleep(10);
  if (m_stop.load()) {
    m_library->CloseEvent();
    return 0;
  }
  bool kept = false;
  if (result != 0) kept = MoveFileExW(partial, file, MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!kept) DeleteFileW(partial);
  m_library->CloseEvent();
  Sleep(100);
  return kept ? result : 0;
}

bool CDriverPackageFetch::DownloadAndVerify(const CString& file, const CString& address) {
  if (file.IsEmpty() || address.IsEmpty()) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int result = DownloadThroughLibrary(address, file, attempt > 0);
    if (m_stop.load()) return result != 0;
    m_itemPercent = 0;
    if (GetFileMd5IfExists(file).CompareNoCase(m_checksum) == 0 && !m_checksum.IsEmpty()) {
      m_itemPercent = 100;
      return true;
    }
  }
  DeleteFileW(file);
  m_itemPercent = 100;
  return false;
}

CString CDriverPackageFetch::DriverKeyOf(int driverIndex) const {
  const tagDeviceDriverInfo* update = m_engine.GetUpdateRecord(driverIndex);
  if (update == nullptr) return CString();
  CString key = update->szText[kSlotHardwareId].Text();
  StripFileNameChars(key);
  key.MakeLower();
  return key;
}

bool CDriverPackageFetch::HasPackageFor(int driverIndex) const {
  const CString key = DriverKeyOf(driverIndex);
  CString package;
  return !key.IsEmpty() && m_packages.Lookup(key, package);
}

int CDriverPackageFetch::FetchAndDownloadDriver(int driverIndex, int row) {
  m_address.Empty();
  m_checksum.Empty();
  m_downloadedOk = false;
  CreateWorkFolders();
  const tagDeviceDriverInfo* update = m_engine.GetUpdateRecord(driverIndex);
  const tagDeviceDriverInfo* device = m_engine.GetDevices() != nullptr ? m_engine.GetDevices()->GetAt(driverIndex) : nullptr;
  if (update == nullptr || update->szText[kSlotUpdate14].IsNull()) return kHandled;
  const CString name = device != nullptr ? device->szText[kSlotDeviceName].Text() : _T("");
  if (m_stop.load()) return kStopped;

  CString request;
  if (!BuildLinkRequestXml(update->szText[kSlotUpdate14].Text(), m_osId, request)) return kUnusable;
  // The link operation is always told that its request comes enciphered.
  CString enciphered;
  if (!EncipherTextToHex(request, enciphered)) return kUnusable;
  CString answer;
  if (!m_helper.GetLink(enciphered, answer)) {
    if (m_stop.load()) return kStopped;
    Status(_T("IDS_CHKINTERNET_SETTFIREWALL"), name);
    m_lastError = kErrorNoAnswer;
    return kNoAnswer;
  }
  CString address, checksum;
  if (!ParseLinkAnswerXml(answer, m_answerEnciphered, address, checksum)) return kUnusable;
  if (checksum.IsEmpty()) return kStopped;
  // Without an address or a file type nothing can be fetched or installed.
  const CString extension = PackageExtensionOf(address);
  if (address.IsEmpty() || extension.IsEmpty()) return kUnusable;
  m_address = address;
  m_checksum = checksum;
  if (m_stop.load()) return kStopped;

  const CString key = DriverKeyOf(driverIndex);
  if (key.IsEmpty() || m_downloadFolder.IsEmpty()) return kUnusable;
  CString file = m_downloadFolder;
  AppendPathComponent(file, PackageFileBaseName(key) + extension);

  CString known;
  if (m_packages.Lookup(key, known)) {
    if (PathExists(known) == 1 && GetFileMd5IfExists(known).CompareNoCase(m_checksum) == 0) {
      m_downloadedOk = true;
      Status(_T("IDS_DOWN_COMP_DRIVER"), name);
      return kHandled;
    }
    m_packages.RemoveKey(key);
    m_runFiles.RemoveKey(address);
    SaveFileList();
  }

  Status(_T("IDS_START_DOWNLOADING"), name);
  m_lastError = 0;
  bool fetched = false;
  bool newlyDownloaded = false;
  CString runFile;
  if (m_runFiles.Lookup(address, runFile)) {
    fetched = PathExists(runFile) == 1 && GetFileMd5IfExists(runFile).CompareNoCase(m_checksum) == 0;
    if (fetched) file = runFile;
    else m_runFiles.RemoveKey(address);
  }
  if (!fetched) {
    fetched = DownloadAndVerify(file, address);
    newlyDownloaded = fetched;
  }

  if (fetched) {
    ++m_downloadCount;
    m_itemPercent = 100;
    m_downloadedOk = true;
    if (m_progress) m_progress(100);
    Status(_T("IDS_DOWN_COMP_DRIVER"), name);
    if (newlyDownloaded) m_runFiles.SetAt(address, file);
    m_packages.SetAt(key, file);
    if (!m_ownRowState) {
      m_engine.SetResultRowState(row, 1, 0);
    } else if (m_rowState) {
      m_rowState(row, 1);
    }
    SaveFileList();
    return kHandled;
  }
  if (m_stop.load()) {
    if (!m_progressNotify && m_messageBox) m_messageBox(Text(_T("IDS_DOWN_STOPEED")), MB_ICONINFORMATION);
    Status(_T("IDS_DOWN_STOPEED2"), name);
    DeleteFileW(file);
    return kStopped;
  }
  DeleteFileW(file);
  if (m_connection) {
    Status(m_lastError == kErrorCannotSave ? _T("IDS_UNABLE_SAVE_DOWNFILE") : _T("IDS_DOWNABORT_DUEINTERNET"), name);
  } else {
    Status(_T("IDS_DOWNABORT_UNABLESAVE"), name);
    Status(_T("IDS_SELCLOC_SAVEDRIVER"), CString());
  }
  return kHandled;
}
