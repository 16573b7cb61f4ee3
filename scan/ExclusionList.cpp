// The record of installed updates: loading, walking, searching and saving "exc.xml". The file
// is UTF-8 text without a byte-order mark in both directions.
#include "ExclusionList.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Markup.h"
#include "PathHelpers.h"
#include "ProcessControl.h"

namespace {

constexpr LPCTSTR kRootTag = _T("newdataset");
constexpr LPCTSTR kDeviceTag = _T("device");

std::u16string Key(const CString& text) { return std::u16string(text.GetString(), text.GetLength()); }

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const CString& path, std::string& bytes) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char block[16384];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, block, sizeof block, &got, nullptr) != FALSE) && got != 0) {
    bytes.append(block, got);
  }
  CloseHandle(file);
  return ok;
}

CString FromUtf8(const std::string& bytes) {
  if (bytes.empty()) return CString();
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         nullptr, 0);
  std::vector<WCHAR> wide(static_cast<std::size_t>(length) + 1);
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return CString(wide.data(), length);
}

std::string ToUtf8(const CString& text) {
  if (text.IsEmpty()) return std::string();
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// Writes the bytes to `path` + ".tmp", flushes, and renames it over `path`.
bool WriteFileReplacing(const CString& path, const std::string& bytes) {
  const CString temporary = path + _T(".tmp");
  HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok || !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary);
    return false;
  }
  return true;
}

// Decimal digits at the start of the text, as unsigned 32-bit text is written.
int ParseCode(const CString& text) {
  std::uint32_t value = 0;
  for (int i = 0; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
  }
  return static_cast<int>(value);
}

}  // namespace

void ExclusionEntry::Reset() {
  for (CString& text : szText) text.Empty();
  nIndex = -1;
  pData = nullptr;
  nDeviceErrorCode = 0;
  nInstallErrorCode = 0;
}

CString NormalizeInfPath(const CString& infPath) {
  CString path = infPath;
  path.MakeLower();
  const int extract = path.Find(_T("extract"));
  if (extract < 0) return path;
  path = path.Mid(extract);
  const int slash = path.Find(_T('\\'));
  return slash >= 0 ? path.Mid(slash + 1) : path;
}

CExclusionList::CExclusionList(LPCTSTR dataFolder) : m_fileName(_T("exc.xml")), m_dataFolder(dataFolder) {
  Reload();
}

CString CExclusionList::GetFilePath() const {
  CString path = m_dataFolder.IsEmpty() ? GetAppDataFolder() : m_dataFolder;
  if (path.IsEmpty()) return CString();
  AppendPathComponent(path, m_fileName);
  return path;
}

bool CExclusionList::LoadFile(CString& text) {
  const CString path = GetFilePath();
  std::string bytes;
  if (path.IsEmpty() || !ReadWholeFile(path, bytes)) return false;
  std::string joined;
  joined.reserve(bytes.size());
  for (char ch : bytes) {
    if (ch != '\r' && ch != '\n') joined.push_back(ch);
  }
  CMarkup document;
  document.SetDocumentText(FromUtf8(joined));
  text = document.GetDocumentText();
  return true;
}

void CExclusionList::Reload() {
  m_entries.clear();
  m_parseEntry.Reset();
  CString text;
  if (!LoadFile(text) || text.Trim().IsEmpty()) return;
  if (Parse(text)) return;
  // Not a record this program wrote: keep it aside for whoever wants to look at it, and
  // start from an empty list so that the next save does not build on it.
  m_entries.clear();
  const CString path = GetFilePath();
  CString aside = path + _T(".damaged");
  for (int copy = 1; GetFileAttributesW(aside) != INVALID_FILE_ATTRIBUTES; ++copy) {
    aside.Format(_T("%s.damaged.%d"), path.GetString(), copy);
  }
  if (MoveFileExW(path, aside, 0)) m_damagedCopy = aside;
}

void CExclusionList::TakeLeaf(const CString& tag, const CString& data) {
  if (tag.CompareNoCase(_T("HardwareIdentifier")) == 0) {
    m_parseEntry.Reset();
    m_parseEntry.szText[ExclusionEntry::kHardwareId] = data;
  } else if (tag == _T("UpdateDeviceMatchingID")) {
    m_parseEntry.szText[ExclusionEntry::kMatchingId] = data;
  } else if (tag == _T("MD5")) {
    m_parseEntry.szText[ExclusionEntry::kMd5] = data;
  } else if (tag == _T("InfPath")) {
    m_parseEntry.szText[ExclusionEntry::kInfPath] = data;
  } else if (tag == _T("InstallErrorCode")) {
    m_parseEntry.nInstallErrorCode = ParseCode(data);
  } else if (tag == _T("DeviceErrorCode")) {
    m_parseEntry.nDeviceErrorCode = ParseCode(data);
  }
}

