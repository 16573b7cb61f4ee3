// The zip wrapper against archives other tools write: Info-ZIP zip, 7-Zip and Python's
// zipfile. Every archive extracts file by file as bsdtar extracts it, or is refused: methods
// the reader cannot decode, links, and two names that would land on one file.
#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <filesystem>
#include <fstream>

#include "ZipArchive.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

constexpr char kInfText[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Net\r\n; a driver's INF, long enough to compress\r\n"
    "[Strings]\r\nDesc=\"A network adapter of some maker, a network adapter of some maker\"\r\n";

class ZipRealArchiveTest : public ArchiveTest {
 protected:
  // Copies a host archive into C:\pkg\<name> and answers that Windows path.
  CString Place(const std::string& hostArchive, const char* name) {
    const CString path = CString(_T("C:\\pkg\\")) + CString(name);
    WriteHostFile(Host(path), ReadHostFile(hostArchive));
    return path;
  }

  // Extracts every entry as the install does, stopping at the first failure (its code).
  static DWORD ExtractAll(const CString& archive, LPCTSTR folder) {
    HZIP zip = ZipArchiveOpen(archive);
    if (zip == nullptr) return ZipLastError();
    ZipItemInfo whole;
    DWORD result = ZipArchiveGetItem(zip, &whole, -1);
    for (int i = 0; result == 0 && i < whole.index; ++i) {
      ZipItemInfo item;
      result = ZipArchiveGetItem(zip, &item, i);
      if (result == 0) result = ZipArchiveSetBaseFolder(zip, folder);
      if (result == 0) result = ZipArchiveExtractItem(zip, item.name, i);
    }
    ZipArchiveClose(zip);
    return result;
  }

  // Extracts the archive with our wrapper and with bsdtar (or unzip, which also takes a
  // program in front of a zip64 archive, with a warning) and expects the same files.
  void ExpectSameAsBsdtar(const std::string& hostArchive, const char* name, bool withUnzip = false) {
    SCOPED_TRACE(name);
    const std::string reference = WorkFolder(std::string("reference-") + name);
    const std::string command = withUnzip ? "unzip -qq -o '" + hostArchive + "'; test $? -le 1"
                                          : "LC_ALL=C.UTF-8 bsdtar -xf '" + hostArchive + "'";
    ASSERT_TRUE(Shell("cd '" + reference + "' && " + command));
    const CString folder = CString(_T("C:\\out\\")) + CString(name);
    ASSERT_EQ(ExtractAll(Place(hostArchive, name), folder), 0u);
    const auto expected = Tree(reference);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Tree(Host(folder)), expected);
  }

  // A source folder of driver files with names in several scripts.
  std::string DriverFolder() const {
    const std::string folder = WorkFolder("source");
    WriteHostFile(folder + "/driver.inf", kInfText);
    WriteHostFile(folder + "/x64/driver.sys", std::string(3000, 'S') + "end");
    WriteHostFile(folder + "/Ünïcödé/设备.inf", kInfText);
    WriteHostFile(folder + "/日本語/ドライバ.cat", "catalog");
    return folder;
  }
};

