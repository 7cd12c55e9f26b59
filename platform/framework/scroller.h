/*
** TScroller: scrolling of a window's client area in units. It keeps the unit size, the range
** (the highest position, not the document size) and position in units and the page size, drives the window's scroll bars, answers the
** scroll messages and shifts the paint DC's origin so Paint draws in whole-document
** coordinates.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_SCROLLER_H
#define ZARNE_PLATFORM_FRAMEWORK_SCROLLER_H

#include "platform/framework/dc.h"

class TWindow;

class TScroller {
 public:
  TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange);
  virtual ~TScroller() = default;

  TWindow* Window;
  int XUnit, YUnit;     // pixels per unit
  long XRange, YRange;  // the highest scroll position in units (positions run 0..range)
  long XPos = 0, YPos = 0;
  int XPage = 1, YPage = 1;  // units per page (the client area)
  int XLine = 1, YLine = 1;  // units per line step
  bool AutoOrg = true;       // Paint gets a DC whose origin follows the position
  bool TrackMode = true;     // the thumb scrolls while it is dragged
  bool HasHSBar = true, HasVSBar = true;

  void SetUnits(int xUnit, int yUnit);
  void SetRange(long xRange, long yRange);
  /* The highest positions: the ranges themselves. */
  long XMax() const;
  long YMax() const;
  virtual void SetPageSize();
  virtual void SetSBarRange();
  virtual void ScrollTo(long x, long y);
  void ScrollBy(long dx, long dy) { ScrollTo(XPos + dx, YPos + dy); }
  virtual void HScroll(UINT code, int thumbPos);
  virtual void VScroll(UINT code, int thumbPos);
  /* Paint's view: the DC's origin moved back by the position, the rectangle moved forward. */
  virtual void BeginView(TDC& dc, TRect& rect);
  virtual void EndView() {}
  /* Whether a rectangle in document coordinates shows in the client area. */
  bool IsVisibleRect(long x, long y, int w, int h) const;

 private:
  long NewPosition(UINT code, int thumbPos, long pos, int line, int page, long max) const;
};

#endif
