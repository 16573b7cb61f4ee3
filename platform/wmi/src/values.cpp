// Text values to VARIANTs by CIM type, with the mapping WMI uses.
#include "values.h"

#include <cerrno>
#include <cstdlib>

#include "text.h"

namespace zx::wmi {
namespace {

// The whole text as a number within [low, high]; nothing otherwise.
std::optional<long long> Integer(const std::string& text, long long low, long long high) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  const std::size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (digits == text.size() || text.find_first_not_of("0123456789", digits) != std::string::npos) return std::nullopt;
  errno = 0;
  const long long n = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || n < low || n > high) return std::nullopt;
  return n;
}

bool IsUnsigned64(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  std::strtoull(text.c_str(), nullptr, 10);
  return errno != ERANGE;
}

HRESULT SetText(const std::string& text, VARIANT* out) {
  BSTR bstr = AllocBstr(text);
  if (!bstr) return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  out->bstrVal = bstr;
  return S_OK;
}

}  // namespace

HRESULT ToVariant(const Value& value, CIMTYPE type, VARIANT* out) {
  VariantInit(out);
  out->vt = VT_NULL;
  if (!value) return S_OK;
  const std::string& text = *value;
  switch (type) {
    case CIM_BOOLEAN:
      if (SameName(text, "TRUE") || text == "1") {
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
      } else if (SameName(text, "FALSE") || text == "0") {
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_FALSE;
      }
      return S_OK;
    case CIM_UINT16: case CIM_UINT32: {
      if (const auto n = Integer(text, 0, type == CIM_UINT16 ? 0xFFFF : 0xFFFFFFFFll)) {
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(static_cast<std::uint32_t>(*n));
      }
      return S_OK;
    }
    case CIM_UINT64:
      return IsUnsigned64(text) ? SetText(text, out) : S_OK;
    default:
      return SetText(text, out);
  }
}

}  // namespace zx::wmi
