#include "platform/user/tests/window_test_fixture.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstring>

using Lifecycle = WindowTest;

TEST_F(Lifecycle, CreationSendsNcCreateNcCalcSizeCreateSizeMoveInOrder) {
  HWND top = TopWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(top, nullptr);
  std::vector<UINT> order =
      MessagesOf(top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE});
  std::vector<UINT> expected{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
  EXPECT_EQ(order, expected);
  auto create = LoggedOf(WM_CREATE);
  ASSERT_EQ(create.size(), 1u);
  auto* cs = reinterpret_cast<CREATESTRUCT*>(create[0].lParam);
  (void)cs;  // only valid during the call; the order is what matters here
  char text[16];
  EXPECT_EQ(GetWindowText(top, text, sizeof text), 3);
  EXPECT_STREQ(text, "Top");
}

TEST_F(Lifecycle, DestructionSendsDestroyTopDownAndNcDestroyBottomUp) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1);
  HWND grandchild = ChildWindow(child, 2);
  ResetLog();
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> seen;
  for (const auto& m : MessageLog())
    if (m.message == WM_DESTROY || m.message == WM_NCDESTROY) seen.push_back({m.hwnd, m.message});
  std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},        {child, WM_DESTROY},
                                              {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
                                              {child, WM_NCDESTROY},    {top, WM_NCDESTROY}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_FALSE(DestroyWindow(top));  // twice: the platform's failure, no crash
}

TEST_F(Lifecycle, WindowDestroyingItselfInCreateGivesNull) {
  Hook() = [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CREATE) {
      DestroyWindow(hwnd);
      return 0;
    }
    return std::nullopt;
  };
  HWND top = TopWindow();
  EXPECT_EQ(top, nullptr);
  auto destroyed = LoggedOf(WM_NCDESTROY);
  ASSERT_EQ(destroyed.size(), 1u);
  EXPECT_FALSE(IsWindow(destroyed[0].hwnd));
}

TEST_F(Lifecycle, CreateAnsweringMinusOneOrNcCreateFalseFailsTheCreation) {
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CREATE) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(TopWindow(), nullptr);
  EXPECT_EQ(LoggedOf(WM_DESTROY).size(), 1u);
  ResetLog();
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_NCCREATE) return FALSE;
    return std::nullopt;
  };
  EXPECT_EQ(TopWindow(), nullptr);
  EXPECT_TRUE(LoggedOf(WM_CREATE).empty());
  EXPECT_EQ(LoggedOf(WM_NCDESTROY).size(), 1u);
}