void CExclusionList::Commit() {
  const CString& key = m_parseEntry.szText[ExclusionEntry::kHardwareId];
  if (!key.IsEmpty()) m_entries.emplace(Key(key), m_parseEntry);  // the first one read wins
  m_parseEntry.Reset();
}

bool CExclusionList::Parse(const CString& text) {
  CMarkup document;
  if (!document.SetDocumentText(text)) return false;
  if (!document.NextElement() || document.GetElementName() != kRootTag) return false;
  // Depth-first walk without recursion: one flag per open level says whether that element
  // had children, so leaves are reported and elements with children commit the entry.
  std::vector<bool> hadChildren;
  document.EnterElement();
  hadChildren.push_back(false);
  m_parseEntry.Reset();
  for (;;) {
    if (document.NextElement()) {
      hadChildren.back() = true;
      document.EnterElement();
      hadChildren.push_back(false);
      continue;
    }
    const bool parentHadChildren = hadChildren.back();
    hadChildren.pop_back();
    document.LeaveElement();
    if (hadChildren.empty()) break;
    if (parentHadChildren) {
      Commit();
    } else {
      TakeLeaf(document.GetElementName(), document.GetElementText());
    }
  }
  return true;
}

bool CExclusionList::Contains(const ExclusionEntry& entry) const {
  const auto found = m_entries.find(Key(entry.szText[ExclusionEntry::kHardwareId]));
  if (found == m_entries.end()) return false;
  const ExclusionEntry& stored = found->second;
  return stored.nInstallErrorCode == 0 &&
         stored.szText[ExclusionEntry::kMd5].CompareNoCase(entry.szText[ExclusionEntry::kMd5]) == 0 &&
         stored.szText[ExclusionEntry::kInfPath].CompareNoCase(entry.szText[ExclusionEntry::kInfPath]) == 0;
}

bool CExclusionList::Add(const ExclusionEntry& added) {
  // The INF path is kept as the file holds it, normalised once here: normalising a path
  // read back from the file again could change it (a package folder named "extract" inside
  // the extraction folder), and the record would no longer read back to itself.
  ExclusionEntry entry = added;
  entry.szText[ExclusionEntry::kInfPath] = NormalizeInfPath(added.szText[ExclusionEntry::kInfPath]);
  const std::u16string key = Key(entry.szText[ExclusionEntry::kHardwareId]);
  const auto found = m_entries.find(key);
  if (found != m_entries.end() &&
      found->second.szText[ExclusionEntry::kMd5] == entry.szText[ExclusionEntry::kMd5] &&
      found->second.szText[ExclusionEntry::kInfPath] == entry.szText[ExclusionEntry::kInfPath] &&
      found->second.nInstallErrorCode == entry.nInstallErrorCode &&
      found->second.nDeviceErrorCode == entry.nDeviceErrorCode) {
    return false;
  }
  m_entries.insert_or_assign(key, entry);
  return true;
}

const ExclusionEntry* CExclusionList::Find(LPCTSTR hardwareId) const {
  const auto found = m_entries.find(Key(CString(hardwareId)));
  return found == m_entries.end() ? nullptr : &found->second;
}

CString CExclusionList::BuildXml() const {
  CMarkup document;
  document.AppendElement(kRootTag);
  CString number;
  for (const auto& [key, entry] : m_entries) {
    document.AppendElement(kDeviceTag, nullptr, true);
    document.EnterElement();
    document.AppendElement(_T("HardwareIdentifier"), entry.szText[ExclusionEntry::kHardwareId], true);
    document.AppendElement(_T("UpdateDeviceMatchingID"), entry.szText[ExclusionEntry::kMatchingId], true);
    document.AppendElement(_T("MD5"), entry.szText[ExclusionEntry::kMd5], true);
    document.AppendElement(_T("InfPath"), entry.szText[ExclusionEntry::kInfPath], true);
    number.Format(_T("%u"), static_cast<unsigned>(entry.nInstallErrorCode));
    document.AppendElement(_T("InstallErrorCode"), number, true);
    number.Format(_T("%u"), static_cast<unsigned>(entry.nDeviceErrorCode));
    document.AppendElement(_T("DeviceErrorCode"), number, true);
    document.LeaveElement();
  }
  return document.GetDocumentText();
}

bool CExclusionList::Save() {
  const CString path = GetFilePath();
  if (path.IsEmpty()) return false;
  CString text = BuildXml();
  text.Trim();
  return WriteFileReplacing(path, ToUtf8(text));
}
