// The special folders by CSIDL: SHGetFolderPath and SHGetSpecialFolderPath.
#include "shlobj.h"

#include "fileapi.h"
#include "shellpaths.h"
#include "shelltext.h"
#include "zx/winfolders.h"

namespace {

namespace folders = zx::folders;

// The folder a CSIDL names, or empty for one this machine does not have.
std::u16string FolderOf(int csidl) {
  switch (csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return folders::Profile() + u"\\Desktop";
    case CSIDL_PERSONAL: return folders::Profile() + u"\\Documents";
    case CSIDL_STARTUP: return folders::RoamingAppData() + u"\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    case CSIDL_FONTS: return folders::kFonts;
    case CSIDL_APPDATA: return folders::RoamingAppData();
    case CSIDL_LOCAL_APPDATA: return folders::LocalAppData();
    case CSIDL_COMMON_APPDATA: return folders::kProgramData;
    case CSIDL_WINDOWS: return folders::kWindows;
    case CSIDL_SYSTEM: return folders::kSystem;
    case CSIDL_PROGRAM_FILES: return folders::kProgramFiles;
    case CSIDL_PROFILE: return folders::Profile();
    case CSIDL_SYSTEMX86: return folders::kSystemWow64;
    case CSIDL_PROGRAM_FILESX86: return folders::kProgramFilesX86;
    case CSIDL_COMMON_DOCUMENTS: return std::u16string(folders::kPublic) + u"\\Documents";
    default: return {};
  }
}

HRESULT Resolve(int csidl, std::u16string& path) {
  path = FolderOf(csidl & ~CSIDL_FLAG_MASK);
  if (path.empty()) return E_INVALIDARG;
  if (path.size() >= MAX_PATH) return E_FAIL;
  if ((csidl & CSIDL_FLAG_CREATE) != 0) return zx::shell::MakeFolders(path) ? S_OK : E_FAIL;
  if ((csidl & CSIDL_FLAG_DONT_VERIFY) != 0) return S_OK;
  return zx::shell::IsFolder(GetFileAttributesW(path.c_str())) ? S_OK : E_FAIL;
}

}  // namespace

HRESULT SHGetFolderPathW(HWND /*owner*/, int csidl, HANDLE /*token*/, DWORD /*flags*/, LPWSTR path) {
  if (path == nullptr) return E_INVALIDARG;
  std::u16string folder;
  const HRESULT result = Resolve(csidl, folder);
  if (FAILED(result)) folder.clear();
  folder.copy(path, folder.size());
  path[folder.size()] = u'\0';
  return result;
}

BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create) {
  const int flags = create ? CSIDL_FLAG_CREATE : 0;
  return SUCCEEDED(SHGetFolderPathW(owner, csidl | flags, nullptr, SHGFP_TYPE_CURRENT, path)) ? TRUE : FALSE;
}

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
  if (path == nullptr) return FALSE;
  WCHAR wide[MAX_PATH];
  const BOOL found = SHGetSpecialFolderPathW(owner, wide, csidl, create);
  zx::shell::NarrowInto(found ? wide : u"", path, MAX_PATH);
  return found;
}
