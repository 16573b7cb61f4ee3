// The language settings layer: "lang.lng" beside the library and the per-user overrides.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "zephrinkxsys.h"
#include "zx/machine.h"
#include "winuser.h"
#include "zx/msgbox.h"

namespace {

const char* kOverrideKey = "Software\\Zephrin\\ZephrinKX\\Lang";

class LanguageSettingsTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    folder_ = zx::machine::ProgramFolder();
    previous_ = zx::user::SetMessageBoxResponder([this](const zx::user::MessageBoxCall& call) {
      boxes_.push_back(call);
      return IDOK;
    });
  }
  void TearDown() override {
    zx::user::SetMessageBoxResponder(previous_);
    std::remove(LangFile().c_str());
  }
  std::string LangFile() const { return folder_ + "/lang.lng"; }
  void WriteLangFile(const std::string& text) { WriteHostFile(LangFile(), text); }

  static void CreateOverrideKey() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kOverrideKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void SetOverride(const char* name, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kOverrideKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }
  static std::string Override(const char* name) {
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOverrideKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
  }

  std::string folder_;
  std::vector<zx::user::MessageBoxCall> boxes_;
  zx::user::MessageBoxResponder previous_;
};

constexpr const char* kTwoLanguages =
    "[LANGUAGE]\r\nCURRENTLANG=DE\r\nDE=GERMAN\r\n"
    "[GERMAN]\r\nRELPATH=DEU\r\nLOCALE=German\r\nFONTFACE=Arial\r\nFONTsize=-14\r\nRESDLLNAME=qvxres_de.dll\r\n"
    "[ENGLISH]\r\nRELPATH=ENG\r\nLOCALE=ENGLISH\r\n";

