// The update checker's check and apply against the web service's stand-in over loopback, with
// the real download library and a setup program that records how it was started: a newer
// version is downloaded as "<key>.unconfirmed", confirmed by SHA-1, renamed and started with
// "/verysilent"; a wrong or missing digest, a key with folders, a browser address that is no
// web address, no connection, a setup already there, and the database archive, which replaces
// the one in use only once confirmed.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <synchapi.h>
#include <winprocess.h>
#include <winuser.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "DigestsSha1.h"
#include "PathHelpers.h"
#include "UpdateCheckEngine.h"
#include "cstring_printer.h"
#include "standin.h"
#include "update_service_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

class UpdateEngine : public UpdateServiceTest {
 protected:
  void MakeEngine() {
    engine_ = std::make_unique<CUpdateCheckEngine>(view_, switches_);
    engine_->SetPause([](DWORD) {});
    ASSERT_TRUE(engine_->LoadDownloaderLibrary());
  }
  std::string UpdateFolder() { return HostPath(engine_->GetUpdateFolder()); }
  RecordingView view_;
  tagCheckUpdateSwitches switches_;
  std::unique_ptr<CUpdateCheckEngine> engine_;
};

TEST_F(UpdateEngine, ANewerVersionIsDownloadedConfirmedRenamedAndStartedSilently) {
  Offer offer;
  offer.key = "..\\..\\TunevoSetup.exe";  // a key with folders keeps only its name
  Publish(offer);
  StartService();
  MakeEngine();
  engine_->RunWorker();
  EXPECT_TRUE(view_.updateFound);
  ASSERT_FALSE(view_.messages.empty());
  EXPECT_EQ(view_.messages[0].text, u"NewSetupAvailableTxt");
  EXPECT_EQ(view_.messages[0].type, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST | MB_SYSTEMMODAL);
  EXPECT_EQ(view_.stage, 5);
  EXPECT_TRUE(engine_->IsProgramDone());
  EXPECT_TRUE(view_.installTimer);
  EXPECT_EQ(engine_->GetItemsToFetch(), 1);
  EXPECT_EQ(engine_->GetItemsFetched(), 1);
  // The download library's last report: the file it was receiving, whole.
  EXPECT_EQ(view_.lastStatus, CString(u"Receiving TunevoSetup.exe.unconfirmed"));
  EXPECT_EQ(view_.lastPercent, 100);
  const std::string setup = UpdateFolder() + "/" + kSetupName;
  EXPECT_TRUE(ReadHostFile(setup) == setupBytes_);
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  EXPECT_EQ(HostPath(engine_->GetSetupPath()), setup);
  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], "GET /updatekx/c4u.cgi");
  EXPECT_EQ(requests[1], "GET /setups/TunevoSetup.exe");

  engine_->AskAndInstall();
  EXPECT_EQ(SetupRecord(setup, true), SetupSha1() + " /verysilent");
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(view_.messages.size(), 1u);  // the main program does not run: nothing more asked
}

