// The download manager's progress popup against a loopback server: the run's heading, label and
// description from its options, the status texts of each step of a request, the bars taking the
// sizes of the file and of the run, the close at the end; its button asks before it stops the
// run, a "no" lets the run go on and a "yes" stops it with nothing left under the target's
// name; its look while a transfer waits for the server; the pause before its worker starts;
// FTP downloads against a loopback FTP server.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "DlgBaseMessageBoxWndBase.h"
#include "DownloadDialog.h"
#include "Downloader.h"
#include "commctrl.h"
#include "cstring_printer.h"
#include "popups_testing.h"
#include "zx/modal.h"

#include <httplib.h>  // after the layer's headers, whose names it must not redefine

namespace zx::test {
namespace {

namespace fs = std::filesystem;

constexpr char kTexts[] =
    "[QVX]\r\nIDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "IDS_QVX_UPDATE_DOWNLOADER=Update downloader\r\nIDS_TITLE=Downloading updates\r\n"
    "IDS_LABEL=Files\r\nIDS_DESCRIPTION=The update files are downloaded.\r\n"
    "IDS_ABORT=Stop the download?\r\n"
    "[IDD_DOWNLOAD]\r\nIDOK=Cancel\r\nIDC_STATIC_FILE_LIC=File:\r\nIDC_STATIC_SPEED_LIC=Speed:\r\n"
    "IDC_STATIC_STATUS_LIC=Status:\r\nIDC_STATIC_ELAPSED_LIC=Elapsed:\r\nIDC_STATIC_REMAINING_LIC=Remaining:\r\n"
    "IDC_STATIC_PROGRESSFILE_LIC=This file:\r\nIDC_STATIC_PROGRESSALL_LIC=All files:\r\n"
    "IDC_STATIC_FILE2_LIC=All bytes:\r\n"
    "IDS_STATUS_FILEINFO=Asking for the sizes\r\nIDS_STATUS_RESOLVING_NAME=Looking up the server\r\n"
    "IDS_STATUS_CONNECTING=Connecting\r\nIDS_STATUS_CONNECTED_TO_SERVER=Connected\r\n"
    "IDS_STATUS_SENDING_REQUEST=Sending the request\r\nIDS_STATUS_RECEIVING=Receiving\r\n";

class DownloadDialog : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    std::ofstream(fs::read_symlink("/proc/self/exe").parent_path() / "qvx.ini", std::ios::binary) << kTexts;
    // The transfers are libcurl's, on the host's time.
    SetClock(nullptr);
    server_.Get("/file", [this](const httplib::Request&, httplib::Response& response) {
      firstRequestMs_.store(std::min(firstRequestMs_.load(), CurrentClock().MonotonicMs()));
      response.set_content(content_, "application/octet-stream");
    });
    // Sends nothing until released, then the whole file.
    server_.Get("/held", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(content_.size(), "application/octet-stream",
                                    [this](size_t offset, size_t, httplib::DataSink& sink) {
                                      held_ = true;
                                      while (!release_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                      return sink.write(content_.data() + offset, content_.size() - offset);
                                    });
    });
    // Announces the whole file and closes after half of it.
    server_.Get("/cut", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(content_.size(), "application/octet-stream",
                                    [this](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset > 0) return false;
                                      return sink.write(content_.data(), content_.size() / 2);
                                    });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    fs::create_directories(root() + "/drive_c/dl");
  }
  void TearDown() override {
    release_ = true;
    server_.stop();
    thread_.join();
    ClearDownloadFiles();
    ResetDownloadOptions();
    PopupTest::TearDown();
  }
  CString Url(const std::string& path) const {
    return CString(("http://127.0.0.1:" + std::to_string(port_) + path).c_str());
  }
  bool Exists(const std::string& name) const { return fs::exists(root() + "/drive_c/dl/" + name); }
  static HWND Popup() {
    const HWND active = ActiveWindow();
    return dynamic_cast<CDownloadDlg*>(CWnd::FromHandlePermanent(active)) ? active : nullptr;
  }
  // Runs the list's popup, calling the step at each wait until it answers true; a step that
  // waits posts WM_NULL so that the loop turns again.
  BOOL Run(const std::function<bool(HWND popup)>& step) {
    bool done = false;
    user::SetIdleHook([&] {
      if (done) return;
      const HWND popup = Popup();
      if (popup == nullptr && RunningMessageBox() == nullptr) return;
      done = step(popup);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (!done) ::PostMessageW(popup != nullptr ? popup : RunningMessageBox(), WM_NULL, 0, 0);
    });
    const BOOL result = RunDownloadDialog();
    user::SetIdleHook(nullptr);
    return result;
  }

