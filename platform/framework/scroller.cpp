/*
** TScroller over the window's standard scroll bars and ScrollWindow.
*/
#include "platform/framework/scroller.h"

#include "platform/framework/window.h"
#include "platform/user/painting.h"
#include "platform/user/scroll_bars.h"

#include <algorithm>

TScroller::TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
    : Window(window),
      XUnit(std::max(1, xUnit)),
      YUnit(std::max(1, yUnit)),
      XRange(std::max(0L, xRange)),
      YRange(std::max(0L, yRange)) {}

void TScroller::SetUnits(int xUnit, int yUnit) {
  XUnit = std::max(1, xUnit);
  YUnit = std::max(1, yUnit);
  SetPageSize();
}

void TScroller::SetRange(long xRange, long yRange) {
  XRange = std::max(0L, xRange);
  YRange = std::max(0L, yRange);
  SetSBarRange();
  ScrollTo(XPos, YPos);
}

long TScroller::XMax() const { return XRange; }
long TScroller::YMax() const { return YRange; }

namespace {
/* Whole units that fit the client, less one so a page step keeps a unit of overlap. */
int UnitsPerPage(int clientPixels, int unit) { return std::max(1, (clientPixels + 1) / unit - 1); }
}  // namespace

void TScroller::SetPageSize() {
  if (!Window || !Window->HWindow) return;
  TRect client = Window->GetClientRect();
  XPage = UnitsPerPage(client.Width(), XUnit);
  YPage = UnitsPerPage(client.Height(), YUnit);
  SetSBarRange();
  ScrollTo(XPos, YPos);
}

void TScroller::SetSBarRange() {
  if (!Window || !Window->HWindow) return;
  if (HasHSBar) {
    SetScrollRange(Window->HWindow, SB_HORZ, 0, static_cast<int>(XMax()), FALSE);
    SetScrollPos(Window->HWindow, SB_HORZ, static_cast<int>(XPos), TRUE);
  }
  if (HasVSBar) {
    SetScrollRange(Window->HWindow, SB_VERT, 0, static_cast<int>(YMax()), FALSE);
    SetScrollPos(Window->HWindow, SB_VERT, static_cast<int>(YPos), TRUE);
  }
}

void TScroller::ScrollTo(long x, long y) {
  long newX = std::clamp(x, 0L, XMax());
  long newY = std::clamp(y, 0L, YMax());
  if (newX == XPos && newY == YPos) return;
  long dx = newX - XPos, dy = newY - YPos;
  XPos = newX;
  YPos = newY;
  if (!Window || !Window->HWindow) return;
  ScrollWindow(Window->HWindow, static_cast<int>(-dx * XUnit), static_cast<int>(-dy * YUnit),
               nullptr, nullptr);
  if (HasHSBar && dx) SetScrollPos(Window->HWindow, SB_HORZ, static_cast<int>(XPos), TRUE);
  if (HasVSBar && dy) SetScrollPos(Window->HWindow, SB_VERT, static_cast<int>(YPos), TRUE);
}

long TScroller::NewPosition(UINT code, int thumbPos, long pos, int line, int page, long max) const {
  switch (code) {
    case SB_LINEUP: return pos - line;
    case SB_LINEDOWN: return pos + line;
    case SB_PAGEUP: return pos - page;
    case SB_PAGEDOWN: return pos + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return max;
    case SB_THUMBTRACK: return TrackMode ? thumbPos : pos;
    case SB_THUMBPOSITION: return thumbPos;
    default: return pos;
  }
}

void TScroller::HScroll(UINT code, int thumbPos) {
  ScrollTo(NewPosition(code, thumbPos, XPos, XLine, XPage, XMax()), YPos);
}

void TScroller::VScroll(UINT code, int thumbPos) {
  ScrollTo(XPos, NewPosition(code, thumbPos, YPos, YLine, YPage, YMax()));
}

void TScroller::BeginView(TDC& dc, TRect& rect) {
  if (!AutoOrg) return;
  long ox = XPos * XUnit, oy = YPos * YUnit;
  TPoint origin = dc.GetViewportOrg();
  dc.SetViewportOrg(TPoint(static_cast<int>(origin.x - ox), static_cast<int>(origin.y - oy)));
  rect.Offset(static_cast<int>(ox), static_cast<int>(oy));
}

bool TScroller::IsVisibleRect(long x, long y, int w, int h) const {
  long left = XPos * XUnit, top = YPos * YUnit;
  long right = left + static_cast<long>(XPage) * XUnit,
       bottom = top + static_cast<long>(YPage) * YUnit;
  return x < right && x + w > left && y < bottom && y + h > top;
}