TEST_F(ZipRealArchiveTest, Bzip2LzmaAndXzEntriesExtractAsBsdtarExtractsThemAndOtherMethodsAreUnsupported) {
  ZX_REQUIRE_TOOL("zip");
  ZX_REQUIRE_TOOL("bsdtar");
  ZX_REQUIRE_TOOL("7zz");
  ZX_REQUIRE_TOOL("python3");
  const std::string work = WorkFolder("methods");
  // The driver file spans many of the decoders' pieces and several bzip2 blocks.
  std::string driver;
  for (int i = 0; driver.size() < 2'500'000; ++i) driver += "line " + std::to_string(i * 7919 % 100003) + "\n";
  WriteHostFile(work + "/driver.sys", driver);
  // Python's LZMA entry ends with a marker; a copy whose flags say it does not is read to its
  // declared size instead.
  WriteHostFile(work + "/write.py",
                "import sys, zipfile\n"
                "for name, method in (('py-bzip2.zip', zipfile.ZIP_BZIP2), ('py-lzma.zip', zipfile.ZIP_LZMA)):\n"
                "    with zipfile.ZipFile(name, 'w', method) as z: z.write('driver.sys')\n"
                "data = bytearray(open('py-lzma.zip', 'rb').read())\n"
                "data[6] &= ~2\n"
                "data[data.rfind(b'PK\\x01\\x02') + 8] &= ~2\n"
                "open('py-lzma-sized.zip', 'wb').write(data)\n");
  ASSERT_TRUE(Shell("cd '" + work + "' && python3 write.py"));
  ASSERT_TRUE(Shell("cd '" + work + "' && zip -q -Z bzip2 zip-bzip2.zip driver.sys"));
  for (const char* method : {"LZMA", "XZ", "PPMd", "Deflate64", "BZip2"})
    ASSERT_TRUE(Shell("cd '" + work + "' && 7zz a -tzip -mm=" + method + " 7z-" + method + ".zip driver.sys"));
  // Entries with a byte of their compressed data changed half-way.
  for (const char* name : {"zip-bzip2", "7z-LZMA", "7z-XZ"}) {
    std::string damaged = ReadHostFile(work + "/" + name + ".zip");
    damaged[damaged.size() / 2] ^= 0x55;
    WriteHostFile(work + "/damaged-" + name + ".zip", damaged);
  }
  const struct {
    const char* name;
    DWORD result;
  } kCases[] = {
      {"py-bzip2.zip", kZipOk},
      {"zip-bzip2.zip", kZipOk},
      {"7z-BZip2.zip", kZipOk},
      {"py-lzma.zip", kZipOk},
      {"py-lzma-sized.zip", kZipOk},
      {"7z-LZMA.zip", kZipOk},
      {"7z-XZ.zip", kZipOk},
      {"damaged-zip-bzip2.zip", kZipDecompressFailed},
      {"damaged-7z-LZMA.zip", kZipDecompressFailed},
      {"damaged-7z-XZ.zip", kZipDecompressFailed},
      {"7z-PPMd.zip", kZipUnsupportedMethod},
      {"7z-Deflate64.zip", kZipUnsupportedMethod},
  };
  for (const auto& method : kCases) {
    SCOPED_TRACE(method.name);
    HZIP zip = ZipArchiveOpen(Place(work + "/" + method.name, method.name));
    ASSERT_NE(zip, nullptr);
    ZipItemInfo item;
    // The entry is described whatever its method: its name and sizes are known.
    ASSERT_EQ(ZipArchiveGetItem(zip, &item, 0), 0u);
    EXPECT_EQ(CString(item.name), CString(_T("driver.sys")));
    EXPECT_EQ(item.unc_size, driver.size());
    ZipArchiveSetBaseFolder(zip, _T("C:\\out\\m"));
    EXPECT_EQ(ZipArchiveExtractItem(zip, item.name, 0), method.result);
    ZipArchiveClose(zip);
    const std::string written = Host(_T("C:\\out\\m\\driver.sys"));
    if (method.result != kZipOk) {
      EXPECT_FALSE(std::filesystem::exists(written));
      continue;
    }
    const std::string reference = WorkFolder(std::string("bsdtar-") + method.name);
    ASSERT_TRUE(Shell("cd '" + reference + "' && bsdtar -xf '" + work + "/" + method.name + "'"));
    // Compared whole, not printed: the file is megabytes long.
    EXPECT_TRUE(ReadHostFile(reference + "/driver.sys") == driver);
    EXPECT_TRUE(ReadHostFile(written) == driver);
    std::filesystem::remove(written);
  }
}

TEST_F(ZipRealArchiveTest, Zip64ArchivesExtractAsBsdtarExtractsThem) {
  ZX_REQUIRE_TOOL("bsdtar");
  ZX_REQUIRE_TOOL("zip");
  ZX_REQUIRE_TOOL("7zz");
  ZX_REQUIRE_TOOL("python3");
  const std::string source = DriverFolder();
  // Info-ZIP forced to zip64 records; zip and 7-Zip reading a stream of unknown size; Python
  // forced to zip64 local headers.
  ASSERT_TRUE(Shell("cd '" + source + "' && LC_ALL=C.UTF-8 zip -q -r -fz ../zip-fz.zip ."));
  ASSERT_TRUE(Shell("cd '" + source + "' && zip -q ../zip-stream.zip - < driver.inf"));
  ASSERT_TRUE(Shell("cd '" + source + "' && 7zz a -tzip -sidriver.inf ../7z-stream.zip < driver.inf"));
  WriteHostFile(source + "/../write.py",
                "import zipfile\n"
                "with zipfile.ZipFile('py64.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
                "    for name in ('driver.inf', 'x64/driver.sys'):\n"
                "        with z.open(zipfile.ZipInfo(name), 'w', force_zip64=True) as f:\n"
                "            f.write(open('source/' + name, 'rb').read())\n"
        "zipfile.ZIP64_LIMIT = 0  # every size and offset of the directory in its zip64 block\n"
        "for name, method in (('py64-all.zip', zipfile.ZIP_DEFLATED), ('py64-stored.zip', zipfile.ZIP_STORED)):\n"
        "    with zipfile.ZipFile(name, 'w', method) as z:\n"
        "        z.write('source/driver.inf', 'driver.inf')\n"
        "        z.write('source/x64/driver.sys', 'x64/driver.sys')\n");
  ASSERT_TRUE(Shell("cd '" + source + "/..' && python3 write.py"));
  for (const char* name : {"zip-fz.zip", "zip-stream.zip", "7z-stream.zip", "py64.zip", "py64-all.zip", "py64-stored.zip"})
    ExpectSameAsBsdtar(source + "/../" + name, name);
}

