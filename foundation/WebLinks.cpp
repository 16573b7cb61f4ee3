// Web links of the product and the campaign values of the installation.
#include "WebLinks.h"

#include <shellapi.h>
#include <windows.h>

#include "GlobalConstants.h"
#include "PathHelpers.h"
#include "Registry.h"

namespace {

constexpr REGSAM kReadAccess = 0x20019;
constexpr LPCTSTR kBrowserProgram = _T("iexplore.exe");

bool Started(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// The text as one argument of a Windows command line: quoted, with the backslashes before a
// quote (and at the end) doubled and every quote escaped, so nothing in it can end it.
CString QuoteArgument(const CString& text) {
  CString quoted = _T("\"");
  int backslashes = 0;
  for (int index = 0; index < text.GetLength(); ++index) {
    const WCHAR ch = text[index];
    if (ch == _T('\\')) {
      ++backslashes;
      continue;
    }
    quoted += CString(_T('\\'), ch == _T('"') ? backslashes * 2 + 1 : backslashes);
    quoted += ch;
    backslashes = 0;
  }
  quoted += CString(_T('\\'), backslashes * 2);
  quoted += _T('"');
  return quoted;
}

bool IsUnreserved(WCHAR ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' ||
         ch == '.' || ch == '_' || ch == '~';
}

}  // namespace

void HVOpenURL(CString address) {
  if (address.IsEmpty()) return;
  if (Started(ShellExecuteW(GetDesktopWindow(), _T("open"), address, _T(""), _T(""), SW_SHOWMAXIMIZED))) return;
  // The browser program is given the address as its one argument.
  ShellExecuteW(nullptr, _T("open"), kBrowserProgram, QuoteArgument(address), nullptr, SW_SHOWMAXIMIZED);
}

CString ReadSetupValue(LPCTSTR name) {
  CString path;
  GetProductRegistryKey(path);
  AppendPathComponent(path, g_strProductName);
  CRegistry key;
  key.m_dwAccess = kReadAccess;
  CString value;
  if (!key.Open(HKEY_LOCAL_MACHINE, path) || !key.ReadString(name, value)) return CString();
  return value;
}

CString HVGet_UTM_SOURCE() { return ReadSetupValue(g_strUtmSource); }
CString HVGet_UTM_CAMPAIGN() { return ReadSetupValue(g_strUtmCampaign); }
CString HVGet_UTM_MEDIUM() { return ReadSetupValue(g_strUtmMedium); }
CString HVGet_UTM_AFFLIATE_ID() { return ReadSetupValue(g_strAffiliateId); }
CString HVGet_UNINSTALLURL() { return ReadSetupValue(_T("UNSITALLWEB")); }

CString PercentEncode(LPCTSTR text) {
  const CStringA utf8 = [&] {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    CStringA bytes;
    if (size > 1) {
      WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.GetBuffer(size), size, nullptr, nullptr);
      bytes.ReleaseBuffer(size - 1);
    }
    return bytes;
  }();
  CString encoded;
  for (int index = 0; index < utf8.GetLength(); ++index) {
    const auto byte = static_cast<unsigned char>(utf8[index]);
    if (byte < 0x80 && IsUnreserved(byte)) encoded += static_cast<WCHAR>(byte);
    else encoded.AppendFormat(_T("%%%02X"), byte);
  }
  return encoded;
}

CString HVAppenParamsToURL(CString& address, BOOL hasQuery) {
  CString query = g_strCampaignQueryTemplate;
  const struct {
    const CString& name;
    CString (*value)();
  } kPairs[] = {{g_strUtmSource, HVGet_UTM_SOURCE},
                {g_strUtmCampaign, HVGet_UTM_CAMPAIGN},
                {g_strUtmMedium, HVGet_UTM_MEDIUM},
                {g_strAffiliateId, HVGet_UTM_AFFLIATE_ID}};
  for (const auto& pair : kPairs) query.Replace(_T("<") + pair.name + _T(">"), PercentEncode(pair.value()));
  address += hasQuery ? _T("&") : _T("?");
  address += query;
  return address;
}

BOOL OverrideLinkForKey(CString&, LPCTSTR) { return FALSE; }

void OpenAboutPage() {
  CString address = g_strAboutPageUrl;
  OverrideLinkForKey(address, _T("WEBSITE"));
  HVOpenURL(address);
}

CString BuildHelpPageAddress(LPCTSTR topic) {
  CString topicText = topic ? topic : _T("");
  if (topicText.GetLength() > 1 && topicText[0] != _T('&')) topicText.Insert(0, _T('&'));
  CString address = g_strHelpPageUrl;
  OverrideLinkForKey(address, _T("HELP"));
  return address + topicText;
}

void OpenHelpPage(LPCTSTR topic) { HVOpenURL(BuildHelpPageAddress(topic)); }

void OpenSupportMail() { HVOpenURL(g_strSupportMailTo); }
