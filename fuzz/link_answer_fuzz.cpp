// Fuzz target: hostile bytes as the update service's answer to a package link request. The
// first byte's low bit says whether the answer comes enciphered; the rest is the text
// (Windows-1252). Reading must never crash and always empties the answer; the package file
// type taken from the address read is one plain name part after a dot, and the file name made from
// any text stays one plain name.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "DriverPackageFetch.h"

namespace {

bool PlainName(const CString& name) {
  for (int i = 0; i < name.GetLength(); ++i) {
    const WCHAR c = name[i];
    if (c < 0x20 || CString(_T("\\/:*?\"<>|")).Find(c) >= 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  CString answer;
  for (std::size_t i = 1; i < size; ++i) answer += static_cast<WCHAR>(data[i]);
  const CString original = answer;
  CString address, checksum;
  const bool read = CDriverPackageFetch::ParseLinkAnswerXml(answer, (data[0] & 1) != 0, address, checksum);
  if (!answer.IsEmpty()) std::abort();
  if (!read && (!address.IsEmpty() || !checksum.IsEmpty())) std::abort();
  const CString extension = PackageExtensionOf(address);
  if (!extension.IsEmpty() && (extension[0] != _T('.') || extension.Find(_T('.'), 1) >= 0 || !PlainName(extension)))
    std::abort();
  if (!PlainName(PackageFileBaseName(original)) || !PlainName(PackageFileBaseName(address))) std::abort();
  return 0;
}