TEST_F(Lifecycle, BadInputGivesFailureValues) {
  EXPECT_EQ(CreateWindow("NoSuchClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr),
            nullptr);
  EXPECT_EQ(ChildWindow(reinterpret_cast<HWND>(0x1234), 1), nullptr);  // unknown parent
  EXPECT_EQ(
      CreateWindow("TestWindow", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);
  HWND stale = TopWindow();
  DestroyWindow(stale);
  EXPECT_EQ(SendMessage(stale, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(stale, WM_USER, 0, 0));
  EXPECT_EQ(GetWindowLong(stale, GWL_STYLE), 0);
  EXPECT_EQ(GetParent(stale), nullptr);
  RECT r{1, 1, 1, 1};
  EXPECT_FALSE(GetClientRect(stale, &r));
  EXPECT_FALSE(ShowWindow(stale, SW_SHOW));
  EXPECT_EQ(SetFocus(stale), nullptr);
  EXPECT_EQ(GetDC(stale), nullptr);
  EXPECT_EQ(BeginPaint(stale, nullptr), nullptr);
  EXPECT_FALSE(InvalidateRect(stale, nullptr, TRUE));
  char name[8] = "x";
  EXPECT_EQ(GetClassName(stale, name, sizeof name), 0);
  EXPECT_EQ(GetWindowText(stale, name, sizeof name), 0);
  EXPECT_STREQ(name, "");
}

TEST_F(Lifecycle, ClassesRegisterOnceUnregisterOnlyWhenUnusedAndAnswerInfo) {
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.cbWndExtra = 12;
  wc.style = CS_OWNDC | CS_DBLCLKS;
  wc.lpszClassName = "LifecycleClass";
  ATOM atom = RegisterClass(&wc);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClass(&wc), 0);  // taken
  HWND w = CreateWindow("lifecycleclass", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                        nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  char name[32];
  EXPECT_EQ(GetClassName(w, name, sizeof name), 14);
  EXPECT_STREQ(name, "LifecycleClass");
  EXPECT_FALSE(UnregisterClass("LifecycleClass", nullptr));  // a window still uses it
  WNDCLASS info{};
  ASSERT_TRUE(GetClassInfo(nullptr, "LifecycleClass", &info));
  EXPECT_EQ(info.cbWndExtra, 12);
  EXPECT_EQ(info.style, static_cast<UINT>(CS_OWNDC | CS_DBLCLKS));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("LifecycleClass", nullptr));
  EXPECT_FALSE(GetClassInfo(nullptr, "LifecycleClass", &info));
  EXPECT_EQ(CreateWindow(MAKEINTATOM(atom), "", WS_OVERLAPPED, 0, 0, 5, 5, nullptr, nullptr,
                         nullptr, nullptr),
            nullptr);
}

TEST_F(Lifecycle, WindowLongsAndExtraWordsKeepFullPointers) {
  HWND w = TopWindow();
  LONG_PTR handle = static_cast<LONG_PTR>(0x123456789ABCLL);
  EXPECT_EQ(SetWindowLong(w, 0, handle), 0);
  EXPECT_EQ(GetWindowLong(w, 0), handle);
  EXPECT_EQ(SetWindowLong(w, 4, 77), 0);
  EXPECT_EQ(GetWindowLong(w, 4), 77);
  EXPECT_EQ(GetWindowLong(w, 8), 0);  // beyond cbWndExtra = 8
  EXPECT_EQ(SetWindowLong(w, 8, 5), 0);
  EXPECT_EQ(SetWindowWord(w, 6, 0xBEEF), 0);
  EXPECT_EQ(GetWindowWord(w, 6), 0xBEEF);
  EXPECT_EQ(GetWindowWord(w, 4), 77);
  EXPECT_EQ(SetWindowLong(w, GWL_USERDATA, 42), 0);
  EXPECT_EQ(GetWindowLong(w, GWL_USERDATA), 42);
  HWND child = ChildWindow(w, 1234);
  EXPECT_EQ(GetWindowLong(child, GWL_ID), 1234);
  EXPECT_EQ(GetDlgCtrlID(child), 1234);
  EXPECT_EQ(GetWindowLong(child, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(w));
  DWORD style = static_cast<DWORD>(GetWindowLong(child, GWL_STYLE));
  EXPECT_TRUE(style & WS_CHILD);
  ResetLog();
  SetWindowLong(child, GWL_STYLE, style | WS_BORDER);
  EXPECT_EQ(MessagesOf(child, {WM_STYLECHANGING, WM_STYLECHANGED}),
            (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_TRUE(GetWindowLong(child, GWL_STYLE) & WS_BORDER);
}

namespace {
WNDPROC gPrevious = nullptr;
int gSubclassSeen = 0;
LRESULT CALLBACK CountingSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 9) {
    ++gSubclassSeen;
    return 9;
  }
  return CallWindowProc(gPrevious, hwnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(Lifecycle, SubclassingThroughGwlWndProcChainsToThePrevious) {
  HWND w = TopWindow();
  gPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(CountingSubclass)));
  EXPECT_EQ(gPrevious, RecordingProc);
  EXPECT_EQ(SendMessage(w, WM_USER + 9, 0, 0), 9);
  EXPECT_EQ(gSubclassSeen, 1);
  ResetLog();
  SendMessage(w, WM_USER + 10, 0, 0);
  EXPECT_EQ(MessagesOf(w), std::vector<UINT>{WM_USER + 10});
}

TEST_F(Lifecycle, RegisteredMessagesShareOneNumberPerName) {
  UINT a = RegisterWindowMessage("CUSTCNTL_NOTIFY");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("custcntl_notify"), a);
  EXPECT_NE(RegisterWindowMessage("Other"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(ClassesWithoutApplication, TheEditClassCanBeReadBeforeAnyApplicationExists) {
  bool hadApplication = QCoreApplication::instance() != nullptr;
  WNDCLASS wc{};
  ASSERT_TRUE(GetClassInfo(nullptr, "EDIT", &wc));
  EXPECT_EQ(wc.lpfnWndProc, EditWindowProc);
  EXPECT_STREQ(wc.lpszClassName, "EDIT");
  // A library reading the class at load time must not make the program's application object.
  if (!hadApplication) EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST_F(Lifecycle, AChildOfAWindowBeingDestroyedIsRefused) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1);
  HWND grandchild = ChildWindow(child, 2);
  static HWND created;
  static HWND parentOfNew;
  created = reinterpret_cast<HWND>(1);
  parentOfNew = top;
  Hook() = [grandchild](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    // As an editor's grid stashes itself: a new child of the top window, from a grandchild's
    // last message.
    if (msg == WM_NCDESTROY && hwnd == grandchild)
      created =
          CreateWindow("static", "", WS_CHILD, 0, 0, 0, 0, parentOfNew, nullptr, nullptr, nullptr);
    return std::nullopt;
  };
  ASSERT_TRUE(DestroyWindow(top));
  EXPECT_EQ(created, nullptr);
  Hook() = nullptr;
  // Ordinary creation is unchanged, also beside a sibling being destroyed.
  HWND again = TopWindow();
  HWND first = ChildWindow(again, 3);
  HWND second = ChildWindow(again, 4);
  EXPECT_NE(second, nullptr);
  ASSERT_TRUE(DestroyWindow(first));
  EXPECT_NE(ChildWindow(again, 5), nullptr);
}

/* The widgets of destroyed windows go once a loop of PeekMessage calls runs outside every
** window procedure, as they do under GetMessage: a pump that never waits keeps no dead ones. */
TEST_F(Lifecycle, APeekMessageLoopFreesTheWidgetsOfDestroyedWindows) {
  HWND top = TopWindow();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  const auto before = QApplication::allWidgets().size();
  for (int i = 0; i < 50; ++i) {
    HWND child = ChildWindow(top, 100 + i);
    ASSERT_NE(child, nullptr);
    DestroyWindow(child);
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  EXPECT_EQ(QApplication::allWidgets().size(), before);
}
