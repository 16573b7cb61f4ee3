// The download library binding: loading by name and ordinal, transfers through the stand-in
// library into the partial file, stopping, the partial-file naming and the size texts.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "DownloaderLibrary.h"
#include "cstring_printer.h"
#include "install_testing.h"
#include "loopback_server.h"

namespace {

using zx::test::HostPath;
using zx::test::LoopbackServer;

class DownloaderBindingTest : public zx::test::InstallTest {
 protected:
  static CString Wide(const std::string& text) { return CString(std::u16string(text.begin(), text.end()).c_str()); }
};

std::vector<CString> g_lines;
void CollectLine(int /*percent*/, const CString& line) { g_lines.push_back(line); }

TEST_F(DownloaderBindingTest, AMissingLibraryIsACleanFailureWithOneMessage) {
  CDownloaderLibrary library;
  EXPECT_FALSE(library.Load(_T("NoSuchDownloader.dll")));
  EXPECT_FALSE(library.IsLoaded());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], u"Zephrin Tunevo cannot find its download library.");
  EXPECT_FALSE(library.Reset());
  EXPECT_EQ(library.Download(_T("http://127.0.0.1:1/x"), _T("C:\\x.bin"), _T("abc"), 1, 0), 0);
  library.Stop();  // nothing to stop
}

TEST_F(DownloaderBindingTest, ALibraryWithoutTheOrdinalsCountsAsMissing) {
  CDownloaderLibrary library;
  EXPECT_FALSE(library.Load(_T("zephrinkxsys.dll")));
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(DownloaderBindingTest, FetchesIntoThePartialFileAndRenamesIt) {
  const std::string body(100000, 'z');
  LoopbackServer server(body);
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  EXPECT_TRUE(boxes_.empty());
  g_lines.clear();
  CDownloaderLibrary::SetStatusSink(CollectLine);
  ASSERT_TRUE(library.Reset());
  CString target = _T("C:\\dl\\pkg.zip");
  CreateDirectoryW(_T("C:\\dl"), nullptr);
  WriteHostFile(HostPath(target), "old package");
  ASSERT_EQ(PreparePartialTarget(_T(""), target, _T("sum"), 0), 1);
  EXPECT_EQ(target, CString(_T("C:\\dl\\pkg.zip.unconfirmed")));
  EXPECT_FALSE(HostFileExists(HostPath(_T("C:\\dl\\pkg.zip")))) << "the old final file is deleted";
  EXPECT_NE(library.Download(Wide(server.Url()), target, _T("sum"), 1, 0), 0);
  CDownloaderLibrary::SetStatusSink(nullptr);
  EXPECT_EQ(WaitForSingleObject(library.GetEvent(), 0), WAIT_OBJECT_0) << "the event tells the transfer ended";
  library.CloseEvent();
  EXPECT_EQ(ReadHostFile(HostPath(target)), body);
  ASSERT_TRUE(RenamePartialFile(target, false, true));
  EXPECT_EQ(target, CString(_T("C:\\dl\\pkg.zip")));
  EXPECT_EQ(ReadHostFile(HostPath(target)), body);
  ASSERT_FALSE(g_lines.empty());
  EXPECT_EQ(g_lines.back(), CString(_T("Downloaded 97.6562500000 KB of 97.6562500000 KB")));
}

TEST_F(DownloaderBindingTest, AFailedTransferAnswersZeroAndLeavesNoFile) {
  LoopbackServer server("body");
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  library.Reset();
  EXPECT_EQ(library.Download(Wide(server.Url("/missing")), _T("C:\\gone.bin"), _T("sum"), 1, 0), 0);
  EXPECT_FALSE(HostFileExists(HostPath(_T("C:\\gone.bin"))));
  server.SetMode(LoopbackServer::Mode::CutHalfway);
  EXPECT_EQ(library.Download(Wide(server.Url()), _T("C:\\cut.bin"), _T("sum"), 1, 0), 0);
  EXPECT_FALSE(HostFileExists(HostPath(_T("C:\\cut.bin"))));
}

// A transfer that fails is told through the message callback as a notice (kind 0, OK alone)
// that names the address and the error, never with the error number in the kind's place.
std::vector<std::pair<CString, int>> g_messages;
int KeepMessage(LPVOID, LPCWSTR text, int kind, LPVOID, LPVOID) {
  g_messages.emplace_back(text ? text : u"", kind);
  return IDOK;
}

TEST_F(DownloaderBindingTest, AFailedTransferIsToldAsANoticeNamingTheAddress) {
  LoopbackServer server("body");
  const HMODULE module = LoadLibraryW(u"Downloader.dll");
  ASSERT_NE(module, nullptr);
  const auto download = reinterpret_cast<DownloaderDownloadFn>(GetProcAddress(module, MAKEINTRESOURCEA(1)));
  ASSERT_NE(download, nullptr);
  CString address = Wide(server.Url("/missing"));
  CString target = _T("C:\\missing.bin");
  tagDownloadRequest request{};
  request.pszAddress = address.GetBuffer();
  request.pszTargetPath = target.GetBuffer();
  g_messages.clear();
  EXPECT_EQ(download(&request, 1, nullptr, nullptr, KeepMessage, nullptr), 0);
  address.ReleaseBuffer();
  target.ReleaseBuffer();
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].second, 0);
  EXPECT_EQ(g_messages[0].first.Find(address), 16) << CStringA(g_messages[0].first).GetString();
  EXPECT_EQ(g_messages[0].first.Left(16), CString(u"The download of "));
  EXPECT_NE(g_messages[0].first.Find(u"failed (error "), -1);
  FreeLibrary(module);
}

