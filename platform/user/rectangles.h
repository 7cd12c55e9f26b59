/*
** Rectangle arithmetic: setting, copying, comparing, hit-testing, intersecting, joining,
** moving and growing RECTs. A rectangle holds its left and top edges and excludes its right
** and bottom ones; one with no width or no height is empty.
*/
#ifndef ZARNE_PLATFORM_USER_RECTANGLES_H
#define ZARNE_PLATFORM_USER_RECTANGLES_H

#include "platform/kernel/wintypes.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT target, const RECT* source);
/* TRUE when the rectangle has no area (right <= left or bottom <= top), or is null. */
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
/* TRUE when the point lies inside: the right and bottom edges are outside. */
BOOL PtInRect(const RECT* rect, POINT point);
/* The common part of a and b; when they do not meet the result is emptied and FALSE answered. */
BOOL IntersectRect(LPRECT result, const RECT* a, const RECT* b);
/* The smallest rectangle holding both; empty inputs are ignored, FALSE when both are empty. */
BOOL UnionRect(LPRECT result, const RECT* a, const RECT* b);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
/* Moves left and top out by dx, dy and right and bottom out by the same (negative shrinks). */
BOOL InflateRect(LPRECT rect, int dx, int dy);

#endif
