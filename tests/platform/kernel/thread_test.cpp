// Threads: creation, suspension, exit codes, handles and their lifetime, ids, priorities,
// pseudo-handles; the process's command line and ExitProcess (in child processes).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "kernel_testing.h"
#include "windows.h"
#include "zx/handles.h"

namespace {

using zx::test::JoinThread;
using zx::test::StartThread;
using zx::test::Utf8;
using zx::test::ZPath;

constexpr DWORD kObject0 = WAIT_OBJECT_0;
constexpr DWORD kTimeout = WAIT_TIMEOUT;

class Threads : public zx::test::ManualClockTest {};

TEST_F(Threads, ExitCodeIsStillActiveUntilTheThreadEnds) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = StartThread([go] {
    WaitForSingleObject(go, INFINITE);
    return DWORD{77};
  });
  ASSERT_NE(thread, nullptr);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(thread, 0), kTimeout);
  SetEvent(go);
  EXPECT_EQ(JoinThread(thread), 77u);
  CloseHandle(go);
}

TEST_F(Threads, ExitThreadEndsTheThreadWithItsCodeAndUnwinds) {
  struct Flag {
    std::atomic<bool>* set;
    ~Flag() { *set = true; }
  };
  std::atomic<bool> unwound{false};
  HANDLE thread = StartThread([&unwound]() -> DWORD {
    Flag flag{&unwound};
    ExitThread(5);
  });
  EXPECT_EQ(JoinThread(thread), 5u);
  EXPECT_TRUE(unwound);
}

TEST_F(Threads, SuspendedThreadRunsOnlyAfterResume) {
  std::atomic<int> runs{0};
  DWORD id = 0;
  HANDLE thread = StartThread(
      [&runs] {
        ++runs;
        return GetCurrentThreadId();
      },
      CREATE_SUSPENDED, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(thread, 0), kTimeout);
  EXPECT_EQ(runs.load(), 0);
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), kObject0);
  EXPECT_EQ(runs.load(), 1);
  EXPECT_EQ(ResumeThread(thread), 0u);
  EXPECT_EQ(JoinThread(thread), id) << "the id handed out is the thread's own";
  EXPECT_EQ(ResumeThread(thread), static_cast<DWORD>(-1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Threads, ClosingTheHandleLeavesTheThreadRunning) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = StartThread([go, done] {
    WaitForSingleObject(go, INFINITE);
    SetEvent(done);
    return DWORD{0};
  });
  EXPECT_TRUE(CloseHandle(thread));
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(done, INFINITE), kObject0);
  CloseHandle(go);
  CloseHandle(done);
}

TEST_F(Threads, ObjectOutlivesTheThreadUntilTheLastHandle) {
  HANDLE thread = StartThread([] { return DWORD{3}; });
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  EXPECT_EQ(JoinThread(thread), 3u);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(copy, &code));
  EXPECT_EQ(code, 3u);
  EXPECT_EQ(WaitForSingleObject(copy, 0), kObject0);
  EXPECT_TRUE(CloseHandle(copy));
  EXPECT_FALSE(GetExitCodeThread(copy, &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Threads, ThreadsTheLayerDidNotStartAreWaitableToo) {
  HANDLE handle = nullptr;
  std::thread host([&handle] {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &handle, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
  });
  host.join();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(WaitForSingleObject(handle, 0), kObject0);
  DWORD code = STILL_ACTIVE;
  EXPECT_TRUE(GetExitCodeThread(handle, &code));
  EXPECT_EQ(code, 0u);
  CloseHandle(handle);
}

TEST_F(Threads, PseudoHandlesNameTheCaller) {
  EXPECT_EQ(GetCurrentThread(), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)));
  EXPECT_EQ(GetCurrentProcess(), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(GetCurrentThread(), &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  // A duplicate of the pseudo-handle names this thread from anywhere.
  HANDLE me = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &me,
                              0, FALSE, DUPLICATE_SAME_ACCESS));
  ASSERT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL));
  EXPECT_EQ(JoinThread(StartThread([me] {
              return static_cast<DWORD>(GetThreadPriority(me));
            })),
            static_cast<DWORD>(THREAD_PRIORITY_ABOVE_NORMAL));
  EXPECT_EQ(WaitForSingleObject(me, 0), kTimeout);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  EXPECT_TRUE(CloseHandle(me));
  EXPECT_TRUE(CloseHandle(GetCurrentThread()));
  EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
  EXPECT_NE(GetCurrentProcessId(), 0u);
}

