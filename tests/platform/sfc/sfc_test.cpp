// The file protection query: the Windows folder is guarded, the rest is not, and a service
// that is off gives no answer.
#include <gtest/gtest.h>

#include "errhandlingapi.h"
#include "machine_fixture.h"
#include "sfc.h"

namespace {

class FileProtectionTest : public zx::test::MachineTest {};

TEST_F(FileProtectionTest, FilesOfTheWindowsFolderAreProtected) {
  SetLastError(0);
  EXPECT_TRUE(SfcIsFileProtected(nullptr, u"C:\\Windows\\System32\\kernel32.dll"));
  EXPECT_TRUE(SfcIsFileProtected(nullptr, u"c:\\WINDOWS\\notes.txt"));  // whether it exists or not
  EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(FileProtectionTest, OtherFilesAreNot) {
  for (const char16_t* path : {u"C:\\Data\\notes.txt", u"C:\\Windows", u"C:\\WindowsOld\\a.dll",
                               u"C:\\Windows\\..\\escape.dll", u"Z:\\etc\\hosts"}) {
    SetLastError(0);
    EXPECT_FALSE(SfcIsFileProtected(nullptr, path));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  }
}

TEST_F(FileProtectionTest, NoAnswerWithoutAServiceOrAPath) {
  EXPECT_FALSE(SfcIsFileProtected(nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(SfcIsFileProtected(nullptr, u"C:\\bad|name.dll"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  WriteHostFile(root() + "/machine.ini", "[Machine]\nFileProtection=0\n");
  EXPECT_FALSE(SfcIsFileProtected(nullptr, u"C:\\Windows\\System32\\kernel32.dll"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
}

}  // namespace
