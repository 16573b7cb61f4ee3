// The inter-process calls with the launcher, against its stand-in run as a process: the
// eight served procedures as the launcher calls them (and calls with wrong inputs that change
// nothing), and the reports to the launcher byte for byte, with a launcher that is missing,
// hangs up or answers garbage; and a whole hidden run of the real program driven by the
// launcher's stand-in against the web service's.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "LauncherLink.h"
#include "machine_fixture.h"
#include "standin.h"
#include "zx/clock.h"
#include "zx/machineprofile.h"

extern char** environ;

namespace {

// Runs the launcher's stand-in with the arguments and answers what it printed.
std::string Launcher(const std::string& arguments) {
  std::string output;
  FILE* pipe = ::popen((std::string("'") + ZX_LAUNCHER + "' " + arguments).c_str(), "r");
  if (!pipe) return "cannot run";
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  ::pclose(pipe);
  return output;
}

class LauncherTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
    g_nLauncherState = 0;
    g_dwRequestSequence = 0;
    for (HWND* window : {&windows_.hMainWindow, &windows_.hScanHomePage, &windows_.hScanningPage,
                         &windows_.hResultsPage, &windows_.hDownloadInstall}) {
      *window = CreateWindowExW(0, u"Static", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(*window, nullptr);
    }
  }
  void TearDown() override {
    for (HWND window : {windows_.hMainWindow, windows_.hScanHomePage, windows_.hScanningPage, windows_.hResultsPage,
                        windows_.hDownloadInstall})
      DestroyWindow(window);
    ::unsetenv("ZX_MACHINE_ROOT");
  }
  // The commands posted to a window since the last look.
  static std::vector<WPARAM> Commands(HWND window) {
    std::vector<WPARAM> commands;
    MSG message;
    while (PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) commands.push_back(message.wParam);
    return commands;
  }
  // The timers of the main window that are due.
  std::vector<WPARAM> Timers() const {
    std::vector<WPARAM> timers;
    MSG message;
    while (PeekMessageW(&message, windows_.hMainWindow, WM_TIMER, WM_TIMER, PM_REMOVE)) timers.push_back(message.wParam);
    return timers;
  }

  tagLauncherState state_;
  CPopupArming popup_;
  tagKXServerWindows windows_;
};

// ---- The served procedures, called by the launcher.

class ServedProcedures : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    zx::SetClock(&clock_);
    server_ = std::make_unique<CKXServer>(state_, popup_, windows_);
    ASSERT_TRUE(server_->Start());
  }
  void TearDown() override {
    server_.reset();
    zx::SetClock(nullptr);
    LauncherTest::TearDown();
  }
  zx::ManualClock clock_;
  std::unique_ptr<CKXServer> server_;
};

TEST_F(ServedProcedures, EachPostsItsCommandAndSetsItsFlags) {
  state_.bLauncherBusy = true;
  EXPECT_EQ(Launcher("call 0"), "result 1\n");
  EXPECT_FALSE(state_.bLauncherBusy);
  EXPECT_EQ(Commands(windows_.hScanHomePage), std::vector<WPARAM>{kCommandScanNow});

  EXPECT_EQ(Launcher("call 1"), "result 1\n");
  EXPECT_TRUE(state_.bLauncherBusy);
  EXPECT_TRUE(state_.bScanStopRequest);
  EXPECT_EQ(Commands(windows_.hScanningPage), std::vector<WPARAM>{kCommandStop});

  EXPECT_EQ(Launcher("call 2"), "result 1\n");
  EXPECT_TRUE(state_.bProgressNotify);
  EXPECT_EQ(Commands(windows_.hResultsPage), std::vector<WPARAM>{kCommandDownload});

  EXPECT_EQ(Launcher("call 3"), "result 1\n");
  EXPECT_TRUE(state_.bInstallCancel);
  EXPECT_EQ(Commands(windows_.hDownloadInstall), std::vector<WPARAM>{IDCANCEL});
  EXPECT_TRUE(Commands(windows_.hMainWindow).empty());
}