TEST_F(UpdateEngine, WhileTheMainProgramRunsTheUserIsAskedFirst) {
  Publish(Offer());
  StartService();
  MakeEngine();
  switches_.bIsQuarnelParent = TRUE;
  engine_->RunWorker();
  ASSERT_TRUE(engine_->IsProgramDone());
  // A program named like the main program, running from the program folder.
  const std::string standIn = ProgramFolder() + "/zephrinkx";
  fs::copy_file("/bin/sleep", standIn, fs::copy_options::overwrite_existing);
  std::u16string line = u"zephrinkx.exe 30";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  view_.answer = IDNO;
  engine_->AskAndInstall();
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
  fs::remove(standIn);
  ASSERT_EQ(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[1].text, u"Close Zephrin Tunevo and install?");
  EXPECT_EQ(view_.messages[1].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(view_.parentCodes, std::vector<int>{900});
  EXPECT_EQ(view_.closes, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(SetupRecord(UpdateFolder() + "/" + kSetupName, false), "");
}

TEST_F(UpdateEngine, AWrongHashDeletesTheDownloadAndStartsNothing) {
  Offer offer;
  offer.hash = "0123456789ABCDEF0123456789ABCDEF01234567";
  Publish(offer);
  StartService();
  MakeEngine();
  engine_->RunWorker();
  EXPECT_FALSE(engine_->IsProgramDone());
  EXPECT_EQ(view_.stage, 6);
  const std::string setup = UpdateFolder() + "/" + kSetupName;
  EXPECT_FALSE(fs::exists(setup));
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  engine_->AskAndInstall();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(SetupRecord(setup, false), "");
  EXPECT_EQ(fs::directory_iterator(UpdateFolder()) == fs::directory_iterator(), false);  // the answer file stays
  for (const auto& entry : fs::directory_iterator(UpdateFolder()))
    EXPECT_EQ(entry.path().filename().string(), "LatestVersion.htm");
}

// An answer without a digest asks for no check: the setup is downloaded (an old file of its
// name deleted first) and run.
TEST_F(UpdateEngine, ASetupWithoutHashIsRunWithNoCheck) {
  Offer offer;
  offer.hash = "";
  Publish(offer);
  StartService();
  MakeEngine();
  const std::string setup = UpdateFolder() + "/" + kSetupName;
  WriteHostFile(setup, "an older setup");
  engine_->RunWorker();
  EXPECT_TRUE(engine_->IsProgramDone());
  EXPECT_TRUE(ReadHostFile(setup) == setupBytes_);
  engine_->AskAndInstall();
  EXPECT_EQ(SetupRecord(setup, true), SetupSha1() + " /verysilent");
  EXPECT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.closes, 1);
}

// A setup confirmed by its digest is checked again just before it starts.
TEST_F(UpdateEngine, ASetupChangedAfterItsCheckIsNotStarted) {
  Publish(Offer());
  StartService();
  MakeEngine();
  engine_->RunWorker();
  ASSERT_TRUE(engine_->IsProgramDone());
  const std::string setup = UpdateFolder() + "/" + kSetupName;
  WriteHostFile(setup, setupBytes_ + "changed");
  engine_->AskAndInstall();
  ASSERT_EQ(view_.messages.size(), 2u);
  EXPECT_NE(view_.messages[1].text.find(u"cannot be verified"), std::u16string::npos);
  EXPECT_EQ(view_.closes, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(SetupRecord(setup, false), "");
}

TEST_F(UpdateEngine, AConfirmedSetupAlreadyThereIsNotFetchedAgain) {
  Publish(Offer());
  StartService();
  MakeEngine();
  WriteHostFile(UpdateFolder() + "/" + kSetupName, setupBytes_);
  ASSERT_EQ(engine_->CheckForUpdates(FALSE), 1);
  EXPECT_EQ(engine_->DownloadAppUpdate(), 1);
  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "GET /updatekx/c4u.cgi");
}

TEST_F(UpdateEngine, AStaleSetupIsNeverStartedWhenTheNewOneFails) {
  Offer offer;
  offer.url = "http://{host}/setups/Missing.exe";
  Publish(offer);
  StartService();
  MakeEngine();
  const std::string setup = UpdateFolder() + "/" + kSetupName;
  WriteHostFile(setup, setupBytes_ + "old");
  engine_->RunWorker();
  EXPECT_FALSE(engine_->IsProgramDone());
  EXPECT_EQ(view_.stage, 6);
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  engine_->AskAndInstall();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(SetupRecord(setup, false), "");
}

TEST_F(UpdateEngine, TheBrowserIsGivenOnlyWebAddresses) {
  // The desktop's opener: a script on the search path that records what it was given, the
  // record appearing whole (the test waits for it to appear).
  const std::string openers = root() + "/openers";
  WriteHostFile(openers + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + root() + "/opened.part' && /bin/mv '" + root() +
                                           "/opened.part' '" + root() + "/opened.txt'\n");
  fs::permissions(openers + "/xdg-open", fs::perms::owner_all);
  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", openers.c_str(), 1);
  Offer offer;
  offer.openBrowser = "1";
  offer.url = "file:///C:/Windows/System32/cmd.exe";
  Publish(offer);
  StartService();
  MakeEngine();
  ASSERT_EQ(engine_->CheckForUpdates(FALSE), 1);
  EXPECT_EQ(engine_->DownloadAppUpdate(), 0);
  EXPECT_TRUE(engine_->GetSetupPath().IsEmpty());
  offer.url = "https://zephrin.example/download";
  Publish(offer);
  ASSERT_EQ(engine_->CheckForUpdates(FALSE), 1);
  EXPECT_EQ(engine_->DownloadAppUpdate(), 1);
  for (int attempt = 0; attempt < 100 && !fs::exists(root() + "/opened.txt"); ++attempt)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_EQ(ReadHostFile(root() + "/opened.txt"), "https://zephrin.example/download");
}

TEST_F(UpdateEngine, WaitingWithoutADownloadEndsAtOnce) {
  MakeEngine();
  engine_->StopDownload();
  EXPECT_TRUE(engine_->WaitForDownloadEnd());
}

TEST_F(UpdateEngine, NotNewerFindsNothing) {
  Offer offer;
  offer.version = "5.1.0.9";
  Publish(offer);
  StartService();
  MakeEngine();
  switches_.bStartHidden = TRUE;
  engine_->RunWorker();
  EXPECT_FALSE(engine_->GetDownloadInfo().m_bNewer);
  EXPECT_EQ(view_.stage, 4);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(view_.parentCodes, std::vector<int>{900});
}

TEST_F(UpdateEngine, AQueryTheServiceNeverAnswersShowsTheFailureNotUpToDate) {
  // Connected, but no service listens: the check failed; it found nothing out.
  MakeEngine();
  EXPECT_EQ(engine_->CheckForUpdates(FALSE), 0);
  engine_->RunWorker();
  EXPECT_EQ(view_.stage, 6);
  EXPECT_FALSE(engine_->GetDownloadInfo().m_bNewer);
  // The hidden check of the program alone still just ends.
  EXPECT_EQ(engine_->CheckForUpdates(TRUE), 1);
}

TEST_F(UpdateEngine, WithoutAConnectionNothingIsAsked) {
  Publish(Offer());
  StartService();
  SetMachineValue("Network", "Connection", "none");
  MakeEngine();
  EXPECT_EQ(engine_->CheckForUpdates(FALSE), 3);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].text, u"Zephrin Tunevo cannot connect to the Internet.");
  EXPECT_EQ(view_.messages[0].type, MB_OK | MB_TASKMODAL | MB_ICONERROR);
  EXPECT_TRUE(Requests().empty());
  switches_.bStartMinimized = TRUE;
  EXPECT_EQ(engine_->CheckForUpdates(FALSE), 3);
  EXPECT_EQ(view_.messages.size(), 1u);
}