TEST_F(Threads, PrioritiesAreRecordedAndChecked) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = StartThread([go] { return WaitForSingleObject(go, INFINITE); });
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
  for (int p : {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_HIGHEST,
                THREAD_PRIORITY_TIME_CRITICAL}) {
    EXPECT_TRUE(SetThreadPriority(thread, p));
    EXPECT_EQ(GetThreadPriority(thread), p);
  }
  EXPECT_FALSE(SetThreadPriority(thread, 3));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_TIME_CRITICAL);
  SetEvent(go);
  JoinThread(thread);
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_ERROR_RETURN);
  EXPECT_FALSE(SetThreadPriority(thread, THREAD_PRIORITY_NORMAL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(go);
}

TEST_F(Threads, CreateThreadRefusesANullRoutine) {
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Handles, CloseAndDuplicateRefuseUnknownHandles) {
  EXPECT_FALSE(CloseHandle(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const std::size_t open = zx::OpenHandleCount();
  HANDLE copy = nullptr;
  // Closing the source with the duplicate: the count stays, the object lives on.
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE));
  EXPECT_EQ(zx::OpenHandleCount(), open);
  EXPECT_FALSE(SetEvent(event));
  EXPECT_TRUE(SetEvent(copy));
  EXPECT_FALSE(DuplicateHandle(reinterpret_cast<HANDLE>(0x1234), copy, GetCurrentProcess(), &event,
                               0, FALSE, DUPLICATE_SAME_ACCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(CloseHandle(copy));
  EXPECT_FALSE(CloseHandle(copy));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Starts this program (possibly through a link) in the "cmdline" role and answers the two
// lines it wrote: GetCommandLineW as UTF-8, GetCommandLineA as Windows-1252.
std::pair<std::string, std::string> ChildCommandLine(const std::string& program,
                                                     const std::vector<std::string>& arguments) {
  zx::test::TempFolder folder;
  const std::string output = folder.path() + "/cmdline.txt";
  {
    zx::test::ChildProcess child(program, "cmdline", output, arguments);
    EXPECT_TRUE(child.started());
    EXPECT_EQ(child.Wait(), 0);
  }
  std::ifstream in(output, std::ios::binary);
  std::string wide;
  std::getline(in, wide);
  std::stringstream rest;
  rest << in.rdbuf();
  return {wide, rest.str()};
}

TEST(CommandLine, ArgumentsAreQuotedAsWindowsQuotesThem) {
  const std::string program = zx::test::TestProgram();
  const auto [wide, ansi] = ChildCommandLine(
      program, {"plain", "two words", "quote\"inside", "trailing\\", "dir with\\", "a\\\\\"b", "",
                "caf\xC3\xA9"});
  const std::string quoted =
      R"( plain "two words" "quote\"inside" trailing\ "dir with\\" "a\\\\\"b" "")";
  EXPECT_EQ(wide, Utf8(ZPath(program)) + quoted + " caf\xC3\xA9");
  EXPECT_EQ(ansi, Utf8(ZPath(program)) + quoted + " caf\xE9");
}

TEST(CommandLine, ProgramPathWithABlankIsQuoted) {
  // A hard link to this program, inside a folder whose name holds a blank.
  namespace fs = std::filesystem;
  const fs::path self = zx::test::TestProgram();
  const fs::path folder =
      self.parent_path() / ("cmdline test " + std::to_string(GetCurrentProcessId()));
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path link = folder / "kernel tests";
  fs::create_hard_link(self, link, ec);
  ASSERT_FALSE(ec) << ec.message();
  const auto [wide, ansi] = ChildCommandLine(link.string(), {"x"});
  fs::remove_all(folder, ec);
  EXPECT_EQ(wide, Utf8(u"\"" + ZPath(link.string()) + u"\" x"));
  EXPECT_EQ(ansi, wide);
}

TEST(ExitProcess, EndsTheProcessWithItsCodeWhileOtherThreadsRun) {
  zx::test::ChildProcess child(zx::test::TestProgram(), "exit", "42");
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.Wait(), 42);
}

}  // namespace
