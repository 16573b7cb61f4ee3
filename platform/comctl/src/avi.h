// Reading an AVI clip as the animation control needs it: the frame size, the frame count and
// the first frame as a packed DIB when it is uncompressed or run-length encoded (8 bits).
#pragma once
#include <cstddef>
#include <vector>

#include "wintypes.h"

namespace zx::comctl {

struct AviClip {
  int width = 0;
  int height = 0;
  int frames = 0;
  // BITMAPINFOHEADER, colour table and bits of the first frame, uncompressed; empty when the
  // frame is in a form this reader does not decode (the control shows a placeholder).
  std::vector<BYTE> firstFrame;
};

// False for bytes that are no AVI clip with a video stream; never reads past `size`.
bool ReadAvi(const BYTE* bytes, std::size_t size, AviClip& clip);

}  // namespace zx::comctl
