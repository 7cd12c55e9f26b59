/*
** Rectangle arithmetic over RECT. Null rectangles are refused with FALSE rather than
** dereferenced, as callers pass optional rectangles through.
*/
#include "platform/user/rectangles.h"

#include <algorithm>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  rect->left = left;
  rect->top = top;
  rect->right = right;
  rect->bottom = bottom;
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT target, const RECT* source) {
  if (!target || !source) return FALSE;
  *target = *source;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) {
  if (!rect) return TRUE;
  return rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  if (!rect) return FALSE;
  return point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}

BOOL IntersectRect(LPRECT result, const RECT* a, const RECT* b) {
  if (!result) return FALSE;
  if (!a || !b || IsRectEmpty(a) || IsRectEmpty(b)) {
    SetRectEmpty(result);
    return FALSE;
  }
  RECT common{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
              std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&common)) {
    SetRectEmpty(result);
    return FALSE;
  }
  *result = common;
  return TRUE;
}

BOOL UnionRect(LPRECT result, const RECT* a, const RECT* b) {
  if (!result) return FALSE;
  bool aEmpty = IsRectEmpty(a);
  bool bEmpty = IsRectEmpty(b);
  if (aEmpty && bEmpty) {
    SetRectEmpty(result);
    return FALSE;
  }
  if (aEmpty) {
    *result = *b;
    return TRUE;
  }
  if (bEmpty) {
    *result = *a;
    return TRUE;
  }
  RECT joined{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  *result = joined;
  return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}
