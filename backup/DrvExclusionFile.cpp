// Reading, changing and writing "exclusion.xml". The file is ANSI text written and read through
// the class library's text-mode file, as the document text with its line breaks; reading joins
// the lines without them.
#include "DrvExclusionFile.h"

#include <windows.h>

#include <climits>
#include <string>
#include <unordered_set>

#include "Markup.h"
#include "PathHelpers.h"
#include "ProcessControl.h"

namespace {

// The decimal text of an exclusion id: an optional sign and digits; anything beyond the
// 32-bit range stops at its bound instead of wrapping.
int ParseId(const CString& text) {
  int i = 0;
  const bool negative = text.GetLength() > 0 && text[0] == '-';
  if (negative || (text.GetLength() > 0 && text[0] == '+')) ++i;
  long long value = 0;
  for (; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

// A text is held and written as a C string: whatever follows a zero character is dropped,
// so an entry read is the entry written back.
void CutAtNul(CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == 0) {
      text = text.Left(i);
      return;
    }
  }
}

// The whole file as the class library's text file reads it, lines joined; false when it
// cannot be read or is longer than the bound.
bool ReadJoinedLines(const CString& path, CString& text, bool& tooLong) {
  tooLong = false;
  CStdioFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return false;
  try {
    if (file.GetLength() > CDrvExclusionFile::kMaxFileBytes) {
      tooLong = true;
      return false;
    }
    text.Empty();
    for (CString line; file.ReadString(line);) text += line;
  } catch (CException* error) {
    error->Delete();
    return false;
  }
  return true;
}

bool WriteReplacing(const CString& path, const CString& text) {
  const CString temporary = path + _T(".tmp");
  bool written = false;
  {
    CStdioFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeReadWrite | CFile::typeText)) return false;
    try {
      file.WriteString(text);
      file.Flush();
      file.Close();
      written = true;
    } catch (CException* error) {
      error->Delete();
    }
  }
  if (!written || !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary);
    return false;
  }
  return true;
}

}  // namespace

CDrvExclusionFile::CDrvExclusionFile(LPCTSTR dataFolder)
    : m_strFileName(_T("exclusion.xml")), m_dataFolder(dataFolder) {}

CString CDrvExclusionFile::GetFilePath() const {
  CString path = m_dataFolder.IsEmpty() ? GetAppDataFolder() : m_dataFolder;
  if (path.IsEmpty()) return CString();
  CreateDirectoryTree(path);
  AppendPathComponent(path, m_strFileName);
  return path;
}

void CDrvExclusionFile::Mark(const CString& hardwareId, BOOL mark) const {
  if (m_marker) m_marker(hardwareId, mark);
}

int CDrvExclusionFile::FindHardwareId(const CString& hardwareId) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].strHardwareId.CompareNoCase(hardwareId) == 0) return static_cast<int>(i);
  }
  return -1;
}

void CDrvExclusionFile::Renumber() {
  for (std::size_t i = 0; i < m_items.size(); ++i) m_items[i].nListIndex = static_cast<int>(i);
}

bool CDrvExclusionFile::Parse(const CString& text, std::vector<tagExclusionItem>& items) {
  CMarkup document;
  if (!document.SetDocumentText(text)) return false;
  if (!document.NextElement() || !document.ElementNameIs(u"exclusion")) return false;
  document.EnterElement();
  std::vector<tagExclusionItem> read;
  std::unordered_set<std::u16string> seen;  // hardware ids read, in upper case
  tagExclusionItem record;
  bool haveName = false;
  CString data;
  while (document.NextLeafElement()) {
    document.GetElementText(data);
    CutAtNul(data);
    data.Trim();
    if (document.ElementNameIs(u"exclusionid")) {
      record = tagExclusionItem();
      haveName = false;
      record.nExclusionId = ParseId(data);
    } else if (document.ElementNameIs(u"drivername")) {
      record.strDriverName = data;
      haveName = !data.IsEmpty();
    } else if (document.ElementNameIs(u"hardwareids") && haveName) {
      record.strHardwareId = data;
      CString key = data;
      key.MakeUpper();
      if (!data.IsEmpty() && seen.emplace(key.GetString(), static_cast<std::size_t>(key.GetLength())).second) {
        read.push_back(record);
      }
      record = tagExclusionItem();
      haveName = false;
    }
  }
  items = std::move(read);
  return true;
}

CDrvExclusionFile::LoadResult CDrvExclusionFile::Load() {
  for (const tagExclusionItem& item : m_items) Mark(item.strHardwareId, FALSE);
  m_items.clear();
  const CString path = GetFilePath();
  if (path.IsEmpty() || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return kLoadMissing;
  CString text;
  bool tooLong = false;
  if (ReadJoinedLines(path, text, tooLong)) {
    CString trimmed = text;
    if (trimmed.Trim().IsEmpty()) return kLoadRead;  // an empty file holds no entries
    if (Parse(text, m_items)) {
      Renumber();
      for (const tagExclusionItem& item : m_items) Mark(item.strHardwareId, TRUE);
      return kLoadRead;
    }
  }
  // Not a list this program wrote: keep it aside, so the next write does not replace it.
  CString aside = path + _T(".damaged");
  for (int copy = 1; GetFileAttributesW(aside) != INVALID_FILE_ATTRIBUTES; ++copy) {
    aside.Format(_T("%s.damaged.%d"), path.GetString(), copy);
  }
  if (MoveFileExW(path, aside, 0)) m_damagedCopy = aside;
  return kLoadRefused;
}

CString CDrvExclusionFile::BuildXml(const std::vector<tagExclusionItem>& items) {
  CMarkup document;
  document.AppendElement(_T("Exclusion"));
  CString number;
  for (const tagExclusionItem& item : items) {
    document.AppendElement(_T("ExclusionInfo"), nullptr, true);
    document.EnterElement();
    number.Format(_T("%d"), item.nExclusionId);
    document.AppendElement(_T("ExclusionId"), number, true);
    document.AppendElement(_T("DriverName"), item.strDriverName, true);
    document.AppendElement(_T("HardwareIds"), item.strHardwareId, true);
    document.LeaveElement();
  }
  return document.GetDocumentText();
}

bool CDrvExclusionFile::Save() {
  const CString path = GetFilePath();
  if (path.IsEmpty()) return false;
  CString text = BuildXml();
  text.Trim();
  return WriteReplacing(path, text);
}

int CDrvExclusionFile::Add(const CString& driverName, const CString& hardwareId) {
  if (hardwareId.IsEmpty() || FindHardwareId(hardwareId) >= 0) return 0;
  Mark(hardwareId, TRUE);
  int highest = 0;
  for (const tagExclusionItem& item : m_items) highest = item.nExclusionId > highest ? item.nExclusionId : highest;
  tagExclusionItem item;
  item.nExclusionId = highest == INT_MAX ? INT_MAX : highest + 1;
  item.nListIndex = static_cast<int>(m_items.size());
  item.strDriverName = driverName;
  item.strHardwareId = hardwareId;
  m_items.push_back(item);
  Save();
  return item.nExclusionId;
}

bool CDrvExclusionFile::RemoveAt(int row) {
  if (row < 0 || row >= GetCount()) return false;
  Mark(m_items[static_cast<std::size_t>(row)].strHardwareId, FALSE);
  m_items.erase(m_items.begin() + row);
  Renumber();
  Save();
  return true;
}

void CDrvExclusionFile::RemoveAll() {
  for (const tagExclusionItem& item : m_items) Mark(item.strHardwareId, FALSE);
  m_items.clear();
  Save();
}