TEST_F(ServedProcedures, StopWaitsForTheScanEnginesStep) {
  state_.nScanWork = 1;
  EXPECT_EQ(Launcher("call 1"), "result 1\n");
  EXPECT_TRUE(state_.bScanStopRequest);
  EXPECT_TRUE(Commands(windows_.hScanningPage).empty());
}

TEST_F(ServedProcedures, ThePopupIsShownOnceUntilItIsArmedAgain) {
  const std::string parent = std::to_string(reinterpret_cast<ULONG_PTR>(windows_.hResultsPage));
  EXPECT_EQ(Launcher("call 4 " + parent), "result 1\n");
  EXPECT_EQ(popup_.GetParent(), windows_.hResultsPage);
  EXPECT_EQ(Launcher("call 4 12345"), "result 0\n");
  EXPECT_EQ(popup_.GetParent(), windows_.hResultsPage);
  clock_.Advance(kPopupTimerMs);
  EXPECT_EQ(Timers(), std::vector<WPARAM>{kPopupTimerId});
  popup_.Rearm();
  EXPECT_EQ(Launcher("call 4 12345"), "result 1\n");
}

TEST_F(ServedProcedures, ExitIsATimerOfSixtyFourMilliseconds) {
  EXPECT_EQ(Launcher("call 5"), "result 1\n");
  clock_.Advance(kExitTimerMs - 1);
  EXPECT_TRUE(Timers().empty());
  clock_.Advance(1);
  EXPECT_EQ(Timers(), std::vector<WPARAM>{kExitTimerId});
}

TEST_F(ServedProcedures, CodeSevenStopsAndAnyOtherCodeCancels) {
  EXPECT_EQ(Launcher("call 6 7"), "result 1\n");
  EXPECT_EQ(state_.nRequestCode, 7);
  EXPECT_EQ(Commands(windows_.hScanningPage), std::vector<WPARAM>{kCommandStop});
  EXPECT_TRUE(Commands(windows_.hDownloadInstall).empty());
  EXPECT_EQ(Launcher("call 6 3"), "result 1\n");
  EXPECT_EQ(state_.nRequestCode, 3);
  EXPECT_TRUE(state_.bInstallCancel);
  EXPECT_EQ(Commands(windows_.hDownloadInstall), std::vector<WPARAM>{IDCANCEL});
  EXPECT_TRUE(Commands(windows_.hScanningPage).empty());
}

TEST_F(ServedProcedures, NotifyingOnlyInHiddenScanModeOrProgressNotify) {
  EXPECT_EQ(Launcher("call 7"), "result 0\n");
  state_.bHiddenScanMode = true;
  EXPECT_EQ(Launcher("call 7"), "result 1\n");
  state_.bHiddenScanMode = false;
  state_.bProgressNotify = true;
  EXPECT_EQ(Launcher("call 7"), "result 1\n");
}

TEST_F(ServedProcedures, WrongInputsChangeNothing) {
  const struct {
    const char* arguments;
    const char* printed;
  } cases[] = {
      {"send 0 00", "status 0 bytes 0\n"},          // no input taken
      {"send 1 00000000", "status 0 bytes 0\n"},
      {"send 4 -", "status 0 bytes 0\n"},           // its input missing
      {"send 4 010000", "status 0 bytes 0\n"},
      {"send 6 0300000000", "status 0 bytes 0\n"},  // one byte too many
      {"send 8 -", "status 1745 bytes 0\n"},        // no such procedure
  };
  for (const auto& c : cases) EXPECT_EQ(Launcher(c.arguments), c.printed) << c.arguments;
  EXPECT_FALSE(state_.bLauncherBusy);
  EXPECT_FALSE(state_.bInstallCancel);
  EXPECT_EQ(state_.nRequestCode, 0);
  EXPECT_TRUE(popup_.TryDisarm(nullptr));  // still armed
  for (HWND window : {windows_.hScanHomePage, windows_.hScanningPage, windows_.hDownloadInstall})
    EXPECT_TRUE(Commands(window).empty());
  EXPECT_EQ(Launcher("call 2"), "result 1\n");  // and the server still answers
}

