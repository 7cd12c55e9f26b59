/*
** The scroller: positions run from 0 to the range (the range is the highest position, not the
** document size), scroll messages, scroll bars, and Paint drawing in document coordinates.
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

/* Resizes the view so its client area is exactly w x h pixels. */
void SetClientSize(TWindow& view, int w, int h) {
  TRect client = view.GetClientRect();
  TRect frame = view.GetWindowRect();
  view.MoveWindow(0, 0, frame.Width() + w - client.Width(), frame.Height() + h - client.Height(),
                  true);
  ASSERT_EQ(view.GetClientRect().Width(), w);
  ASSERT_EQ(view.GetClientRect().Height(), h);
}

TEST_F(ScrollerTest, PageSizeFollowsTheClientAndPositionsStayInRange) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  SetClientSize(view, 200, 120);
  TScroller& s = *view.Scroller;
  // Whole units of (client + 1) pixels, less one: (201 / 8) - 1 and (121 / 24) - 1.
  EXPECT_EQ(s.XPage, 24);
  EXPECT_EQ(s.YPage, 4);
  s.ScrollTo(1000, 1000);
  EXPECT_EQ(s.XPos, 72);
  EXPECT_EQ(s.YPos, 139);
  s.ScrollTo(-5, -5);
  EXPECT_EQ(s.XPos, 0);
  EXPECT_EQ(s.YPos, 0);
  int minPos = 0, maxPos = 0;
  GetScrollRange(view.HWindow, SB_VERT, &minPos, &maxPos);
  EXPECT_EQ(minPos, 0);
  EXPECT_EQ(maxPos, 139);
  GetScrollRange(view.HWindow, SB_HORZ, &minPos, &maxPos);
  EXPECT_EQ(maxPos, 72);
  // A client smaller than two units still pages by one.
  SetClientSize(view, 10, 30);
  EXPECT_EQ(s.XPage, 1);
  EXPECT_EQ(s.YPage, 1);
}

TEST_F(ScrollerTest, TheStatementFormsRightEdgeAndBottomCanBeReachedInA640By400Client) {
  // The form is 1186 x 3671 pixels; units 8 and 24 over ranges 72 and 139.
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  SetClientSize(view, 640, 400);
  TScroller& s = *view.Scroller;
  EXPECT_EQ(s.XPage, 79);  // 641 / 8 - 1
  EXPECT_EQ(s.YPage, 15);  // 401 / 24 - 1
  view.SendMessage(WM_HSCROLL, SB_BOTTOM, 0);
  view.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(s.XPos, 72);
  EXPECT_EQ(s.YPos, 139);
  // 72 * 8 + 640 = 1216 and 139 * 24 + 400 = 3736: the form's last pixels are in view.
  EXPECT_TRUE(s.IsVisibleRect(1180, 3660, 6, 11));
  EXPECT_EQ(GetScrollPos(view.HWindow, SB_HORZ), 72);
  EXPECT_EQ(GetScrollPos(view.HWindow, SB_VERT), 139);
}

TEST_F(ScrollerTest, ShorterRangesAndLargerUnitsPullThePositionBack) {
  TScrolledView view;
  ASSERT_TRUE(view.Create());
  SetClientSize(view, 200, 120);
  TScroller& s = *view.Scroller;
  s.ScrollTo(40, 100);
  ASSERT_EQ(s.YPos, 100);
  s.SetRange(30, 20);
  EXPECT_EQ(s.XPos, 30);
  EXPECT_EQ(s.YPos, 20);
  EXPECT_EQ(GetScrollPos(view.HWindow, SB_VERT), 20);
  int minPos = 0, maxPos = 0;
  GetScrollRange(view.HWindow, SB_VERT, &minPos, &maxPos);
  EXPECT_EQ(maxPos, 20);
  // Doubling the unit: (201 / 16) - 1 units per page.
  s.SetUnits(16, 24);
  EXPECT_EQ(s.XPage, 11);
  EXPECT_LE(s.XPos, s.XMax());
  // A range of 0 leaves nothing to scroll.
  s.SetRange(0, 0);
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
  EXPECT_EQ(s.XPos, 72);
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