// The database update of the sibling program, over an archive in use.
class DatabaseUpdate : public UpdateEngine {
 protected:
  void SetUp() override {
    UpdateEngine::SetUp();
    Offer offer;
    offer.version = "5.1.0.10";  // no newer program: the database is asked for
    Publish(offer);
    switches_.bIsQuarnelParent = TRUE;
    WriteHostFile(DatabaseArchive(), "the archive in use");
  }
  std::string ArchiveInUse() const { return ReadHostFile(DatabaseArchive()); }
  const std::string newArchive_ = std::string("PK\x03\x04 the new database ") + std::string(3000, 'd');
};

TEST_F(DatabaseUpdate, TheChosenArchiveIsConfirmedAndTakesThePlaceOfTheOneInUse) {
  WriteHostFile(catalogue_.path() + "/completedatabase.zip", newArchive_);
  WriteHostFile(catalogue_.path() + "/LatestVersionDB.htm",
                "[BrovikUpdates]\r\nSHA={sha1:completedatabase.zip}\r\n"
                "DOWNLOADURL=http://{host}/setups/CompleteDatabase.zip\r\n");
  StartService();
  MakeEngine();
  engine_->RunWorker();
  EXPECT_TRUE(engine_->GetDownloadInfo().m_bDbAvailable);
  EXPECT_TRUE(engine_->IsDatabaseDone());
  EXPECT_EQ(engine_->GetItemsToFetch(), 1);
  EXPECT_EQ(engine_->GetItemsFetched(), 1);
  EXPECT_EQ(view_.stage, 5);
  EXPECT_FALSE(view_.installTimer);  // nothing to install: the archive is in use at once
  EXPECT_EQ(ArchiveInUse(), newArchive_);
  EXPECT_TRUE(NothingStaged());
  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1], "GET /updatekx/c4udb.cgi");
  EXPECT_EQ(requests[2], "GET /setups/completedatabase.zip");  // the answer's address is read in lower case
  // A second run finds the archive in use already matching and fetches nothing.
  MakeEngine();
  view_.stage = 0;
  engine_->RunWorker();
  EXPECT_TRUE(engine_->IsDatabaseDone());
  EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(DatabaseUpdate, AnArchiveThatCannotBeConfirmedLeavesTheOneInUse) {
  const struct {
    const char* name;
    const char* sha;     // the answer's digest
    bool served;         // the stand-in holds the archive
    bool fetched;        // the archive is asked for
  } kCases[] = {
      {"wrong digest", "0000000000000000000000000000000000000000", true, true},
      {"no digest", "", true, false},
      {"not served", "{sha1:TunevoSetup.exe}", false, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fs::remove(catalogue_.path() + "/completedatabase.zip");
    if (c.served) WriteHostFile(catalogue_.path() + "/completedatabase.zip", newArchive_);
    WriteHostFile(catalogue_.path() + "/LatestVersionDB.htm",
                  std::string("[BrovikUpdates]\r\nSHA=") + c.sha +
                      "\r\nDOWNLOADURL=http://{host}/setups/completedatabase.zip\r\n");
    StartService();
    MakeEngine();
    view_.stage = 0;
    engine_->RunWorker();
    EXPECT_TRUE(engine_->GetDownloadInfo().m_bDbAvailable);
    EXPECT_FALSE(engine_->IsDatabaseDone());
    EXPECT_EQ(engine_->GetItemsFetched(), 0);
    EXPECT_EQ(view_.stage, 6);
    EXPECT_EQ(ArchiveInUse(), "the archive in use");
    EXPECT_TRUE(NothingStaged());
    const std::vector<std::string> requests = Requests();
    EXPECT_EQ(requests.size(), c.fetched ? 3u : 2u);
  }
}

TEST_F(DatabaseUpdate, TheCompleteDatabaseModeFetchesTheArchiveOfTheFixedAddress) {
  PublishCompleteDatabase(newArchive_);
  StartService();
  switches_.bDownloadCompleteDbOnly = TRUE;
  MakeEngine();
  engine_->RunWorker();
  EXPECT_TRUE(engine_->IsDatabaseDone());
  EXPECT_EQ(view_.stage, 5);
  EXPECT_EQ(view_.closes, 1);
  EXPECT_EQ(ArchiveInUse(), newArchive_);
  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], "GET /quarnelupdates/CompleteDatabase/getdatabase.asp");
  EXPECT_EQ(requests[1], "GET /quarnelupdates/completedatabase/completedatabase.zip");
}

