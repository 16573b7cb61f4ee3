// Web links of the product: opening a page in the user's browser, the campaign values the setup
// program stored for this installation, and page addresses decorated with them.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// Opens the address with the shell; when the shell cannot, starts the browser program with
// the address as its one argument. An empty address opens nothing.
ZXHELPER_API void HVOpenURL(CString address);

// A string value of HKLM\<product registry path>\<product name>, read without write access;
// empty when the key or the value is missing.
ZXHELPER_API CString ReadSetupValue(LPCTSTR name);
ZXHELPER_API CString HVGet_UTM_SOURCE();
ZXHELPER_API CString HVGet_UTM_CAMPAIGN();
ZXHELPER_API CString HVGet_UTM_MEDIUM();
ZXHELPER_API CString HVGet_UTM_AFFLIATE_ID();
ZXHELPER_API CString HVGet_UNINSTALLURL();

// The text with every character outside the URI's unreserved set written as %XX bytes of its
// UTF-8 form.
ZXHELPER_API CString PercentEncode(LPCTSTR text);
// Appends "?" (or "&" when the address already has a query) and the four campaign pairs, each
// value percent-encoded; answers a copy of the result.
ZXHELPER_API CString HVAppenParamsToURL(CString& address, BOOL hasQuery);
// Hook through which a page address could be replaced for a key ("WEBSITE", "HELP"): leaves
// the address and answers FALSE.
ZXHELPER_API BOOL OverrideLinkForKey(CString& address, LPCTSTR key);

ZXHELPER_API void OpenAboutPage();
// A topic of more than one character gets a leading "&" unless it has one; null adds nothing.
ZXHELPER_API void OpenHelpPage(LPCTSTR topic);
ZXHELPER_API void OpenSupportMail();
// The help page's address as OpenHelpPage opens it.
ZXHELPER_API CString BuildHelpPageAddress(LPCTSTR topic);
