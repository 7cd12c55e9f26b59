/*
** The framework's value types for places and colours: TPoint, TSize, TRect and TColor. They
** are the platform's POINT, SIZE, RECT and COLORREF with the arithmetic the system's drawing
** code uses, so they pass straight into the drawing calls.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_GEOMETRY_H
#define ZARNE_PLATFORM_FRAMEWORK_GEOMETRY_H

#include "platform/kernel/wintypes.h"

#include <algorithm>

class TSize : public tagSIZE {
 public:
  TSize() { cx = cy = 0; }
  TSize(int width, int height) {
    cx = width;
    cy = height;
  }
  TSize(const SIZE& s) {
    cx = s.cx;
    cy = s.cy;
  }
  bool operator==(const TSize& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const TSize& o) const { return !(*this == o); }
  TSize operator+(const TSize& o) const { return TSize(cx + o.cx, cy + o.cy); }
  TSize operator-(const TSize& o) const { return TSize(cx - o.cx, cy - o.cy); }
};

class TPoint : public tagPOINT {
 public:
  TPoint() { x = y = 0; }
  TPoint(int px, int py) {
    x = px;
    y = py;
  }
  TPoint(const POINT& p) {
    x = p.x;
    y = p.y;
  }
  bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const TPoint& o) const { return !(*this == o); }
  TPoint operator+(const TSize& s) const { return TPoint(x + s.cx, y + s.cy); }
  TPoint operator-(const TSize& s) const { return TPoint(x - s.cx, y - s.cy); }
  TSize operator-(const TPoint& p) const { return TSize(x - p.x, y - p.y); }
  TPoint& operator+=(const TSize& s) {
    x += s.cx;
    y += s.cy;
    return *this;
  }
  TPoint& operator-=(const TSize& s) {
    x -= s.cx;
    y -= s.cy;
    return *this;
  }
  TPoint& Offset(int dx, int dy) {
    x += dx;
    y += dy;
    return *this;
  }
};

class TRect : public tagRECT {
 public:
  TRect() { left = top = right = bottom = 0; }
  TRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  TRect(const RECT& r) {
    left = r.left;
    top = r.top;
    right = r.right;
    bottom = r.bottom;
  }
  TRect(const TPoint& topLeft, const TSize& extent)
      : TRect(topLeft.x, topLeft.y, topLeft.x + extent.cx, topLeft.y + extent.cy) {}
  TRect(const TPoint& topLeft, const TPoint& bottomRight)
      : TRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y) {}

  void Set(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  void SetEmpty() { Set(0, 0, 0, 0); }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  TSize Size() const { return TSize(Width(), Height()); }
  TPoint TopLeft() const { return TPoint(left, top); }
  TPoint BottomRight() const { return TPoint(right, bottom); }
  bool IsEmpty() const { return left >= right || top >= bottom; }
  bool IsNull() const { return !left && !top && !right && !bottom; }
  /* Inside: the left and top edges belong to the rectangle, the right and bottom do not. */
  bool Contains(const TPoint& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  bool Touches(const TRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  TRect& Offset(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  TRect OffsetBy(int dx, int dy) const {
    TRect r(*this);
    return r.Offset(dx, dy);
  }
  TRect& Inflate(int dx, int dy) {
    left -= dx;
    right += dx;
    top -= dy;
    bottom += dy;
    return *this;
  }
  TRect InflatedBy(int dx, int dy) const {
    TRect r(*this);
    return r.Inflate(dx, dy);
  }
  TRect& Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return *this;
  }
  /* The common part; an empty rectangle when they do not meet. */
  TRect operator&(const TRect& o) const {
    TRect r(std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom));
    if (r.IsEmpty()) r.SetEmpty();
    return r;
  }
  /* The smallest rectangle holding both; an empty side does not count. */
  TRect operator|(const TRect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return TRect(std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                 std::max(bottom, o.bottom));
  }
  bool operator==(const TRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const TRect& o) const { return !(*this == o); }
};

/* A colour value as the drawing calls take it: red in the low byte, then green, then blue. */
class TColor {
 public:
  TColor() : value_(0) {}
  TColor(COLORREF value) : value_(value) {}
  TColor(int r, int g, int b) : value_(RGB(r, g, b)) {}
  operator COLORREF() const { return value_; }
  BYTE Red() const { return GetRValue(value_); }
  BYTE Green() const { return GetGValue(value_); }
  BYTE Blue() const { return GetBValue(value_); }
  bool operator==(const TColor& o) const { return value_ == o.value_; }
  bool operator!=(const TColor& o) const { return value_ != o.value_; }

  static const TColor Black;
  static const TColor White;
  static const TColor LtGray;
  static const TColor Gray;
  static const TColor LtRed;
  static const TColor LtGreen;
  static const TColor LtBlue;

 private:
  COLORREF value_;
};

#endif