TEST_F(ZipRealArchiveTest, UnicodeNamesExtractAsBsdtarExtractsThem) {
  ZX_REQUIRE_TOOL("bsdtar");
  ZX_REQUIRE_TOOL("zip");
  ZX_REQUIRE_TOOL("7zz");
  ZX_REQUIRE_TOOL("python3");
  const std::string source = DriverFolder();
  // 7-Zip flags UTF-8 names with bit 11; Info-ZIP writes them unflagged; Python flags them
  // and, here, also writes an ASCII stand-in name with the Unicode path block 0x7075.
  ASSERT_TRUE(Shell("cd '" + source + "' && LC_ALL=C.UTF-8 7zz a -tzip -mcu=on ../7z-utf8.zip ."));
  ASSERT_TRUE(Shell("cd '" + source + "' && LC_ALL=C.UTF-8 zip -q -r ../zip-utf8.zip ."));
  WriteHostFile(source + "/../write.py",
                "import struct, zipfile, zlib\n"
                "with zipfile.ZipFile('py-utf8.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
                "    z.writestr('Ünïcödé/设备.inf', open('source/driver.inf', 'rb').read())\n"
                "with zipfile.ZipFile('py-7075.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
                "    for ascii, real in (('_/__.inf', '日本語/ドライバ.inf'), ('caf_.inf', 'café.inf')):\n"
                "        info = zipfile.ZipInfo(ascii)\n"
                "        utf8 = real.encode()\n"
                "        info.extra = struct.pack('<HHBI', 0x7075, 5 + len(utf8), 1, zlib.crc32(ascii.encode())) + utf8\n"
                "        z.writestr(info, b'payload of ' + utf8)\n");
  ASSERT_TRUE(Shell("cd '" + source + "/..' && python3 write.py"));
  for (const char* name : {"7z-utf8.zip", "zip-utf8.zip", "py-utf8.zip", "py-7075.zip"})
    ExpectSameAsBsdtar(source + "/../" + name, name);
  EXPECT_EQ(ReadHostFile(Host(_T("C:\\out\\py-7075.zip\\caf\u00E9.inf"))), "payload of caf\xC3\xA9.inf");
}

