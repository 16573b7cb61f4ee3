// File handles and whole files: CreateFile dispositions and share modes, reading, writing,
// pointer, size and times, attributes, folders, deleting, moving, copying and temporary files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "machine_fixture.h"
#include "zx/handles.h"
#include "zx/machine.h"

namespace {

namespace fs = std::filesystem;

class FileTest : public zx::test::MachineTest {
 protected:
  static std::string Host(const std::string& belowDrive) { return zx::machine::DriveCFolder() + belowDrive; }
  static HANDLE Open(LPCWSTR path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0) {
    return CreateFileW(path, access, share, nullptr, disposition, flags, nullptr);
  }
  static std::string ReadAll(HANDLE file) {
    std::string bytes(4096, '\0');
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
    bytes.resize(read);
    return bytes;
  }
  static void Write(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
  }
  // The names in a host folder.
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

constexpr DWORD kRW = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

TEST_F(FileTest, DispositionsAnswerAsOnWindows) {
  struct Row {
    DWORD disposition;
    bool exists;
    DWORD error;        // last error after the call
    bool opens;
    std::string after;  // contents afterwards
  };
  const Row rows[] = {
      {CREATE_NEW, false, ERROR_SUCCESS, true, ""},
      {CREATE_NEW, true, ERROR_FILE_EXISTS, false, "old"},
      {CREATE_ALWAYS, false, ERROR_SUCCESS, true, ""},
      {CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, true, ""},
      {OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, false, "<none>"},
      {OPEN_EXISTING, true, ERROR_SUCCESS, true, "old"},
      {OPEN_ALWAYS, false, ERROR_SUCCESS, true, ""},
      {OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, true, "old"},
      {TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, false, "<none>"},
      {TRUNCATE_EXISTING, true, ERROR_SUCCESS, true, ""},
  };
  for (const Row& row : rows) {
    fs::remove(Host("/f.txt"));
    if (row.exists) WriteHostFile(Host("/f.txt"), "old");
    SetLastError(12345);
    HANDLE file = Open(u"C:\\f.txt", kRW, 0, row.disposition);
    EXPECT_EQ(GetLastError(), row.error) << row.disposition << " " << row.exists;
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, row.opens) << row.disposition << " " << row.exists;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    EXPECT_EQ(fs::exists(Host("/f.txt")) ? ReadHostFile(Host("/f.txt")) : "<none>", row.after);
  }
}

TEST_F(FileTest, BadRequestsAreRefused) {
  EXPECT_EQ(Open(u"C:\\missing\\f.txt", kRW, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Open(u"C:\\f.txt", kRW, 0, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(Open(u"C:\\f.txt", GENERIC_READ, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(Open(u"C:\\aux.txt", kRW, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(Open(u"C:\\Windows", GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE folder = Open(u"C:\\Windows", GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  ASSERT_NE(folder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileType(folder), static_cast<DWORD>(FILE_TYPE_DISK));
  CloseHandle(folder);
}

TEST_F(FileTest, ReadWriteAndThePointer) {
  HANDLE file = Open(u"C:\\data.bin", kRW, 0, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  Write(file, "0123456789");
  EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
  EXPECT_EQ(ReadAll(file), "23456789");
  EXPECT_EQ(ReadAll(file), "");  // end of file reads nothing, successfully
  EXPECT_EQ(SetFilePointer(file, -3, nullptr, FILE_END), 7u);
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_CURRENT), 6u);
  EXPECT_EQ(ReadAll(file), "6789");
  EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // The high part: 0x1_FFFFFFFF is reachable, its low part equals INVALID_SET_FILE_POINTER
  // and the last error tells it apart.
  LONG high = 1;
  SetLastError(99);
  EXPECT_EQ(SetFilePointer(file, -1, &high, FILE_BEGIN), 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(high, 1);
  // Without a high part the position must fit 32 bits.
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  LARGE_INTEGER distance{};
  LARGE_INTEGER position{};
  distance.QuadPart = 4;
  ASSERT_TRUE(SetFilePointerEx(file, distance, &position, FILE_BEGIN));
  EXPECT_EQ(position.QuadPart, 4);
  ASSERT_TRUE(SetEndOfFile(file));
  DWORD sizeHigh = 7;
  EXPECT_EQ(GetFileSize(file, &sizeHigh), 4u);
  EXPECT_EQ(sizeHigh, 0u);
  LARGE_INTEGER size{};
  ASSERT_TRUE(GetFileSizeEx(file, &size));
  EXPECT_EQ(size.QuadPart, 4);
  EXPECT_TRUE(FlushFileBuffers(file));
  CloseHandle(file);
  EXPECT_EQ(ReadHostFile(Host("/data.bin")), "0123");
}

TEST_F(FileTest, HandlesKeepToTheirAccess) {
  WriteHostFile(Host("/a.txt"), "abc");
  HANDLE reader = Open(u"C:\\a.txt", GENERIC_READ, kShareAll, OPEN_EXISTING);
  HANDLE writer = Open(u"C:\\a.txt", GENERIC_WRITE, kShareAll, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  char byte = 'x';
  EXPECT_FALSE(WriteFile(reader, &byte, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(ReadFile(writer, &byte, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(SetEndOfFile(reader));
  OVERLAPPED overlapped{};
  EXPECT_FALSE(ReadFile(reader, &byte, 1, &n, &overlapped));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(reader);
  CloseHandle(writer);
  EXPECT_FALSE(ReadFile(reader, &byte, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetFileType(reader), static_cast<DWORD>(FILE_TYPE_UNKNOWN));
}

TEST_F(FileTest, ShareModesRefuseConflictingOpens) {
  struct Row {
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool secondOpens;
  };
  const Row rows[] = {
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, kShareAll, false},
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE, kShareAll, true},
      {GENERIC_WRITE, 0, GENERIC_READ, kShareAll, false},
      {GENERIC_READ, kShareAll, GENERIC_WRITE, FILE_SHARE_WRITE, false},  // second denies the first's read
      {GENERIC_READ, kShareAll, GENERIC_WRITE, FILE_SHARE_READ, true},
      {0, 0, kRW, 0, true},  // opens without data access never conflict
      {kRW, 0, 0, 0, true},
      {DELETE, FILE_SHARE_READ, GENERIC_READ, kShareAll, true},
      {GENERIC_READ, FILE_SHARE_READ, DELETE, kShareAll, false},
      {FILE_GENERIC_READ, FILE_SHARE_READ, FILE_GENERIC_WRITE, kShareAll, false},
      // Conflicts at the end or the start of neighbouring bytes the second open tests at once.
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, kRW, kShareAll, false},
      {GENERIC_WRITE | DELETE, kShareAll, kRW, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {kRW | DELETE, kShareAll, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
  };
  WriteHostFile(Host("/shared.txt"), "x");
  for (const Row& row : rows) {
    HANDLE first = Open(u"C:\\shared.txt", row.firstAccess, row.firstShare, OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open(u"C:\\SHARED.TXT", row.secondAccess, row.secondShare, OPEN_EXISTING);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, row.secondOpens)
        << std::hex << row.firstAccess << "/" << row.firstShare << " then " << row.secondAccess << "/" << row.secondShare;
    if (second == INVALID_HANDLE_VALUE) EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    else CloseHandle(second);
    CloseHandle(first);
    // Closing the first handle ends the conflict.
    second = Open(u"C:\\shared.txt", row.secondAccess, row.secondShare, OPEN_EXISTING);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
  }
}

TEST_F(FileTest, AFileJustMadeKeepsItsShareMode) {
  HANDLE made = Open(u"C:\\made.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(u"C:\\MADE.txt", GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(made);
}

TEST_F(FileTest, OpenHandlesWithoutDeleteSharingKeepTheFile) {
  WriteHostFile(Host("/busy.txt"), "x");
  HANDLE file = Open(u"C:\\busy.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_FALSE(DeleteFileW(u"C:\\busy.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(MoveFileW(u"C:\\busy.txt", u"C:\\moved.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // The 16-bit exclusive open is how callers ask whether a file is in use.
  EXPECT_EQ(_lopen("C:\\busy.txt", OF_READWRITE | OF_SHARE_EXCLUSIVE), HFILE_ERROR);
  CloseHandle(file);
  const HFILE exclusive = _lopen("C:\\busy.txt", OF_READWRITE | OF_SHARE_EXCLUSIVE);
  ASSERT_NE(exclusive, HFILE_ERROR);
  EXPECT_EQ(Open(u"C:\\busy.txt", GENERIC_READ, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(_lclose(exclusive), 0);
  EXPECT_EQ(_lclose(exclusive), HFILE_ERROR);

  file = Open(u"C:\\busy.txt", GENERIC_READ, kShareAll, OPEN_EXISTING);
  EXPECT_TRUE(DeleteFileW(u"C:\\busy.txt"));
  CloseHandle(file);
  EXPECT_FALSE(fs::exists(Host("/busy.txt")));
}

TEST_F(FileTest, DeleteOnCloseRemovesTheFile) {
  HANDLE file = Open(u"C:\\scratch.tmp", kRW, 0, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fs::exists(Host("/scratch.tmp")));
  const std::size_t open = zx::OpenHandleCount();
  CloseHandle(file);
  EXPECT_EQ(zx::OpenHandleCount(), open - 1);
  EXPECT_FALSE(fs::exists(Host("/scratch.tmp")));
}

TEST_F(FileTest, TimesRoundTrip) {
  HANDLE file = Open(u"C:\\t.txt", kRW, 0, CREATE_NEW);
  const FILETIME written{0x1B4A6000u, 0x01D5C03Fu};  // 2020-01-01 00:00:00 UTC
  const FILETIME accessed{0x1B4A6000u + 10000000u, 0x01D5C03Fu};
  ASSERT_TRUE(SetFileTime(file, nullptr, &accessed, &written));
  FILETIME creation{}, access{}, write{};
  ASSERT_TRUE(GetFileTime(file, &creation, &access, &write));
  EXPECT_EQ(write.dwLowDateTime, written.dwLowDateTime);
  EXPECT_EQ(write.dwHighDateTime, written.dwHighDateTime);
  EXPECT_EQ(access.dwLowDateTime, accessed.dwLowDateTime);
  // A zero time leaves that time alone.
  const FILETIME keep{0, 0};
  ASSERT_TRUE(SetFileTime(file, nullptr, &keep, &keep));
  ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &write));
  EXPECT_EQ(write.dwLowDateTime, written.dwLowDateTime);
  CloseHandle(file);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(u"C:\\t.txt", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, written.dwLowDateTime);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_FALSE(GetFileAttributesExW(u"C:\\t.txt", GetFileExMaxInfoLevel, &data));
}

TEST_F(FileTest, AttributesFollowWindows) {
  WriteHostFile(Host("/f.txt"), "12345");
  EXPECT_EQ(GetFileAttributesW(u"C:\\f.txt"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesW(u"C:\\Windows"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesW(u"C:\\"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\F.TXT"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesW(u"C:\\none.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesW(u"C:\\none\\f.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  ASSERT_TRUE(SetFileAttributesW(u"C:\\f.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(u"C:\\f.txt"), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(SetFileAttributesW(u"C:\\f.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(u"C:\\f.txt"), FILE_ATTRIBUTE_ARCHIVE);

  ASSERT_TRUE(SetFileAttributesW(u"C:\\f.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesW(u"C:\\f.txt"), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(fs::status(Host("/f.txt")).permissions() & fs::perms::all & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
            fs::perms::none);
  EXPECT_EQ(Open(u"C:\\f.txt", GENERIC_WRITE, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DeleteFileW(u"C:\\f.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE reader = Open(u"C:\\f.txt", GENERIC_READ, kShareAll, OPEN_EXISTING);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  ASSERT_TRUE(SetFileAttributesA("C:\\f.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileW(u"C:\\f.txt"));
}

TEST_F(FileTest, LinksShowAsReparsePoints) {
  WriteHostFile(Host("/target/f.txt"), "12345");
  fs::create_symlink(Host("/target/f.txt"), Host("/file-link"));
  fs::create_directory_symlink(Host("/target"), Host("/folder-link"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\file-link"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(GetFileAttributesW(u"C:\\folder-link"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(GetFileAttributesW(u"C:\\folder-link\\f.txt"), FILE_ATTRIBUTE_ARCHIVE);
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW(u"C:\\folder-link", &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(found.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  FindClose(find);
  // A link whose target is gone is still listed, and goes as a file.
  fs::create_symlink(Host("/nowhere"), Host("/target/dangling"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\target\\dangling"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT);
  find = FindFirstFileW(u"C:\\target\\d*", &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(found.cFileName), u"dangling");
  FindClose(find);
  EXPECT_TRUE(DeleteFileW(u"C:\\target\\dangling"));
  EXPECT_FALSE(fs::is_symlink(Host("/target/dangling")));
  // One whose target would lie outside the drive stays out of reach.
  fs::create_symlink("/nowhere-outside", Host("/target/outside"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\target\\outside"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(FileTest, InformationByHandle) {
  WriteHostFile(Host("/f.txt"), "12345");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\f.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  HANDLE file = Open(u"C:\\f.txt", GENERIC_READ, kShareAll, OPEN_EXISTING);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  BY_HANDLE_FILE_INFORMATION info{};
  ASSERT_TRUE(GetFileInformationByHandle(file, &info));
  EXPECT_EQ(info.dwFileAttributes, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(info.nFileSizeHigh, 0u);
  EXPECT_EQ(info.nFileSizeLow, 5u);
  EXPECT_EQ(info.nNumberOfLinks, 1u);
  FILETIME written{};
  ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
  EXPECT_EQ(info.ftLastWriteTime.dwLowDateTime, written.dwLowDateTime);
  EXPECT_EQ(info.ftLastWriteTime.dwHighDateTime, written.dwHighDateTime);
  // The same file by another handle has the same volume and index.
  HANDLE again = Open(u"C:\\F.TXT", GENERIC_READ, kShareAll, OPEN_EXISTING);
  BY_HANDLE_FILE_INFORMATION other{};
  ASSERT_TRUE(GetFileInformationByHandle(again, &other));
  EXPECT_EQ(other.dwVolumeSerialNumber, info.dwVolumeSerialNumber);
  EXPECT_EQ(other.nFileIndexLow, info.nFileIndexLow);
  EXPECT_EQ(other.nFileIndexHigh, info.nFileIndexHigh);
  CloseHandle(again);
  CloseHandle(file);
  EXPECT_FALSE(GetFileInformationByHandle(file, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetFileAttributesW(u"C:\\f.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileTest, HiddenAndSystemAreKept) {
  WriteHostFile(Host("/h.txt"), "x");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\h.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  if (GetFileAttributesW(u"C:\\h.txt") == FILE_ATTRIBUTE_NORMAL)
    GTEST_SKIP() << "the host filesystem keeps no user extended attributes";
  EXPECT_EQ(GetFileAttributesW(u"C:\\h.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(SetFileAttributesW(u"C:\\Windows", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesW(u"C:\\Windows"),
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  // A read-only folder still takes new files, as on Windows.
  HANDLE file = Open(u"C:\\Windows\\new.txt", GENERIC_WRITE, 0, CREATE_NEW);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  file = Open(u"C:\\created.txt", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN);
  CloseHandle(file);
  EXPECT_EQ(GetFileAttributesW(u"C:\\created.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  // Copies carry them.
  ASSERT_TRUE(CopyFileW(u"C:\\h.txt", u"C:\\h2.txt", TRUE));
  EXPECT_EQ(GetFileAttributesW(u"C:\\h2.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(FileTest, FoldersAreMadeAndRemoved) {
  EXPECT_TRUE(CreateDirectoryW(u"C:\\Data", nullptr));
  EXPECT_FALSE(CreateDirectoryW(u"c:\\data", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW(u"C:\\a\\b\\c", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(CreateDirectoryA("C:\\Data\\Sub\\", nullptr));
  EXPECT_TRUE(fs::is_directory(Host("/Data/Sub")));

  EXPECT_FALSE(RemoveDirectoryW(u"C:\\Data"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  WriteHostFile(Host("/Data/file.txt"), "x");
  EXPECT_FALSE(RemoveDirectoryW(u"C:\\Data\\file.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  EXPECT_FALSE(DeleteFileW(u"C:\\Data\\Sub"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(RemoveDirectoryW(u"C:\\"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(RemoveDirectoryW(u"C:\\Data\\None"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(RemoveDirectoryA("C:\\DATA\\SUB"));
  EXPECT_FALSE(DeleteFileW(u"C:\\Data\\none.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(DeleteFileA("C:\\Data\\FILE.txt"));
  EXPECT_TRUE(RemoveDirectoryW(u"C:\\Data"));
  EXPECT_FALSE(fs::exists(Host("/Data")));
}

TEST_F(FileTest, MovesRenameReplaceOrRecord) {
  WriteHostFile(Host("/a.txt"), "a");
  WriteHostFile(Host("/b.txt"), "b");
  EXPECT_FALSE(MoveFileW(u"C:\\a.txt", u"C:\\b.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileExW(u"C:\\a.txt", u"C:\\B.TXT", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Names(Host("")), (std::vector<std::string>{"Program Files", "Program Files (x86)", "ProgramData",
                                                        "Users", "Windows", "b.txt"}));
  EXPECT_EQ(ReadHostFile(Host("/b.txt")), "a");
  // A new spelling of the same name renames it.
  EXPECT_TRUE(MoveFileW(u"C:\\b.txt", u"C:\\Bee.TXT"));
  EXPECT_TRUE(MoveFileW(u"C:\\bee.txt", u"C:\\BEE.txt"));
  EXPECT_TRUE(fs::exists(Host("/BEE.txt")));
  EXPECT_FALSE(fs::exists(Host("/Bee.TXT")));
  EXPECT_TRUE(MoveFileW(u"C:\\BEE.txt", u"C:\\Windows\\moved.txt"));
  EXPECT_TRUE(MoveFileW(u"C:\\Windows\\INF", u"C:\\INF2"));
  EXPECT_TRUE(fs::is_directory(Host("/INF2")));
  EXPECT_FALSE(MoveFileW(u"C:\\none", u"C:\\x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(MoveFileW(u"C:\\Windows\\moved.txt", u"C:\\none\\x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  EXPECT_TRUE(MoveFileExW(u"C:\\Windows\\moved.txt", u"C:\\later.txt", MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_TRUE(MoveFileExW(u"C:\\Windows\\x.sys", nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_EQ(ReadHostFile(root() + "/pending-renames"),
            "C:\\Windows\\moved.txt\tC:\\later.txt\nC:\\Windows\\x.sys\t\n");
  EXPECT_TRUE(fs::exists(Host("/Windows/moved.txt")));
  EXPECT_FALSE(MoveFileExW(u"C:\\Windows\\moved.txt", nullptr, 0));
}

TEST_F(FileTest, CopyFileRespectsFailIfExists) {
  WriteHostFile(Host("/src.txt"), "new contents");
  WriteHostFile(Host("/dst.txt"), "old");
  EXPECT_FALSE(CopyFileW(u"C:\\src.txt", u"C:\\dst.txt", TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadHostFile(Host("/dst.txt")), "old");
  EXPECT_TRUE(CopyFileW(u"C:\\SRC.txt", u"C:\\DST.txt", FALSE));
  EXPECT_EQ(ReadHostFile(Host("/dst.txt")), "new contents");
  EXPECT_TRUE(CopyFileA("C:\\src.txt", "C:\\Windows\\third.txt", TRUE));
  EXPECT_EQ(ReadHostFile(Host("/Windows/third.txt")), "new contents");
  EXPECT_EQ(fs::last_write_time(Host("/src.txt")), fs::last_write_time(Host("/Windows/third.txt")));
}

TEST_F(FileTest, FailedCopiesLeaveNothingBehind) {
  WriteHostFile(Host("/src.txt"), "x");
  EXPECT_FALSE(CopyFileW(u"C:\\src.txt", u"C:\\src.txt", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(CopyFileW(u"C:\\none.txt", u"C:\\dst.txt", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CopyFileW(u"C:\\src.txt", u"C:\\none\\dst.txt", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CopyFileW(u"C:\\Windows", u"C:\\dst", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  WriteHostFile(Host("/ro.txt"), "keep");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\ro.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(CopyFileW(u"C:\\src.txt", u"C:\\ro.txt", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadHostFile(Host("/ro.txt")), "keep");
  HANDLE locked = Open(u"C:\\src.txt", GENERIC_READ, 0, OPEN_EXISTING);
  EXPECT_FALSE(CopyFileW(u"C:\\src.txt", u"C:\\dst.txt", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(locked);
  EXPECT_EQ(Names(Host("")), (std::vector<std::string>{"Program Files", "Program Files (x86)", "ProgramData",
                                                        "Users", "Windows", "ro.txt", "src.txt"}));
}

TEST_F(FileTest, TemporaryFileNames) {
  WCHAR temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  WCHAR first[MAX_PATH];
  WCHAR second[MAX_PATH];
  const std::size_t handles = zx::OpenHandleCount();
  const UINT a = GetTempFileNameW(temp, u"zxabc", 0, first);
  const UINT b = GetTempFileNameW(temp, u"zxabc", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(std::u16string(first), std::u16string(second));
  EXPECT_EQ(std::u16string(first).substr(0, std::u16string(temp).size() + 3), std::u16string(temp) + u"zxa");
  EXPECT_EQ(GetFileAttributesW(first), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(zx::OpenHandleCount(), handles);  // the files are made and closed

  ASSERT_EQ(GetTempFileNameW(u"C:\\Windows", u"ab", 0x1001A, first), 0x1001Au);
  EXPECT_EQ(std::u16string(first), u"C:\\Windows\\ab1A.tmp");
  EXPECT_EQ(GetFileAttributesW(first), INVALID_FILE_ATTRIBUTES);  // a given number creates nothing
  char narrow[MAX_PATH];
  ASSERT_EQ(GetTempFileNameA("C:\\Windows\\", nullptr, 0xBEEF, narrow), 0xBEEFu);
  EXPECT_STREQ(narrow, "C:\\Windows\\BEEF.tmp");
  EXPECT_EQ(GetTempFileNameW(u"C:\\none", u"x", 0, first), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
}

TEST_F(FileTest, NarrowNamesAreWindows1252) {
  HANDLE file = CreateFileA("C:\\caf\xE9 \x80.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(fs::exists(Host("/caf\xC3\xA9 \xE2\x82\xAC.txt")));
}

}  // namespace
