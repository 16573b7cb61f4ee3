// The language settings layer: which language the product runs in, read on every query from
// "lang.lng" beside this library and from the per-user overrides in the registry.
#include <cstring>
#include <mutex>
#include <string>

#include <windows.h>
#include <winuser.h>

#include "LanguageFile.h"
#include "zephrinkxsys.h"

namespace {

// Joins two narrow paths with exactly one backslash; with either empty they are concatenated.
std::string JoinPath(const std::string& path, std::string tail) {
  if (path.empty() || tail.empty()) return path + tail;
  if (tail.front() == '\\') tail.erase(0, 1);
  if (path.back() == '\\') return path + tail;
  return path + "\\" + tail;
}

std::string BuildOverrideKeyPath() {
  return JoinPath(JoinPath(JoinPath("Software", "Zephrin"), "ZephrinKX"), "\\Lang");
}

// Process-wide state; every query rewrites it under the lock.
struct LanguageState : LanguageValues {
  LanguageState() { relativePath = "ENG"; }
  std::string libraryFolder;
  std::string selectedLang = "ENGLISH";
};

std::mutex g_lock;
LanguageState g_state;
const std::string g_overrideKeyPath = BuildOverrideKeyPath();

// Answers handed to callers: one slot per export and thread, so an answer stays valid until
// the same thread asks again, whatever other threads do meanwhile.
thread_local std::string t_langPath, t_fontFace, t_locale, t_selectedLang, t_resDll;

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Folder of this library's own file; empty when the file cannot be found.
std::string GetSysLibFolder() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&GetSysLibFolder), &self))
    return {};
  char name[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(self, name, MAX_PATH - 1);
  if (length == 0 || !FileExists(name)) return {};
  std::string folder(name, length);
  const std::size_t cut = folder.find_last_of('\\');
  return cut == std::string::npos ? std::string() : folder.substr(0, cut);
}

// Overrides one value from the registry, or seeds the registry with it when the value is
// missing there. The key itself is never created.
bool SyncValueWithRegistry(std::string& value, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_overrideKeyPath.c_str(), 0, 0x2001F, &key) != ERROR_SUCCESS)
    return false;
  char buffer[MAX_PATH] = {};
  DWORD size = sizeof(buffer) - 1;
  DWORD type = 0;
  bool result;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    value.assign(buffer, strnlen(buffer, size));
    result = true;
  } else {
    result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return result;
}

// Reads "lang.lng" into the state; a missing file is reported and every value keeps its
// default. Called with the lock held.
void LoadLanguageFile() {
  const std::string folder = GetSysLibFolder();
  if (!folder.empty() && FolderExists(folder)) g_state.libraryFolder = folder;
  const std::string file = JoinPath(g_state.libraryFolder, "lang.lng");
  if (!FileExists(file)) {
    const std::string text = "Failed to load Language File:\r\n" + file + "\r\nUnable to continue!\r\n";
    MessageBoxA(GetDesktopWindow(), text.c_str(), "Zephrin Tunevo", MB_ICONERROR);
  }
  std::string section = LanguageSectionOf(file);

  std::string overridden = section;
  SyncValueWithRegistry(overridden, "CURRENTLANG");
  if (!overridden.empty() && lstrcmpiA(overridden.c_str(), section.c_str()) != 0)
    section = overridden.substr(0, 31);

  g_state.selectedLang = section;
  static_cast<LanguageValues&>(g_state) = ReadLanguageSection(file, section);
}

// Load, then override one text value of the state; answers the value.
const std::string& LoadAndSync(std::string& value, const char* name) {
  LoadLanguageFile();
  SyncValueWithRegistry(value, name);
  return value;
}

LPCSTR Answer(std::string& slot, const std::string& value) {
  slot = value;
  return slot.c_str();
}

// One text query: load, override the value by its registry name, answer it in the slot.
LPCSTR Query(std::string& slot, std::string LanguageState::*value, const char* name) {
  std::lock_guard<std::mutex> g(g_lock);
  return Answer(slot, LoadAndSync(g_state.*value, name));
}

}  // namespace

LPCSTR GetCurLangPath() { return Query(t_langPath, &LanguageState::relativePath, "RELPATH"); }

LPCSTR GetCurFontFace() { return Query(t_fontFace, &LanguageState::fontFace, "FONTFACE"); }

LONG GetCurFontSize() {
  std::lock_guard<std::mutex> g(g_lock);
  LoadLanguageFile();
  std::string text = std::to_string(g_state.fontSize);
  SyncValueWithRegistry(text, "FONTsize");
  g_state.fontSize = TextToNumber(text);
  return g_state.fontSize;
}

LPCSTR GetCurLocale() { return Query(t_locale, &LanguageState::locale, "LOCALE"); }

LPCSTR GetCurSelectedLang() { return Query(t_selectedLang, &LanguageState::selectedLang, "CURRENTLANG"); }

LPCSTR GetCurResDll() {
  std::lock_guard<std::mutex> g(g_lock);
  std::string name = LoadAndSync(g_state.resourceLibraryName, "RESDLLNAME");
  // The language path is queried afresh, which loads the file once more.
  std::string relative = LoadAndSync(g_state.relativePath, "RELPATH");
  // The registry's values too stay below the library's folder: the library is loaded from it.
  if (!IsRelativeBelow(relative)) relative.clear();
  if (!IsPlainFileName(name)) name = "qvxres.dll";
  const std::string candidate = JoinPath(g_state.libraryFolder, relative);
  return Answer(t_resDll, FolderExists(candidate) ? JoinPath(candidate, name) : name);
}

DWORD ReturnBuildOptforZEPHRIN_KX(LPCSTR) { return 22; }