TEST_F(DownloaderBindingTest, TextsTheTransferNeedsMustBeThere) {
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  EXPECT_EQ(library.Download(_T(""), _T("C:\\x.bin"), _T(""), 1, 0), 0);
  EXPECT_EQ(library.Download(_T("http://127.0.0.1:1/x"), _T("C:\\x.bin"), _T(""), 1, 1), 0);
  EXPECT_FALSE(CDownloaderLibrary::IsTransferRunning());
}

TEST_F(DownloaderBindingTest, StopEndsARunningTransfer) {
  LoopbackServer server(std::string(100000, 's'));
  server.SetMode(LoopbackServer::Mode::Trickle);
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  library.Reset();
  int result = -1;
  std::thread worker([&] { result = library.Download(Wide(server.Url()), _T("C:\\slow.bin"), _T("sum"), 1, 0); });
  while (!CDownloaderLibrary::IsTransferRunning() && result == -1) std::this_thread::yield();
  library.Stop();
  worker.join();
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(library.IsAbortRequested());
  EXPECT_FALSE(HostFileExists(HostPath(_T("C:\\slow.bin"))));
}

TEST_F(DownloaderBindingTest, StopWithoutATransferOnlySetsTheFlag) {
  CDownloaderLibrary library;
  ASSERT_TRUE(library.Load());
  EXPECT_FALSE(library.IsAbortRequested());
  library.Stop();
  EXPECT_TRUE(library.IsAbortRequested());
}

TEST_F(DownloaderBindingTest, KeepingAnExistingTargetAnswersZeroButStillPrepares) {
  WriteHostFile(HostPath(_T("C:\\keep.bin")), "kept");
  CString target = _T("C:\\keep.bin");
  EXPECT_EQ(PreparePartialTarget(_T(""), target, _T(""), 1), 0);
  EXPECT_EQ(target, CString(_T("C:\\keep.bin.unconfirmed")));
  EXPECT_EQ(ReadHostFile(HostPath(_T("C:\\keep.bin"))), "kept");
}

