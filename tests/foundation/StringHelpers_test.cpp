// String-array helpers, separators, size texts and the product values.
#include <gtest/gtest.h>

#include <thread>

#include "GlobalConstants.h"
#include "OSVersionInfo.h"
#include "ProductValues.h"
#include "StringHelpers.h"
#include "cstring_printer.h"

namespace {

TEST(StringArrays, SortInFourOrders) {
  CStringArray array;
  for (LPCTSTR s : {_T("b"), _T("A"), _T("c"), _T("a")}) array.Add(s);
  SortStringArray(array, FALSE, TRUE);
  EXPECT_EQ(array[0], CString(_T("A")));
  EXPECT_EQ(array[3], CString(_T("c")));
  SortStringArray(array, TRUE, FALSE);
  EXPECT_EQ(array[0], CString(_T("c")));
  EXPECT_EQ(array[1], CString(_T("b")));
  CStringArray empty;
  SortStringArray(empty, FALSE, FALSE);
  EXPECT_EQ(empty.GetSize(), 0);
}

TEST(StringArrays, FindIgnoresCaseFromEitherEnd) {
  CStringArray array;
  EXPECT_FALSE(FindInStringArray(array, _T("x"), FALSE));
  array.Add(_T("Alpha"));
  array.Add(_T("beta"));
  EXPECT_TRUE(FindInStringArray(array, _T("ALPHA"), FALSE));
  EXPECT_TRUE(FindInStringArray(array, _T("Beta"), TRUE));
  EXPECT_FALSE(FindInStringArray(array, _T("gamma"), TRUE));
}

TEST(Texts, NormalizeTextIsPerThread) {
  LPCTSTR mine = NormalizeText(_T("  MiXeD Case  "));
  std::thread other([] { NormalizeText(_T("OTHER THREAD TEXT")); });
  other.join();
  EXPECT_EQ(CString(mine), CString(_T("mixed case")));
}

TEST(Texts, SeparatorsAreNeverDoubled) {
  CString target = _T("a,");
  EXPECT_EQ(AppendSeparator_Comma(target, _T(",b")), PCO_SUCCESS);
  EXPECT_EQ(target, CString(_T("a,b")));
  AppendSeparator(target, _T("c"), _T("; "));
  EXPECT_EQ(target, CString(_T("a,b; c")));
  CString empty;
  AppendSeparator_Comma(empty, _T(",x"));
  EXPECT_EQ(empty, CString(_T(",x")));
}

TEST(Texts, KilobytesChangeDecimalsAt1024) {
  WCHAR buffer[32];
  EXPECT_EQ(FormatKilobytes(1023, buffer, 32), 1);
  EXPECT_EQ(CString(buffer), CString(_T("0.999 KB")));
  FormatKilobytes(1024, buffer, 32);
  EXPECT_EQ(CString(buffer), CString(_T("1.0 KB")));
  FormatKilobytes(1536ull * 1024 * 1024, buffer, 32);
  EXPECT_EQ(CString(buffer), CString(_T("1572864.0 KB")));
  FormatKilobytes(1024, buffer, 4);
  EXPECT_EQ(CString(buffer), CString(_T("1.0")));
}

TEST(ProductValues, IdentityAndModuleTable) {
  EXPECT_EQ(GetBrandName(), CString(_T("Zephrin")));
  EXPECT_EQ(GetProductName(), CString(_T("Zephrin Tunevo")));
  EXPECT_EQ(GetProductKeyName(), CString(_T("ZephrinKX")));
  EXPECT_EQ(GetProductTaskName(), CString(_T("ZEPHRINKX-ZEPHRINKXTunevo")));
  EXPECT_EQ(g_strLegacyTaskNames[0], CString(_T("ZEPHRINKXTunevo")));
  EXPECT_EQ(GetModuleName(0), CString(_T("zephrinkx.exe")));
  EXPECT_EQ(GetModuleId(1), 1155);
  EXPECT_EQ(GetModuleIniName(8), CString(_T("velquor.ini")));
  EXPECT_EQ(GetModuleDisplayName(20), CString(_T("Scheduler")));
  EXPECT_EQ(GetModuleName(24), CString(_T("ZEPHRINKXCheckUpdate.exe")));
  EXPECT_EQ(GetModuleIniName(24), CString(_T("checkupdate.ini")));
  EXPECT_EQ(GetModuleDescription(2), CString(_T("Tunevo - Tutorial")));
  EXPECT_EQ(GetModuleId(26), -1);
  EXPECT_TRUE(GetModuleName(-1).IsEmpty());
  for (int i = 0; i < kModuleCount; ++i) EXPECT_EQ(g_ModuleTable[i].nIndex, i);
  EXPECT_EQ(g_strCampaignQueryTemplate.Find(_T("affiliateid=<affiliateid>")), 76);
}

class VersionRecord : public COSVersionInfo {
 public:
  VersionRecord(DWORD platform, DWORD major, DWORD minor) {
    dwPlatformId = platform;
    dwMajorVersion = major;
    dwMinorVersion = minor;
  }
};

TEST(WindowsVersions, PredicatesOfTheRecord) {
  EXPECT_TRUE(VersionRecord(0, 5, 2).IsWinXPOr2003());  // platform not tested
  EXPECT_TRUE(VersionRecord(2, 5, 1).IsWinXP());
  EXPECT_FALSE(VersionRecord(1, 5, 1).IsWinXP());
  EXPECT_TRUE(VersionRecord(1, 4, 10).IsWin98());
  EXPECT_TRUE(VersionRecord(1, 4, 90).IsWinMeOrLater());
  EXPECT_TRUE(VersionRecord(1, 4, 3).IsWin95());
  EXPECT_TRUE(VersionRecord(2, 6, 0).IsWinVista());
  EXPECT_TRUE(VersionRecord(2, 6, 1).IsWinXPOrLater());
  EXPECT_FALSE(VersionRecord(2, 5, 0).IsWinXPOrLater());
  EXPECT_TRUE(VersionRecord(2, 6, 1).IsVersionAtLeast(6, 1));
  EXPECT_FALSE(VersionRecord(2, 6, 1).IsVersionAtLeast(6, 2));
  EXPECT_TRUE(VersionRecord(2, 10, 0).IsVersionAtLeast(6, 3));
  EXPECT_EQ(sizeof(OSVERSIONINFOW), 276u);
}

}  // namespace

namespace {

TEST(LoadTimeLibraries, SystemLibrariesAreThePlatformAndMissingOnesAreNull) {
  EXPECT_NE(g_hShell32, nullptr);
  EXPECT_EQ(g_hShell32, g_hShlwapi);
  EXPECT_EQ(g_hShell32, g_hGdiPlus);
  EXPECT_EQ(g_hOptimizerLibrary, nullptr);
}

}  // namespace
