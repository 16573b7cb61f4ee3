// Hives on disk: values survive a fresh load, the journal folds into a new base, and
// damaged, torn or stale files are handled as a crash or a bad disk leaves them.
#include <gtest/gtest.h>

#include <filesystem>

#include "registry_fixture.h"

namespace {

class Persistence : public zx::test::RegistryTest {
 protected:
  // Files in the registry folder whose names contain `part`.
  static std::vector<std::string> FilesNamed(const std::string& part) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(zx::machine::RegistryFolder()))
      if (entry.path().filename().string().find(part) != std::string::npos) found.push_back(entry.path().string());
    return found;
  }
  static void WriteSample() {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Zephrin");
    EXPECT_EQ(SetDword(key, u"First", 1), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, u"Second", u"two"), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"Third", 3), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static HKEY OpenSample() {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Zephrin", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    return key;
  }
  // Loads the hive as a new process would, answering what it printed on stderr.
  static std::string LoadAfresh() {
    zx::registry::ForgetCachedHives();
    testing::internal::CaptureStderr();
    DWORD size = 0;
    RegQueryValueExW(HKEY_CURRENT_USER, u"x", nullptr, nullptr, nullptr, &size);
    return testing::internal::GetCapturedStderr();
  }
};

TEST_F(Persistence, ValuesSurviveAFreshLoad) {
  WriteSample();
  EXPECT_FALSE(std::filesystem::exists(HivePath("HKCU.reg")));  // all in the journal so far
  EXPECT_EQ(LoadAfresh(), "");
  HKEY key = OpenSample();
  EXPECT_EQ(GetDword(key, u"first"), 1u);
  EXPECT_EQ(GetText(key, u"SECOND"), u"two");
  RegCloseKey(key);
}

TEST_F(Persistence, OpenHandlesOutliveAFreshLoad) {
  WriteSample();
  HKEY key = OpenSample();
  zx::registry::ForgetCachedHives();
  EXPECT_EQ(GetDword(key, u"Third"), 3u);
  EXPECT_EQ(SetDword(key, u"Fourth", 4), ERROR_SUCCESS);
  zx::registry::ForgetCachedHives();
  EXPECT_EQ(GetDword(key, u"Fourth"), 4u);
  RegCloseKey(key);
}

TEST_F(Persistence, CompactionFoldsTheJournalIntoANewBase) {
  // Without a floor the journal is folded in whenever it outgrows the base: after the key
  // (61-byte base), after "First" (84), and after "Third" (two records, 148 bytes).
  zx::registry::SetCompactionFloor(0);
  WriteSample();
  EXPECT_EQ(ReadHostFile(HivePath("HKCU.reg")),
            "ZXHIVE 1 generation 3\n[]\n[Software]\n[Software\\Zephrin]\n\"First\"=dword:00000001\n"
            "\"Second\"=sz:\"two\"\n\"Third\"=dword:00000003\nEND\n");
  EXPECT_EQ(ReadHostFile(HivePath("HKCU.log")), zx::registry::FormatJournalHeader(3));
  EXPECT_TRUE(FilesNamed(".tmp").empty());
  EXPECT_EQ(LoadAfresh(), "");
  HKEY key = OpenSample();
  EXPECT_EQ(GetText(key, u"Second"), u"two");
  RegCloseKey(key);
}

TEST_F(Persistence, AStaleJournalIsIgnored) {
  // A crash after the new base's rename leaves the journal of the old generation; its
  // changes are in the base already and must not be applied again.
  zx::registry::SetCompactionFloor(0);
  WriteSample();  // generation 3, journal empty
  HKEY key = OpenSample();
  const std::string stale = zx::registry::FormatJournalHeader(2) +
                            zx::registry::EncodeRecord({zx::registry::ChangeOp::SetValue, u"Software\\Zephrin",
                                                        u"First", REG_DWORD, {9, 0, 0, 0}});
  WriteHostFile(HivePath("HKCU.log"), stale);
  EXPECT_EQ(LoadAfresh(), "");
  EXPECT_EQ(GetDword(key, u"First"), 1u);
  EXPECT_EQ(GetDword(key, u"Third"), 3u);
  EXPECT_EQ(ReadHostFile(HivePath("HKCU.log")), zx::registry::FormatJournalHeader(3));
  RegCloseKey(key);
}

TEST_F(Persistence, ATornJournalTailIsDroppedSilently) {
  WriteSample();
  const std::string whole = ReadHostFile(HivePath("HKCU.log"));
  const std::string next = zx::registry::EncodeRecord(
      {zx::registry::ChangeOp::SetValue, u"Software\\Zephrin", u"Torn", REG_DWORD, {1, 0, 0, 0}});
  WriteHostFile(HivePath("HKCU.log"), whole + next.substr(0, next.size() - 3));
  EXPECT_EQ(LoadAfresh(), "");
  HKEY key = OpenSample();
  EXPECT_EQ(GetDword(key, u"Torn"), ~DWORD{0});
  EXPECT_EQ(GetDword(key, u"Third"), 3u);
  EXPECT_EQ(ReadHostFile(HivePath("HKCU.log")), whole);
  EXPECT_EQ(SetDword(key, u"After", 5), ERROR_SUCCESS);
  EXPECT_EQ(LoadAfresh(), "");
  EXPECT_EQ(GetDword(key, u"After"), 5u);
  EXPECT_TRUE(FilesNamed("damaged").empty());
  RegCloseKey(key);
}

