#include "platform/user/tests/window_test_fixture.h"

#include "platform/gdi/gdi.h"

using Painting = WindowTest;

namespace {

struct PaintRecord {
  RECT rcPaint;
  BOOL fErase;
};

/* Paints the update rectangle red and remembers what BeginPaint said. */
MessageHook PaintRed(std::vector<PaintRecord>& paints, HWND only) {
  return [&paints, only](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_PAINT || hwnd != only) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    paints.push_back({ps.rcPaint, ps.fErase});
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &ps.rcPaint, red);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return 0;
  };
}

QRgb PixelOf(HWND hwnd, int x, int y) { return GrabWindow(hwnd).pixel(x, y); }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(Painting, InvalidatedAreaComesBackAsOnePaintWithItsBoundingRectangle) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 200, 100);
  std::vector<PaintRecord> paints;
  Hook() = PaintRed(paints, top);
  ProcessPendingMessages();  // the first paint after showing: everything
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_TRUE(SameRect(paints[0].rcPaint, RECT{0, 0, 200, 100}));
  paints.clear();
  HDC dc = GetDC(top);
  RECT all{0, 0, 200, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(top, dc);
  RECT a{10, 10, 20, 20}, b{50, 30, 60, 40};
  InvalidateRect(top, &a, FALSE);
  InvalidateRect(top, &b, FALSE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
  EXPECT_TRUE(SameRect(update, RECT{10, 10, 60, 40}));
  ProcessPendingMessages();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_TRUE(SameRect(paints[0].rcPaint, RECT{10, 10, 60, 40}));
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));  // painting validated it
  // The clip kept the paint inside the two rectangles.
  EXPECT_EQ(qRed(PixelOf(top, 15, 15)), 255);
  EXPECT_EQ(PixelOf(top, 30, 15), qRgb(255, 255, 255));
}

TEST_F(Painting, EraseUsesTheClassBrushAndFEraseTellsWhetherItHappened) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 100, 80);
  std::vector<PaintRecord> paints;
  ProcessPendingMessages();
  // Paint everything red first, then let only the erase run over part of it.
  HDC dc = GetDC(top);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 100, 80};
  FillRect(dc, &all, red);
  DeleteObject(red);
  EXPECT_EQ(ReleaseDC(top, dc), 1);
  EXPECT_EQ(ReleaseDC(top, dc), 0);  // released twice: the failure value
  RECT part{0, 0, 10, 10};
  InvalidateRect(top, &part, TRUE);
  ProcessPendingMessages();  // DefWindowProc: BeginPaint erases with COLOR_WINDOW + 1
  EXPECT_EQ(PixelOf(top, 5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(qRed(PixelOf(top, 50, 50)), 255);
  // A window that answers WM_ERASEBKGND with 0 is told to erase itself.
  Hook() = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg == WM_ERASEBKGND) return 0;
    return PaintRed(paints, top)(hwnd, msg, wParam, lParam);
  };
  InvalidateRect(top, &part, TRUE);
  ProcessPendingMessages();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_TRUE(paints[0].fErase);
  InvalidateRect(top, &part, FALSE);
  ProcessPendingMessages();
  ASSERT_EQ(paints.size(), 2u);
  EXPECT_FALSE(paints[1].fErase);
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndValidateRectCancels) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 100, 80);
  ProcessPendingMessages();
  std::vector<PaintRecord> paints;
  Hook() = PaintRed(paints, top);
  RECT r{1, 2, 3, 4};
  InvalidateRect(top, &r, FALSE);
  UpdateWindow(top);
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_TRUE(SameRect(paints[0].rcPaint, r));
  InvalidateRect(top, &r, FALSE);
  ValidateRect(top, nullptr);
  ProcessPendingMessages();
  EXPECT_EQ(paints.size(), 1u);
  UpdateWindow(top);  // nothing to paint
  EXPECT_EQ(paints.size(), 1u);
}

