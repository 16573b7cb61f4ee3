// The folders of the machine's Windows installation on drive C:, as Windows paths. The user
// is the Linux user running the process. Platform-internal: the kernel's folder functions,
// the environment and the shell's special folders all answer from here.
#pragma once
#include <string>

namespace zx::folders {

inline constexpr char16_t kWindows[] = u"C:\\Windows";
inline constexpr char16_t kSystem[] = u"C:\\Windows\\System32";
inline constexpr char16_t kSystemWow64[] = u"C:\\Windows\\SysWOW64";
inline constexpr char16_t kFonts[] = u"C:\\Windows\\Fonts";
inline constexpr char16_t kProgramFiles[] = u"C:\\Program Files";
inline constexpr char16_t kProgramFilesX86[] = u"C:\\Program Files (x86)";
inline constexpr char16_t kProgramData[] = u"C:\\ProgramData";
inline constexpr char16_t kPublic[] = u"C:\\Users\\Public";
inline constexpr char16_t kRecycleBin[] = u"C:\\$Recycle.Bin";

// The Linux user's name, with characters Windows forbids in names replaced by '_'.
const std::u16string& UserName();
// C:\Users\<user>.
std::u16string Profile();
// C:\Users\<user>\AppData\Roaming and ...\Local.
std::u16string RoamingAppData();
std::u16string LocalAppData();
// C:\Users\<user>\AppData\Local\Temp.
std::u16string Temp();

// Makes the folders of a Windows installation (the ones above, Windows\INF, Windows\Temp,
// the user's Documents and Desktop, ...) inside the C: folder, once per machine root.
void EnsureInstallation();

}  // namespace zx::folders
