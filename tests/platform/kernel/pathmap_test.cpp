// Path mapping between Windows and host paths, the current folder, full path names, the
// machine's folders, drives and the environment table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fileapi.h"
#include "handleapi.h"
#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/winfolders.h"

namespace {

namespace fs = std::filesystem;

class PathMapTest : public zx::test::MachineTest {
 protected:
  static std::string Drive() { return zx::machine::DriveCFolder(); }
  // The host path, or "!<error>" when the mapping refuses.
  static std::string Map(std::u16string_view path) {
    std::string host;
    DWORD error = 0;
    return zx::path::WindowsToHost(path, host, &error) ? host : "!" + std::to_string(error);
  }
  static std::u16string Current() {
    WCHAR buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
  }
};

TEST_F(PathMapTest, DriveLettersMapToTheirFolders) {
  EXPECT_EQ(Map(u"C:\\"), Drive());
  EXPECT_EQ(Map(u"c:\\Windows"), Drive() + "/Windows");
  EXPECT_EQ(Map(u"Z:\\"), "/");
  EXPECT_EQ(Map(u"z:\\usr\\lib"), "/usr/lib");
  EXPECT_EQ(Map(u"D:\\x"), "!" + std::to_string(ERROR_PATH_NOT_FOUND));
}

TEST_F(PathMapTest, SeparatorsDotsAndBlanksNormalise) {
  struct Row {
    std::u16string_view windows;
    std::string belowDrive;
  };
  const Row rows[] = {
      {u"C:\\a\\.\\b", "/a/b"},         {u"C:/a//b/", "/a/b"},        {u"C:\\a\\\\\\b", "/a/b"},
      {u"c:\\a\\..\\b", "/b"},          {u"C:\\..\\..\\b", "/b"},     {u"C:\\a.\\b. .", "/a/b"},
      {u"C:\\a \\b  ", "/a/b"},         {u"\\\\?\\C:\\x\\y", "/x/y"}, {u"C:\\...\\x", "/x"},
      {u"C:\\a\\b\\..\\..\\..", ""},    {u"C:\\ a", "/ a"},           {u"C:\\a/b\\c/d", "/a/b/c/d"},
      {u"C:\\.hidden", "/.hidden"},     {u"C:\\a..b", "/a..b"},       {u"C:\\x.txt.", "/x.txt"},
  };
  for (const Row& row : rows) EXPECT_EQ(Map(row.windows), Drive() + row.belowDrive) << Map(row.windows);
}

TEST_F(PathMapTest, RelativeFormsFollowTheCurrentFolder) {
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\Windows"));
  EXPECT_EQ(Map(u"INF\\x.inf"), Drive() + "/Windows/INF/x.inf");
  EXPECT_EQ(Map(u".\\x"), Drive() + "/Windows/x");
  EXPECT_EQ(Map(u"..\\x"), Drive() + "/x");
  EXPECT_EQ(Map(u"\\Temp"), Drive() + "/Temp");
  EXPECT_EQ(Map(u"C:x"), Drive() + "/Windows/x");
  EXPECT_EQ(Map(u"Z:x"), "/x");  // another drive's relative form starts at its root
}

// Programs are built without ".exe" and libraries as ".so": "X.exe" that is not there names the
// program "X" that its owner may run, "X.dll" the library "X.so", in any folder and any case; a
// real "X.exe", a plain file "X" or a folder "X" are not taken for the program.
TEST_F(PathMapTest, AWindowsProgramOrLibraryNameIsTheBuiltFile) {
  const fs::path folder = fs::path(Drive()) / "Tools" / "amd64Helper";
  fs::create_directories(folder / "Folder");
  fs::create_directories(folder / "Dir.so");
  for (const char* name : {"Wexor64", "Plain", "Both", "Both.exe", "Downloader.so"}) std::ofstream(folder / name) << "x";
  fs::permissions(folder / "Wexor64", fs::perms::owner_exec, fs::perm_options::add);
  fs::permissions(folder / "Both", fs::perms::owner_exec, fs::perm_options::add);
  struct Row {
    std::u16string_view windows;
    std::string host;
  };
  const std::string at = folder.string() + "/";
  const Row rows[] = {
      {u"C:\\Tools\\amd64Helper\\Wexor64.exe", at + "Wexor64"},
      {u"c:\\tools\\AMD64HELPER\\wexor64.EXE", at + "Wexor64"},
      {u"C:\\Tools\\amd64Helper\\Both.exe", at + "Both.exe"},
      {u"C:\\Tools\\amd64Helper\\Plain.exe", at + "Plain.exe"},
      {u"C:\\Tools\\amd64Helper\\Folder.exe", at + "Folder.exe"},
      {u"C:\\Tools\\amd64Helper\\Missing.exe", at + "Missing.exe"},
      {u"C:\\Tools\\amd64Helper\\.exe", at + ".exe"},
      {u"C:\\Tools\\amd64Helper\\Downloader.dll", at + "Downloader.so"},
      {u"c:\\tools\\amd64helper\\DOWNLOADER.DLL", at + "Downloader.so"},
      {u"C:\\Tools\\amd64Helper\\Dir.dll", at + "Dir.dll"},
      {u"C:\\Tools\\amd64Helper\\Missing.dll", at + "Missing.dll"},
  };
  for (const Row& row : rows) EXPECT_EQ(Map(row.windows), row.host) << std::string(row.windows.begin(), row.windows.end());
  EXPECT_NE(GetFileAttributesW(u"C:\\Tools\\amd64Helper\\Wexor64.exe"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(u"C:\\Tools\\amd64Helper\\Plain.exe"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PathMapTest, RefusedPathsAnswerTheirError) {
  struct Row {
    std::u16string windows;
    DWORD error;
  };
  const std::vector<Row> rows = {
      {u"", ERROR_PATH_NOT_FOUND},
      {u"Q:\\x", ERROR_PATH_NOT_FOUND},
      {u"1:\\x", ERROR_INVALID_NAME},
      {u"\\\\server\\share\\x", ERROR_BAD_NETPATH},
      {u"//server/share", ERROR_BAD_NETPATH},
      {u"\\\\?\\UNC\\server\\share", ERROR_BAD_NETPATH},
      {u"\\\\.\\PhysicalDrive0", ERROR_INVALID_NAME},
      {u"\\\\?\\GLOBALROOT\\x", ERROR_INVALID_NAME},
      {u"C:\\con", ERROR_INVALID_NAME},
      {u"C:\\dir\\NUL.txt", ERROR_INVALID_NAME},
      {u"C:\\aux .log", ERROR_INVALID_NAME},
      {u"C:\\Com1", ERROR_INVALID_NAME},
      {u"C:\\lpt9.x.y", ERROR_INVALID_NAME},
      {u"C:\\COM\u00B9", ERROR_INVALID_NAME},
      {u"C:\\prn\\x", ERROR_INVALID_NAME},
      {u"C:\\CONOUT$", ERROR_INVALID_NAME},
      {u"C:\\a<b", ERROR_INVALID_NAME},
      {u"C:\\a>b", ERROR_INVALID_NAME},
      {u"C:\\a\"b", ERROR_INVALID_NAME},
      {u"C:\\a|b", ERROR_INVALID_NAME},
      {u"C:\\a*", ERROR_INVALID_NAME},
      {u"C:\\a?", ERROR_INVALID_NAME},
      {u"C:\\file:stream", ERROR_INVALID_NAME},
      {u"C:\\a\x01z", ERROR_INVALID_NAME},
      {std::u16string(u"C:\\a\0b", 6), ERROR_INVALID_NAME},
      {u"C:\\" + std::u16string(256, u'n'), ERROR_FILENAME_EXCED_RANGE},
      {u"C:\\" + std::u16string(40000, u'n'), ERROR_FILENAME_EXCED_RANGE},
  };
  for (const Row& row : rows) EXPECT_EQ(Map(row.windows), "!" + std::to_string(row.error));
  // Names that only look like devices are fine.
  EXPECT_EQ(Map(u"C:\\console"), Drive() + "/console");
  EXPECT_EQ(Map(u"C:\\COM10"), Drive() + "/COM10");
  EXPECT_EQ(Map(u"C:\\nul_file"), Drive() + "/nul_file");
}

// No path names anything outside the folder its drive maps to.
TEST_F(PathMapTest, HostilePathsStayInsideTheDrive) {
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\Windows\\System32"));
  std::u16string deep = u"C:\\x";
  for (int i = 0; i < 500; ++i) deep += u"\\..";
  const std::vector<std::u16string> hostile = {
      u"C:\\..\\..\\etc\\passwd",
      u"C:/../../../..",
      u"C:\\a\\..\\..\\..\\..\\root\\.ssh",
      u"\\\\?\\C:\\..\\..\\etc",
      u"C:\\.. \\..\\x",
      u"C:\\. .\\..\\x",
      u"C:\\....\\....\\x",
      u"C:..\\..\\..\\x",
      u"..\\..\\..\\..\\..\\x",
      u"\\..\\..\\x",
      u"/../../x",
      u"C:\\%2e%2e\\%2e%2e\\x",
      u"C:\\\u2025\\x",
      u"C:\\\uFF0E\uFF0E\\x",
      u"C:\\a/..\\../b/../../c",
      u"C:\\\\\\..\\\\..\\\\",
      u"C:\\a\\b\\c\\..\\..\\..\\..\\..\\..",
      deep,
      deep + u"\\etc",
      u"C:\\" + std::u16string(300, u'.') + u"\\x",
      u"C:\\.\\.\\.\\..\\.\\..",
      u"C:\\..\u0000\\x",
      u"C:\\x\\..\u00A0\\..",
      u"C:\\drive_c\\..\\..\\registry",
      u"C:\\\u202E..\\x",
      u"c:/./../",
      u"C:\\x\\..\\..\\x\\..\\..\\",
      u"\\\\?\\C:\\x\\..\\..\\..\\y",
      u"\\\\?\\c:/../..",
  };
  const std::string drive = Drive();
  for (const std::u16string& path : hostile) {
    const std::string host = Map(path);
    if (host[0] == '!') continue;
    EXPECT_TRUE(host == drive || host.rfind(drive + "/", 0) == 0) << host;
    EXPECT_EQ(host.find("/../"), std::string::npos) << host;
    EXPECT_NE(host.substr(host.size() >= 3 ? host.size() - 3 : 0), "/..") << host;
  }
}

TEST_F(PathMapTest, LinksMayNotLeadOutOfTheDrive) {
  const zx::test::TempFolder outside;
  fs::create_directories(Drive() + "/inside");
  fs::create_directory_symlink(outside.path(), Drive() + "/out");
  fs::create_directory_symlink(Drive() + "/inside", Drive() + "/in");
  fs::create_symlink(outside.path() + "/missing", Drive() + "/dangling");
  EXPECT_EQ(Map(u"C:\\out\\secret"), "!" + std::to_string(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Map(u"C:\\OUT"), "!" + std::to_string(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Map(u"C:\\dangling"), "!" + std::to_string(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Map(u"C:\\in\\x"), Drive() + "/in/x");
  // Nothing is created through the link either.
  EXPECT_EQ(CreateFileW(u"C:\\dangling", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(fs::exists(outside.path() + "/missing"));
}

TEST_F(PathMapTest, ComponentsTakeTheirNameOnDisk) {
  WriteHostFile(Drive() + "/Windows/INF/a.inf", "x");
  EXPECT_EQ(Map(u"c:\\windows\\inf\\A.INF"), Drive() + "/Windows/INF/a.inf");
  EXPECT_EQ(Map(u"C:\\WINDOWS\\new\\Name.txt"), Drive() + "/Windows/new/Name.txt");
  EXPECT_NE(GetFileAttributesW(u"C:\\WINDOWS\\inf\\A.Inf"), INVALID_FILE_ATTRIBUTES);
}

// Names made by this process are found without reading the folder again, and names another
// process adds (here: the host, behind the layer's back) are found once the folder's time
// shows the change.
TEST_F(PathMapTest, NamesStayFoundWhileAFolderFills) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\Fill", nullptr));
  for (int i = 0; i < 40; ++i) {
    const std::u16string name = u"C:\\Fill\\Entry" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                std::u16string(1, static_cast<char16_t>(u'0' + i / 26)) + u".Sys";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << i;
    CloseHandle(file);
    std::u16string lower = name;
    for (char16_t& c : lower)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    const std::string expected(name.begin() + 3, name.end());  // ASCII
    std::string narrow = expected;
    for (char& c : narrow)
      if (c == '\\') c = '/';
    EXPECT_EQ(Map(lower), Drive() + "/" + narrow);
    // A second file of the same name in another case is the same file.
    EXPECT_EQ(CreateFileW(lower.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  }
  // The host adds a file; a lookup in another case finds it once the folder's time moved on.
  EXPECT_EQ(Map(u"C:\\Fill\\host.TXT"), Drive() + "/Fill/host.TXT");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  WriteHostFile(Drive() + "/Fill/Host.txt", "x");
  EXPECT_EQ(Map(u"C:\\FILL\\host.TXT"), Drive() + "/Fill/Host.txt");
}

TEST_F(PathMapTest, HostPathsMapBack) {
  EXPECT_EQ(zx::path::HostToWindows(Drive()), u"C:\\");
  EXPECT_EQ(zx::path::HostToWindows(Drive() + "/Windows/INF/x.inf"), u"C:\\Windows\\INF\\x.inf");
  EXPECT_EQ(zx::path::HostToWindows("/"), u"Z:\\");
  EXPECT_EQ(zx::path::HostToWindows("/usr/../etc/hosts"), u"Z:\\etc\\hosts");
  // Leaving the drive folder by ".." leaves drive C: too.
  EXPECT_EQ(zx::path::HostToWindows(Drive() + "/../registry"), zx::path::HostToWindows(root() + "/registry"));
  EXPECT_EQ(zx::path::HostToWindows(Drive() + "/../registry").substr(0, 3), u"Z:\\");
  EXPECT_EQ(zx::path::HostToWindows(Drive() + "/"), u"C:\\");
}

TEST_F(PathMapTest, PathsRoundTrip) {
  const std::u16string paths[] = {u"C:\\", u"C:\\Windows", u"C:\\Program Files (x86)\\Vendor\\app.exe",
                                  u"C:\\Users\\caf\u00E9\\\u4E2D\u6587.txt", u"Z:\\", u"Z:\\usr\\share\\doc"};
  for (const std::u16string& path : paths) {
    std::string host;
    ASSERT_TRUE(zx::path::WindowsToHost(path, host));
    EXPECT_EQ(zx::path::HostToWindows(host), path);
  }
}

TEST_F(PathMapTest, CurrentFolderStartsAtTheProgramFolder) {
  EXPECT_EQ(Current(), zx::path::HostToWindows(zx::machine::ProgramFolder()));
  ASSERT_TRUE(SetCurrentDirectoryW(u"c:/windows/"));
  EXPECT_EQ(Current(), u"C:\\windows");
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\"));
  EXPECT_EQ(Current(), u"C:\\");
  // A new machine root starts over.
  const zx::test::TempFolder other;
  zx::machine::UseRoot(other.path());
  EXPECT_EQ(Current(), zx::path::HostToWindows(zx::machine::ProgramFolder()));
}

TEST_F(PathMapTest, SetCurrentDirectoryRefusesWhatIsNoFolder) {
  WriteHostFile(Drive() + "/file.txt", "x");
  EXPECT_FALSE(SetCurrentDirectoryW(u"C:\\file.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  EXPECT_FALSE(SetCurrentDirectoryW(u"C:\\missing"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(SetCurrentDirectoryW(u"C:\\missing\\deeper"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(PathMapTest, CurrentDirectoryAnswersByTheBufferRule) {
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\Windows"));
  WCHAR small[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(GetCurrentDirectoryW(4, small), 11u);  // needed, terminator included
  EXPECT_EQ(small[0], u'#');
  WCHAR exact[11];
  EXPECT_EQ(GetCurrentDirectoryW(11, exact), 10u);
  EXPECT_EQ(std::u16string(exact), u"C:\\Windows");
  char narrow[11];
  EXPECT_EQ(GetCurrentDirectoryA(11, narrow), 10u);
  EXPECT_STREQ(narrow, "C:\\Windows");
}

TEST_F(PathMapTest, FullPathNamesAreLexical) {
  ASSERT_TRUE(SetCurrentDirectoryW(u"C:\\Windows"));
  struct Row {
    std::u16string_view in;
    std::u16string_view full;
    std::u16string_view filePart;  // empty: none
  };
  const Row rows[] = {
      {u"x.txt", u"C:\\Windows\\x.txt", u"x.txt"},
      {u"..\\..\\a\\b", u"C:\\a\\b", u"b"},
      {u"C:/dir/", u"C:\\dir\\", u""},
      {u"\\", u"C:\\", u""},
      {u"Z:", u"Z:\\", u""},
      {u"q:\\A\\.\\B.", u"Q:\\A\\B", u"B"},
      {u"C:\\nul.txt", u"C:\\nul.txt", u"nul.txt"},
  };
  for (const Row& row : rows) {
    WCHAR buffer[MAX_PATH];
    LPWSTR filePart = reinterpret_cast<LPWSTR>(1);
    const std::u16string in(row.in);
    ASSERT_EQ(GetFullPathNameW(in.c_str(), MAX_PATH, buffer, &filePart), row.full.size());
    EXPECT_EQ(std::u16string_view(buffer), row.full);
    if (row.filePart.empty())
      EXPECT_EQ(filePart, nullptr);
    else
      EXPECT_EQ(std::u16string_view(filePart), row.filePart);
  }
  WCHAR tiny[3];
  EXPECT_EQ(GetFullPathNameW(u"x", 3, tiny, nullptr), 13u);
  EXPECT_EQ(GetFullPathNameW(u"\\\\server\\share", MAX_PATH, tiny, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_NETPATH));
}

TEST_F(PathMapTest, LongAndShortNamesAreThePathAsGiven) {
  WriteHostFile(Drive() + "/Program Files/Long Name.txt", "x");
  WCHAR buffer[MAX_PATH];
  EXPECT_EQ(GetLongPathNameW(u"c:\\program files\\long name.txt", buffer, MAX_PATH), 30u);
  EXPECT_EQ(std::u16string(buffer), u"c:\\program files\\long name.txt");
  EXPECT_EQ(GetShortPathNameW(u"C:\\Program Files\\Long Name.txt", buffer, MAX_PATH), 30u);
  EXPECT_EQ(GetShortPathNameW(u"C:\\Program Files\\none.txt", buffer, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(PathMapTest, TheMachineHasAWindowsInstallation) {
  WCHAR buffer[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryW(buffer, MAX_PATH), 10u);
  EXPECT_EQ(std::u16string(buffer), u"C:\\Windows");
  EXPECT_EQ(GetSystemDirectoryW(buffer, MAX_PATH), 19u);
  EXPECT_EQ(std::u16string(buffer), u"C:\\Windows\\System32");
  EXPECT_EQ(GetSystemWow64DirectoryW(buffer, MAX_PATH), 19u);
  EXPECT_EQ(std::u16string(buffer), u"C:\\Windows\\SysWOW64");
  EXPECT_EQ(GetSystemDirectoryW(buffer, 5), 20u);
  for (const char* folder : {"Windows/System32", "Windows/SysWOW64", "Windows/INF", "Program Files",
                             "Program Files (x86)", "ProgramData", "Users/Public/Documents"}) {
    Map(u"C:\\");
    EXPECT_TRUE(fs::is_directory(Drive() + "/" + folder)) << folder;
  }
}

TEST_F(PathMapTest, TempPathIsTheUsersAndIsMadeOnDemand) {
  const std::u16string expected = u"C:\\Users\\" + zx::folders::UserName() + u"\\AppData\\Local\\Temp\\";
  fs::remove_all(Drive() + "/Users");
  WCHAR buffer[MAX_PATH];
  ASSERT_EQ(GetTempPathW(MAX_PATH, buffer), expected.size());
  EXPECT_EQ(std::u16string(buffer), expected);
  EXPECT_TRUE(fs::is_directory(Map(expected)));
  EXPECT_EQ(GetTempPathW(3, buffer), expected.size() + 1);
}

TEST_F(PathMapTest, DrivesAreCAndZ) {
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 25));
  WCHAR strings[16];
  EXPECT_EQ(GetLogicalDriveStringsW(16, strings), 8u);
  EXPECT_EQ(std::u16string(strings, 9), std::u16string(u"C:\\\0Z:\\\0\0", 9));
  EXPECT_EQ(GetLogicalDriveStringsW(8, strings), 9u);
  EXPECT_EQ(GetDriveTypeW(u"C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveTypeW(u"z:"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveTypeW(nullptr), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveTypeW(u"D:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(GetDriveTypeW(u"C:\\Windows"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST_F(PathMapTest, DrivesNamedByTheProfileAreListedTypedAndNotReady) {
  WriteHostFile(root() + "/machine.ini", "[Drives]\nd = CDROM\nN=remote\nE=removable\nF=floppy\nC=remote\nZ=cdrom\n");
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4) | (1u << 13) | (1u << 25));
  WCHAR strings[32];
  EXPECT_EQ(GetLogicalDriveStringsW(32, strings), 20u);
  EXPECT_EQ(std::u16string(strings, 21), std::u16string(u"C:\\\0D:\\\0E:\\\0N:\\\0Z:\\\0\0", 21));
  EXPECT_EQ(GetLogicalDriveStringsW(20, strings), 21u);
  const struct {
    const char16_t* root;
    UINT type;
  } table[] = {{u"C:\\", DRIVE_FIXED},       {u"Z:\\", DRIVE_FIXED},     {u"d:\\", DRIVE_CDROM},
               {u"D:", DRIVE_CDROM},          {u"N:/", DRIVE_REMOTE},      {u"E:\\", DRIVE_REMOVABLE},
               {u"F:\\", DRIVE_NO_ROOT_DIR}, {u"D:\\x", DRIVE_NO_ROOT_DIR}, {u"G:\\", DRIVE_NO_ROOT_DIR}};
  for (const auto& row : table)
    EXPECT_EQ(GetDriveTypeW(row.root), row.type) << std::string(row.root, row.root + 2);
  ULARGE_INTEGER total{};
  EXPECT_FALSE(GetDiskFreeSpaceExW(u"D:\\", nullptr, &total, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  EXPECT_FALSE(GetVolumeInformationW(u"N:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  EXPECT_FALSE(GetVolumeInformationW(u"G:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(PathMapTest, VolumesDescribeTheMappedFolder) {
  ULARGE_INTEGER available{}, total{}, free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(u"C:\\Windows", &available, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(free.QuadPart, total.QuadPart);
  EXPECT_LE(available.QuadPart, free.QuadPart);
  EXPECT_FALSE(GetDiskFreeSpaceExW(u"C:\\missing", &available, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  WCHAR label[32], fileSystem[8];
  DWORD serial = 0, maxComponent = 0, flags = 0;
  ASSERT_TRUE(GetVolumeInformationW(u"C:\\", label, 32, &serial, &maxComponent, &flags, fileSystem, 8));
  EXPECT_EQ(std::u16string(label), u"Windows");
  EXPECT_EQ(std::u16string(fileSystem), u"NTFS");
  EXPECT_EQ(maxComponent, 255u);
  EXPECT_EQ(flags & FILE_CASE_SENSITIVE_SEARCH, 0u);
  EXPECT_FALSE(GetVolumeInformationW(u"C:\\", label, 3, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_FALSE(GetVolumeInformationW(u"C:\\Windows", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
}

TEST_F(PathMapTest, EnvironmentIsAWindowsSession) {
  struct Row {
    const char16_t* name;
    std::u16string value;
  };
  const std::u16string profile = u"C:\\Users\\" + zx::folders::UserName();
  const Row rows[] = {
      {u"SystemRoot", u"C:\\Windows"},
      {u"WINDIR", u"C:\\Windows"},
      {u"ProgramFiles", u"C:\\Program Files"},
      {u"programfiles(x86)", u"C:\\Program Files (x86)"},
      {u"APPDATA", profile + u"\\AppData\\Roaming"},
      {u"LOCALAPPDATA", profile + u"\\AppData\\Local"},
      {u"TEMP", profile + u"\\AppData\\Local\\Temp"},
      {u"TMP", profile + u"\\AppData\\Local\\Temp"},
      {u"USERPROFILE", profile},
      {u"ALLUSERSPROFILE", u"C:\\ProgramData"},
      {u"ProgramData", u"C:\\ProgramData"},
      {u"USERNAME", zx::folders::UserName()},
      {u"SystemDrive", u"C:"},
  };
  for (const Row& row : rows) {
    WCHAR buffer[MAX_PATH];
    ASSERT_EQ(GetEnvironmentVariableW(row.name, buffer, MAX_PATH), row.value.size());
    EXPECT_EQ(std::u16string(buffer), row.value);
  }
  WCHAR computer[64];
  EXPECT_GT(GetEnvironmentVariableW(u"COMPUTERNAME", computer, 64), 0u);
}

TEST_F(PathMapTest, EnvironmentVariablesCanBeSetAndRemoved) {
  WCHAR buffer[16];
  EXPECT_EQ(GetEnvironmentVariableW(u"ZX_TEST_VALUE", buffer, 16), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
  ASSERT_TRUE(SetEnvironmentVariableW(u"ZX_TEST_VALUE", u"abcdef"));
  EXPECT_EQ(GetEnvironmentVariableW(u"zx_test_value", buffer, 16), 6u);
  EXPECT_EQ(GetEnvironmentVariableW(u"ZX_TEST_VALUE", buffer, 6), 7u);
  char narrow[16];
  EXPECT_EQ(GetEnvironmentVariableA("ZX_TEST_VALUE", narrow, 16), 6u);
  EXPECT_STREQ(narrow, "abcdef");
  ASSERT_TRUE(SetEnvironmentVariableW(u"ZX_TEST_VALUE", u""));
  EXPECT_EQ(GetEnvironmentVariableW(u"ZX_TEST_VALUE", buffer, 16), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(SetEnvironmentVariableW(u"ZX_TEST_VALUE", nullptr));
  EXPECT_EQ(GetEnvironmentVariableW(u"ZX_TEST_VALUE", buffer, 16), 0u);
  EXPECT_FALSE(SetEnvironmentVariableW(u"A=B", u"x"));
}

TEST_F(PathMapTest, ExpandEnvironmentStringsKeepsUnknownNames) {
  ASSERT_TRUE(SetEnvironmentVariableW(u"ZX_EXPAND", u"v"));
  struct Row {
    std::u16string_view in;
    std::u16string_view out;
  };
  const Row rows[] = {
      {u"%SystemRoot%\\INF", u"C:\\Windows\\INF"},
      {u"%zx_expand%%ZX_EXPAND%", u"vv"},
      {u"%UNDEFINED%", u"%UNDEFINED%"},
      {u"%UNDEFINED%ZX_EXPAND%", u"%UNDEFINEDv"},
      {u"100%", u"100%"},
      {u"%%", u"%%"},
      {u"a%ZX_EXPAND", u"a%ZX_EXPAND"},
      {u"", u""},
  };
  for (const Row& row : rows) {
    WCHAR buffer[64];
    const std::u16string in(row.in);
    EXPECT_EQ(ExpandEnvironmentStringsW(in.c_str(), buffer, 64), row.out.size() + 1);
    EXPECT_EQ(std::u16string_view(buffer), row.out);
  }
  WCHAR small[4];
  EXPECT_EQ(ExpandEnvironmentStringsW(u"%SystemRoot%", small, 4), 11u);
  char narrow[32];
  EXPECT_EQ(ExpandEnvironmentStringsA("%windir%\\x", narrow, 32), 13u);
  EXPECT_STREQ(narrow, "C:\\Windows\\x");
  SetEnvironmentVariableW(u"ZX_EXPAND", nullptr);
}

}  // namespace
