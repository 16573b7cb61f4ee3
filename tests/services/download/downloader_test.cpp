// The download manager against a loopback server: whole files, resume with a range request, a
// server that ignores the range, redirect chains and their limit, a cancel from another thread,
// failures that leave nothing under the target's name, and the sizes read from headers.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "Downloader.h"
#include "HttpLengths.h"
#include "machine_fixture.h"
#include "zx/modal.h"
#include "zx/msgbox.h"

#include <httplib.h>  // after the layer's headers, whose names it must not redefine

namespace zx::test {
namespace {

std::string Content(size_t size) {
  std::string bytes(size, '\0');
  for (size_t index = 0; index < size; ++index) bytes[index] = static_cast<char>((index * 7 + index / 251) & 0xFF);
  return bytes;
}

TEST(HttpLengths, SizesThatDoNotFitSayNothing) {
  struct Case {
    LPCWSTR text;
    LONGLONG length, rangeTotal;
    bool leadingRead;
    ULONGLONG leading;
  };
  const Case cases[] = {
      {u"1048576", 1048576, -1, true, 1048576},
      {u"bytes 0-99/4096", -1, 4096, true, 0},
      {u"bytes */4096", -1, 4096, true, 0},
      {u"12abc", -1, -1, true, 12},
      {u"18446744073709551615", -1, -1, true, 18446744073709551615ull},
      {u"18446744073709551616", -1, -1, false, 0},
      {u"bytes 0-1/99999999999999999999", -1, -1, true, 0},
      {u"", 0, -1, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CStringA(c.text).GetString());
    EXPECT_EQ(ParseContentLength(c.text), c.length);
    EXPECT_EQ(ParseRangeTotal(c.text), c.rangeTotal);
    ULONGLONG leading = 0;
    EXPECT_EQ(ParseLeadingLength(c.text, leading), c.leadingRead);
    if (c.leadingRead) {
      EXPECT_EQ(leading, c.leading);
    }
  }
}

class Downloads : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ClearDownloadFiles();
    ResetDownloadOptions();
    server_.Get("/file", [this](const httplib::Request& request, httplib::Response& response) {
      lastRange_ = request.get_header_value("Range");
      response.set_content(content_, "application/octet-stream");
    });
    server_.Get("/norange", [this](const httplib::Request& request, httplib::Response& response) {
      lastRange_ = request.get_header_value("Range");
      const_cast<httplib::Request&>(request).ranges.clear();  // this server always sends it all
      response.set_content(content_, "application/octet-stream");
    });
    server_.Get("/private", [](const httplib::Request&, httplib::Response& response) {
      response.status = 401;
      response.set_header("WWW-Authenticate", "Basic realm=\"updates\"");
      response.set_content(std::string(1000, 'r'), "text/plain");
    });
    server_.Get(R"(/hop/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
      const int left = std::stoi(request.matches[1]);
      response.set_redirect(left > 0 ? "/hop/" + std::to_string(left - 1) : "/file", left % 2 ? 301 : 302);
    });
    server_.Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(
          10'000'000, "application/octet-stream", [this](size_t, size_t, httplib::DataSink& sink) {
            slowStarted_ = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const std::string chunk(4096, 'x');
            return !stopping_ && sink.write(chunk.data(), chunk.size());
          });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::filesystem::create_directories(root() + "/drive_c/dl");
  }
  void TearDown() override {
    stopping_ = true;
    server_.stop();
    thread_.join();
    ClearDownloadFiles();
    ResetDownloadOptions();
  }
  CString Url(const std::string& path) const {
    return CString(("http://127.0.0.1:" + std::to_string(port_) + path).c_str());
  }
  std::string Host(const std::string& name) const { return root() + "/drive_c/dl/" + name; }
  bool Exists(const std::string& name) const { return std::filesystem::exists(Host(name)); }

  const std::string content_ = Content(100'000);
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::string lastRange_;
  std::atomic<bool> slowStarted_{false};
  std::atomic<bool> stopping_{false};
};

TEST_F(Downloads, AnEmptyListOrAListOfDoneFilesSucceedsAtOnce) {
  EXPECT_TRUE(RunDownloadDialog());
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\a.bin")));
  ParseDownloadOptions(_T("hidden"), _T("1"));
  ASSERT_TRUE(RunDownloadDialog());
  std::filesystem::remove(Host("a.bin"));
  EXPECT_TRUE(RunDownloadDialog());  // the file is done: nothing is fetched again
  EXPECT_FALSE(Exists("a.bin"));
}

TEST_F(Downloads, FilesAreFetchedWholeAndNoPartIsLeft) {
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\a.bin")));
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\b.bin")));
  CDownload run;
  ASSERT_TRUE(run.Run()) << CStringA(run.m_strError).GetString();
  EXPECT_EQ(ReadHostFile(Host("a.bin")), content_);
  EXPECT_EQ(ReadHostFile(Host("b.bin")), content_);
  EXPECT_FALSE(Exists("a.bin.part"));
  EXPECT_EQ(run.m_nFilesDone, 2);
  EXPECT_EQ(lastRange_, "");
}

