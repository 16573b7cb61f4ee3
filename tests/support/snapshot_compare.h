// Comparing a picture a test drew with its reference picture, pixel for pixel with alpha
// ignored. With ZX_UPDATE_SNAPSHOTS=1 the drawn picture becomes the reference and the test
// is skipped. Header only: the test program links the platform's drawing layer.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "windows.h"
#include "zx/gdi.h"

namespace zx::test {

// The number of pixels (alpha ignored) in which the PNG file `drawn` differs from the PNG file
// `reference`; -1 when either cannot be read or their sizes differ.
inline int DifferentPixels(const std::string& drawn, const std::string& reference) {
  HBITMAP expected = zx::gdi::LoadPngBitmap(reference);
  HBITMAP actual = zx::gdi::LoadPngBitmap(drawn);
  std::vector<DWORD> want, got;
  SIZE wantSize{}, gotSize{};
  const bool read = expected != nullptr && actual != nullptr && zx::gdi::CopyBitmapPixels(expected, want, wantSize) &&
                    zx::gdi::CopyBitmapPixels(actual, got, gotSize);
  if (expected != nullptr) DeleteObject(expected);
  if (actual != nullptr) DeleteObject(actual);
  if (!read || wantSize.cx != gotSize.cx || wantSize.cy != gotSize.cy) return -1;
  int different = 0;
  for (std::size_t i = 0; i < want.size(); ++i) different += (want[i] & 0xFFFFFF) != (got[i] & 0xFFFFFF);
  return different;
}

// True when snapshots are being rewritten (ZX_UPDATE_SNAPSHOTS=1).
inline bool UpdatingSnapshots() {
  const char* update = std::getenv("ZX_UPDATE_SNAPSHOTS");
  return update && *update == '1';
}

// Compares the PNG file `drawn` with the PNG file `reference`. On a difference the drawn
// picture is kept in the test's temporary folder as "<name>_actual_<pid>.png" and the test
// fails with the number of differing pixels.
inline void ExpectSameAsReference(const std::string& drawn, const std::string& reference, const std::string& name) {
  if (UpdatingSnapshots()) {
    std::filesystem::create_directories(std::filesystem::path(reference).parent_path());
    std::filesystem::copy_file(drawn, reference, std::filesystem::copy_options::overwrite_existing);
    GTEST_SKIP() << "reference written to " << reference;
  }
  const int different = DifferentPixels(drawn, reference);
  ASSERT_GE(different, 0) << "pictures not read or of different sizes: " << reference << ", " << drawn;
  if (different > 0) {
    const std::string kept = ::testing::TempDir() + name + "_actual_" + std::to_string(::getpid()) + ".png";
    std::error_code ignored;
    std::filesystem::copy_file(drawn, kept, std::filesystem::copy_options::overwrite_existing, ignored);
    ADD_FAILURE() << different << " pixels differ; the picture drawn is " << kept;
  }
}

}  // namespace zx::test
