// The shared library's self-update check and database update.
#include "GlobalUpdate.h"

#include <afxcoll.h>
#include <iphlpapi.h>
#include <lm.h>
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "AppVersion.h"
#include "DigestsSha1.h"
#include "Downloader.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PathHelpers.h"
#include "WinInetBinding.h"

namespace {

constexpr LPCTSTR kUpdateQueryAddress = _T("http://update.zephrin-tunevo.example/qvxupdates/update.aspx");
constexpr LPCTSTR kDatabaseInfoAddress =
    _T("http://update.zephrin-tunevo.example/quarnelupdates/CompleteDatabase/getdatabase.asp");
constexpr LPCTSTR kDefaultCheckAddress =
    _T("http://update.zephrin-tunevo.example/updatekx/c4u.cgi?productname=kx&currentapplicationid=3.1.648.8773")
    _T("&currentdbversionid=0&machineid=0A1B2C3D4E5F");
constexpr LPCTSTR kArchiveFile = _T("Completedatabase.zip");
constexpr LPCTSTR kNoMachineId = _T("111111111111");
constexpr DWORD kIniBufferCharacters = 4096;
constexpr DWORD kAdapterBufferBytes = 10368;

CString HexAddress(const BYTE* bytes) {
  CString text;
  text.Format(_T("%02X%02X%02X%02X%02X%02X"), bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]);
  return text;
}

int HexDigit(WCHAR ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// Six bytes from twelve leading hex digits of a transport address.
bool ParseHexAddress(const CString& text, BYTE (&bytes)[6]) {
  if (text.GetLength() < 12) return false;
  for (int pair = 0; pair < 6; ++pair) {
    const int high = HexDigit(text[pair * 2]);
    const int low = HexDigit(text[pair * 2 + 1]);
    if (high < 0 || low < 0) return false;
    bytes[pair] = static_cast<BYTE>(high * 16 + low);
  }
  return true;
}

// The leading decimal digits of a text, as the run-time library's conversion reads them.
int LeadingNumber(const CString& text) {
  long long value = 0;
  for (int index = 0; index < text.GetLength() && text[index] >= '0' && text[index] <= '9'; ++index)
    value = std::min<long long>(value * 10 + (text[index] - '0'), INT32_MAX);
  return static_cast<int>(value);
}

// Fetches one address into a file with the download manager; "hidden" as given.
BOOL DownloadOne(LPCTSTR address, LPCTSTR target, LPCTSTR hidden) {
  ClearDownloadFiles();
  ResetDownloadOptions();
  ParseDownloadOptions(_T("hidden"), hidden);
  const BOOL fetched = AddDownloadFile(address, target) && RunDownloadDialog();
  ClearDownloadFiles();
  return fetched;
}

LONGLONG FileLength(LPCTSTR path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

CString ProgramFolderPath(LPCTSTR name) {
  CString path;
  GetProgramFolder(path);
  AppendPathComponent(path, name);
  return path;
}

}  // namespace

CString CUpdateIniReader::ReadValue(LPCTSTR section, LPCTSTR key) const {
  std::vector<WCHAR> buffer(kIniBufferCharacters, 0);
  GetPrivateProfileStringW(section, key, _T(""), buffer.data(), kIniBufferCharacters, m_strFile);
  CString value = buffer.data();
  value.Replace(_T("\\n"), _T("\n"));
  value.Replace(_T("\\t"), _T("\t"));
  value.Replace(_T("\\r"), _T("\r"));
  value.Replace(_T("\\\\"), _T("\\"));
  return value;
}

int CompareVersionTexts(LPCTSTR remote, LPCTSTR local) {
  CStringArray parts[2];
  const LPCTSTR texts[2] = {remote, local};
  for (int side = 0; side < 2; ++side) {
    const CString text = texts[side] ? texts[side] : _T("");
    int start = 0;
    for (int part = 0; part < 4; ++part) {
      const int dot = text.Find(_T('.'), start);
      parts[side].Add(start < 0 ? CString() : dot < 0 ? text.Mid(start) : text.Mid(start, dot - start));
      start = dot < 0 ? -1 : dot + 1;
    }
  }
  for (int part = 0; part < 4; ++part) {
    const int a = LeadingNumber(parts[0][part]);
    const int b = LeadingNumber(parts[1][part]);
    if (a != b) return a > b ? 1 : -1;
  }
  return 0;
}

IMPLEMENT_DYNAMIC(CGlobalUpdate, CObject)

BOOL CGlobalUpdate::IsConnected() { return IsInternetConnected(); }

CString CGlobalUpdate::GetModulePathText(BOOL fullPath) {
  std::vector<WCHAR> buffer(2048, 0);
  GetModuleFileNameW(nullptr, buffer.data(), 2048);
  CString path = buffer.data();
  if (!fullPath) path = path.Left(path.ReverseFind(_T('\\')) + 1);
  return path;
}

void CGlobalUpdate::GetMacAddressId(CString& id) {
  id.Empty();
  std::vector<BYTE> buffer(kAdapterBufferBytes);
  ULONG size = kAdapterBufferBytes;
  if (GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size) == ERROR_SUCCESS) {
    for (auto* adapter = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()); adapter && id.IsEmpty();
         adapter = adapter->Next)
      if (adapter->AddressLength >= 6) id = HexAddress(adapter->Address);
  }
  if (id.IsEmpty()) {
    LPBYTE transports = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    if (NetWkstaTransportEnum(nullptr, 0, &transports, MAX_PREFERRED_LENGTH, &read, &total, &resume) == NERR_Success) {
      const auto* info = reinterpret_cast<const WKSTA_TRANSPORT_INFO_0*>(transports);
      for (DWORD index = 0; index < read && id.IsEmpty(); ++index) {
        const CString address = info[index].wkti0_transport_address;
        BYTE bytes[6] = {};
        if (!ParseHexAddress(address, bytes)) continue;
        const CString text = HexAddress(bytes);
        if (index == 0 && text.CompareNoCase(_T("000000000000")) == 0) continue;
        id = text;
      }
    }
    if (transports) NetApiBufferFree(transports);
  }
  if (id.IsEmpty()) {
    UUID uuid{};
    const RPC_STATUS status = UuidCreateSequential(&uuid);
    if (status == RPC_S_OK || status == RPC_S_UUID_LOCAL_ONLY) id = HexAddress(uuid.Data4 + 2);
  }
  if (id.IsEmpty()) id = kNoMachineId;
}

