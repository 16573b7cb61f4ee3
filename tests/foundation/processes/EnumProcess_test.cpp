// CEnumProcess and CProcessLister: the walk is by Toolhelp (the process-status library has
// no unsuffixed file-name query), a started child is found by its program file name, and
// the lists hand out records by cursor or index with their end codes.
#include <gtest/gtest.h>

#include "EnumProcess.h"
#include "ProcessLister.h"
#include "child_program.h"
#include "machine_fixture.h"
#include <winprocess.h>

namespace {

class ProcessListTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    child_ = program_.Start();
    ASSERT_NE(child_.hProcess, nullptr);
  }
  // The tail of the child's path: a backslash and its file name.
  CString PathTail() const {
    const std::u16string name = program_.Name().substr(0, program_.Name().rfind(u".exe"));
    return CString(_T("\\")) + name.c_str();
  }
  ChildProgram program_;
  PROCESS_INFORMATION child_{};
};

TEST_F(ProcessListTest, WalkerUsesToolhelpAndNamesTheChildByItsProgramFile) {
  CEnumProcess walker;
  EXPECT_EQ(walker.GetMethod(), static_cast<DWORD>(CEnumProcess::ENUM_METHOD_TOOLHELP));
  CEnumProcess::CProcessEntry entry;
  bool found = false;
  for (BOOL more = walker.FirstProcess(&entry); more; more = walker.NextProcess(&entry)) {
    if (entry.dwPID != child_.dwProcessId) continue;
    found = true;
    EXPECT_EQ(entry.sFilename, CString(program_.Name().c_str()));
    EXPECT_EQ(entry.hTask16, 0);
  }
  EXPECT_TRUE(found);
}

TEST_F(ProcessListTest, FirstModuleIsTheChildsExecutable) {
  CEnumProcess walker;
  CEnumProcess::CModuleEntry module;
  ASSERT_TRUE(walker.FirstModule(child_.dwProcessId, &module));
  EXPECT_EQ(module.sFilename.Right(PathTail().GetLength()), PathTail());
  EXPECT_NE(module.pLoadBase, nullptr);
  EXPECT_EQ(module.pPreferredBase, 0u);  // not a PE image
  EXPECT_FALSE(walker.FirstModule(0x7FFFFFF0, &module));
}

TEST_F(ProcessListTest, CursorHandsOutEveryRecordThenEndOfList) {
  CProcessLister lister;
  ASSERT_TRUE(lister.Init(FALSE));
  RecordList* list = lister.CreateProcessList();
  ASSERT_NE(list, nullptr);
  const int count = lister.GetProcessCount(list);
  ASSERT_GT(count, 1);
  ProcessRecord record{};
  for (int i = 0; i < count; ++i) ASSERT_TRUE(lister.GetNextProcess(list, &record, LISTER_CURSOR));
  EXPECT_FALSE(lister.GetNextProcess(list, &record, LISTER_CURSOR));
  EXPECT_EQ(lister.GetLastErrorCode(), static_cast<DWORD>(LISTER_END_OF_LIST));
  EXPECT_FALSE(lister.GetNextProcess(list, &record, static_cast<DWORD>(count) + 1));
  EXPECT_EQ(lister.GetLastErrorCode(), static_cast<DWORD>(LISTER_BEYOND_END));
  EXPECT_TRUE(lister.GetNextProcess(list, &record, 0));
  EXPECT_EQ(lister.GetLastErrorCode(), static_cast<DWORD>(LISTER_OK));
  lister.FreeList(list);
}

TEST_F(ProcessListTest, ModuleListOfAMissingProcessIsEmptyWithOpenFailure) {
  CProcessLister lister;
  ASSERT_TRUE(lister.Init(TRUE));
  RecordList* list = lister.CreateModuleList(0x7FFFFFF0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(lister.GetLastErrorCode(), static_cast<DWORD>(LISTER_OPEN_FAILED));
  EXPECT_EQ(lister.GetModuleCount(list), 0);
  ModuleRecord record{};
  EXPECT_FALSE(lister.GetNextModule(list, &record, LISTER_CURSOR));
  EXPECT_EQ(lister.GetLastErrorCode(), static_cast<DWORD>(LISTER_END_OF_LIST));
  lister.FreeList(list);
}

TEST_F(ProcessListTest, ModuleListOfTheChildStartsWithItsExecutable) {
  CProcessLister lister;
  ASSERT_TRUE(lister.Init(TRUE));
  RecordList* list = lister.CreateModuleList(child_.dwProcessId);
  ASSERT_NE(list, nullptr);
  ModuleRecord record{};
  ASSERT_TRUE(lister.GetNextModule(list, &record, LISTER_CURSOR));
  EXPECT_EQ(CString(record.szPath).Right(PathTail().GetLength()), PathTail());
  EXPECT_GT(record.dwImageSize, 0u);
  lister.FreeList(list);
}

TEST_F(ProcessListTest, CopiedListerHoldsItsOwnLibraries) {
  CProcessLister first;
  ASSERT_TRUE(first.Init(TRUE));
  {
    CProcessLister copy(first);
    RecordList* list = copy.CreateProcessList();
    EXPECT_GT(copy.GetProcessCount(list), 0);
    copy.FreeList(list);
  }
  RecordList* list = first.CreateProcessList();
  EXPECT_GT(first.GetProcessCount(list), 0);
  first.FreeList(list);
}

TEST_F(ProcessListTest, FindByNameIgnoresCase) {
  CStringArray names;
  CString mixed = program_.Name().c_str();
  mixed.MakeUpper();
  ASSERT_TRUE(FindProcessesByName(mixed, names));
  ASSERT_EQ(names.GetSize(), 1);
  EXPECT_EQ(names[0], CString(program_.Name().c_str()));
  EXPECT_FALSE(FindProcessesByName(CString(_T("nosuchprogram.exe")), names));
  EXPECT_EQ(names.GetSize(), 0);
}

}  // namespace
