// ChildProgram: uniquely named copies of the process tests' child program.
#include "child_program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "zx/machine.h"
#include "zx/pathmap.h"

ChildProgram::ChildProgram(const std::string& hostFolder) {
  static std::atomic<int> counter{0};
  const std::string folder = hostFolder.empty() ? zx::machine::ProgramFolder() : hostFolder;
  const std::string base = "zxchild" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
  path_ = folder + "/" + base;
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(zx::machine::ProgramFolder() + "/zxprocesschild", path_,
                             std::filesystem::copy_options::overwrite_existing);
  name_ = std::u16string(base.begin(), base.end());
  if (folder == zx::machine::ProgramFolder()) name_ += u".exe";
}

ChildProgram::~ChildProgram() {
  for (HANDLE process : started_) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

PROCESS_INFORMATION ChildProgram::Start() {
  std::u16string line = u"\"" + zx::path::HostToWindows(path_) + u"\" wait";
  PROCESS_INFORMATION info{};
  EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  if (info.hProcess) started_.push_back(info.hProcess);
  return info;
}
