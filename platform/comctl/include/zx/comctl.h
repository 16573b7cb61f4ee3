// Platform-internal side of the common controls: what tests and the presenter read of an
// animation control's clip and of the events a tooltip control was relayed. System code
// never uses these.
#pragma once
#include <vector>

#include "commctrl.h"

namespace zx::comctl {

struct AnimationState {
  bool open = false;     // a clip is open
  bool decoded = false;  // its first frame is shown (else a placeholder of the clip's size)
  bool playing = false;
  UINT repeat = 0;       // as ACM_PLAY gave it (0xFFFFFFFF: without end)
  int from = 0;
  int to = 0;
  int frames = 0;
  SIZE frameSize{};
};
// False for a window that is no animation control.
bool GetAnimationState(HWND animation, AnimationState& state);

// The messages TTM_RELAYEVENT handed to a tooltip control, oldest first (the last 256).
std::vector<MSG> RelayedEvents(HWND tooltip);

}  // namespace zx::comctl