TEST_F(ServedProcedures, OneServedObjectAProcess) {
  CKXServer second(state_, popup_, windows_);
  EXPECT_FALSE(second.Start());
  EXPECT_EQ(Launcher("call 7"), "result 0\n");
}

// ---- The reports to the launcher.

// The inputs of the two launcher calls laid out by hand: id, record, value (then code and
// number for the status call), little-endian, the texts as UTF-16LE.
TEST_F(LauncherTest, CallInputsFollowTheLayout) {
  g_nLauncherState = 4;  // builds the record without calling
  CKXClient client;
  client.SendRequest(14, u"Ok", 1, 2, 3, 4, 5, 6, u"x", -7);
  std::vector<BYTE> record(1076, 0);
  const auto put = [](std::vector<BYTE>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
  };
  put(record, 4, 14);
  record[8] = 'O';
  record[10] = 'k';
  record[528] = 'x';
  put(record, 1048, 1);
  put(record, 1052, 6);
  put(record, 1056, 2);
  put(record, 1060, 4);
  put(record, 1064, 5);
  put(record, 1068, 0xFFFFFFF9);
  put(record, 1072, 1);
  std::vector<BYTE> text(4, 0);
  put(text, 0, 8);
  text.insert(text.end(), record.begin(), record.end());
  text.insert(text.end(), {1, 0, 0, 0});
  EXPECT_EQ(client.MessageTextInput(8), text);
  std::vector<BYTE> status = text;
  status.insert(status.end(), {14, 0, 0, 0, 3, 0, 0, 0});
  EXPECT_EQ(client.StatusInput(8, 14, 3), status);
}

