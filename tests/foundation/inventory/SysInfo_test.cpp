// The system description: computer and board from the inventory, processor and edition from
// the registry, memory in the language's units. The program lies beside its own copy of the
// shared library, so the language ini it writes there is the one the library reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "HardwareHash.h"
#include "Registry.h"
#include "SysInfo.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "winuser.h"
#include "zx/machine.h"
#include "zx/msgbox.h"

namespace {

class SysInfoTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    folder_ = zx::machine::ProgramFolder();
    Write("lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\n");
    Write("qvx.ini", "[QVX]\r\nIDS_PHY_MEM_GB_2=%.1f GB\r\nIDS_PHY_MEM_MB_2=%.1f MB\r\nIDS_PHY_MEM_KB_2=%.2f KB\r\n");
    previous_ = zx::user::SetMessageBoxResponder([this](const zx::user::MessageBoxCall& call) {
      boxes_.push_back(call.text);
      return IDOK;
    });
  }
  void TearDown() override {
    zx::user::SetMessageBoxResponder(previous_);
    for (const char* name : {"qvx.ini", "lang.lng"}) std::remove((folder_ + "/" + name).c_str());
  }
  void Write(const std::string& name, const std::string& text) { WriteHostFile(folder_ + "/" + name, text); }
  void Profile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  static void SetMachineText(LPCTSTR path, LPCTSTR name, LPCTSTR value) {
    CRegistry registry;
    ASSERT_TRUE(registry.CreateKey(HKEY_LOCAL_MACHINE, path));
    ASSERT_TRUE(registry.WriteString(name, value));
  }

  std::string folder_;
  std::vector<std::u16string> boxes_;
  zx::user::MessageBoxResponder previous_;
};

TEST_F(SysInfoTest, FillsTheFiveTextsInOrder) {
  Profile("[Win32_ComputerSystem]\nInstances=1\nModel=System Product Name\nManufacturer=System manufacturer\n"
          "[Win32_BaseBoard]\nInstances=1\nProduct=P5Q\nManufacturer=ASUSTeK Computer INC.\n"
          "[Memory]\nTotalPhys=8589934592\n");
  SetMachineText(_T("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"), _T("ProcessorNameString"),
                 _T("Intel(R) Core(TM)2 Quad CPU    Q9550  @ 2.83GHz"));
  SetMachineText(_T("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"), _T("ProductName"), _T("Windows 7 Ultimate"));
  CHardwareHash inventory;
  inventory.ComputeHash();
  CSysInfo info;
  info.Fill(inventory);
  EXPECT_EQ(info.m_strComputer, CString(_T("System manufacturer System Product Name")));
  EXPECT_EQ(info.m_strProcessor, CString(_T("Intel(R) Core(TM)2 Quad CPU    Q9550  @ 2.83GHz")));
  EXPECT_EQ(info.m_strMainBoard, CString(_T("ASUSTeK Computer INC. P5Q")));
  EXPECT_EQ(info.m_strWindowsEdition, CString(_T("Windows 7 Ultimate")));
  EXPECT_EQ(info.m_strMemory, CString(_T("8.0 GB")));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SysInfoTest, MissingInventoryAndRegistryGiveEmptyTexts) {
  Profile("[Memory]\nTotalPhys=3221225472\n[Win32_BaseBoard]\nInstances=1\nManufacturer=Intel Corporation\n");
  CHardwareHash inventory;  // nothing collected: empty lists
  CSysInfo info;
  info.Fill(inventory);
  EXPECT_TRUE(info.m_strComputer.IsEmpty());
  EXPECT_TRUE(info.m_strMainBoard.IsEmpty());
  EXPECT_TRUE(info.m_strProcessor.IsEmpty());
  EXPECT_TRUE(info.m_strWindowsEdition.IsEmpty());
  EXPECT_EQ(info.m_strMemory, CString(_T("3.0 GB")));
  // A board with a maker and no product: no stray blank.
  inventory.ComputeHash();
  info.Fill(inventory);
  EXPECT_EQ(info.m_strMainBoard, CString(_T("Intel Corporation")));
}

TEST_F(SysInfoTest, MemoryUnits) {
  EXPECT_EQ(CSysInfo::FormatMemoryText(8ull << 30), CString(_T("8.0 GB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1ull << 30), CString(_T("1.0 GB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText((1ull << 30) - 1), CString(_T("1024.0 MB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1048576), CString(_T("1.0 MB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1048575), CString(_T("1024.00 KB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1536), CString(_T("1.50 KB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1024), CString(_T("1.00 KB")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(1023), CString(_T("1023")));
  EXPECT_EQ(CSysInfo::FormatMemoryText(0), CString(_T("0")));
}

}  // namespace
