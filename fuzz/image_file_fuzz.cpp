// Fuzz target: a BMP, ICO or CUR file (the first byte picks which, and the size asked for)
// loaded through LoadImage with LR_LOADFROMFILE, as the programs load their pictures. A
// picture made has a size, and an icon or cursor gives its bitmaps back.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/pictures/picture", data + 1, size - 1);
  const UINT types[] = {IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR};
  const UINT type = types[data[0] % 3];
  const int side = (data[0] / 3) % 4 * 16;  // 0 (the file's own), 16, 32 or 48
  HANDLE image = LoadImageW(nullptr, u"C:\\pictures\\picture", type, side, side, LR_LOADFROMFILE);
  if (image == nullptr) return 0;
  if (type == IMAGE_BITMAP) {
    BITMAP bitmap{};
    if (GetObjectW(image, sizeof bitmap, &bitmap) == 0 || bitmap.bmWidth <= 0 || bitmap.bmHeight == 0) std::abort();
    DeleteObject(image);
    return 0;
  }
  ICONINFO info{};
  if (!GetIconInfo(static_cast<HICON>(image), &info)) std::abort();
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  if (type == IMAGE_CURSOR) DestroyCursor(static_cast<HCURSOR>(image));
  else DestroyIcon(static_cast<HICON>(image));
  return 0;
}
