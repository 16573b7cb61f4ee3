// Modules: LoadLibrary by Windows name and path, GetProcAddress by name and ordinal,
// GetModuleHandle, GetModuleFileName and its truncation rule. The module loaded is zxprobe.so,
// built next to this test program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kernel_testing.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;
using zx::test::ZPath;

using IntFunction = int (*)();

fs::path ProbeHostPath() { return fs::path(zx::test::TestProgram()).parent_path() / "zxprobe.so"; }

int Call(HMODULE module, LPCSTR name) {
  FARPROC proc = GetProcAddress(module, name);
  EXPECT_NE(proc, nullptr);
  // void (*)() converts to any function type without a warning.
  return proc ? reinterpret_cast<IntFunction>(reinterpret_cast<void (*)()>(proc))() : -1;
}

class Modules : public zx::test::MachineTest {};

TEST_F(Modules, BareDllNameLoadsTheSharedLibraryBesideTheProgram) {
  HMODULE module = LoadLibraryW(u"zxprobe.dll");
  ASSERT_NE(module, nullptr) << GetLastError();
  EXPECT_EQ(Call(module, "zx_probe_answer"), 42);
  EXPECT_EQ(Call(module, MAKEINTRESOURCEA(1)), 1001);
  EXPECT_EQ(Call(module, MAKEINTRESOURCEA(7)), 1007);
  EXPECT_EQ(GetProcAddress(module, "zx_no_such_function"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(2)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, NamesMatchWithoutRegardToCaseOrExtension) {
  HMODULE a = LoadLibraryW(u"ZXProbe.DLL");
  HMODULE b = LoadLibraryA("zxprobe");
  HMODULE c = LoadLibraryExW(u"zxprobe.Dll", nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(GetModuleHandleW(u"ZXPROBE.dll"), a);
  EXPECT_EQ(GetModuleHandleA("zxprobe"), a);
  // Three loads, three frees; a fourth free has nothing left to free.
  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_TRUE(FreeLibrary(c));
  EXPECT_FALSE(FreeLibrary(a));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Modules, WindowsPathGoesThroughThePathMapping) {
  std::string folder = ProbeHostPath().parent_path().string();
  HMODULE module = LoadLibraryW((ZPath(folder) + u"\\ZXPROBE.dll").c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  EXPECT_EQ(Call(module, "zx_probe_answer"), 42);
  WCHAR name[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, name, MAX_PATH);
  EXPECT_EQ(std::u16string(name, length), ZPath(ProbeHostPath().string()));
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, MissingAndDamagedModulesAreRefused) {
  EXPECT_EQ(LoadLibraryW(u"zx_no_such_module.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryW((ZPath(root()) + u"\\absent.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  WriteHostFile(root() + "/damaged.so", "MZ this is no shared library");
  EXPECT_EQ(LoadLibraryW((ZPath(root()) + u"\\damaged.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  EXPECT_EQ(LoadLibraryW(u""), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadLibraryExW(u"zxprobe.dll", reinterpret_cast<HANDLE>(4), 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Modules, UnknownModuleHandlesAreRefused) {
  const HMODULE bogus = reinterpret_cast<HMODULE>(0x5A5A0);
  EXPECT_EQ(GetProcAddress(bogus, "zx_probe_answer"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(FreeLibrary(bogus));
  WCHAR name[16];
  EXPECT_EQ(GetModuleFileNameW(bogus, name, 16), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleHandleW(u"zx_not_loaded.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Modules, MainProgramIsTheNullModule) {
  HMODULE main = GetModuleHandleW(nullptr);
  ASSERT_NE(main, nullptr);
  const std::string program = zx::test::TestProgram();
  const std::string programName = fs::path(program).filename().string();
  EXPECT_EQ(GetModuleHandleA((programName + ".exe").c_str()), main);
  EXPECT_EQ(GetModuleHandleA(nullptr), main);
  WCHAR byNull[MAX_PATH];
  WCHAR byHandle[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, byNull, MAX_PATH);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::u16string(byNull, length), ZPath(program) + u".exe");  // its Windows name
  EXPECT_EQ(GetModuleFileNameW(main, byHandle, MAX_PATH), length);
  EXPECT_EQ(std::u16string(byHandle), std::u16string(byNull));
  EXPECT_TRUE(FreeLibrary(main)) << "the main program is never unloaded";
  EXPECT_EQ(GetModuleHandleW(nullptr), main);
}

TEST_F(Modules, FileNameTruncatesToTheBuffer) {
  const std::u16string full = ZPath(zx::test::TestProgram()) + u".exe";
  const DWORD length = static_cast<DWORD>(full.size());
  std::u16string buffer(length + 8, u'#');

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length + 1), length);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(buffer.substr(0, length + 2), full + u'\0' + u'#');

  buffer.assign(length + 8, u'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length), length);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(buffer.substr(0, length + 1), full.substr(0, length - 1) + u'\0' + u'#');

  buffer.assign(4, u'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 1), 1u);
  EXPECT_EQ(buffer, std::u16string(u"\0###", 4));
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  std::string narrow(length + 8, '#');
  EXPECT_EQ(GetModuleFileNameA(nullptr, narrow.data(), 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  const std::string ascii(full.begin(), full.end());
  EXPECT_EQ(narrow.substr(0, 6), ascii.substr(0, 4) + '\0' + '#');
  EXPECT_EQ(GetModuleFileNameA(nullptr, narrow.data(), length + 1), length);
  EXPECT_EQ(narrow.substr(0, length), ascii);
}

}  // namespace