// Writes a zip whose entries carry the given stored name bytes and general-purpose flags.
struct RawEntry {
  std::string storedName;
  std::string content;
  unsigned long flags = 0;
  unsigned long externalAttributes = 0;
};
void WriteRawZip(const std::string& hostPath, const std::vector<RawEntry>& entries) {
  zipFile out = zipOpen64(hostPath.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(out, nullptr);
  for (const RawEntry& entry : entries) {
    zip_fileinfo info{};
    info.external_fa = entry.externalAttributes;
    ASSERT_EQ(zipOpenNewFileInZip4_64(out, entry.storedName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, 6, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0,
                                      3 << 8 | 20, entry.flags, 0),
              ZIP_OK);
    zipWriteInFileInZip(out, entry.content.data(), static_cast<unsigned>(entry.content.size()));
    zipCloseFileInZip(out);
  }
  zipClose(out, nullptr);
}

TEST_F(ZipRealArchiveTest, UnflaggedNamesThatAreNotUtf8AreReadInTheDosCodePage) {
  const std::string archive = WorkFolder("raw") + "/dos.zip";
  // "café.inf" and "Ñ.sys" as MS-DOS wrote them, two bytes no UTF-8 text holds, and one
  // name flagged as UTF-8.
  WriteRawZip(archive, {{"caf\x82.inf", "1"}, {"\xA5.sys", "2"}, {"\xFE\xFF.bin", "3"}, {"\xFF\xFE.bin", "4"},
                        {"\xE4\xB8\xAD.txt", "5", 0x800}});
  ASSERT_EQ(ExtractAll(Place(archive, "dos.zip"), _T("C:\\out\\dos")), 0u);
  const std::map<std::string, std::string> expected = {{"caf\xC3\xA9.inf", "1"},
                                                       {"\xC3\x91.sys", "2"},
                                                       {"\xE2\x96\xA0\xC2\xA0.bin", "3"},
                                                       {"\xC2\xA0\xE2\x96\xA0.bin", "4"},
                                                       {"\xE4\xB8\xAD.txt", "5"}};
  EXPECT_EQ(Tree(Host(_T("C:\\out\\dos"))), expected);
}

TEST_F(ZipRealArchiveTest, TwoStoredNamesNeverEndUpAsOneFile) {
  const std::string archive = WorkFolder("raw") + "/twice.zip";
  // Names that differ only in case, or only in a step the safe name drops, are one file on
  // Windows: the second entry would silently replace the first.
  const std::vector<std::vector<RawEntry>> cases = {
      {{"Driver.inf", "first"}, {"DRIVER.INF", "second"}},
      {{"x64/a.sys", "first"}, {"x64/./../x64/a.sys", "second"}},
  };
  for (const auto& entries : cases) {
    SCOPED_TRACE(entries[1].storedName);
    WriteRawZip(archive, entries);
    std::filesystem::remove_all(Host(_T("C:\\out\\twice")));
    EXPECT_EQ(ExtractAll(Place(archive, "twice.zip"), _T("C:\\out\\twice")), static_cast<DWORD>(kZipCannotOpen));
    const auto tree = Tree(Host(_T("C:\\out\\twice")));
    for (const auto& [name, content] : tree) {
      if (name.back() != '/') {
        EXPECT_EQ(content, "first") << name;
      }
    }
  }
}

TEST_F(ZipRealArchiveTest, ANameEndingInASlashIsAFolderWhateverItsAttributes) {
  ZX_REQUIRE_TOOL("bsdtar");
  const std::string archive = WorkFolder("raw") + "/folders.zip";
  // Folders stored as plain files: no attribute says "folder", only the trailing slash.
  WriteRawZip(archive, {{"drivers/", ""}, {"drivers/x64/", "", 0, 0x81A40000}, {"drivers/x64/a.sys", "sys"}});
  ExpectSameAsBsdtar(archive, "folders.zip");
  EXPECT_TRUE(std::filesystem::is_directory(Host(_T("C:\\out\\folders.zip\\drivers\\x64"))));
}

TEST_F(ZipRealArchiveTest, PaddingAndCommentsAroundTheRecordsOpenAsBsdtarOpensThem) {
  ZX_REQUIRE_TOOL("bsdtar");
  ZX_REQUIRE_TOOL("zip");
  const std::string source = DriverFolder();
  const std::string work = source + "/..";
  ASSERT_TRUE(Shell("cd '" + source + "' && LC_ALL=C.UTF-8 zip -q -r ../plain.zip . && LC_ALL=C.UTF-8 zip -q -r -fz ../z64.zip ."));
  const std::string plain = ReadHostFile(work + "/plain.zip");
  const std::string zip64 = ReadHostFile(work + "/z64.zip");
  const std::string stub(4096, 'M');  // a self-extractor's program in front of the archive
  WriteHostFile(work + "/stub.zip", stub + plain);
  WriteHostFile(work + "/stub64.zip", stub + zip64);
  WriteHostFile(work + "/tail.zip", plain + std::string(300, '\0'));
  ASSERT_TRUE(Shell("cd '" + work + "' && cp plain.zip comment.zip && echo 'driver package 1.2' | zip -q -z comment.zip"));
  for (const char* name : {"stub.zip", "tail.zip", "comment.zip"}) ExpectSameAsBsdtar(work + "/" + name, name);
  ZX_REQUIRE_TOOL("unzip");
  ExpectSameAsBsdtar(work + "/stub64.zip", "stub64.zip", true);
}

}  // namespace
}  // namespace zx::test
