// The HTTP downloader against a loopback server: whole transfers, resume with a range
// request, a server that ignores the range, certificate checks, cut transfers and cancel.
#include <gtest/gtest.h>

#include <thread>

#include "EngineCallbacks.h"
#include "HttpDownloader.h"
#include "cstring_printer.h"
#include "install_testing.h"
#include "loopback_server.h"

namespace {

using zx::test::HostPath;
using zx::test::LoopbackServer;

// Counts the progress reports and can cancel itself after the first block.
class TestDownloader : public CHttpDownloader {
 public:
  int progressCalls = 0;
  ULONGLONG lastSoFar = 0, lastTotal = 0;
  bool cancelOnFirstBlock = false;

 protected:
  void OnProgress(ULONGLONG soFar, ULONGLONG total, BOOL) override {
    ++progressCalls;
    lastSoFar = soFar;
    lastTotal = total;
    if (cancelOnFirstBlock) Cancel();
  }
};

class HttpDownloaderTest : public zx::test::InstallTest {
 protected:
  static std::string Key(const CHttpDownloader& d) {
    const std::u16string key = d.GetLastErrorKey().GetString();
    return std::string(key.begin(), key.end()) + " " + std::to_string(d.GetLastErrorNumber());
  }
  static CString Wide(const std::string& text) { return CString(std::u16string(text.begin(), text.end()).c_str()); }
  std::string Target() const { return HostPath(_T("C:\\pkg.bin")); }
  std::string Partial() const { return HostPath(_T("C:\\pkg.bin.part")); }
  static std::string Body() {
    std::string body;
    for (int i = 0; i < 50000; ++i) body += static_cast<char>('a' + i % 26);
    return body;
  }
};

TEST_F(HttpDownloaderTest, FetchesAWholeFileUnderItsFinalName) {
  LoopbackServer server(Body());
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_TRUE(ReadHostFile(Target()) == Body());
  EXPECT_FALSE(HostFileExists(Partial()));
  EXPECT_EQ(server.LastRange(), "");
  EXPECT_GT(downloader.progressCalls, 0);
  EXPECT_EQ(downloader.lastSoFar, Body().size());
  EXPECT_EQ(downloader.lastTotal, Body().size());
}

TEST_F(HttpDownloaderTest, AnAddressWithoutSchemeIsTakenAsHttp) {
  LoopbackServer server(Body());
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url().substr(7));
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_TRUE(ReadHostFile(Target()) == Body());
}

TEST_F(HttpDownloaderTest, ResumesThePartialFileWithARangeRequest) {
  LoopbackServer server(Body());
  WriteHostFile(Partial(), Body().substr(0, 12345) + "garbage past the offset");
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  downloader.m_ullResumeOffset = 12345;
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_EQ(server.LastRange(), "bytes=12345-");
  EXPECT_TRUE(ReadHostFile(Target()) == Body());
  EXPECT_EQ(downloader.lastTotal, Body().size());
}

TEST_F(HttpDownloaderTest, AWholeAnswerToARangeRequestStartsTheFileOver) {
  LoopbackServer server(Body());
  server.SetMode(LoopbackServer::Mode::IgnoreRange);
  WriteHostFile(Partial(), Body().substr(0, 20000));
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  downloader.m_ullResumeOffset = 20000;
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_EQ(server.LastRange(), "bytes=20000-");
  EXPECT_TRUE(ReadHostFile(Target()) == Body()) << "the body is not appended to what the file held";
}

TEST_F(HttpDownloaderTest, ResumingPastTheFileResumesFromItsEnd) {
  LoopbackServer server(Body());
  WriteHostFile(Partial(), Body().substr(0, 100));
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  downloader.m_ullResumeOffset = 40000;
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_EQ(server.LastRange(), "bytes=100-");
  EXPECT_TRUE(ReadHostFile(Target()) == Body());
}

TEST_F(HttpDownloaderTest, ACutTransferLeavesNoFileUnderTheFinalName) {
  LoopbackServer server(Body());
  server.SetMode(LoopbackServer::Mode::CutHalfway);
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kFailed);
  EXPECT_EQ(downloader.GetLastErrorKey(), CString(_T("IDS_HTTPDOWNLOAD_ERROR_READFILE")));
  EXPECT_FALSE(HostFileExists(Target()));
  // What arrived stays for a resume, which completes the file.
  const std::string kept = ReadHostFile(Partial());
  ASSERT_FALSE(kept.empty());
  EXPECT_TRUE(kept == Body().substr(0, kept.size()));
  server.SetMode(LoopbackServer::Mode::Ranges);
  downloader.m_ullResumeOffset = kept.size();
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kDone) << Key(downloader);
  EXPECT_TRUE(ReadHostFile(Target()) == Body());
}

TEST_F(HttpDownloaderTest, ASelfSignedCertificateIsRefused) {
  LoopbackServer server(Body(), true);
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kFailed);
  EXPECT_EQ(downloader.GetLastErrorKey(), CString(_T("IDS_HTTPDOWNLOAD_FAIL_CONNECT_SERVER")));
  EXPECT_FALSE(HostFileExists(Target()));
  EXPECT_FALSE(HostFileExists(Partial())) << "nothing arrived, nothing is kept";
}

