/*
** The scroller: positions kept within the range less a page, scroll messages, scroll bars,
** and Paint drawing in document coordinates.
*/
#include "platform/framework/scroller.h"
#include "platform/framework/window.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

namespace {

class TScrolledView : public TWindow {
 public:
  TScrolledView() : TWindow(nullptr, "Scrolled") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL;
    Attr.X = 0;
    Attr.Y = 0;
    Attr.W = 200;
    Attr.H = 120;
    Scroller = new TScroller(this, 8, 24, 72, 139);
  }
  void Paint(TDC& dc, bool, TRect& rect) override {
    paintRect = rect;
    origin = dc.GetViewportOrg();
    // A mark at a document position: it must land on the screen where the view shows it.
    TBrush red(TColor(255, 0, 0));
    dc.FillRect(TRect(40, 150, 48, 158), red);
  }
  TRect paintRect;
  TPoint origin;
};

class ScrollerTest : public GuiTest {};

TEST_F(ScrollerTest, PageSizeFollowsTheClientAndPositionsStayInRange) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  TRect client = view.GetClientRect();
  TScroller& s = *view.Scroller;
  EXPECT_EQ(s.XPage, client.Width() / 8);
  EXPECT_EQ(s.YPage, client.Height() / 24);
  s.ScrollTo(1000, 1000);
  EXPECT_EQ(s.XPos, 72 - s.XPage);
  EXPECT_EQ(s.YPos, 139 - s.YPage);
  s.ScrollTo(-5, -5);
  EXPECT_EQ(s.XPos, 0);
  EXPECT_EQ(s.YPos, 0);
  int minPos = 0, maxPos = 0;
  GetScrollRange(view.HWindow, SB_VERT, &minPos, &maxPos);
  EXPECT_EQ(maxPos, 139 - s.YPage);
}

TEST_F(ScrollerTest, ShorterRangesAndLargerUnitsPullThePositionBack) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  TScroller& s = *view.Scroller;
  s.ScrollTo(40, 100);
  ASSERT_EQ(s.YPos, 100);
  s.SetRange(72, 20);
  EXPECT_EQ(s.YPos, 20 - s.YPage);
  EXPECT_EQ(GetScrollPos(view.HWindow, SB_VERT), 20 - s.YPage);
  int minPos = 0, maxPos = 0;
  GetScrollRange(view.HWindow, SB_VERT, &minPos, &maxPos);
  EXPECT_EQ(maxPos, 20 - s.YPage);
  // Doubling the unit halves the page in units; the position stays within the new limit.
  int oldPage = s.XPage;
  s.SetUnits(16, 24);
  EXPECT_EQ(s.XPage, view.GetClientRect().Width() / 16);
  EXPECT_LT(s.XPage, oldPage);
  EXPECT_LE(s.XPos, s.XMax());
  // A range smaller than a page leaves nothing to scroll.
  s.SetRange(1, 1);
  EXPECT_EQ(s.XPos, 0);
  EXPECT_EQ(s.YPos, 0);
}

TEST_F(ScrollerTest, ScrollMessagesMoveByLineAndPageAndThumb) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  TScroller& s = *view.Scroller;
  view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(s.YPos, 1);
  view.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(s.YPos, 1 + s.YPage);
  view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), 0);
  EXPECT_EQ(s.YPos, 50);
  EXPECT_EQ(GetScrollPos(view.HWindow, SB_VERT), 50);
  view.SendMessage(WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(s.XPos, s.XMax());
  view.SendMessage(WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(s.XPos, 0);
}

TEST_F(ScrollerTest, PaintGetsDocumentCoordinatesAtTheScrolledOrigin) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  view.Scroller->ScrollTo(2, 5);
  view.Invalidate();
  view.UpdateWindow();
  EXPECT_EQ(view.origin, TPoint(-16, -120));
  EXPECT_EQ(view.paintRect.left, 16);
  EXPECT_EQ(view.paintRect.top, 120);
  // The document's mark at (40, 150) shows at (24, 30) of the client area.
  QImage shot = GrabWindow(view.HWindow);
  ASSERT_FALSE(shot.isNull());
  POINT client{24 + 2, 30 + 2};
  ClientToScreen(view.HWindow, &client);
  RECT frame;
  GetWindowRect(view.HWindow, &frame);
  QColor at = shot.pixelColor(client.x - frame.left, client.y - frame.top);
  EXPECT_EQ(at, QColor(255, 0, 0));
}

}  // namespace
