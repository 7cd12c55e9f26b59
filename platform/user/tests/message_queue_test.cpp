#include "platform/user/tests/window_test_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

using Messages = WindowTest;

TEST_F(Messages, SendMessageNestsToAnyDepthAndReturnsEachAnswer) {
  HWND a = TopWindow();
  HWND b = ChildWindow(a, 1);
  std::vector<int> order;
  Hook() = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    int depth = static_cast<int>(wParam);
    order.push_back(depth);
    if (depth == 50) return 1000;
    // Ping-pong between the two windows, each answer built on the inner one.
    LRESULT inner = SendMessage(hwnd == a ? b : a, WM_USER, depth + 1, 0);
    order.push_back(-depth);
    return inner + 1;
  };
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 1050);
  ASSERT_EQ(order.size(), 101u);
  EXPECT_EQ(order[50], 50);
  EXPECT_EQ(order.back(), 0);
}

TEST_F(Messages, PostedMessagesArriveInOrderThroughGetMessageAndQuitEndsTheLoop) {
  HWND w = TopWindow();
  PostMessage(w, WM_USER + 1, 11, 0);
  PostMessage(w, WM_USER + 2, 22, 0);
  PostMessage(nullptr, WM_USER + 3, 33, 0);  // a message for the program, not a window
  PostQuitMessage(7);
  std::vector<UINT> seen;
  MSG msg;
  BOOL more;
  while ((more = GetMessage(&msg, nullptr, 0, 0)) > 0) {
    if (msg.message >= WM_USER) seen.push_back(msg.message);
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(more, FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  EXPECT_EQ(MessagesOf(w, {WM_USER + 1, WM_USER + 2}),
            (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
}

TEST_F(Messages, PeekMessageFiltersByWindowAndRangeAndCanLeaveTheMessage) {
  HWND a = TopWindow();
  HWND b = TopWindow();
  ProcessPendingMessages();
  PostMessage(a, WM_USER + 1, 0, 0);
  PostMessage(b, WM_USER + 2, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  EXPECT_FALSE(PeekMessage(&msg, b, WM_USER, WM_USER + 5, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER + 5, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, a);
  EXPECT_EQ(GetMessage(&msg, reinterpret_cast<HWND>(0x4321), 0, 0), -1);
}

TEST_F(Messages, PostedWorkIsDispatchedByQtsOwnLoopWhenNoMessageLoopRuns) {
  HWND w = TopWindow();
  PostMessage(w, WM_USER + 5, 0, 0);
  // The framework's loop is Qt's: processing Qt events alone must deliver the message.
  QCoreApplication::processEvents();
  EXPECT_EQ(MessagesOf(w, {WM_USER + 5}).size(), 1u);
}

TEST_F(Messages, MessagesToADestroyedWindowAreDropped) {
  HWND w = TopWindow();
  PostMessage(w, WM_USER + 6, 0, 0);
  DestroyWindow(w);
  ProcessPendingMessages();
  EXPECT_TRUE(MessagesOf(w, {WM_USER + 6}).empty());
  MSG msg{w, WM_USER, 0, 0, 0, {}};
  EXPECT_EQ(DispatchMessage(&msg), 0);
}

TEST_F(Messages, ModalLoopSendsEnterIdleToItsOwnerAndEndsWhenFinished) {
  HWND owner = TopWindow();
  HWND dialog = TopWindow();
  ProcessPendingMessages();
  bool finished = false;
  int idles = 0;
  Hook() = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg == WM_ENTERIDLE && hwnd == owner) {
      EXPECT_EQ(wParam, static_cast<WPARAM>(MSGF_DIALOGBOX));
      EXPECT_EQ(reinterpret_cast<HWND>(lParam), dialog);
      if (++idles == 1) PostMessage(dialog, WM_USER + 1, 0, 0);  // more work, then idle again
      else finished = true;
      return 0;
    }
    return std::nullopt;
  };
  ModalLoop loop;
  loop.idleOwner = owner;
  loop.idleSource = dialog;
  EXPECT_TRUE(RunModalLoop(loop, &finished));
  EXPECT_EQ(idles, 2);
  EXPECT_EQ(MessagesOf(dialog, {WM_USER + 1}).size(), 1u);
}

TEST_F(Messages, ModalLoopGivesWmQuitBackToTheOuterLoop) {
  HWND w = TopWindow();
  bool finished = false;
  int filtered = 0;
  PostMessage(w, WM_USER + 3, 0, 0);
  PostQuitMessage(3);
  ModalLoop loop;
  loop.preTranslate = [&](MSG& msg) { return msg.message == WM_USER + 3 && ++filtered > 0; };
  EXPECT_FALSE(RunModalLoop(loop, &finished));
  EXPECT_EQ(filtered, 1);
  EXPECT_TRUE(MessagesOf(w, {WM_USER + 3}).empty());  // the filter handled it
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(Messages, TimersPostOneTimerMessageAtATimeAndStopWhenKilled) {
  HWND w = TopWindow();
  EXPECT_EQ(SetTimer(w, 5, 1, nullptr), 5u);
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, w, WM_TIMER, WM_TIMER));
  EXPECT_EQ(msg.wParam, 5u);
  DispatchMessage(&msg);
  EXPECT_EQ(MessagesOf(w, {WM_TIMER}).size(), 1u);
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x777), 1, 10, nullptr), 0u);
}

/* A killed timer's Qt timer is kept for the next timer: it must fire for the new one alone,
   and stop for good when that one is killed too. */
TEST_F(Messages, AKilledTimersQtTimerFiresOnlyForTheTimerThatTakesItOver) {
  HWND w = TopWindow();
  UINT_PTR first = SetTimer(nullptr, 0, 1, nullptr);
  ASSERT_NE(first, 0u);
  EXPECT_TRUE(KillTimer(nullptr, first));
  EXPECT_EQ(SetTimer(w, 7, 1, nullptr), 7u);
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, WM_TIMER, WM_TIMER));
  EXPECT_EQ(msg.hwnd, w);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(KillTimer(w, 7));
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 50) {
    QCoreApplication::processEvents();
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  }
}

TEST_F(Messages, AMessageLoopOfOurOwnFreesTheWidgetsOfDestroyedWindows) {
  HWND w = TopWindow();
  QPointer<QWidget> frame = FindWindowObject(w)->frame.data();
  ASSERT_FALSE(frame.isNull());
  DestroyWindow(w);
  EXPECT_FALSE(frame.isNull());  // deletion is deferred: it may be inside its own handler
  PostQuitMessage(0);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) DispatchMessage(&msg);
  EXPECT_TRUE(frame.isNull());
}
