// Several writers on one hive: forked processes writing at once, a process seeing another's
// change, threads of one process, and writers killed at random moments (also while they
// fold the journal into a new base), which must leave every value old or new, never torn.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "registry_fixture.h"

namespace {

// Runs work in a forked child that exits 0 when work answers true.
template <class Work>
pid_t Spawn(Work work) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(work() ? 0 : 1);
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::u16string Name(int writer, int index) {
  std::string narrow = "w" + std::to_string(writer) + "-" + std::to_string(index);
  return std::u16string(narrow.begin(), narrow.end());
}

class Concurrency : public zx::test::RegistryTest {};

TEST_F(Concurrency, ProcessesWritingAtOnceLoseNothing) {
  zx::registry::SetCompactionFloor(16 * 1024);  // folds several times along the way
  constexpr int kWriters = 4, kValues = 250;
  HKEY key = Create(HKEY_CURRENT_USER, u"Shared");
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w)
    children.push_back(Spawn([key, w] {
      for (int i = 0; i < kValues; ++i)
        if (SetDword(key, Name(w, i).c_str(), static_cast<DWORD>(w * 1000 + i)) != ERROR_SUCCESS) return false;
      return true;
    }));
  for (pid_t child : children) EXPECT_EQ(ExitCode(child), 0);

  for (bool fresh : {false, true}) {
    if (fresh) zx::registry::ForgetCachedHives();
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, DWORD{kWriters * kValues});
    for (int w = 0; w < kWriters; ++w)
      for (int i = 0; i < kValues; ++i) ASSERT_EQ(GetDword(key, Name(w, i).c_str()), DWORD(w * 1000 + i));
  }
  RegCloseKey(key);
}

TEST_F(Concurrency, AnotherProcessesChangesAreSeenAtOnce) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Seen\\Inner");
  EXPECT_EQ(GetDword(key, u"v"), ~DWORD{0});
  EXPECT_EQ(ExitCode(Spawn([key] { return SetDword(key, u"v", 5) == ERROR_SUCCESS; })), 0);
  EXPECT_EQ(GetDword(key, u"v"), 5u);
  EXPECT_EQ(ExitCode(Spawn([] { return RegDeleteTreeW(HKEY_CURRENT_USER, u"Seen") == ERROR_SUCCESS; })), 0);
  EXPECT_EQ(SetDword(key, u"v", 6), ERROR_KEY_DELETED);
  RegCloseKey(key);
}

TEST_F(Concurrency, ThreadsOfOneProcessLoseNothing) {
  constexpr int kThreads = 4, kValues = 200;
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([key, t] {
      for (int i = 0; i < kValues; ++i) {
        EXPECT_EQ(SetDword(key, Name(t, i).c_str(), static_cast<DWORD>(i)), ERROR_SUCCESS);
        EXPECT_EQ(GetDword(key, Name(t, i).c_str()), static_cast<DWORD>(i));
      }
    });
  for (auto& thread : threads) thread.join();
  zx::registry::ForgetCachedHives();
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kValues; ++i) ASSERT_EQ(GetDword(key, Name(t, i).c_str()), DWORD(i));
  RegCloseKey(key);
}

// The record a killed writer was writing: `step` in every DWORD of a size that changes with
// it, so a torn value cannot pass for a whole one.
std::vector<DWORD> Pattern(DWORD step) { return std::vector<DWORD>(16 + step % 37 * 8, step); }

class KilledWriter : public zx::test::RegistryTest {
 protected:
  // Kills a writer that loops over "Blob" (the pattern) and "Step" (the step it finished)
  // at pseudo-random moments, round after round, and checks what each round left.
  void KillRounds(int rounds, std::size_t compactionFloor) {
    zx::registry::SetCompactionFloor(compactionFloor);
    HKEY key = Create(HKEY_CURRENT_USER, u"Crash");
    std::mt19937 random(1234);
    DWORD lastStep = 0;
    for (int round = 0; round < rounds; ++round) {
      int ready[2];
      ASSERT_EQ(::pipe(ready), 0);
      const pid_t child = Spawn([key, lastStep, &ready] {
        ::close(ready[0]);
        for (DWORD step = lastStep + 1;; ++step) {
          const std::vector<DWORD> blob = Pattern(step);
          if (RegSetValueExW(key, u"Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()),
                             static_cast<DWORD>(blob.size() * 4)) != ERROR_SUCCESS ||
              SetDword(key, u"Step", step) != ERROR_SUCCESS)
            return false;
          if (step == lastStep + 1 && ::write(ready[1], "r", 1) != 1) return false;
        }
      });
      ::close(ready[1]);
      char signal;
      ASSERT_EQ(::read(ready[0], &signal, 1), 1);  // it has finished one step
      ::close(ready[0]);
      ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);

      zx::registry::ForgetCachedHives();
      testing::internal::CaptureStderr();
      const DWORD step = GetDword(key, u"Step");
      std::vector<DWORD> blob(512, 0);
      DWORD size = static_cast<DWORD>(blob.size() * 4), type = 0;
      const LONG read = RegQueryValueExW(key, u"Blob", nullptr, &type, reinterpret_cast<BYTE*>(blob.data()), &size);
      EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "round " << round;
      ASSERT_EQ(read, ERROR_SUCCESS);
      ASSERT_GT(step, lastStep);
      // The blob is the step's own or the next one's, whole.
      const DWORD blobStep = blob[0];
      ASSERT_TRUE(blobStep == step || blobStep == step + 1) << blobStep << " after step " << step;
      blob.resize(size / 4);
      ASSERT_EQ(blob, Pattern(blobStep)) << "round " << round;
      lastStep = step;
    }
    EXPECT_TRUE(std::filesystem::exists(HivePath("HKCU.log")));
    for (const auto& entry : std::filesystem::directory_iterator(zx::machine::RegistryFolder()))
      EXPECT_EQ(entry.path().string().find("damaged"), std::string::npos) << entry.path();
    RegCloseKey(key);
  }
};

TEST_F(KilledWriter, LeavesEveryValueOldOrNew) { KillRounds(25, std::size_t{1} << 20); }

TEST_F(KilledWriter, LeavesEveryValueOldOrNewWhileCompacting) { KillRounds(25, 2048); }

}  // namespace
