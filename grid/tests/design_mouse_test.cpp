// The design-time mouse without a dialog editor: a right click takes it (capture, pointer
// kept to the client rectangle and one pixel), a double click on a heading asks a Corvane
// parent for the column's setup, a second right click gives everything back.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"

#include <vector>

namespace {

std::vector<WPARAM> gSetupColumns;
WNDPROC gGridProc = nullptr;

/* A dialog editor's subclass: passes everything on. */
LRESULT EditorSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProc(gGridProc, window, message, wParam, lParam);
}

LRESULT CorvaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TSM_COLUMNSETUP) {
    gSetupColumns.push_back(wParam);
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class DesignMouse : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    gSetupColumns.clear();
    WNDCLASS host{};
    host.lpfnWndProc = CorvaneProc;
    host.lpszClassName = "Corvane";
    RegisterClass(&host);
    host_ = CreateWindow("Corvane", "Form", WS_OVERLAPPED | WS_VISIBLE, 40, 40, 500, 300, nullptr,
                         nullptr, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(host_)) DestroyWindow(host_);
    UnregisterClass("Corvane", nullptr);
    GridTest::TearDown();
  }
  HWND ThreeColumnGrid(HWND parent) {
    HWND grid =
        CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | TSS_HGRID | TSS_VGRID, 10, 10, 300, 150,
                     parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(300)), nullptr, nullptr);
    Send(grid, TSM_SETCOLCOUNT, 3);
    for (int c = 0; c < 3; ++c) Send(grid, TSM_SETCOLWIDTH, c, 40);
    char values[4096] = {};
    Append(grid, values);
    Send(grid, TSM_SETDESIGNMODE);
    UpdateWindow(grid);
    return grid;
  }
  static RECT ScreenClient(HWND grid) {
    RECT client{};
    GetClientRect(grid, &client);
    POINT topLeft{0, 0};
    ClientToScreen(grid, &topLeft);
    return RECT{topLeft.x, topLeft.y, topLeft.x + client.right + 1, topLeft.y + client.bottom + 1};
  }
  static bool Free() {
    RECT clip{};
    GetClipCursor(&clip);
    return clip.left == 0 && clip.top == 0 && clip.right == GetSystemMetrics(SM_CXSCREEN) &&
           clip.bottom == GetSystemMetrics(SM_CYSCREEN);
  }
  /* The middle of column c's heading, from the widths set (dialog units) and the heading
     height the grid reports. */
  static POINT HeadingCentre(HWND grid, int column) {
    Send(grid, TSM_SETCURSOR, column, 0);
    RECT cell{};
    EXPECT_EQ(Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell)), 0);
    return POINT{(cell.left + cell.right) / 2, static_cast<int>(Send(grid, TSM_GETMETRIC, 3)) / 2};
  }

  HWND host_ = nullptr;
};

}  // namespace

TEST_F(DesignMouse, RightClickTakesTheMouseAndADoubleClickAsksTheHostForSetup) {
  HWND grid = ThreeColumnGrid(host_);
  NotificationRecorder recorder(host_);
  POINT heading = HeadingCentre(grid, 1);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_EQ(GetCapture(), grid);
  RECT clip{}, expected = ScreenClient(grid);
  GetClipCursor(&clip);
  EXPECT_EQ(clip.left, expected.left);
  EXPECT_EQ(clip.top, expected.top);
  EXPECT_EQ(clip.right, expected.right);
  EXPECT_EQ(clip.bottom, expected.bottom);
  EXPECT_EQ(recorder.Count(TSN_RBUTTONDOWN), 0);  // in design mode a right click notifies nothing

  DoubleClick(grid, heading.x, heading.y);
  EXPECT_EQ(gSetupColumns, std::vector<WPARAM>{1});
  EXPECT_EQ(recorder.Count(TSN_LBUTTONDBLCLK), 1);
  EXPECT_EQ(GetCapture(), grid);  // taken again after the setup
  EXPECT_FALSE(Free());

  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(Free());
  // Without the design-time mouse a double click only notifies.
  DoubleClick(grid, heading.x, heading.y);
  EXPECT_EQ(gSetupColumns.size(), 1u);
  EXPECT_EQ(recorder.Count(TSN_LBUTTONDBLCLK), 2);
}

TEST_F(DesignMouse, AtRunTimeRightClicksNotifyAndFocusLossReleasesTheMouse) {
  HWND grid = ThreeColumnGrid(parent_);
  NotificationRecorder recorder(parent_);
  Send(grid, TSM_SETRUNMODE);
  POINT heading = HeadingCentre(grid, 0);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_EQ(recorder.Count(TSN_RBUTTONDOWN), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  // Taken in design mode, then design mode cleared: losing the focus gives it back.
  Send(grid, TSM_SETDESIGNMODE);
  SetFocus(grid);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  ASSERT_EQ(GetCapture(), grid);
  Send(grid, TSM_SETRUNMODE);
  SetFocus(parent_);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(Free());
  // Without a Corvane parent the grid's own Column Setup dialog runs (cancelled here).
  DialogDriver driver;
  Send(grid, TSM_SETDESIGNMODE);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  DoubleClick(grid, heading.x, heading.y);
  EXPECT_TRUE(gSetupColumns.empty());
  EXPECT_EQ(driver.Opened().size(), 1u);
  EXPECT_EQ(GetCapture(), grid);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_TRUE(Free());
  // A dialog editor's subclass is set aside while the grid holds the mouse and put back after.
  gGridProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorSubclass)));
  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(grid, GWLP_WNDPROC)), gGridProc);
  Click(grid, heading.x, heading.y, Qt::RightButton);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(grid, GWLP_WNDPROC)), EditorSubclass);
  EXPECT_TRUE(Free());
}
