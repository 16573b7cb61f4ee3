// Text lookup by string id.
#include "IniReader.h"

#include <afxwin.h>
#include <winresource.h>

#include <vector>

#include "CheckedFormat.h"
#include "HelperModule.h"
#include "Locks.h"
#include "PathHelpers.h"
#include "zephrinkxsys.h"

IMPLEMENT_DYNCREATE(CIniReader, CObject)

namespace {

constexpr DWORD kReadBufferCharacters = 4096;

// The process-wide lookup state: the text cache and the lock that also guards the read buffer.
struct LookupState {
  LookupState() {
    cache.InitHashTable(10);
    InitLock(&lock);
  }
  CMapStringToString cache;
  std::vector<WCHAR> buffer = std::vector<WCHAR>(kReadBufferCharacters, 0);
  CRITICAL_SECTION lock;
};

LookupState& State() {
  static LookupState* state = new LookupState;  // lives until the process ends
  return *state;
}

void ReplaceEscapes(CString& text) {
  text.Replace(_T("\\n"), _T("\n"));
  text.Replace(_T("\\t"), _T("\t"));
  text.Replace(_T("\\r"), _T("\r"));
  text.Replace(_T("\\\\"), _T("\\"));
}

}  // namespace

CIniReader::CIniReader(LPCTSTR path) { SetFileName(path); }

void CIniReader::SetFileName(LPCTSTR path) {
  m_strFilePath = path ? path : _T("");
  m_strFileName = m_strFilePath.Mid(m_strFilePath.ReverseFind(_T('\\')) + 1);
}

BOOL CIniReader::ReadString(LPCTSTR stringId, LPCTSTR section, CString& text) {
  LookupState& state = State();
  EnterLock guard(&state.lock);
  // The parts are joined with line feeds, which no section or key can hold, so two
  // different section and id pairs never share an entry.
  const CString key = m_strFileName + _T("\n") + section + _T("\n") + stringId;
  text.Empty();
  CString cached;
  if (state.cache.Lookup(key, cached) && !cached.IsEmpty()) {
    text = cached;
    return TRUE;
  }
  WCHAR* buffer = state.buffer.data();
  GetPrivateProfileStringW(section, stringId, _T(""), buffer, kReadBufferCharacters, m_strFilePath);
  buffer[kReadBufferCharacters - 1] = 0;
  if (buffer[0] == _T('"')) buffer[0] = _T(' ');
  CString value = buffer;
  if (!value.IsEmpty()) ReplaceEscapes(value);
  // Trimmed before it is cached, so every lookup of the id answers the same text.
  if (value.GetLength() > 1) value.Trim(_T(' '));
  state.cache.SetAt(key, value);
  text = value;
  return !text.IsEmpty();
}

CIniReader* OpenIniReader(LPCTSTR fileName, BOOL searchLanguageFolder) {
  CString name = fileName ? fileName : _T("");
  name.Trim();
  CString path = name;
  if (searchLanguageFolder) {
    CString folder;
    GetModuleFolder(GetHelperModuleHandle(), folder);
    bool found = false;
    if (name.Find(_T('\\')) < 0) {
      CString candidate = folder;
      AppendPathComponent(candidate, CString(GetCurLangPath()));
      AppendPathComponent(candidate, name);
      if (PathExists(candidate) == 1) {
        path = candidate;
        found = true;
      }
    }
    if (!found) {
      path = folder;
      AppendPathComponent(path, name);
      if (PathExists(path) != 1) {
        path = folder;
        AppendPathComponent(path, _T("qvx.ini"));
      }
    }
  }
  if (PathExists(path) != 1) return nullptr;
  CIniReader* reader = new CIniReader(path);
  if (!reader->IsKindOf(RUNTIME_CLASS(CIniReader))) {
    delete reader;
    return nullptr;
  }
  return reader;
}

void DeleteIniReader(CIniReader* reader) { delete reader; }

CString ReadIniString(CString& text, LPCTSTR stringId, LPCTSTR section, CIniReader* languageReader,
                      CIniReader* clientReader) {
  text.Empty();
  if (clientReader) {
    if (!clientReader->ReadString(stringId, _T("client"), text)) clientReader->ReadString(stringId, section, text);
    if (!text.IsEmpty()) return text;
  }
  if (!languageReader || !languageReader->ReadString(stringId, section, text)) {
    const CString message = CString(_T("Fail to Read: ")) + _T("\r\nstrId: ") + stringId +
                            _T("\r\nSection : ") + section;
    AfxMessageBox(message, MB_OK);
    text.Empty();
  }
  return text;
}

CString GetLangString(LPCTSTR stringId, LPCTSTR section) {
  CString text;
  CIniReader* client = OpenIniReader(_T("client.ini"), TRUE);
  CIniReader* language = OpenIniReader(_T("qvx.ini"), TRUE);
  CString id = stringId ? stringId : _T("");
  id.Trim();
  ReadIniString(text, id, section, language, client);
  DeleteIniReader(client);
  DeleteIniReader(language);
  return text;
}

CString LoadResString(UINT id) {
  std::vector<WCHAR> buffer(kReadBufferCharacters, 0);
  const int length = LoadStringW(AfxGetResourceHandle(), id, buffer.data(), static_cast<int>(buffer.size()));
  return CString(buffer.data(), length > 0 ? length : 0);
}

CString FormatSizeText(CString& text, ULONGLONG bytes, BOOL wholeUnits) {
  const auto format = [&text](LPCTSTR id, auto value) {
    FormatChecked(text, GetLangString(id, _T("QVX")), {value});
  };
  if (bytes < 1204) {
    format(_T("IDS_BYTES"), static_cast<LONGLONG>(bytes));
    return text;
  }
  const float kilobytes = static_cast<float>(bytes) / 1024.0f;
  if (kilobytes < 1204.0f) {
    if (wholeUnits)
      format(_T("IDS_KB"), static_cast<LONGLONG>(bytes >> 10));
    else
      format(_T("IDS_KB2"), static_cast<double>(kilobytes));
    return text;
  }
  const float megabytes = kilobytes / 1024.0f;
  if (megabytes < 1024.0f) {
    if (wholeUnits)
      format(_T("IDS_MB"), static_cast<LONGLONG>(bytes >> 20));
    else
      format(_T("IDS_MB2"), static_cast<double>(megabytes));
    return text;
  }
  format(_T("IDS_PHY_MEM_GB_1"), static_cast<double>(megabytes / 1024.0f));
  return text;
}
