// Reading the update checker's answer files and judging what they offer.
#include "DownloadInfo.h"

#include <fileapi.h>
#include <handleapi.h>
#include <wstdlib.h>

#include <algorithm>

#include "GlobalUpdate.h"  // CUpdateIniReader

namespace {

constexpr LPCTSTR kAppSection = _T("Application");
constexpr LPCTSTR kDbSection = _T("BrovikUpdates");
constexpr LPCTSTR kCompleteDatabaseName = _T("CompleteDatabase.zip");
constexpr LONGLONG kShortAnswerBytes = 2;
constexpr int kLargeTransferBytes = 1048576;

// The file's length, or -1 when it cannot be opened for reading.
LONGLONG AnswerLength(LPCTSTR file) {
  const HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size{};
  const BOOL known = GetFileSizeEx(handle, &size);
  CloseHandle(handle);
  return known ? size.QuadPart : -1;
}

CString ReadTrimmed(const CUpdateIniReader& reader, LPCTSTR section, LPCTSTR key) {
  CString value = reader.ReadValue(section, key);
  return value.Trim();
}

}  // namespace

void CDownloadInfo::Clear() {
  ClearProgram();
  ClearDatabase();
}

void CDownloadInfo::ClearProgram() {
  m_strProgramVersion.Empty();
  m_strProgramUrl.Empty();
  m_strProgramSize.Empty();
  m_nOpenBrowser = 0;
  m_strDescription.Empty();
  m_strSetupFileName.Empty();
  m_strHash.Empty();
  m_bNewer = FALSE;
}

void CDownloadInfo::ClearDatabase() {
  m_arrDbUpdates.RemoveAll();
  m_nDbCount = 0;
  m_llDbTotalSize = 0;
  m_bDbAvailable = FALSE;
}

BOOL IsNewerVersion(LPCTSTR installedVersion, LPCTSTR remoteVersion) {
  // Every part of the offered version counts, however many it has; installed parts beyond
  // them are not looked at.
  const CString installed = installedVersion ? installedVersion : _T("");
  const CString remote = remoteVersion ? remoteVersion : _T("");
  int installedAt = 0;
  for (int remoteAt = 0; remoteAt >= 0;) {
    const int remoteDot = remote.Find(_T('.'), remoteAt);
    const int remotePart = _wtoi(remoteDot < 0 ? remote.Mid(remoteAt) : remote.Mid(remoteAt, remoteDot - remoteAt));
    int installedPart = 0;
    if (installedAt >= 0) {
      const int installedDot = installed.Find(_T('.'), installedAt);
      installedPart = _wtoi(installedDot < 0 ? installed.Mid(installedAt)
                                             : installed.Mid(installedAt, installedDot - installedAt));
      installedAt = installedDot < 0 ? -1 : installedDot + 1;
    }
    if (installedPart != remotePart) return installedPart < remotePart ? TRUE : FALSE;
    remoteAt = remoteDot < 0 ? -1 : remoteDot + 1;
  }
  return FALSE;
}

CString SetupFileNameOf(LPCTSTR key, LPCTSTR programUrl) {
  CString name = key ? key : _T("");
  name.Trim();
  if (name.IsEmpty()) {
    const CString url = programUrl ? programUrl : _T("");
    name = url.Mid(url.ReverseFind(_T('/')) + 1);
  }
  // Only the last component: a key such as "..\\..\\x.exe" or "C:\\folder\\x.exe" cannot
  // leave the update folder.
  const int cut = std::max(name.ReverseFind(_T('\\')), name.ReverseFind(_T('/')));
  name = name.Mid(cut + 1).Trim();
  if (name.IsEmpty() || name == _T(".") || name == _T("..")) return CString();
  for (int index = 0; index < name.GetLength(); ++index)
    if (name[index] < 32 || CString(_T("<>:\"|?*")).Find(name[index]) >= 0) return CString();
  return name;
}

int TransferModeForSize(LPCTSTR sizeText) { return _wtoi(sizeText) > kLargeTransferBytes ? 2 : 1; }

int ReadAppUpdateInfo(LPCTSTR file, LPCTSTR installedVersion, BOOL programOnly, CDownloadInfo& info) {
  info.ClearProgram();
  const LONGLONG length = AnswerLength(file);
  if (length < 0) return -1;
  if (length <= kShortAnswerBytes) return 0;
  CUpdateIniReader reader;
  reader.SetFile(file);
  info.m_strProgramVersion = ReadTrimmed(reader, kAppSection, _T("PROGRAM_VERSION"));
  info.m_strProgramUrl = ReadTrimmed(reader, kAppSection, _T("PROGRAM_URL"));
  info.m_strProgramSize = ReadTrimmed(reader, kAppSection, _T("PROGRAM_SIZE"));
  info.m_nOpenBrowser = _wtoi(ReadTrimmed(reader, kAppSection, _T("Open_Browser")));
  info.m_strDescription = ReadTrimmed(reader, kAppSection, _T("Description"));
  info.m_strSetupFileName = SetupFileNameOf(ReadTrimmed(reader, kAppSection, _T("key")), info.m_strProgramUrl);
  info.m_strHash = ReadTrimmed(reader, kAppSection, _T("Hash"));
  info.m_bNewer = IsNewerVersion(installedVersion, info.m_strProgramVersion);
  return info.m_bNewer || programOnly ? 1 : 0;
}

int ReadDbUpdateInfo(LPCTSTR file, CDownloadInfo& info) {
  info.ClearDatabase();
  if (AnswerLength(file) <= kShortAnswerBytes) return 0;
  CUpdateIniReader reader;
  reader.SetFile(file);
  tagDBUpdateInfo record;
  record.strFileName = kCompleteDatabaseName;
  record.strUrl = ReadTrimmed(reader, kDbSection, _T("DOWNLOADURL")).MakeLower();
  record.strHash = ReadTrimmed(reader, kDbSection, _T("SHA")).MakeLower();
  record.bFlag = 1;
  info.m_arrDbUpdates.Add(record);
  info.m_llDbTotalSize += _wtoi(record.strSize);
  info.m_nDbCount = 1;
  info.m_bDbAvailable = TRUE;
  return 1;
}
