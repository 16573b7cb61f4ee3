// Rectangle arithmetic. A rectangle holds the points left <= x < right, top <= y < bottom; an
// empty one (no width or no height) holds none.
#include <algorithm>

#include "winuser.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT destination, const RECT* source) {
  if (!destination || !source) return FALSE;
  *destination = *source;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) {
  return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right &&
         a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = RECT{rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = RECT{rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
  return TRUE;
}

BOOL IntersectRect(LPRECT destination, const RECT* a, const RECT* b) {
  if (!destination || !a || !b) return FALSE;
  const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
               std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    SetRectEmpty(destination);
    return FALSE;
  }
  *destination = r;
  return TRUE;
}

BOOL UnionRect(LPRECT destination, const RECT* a, const RECT* b) {
  if (!destination || !a || !b) return FALSE;
  if (IsRectEmpty(a) && IsRectEmpty(b)) {
    SetRectEmpty(destination);
    return FALSE;
  }
  if (IsRectEmpty(a)) return CopyRect(destination, b);
  if (IsRectEmpty(b)) return CopyRect(destination, a);
  *destination = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                      std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  return TRUE;
}
