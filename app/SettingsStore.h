// The main program's settings: values under HKCU in the subkey "Settings" of the running
// program's registry key, switches stored as decimal text and folders as plain paths. The four value
// functions open and close their own key on every call, so any thread may use them.
#pragma once
#include <afx.h>

// Value names under the settings key.
inline constexpr LPCTSTR kSettingAutoScan = _T("AutoScan");
inline constexpr LPCTSTR kSettingRunAtStartUp = _T("RunAtStartUp");
inline constexpr LPCTSTR kSettingDownloadPath = _T("Download Path");
inline constexpr LPCTSTR kSettingBackupPath = _T("Backup Path");
inline constexpr LPCTSTR kSettingReboot = _T("Reboot");

// The value types the functions take: text (REG_SZ) or a number (REG_DWORD).
enum SettingValueType { kSettingText = 1, kSettingNumber = 4 };

// HKCU path of the settings key: the running program's registry key joined with "Settings".
CString BuildSettingsKeyPath();

// Opens keyPath read only; when the value exists, type 1 reads its text (REG_SZ or
// REG_EXPAND_SZ, unexpanded) and any other type a REG_DWORD into number. A missing key,
// missing value or value of another type leaves the outputs unchanged. False only when an
// exception stopped it.
bool ReadHkcuValue(const CString& keyPath, const CString& name, CString& text, DWORD& number, int type);
// ReadHkcuValue for text alone.
bool GetHkcuValue(CString keyPath, CString name, CString& text, int type);
// Opens keyPath for writing (creating it when create is set); when the value exists or
// create is set, writes type 1 as REG_SZ text and type 4 as a REG_DWORD. A missing value
// with create clear is left alone and still answers true. False only when an exception
// stopped it.
bool WriteHkcuValue(const CString& keyPath, const CString& name, const CString& text, DWORD number, int type,
                    bool create);
// WriteHkcuValue for text alone (number 0).
bool SetHkcuValue(CString keyPath, CString name, CString text, int type, bool create);

// The leading decimal number of a text as the settings read it: blanks skipped, an optional
// sign, the digits up to the first other character; 0 when there are none, and the nearest
// limit of a 32-bit number when it is larger.
int DecimalValue(const CString& text);
// A switch: the decimal value of its text, 0 when it is missing or not text.
int ReadSettingSwitch(const CString& keyPath, LPCTSTR name);
// A switch as the settings pages read it: a missing value is written with its default first.
int ReadSettingSwitchOrDefault(const CString& keyPath, LPCTSTR name, int defaultValue);
// Stores a switch as "%d" text, creating the key and value when missing.
bool WriteSettingSwitch(const CString& keyPath, LPCTSTR name, int value);
// A folder setting; the default folder when the value is missing or empty.
CString ReadSettingFolder(const CString& keyPath, LPCTSTR name, const CString& defaultFolder);
