#include "platform/user/tests/window_test_fixture.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

using Input = WindowTest;

namespace {

std::vector<LoggedMessage> MouseMessages(HWND hwnd) {
  std::vector<LoggedMessage> out;
  for (const auto& m : MessageLog())
    if (m.hwnd == hwnd && m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK)
      out.push_back(m);
  return out;
}

}  // namespace

TEST_F(Input, ClicksArriveAsButtonMessagesWithClientCoordinatesAndKeyFlags) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1, 20, 30, 100, 60);
  ProcessPendingMessages();
  ResetLog();
  Click(child, 7, 9, Qt::LeftButton, Qt::ShiftModifier);
  auto clicks = MouseMessages(child);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(clicks[0].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(LOWORD(clicks[0].lParam), 7);
  EXPECT_EQ(HIWORD(clicks[0].lParam), 9);
  EXPECT_EQ(clicks[1].message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(clicks[1].wParam, static_cast<WPARAM>(MK_SHIFT));
  // Hit testing and the cursor are asked right before the button message.
  std::vector<UINT> order = MessagesOf(child, {WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN});
  auto down = std::find(order.begin(), order.end(), static_cast<UINT>(WM_LBUTTONDOWN));
  ASSERT_TRUE(down - order.begin() >= 2);
  EXPECT_EQ(*(down - 2), static_cast<UINT>(WM_NCHITTEST));
  EXPECT_EQ(*(down - 1), static_cast<UINT>(WM_SETCURSOR));
  ResetLog();
  Click(child, 3, 4, Qt::RightButton);
  clicks = MouseMessages(child);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].message, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(clicks[0].wParam, static_cast<WPARAM>(MK_RBUTTON));
}

TEST_F(Input, DoubleClicksOnlyForClassesThatAskForThem) {
  HWND top = TopWindow();
  HWND plain = ChildWindow(top, 1, 0, 0, 50, 50);
  HWND dbl = ChildWindow(top, 2, 60, 0, 50, 50, WS_CHILD | WS_VISIBLE, "TestDblClk");
  ProcessPendingMessages();
  ResetLog();
  DoubleClick(plain, 5, 5);
  DoubleClick(dbl, 5, 5);
  std::vector<UINT> plainSeen, dblSeen;
  for (const auto& m : MouseMessages(plain)) plainSeen.push_back(m.message);
  for (const auto& m : MouseMessages(dbl)) dblSeen.push_back(m.message);
  EXPECT_EQ(plainSeen,
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(dblSeen,
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(Input, KeysBecomeKeyDownCharKeyUpWithVirtualKeyCodesAtTheFocusWindow) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1);
  SetFocus(child);
  ResetLog();
  TypeText("a");
  PressKey(VK_F2);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  std::vector<std::pair<UINT, WPARAM>> seen;
  for (const auto& m : MessageLog())
    if (m.hwnd == child && m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
      seen.push_back({m.message, m.wParam});
  std::vector<std::pair<UINT, WPARAM>> expected{
      {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'},        {WM_KEYUP, 'A'},     {WM_KEYDOWN, VK_F2},
      {WM_KEYUP, VK_F2}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYUP, VK_DOWN}, {WM_KEYDOWN, VK_RETURN},
      {WM_CHAR, '\r'},   {WM_KEYUP, VK_RETURN}};
  EXPECT_EQ(seen, expected);
  auto ups = LoggedOf(WM_KEYUP);
  ASSERT_FALSE(ups.empty());
  EXPECT_TRUE(static_cast<DWORD>(ups[0].lParam) & 0x80000000u);  // transition bit of a release
  auto downs = LoggedOf(WM_KEYDOWN);
  EXPECT_TRUE(downs[2].lParam & (1 << 24));  // the arrow is an extended key
}

// A key typed while one window has the focus, but taken from the queue after the focus moved
// on and that window is gone (a dialog ended by the key before it, a window that takes the
// focus by a posted message), belongs to the new focus: typing ahead loses no character.
TEST_F(Input, KeysTypedAheadGoToTheFocusOfTheMomentTheyAreTaken) {
  HWND top = TopWindow();
  HWND typedAt = ChildWindow(top, 1);
  HWND takenAt = ChildWindow(top, 2, 0, 60);
  SetFocus(typedAt);
  ProcessPendingMessages();
  ResetLog();
  QWidget* widget = FindWindowObject(typedAt)->clientWidget.data();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_E, Qt::ShiftModifier, "E");
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_E, Qt::ShiftModifier, QString());
  QApplication::sendEvent(widget, &release);
  SetFocus(takenAt);
  DestroyWindow(typedAt);
  ProcessPendingMessages();
  std::vector<std::pair<UINT, WPARAM>> seen;
  for (const auto& m : MessageLog())
    if (m.hwnd == takenAt && m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
      seen.push_back({m.message, m.wParam});
  std::vector<std::pair<UINT, WPARAM>> expected{{WM_KEYDOWN, 'E'}, {WM_CHAR, 'E'}, {WM_KEYUP, 'E'}};
  EXPECT_EQ(seen, expected);
}

TEST_F(Input, KeyStateIsTheStateWhenTheMessageWasQueued) {
  HWND top = TopWindow();
  SetFocus(top);
  std::vector<bool> shiftAtTab;
  Hook() = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_KEYDOWN && wParam == VK_TAB) shiftAtTab.push_back(GetKeyState(VK_SHIFT) < 0);
    return std::nullopt;
  };
  PressKey(VK_TAB, Qt::ShiftModifier);
  PressKey(VK_TAB);
  ASSERT_EQ(shiftAtTab.size(), 2u);
  EXPECT_TRUE(shiftAtTab[0]);
  EXPECT_FALSE(shiftAtTab[1]);
  auto chars = LoggedOf(WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('\t'));
  BYTE state[256];
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_FALSE(state[VK_TAB] & 0x80);
}

