#include "platform/user/tests/window_test_fixture.h"

using SystemInfo = WindowTest;

TEST_F(SystemInfo, MetricsAndColoursAreTheClassicOnesAt96Dpi) {
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(9999), 0);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(-1), 0u);
  LONG units = GetDialogBaseUnits();
  EXPECT_EQ(LOWORD(units), 8);
  EXPECT_EQ(HIWORD(units), 16);
  DWORD version = GetVersion();
  EXPECT_EQ(LOBYTE(LOWORD(version)), 4);  // major
  EXPECT_EQ(HIBYTE(LOWORD(version)), 0);  // minor
}

TEST_F(SystemInfo, CaretBelongsToOneWindowAndHidesByCount) {
  HWND top = TopWindow();
  HWND other = ChildWindow(top, 1);
  ASSERT_TRUE(CreateCaret(top, nullptr, 2, 14));
  EXPECT_TRUE(SetCaretPos(30, 5));
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 30);
  EXPECT_EQ(p.y, 5);
  EXPECT_TRUE(ShowCaret(top));
  EXPECT_FALSE(ShowCaret(top));    // already shown
  EXPECT_FALSE(HideCaret(other));  // not its caret
  EXPECT_TRUE(HideCaret(top));
  EXPECT_TRUE(HideCaret(top));
  EXPECT_TRUE(ShowCaret(top));
  EXPECT_TRUE(ShowCaret(top));
  DestroyWindow(top);  // the caret goes with its window
  EXPECT_FALSE(DestroyCaret());
  EXPECT_FALSE(SetCaretPos(1, 1));
}