TEST_F(Downloads, AResumedFileAsksForTheRestAndAppendsIt) {
  WriteHostFile(Host("a.bin.part"), content_.substr(0, 40'000));
  ParseDownloadOptions(_T("resume"), _T("true"));
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\a.bin")));
  CDownload run;
  ASSERT_TRUE(run.Run()) << CStringA(run.m_strError).GetString();
  EXPECT_EQ(lastRange_, "bytes=40000-");
  EXPECT_EQ(ReadHostFile(Host("a.bin")), content_);
  EXPECT_FALSE(Exists("a.bin.part"));
}

TEST_F(Downloads, AServerAnsweringTheRangeWithTheWholeFileRestartsFromByteZero) {
  WriteHostFile(Host("a.bin.part"), std::string(30'000, 'Z'));
  ParseDownloadOptions(_T("resume"), _T("true"));
  ASSERT_TRUE(AddDownloadFile(Url("/norange"), _T("C:\\dl\\a.bin")));
  CDownload run;
  ASSERT_TRUE(run.Run()) << CStringA(run.m_strError).GetString();
  EXPECT_EQ(lastRange_, "bytes=30000-");
  EXPECT_EQ(ReadHostFile(Host("a.bin")), content_);
}

TEST_F(Downloads, ARedirectChainIsFollowed) {
  ASSERT_TRUE(AddDownloadFile(Url("/hop/3"), _T("C:\\dl\\a.bin")));
  CDownload run;
  ASSERT_TRUE(run.Run()) << CStringA(run.m_strError).GetString();
  EXPECT_EQ(ReadHostFile(Host("a.bin")), content_);
}

TEST_F(Downloads, TooManyRedirectsFailWithoutAFile) {
  ASSERT_TRUE(AddDownloadFile(Url("/hop/" + std::to_string(kDownloadRedirectLimit + 1)), _T("C:\\dl\\a.bin")));
  CDownload run;
  EXPECT_FALSE(run.Run());
  EXPECT_NE(run.m_strError.Find(_T("Too many redirects")), -1);
  EXPECT_FALSE(Exists("a.bin"));
  EXPECT_FALSE(Exists("a.bin.part"));
}

TEST_F(Downloads, AFailedFileLeavesTheExistingTargetAlone) {
  WriteHostFile(Host("a.bin"), "the earlier version");
  ASSERT_TRUE(AddDownloadFile(Url("/missing"), _T("C:\\dl\\a.bin")));
  CDownload run;
  EXPECT_FALSE(run.Run());
  EXPECT_NE(run.m_strError.Find(_T("HTTP 404")), -1);
  EXPECT_EQ(ReadHostFile(Host("a.bin")), "the earlier version");
  EXPECT_FALSE(Exists("a.bin.part"));
}

TEST_F(Downloads, ACancelFromAnotherThreadStopsTheTransfer) {
  ASSERT_TRUE(AddDownloadFile(Url("/slow"), _T("C:\\dl\\a.bin")));
  auto result = std::async(std::launch::async, [] {
    CDownload run;
    return std::make_pair(run.Run(), run.m_strError);
  });
  while (!slowStarted_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  CancelDownloadRun();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  const auto [done, error] = result.get();
  EXPECT_FALSE(done);
  EXPECT_NE(error.Find(_T("Cancelled")), -1);
  EXPECT_FALSE(Exists("a.bin"));
  EXPECT_FALSE(Exists("a.bin.part"));
  // A later run opens a new session.
  ClearDownloadFiles();
  ASSERT_TRUE(AddDownloadFile(Url("/file"), _T("C:\\dl\\b.bin")));
  CDownload again;
  EXPECT_TRUE(again.Run()) << CStringA(again.m_strError).GetString();
}

TEST_F(Downloads, OverLongAddressesAndPathsAreRefusedNotCut) {
  const CString longUrl = Url("/") + CString(_T('x'), kDownloadUrlLimit);
  EXPECT_FALSE(AddDownloadFile(longUrl, _T("C:\\dl\\a.bin")));
  const CString longPath = CString(_T("C:\\dl\\")) + CString(_T('p'), kDownloadPathLimit);
  EXPECT_FALSE(AddDownloadFile(Url("/file"), longPath));
  EXPECT_FALSE(AddDownloadFile(_T(""), _T("C:\\dl\\a.bin")));
  EXPECT_EQ(GetDownloadFileCount(), 0);
  EXPECT_TRUE(AddDownloadFile(Url("/file"), CString(_T("C:\\")) + CString(_T('p'), kDownloadPathLimit - 3)));
}

TEST_F(Downloads, ARefusedRequestAsksTheDialogForCredentialsAndFailsWhenNoneCome) {
  ASSERT_TRUE(AddDownloadFile(Url("/private"), _T("C:\\dl\\a.bin")));
  EXPECT_FALSE(RunDownloadDialog());
  EXPECT_FALSE(Exists("a.bin"));
  CDownload hidden;  // without a dialog nobody is asked
  EXPECT_FALSE(hidden.Run());
  EXPECT_NE(hidden.m_strError.Find(_T("IDS_ERROR_REQUESTFILE")), -1);
}

TEST_F(Downloads, OptionsAreKnownByNameInAnyCase) {
  EXPECT_TRUE(ParseDownloadOptions(_T("HIDDEN"), _T("1")));
  EXPECT_TRUE(ParseDownloadOptions(_T("Resume"), _T("true")));
  EXPECT_TRUE(ParseDownloadOptions(_T("title"), _T("Updates")));
  EXPECT_FALSE(ParseDownloadOptions(_T("colour"), _T("red")));
}

}  // namespace
}  // namespace zx::test
