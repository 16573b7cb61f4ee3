// Fuzz target: hostile bytes as a module's resource file, and as the templates, version
// records, bitmaps and icons inside one. Reading must never crash or read past the bytes.
//
// The header's size and checksum are set for the input first, so the fuzzer reaches the
// checks behind them (templates, string blocks, version records and icon directories are
// checked as the file is read). Bitmaps and icons of a file that is accepted are then made
// as a program would make them. The raw input is also read directly as a dialog and a menu
// template.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "windraw.h"
#include "zx/gdi.h"
#include "zx/resfile.h"
#include "zx/restemplates.h"

namespace {

void Use(const zx::res::ResourceFile::Resource& r) {
  using zx::res::ResourceId;
  if (r.type == ResourceId::Number(zx::res::kBitmap)) {
    if (HBITMAP bitmap = zx::gdi::CreateBitmapFromPackedDib(r.data, r.size)) DeleteObject(bitmap);
  } else if (r.type == ResourceId::Number(zx::res::kIcon) || r.type == ResourceId::Number(zx::res::kCursor)) {
    const BOOL icon = r.type == ResourceId::Number(zx::res::kIcon);
    if (HICON made = CreateIconFromResourceEx(r.data, r.size, icon, 0x00030000, 0, 0, 0)) DestroyIcon(made);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<BYTE> bytes(data, data + size);
  zx::res::SealResourceFile(bytes);
  std::string error;
  if (auto file = zx::res::ResourceFile::Parse(bytes, error)) {
    for (const auto& resource : file->resources()) Use(resource);
  }
  zx::res::DialogTemplate dialog;
  zx::res::ReadDialogTemplate(data, size, dialog, error);
  std::vector<zx::res::MenuTemplateItem> menu;
  zx::res::ReadMenuTemplate(data, size, menu, error);
  return 0;
}