TEST_F(HttpDownloaderTest, ErrorAnswersAreReportedWithTheirStatus) {
  LoopbackServer server(Body());
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url("/missing"));
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kFailed);
  EXPECT_EQ(downloader.GetLastErrorKey(), CString(_T("IDS_HTTPDOWNLOAD_INVALID_HTTP_RESPONSE")));
  EXPECT_EQ(downloader.GetLastErrorNumber(), 404u);
  EXPECT_FALSE(HostFileExists(Target()));
  EXPECT_FALSE(HostFileExists(Partial()));
}

TEST_F(HttpDownloaderTest, AnUnusableAddressIsAClearError) {
  TestDownloader downloader;
  downloader.m_strUrl = _T("ftp://127.0.0.1/x");
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kFailed);
  EXPECT_EQ(downloader.GetLastErrorKey(), CString(_T("IDS_HTTPDOWNLOAD_FAIL_PARSE_URL")));
  EXPECT_FALSE(HostFileExists(Partial()));
}

TEST_F(HttpDownloaderTest, CancelEndsTheTransferAndKeepsWhatArrived) {
  LoopbackServer server(Body());
  server.SetMode(LoopbackServer::Mode::Trickle);
  TestDownloader downloader;
  downloader.cancelOnFirstBlock = true;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kAborted);
  EXPECT_FALSE(HostFileExists(Target()));
  EXPECT_FALSE(ReadHostFile(Partial()).empty());
}

TEST_F(HttpDownloaderTest, CancelFromAnotherThreadEndsABlockedRead) {
  LoopbackServer server(Body());
  server.SetMode(LoopbackServer::Mode::Trickle);
  TestDownloader downloader;
  downloader.m_strUrl = Wide(server.Url());
  downloader.m_strTargetPath = _T("C:\\pkg.bin");
  int result = 0;
  std::thread worker([&] { result = downloader.StartHttpDownload(); });
  while (downloader.progressCalls == 0) std::this_thread::yield();
  downloader.Cancel();
  worker.join();
  EXPECT_EQ(result, CHttpDownloader::kAborted);
  EXPECT_FALSE(HostFileExists(Target()));
}

TEST_F(HttpDownloaderTest, RequestFlagsKeepCertificateChecks) {
  class Flags : public CHttpDownloader {
   public:
    DWORD For(INTERNET_SCHEME scheme) {
      m_nScheme = scheme;
      return GetRequestFlags();
    }
    CString Headers() const { return GetExtraHeaders(); }
  } flags;
  EXPECT_EQ(flags.For(INTERNET_SCHEME_HTTP), 0xC4400100u);
  EXPECT_EQ(flags.For(INTERNET_SCHEME_HTTPS), 0xC4C00100u);
  flags.m_bNoAutoRedirect = TRUE;
  EXPECT_EQ(flags.For(INTERNET_SCHEME_HTTP), 0xC4600100u);
  EXPECT_TRUE(flags.Headers().IsEmpty());
  flags.m_ullResumeOffset = 5000000000ull;
  EXPECT_EQ(flags.Headers(), CString(_T("Range: bytes=5000000000-\r\n")));
}

// A block that cannot be written ends the transfer with -10 and tells the user, unless the
// launcher follows the progress; the failure's text comes from the language texts.
TEST_F(HttpDownloaderTest, AFailedWriteAbortsAndTellsTheUser) {
  class Unwritable : public TestDownloader {
   protected:
    BOOL WriteBlock(const BYTE*, DWORD) override { return FALSE; }
  };
  LoopbackServer server(Body());
  for (const bool notifyMode : {false, true}) {
    CEngineProgressView view;
    view.bNotifyMode = notifyMode;
    SetEngineProgressView(&view);
    boxes_.clear();
    Unwritable downloader;
    downloader.m_strUrl = Wide(server.Url());
    downloader.m_strTargetPath = _T("C:\\pkg.bin");
    EXPECT_EQ(downloader.StartHttpDownload(), CHttpDownloader::kWriteFailed);
    SetEngineProgressView(nullptr);
    EXPECT_EQ(Key(downloader).substr(0, 31), "IDS_HTTPDOWNLOAD_ERROR_READFILE");
    EXPECT_EQ(downloader.GetLastErrorMessage(), CString(_T("The download could not be read.")));
    if (notifyMode) {
      EXPECT_TRUE(boxes_.empty());
    } else {
      ASSERT_EQ(boxes_.size(), 1u);
      EXPECT_EQ(boxes_[0], u"Unable to save the download file. Download Aborted.");
    }
    EXPECT_FALSE(HostFileExists(Target()));
  }
}

// The numbers of the reports, and the receive time-out set for the whole process.
TEST_F(HttpDownloaderTest, NumbersAndTheProcessReceiveTimeout) {
  class Slots : public CHttpDownloader {
   public:
    CString Number(DWORD number) const { return ReportNumber(number); }
    void Timeout() { SetReceiveTimeout(); }
  } slots;
  EXPECT_EQ(slots.Number(0), CString(_T("0")));
  EXPECT_EQ(slots.Number(4294967295u), CString(_T("4294967295")));
  DWORD before = 0, after = 0, size = sizeof before;
  ASSERT_TRUE(InternetQueryOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &before, &size));
  slots.Timeout();
  ASSERT_TRUE(InternetQueryOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &after, &size));
  EXPECT_EQ(after, 7200000u);
  InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &before, sizeof before);
}

}  // namespace
