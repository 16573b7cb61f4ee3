// The process's environment as Windows programs see it: a table of its own, names without
// regard to case, seeded with the variables of a Windows session on this machine.
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "fileapi.h"
#include "filetext.h"
#include "kerneltext.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/winfolders.h"

namespace {

using zx::file::CopyOut;
using zx::file::Fail;
using Variables = std::vector<std::pair<std::u16string, std::u16string>>;

std::u16string ComputerName() {
  WCHAR name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &size) ? std::u16string(name, size) : std::u16string();
}

Variables Seed() {
  namespace f = zx::folders;
  const std::u16string profile = f::Profile();
  return Variables{
      {u"ALLUSERSPROFILE", f::kProgramData},
      {u"APPDATA", f::RoamingAppData()},
      {u"CommonProgramFiles", std::u16string(f::kProgramFiles) + u"\\Common Files"},
      {u"COMPUTERNAME", ComputerName()},
      {u"ComSpec", std::u16string(f::kSystem) + u"\\cmd.exe"},
      {u"HOMEDRIVE", u"C:"},
      {u"HOMEPATH", profile.substr(2)},
      {u"LOCALAPPDATA", f::LocalAppData()},
      {u"OS", u"Windows_NT"},
      {u"Path", std::u16string(f::kSystem) + u";" + f::kWindows},
      {u"PATHEXT", u".COM;.EXE;.BAT;.CMD"},
      {u"ProgramData", f::kProgramData},
      {u"ProgramFiles", f::kProgramFiles},
      {u"ProgramFiles(x86)", f::kProgramFilesX86},
      {u"ProgramW6432", f::kProgramFiles},
      {u"PUBLIC", f::kPublic},
      {u"SystemDrive", u"C:"},
      {u"SystemRoot", f::kWindows},
      {u"TEMP", f::Temp()},
      {u"TMP", f::Temp()},
      {u"USERNAME", f::UserName()},
      {u"USERPROFILE", profile},
      {u"windir", f::kWindows},
  };
}

struct Environment {
  std::mutex lock;
  Variables variables = Seed();
};

Environment& Env() {
  static Environment* env = new Environment;  // lives past static destruction
  return *env;
}

Variables::iterator FindVariable(Variables& variables, std::u16string_view name) {
  for (auto it = variables.begin(); it != variables.end(); ++it)
    if (zx::CompareNoCase(it->first.data(), it->first.size(), name.data(), name.size()) == 0) return it;
  return variables.end();
}

std::optional<std::u16string> Lookup(std::u16string_view name) {
  Environment& env = Env();
  std::lock_guard<std::mutex> g(env.lock);
  auto it = FindVariable(env.variables, name);
  if (it == env.variables.end()) return std::nullopt;
  return it->second;
}

// %NAME% of a defined variable takes its value; anything else stays as written.
std::u16string Expand(std::u16string_view source) {
  std::u16string out;
  std::size_t i = 0;
  while (i < source.size()) {
    const std::size_t open = source.find(u'%', i);
    const std::size_t close = open == std::u16string_view::npos ? open : source.find(u'%', open + 1);
    if (close == std::u16string_view::npos) {
      out += source.substr(i);
      break;
    }
    out += source.substr(i, open - i);
    const auto value = close > open + 1 ? Lookup(source.substr(open + 1, close - open - 1)) : std::nullopt;
    if (value) {
      out += *value;
      i = close + 1;
    } else {
      // The closing '%' may open the next name.
      out += source.substr(open, close - open);
      i = close;
    }
  }
  return out;
}

bool AnswerVariable(LPCWSTR name, std::optional<std::u16string>& value) {
  if (name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  value = Lookup(name);
  if (!value) return Fail(ERROR_ENVVAR_NOT_FOUND);
  SetLastError(ERROR_SUCCESS);
  return true;
}

// Unlike most string answers, this one counts the terminator on success too.
template <class C>
DWORD ExpandInto(LPCWSTR source, C* destination, DWORD size) {
  if (source == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const std::u16string expanded = Expand(source);
  CopyOut(expanded, destination, size);
  return static_cast<DWORD>(expanded.size() + 1);
}

}  // namespace

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
  std::optional<std::u16string> value;
  return AnswerVariable(name, value) ? CopyOut(*value, buffer, size) : 0;
}

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
  std::optional<std::u16string> value;
  return AnswerVariable(zx::file::WideArg(name).get(), value) ? CopyOut(*value, buffer, size) : 0;
}

BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value) {
  if (name == nullptr || *name == u'\0' || std::u16string_view(name).find(u'=') != std::u16string_view::npos)
    return Fail(ERROR_INVALID_PARAMETER);
  Environment& env = Env();
  std::lock_guard<std::mutex> g(env.lock);
  auto it = FindVariable(env.variables, name);
  if (value == nullptr) {
    if (it == env.variables.end()) return Fail(ERROR_ENVVAR_NOT_FOUND);
    env.variables.erase(it);
  } else if (it != env.variables.end()) {
    it->second = value;
  } else {
    env.variables.emplace_back(name, value);
  }
  return TRUE;
}

BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
  return SetEnvironmentVariableW(zx::file::WideArg(name).get(), zx::file::WideArg(value).get());
}

DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size) {
  return ExpandInto(source, destination, size);
}

DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size) {
  return ExpandInto(zx::file::WideArg(source).get(), destination, size);
}