TEST_F(UpdateEngine, AMissingLibraryIsReported) {
  engine_ = std::make_unique<CUpdateCheckEngine>(view_, switches_);
  EXPECT_FALSE(engine_->LoadDownloaderLibrary(_T("NoSuchDownloader.dll")));
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].text, u"Zephrin Tunevo cannot find its download library.");
  engine_->RunWorker();
  EXPECT_TRUE(view_.cancelled);
}

TEST_F(UpdateEngine, LibraryQuestionsGetDefaultsWhenQuiet) {
  engine_ = std::make_unique<CUpdateCheckEngine>(view_, switches_);
  view_.answer = IDCANCEL;
  EXPECT_EQ(engine_->OnDownloadQuestion(_T(""), 0), IDOK);
  EXPECT_EQ(engine_->OnDownloadQuestion(_T(""), 2), IDNO);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(engine_->OnDownloadQuestion(_T("Retry?"), 3), IDCANCEL);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].type, MB_YESNOCANCEL);
  switches_.bSilent = TRUE;
  EXPECT_EQ(engine_->OnDownloadQuestion(_T("Continue?"), 7), IDNO);
  EXPECT_EQ(engine_->OnDownloadQuestion(_T("Done."), 0), IDOK);
  EXPECT_EQ(view_.messages.size(), 1u);
}

}  // namespace
}  // namespace zx::test