TEST_F(Painting, RedrawOffDropsInvalidationUntilItComesBack) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 100, 80);
  ProcessPendingMessages();
  std::vector<PaintRecord> paints;
  Hook() = PaintRed(paints, top);
  SendMessage(top, WM_SETREDRAW, FALSE, 0);
  InvalidateRect(top, nullptr, TRUE);
  ProcessPendingMessages();
  EXPECT_TRUE(paints.empty());
  SendMessage(top, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(top, nullptr, TRUE);
  ProcessPendingMessages();
  EXPECT_EQ(paints.size(), 1u);
}

TEST_F(Painting, ParentsPaintBeforeTheirChildren) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 200, 100);
  HWND child = ChildWindow(top, 1, 10, 10, 50, 50);
  ProcessPendingMessages();
  ResetLog();
  InvalidateRect(child, nullptr, TRUE);
  InvalidateRect(top, nullptr, TRUE);
  ProcessPendingMessages();
  std::vector<HWND> painted;
  for (const auto& m : LoggedOf(WM_PAINT)) painted.push_back(m.hwnd);
  EXPECT_EQ(painted, (std::vector<HWND>{top, child}));
}

TEST_F(Painting, ScrollWindowMovesThePixelsAndInvalidatesOnlyTheUncoveredBand) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 100, 100);
  ProcessPendingMessages();
  HDC dc = GetDC(top);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT stripe{0, 40, 100, 50};
  FillRect(dc, &stripe, red);
  DeleteObject(red);
  ReleaseDC(top, dc);
  std::vector<PaintRecord> paints;
  Hook() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    paints.push_back({ps.rcPaint, ps.fErase});
    EndPaint(hwnd, &ps);
    return 0;
  };
  ASSERT_TRUE(ScrollWindow(top, 0, -24, nullptr, nullptr));
  ProcessPendingMessages();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_TRUE(SameRect(paints[0].rcPaint, RECT{0, 76, 100, 100}));
  EXPECT_EQ(qRed(PixelOf(top, 50, 20)), 255);  // the stripe moved up by 24
  EXPECT_EQ(PixelOf(top, 50, 45), qRgb(255, 255, 255));
}

TEST_F(Painting, OwnDCWindowsKeepOneDCWithItsState) {
  WNDCLASS wc{};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = "OwnDCWindow";
  RegisterClass(&wc);
  HWND w = CreateWindow("OwnDCWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                        nullptr, nullptr);
  HDC first = GetDC(w);
  SetTextColor(first, RGB(1, 2, 3));
  EXPECT_EQ(ReleaseDC(w, first), 1);
  HDC second = GetDC(w);
  EXPECT_EQ(second, first);
  EXPECT_EQ(GetTextColor(second), RGB(1, 2, 3));
  EXPECT_EQ(WindowFromDC(second), w);
  ReleaseDC(w, second);
  PAINTSTRUCT ps;
  EXPECT_EQ(BeginPaint(w, &ps), first);
  EndPaint(w, &ps);
  DestroyWindow(w);
  UnregisterClass("OwnDCWindow", nullptr);
}

TEST_F(Painting, ScreenshotShowsChildWindowsOverTheirParent) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 120, 80);
  HWND child = ChildWindow(top, 1, 20, 20, 40, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
  std::vector<PaintRecord> paints;
  Hook() = PaintRed(paints, child);
  std::string path = PathInRoot("shot.png");
  ASSERT_TRUE(SaveWindowScreenshot(top, path));
  QImage shot(QString::fromStdString(path));
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.width(), 120);
  EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(20, 20), qRgb(0, 0, 0));  // the child's border
  EXPECT_EQ(qRed(shot.pixel(30, 30)), 255);      // the child's red client
  EXPECT_FALSE(SaveWindowScreenshot(reinterpret_cast<HWND>(0x99), path));
}

TEST_F(Painting, APaintHandlerWithoutBeginPaintIsNotAskedForever) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 50, 50);
  ProcessPendingMessages();
  ResetLog();
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_PAINT) return 0;  // forgets BeginPaint
    return std::nullopt;
  };
  InvalidateRect(top, nullptr, TRUE);
  ProcessPendingMessages();
  EXPECT_EQ(MessagesOf(top, {WM_PAINT}).size(), 1u);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
}

