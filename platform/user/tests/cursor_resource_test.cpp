/*
** Cursors from a module's resources: found by name or number, shared per resource, shown
** with their own picture and hot spot, and freed once.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/module_identity.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QBitmap>
#include <QCursor>

using CursorResources = WindowTest;

TEST_F(CursorResources, ACursorOfTheProgramLoadsByNameOrNumberAndIsShared) {
  HINSTANCE program = MainProgramModule();
  HCURSOR byName = LoadCursor(program, "ColResizeCursor");
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(LoadCursor(program, "colresizecursor"), byName);  // names found without case
  HCURSOR byNumber = LoadCursor(program, MAKEINTRESOURCE(201));
  ASSERT_NE(byNumber, nullptr);
  EXPECT_NE(byNumber, byName);
  EXPECT_NE(byName, LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(LoadCursor(program, "RowResizeCursor"), nullptr);
  EXPECT_EQ(LoadCursor(program, MAKEINTRESOURCE(32512)), nullptr);  // no such resource here
  EXPECT_EQ(LoadCursor(program, nullptr), nullptr);
  EXPECT_TRUE(DestroyCursor(byName));
  EXPECT_TRUE(DestroyCursor(byNumber));
}

TEST_F(CursorResources, SetCursorShowsThePictureAtItsHotSpot) {
  HWND top = TopWindow();
  ProcessPendingMessages();
  HCURSOR cursor = LoadCursor(MainProgramModule(), "ColResizeCursor");
  ASSERT_NE(cursor, nullptr);
  SetCapture(top);
  SetCursor(cursor);
  EXPECT_EQ(GetCursor(), cursor);
  QCursor shown = FindWindowObject(top)->clientWidget->cursor();
  ASSERT_EQ(shown.shape(), Qt::BitmapCursor);
  EXPECT_EQ(shown.hotSpot(), QPoint(5, 7));
  QImage picture = shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(picture.size(), QSize(32, 32));
  EXPECT_EQ(qAlpha(picture.pixel(4, 10)), 255);  // the left half is drawn black
  EXPECT_EQ(qRed(picture.pixel(4, 10)), 0);
  EXPECT_EQ(qAlpha(picture.pixel(24, 10)), 0);  // the right half is masked out
  ReleaseCapture();
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(FindWindowObject(top)->clientWidget->cursor().shape(), Qt::ArrowCursor);
  DestroyCursor(cursor);
}

TEST_F(CursorResources, DestroyingACursorFreesItOnceAndTheNextLoadMakesItAgain) {
  HCURSOR cursor = LoadCursor(MainProgramModule(), "ColResizeCursor");
  ASSERT_NE(cursor, nullptr);
  SetCursor(cursor);
  EXPECT_TRUE(DestroyCursor(cursor));
  EXPECT_EQ(GetCursor(), nullptr);  // no cursor is left pointing at the freed one
  EXPECT_FALSE(DestroyCursor(cursor));
  EXPECT_FALSE(DestroyCursor(LoadCursor(nullptr, IDC_ARROW)));  // the system's stay
  HCURSOR again = LoadCursor(MainProgramModule(), "ColResizeCursor");
  EXPECT_NE(again, nullptr);
  EXPECT_TRUE(DestroyCursor(again));
}

TEST_F(CursorResources, AClassCursorFromResourcesIsShownWhenThePointerComesOver) {
  HCURSOR cursor = LoadCursor(MainProgramModule(), MAKEINTRESOURCE(201));
  ASSERT_NE(cursor, nullptr);
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.hCursor = cursor;
  wc.lpszClassName = "ResourceCursorWindow";
  ASSERT_TRUE(RegisterClass(&wc));
  HWND window = CreateWindow("ResourceCursorWindow", "Cursor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                             10, 200, 120, nullptr, nullptr, nullptr, nullptr);
  ProcessPendingMessages();
  POINT over{20, 20};
  ClientToScreen(window, &over);
  SetCursorPos(over.x, over.y);  // where a real pointer would be
  MouseMove(window, 20, 20);
  EXPECT_EQ(GetCursor(), cursor);
  EXPECT_EQ(FindWindowObject(window)->clientWidget->cursor().shape(), Qt::BitmapCursor);
  DestroyWindow(window);
  UnregisterClass("ResourceCursorWindow", nullptr);
  DestroyCursor(cursor);
}
