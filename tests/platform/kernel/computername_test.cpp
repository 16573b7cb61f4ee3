// The computer's name: the machine profile's name or the host's, upper-cased and cut as a
// NetBIOS name is, and the Win32 buffer rules of GetComputerNameW/A.
#include <gtest/gtest.h>

#include <string>

#include "machine_fixture.h"
#include "windows.h"

namespace {

class ComputerName : public zx::test::MachineTest {
 protected:
  void WriteProfile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  std::u16string Read() {
    WCHAR name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    EXPECT_TRUE(GetComputerNameW(name, &size));
    EXPECT_EQ(size, std::char_traits<char16_t>::length(name));
    return name;
  }
};

TEST_F(ComputerName, TheProfilesNameIsUpperCased) {
  WriteProfile("[Machine]\r\nComputerName=Desk-07\r\n");
  EXPECT_EQ(Read(), u"DESK-07");
}

TEST_F(ComputerName, ALongOrQualifiedNameIsCut) {
  WriteProfile("[Machine]\r\nComputerName=engineering-workstation-42\r\n");
  EXPECT_EQ(Read(), u"ENGINEERING-WOR");
  WriteProfile("[Machine]\r\nComputerName=build7.corp.example\r\n");
  EXPECT_EQ(Read(), u"BUILD7");
}

TEST_F(ComputerName, WithoutAProfileTheHostsNameIsUsed) {
  const std::u16string name = Read();
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), static_cast<std::size_t>(MAX_COMPUTERNAME_LENGTH));
  EXPECT_EQ(name.find(u'.'), std::u16string::npos);
  for (char16_t c : name) EXPECT_FALSE(c >= u'a' && c <= u'z') << "a lower-case letter in the name";
}

TEST_F(ComputerName, ASmallBufferAsksForTheNameAndItsTerminator) {
  WriteProfile("[Machine]\r\nComputerName=LAB12\r\n");
  WCHAR name[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
  DWORD size = 5;
  SetLastError(0);
  EXPECT_FALSE(GetComputerNameW(name, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(name[0], u'x') << "nothing is written when the name does not fit";
  size = 0;
  EXPECT_FALSE(GetComputerNameW(nullptr, &size));
  EXPECT_EQ(size, 6u);
  EXPECT_TRUE(GetComputerNameW(name, &size));
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::u16string(name), u"LAB12");
}

TEST_F(ComputerName, MissingArgumentsAreInvalid) {
  WCHAR name[16];
  SetLastError(0);
  EXPECT_FALSE(GetComputerNameW(name, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DWORD size = 16;
  EXPECT_FALSE(GetComputerNameW(nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ComputerName, TheAnsiNameIsWindows1252) {
  WriteProfile("[Machine]\r\nComputerName=b\xC3\xBCro-pc\r\n");
  char name[16] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &size));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(std::string(name), "B\xDCRO-PC");
  size = 7;
  EXPECT_FALSE(GetComputerNameA(name, &size));
  EXPECT_EQ(size, 8u);
}

}  // namespace
