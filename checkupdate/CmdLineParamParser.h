// The update checker's switches: each is written on the command line as a name, an equals sign
// and a value in double quotes (starthidden="1"). CCmdLineParamParser looks every name of the
// switch table up in one command line; GetQuotedParamValue finds one value.
#pragma once
#include <afx.h>
#include <afxtempl.h>

// One switch: whether it is still missing, its name and its value (empty until found).
struct tagCmdArgValuePair {
  BYTE bNotFound = 1;
  CString strName;
  CString strValue;
};

// The switch names, in the order they are looked up and applied.
enum CheckUpdateSwitch {
  kSwitchSilent,
  kSwitchParentWnd,
  kSwitchIsQuarnelParent,
  kSwitchStartMinimized,
  kSwitchDownloadCompleteDbOnly,
  kSwitchStartHidden,
  kSwitchCheckAppUpdateOnly,
  kSwitchShowIfAvailable,
  kSwitchCount
};
extern const LPCTSTR kCheckUpdateSwitchNames[kSwitchCount];

class CCmdLineParamParser {
 public:
  // Fills the array from the switch table: every entry missing, every value empty.
  explicit CCmdLineParamParser(LPCTSTR commandLine);
  // Looks each entry up in the command line; an entry whose value is found and not empty
  // takes the value and is no longer missing.
  void ParseCommandLine();
  const tagCmdArgValuePair& GetAt(int index) const { return m_arrPairs[index]; }
  int GetCount() const { return static_cast<int>(m_arrPairs.GetSize()); }

 private:
  CString m_strCommandLine;
  CArray<tagCmdArgValuePair, const tagCmdArgValuePair&> m_arrPairs;
};

// The value of one switch: the first quoted text after the first occurrence of the name
// anywhere in the command line (case ignored for the name; the value keeps its case and loses
// its surrounding white space). TRUE only when that value is not empty. Says what it found on
// the standard output.
BOOL GetQuotedParamValue(LPCTSTR commandLine, LPCTSTR name, CString& value);