TEST_F(Painting, InvalidatingAgainWhilePaintingAsksForAnotherPaint) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 50, 50);
  ProcessPendingMessages();
  std::vector<RECT> painted;
  Hook() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    painted.push_back(ps.rcPaint);
    EndPaint(hwnd, &ps);
    if (painted.size() == 1) {
      RECT again{40, 40, 50, 50};
      InvalidateRect(hwnd, &again, FALSE);
    }
    return 0;
  };
  RECT first{0, 0, 5, 5};
  InvalidateRect(top, &first, FALSE);
  ProcessPendingMessages();
  ASSERT_EQ(painted.size(), 2u);
  EXPECT_TRUE(SameRect(painted[1], RECT{40, 40, 50, 50}));
}

TEST_F(Painting, ScrollingTheWholeClientAreaMovesChildWindowsAlong) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 200, 200);
  HWND child = ChildWindow(top, 101, 10, 100, 60, 24);
  ProcessPendingMessages();
  ScrollWindow(top, -8, -24, nullptr, nullptr);
  RECT r;
  GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 76);
  RECT part{0, 0, 200, 50};
  ScrollWindow(top, 0, 10, &part, nullptr);  // a scrolled part leaves children where they are
  GetWindowRect(child, &r);
  p = POINT{r.left, r.top};
  ScreenToClient(top, &p);
  EXPECT_EQ(p.y, 76);
}

TEST_F(Painting, NullAndStaleHandlesAreRefusedQuietly) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 50, 50);
  EXPECT_EQ(ReleaseDC(top, nullptr), 0);
  PAINTSTRUCT bogus{};
  bogus.hdc = reinterpret_cast<HDC>(0x5151);
  EXPECT_FALSE(EndPaint(top, &bogus));
  EXPECT_FALSE(EndPaint(top, nullptr));
  EXPECT_FALSE(ValidateRect(nullptr, nullptr));
  EXPECT_FALSE(UpdateWindow(nullptr));
  EXPECT_FALSE(ScrollWindow(nullptr, 0, 1, nullptr, nullptr));
  HDC screen = GetDC(nullptr);  // the screen's DC serves measuring
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
  EXPECT_EQ(SendMessage(nullptr, WM_USER, 0, 0), 0);
  EXPECT_FALSE(IsWindow(nullptr));
  EXPECT_FALSE(DestroyWindow(nullptr));
  EXPECT_FALSE(SetWindowPos(nullptr, nullptr, 0, 0, 1, 1, 0));
  EXPECT_TRUE(IsWindow(GetDesktopWindow()));
}

TEST_F(Painting, APaintsCallsEachStartFreshAndShareTheWindowWithOtherDCs) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 120, 40);
  ProcessPendingMessages();
  Hook() = [top](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_PAINT || hwnd != top) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT all{0, 0, 120, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // White XOR white is black; the raster operation must not outlast its call.
    RECT inverted{0, 0, 10, 10};
    InvertRect(dc, &inverted);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT plain{0, 0, 5, 10};
    FillRect(dc, &plain, blue);
    // Another DC on the same window in the middle of the paint, then the paint's own again.
    HDC other = GetDC(hwnd);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT middle{40, 0, 50, 10};
    FillRect(other, &middle, green);
    ReleaseDC(hwnd, other);
    RECT after{80, 0, 90, 10};
    FillRect(dc, &after, blue);
    DeleteObject(green);
    DeleteObject(blue);
    EndPaint(hwnd, &ps);
    return 0;
  };
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  EXPECT_EQ(PixelOf(top, 2, 5), qRgb(0, 0, 255));  // plain copy after the inversion
  EXPECT_EQ(PixelOf(top, 7, 5), qRgb(0, 0, 0));    // the inversion itself
  EXPECT_EQ(PixelOf(top, 45, 5), qRgb(0, 255, 0));
  EXPECT_EQ(PixelOf(top, 85, 5), qRgb(0, 0, 255));
  EXPECT_EQ(PixelOf(top, 60, 30), qRgb(255, 255, 255));
}
