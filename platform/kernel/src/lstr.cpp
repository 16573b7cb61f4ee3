// The kernel's small string functions.
#include "lstrapi.h"

#include <string>

#include "stringapiset.h"
#include "zx/casefold.h"

namespace {

std::u16string Widen(LPCSTR text) {
  if (!text) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

template <class Char>
int Length(const Char* text) {
  int n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

template <class Char>
Char* CopyAtMost(Char* target, const Char* source, int maxLength) {
  if (!target || maxLength <= 0) return target;
  int i = 0;
  for (; source && i < maxLength - 1 && source[i]; ++i) target[i] = source[i];
  target[i] = 0;
  return target;
}

}  // namespace

int lstrlenW(LPCWSTR text) { return Length(text); }
int lstrlenA(LPCSTR text) { return Length(text); }

int lstrcmpW(LPCWSTR a, LPCWSTR b) {
  const std::u16string_view x(a ? a : u""), y(b ? b : u"");
  return Sign(x.compare(y));
}

int lstrcmpA(LPCSTR a, LPCSTR b) { return lstrcmpW(Widen(a).c_str(), Widen(b).c_str()); }

int lstrcmpiW(LPCWSTR a, LPCWSTR b) { return Sign(zx::CompareNoCase(a, b)); }

int lstrcmpiA(LPCSTR a, LPCSTR b) { return lstrcmpiW(Widen(a).c_str(), Widen(b).c_str()); }

LPWSTR lstrcpynW(LPWSTR target, LPCWSTR source, int maxLength) {
  return CopyAtMost(target, source, maxLength);
}

LPSTR lstrcpynA(LPSTR target, LPCSTR source, int maxLength) {
  return CopyAtMost(target, source, maxLength);
}
