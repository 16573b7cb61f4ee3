// Minimise and restore animations: the machine's setting (machine.ini [Desktop] MinAnimate)
// and DrawAnimatedRects, which checks its arguments and draws nothing.
#include "animate.h"

#include "errhandlingapi.h"
#include "zx/machine.h"

namespace zx::user {

BOOL GetAnimationInfo(UINT size, void* info) {
  auto* animation = static_cast<ANIMATIONINFO*>(info);
  if (!animation || size != sizeof(ANIMATIONINFO) || animation->cbSize != sizeof(ANIMATIONINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  animation->iMinAnimate = machine::ProfileValue("Desktop", "MinAnimate", "0") == "1" ? 1 : 0;
  return TRUE;
}

}  // namespace zx::user

BOOL DrawAnimatedRects(HWND window, int animation, const RECT* from, const RECT* to) {
  if ((window && !IsWindow(window)) || (animation != IDANI_OPEN && animation != IDANI_CAPTION) || !from || !to) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
