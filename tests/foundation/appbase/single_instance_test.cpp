// Single instance across two real processes: the probe program on the application base is
// started, then started again; the second start ends, and a switch it carried reaches the
// first as text.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "zx/machine.h"

extern char** environ;

namespace zx::test {
namespace {

// One started probe with a pipe on its standard output.
class Probe {
 public:
  explicit Probe(const std::vector<std::string>& arguments) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
      if (!std::string(*e).starts_with("ZX_MACHINE_ROOT=")) env.emplace_back(*e);
    env.push_back("ZX_MACHINE_ROOT=" + zx::machine::Root());
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args{ZX_PROBE_PROGRAM};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, ZX_PROBE_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    output_ = ::fdopen(fds[0], "r");
  }
  ~Probe() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    if (output_) std::fclose(output_);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  // The next line the probe printed, "" at its end.
  std::string NextLine() {
    char buffer[256];
    if (!output_ || !std::fgets(buffer, sizeof buffer, output_)) return {};
    std::string line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
  }
  int Wait() {
    int status = 0;
    while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
};

using SingleInstance = MachineTest;

TEST_F(SingleInstance, ASecondStartWithTheScheduleSwitchHandsOverScheduleScanAndEnds) {
  Probe first({});
  ASSERT_EQ(first.NextLine(), "ready");
  Probe second({"/Schedule"});
  EXPECT_EQ(second.Wait(), 3);
  EXPECT_EQ(first.NextLine(), "received schedulescan");
  EXPECT_EQ(first.Wait(), 0);
}

TEST_F(SingleInstance, AutoFixAndShutdownTogetherHandOverShutdown) {
  Probe first({});
  ASSERT_EQ(first.NextLine(), "ready");
  Probe second({"-autofix", "-shutdown"});
  EXPECT_EQ(second.Wait(), 3);
  EXPECT_EQ(first.NextLine(), "received shutdown");
  EXPECT_EQ(first.Wait(), 0);
}

TEST_F(SingleInstance, APlainSecondStartOnlyBringsTheFirstForwardAndEnds) {
  Probe first({});
  ASSERT_EQ(first.NextLine(), "ready");
  Probe plain({});
  EXPECT_EQ(plain.Wait(), 3);
  // The first is still waiting: an auto-fix start now is the first hand-off it receives.
  Probe autofix({"-AUTOFIX"});
  EXPECT_EQ(autofix.Wait(), 3);
  EXPECT_EQ(first.NextLine(), "received autofix");
  EXPECT_EQ(first.Wait(), 0);
}

TEST_F(SingleInstance, AScheduledStartWithNoWindowToHandToGoesOnAsAFurtherInstance) {
  Probe first({"--hold"});
  ASSERT_EQ(first.NextLine(), "holding");
  Probe second({"-schedule"});
  EXPECT_EQ(second.NextLine(), "further instance");
  EXPECT_EQ(second.Wait(), 4);
}

}  // namespace
}  // namespace zx::test