  const std::string content_ = std::string(100'000, 'z');
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> held_{false};
  std::atomic<bool> release_{false};
  // The layer's time when the worker's first request for "/file" came.
  std::atomic<std::uint64_t> firstRequestMs_{UINT64_MAX};
};

TEST_F(DownloadDialog, ShowsTheRunsTextsAndProgressAndClosesWhenTheFileIsThere) {
  ASSERT_TRUE(AddDownloadFile(Url("/held"), _T("C:\\dl\\a.bin")));
  ParseDownloadOptions(_T("Title"), _T("Fetching the database"));
  ParseDownloadOptions(_T("label"), _T("Database files"));
  std::set<CString> statuses;
  CString caption, label, description, heading;
  int fileRange = -1, runRange = -1;
  const BOOL fetched = Run([&](HWND popup) {
    if (popup == nullptr) return false;
    statuses.insert(Text(::GetDlgItem(popup, IDC_DOWNLOAD_STATUS)));
    caption = Text(popup);
    label = Text(::GetDlgItem(popup, IDC_DOWNLOAD_LABEL));
    description = Text(::GetDlgItem(popup, IDC_DOWNLOAD_DESCRIPTION));
    heading = static_cast<CDownloadDlg*>(CWnd::FromHandlePermanent(popup))->GetHeading();
    fileRange = static_cast<int>(::SendDlgItemMessageW(popup, IDC_DOWNLOAD_FILE_BAR, PBM_GETRANGE, FALSE, 0));
    runRange = static_cast<int>(::SendDlgItemMessageW(popup, IDC_DOWNLOAD_RUN_BAR, PBM_GETRANGE, FALSE, 0));
    // Once the bar holds the file's size, the server lets the file go: the bars are read
    // before the end of the run can close the popup.
    if (held_ && fileRange == 100'000 / 1024) release_ = true;
    return false;
  });
  EXPECT_TRUE(fetched);
  EXPECT_TRUE(Exists("a.bin"));
  EXPECT_EQ(caption, CString(u"Update downloader"));
  EXPECT_EQ(heading, CString(u"Fetching the database"));
  EXPECT_EQ(label, CString(u"Database files"));
  EXPECT_EQ(description, CString(u"The update files are downloaded.")) << "an option left empty takes the product's text";
  EXPECT_EQ(fileRange, 100'000 / 1024) << "the bars count in kilobytes";
  EXPECT_EQ(runRange, 100'000 / 1024);
  // The last step before the body is the request sent; the texts are the worker's own keys here.
  EXPECT_EQ(statuses.count(u"IDS_STATUS_RECEIVING"), 1u)
      << "the steps of the request are told: " << ::testing::PrintToString(std::vector<CString>(statuses.begin(), statuses.end()));
}

TEST_F(DownloadDialog, TheButtonAsksBeforeItStopsTheRunAndANoLetsItGoOn) {
  ASSERT_TRUE(AddDownloadFile(Url("/held"), _T("C:\\dl\\a.bin")));
  std::vector<CString> asked;
  int clicks = 0;
  const BOOL fetched = Run([&](HWND popup) {
    if (const HWND box = RunningMessageBox()) {
      asked.push_back(MessageBoxText(box));
      // The first question is answered "no", the second "yes".
      Click(::GetDlgItem(box, asked.size() == 1 ? kMessageBoxFirstButton + 1 : kMessageBoxFirstButton));
      return false;
    }
    if (held_ && clicks < 2 && clicks < static_cast<int>(asked.size()) + 1) {
      EXPECT_NE(popup, nullptr) << "the popup stays while the run goes on";
      if (popup != nullptr) Click(::GetDlgItem(popup, IDOK));
      ++clicks;
    }
    return false;
  });
  EXPECT_FALSE(fetched);
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_GE(asked[0].Find(u"Stop the download?"), 0);
  EXPECT_FALSE(Exists("a.bin"));
  EXPECT_FALSE(Exists("a.bin.part"));
}

// Notes the style of a failed run's notice and answers it as the dialog does.
class FailureListener : public CWnd {
 public:
  CDownload* record = nullptr;
  std::vector<WPARAM> styles;
  bool ended = false;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DOWNLOAD_FAILED) {
      styles.push_back(wParam);
      SetEvent(record->m_hEvent);
    }
    if (message == WM_DOWNLOAD_TEXT) delete[] reinterpret_cast<LPTSTR>(lParam);
    if (message == WM_DOWNLOAD_DONE) ended = true;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST_F(DownloadDialog, AFailedRunIsToldWithTheStyleOfItsError) {
  struct Case {
    const char* path;
    WPARAM style;
  } const cases[] = {{"/cut", MB_RETRYCANCEL | MB_ICONERROR}, {"/missing", MB_ICONERROR}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ClearDownloadFiles();
    ASSERT_TRUE(AddDownloadFile(Url(c.path), _T("C:\\dl\\a.bin")));
    FailureListener listener;
    ASSERT_TRUE(listener.CreateEx(0, AfxRegisterWndClass(0), u"Listener", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CDownload record;
    listener.record = &record;
    record.m_hDialog = listener.GetSafeHwnd();
    const HANDLE worker = CreateThread(nullptr, 0, &CDownload::ThreadProc, &record, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    MSG msg;
    while (!listener.ended && ::GetMessageW(&msg, nullptr, 0, 0)) ::DispatchMessageW(&msg);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    listener.DestroyWindow();
    EXPECT_EQ(listener.styles, std::vector<WPARAM>{c.style});
    EXPECT_FALSE(Exists("a.bin"));
  }
}

TEST_F(DownloadDialog, LooksAsDrawnWhileATransferWaits) {
  ASSERT_TRUE(AddDownloadFile(Url("/held"), _T("C:\\dl\\a.bin")));
  ParseDownloadOptions(_T("description"), _T("The newest driver database is fetched."));
  bool drawn = false;
  Run([&](HWND popup) {
    if (const HWND box = RunningMessageBox()) {
      Click(::GetDlgItem(box, kMessageBoxFirstButton));
      return false;
    }
    if (drawn || popup == nullptr || !held_) return false;
    if (::SendDlgItemMessageW(popup, IDC_DOWNLOAD_FILE_BAR, PBM_GETRANGE, FALSE, 0) == 0) return false;
    // The server holds the request before the worker hears that it was sent: the picture waits
    // for the status line the worker posts then.
    WCHAR status[64] = {};
    ::GetDlgItemTextW(popup, IDC_DOWNLOAD_STATUS, status, 64);
    if (CString(status) != _T("IDS_STATUS_RECEIVING")) return false;
    ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ExpectWindowMatches(popup, "download.png");
    drawn = true;
    Click(::GetDlgItem(popup, IDOK));
    return false;
  });
  EXPECT_TRUE(drawn);
}

TEST_F(DownloadDialog, TheWorkerStartsHalfASecondAfterTheDialogOnTheLayersClock) {
  SetClock(&clock_);
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\a.bin")));
  const std::uint64_t opened = clock_.MonotonicMs();
  // The dialog's thread sleeps on the clock: another thread moves it until the file is asked for.
  std::atomic<bool> ended{false};
  std::thread mover([&] {
    while (!ended && firstRequestMs_ == UINT64_MAX) {
      clock_.Advance(8);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const BOOL fetched = Run([](HWND) { return false; });
  ended = true;
  mover.join();
  EXPECT_TRUE(fetched);
  EXPECT_GE(firstRequestMs_ - opened, 512u);
}

// A loopback FTP server serving the test's folder, at most 256 KB a second.
class FtpStandIn {
 public:
  explicit FtpStandIn(const std::string& folder) {
    const std::string command = "exec /usr/bin/python3 " ZX_FTP_STANDIN " '" + folder + "' 262144 2>/dev/null";
    pipe_ = popen(command.c_str(), "r");
    if (pipe_ == nullptr || std::fscanf(pipe_, "%d %d", &pid_, &port_) != 2) port_ = 0;
  }
  ~FtpStandIn() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pipe_ != nullptr) pclose(pipe_);
  }
  int port() const { return port_; }

 private:
  FILE* pipe_ = nullptr;
  int pid_ = 0;
  int port_ = 0;
};

// What the dialog's status line and bars are given: as they are made, the three controls are
// subclassed to note their texts and the highest ranges they take.
struct NotedControls {
  std::vector<CString> statuses;
  int fileRange = 0;
  int runRange = 0;
  std::map<HWND, WNDPROC> procs;
  HHOOK hook = nullptr;
};
NotedControls* g_noted = nullptr;

LRESULT CALLBACK NoteControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int id = ::GetDlgCtrlID(window);
  if (message == WM_SETTEXT && id == IDC_DOWNLOAD_STATUS) g_noted->statuses.emplace_back(reinterpret_cast<LPCTSTR>(lParam));
  if (message == PBM_SETRANGE32) {
    int& range = id == IDC_DOWNLOAD_FILE_BAR ? g_noted->fileRange : g_noted->runRange;
    range = std::max(range, static_cast<int>(lParam));
  }
  return CallWindowProcW(g_noted->procs[window], window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassOnCreation(int code, WPARAM wParam, LPARAM lParam) {
  const HWND control = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND) {
    const int id = ::GetDlgCtrlID(control);
    if (id == IDC_DOWNLOAD_STATUS || id == IDC_DOWNLOAD_FILE_BAR || id == IDC_DOWNLOAD_RUN_BAR)
      g_noted->procs[control] = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoteControl)));
  }
  return CallNextHookEx(g_noted->hook, code, wParam, lParam);
}

TEST_F(DownloadDialog, DownloadsOverFtp) {
  const std::string served = root() + "/served";
  fs::create_directories(served);
  std::ofstream(served + "/small.bin", std::ios::binary) << std::string(100'000, 's');
  std::ofstream(served + "/large.bin", std::ios::binary) << std::string(8'000'000, 'l');
  FtpStandIn ftp(served);
  if (ftp.port() == 0) GTEST_SKIP() << "no FTP server: Debian's python3-pyftpdlib is not installed";
  struct Case {
    const char* name;
    const char* path;
    bool noFtpSize;
    bool resumeKeptPart;  // "resume" with a part of another file kept from before
    bool cancel;
    BOOL fetched;
    int range;  // the highest of both bars, in kilobytes; 0 while the size is not known
    const char16_t* status;
  } const cases[] = {
      {"whole file", "/small.bin", false, false, false, TRUE, 100'000 / 1024, nullptr},
      {"no size asked", "/small.bin", true, false, false, TRUE, 0, nullptr},
      {"kept part written afresh", "/small.bin", false, true, false, TRUE, 100'000 / 1024, nullptr},
      {"missing file", "/none.bin", false, false, false, FALSE, 0,
       u"IDS_ERROR_URLOPEN 550 /none.bin is not retrievable."},  // the worker's key, then the server's reply
      {"cancelled", "/large.bin", false, false, true, FALSE, 8'000'000 / 1024, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearDownloadFiles();
    ResetDownloadOptions();
    fs::remove(root() + "/drive_c/dl/a.bin");
    const CString address(("ftp://127.0.0.1:" + std::to_string(ftp.port()) + c.path).c_str());
    ASSERT_TRUE(AddDownloadFile(address, _T("C:\\dl\\a.bin")));
    if (c.noFtpSize) ParseDownloadOptions(_T("noftpsize"), _T("true"));
    if (c.resumeKeptPart) {
      // An FTP server is not asked for the rest of a file: the part is not continued.
      ParseDownloadOptions(_T("resume"), _T("true"));
      std::ofstream(root() + "/drive_c/dl/a.bin.part", std::ios::binary) << std::string(5'000, 'x');
    }
    NotedControls noted;
    g_noted = &noted;
    noted.hook = SetWindowsHookExW(WH_CBT, &SubclassOnCreation, nullptr, GetCurrentThreadId());
    bool asked = false;
    const BOOL fetched = Run([&](HWND popup) {
      if (const HWND box = RunningMessageBox()) {
        Click(::GetDlgItem(box, kMessageBoxFirstButton));  // "yes", stop
        return false;
      }
      if (c.cancel && !asked && popup != nullptr && noted.fileRange > 0) {
        asked = true;
        Click(::GetDlgItem(popup, IDOK));
      }
      return false;
    });
    UnhookWindowsHookEx(noted.hook);
    g_noted = nullptr;
    EXPECT_EQ(fetched, c.fetched);
    EXPECT_EQ(noted.fileRange, c.range);
    EXPECT_EQ(noted.runRange, c.range);
    if (c.status != nullptr) {
      ASSERT_FALSE(noted.statuses.empty());
      EXPECT_EQ(noted.statuses.back(), CString(c.status));
    }
    if (c.fetched) {
      std::ifstream in(root() + "/drive_c/dl/a.bin", std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(100'000, 's'));
    } else {
      EXPECT_FALSE(Exists("a.bin"));
    }
    EXPECT_FALSE(Exists("a.bin.part")) << "a failed run without \"resume\" keeps no part";
  }
}

}  // namespace
}  // namespace zx::test
