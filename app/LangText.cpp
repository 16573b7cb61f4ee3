// Language texts of the main program with "%1" and "%2" placeholders.
#include "LangText.h"

#include "HalvoranApp.h"

CString ReplacePlaceholders(const CString& text, LPCTSTR first, LPCTSTR second) {
  CString result;
  const int length = text.GetLength();
  for (int at = 0; at < length; ++at) {
    if (text[at] == _T('%') && at + 1 < length) {
      const LPCTSTR value = text[at + 1] == _T('1') ? first : text[at + 1] == _T('2') ? second : nullptr;
      if (value) {
        result += value;
        ++at;
        continue;
      }
    }
    result += text[at];
  }
  return result;
}

namespace {

CString LookUp(LPCTSTR key) {
  CString text;
  CString id = key ? key : _T("");
  id.Trim();
  if (auto* app = dynamic_cast<CHalvoranApp*>(AfxGetApp())) app->GetLangText(text, id);
  return text;
}

}  // namespace

void LoadLangStringReplace(CString& text, LPCTSTR key, LPCTSTR value) {
  text = ReplacePlaceholders(LookUp(key), value ? value : _T(""));
}

void LoadLangStringReplace2(CString& text, LPCTSTR key, LPCTSTR value1, LPCTSTR value2) {
  text = ReplacePlaceholders(LookUp(key), value1 ? value1 : _T(""), value2 ? value2 : _T(""));
}