int CGlobalUpdate::BuildUpdateQuery(CString& address) {
  CString machineId;
  GetMacAddressId(machineId);
  CString version;
  GetAppVer(version);
  address.Format(_T("%s?productname=qvx&currentapplicationid=%s&currentdbversionid=1&machineid=%s"),
                 kUpdateQueryAddress, static_cast<LPCTSTR>(version), static_cast<LPCTSTR>(machineId));
  return address.GetLength();
}

BOOL CGlobalUpdate::CheckForUpdate() {
  if (!IsConnected()) return FALSE;
  CString query;
  BuildUpdateQuery(query);
  CString target;
  if (!GetUserDataFolder(target)) return FALSE;
  AppendPathComponent(target, _T("LatestVersion.ini"));
  DeleteFileW(target);
  if (!DownloadOne(query, target, _T("1")) || FileLength(target) <= 0) return FALSE;
  CUpdateIniReader reader;
  reader.SetFile(target);
  const CString remote = reader.ReadValue(_T("Application"), _T("PROGRAM_VERSION"));
  if (remote.IsEmpty()) return FALSE;
  CString local;
  GetAppVer(local);
  return CompareVersionTexts(remote, local) > 0;
}

BOOL CGlobalUpdate::ReadDatabaseInfo(CString& archiveAddress, CString& digest) {
  const CString description = ProgramFolderPath(_T("dbUpdate.ini"));
  DeleteFileW(description);
  if (!IsConnected() || !DownloadOne(kDatabaseInfoAddress, description, _T("1")) || FileLength(description) < 0)
    return FALSE;
  CUpdateIniReader reader;
  reader.SetFile(description);
  digest = reader.ReadValue(_T("BrovikUpdates"), _T("SHA"));
  digest.MakeLower().Trim();
  // The address keeps its letters: a server's paths may tell case apart.
  archiveAddress = reader.ReadValue(_T("BrovikUpdates"), _T("DOWNLOADURL"));
  archiveAddress.Trim();
  return TRUE;
}

BOOL CGlobalUpdate::CheckDatabaseInfo(CString& archiveAddress) {
  CString digest;
  if (!ReadDatabaseInfo(archiveAddress, digest)) return FALSE;
  const CString archive = GetDatabaseArchivePath();
  return PathExists(archive) == 1 && VerifyArchiveDigest(archive, digest);
}

BOOL CGlobalUpdate::DownloadDatabaseUpdate() {
  CString address, digest;
  if (!ReadDatabaseInfo(address, digest)) return FALSE;
  const CString archive = GetDatabaseArchivePath();
  if (PathExists(archive) == 1 && VerifyArchiveDigest(archive, digest)) return TRUE;
  CString temporary = GetDatabaseStagingFolder();
  AppendPathComponent(temporary, kArchiveFile);
  DeleteFileW(temporary);
  if (address.IsEmpty() || digest.IsEmpty() || !IsConnected()) return FALSE;
  if (!DownloadOne(address, temporary, _T("0")) || PathExists(temporary) != 1) {
    DeleteFileW(temporary);
    return FALSE;
  }
  // Only a checked archive takes the place of the one in use, in one rename.
  if (!VerifyArchiveDigest(temporary, digest) || !MoveFileExW(temporary, archive, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary);
    return FALSE;
  }
  return TRUE;
}

BOOL CGlobalUpdate::VerifyArchiveDigest(LPCTSTR path, LPCTSTR expectedDigest) {
  const CString digest = CCalcSHA1::GetFileSha1Hash(path);
  return !digest.IsEmpty() && digest.CompareNoCase(expectedDigest) == 0;
}

CString GetDatabaseArchivePath() { return ProgramFolderPath(kArchiveFile); }

CString GetDatabaseStagingFolder() {
  const CString folder = ProgramFolderPath(_T("DBUpdates"));
  CreateDirectoryTree(folder);
  return folder;
}

BOOL CheckForProductUpdate() {
  CGlobalUpdate update;
  return update.CheckForUpdate();
}

BOOL UpdateDatabase(LPVOID) {
  CGlobalUpdate update;
  return update.DownloadDatabaseUpdate();
}

void GetCheckUpdateUrl(CString& applicationAddress, CString& databaseAddress) {
  applicationAddress = GetLangString(_T("IDS_CHECK_UPDATE_URL_APP"), _T("QVX"));
  databaseAddress = GetLangString(_T("IDS_CHECK_UPDATE_URL_DB"), _T("QVX"));
  applicationAddress.Trim();
  databaseAddress.Trim();
  if (applicationAddress.IsEmpty()) applicationAddress = kDefaultCheckAddress;
}
