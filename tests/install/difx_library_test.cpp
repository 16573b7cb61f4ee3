// The DIFxAPI binding of the install engine: an INF installed through "difxapi.dll" on a
// seeded machine, read back as a scan reads a device's driver; the library's failures and
// damaged INFs come back as its result; a missing library or entry point is a failure;
// long INF paths are cut.
#include <gtest/gtest.h>

#include "DeviceScanner.h"
#include "DifxApiLibrary.h"
#include "DriverInstallEngine.h"
#include "cstring_printer.h"
#include "difx_testing.h"
#include "install_testing.h"
#include "setupapi_testing.h"
#include "zx/difxhooks.h"

namespace {

constexpr LPCTSTR kInf = _T("C:\\dl\\e1c\\e1c62x64.inf");
constexpr LPCTSTR kCardId = _T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04");

class DifxLibraryTest : public zx::test::InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    zx::devices::SeedText(zx::devices::kTwoCards);
    driverKey_ = zx::devices::MachineText(zx::devices::kCard, u"Driver").c_str();
  }
  void TearDown() override {
    zx::devices::ClearDifxFailures();
    InstallTest::TearDown();
  }
  // What a scan reads back of the card's driver.
  void ReadBack(CString& date, CString& version) {
    CDeviceScanner scanner;
    int problem = -1;
    ASSERT_EQ(scanner.ReadDeviceDriverDateVersion(driverKey_, kCardId, date, version, problem), 1);
    EXPECT_EQ(problem, 0);
  }
  CString driverKey_;
};

TEST_F(DifxLibraryTest, AnInstalledPackageIsWhatTheScanReadsBack) {
  CDifxApiLibrary library;
  ASSERT_TRUE(library.IsLoaded());
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.0.150.0")));
  zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
  EXPECT_EQ(library.InstallInf(kInf), 0u);
  EXPECT_FALSE(library.NeedsRestart());
  ReadBack(date, version);
  EXPECT_EQ(date, CString(_T("2-14-2013")));
  EXPECT_EQ(version, CString(_T("12.6.45.0")));
}

TEST_F(DifxLibraryTest, TheEngineHoldsABoundLibrary) {
  CDriverInstallEngine engine;
  EXPECT_NE(engine.GetDifxModule(), nullptr);
  EXPECT_TRUE(engine.GetDifxLibrary().IsLoaded());
  zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
  EXPECT_EQ(engine.GetDifxLibrary().PreinstallInf(kInf), 0u);
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.0.150.0"))) << "a pre-installed package waits in the store";
}

TEST_F(DifxLibraryTest, TheLibrarysFailuresComeBack) {
  CDifxApiLibrary library;
  zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
  zx::devices::SetDifxFailure(zx::devices::DifxCall::PackageInstall, 0xE0000219u);
  zx::devices::SetDifxFailure(zx::devices::DifxCall::PackagePreinstall, ERROR_ACCESS_DENIED);
  EXPECT_EQ(library.InstallInf(kInf), 0xE0000219u);
  EXPECT_EQ(library.PreinstallInf(kInf), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.0.150.0")));
}

TEST_F(DifxLibraryTest, ADamagedInfIsAnError) {
  CDifxApiLibrary library;
  zx::devices::WriteMachineFile(kInf, "[Version]\r\nSignature=\"$Windows NT$\"\r\nDriverVer=99/99/2013\r\n");
  EXPECT_EQ(library.InstallInf(kInf), 0xE0000003u);
  EXPECT_EQ(library.InstallInf(_T("C:\\dl\\missing.inf")), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DifxLibraryTest, AMissingLibraryIsAFailure) {
  CDifxApiLibrary library(_T("nosuchdifx.dll"));
  zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_EQ(library.InstallInf(kInf), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(library.PreinstallInf(kInf), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.0.150.0")));
}

TEST_F(DifxLibraryTest, AMissingEntryPointIsAFailure) {
  CDifxApiLibrary library(_T("nodifx.dll"));
  zx::devices::WriteMachineFile(kInf, zx::devices::NetPackageInf());
  ASSERT_TRUE(library.IsLoaded());
  EXPECT_EQ(library.InstallInf(kInf), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(library.PreinstallInf(kInf), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.0.150.0")));
}

TEST_F(DifxLibraryTest, ALongPathIsCutTo260Characters) {
  CString folder = _T("C:\\p");
  while (folder.GetLength() < 240) folder += _T("\\abcdefghij");
  CString path = folder + _T("\\e.inf");
  while (path.GetLength() < 260) path.Insert(folder.GetLength() + 1, _T("x"));
  ASSERT_EQ(path.GetLength(), 260);
  zx::devices::WriteMachineFile(path.GetString(), zx::devices::NetPackageInf());
  CDifxApiLibrary library;
  EXPECT_EQ(library.InstallInf(path + CString(_T('z'), 40)), 0u);
  CString date, version;
  ReadBack(date, version);
  EXPECT_EQ(version, CString(_T("12.6.45.0")));
}

}  // namespace
