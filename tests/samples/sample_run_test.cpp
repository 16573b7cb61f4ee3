// scripts/run.sh without a display, on the programs of this build: the sample machine is
// scanned by the Task Scheduler's run of the product's auto-fix job, every driver of the
// sample catalogue is found, installed and read back by a fresh scan, the summary says so line
// by line and names the files the programs wrote, and no service is left running; another
// profile finds nothing; a profile that does not exist, or a window without a display, is
// refused, and a failing step is named.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "machine_fixture.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

struct RunOutcome {
  int exitCode = -1;
  std::string summary, errors;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Runs the script headless with its runs' folders in a folder of the test's own.
RunOutcome RunScript(const std::string& arguments, const std::string& folder) {
  const std::string out = folder + "/summary.txt", err = folder + "/errors.txt";
  const std::string command = "env -u DISPLAY TMPDIR='" + folder + "' '" ZX_SOURCE_DIR "/scripts/run.sh' --bin '" +
                              ZX_PROGRAM_FOLDER "' " + arguments + " >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
}

// The value after "<label>: " on the summary's line that starts with the label.
std::string LineValue(const std::string& summary, const std::string& label) {
  std::istringstream lines(summary);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(label + ": ", 0) == 0) return line.substr(label.size() + 2);
  return {};
}

// The sample catalogue's versions by section.
std::map<std::string, std::string> CatalogueVersions() {
  std::map<std::string, std::string> versions;
  std::istringstream lines(ReadText(ZX_SOURCE_DIR "/samples/catalogue/catalogue.ini"));
  std::string section;
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 2 && line.front() == '[') section = line.substr(1, line.find(']') - 1);
    if (line.rfind("version", 0) == 0) versions[section] = line.substr(line.find('=') + 2);
  }
  return versions;
}

bool StartsWith(const std::string& text, const char* bytes) { return text.rfind(bytes, 0) == 0; }

TEST(SampleRun, TheLaptopsUpdatesAreFoundInstalledAndReadBack) {
  const TempFolder folder;
  const RunOutcome run = RunScript("", folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.summary << run.errors;
  const std::string& summary = run.summary;

  struct Expected {
    const char* section;
    const char* device;
    const char* installed;  // as the laptop profile has it
  };
  const Expected drivers[] = {
      {"nvidia-quadro", "NVIDIA Quadro K1000M", "9.18.13.1106"},
      {"intel-graphics", "Intel(R) HD Graphics 4000", "9.17.10.2843"},
      {"realtek-audio", "Realtek High Definition Audio", "6.0.1.6657"},
      {"intel-network", "Intel(R) 82579LM Gigabit Network Connection", "12.0.150.0"},
  };
  const std::map<std::string, std::string> offered = CatalogueVersions();
  ASSERT_EQ(offered.size(), std::size(drivers));
  for (const Expected& driver : drivers) {
    SCOPED_TRACE(driver.section);
    const std::string version = offered.at(driver.section);
    EXPECT_NE(summary.find(std::string("  ") + driver.device + ": installed " + driver.installed + ", offered " +
                           version + "\n"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find(std::string("  ") + driver.device + ": now " + version + "\n"), std::string::npos)
        << summary;
  }

  EXPECT_EQ(LineValue(summary, "Machine scanned"), "the laptop profile, 42 devices.");
  // The Task Scheduler ran the product's job with its auto-fix word, and recorded its end.
  const std::size_t job = summary.find("The Task Scheduler started \"");
  ASSERT_NE(job, std::string::npos) << summary;
  const std::string jobLine = summary.substr(job, summary.find('\n', job) - job);
  EXPECT_NE(jobLine.find("\\zephrinkx.exe\" -autofix at "), std::string::npos) << jobLine;
  EXPECT_NE(jobLine.find("; it ended with exit code 0."), std::string::npos) << jobLine;
  EXPECT_NE(summary.find("The scan counted 28 Drivers, 4 Drivers out of date.\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("The fresh scan counted 28 Drivers, 0 Driver out of date.\n"), std::string::npos) << summary;
  // The files it names are there and are what they say.
  EXPECT_TRUE(StartsWith(ReadText(LineValue(summary, "Backup archive")), "PK\x03\x04")) << summary;
  EXPECT_TRUE(StartsWith(ReadText(LineValue(summary, "Results page picture")), "\x89PNG")) << summary;
  const std::string histories = LineValue(summary, "Histories");
  const std::string data = histories.substr(histories.rfind(", in ") + 5);
  for (const char* name : {"Download.dat", "Backup.dat", "exc.xml"}) EXPECT_TRUE(fs::is_regular_file(data + "/" + name)) << name;
  // The Task Scheduler's service, which the main program started, does not outlive the run.
  EXPECT_NE(ReadText(LineValue(summary, "Machine root (kept)") + "/machine.ini").find("Schedule=stopped"),
            std::string::npos);
  // The update checker's switch search is in the run's log, not in the summary.
  const std::string logs = LineValue(summary, "Logs");
  EXPECT_EQ(summary.find("unable to find parmeter"), std::string::npos);
  EXPECT_NE(ReadText(logs.substr(0, logs.find(" ("))).find("unable to find parmeter"), std::string::npos);
}

TEST(SampleRun, OtherProfilesAreScannedAndFailuresNamed) {
  struct Case {
    const char* arguments;
    int exitCode;
    const char* said;  // in the summary, or on standard error when the run fails
  };
  const Case cases[] = {
      {"--profile desktop", 0, "No update found: the sample catalogue offers drivers for the laptop's devices.\n"},
      {"--profile nosuch", 2, "run.sh: no machine profile"},
      {"--window", 2, "run.sh: --window needs a display (DISPLAY is not set)"},
      // A program folder without the programs: the first step that needs one is named.
      {"--bin samples", 1, "run.sh: seeding the machine from laptop failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const TempFolder folder;
    const RunOutcome run = RunScript(c.arguments, folder.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.summary << run.errors;
    EXPECT_NE((c.exitCode == 0 ? run.summary : run.errors).find(c.said), std::string::npos)
        << run.summary << run.errors;
  }
}

}  // namespace
}  // namespace zx::test
