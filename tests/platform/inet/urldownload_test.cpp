// URLDownloadToFileW: whole files or none, and the answers for each kind of failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "inet_testing.h"
#include "test_http_server.h"
#include "urlmon.h"

namespace zx::test {
namespace {

class UrlDownloadTest : public InetTest {
 protected:
  TestHttpServer server_;
  TempFolder folder_;

  // The Windows name of a file in the test's folder (Z: is the host's root).
  std::u16string Target(const std::string& name) const {
    std::u16string path = u"Z:" + Wide(folder_.path() + "/" + name);
    for (char16_t& c : path)
      if (c == u'/') c = u'\\';
    return path;
  }
  std::u16string Url(const std::string& path) const { return Wide(server_.base() + path); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(folder_.path() + "/" + name); }
};

TEST_F(UrlDownloadTest, TheWholeBodyReplacesTheFile) {
  const std::string content(70000, 'z');
  server_.Script("GET", "/pkg.zip", {200, content, "application/zip"});
  WriteHostFile(folder_.path() + "/pkg.zip", "old");
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/pkg.zip").c_str(), Target("pkg.zip").c_str(), 0, nullptr), S_OK);
  EXPECT_EQ(ReadHostFile(folder_.path() + "/pkg.zip"), content);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(UrlDownloadTest, MissingFilesAndServerErrorsLeaveNothing) {
  server_.Script("GET", "/broken", {500, "oops", "text/plain"});
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/absent").c_str(), Target("a").c_str(), 0, nullptr),
            INET_E_OBJECT_NOT_FOUND);
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/broken").c_str(), Target("b").c_str(), 0, nullptr),
            INET_E_DOWNLOAD_FAILURE);
  EXPECT_FALSE(Exists("a"));
  EXPECT_FALSE(Exists("b"));
}

TEST_F(UrlDownloadTest, ACutTransferLeavesNoFileBehind) {
  server_.Script("GET", "/cut", {200, std::string(4000, 'c'), "application/zip", {},
                                 ScriptedReply::Delivery::CutHalfway});
  WriteHostFile(folder_.path() + "/cut.zip", "previous");
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/cut").c_str(), Target("cut.zip").c_str(), 0, nullptr),
            INET_E_DOWNLOAD_FAILURE);
  EXPECT_EQ(ReadHostFile(folder_.path() + "/cut.zip"), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(UrlDownloadTest, AddressesItCannotFetchAreRefused) {
  EXPECT_EQ(URLDownloadToFileW(nullptr, u"ftp://127.0.0.1/f", Target("f").c_str(), 0, nullptr), INET_E_INVALID_URL);
  EXPECT_EQ(URLDownloadToFileW(nullptr, u"not a url", Target("f").c_str(), 0, nullptr), INET_E_INVALID_URL);
  EXPECT_EQ(URLDownloadToFileW(nullptr, u"http://127.0.0.1:1/f", Target("f").c_str(), 0, nullptr),
            INET_E_CANNOT_CONNECT);
  EXPECT_EQ(URLDownloadToFileW(nullptr, nullptr, Target("f").c_str(), 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(URLDownloadToFileW(nullptr, Url("/x").c_str(), Target("f").c_str(), 0,
                               reinterpret_cast<LPBINDSTATUSCALLBACK>(&folder_)),
            E_NOTIMPL);
  EXPECT_FALSE(Exists("f"));
}

TEST_F(UrlDownloadTest, AFolderThatIsNotThereFailsWithTheFileError) {
  server_.Script("GET", "/x", {200, "x", "text/plain"});
  const HRESULT result = URLDownloadToFileW(nullptr, Url("/x").c_str(), Target("no/such/x").c_str(), 0, nullptr);
  EXPECT_TRUE(FAILED(result));
  EXPECT_EQ(result & 0xFFFF0000, static_cast<HRESULT>(0x80070000));
}

}  // namespace
}  // namespace zx::test