TEST_F(LanguageSettingsTest, TheKeyWordOfCurrentLangNamesTheSection) {
  WriteLangFile(kTwoLanguages);
  EXPECT_STREQ(GetCurSelectedLang(), "GERMAN");
  EXPECT_STREQ(GetCurLangPath(), "DEU");
  EXPECT_STREQ(GetCurLocale(), "German");
  EXPECT_STREQ(GetCurFontFace(), "Arial");
  EXPECT_EQ(GetCurFontSize(), -14);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(LanguageSettingsTest, AWordWithoutItsOwnKeySelectsEnglish) {
  WriteLangFile("[LANGUAGE]\r\nCURRENTLANG=FR\r\n[ENGLISH]\r\nRELPATH=ENG\r\n");
  EXPECT_STREQ(GetCurSelectedLang(), "ENGLISH");
  EXPECT_STREQ(GetCurLangPath(), "ENG");
  EXPECT_STREQ(GetCurFontFace(), "tahoma");
  EXPECT_EQ(GetCurFontSize(), -12);
}

TEST_F(LanguageSettingsTest, AMissingFileIsReportedOnEveryQueryAndDefaultsAnswer) {
  std::remove(LangFile().c_str());
  EXPECT_STREQ(GetCurSelectedLang(), "ENGLISH");
  EXPECT_STREQ(GetCurLangPath(), "");
  EXPECT_STREQ(GetCurLocale(), "ENGLISH");
  // With no language folder named, the library's own folder holds the resource library.
  const std::string library = GetCurResDll();
  EXPECT_EQ(library.substr(library.size() - 26), "\\language_tests\\qvxres.dll");
  ASSERT_GE(boxes_.size(), 4u);
  EXPECT_EQ(boxes_[0].caption, u"Zephrin Tunevo");
  EXPECT_EQ(boxes_[0].type & 0xF0u, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(boxes_[0].text.rfind(u"Failed to load Language File:\r\n", 0), 0u);
  EXPECT_NE(boxes_[0].text.find(u"lang.lng\r\nUnable to continue!\r\n"), std::u16string::npos);
}

TEST_F(LanguageSettingsTest, ANonNumericFontSizeIsZero) {
  WriteLangFile("[LANGUAGE]\r\nCURRENTLANG=\r\n[ENGLISH]\r\nFONTsize=large\r\n");
  EXPECT_EQ(GetCurFontSize(), 0);
  WriteLangFile("[LANGUAGE]\r\n[ENGLISH]\r\nFONTsize=+9pt\r\n");
  EXPECT_EQ(GetCurFontSize(), 9);
}

TEST_F(LanguageSettingsTest, TheResourceLibraryIsNeverLoadedFromOutsideTheLibraryFolder) {
  // Folders and names that would lead out of the library's folder, from the file and from the
  // registry: the library's own folder and the usual name are taken instead.
  struct Case {
    const char* relPath;
    const char* libraryName;
    bool fromRegistry;
  };
  const Case cases[] = {
      {"..\\..", "qvxres.dll", false},       {"ENG\\..\\..", "qvxres.dll", false},
      {"C:\\Windows", "qvxres.dll", false},  {"", "..\\..\\evil.dll", false},
      {"", "C:\\evil.dll", false},           {"... ", "..", false},
      {"..\\..", "..\\evil.dll", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.relPath) + " " + c.libraryName);
    if (c.fromRegistry) {
      WriteLangFile("[LANGUAGE]\r\n[ENGLISH]\r\n");
      SetOverride("RELPATH", c.relPath);
      SetOverride("RESDLLNAME", c.libraryName);
    } else {
      WriteLangFile(std::string("[LANGUAGE]\r\n[ENGLISH]\r\nRELPATH=") + c.relPath + "\r\nRESDLLNAME=" + c.libraryName +
                    "\r\n");
    }
    const std::string library = GetCurResDll();
    ASSERT_GE(library.size(), 26u);
    EXPECT_EQ(library.substr(library.size() - 26), "\\language_tests\\qvxres.dll");
  }
}

TEST_F(LanguageSettingsTest, TheResourceLibraryLiesInTheLanguageFolderWhenThatExists) {
  WriteLangFile("[LANGUAGE]\r\n[ENGLISH]\r\nRELPATH=ENG\\\r\nRESDLLNAME=\\qvxres.dll\r\n");
  EXPECT_STREQ(GetCurResDll(), "\\qvxres.dll");  // no language folder yet: the bare name
  const std::string languageFolder = folder_ + "/ENG";
  std::filesystem::create_directory(languageFolder);
  const std::string answer = GetCurResDll();
  std::filesystem::remove(languageFolder);
  ASSERT_GE(answer.size(), 15u);
  EXPECT_EQ(answer.substr(answer.size() - 15), "\\ENG\\qvxres.dll");
  EXPECT_EQ(answer.find("\\\\"), std::string::npos);
}

TEST_F(LanguageSettingsTest, WithoutTheOverrideKeyNothingIsWritten) {
  WriteLangFile(kTwoLanguages);
  GetCurLocale();
  EXPECT_EQ(Override("LOCALE"), "<no key>");
}

TEST_F(LanguageSettingsTest, TheFirstQuerySeedsTheKeyAndLaterTheRegistryWins) {
  WriteLangFile(kTwoLanguages);
  CreateOverrideKey();
  EXPECT_STREQ(GetCurLocale(), "German");
  EXPECT_EQ(Override("LOCALE"), "German");
  SetOverride("LOCALE", "Deutsch");
  EXPECT_STREQ(GetCurLocale(), "Deutsch");
  SetOverride("FONTsize", "-20");
  EXPECT_EQ(GetCurFontSize(), -20);
  SetOverride("LOCALE", "");
  EXPECT_STREQ(GetCurLocale(), "");
}

TEST_F(LanguageSettingsTest, ARegistrySectionNameDifferingOnlyInCaseStillSelectsTheSection) {
  WriteLangFile(kTwoLanguages);
  SetOverride("CURRENTLANG", "german");
  EXPECT_STREQ(GetCurLangPath(), "DEU");
  // The query itself answers the registry's spelling.
  EXPECT_STREQ(GetCurSelectedLang(), "german");
  SetOverride("CURRENTLANG", "ENGLISH");
  EXPECT_STREQ(GetCurSelectedLang(), "ENGLISH");
  EXPECT_STREQ(GetCurLocale(), "ENGLISH");
}

TEST_F(LanguageSettingsTest, AnAnswerStaysValidWhileOtherThreadsQuery) {
  WriteLangFile(kTwoLanguages);
  LPCSTR mine = GetCurLocale();
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        for (int i = 0; i < 20; ++i) GetCurLocale();
        return 0;
      },
      nullptr, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_STREQ(mine, "German");
}

TEST(LanguageSettingsExports, TheBuildOptionIs22) { EXPECT_EQ(ReturnBuildOptforZEPHRIN_KX("x"), 22u); }

}  // namespace