TEST_F(Persistence, ADamagedJournalRecordIsSetAsideWithWhatCameBefore) {
  WriteSample();
  std::string journal = ReadHostFile(HivePath("HKCU.log"));
  const std::size_t secondValue = journal.find(std::string("S\0e\0c\0o\0n\0d\0", 12));
  ASSERT_NE(secondValue, std::string::npos);
  journal[secondValue] = 'X';
  WriteHostFile(HivePath("HKCU.log"), journal);
  const std::string message = LoadAfresh();
  const auto aside = FilesNamed("HKCU.log.damaged-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadHostFile(aside[0]), journal);
  EXPECT_NE(message.find("HKCU was damaged (bad record at offset"), std::string::npos) << message;
  EXPECT_NE(message.find(aside[0]), std::string::npos) << message;
  HKEY key = OpenSample();
  EXPECT_EQ(GetDword(key, u"First"), 1u);
  EXPECT_EQ(GetText(key, u"Second"), u"<missing>");
  EXPECT_EQ(GetDword(key, u"Third"), ~DWORD{0});
  EXPECT_EQ(LoadAfresh(), "");  // the recovered hive is whole again
  EXPECT_EQ(GetDword(key, u"First"), 1u);
  RegCloseKey(key);
}

TEST_F(Persistence, ADamagedBaseIsMovedAsideNotOverwritten) {
  zx::registry::SetCompactionFloor(0);
  WriteSample();
  std::string base = ReadHostFile(HivePath("HKCU.reg"));
  const std::size_t second = base.find("\"Second\"=sz:\"two\"");
  base.replace(second, 17, "\"Second\"=sz:two");
  WriteHostFile(HivePath("HKCU.reg"), base);
  const std::string message = LoadAfresh();
  EXPECT_NE(message.find("registry: hive HKCU was damaged (unparsable value line at line 6); moved aside to "),
            std::string::npos)
      << message;
  const auto aside = FilesNamed("HKCU.reg.damaged-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadHostFile(aside[0]), base);
  HKEY key = OpenSample();
  EXPECT_EQ(GetDword(key, u"First"), 1u);
  EXPECT_EQ(GetText(key, u"Second"), u"<missing>");
  EXPECT_EQ(GetDword(key, u"Third"), 3u);
  RegCloseKey(key);
}

TEST_F(Persistence, ABaseWithABadHeaderStartsEmptyAndKeepsItsJournal) {
  WriteSample();
  const std::string journal = ReadHostFile(HivePath("HKCU.log"));
  WriteHostFile(HivePath("HKCU.reg"), "not a hive\n");
  const std::string message = LoadAfresh();
  EXPECT_NE(message.find("bad header at line 1"), std::string::npos) << message;
  ASSERT_EQ(FilesNamed("HKCU.reg.damaged-").size(), 1u);
  const auto journalAside = FilesNamed("HKCU.log.damaged-");
  ASSERT_EQ(journalAside.size(), 1u);
  EXPECT_EQ(ReadHostFile(journalAside[0]), journal);
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"Fresh", 1), ERROR_SUCCESS);
  EXPECT_EQ(LoadAfresh(), "");
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"Fresh"), 1u);
}

TEST_F(Persistence, AJournalWhoseBaseIsGoneIsKept) {
  zx::registry::SetCompactionFloor(0);
  WriteSample();
  zx::registry::SetCompactionFloor(std::size_t{1} << 20);
  HKEY key = OpenSample();
  SetDword(key, u"Later", 7);
  std::filesystem::remove(HivePath("HKCU.reg"));
  const std::string message = LoadAfresh();
  EXPECT_NE(message.find("its base file is missing"), std::string::npos) << message;
  EXPECT_EQ(FilesNamed("HKCU.log.damaged-").size(), 1u);
  EXPECT_EQ(GetDword(key, u"First"), ~DWORD{0});
  RegCloseKey(key);
}

TEST_F(Persistence, HivesAreSeparateFiles) {
  SetDword(HKEY_LOCAL_MACHINE, u"m", 1);
  SetDword(HKEY_CURRENT_USER, u"u", 2);
  SetDword(HKEY_USERS, u"s", 3);
  for (const char* name : {"HKLM.log", "HKCU.log", "HKU.log", "HKLM.seq", "HKCU.seq", "HKU.seq"})
    EXPECT_TRUE(std::filesystem::exists(HivePath(name))) << name;
  zx::registry::ForgetCachedHives();
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, u"M"), 1u);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"U"), 2u);
  EXPECT_EQ(GetDword(HKEY_USERS, u"S"), 3u);
}

}  // namespace
