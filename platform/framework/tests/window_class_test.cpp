/*
** A window class of the program's own: the name GetClassName gives and the class record
** GetWindowClass fills are what gets registered, once, for every window of that kind, and
** the background brush of that record is what the window is erased with. A window frees the
** icons it loaded.
*/
#include "platform/framework/window.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <vector>

namespace {

class TCrossView : public TWindow {
 public:
  TCrossView() : TWindow(nullptr, "Cross") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 120;
    Attr.H = 80;
  }
  const char* GetClassName() override { return "ZarneCrossView"; }
  void GetWindowClass(WNDCLASS& wc) override {
    TWindow::GetWindowClass(wc);
    ++classRecordsAsked;
    wc.style |= CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
    wc.cbWndExtra = 12;
    wc.hbrBackground = Background();
  }
  static HBRUSH Background() {
    static HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    return green;
  }
  static int classRecordsAsked;
};
int TCrossView::classRecordsAsked = 0;

class WindowClassTest : public GuiTest {};

TEST_F(WindowClassTest, OwnClassIsRegisteredFromItsRecordOnce) {
  TCrossView first, second;
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  char name[64] = "";
  ::GetClassName(first.HWindow, name, sizeof name);
  EXPECT_STREQ(name, "ZarneCrossView");
  WNDCLASS registered{};
  ASSERT_TRUE(GetClassInfo(*first.GetModule(), "ZarneCrossView", &registered));
  EXPECT_EQ(registered.style & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
            UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
  EXPECT_EQ(registered.hCursor, LoadCursor(nullptr, IDC_CROSS));
  EXPECT_EQ(registered.cbWndExtra, 12);
  EXPECT_EQ(registered.hbrBackground, TCrossView::Background());
  EXPECT_EQ(TCrossView::classRecordsAsked, 1);
  // The extra bytes the record asked for are there to use.
  SetWindowLong(second.HWindow, 8, 0x1234);
  EXPECT_EQ(GetWindowLong(second.HWindow, 8), 0x1234);

  first.Invalidate();
  first.UpdateWindow();
  QImage shot = GrabWindow(first.HWindow);
  ASSERT_FALSE(shot.isNull());
  POINT inside{20, 20};
  ClientToScreen(first.HWindow, &inside);
  RECT frame;
  GetWindowRect(first.HWindow, &frame);
  EXPECT_EQ(shot.pixelColor(inside.x - frame.left, inside.y - frame.top), QColor(0, 128, 0));
}

/* Records the icons the window is handed, to see when they are freed. */
class TIconView : public TWindow {
 public:
  TIconView() : TWindow(nullptr, "Icons") { Attr.Style = WS_POPUP; }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_SETICON) handed.push_back(reinterpret_cast<HICON>(lParam));
    return TWindow::WindowProc(msg, wParam, lParam);
  }
  std::vector<HICON> handed;
};

TEST_F(WindowClassTest, AWindowFreesTheIconsItLoaded) {
  auto* view = new TIconView;
  ASSERT_TRUE(view->Create());
  view->SetIcon(view->GetModule(), "WindowIcon");
  view->SetIconSm(view->GetModule(), "WindowIcon");
  view->SetIcon(view->GetModule(), "WindowIcon");  // a new icon in place of the first
  ASSERT_EQ(view->handed.size(), 3u);
  std::vector<HICON> handed = view->handed;
  EXPECT_TRUE(GdiIconImage(handed[0]).isNull());
  EXPECT_FALSE(GdiIconImage(handed[1]).isNull());
  EXPECT_FALSE(GdiIconImage(handed[2]).isNull());
  delete view;
  EXPECT_TRUE(GdiIconImage(handed[1]).isNull());
  EXPECT_TRUE(GdiIconImage(handed[2]).isNull());
}

}  // namespace