class LauncherReports : public LauncherTest {
 protected:
  void TearDown() override {
    link_.reset();
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    LauncherTest::TearDown();
  }
  std::string LogPath() const { return root() + "/launcher.log"; }
  // Starts the launcher's stand-in serving (or driving), and waits until it listens.
  void Serve(const char* mode = nullptr, const char* command = "serve") {
    const std::string log = LogPath();
    std::vector<const char*> argv = {ZX_LAUNCHER, command, log.c_str()};
    if (mode) argv.push_back(mode);
    argv.push_back(nullptr);
    ASSERT_EQ(::posix_spawn(&pid_, ZX_LAUNCHER, nullptr, nullptr, const_cast<char* const*>(argv.data()), environ), 0);
    ASSERT_TRUE(AwaitLine("ready"));
  }
  std::vector<std::string> LogLines() const {
    std::ifstream in(LogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // Waits (ten seconds at most) for a line of the launcher's log.
  bool AwaitLine(const std::string& wanted) const {
    for (int round = 0; round < 2000; ++round) {
      for (const std::string& line : LogLines())
        if (line == wanted) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  // The launcher's exit code, once it has ended.
  int Ended() {
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::unique_ptr<CKXLauncherLink> MakeLink() { return std::make_unique<CKXLauncherLink>(state_, popup_); }

  pid_t pid_ = 0;
  std::unique_ptr<CKXLauncherLink> link_;
};

TEST_F(LauncherReports, ReportsReachTheLauncherWithTheirRecords) {
  Serve();
  state_.bHiddenScanMode = true;
  state_.bLauncherBusy = true;
  state_.bInstallCancel = true;
  state_.nRequestCode = 5;
  link_ = MakeLink();
  EXPECT_TRUE(link_->Start(windows_));
  EXPECT_FALSE(state_.bLauncherBusy);
  EXPECT_FALSE(state_.bInstallCancel);
  EXPECT_EQ(state_.nRequestCode, 0);
  link_->NotifyPeer(kLauncherScanProgress, 1, u"Scanning - Intel\u00ae Ethernet", 42, u"second");
  link_->NotifyPeerUpdateProgress(3);  // progress notify is off
  state_.bProgressNotify = true;
  link_->NotifyPeerUpdateProgress(0);
  link_->Stop();
  EXPECT_EQ(Ended(), 0);
  const std::vector<std::string> expected = {
      "ready",
      "status id=8 value=1 code=1 number=0 record=1 sequence=1 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "text id=8 value=1 record=1 sequence=1 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "status id=8 value=1 code=6 number=1 record=6 sequence=2 numbers=42,0,0,0,0,0 "
      "text1=\"Scanning - Intel\u00ae Ethernet\" text2=\"second\"",
      "text id=8 value=1 record=6 sequence=2 numbers=42,0,0,0,0,0 text1=\"Scanning - Intel\u00ae Ethernet\" "
      "text2=\"second\"",
      "status id=8 value=1 code=17 number=0 record=17 sequence=3 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "text id=8 value=1 record=17 sequence=3 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "status id=8 value=1 code=2 number=0 record=2 sequence=4 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "text id=8 value=1 record=2 sequence=4 numbers=0,0,0,0,0,0 text1=\"\" text2=\"\"",
      "end",
  };
  EXPECT_EQ(LogLines(), expected);
  EXPECT_EQ(g_nLauncherState, 0);
}

TEST_F(LauncherReports, NothingIsSentWhileTheLauncherIsNotBeingTold) {
  Serve();
  link_ = MakeLink();
  link_->Start(windows_);
  link_->NotifyPeer(kLauncherScanProgress, 1, u"x");
  link_->Stop();
  EXPECT_EQ(LogLines(), std::vector<std::string>{"ready"});
}

TEST_F(LauncherReports, AMissingLauncherIsTriedOnce) {
  state_.bHiddenScanMode = true;
  link_ = MakeLink();
  EXPECT_TRUE(link_->Start(windows_));
  EXPECT_EQ(g_nLauncherState, 4);
  link_->NotifyPeer(kLauncherScanProgress, 1, u"x");
  EXPECT_EQ(g_nLauncherState, 4);
  EXPECT_EQ(Launcher("call 7"), "result 1\n");  // the program's own server works on
  link_->Stop();
}

TEST_F(LauncherReports, ALauncherThatHangsUpIsNotCalledAgain) {
  Serve("hang-up");
  state_.bHiddenScanMode = true;
  link_ = MakeLink();
  link_->Start(windows_);
  EXPECT_EQ(Ended(), 0);
  EXPECT_EQ(g_nLauncherState, 1);
  link_->NotifyPeer(kLauncherScanProgress, 1, u"x");
  link_->Stop();
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(0, 26), "status id=8 value=1 code=1");
  EXPECT_EQ(lines[2], "hang-up");
}

TEST_F(LauncherReports, AnswersThatAreNotEmptyCountAsFailures) {
  Serve("garbage");
  state_.bHiddenScanMode = true;
  link_ = MakeLink();
  link_->Start(windows_);
  EXPECT_EQ(g_nLauncherState, 1);
  link_->NotifyPeer(kLauncherScanProgress, 1, u"x");
  link_->Stop();
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);  // the status call only: nothing after the failure
  EXPECT_EQ(lines[1].substr(0, 26), "status id=8 value=1 code=1");
}

// The laptop's hidden run, driven by the launcher's stand-in: the program tells it that it is
// ready, reports the scan's steps (6) in the 1076-byte record, and its end (9) with the
// laptop's 13 updates; the launcher asks for the download, whose first progress (14) it
// answers with hold, cancel, the results popup and the exit, each answered 1; the program then
// ends at once (exit code 0), so no closing status (2) follows; the stopping download may still
// report its progress and the updates left (17) before that. Every status comes as a status
// call followed by its text call with the same record; repeats of a status are one row here.
TEST_F(LauncherReports, DrivesAWholeHiddenRunOfTheProgram) {
  zx::devices::MachineProfile profile;
  std::string error;
  ASSERT_TRUE(zx::devices::LoadProfileFile(std::string(ZX_PROFILES_DIR) + "/laptop.profile", profile, error)) << error;
  ASSERT_EQ(zx::devices::SeedMachine(profile, zx::devices::SeedOptions{false, "laptop.profile"}, error),
            zx::devices::SeedResult::Seeded) << error;
  const std::string catalogue = root() + "/catalogue";
  std::filesystem::create_directories(catalogue);
  std::filesystem::copy_file(ZX_CATALOGUE_DIR "/laptop/catalogue.ini", catalogue + "/catalogue.ini");
  WriteHostFile(catalogue + "/package.zip", "package bytes");
  zx::test::StandIn service(zx::test::StandInOptions(catalogue, {}));
  ASSERT_GT(service.port(), 0);
  const std::string address = "127.0.0.1:" + std::to_string(service.port());
  std::ofstream(root() + "/machine.ini", std::ios::app)
      << "\n[Machine]\nAdministrator=1\n[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=" << address
      << "\nupdate2.zephrin-tunevo.example=" << address << "\n";
  Serve(nullptr, "drive");

  const char* argv[] = {ZX_MAINPROGRAM, "-runhiddenScan", nullptr};
  pid_t program = 0;
  ASSERT_EQ(::posix_spawn(&program, ZX_MAINPROGRAM, nullptr, nullptr, const_cast<char* const*>(argv), environ), 0);
  int status = -1;
  ASSERT_EQ(::waitpid(program, &status, 0), program);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Ended(), 0);

  // The statuses in order (a repeat is one row) and the launcher's calls in order, each row
  // with its line's place in the log; the download's progress may go on while the launcher
  // calls, so the two are compared apart, and each answer after what it answers.
  std::vector<std::pair<std::string, int>> statuses, others;
  std::string lastStatus;
  const std::vector<std::string> lines = LogLines();
  for (int place = 0; place < static_cast<int>(lines.size()); ++place) {
    std::istringstream words(lines[place]);
    std::string kind, id, value, code, number, record;
    words >> kind;
    if (kind == "text") {
      words >> id >> value >> record;
      EXPECT_EQ("code=" + record.substr(7), lastStatus) << "the text call after the status call";
    } else if (kind == "status") {
      words >> id >> value >> code >> number >> record;
      EXPECT_EQ(record.substr(7), code.substr(5)) << lines[place];
      if (code == "code=17") {
        // The updates left, with the flag telling whether any remain and no texts.
        std::string sequence, numbers;
        words >> sequence >> numbers;
        EXPECT_EQ(numbers.substr(8, 1), number == "number=0" ? "0" : "1") << lines[place];
        EXPECT_NE(lines[place].find("text1=\"\" text2=\"\""), std::string::npos) << lines[place];
      }
      lastStatus = code;
      if (code == "code=9") code += " " + number;
      if (statuses.empty() || statuses.back().first != code) statuses.emplace_back(code, place);
    } else {
      others.emplace_back(lines[place], place);
    }
  }
  const auto firsts = [](const std::vector<std::pair<std::string, int>>& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(row.first);
    return texts;
  };
  // After the first download progress only the stopping run's own follow: more progress, and
  // the number of updates left (17) when the run gets to say it before the program ends.
  std::vector<std::string> seen = firsts(statuses);
  ASSERT_GE(seen.size(), 4u);
  for (std::size_t later = 4; later < seen.size(); ++later)
    EXPECT_TRUE(seen[later] == "code=14" || seen[later] == "code=17") << seen[later];
  seen.resize(4);
  EXPECT_EQ(seen, (std::vector<std::string>{"code=1", "code=6", "code=9 number=13", "code=14"}));
  const std::vector<std::string> calls = {"ready",           "call 2 result 1", "call 1 result 1", "call 3 result 1",
                                          "call 4 result 1", "call 5 result 1", "end"};
  ASSERT_EQ(firsts(others), calls);
  EXPECT_GT(others[1].second, statuses[2].second) << "the download asked for after the scan's end";
  EXPECT_GT(others[2].second, statuses[3].second) << "the hold asked for after the download's progress";
  // The cancel reaches the open popup at once: its stop line goes to the launcher before the
  // program ends, whether or not the download reports again.
  int stopLine = -1;
  for (int place = others[3].second; place < static_cast<int>(lines.size()) && stopLine < 0; ++place)
    if (lines[place].find("code=14") != std::string::npos &&
        lines[place].find("text1=\"Please wait while the run stops...\"") != std::string::npos)
      stopLine = place;
  EXPECT_GT(stopLine, others[3].second) << "no stop line after the cancel";
}

}  // namespace