TEST_F(DownloaderBindingTest, PartialNamesCutAtTheFirstSuffix) {
  CString path = _T("C:\\a.zip");
  EXPECT_TRUE(RenamePartialFile(path, true, false));
  EXPECT_EQ(path, CString(_T("C:\\a.zip.unconfirmed")));
  path = _T("C:\\a.zip.unconfirmed.unconfirmed");
  EXPECT_TRUE(RenamePartialFile(path, false, false));
  EXPECT_EQ(path, CString(_T("C:\\a.zip")));
  path = _T("C:\\absent.zip.unconfirmed");
  EXPECT_FALSE(RenamePartialFile(path, false, true)) << "nothing to rename";
}

TEST_F(DownloaderBindingTest, SizeTextsCompareStrictlyAndCountWholeBytes) {
  const std::pair<double, const char16_t*> table[] = {
      {0, u""},          {611, u"611 bytes"}, {1024, u"1024 bytes"}, {1025, u"1.0009765625 KB"},
      {1048577, u"1.00 MB"}, {3.0 * 1073741824.0, u"3.00 GB"}};
  for (const auto& [bytes, expected] : table) {
    CString text = _T("x");
    FormatFileSize(bytes, text);
    EXPECT_EQ(text, CString(expected)) << bytes;
  }
}

TEST_F(DownloaderBindingTest, NoProgressLineWithoutBothCounts) {
  tagDownloadProgress progress{};
  CString line;
  progress.ullTotal = 5000;
  EXPECT_FALSE(FormatDownloadProgressLine(progress, line));
  progress.ullReceived = 5000;
  progress.ullTotal = 0;
  EXPECT_FALSE(FormatDownloadProgressLine(progress, line));
  progress.ullReceived = 512;
  progress.ullTotal = 2048;
  ASSERT_TRUE(FormatDownloadProgressLine(progress, line));
  EXPECT_EQ(line, CString(_T("Downloaded 512 bytes of 2.0000000000 KB")));
}

TEST_F(DownloaderBindingTest, TheStandInTestsTheConnectionAndSharesASession) {
  const HMODULE module = LoadLibraryW(CDownloaderLibrary::kLibraryName);
  ASSERT_NE(module, nullptr);
  const auto connected = reinterpret_cast<int (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(3)));
  const auto session = reinterpret_cast<void (*)(int)>(GetProcAddress(module, MAKEINTRESOURCEA(4)));
  const auto download = reinterpret_cast<DownloaderDownloadFn>(GetProcAddress(module, MAKEINTRESOURCEA(1)));
  ASSERT_TRUE(connected != nullptr && session != nullptr && download != nullptr);
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(5)), nullptr);
  WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=none\n");
  EXPECT_EQ(connected(), 0);
  WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n");
  EXPECT_EQ(connected(), 1);

  LoopbackServer server("shared session body");
  WCHAR address[128] = {}, target[] = u"C:\\shared.bin", checksum[] = u"";
  const CString url = Wide(server.Url());
  std::copy(url.GetString(), url.GetString() + url.GetLength(), address);
  tagDownloadRequest request{};
  request.pszAddress = address;
  request.pszTargetPath = target;
  request.pszChecksum = checksum;
  request.nFlag = 1;
  session(1);
  EXPECT_EQ(download(&request, 1, nullptr, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(download(&request, 1, nullptr, nullptr, nullptr, nullptr), 1);
  session(0);
  EXPECT_EQ(ReadHostFile(HostPath(target)), "shared session body");
  EXPECT_EQ(server.Requests(), 2);
  FreeLibrary(module);
}

TEST(DownloadRequestLayout, TheBlockKeepsItsSizeAndFlagPlaces) {
  tagDownloadRequest block{};
  block.bFlag = 0xAB;
  block.nFlag = 0x01020304;
  const auto* bytes = reinterpret_cast<const BYTE*>(&block);
  EXPECT_EQ(bytes[29], 0xAB);
  EXPECT_EQ(bytes[32], 0x04);
  EXPECT_EQ(bytes[35], 0x01);
  for (std::size_t i = 36; i < sizeof block; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

}  // namespace