TEST_F(Input, AltKeysAreSystemKeysAndControlLettersMakeControlCharacters) {
  HWND top = TopWindow();
  SetFocus(top);
  ResetLog();
  PressKey('F', Qt::AltModifier);
  EXPECT_EQ(MessagesOf(top, {WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYDOWN, WM_CHAR}),
            (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}));
  auto sysChars = LoggedOf(WM_SYSCHAR);
  ASSERT_EQ(sysChars.size(), 1u);
  EXPECT_EQ(sysChars[0].wParam, static_cast<WPARAM>('f'));
  EXPECT_TRUE(sysChars[0].lParam & (1 << 29));  // the context bit: Alt is down
  ResetLog();
  PressKey('C', Qt::ControlModifier);
  auto chars = LoggedOf(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, 3u);
}

TEST_F(Input, CaptureSendsEveryMouseMessageToTheCapturingWindow) {
  HWND top = TopWindow();
  HWND a = ChildWindow(top, 1, 0, 0, 50, 50);
  HWND b = ChildWindow(top, 2, 100, 0, 50, 50);
  ProcessPendingMessages();
  Hook() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == a && msg == WM_LBUTTONDOWN) SetCapture(a);
    if (hwnd == a && msg == WM_LBUTTONUP) ReleaseCapture();
    return std::nullopt;
  };
  MouseDown(a, 10, 10);
  EXPECT_EQ(GetCapture(), a);
  ResetLog();
  Hook() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == a && msg == WM_LBUTTONUP) ReleaseCapture();
    return std::nullopt;
  };
  MouseMove(b, 5, 5, Qt::LeftButton);  // over b, but a holds the capture
  MouseUp(b, 5, 5);
  EXPECT_TRUE(MouseMessages(b).empty());
  EXPECT_TRUE(MessagesOf(b, {WM_MOUSEMOVE}).empty());
  auto moves = LoggedOf(WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  for (const auto& move : moves) EXPECT_EQ(move.hwnd, a);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(moves.back().lParam)), 105);  // a's client coordinates
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MessagesOf(a, {WM_CAPTURECHANGED}).size(), 1u);
}

TEST_F(Input, AConfinedPointerReportsPositionsOnlyInsideItsRectangle) {
  // As a column is resized: the mouse captured and held in a strip from the column's edge.
  HWND top = TopWindow();
  HWND grid = ChildWindow(top, 1, 0, 0, 200, 100);
  ProcessPendingMessages();
  SetCapture(grid);
  POINT origin{0, 0};
  ClientToScreen(grid, &origin);
  RECT strip{origin.x + 50, origin.y + 40, origin.x + 200, origin.y + 41};
  SetCursorPos(origin.x, origin.y);
  ClipCursor(&strip);
  POINT pointer;
  GetCursorPos(&pointer);  // moved into the strip at once
  EXPECT_EQ(pointer.x, strip.left);
  EXPECT_EQ(pointer.y, strip.top);
  ResetLog();
  MouseMove(grid, 10, 90, Qt::LeftButton);  // left of and below the strip
  MouseMove(grid, 300, 5, Qt::LeftButton);  // right of and above it
  ClipCursor(nullptr);
  MouseMove(grid, 10, 90, Qt::LeftButton);  // free again
  ReleaseCapture();
  // Each place the pointer reported, in order (a move may be reported more than once).
  std::vector<std::pair<SHORT, SHORT>> places;
  for (const auto& move : LoggedOf(WM_MOUSEMOVE)) {
    std::pair<SHORT, SHORT> place{static_cast<SHORT>(LOWORD(move.lParam)),
                                  static_cast<SHORT>(HIWORD(move.lParam))};
    if (places.empty() || places.back() != place) places.push_back(place);
  }
  std::vector<std::pair<SHORT, SHORT>> expected = {
      {50, 40}, {199, 40}, {10, 90}};  // the strip's right edge lies just outside it
  EXPECT_EQ(places, expected);
}

