// Coordinate origins of a DC: window and viewport origins in the MM_TEXT mapping mode.
#include "dc.h"
#include "errhandlingapi.h"

using namespace zx::gdi;

namespace {

BOOL SetOrigin(HDC dc, POINT DcState::*which, int x, int y, bool relative, LPPOINT previous) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  POINT& origin = object->state().*which;
  if (previous) *previous = origin;
  origin = relative ? POINT{origin.x + x, origin.y + y} : POINT{x, y};
  object->Invalidate();
  return TRUE;
}

BOOL GetOrigin(HDC dc, POINT DcState::*which, LPPOINT origin) {
  auto object = DcFromHandle(dc);
  if (!object || !origin) return FALSE;
  *origin = object->state().*which;
  return TRUE;
}

BOOL Map(HDC dc, LPPOINT points, int count, int sign) {
  auto object = DcFromHandle(dc);
  if (!object || (count > 0 && !points)) return FALSE;
  const POINT offset = object->LogicalOffset();
  for (int i = 0; i < count; ++i) {
    points[i].x += sign * offset.x;
    points[i].y += sign * offset.y;
  }
  return TRUE;
}

}  // namespace

int SetMapMode(HDC dc, int mode) {
  if (!DcFromHandle(dc)) return 0;
  if (mode != MM_TEXT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return MM_TEXT;
}

int GetMapMode(HDC dc) { return DcFromHandle(dc) ? MM_TEXT : 0; }

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::windowOrg, x, y, false, previous);
}
BOOL OffsetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::windowOrg, x, y, true, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) { return GetOrigin(dc, &DcState::windowOrg, origin); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::viewportOrg, x, y, false, previous);
}
BOOL OffsetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::viewportOrg, x, y, true, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
  return GetOrigin(dc, &DcState::viewportOrg, origin);
}
BOOL LPtoDP(HDC dc, LPPOINT points, int count) { return Map(dc, points, count, 1); }
BOOL DPtoLP(HDC dc, LPPOINT points, int count) { return Map(dc, points, count, -1); }