TEST_F(Input, ClickingAnInactiveWindowAsksMouseActivateAndActivatesIt) {
  HWND first = TopWindow();
  HWND second = TopWindow();
  ProcessPendingMessages();
  ASSERT_EQ(GetActiveWindow(), second);
  HWND child = ChildWindow(first, 1);
  ProcessPendingMessages();
  ResetLog();
  Click(child, 2, 2);
  EXPECT_EQ(GetActiveWindow(), first);
  auto asks = LoggedOf(WM_MOUSEACTIVATE);
  ASSERT_EQ(asks.size(), 2u);  // the child asks its parent first
  EXPECT_EQ(asks[0].hwnd, child);
  EXPECT_EQ(asks[1].hwnd, first);
  EXPECT_EQ(HIWORD(asks[0].lParam), WM_LBUTTONDOWN);
  // A window that eats the activating click does not see it.
  ResetLog();
  Hook() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_MOUSEACTIVATE && hwnd == second) return MA_ACTIVATEANDEAT;
    return std::nullopt;
  };
  MouseDown(second, 3, 3);
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_TRUE(MouseMessages(second).empty());
}

TEST_F(Input, CursorsOfTheSystemLoadAndSet) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  EXPECT_NE(arrow, nullptr);
  EXPECT_NE(wait, arrow);
  EXPECT_NE(LoadCursor(nullptr, IDC_SIZEWE), nullptr);
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(wait), arrow);
  EXPECT_EQ(GetCursor(), wait);
  SetCursorPos(40, 50);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 40);
  EXPECT_EQ(p.y, 50);
  RECT clip{0, 0, 10, 10};
  ClipCursor(&clip);
  SetCursorPos(40, 50);
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 9);
  ClipCursor(nullptr);
}

TEST_F(Input, AClickOnAChildsBorderDoesNotReachTheParentsClientArea) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1, 20, 20, 50, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
  ProcessPendingMessages();
  ResetLog();
  Click(top, 20, 20);  // the child's one-pixel border
  EXPECT_TRUE(MouseMessages(top).empty());
  Click(top, 21, 21);  // the child's client origin
  auto clicks = MouseMessages(child);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].lParam, MAKELPARAM(0, 0));
}

TEST_F(Input, AWindowMayDestroyItselfFromItsOwnInputAndScrollHandlers) {
  HWND top = TopWindow();
  HWND clicked = ChildWindow(top, 1, 0, 0, 50, 50);
  HWND scrolled = ChildWindow(top, 2, 60, 0, 80, 100, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
  HWND edit = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE, 0, 120, 80, 20, top,
                           reinterpret_cast<HMENU>(3), nullptr, nullptr);
  ProcessPendingMessages();
  Hook() = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if ((hwnd == clicked && msg == WM_LBUTTONDOWN) || (hwnd == scrolled && msg == WM_VSCROLL)) {
      DestroyWindow(hwnd);
      return 0;
    }
    if (hwnd == top && msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
      DestroyWindow(reinterpret_cast<HWND>(lParam));  // the edit goes while it is typing
      return 0;
    }
    return std::nullopt;
  };
  Click(clicked, 5, 5);
  EXPECT_FALSE(IsWindow(clicked));
  ClickWindowPart(scrolled, 80 - GetSystemMetrics(SM_CXVSCROLL) / 2, 95);
  EXPECT_FALSE(IsWindow(scrolled));
  SetFocus(edit);
  TypeText("ab");
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(GetFocus(), top);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(IsWindow(top));
}

TEST_F(Input, DisablingAnOwnerLeavesItsOwnedWindowsTakingInput) {
  HWND owner = TopWindow();
  HWND owned = CreateWindow("TestWindow", "Owned", WS_POPUP | WS_VISIBLE, 40, 40, 120, 80, owner,
                            nullptr, nullptr, nullptr);
  HWND inside = ChildWindow(owned, 1, 0, 0, 60, 40);
  ProcessPendingMessages();
  EnableWindow(owner, FALSE);
  ResetLog();
  Click(inside, 5, 5);
  EXPECT_EQ(MouseMessages(inside).size(), 2u);
  EXPECT_TRUE(IsWindowEnabled(owned));

  // An owned window that was disabled itself stays disabled when its owner comes back.
  EnableWindow(owned, FALSE);
  EnableWindow(owner, TRUE);
  EXPECT_FALSE(IsWindowEnabled(owned));
  ResetLog();
  Click(inside, 5, 5);
  EXPECT_TRUE(MouseMessages(inside).empty());
}
