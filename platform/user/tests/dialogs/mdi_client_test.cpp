/*
** MDI tests: children created, activated, cascaded, tiled, maximized and closed in the
** order the shell relies on (the client's child list in creation order), the frame title of
** a maximized child, the window menu and the MDI keyboard shortcuts.
*/
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/menu_test_support.h"
#include "platform/user/winuser.h"

#include <QMenuBar>
#include <QToolButton>

#include <string>
#include <vector>

namespace {

constexpr UINT kFirstChildId = 0xFF00;

HWND gClient = nullptr;
std::vector<std::pair<HWND, std::pair<HWND, HWND>>> gActivations;  // child, (off, on)
std::vector<UINT> gFrameCommands;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) gFrameCommands.push_back(LOWORD(wParam));
  return DefFrameProc(hwnd, gClient, message, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MDIACTIVATE)
    gActivations.push_back(
        {hwnd, {reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam)}});
  return DefMDIChildProc(hwnd, message, wParam, lParam);
}

class MdiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gActivations.clear();
    gFrameCommands.clear();
    static bool registered = false;
    if (!registered) {
      WNDCLASS frame{};
      frame.lpfnWndProc = FrameProc;
      frame.lpszClassName = "MdiTestFrame";
      RegisterClass(&frame);
      WNDCLASS child{};
      child.lpfnWndProc = ChildProc;
      child.lpszClassName = "MdiTestChild";
      RegisterClass(&child);
      registered = true;
    }
    menu_ = CreateMenu();
    windowMenu_ = CreatePopupMenu();
    AppendMenu(windowMenu_, MF_STRING, 24361, "&Cascade");
    AppendMenu(windowMenu_, MF_STRING, 24362, "&Tile");
    AppendMenu(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu_), "&Window");
    frame_ = CreateWindow("MdiTestFrame", "Zarne", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                          nullptr, menu_, nullptr, nullptr);
    ASSERT_TRUE(frame_);
    SetMenu(frame_, menu_);
    CLIENTCREATESTRUCT ccs{windowMenu_, kFirstChildId};
    RECT area;
    GetClientRect(frame_, &area);
    gClient = CreateWindow("MDICLIENT", nullptr,
                           WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0,
                           area.right, area.bottom, frame_, nullptr, nullptr, &ccs);
    ASSERT_TRUE(gClient);
  }
  void TearDown() override {
    if (IsWindow(frame_)) DestroyWindow(frame_);
    DestroyMenu(menu_);
    gClient = nullptr;
    GuiTest::TearDown();
  }

  HWND NewChild(const char* title, DWORD style = 0) {
    MDICREATESTRUCT mcs{"MdiTestChild", title, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT,  style, 0};
    return reinterpret_cast<HWND>(
        SendMessage(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  /* The client's children as the shell walks them. */
  std::vector<HWND> ChildWalk() const {
    std::vector<HWND> walk;
    for (HWND h = GetWindow(gClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) walk.push_back(h);
    return walk;
  }
  HWND Active(BOOL* maximized = nullptr) const {
    return reinterpret_cast<HWND>(
        SendMessage(gClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
  std::string FrameTitle() const {
    char text[128];
    GetWindowText(frame_, text, sizeof text);
    return text;
  }
  QMenuBar* FrameMenuBar() const {
    WindowPtr window = FindWindowObject(frame_);
    return window && window->frame ? window->frame->findChild<QMenuBar*>() : nullptr;
  }
  std::vector<std::string> WindowMenuTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(windowMenu_); ++i) {
      char text[64] = "";
      GetMenuString(windowMenu_, i, text, sizeof text, MF_BYPOSITION);
      texts.push_back(GetMenuState(windowMenu_, i, MF_BYPOSITION) & MF_SEPARATOR ? "-" : text);
    }
    return texts;
  }

  HWND frame_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU windowMenu_ = nullptr;
};

TEST_F(MdiTest, ChildListKeepsCreationOrderWhileActivationMoves) {
  HWND a = NewChild("1001"), b = NewChild("1002"), c = NewChild("1003");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, b, c}));
  EXPECT_EQ(Active(), c);
  EXPECT_TRUE(IsWindowVisible(a) && IsWindowVisible(c));

  gActivations.clear();
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, b, c})) << "activation must not reorder the list";
  ASSERT_EQ(gActivations.size(), 2u);
  EXPECT_EQ(gActivations[0].first, c);  // the deactivated child hears first
  EXPECT_EQ(gActivations[1].first, a);
  EXPECT_EQ(gActivations[1].second, std::make_pair(c, a));

  // Raising a child directly (as a click or the framework may) keeps the walk too.
  BringWindowToTop(b);
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, b, c}));

  // The ring the shell walks from the active child reaches every child once.
  SendMessage(gClient, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), b);
  SendMessage(gClient, WM_MDINEXT, 0, 1);
  EXPECT_EQ(Active(), a);
  SendMessage(gClient, WM_MDINEXT, 0, 1);
  EXPECT_EQ(Active(), c) << "backwards from the first wraps to the last";
}

TEST_F(MdiTest, ChildSeesItsCreateStructAndIdsFollowTheList) {
  static MDICREATESTRUCT* seen = nullptr;
  struct Probe {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
      if (message == WM_CREATE)
        seen =
            static_cast<MDICREATESTRUCT*>(reinterpret_cast<CREATESTRUCT*>(lParam)->lpCreateParams);
      return DefMDIChildProc(hwnd, message, wParam, lParam);
    }
  };
  WNDCLASS wc{};
  wc.lpfnWndProc = Probe::Proc;
  wc.lpszClassName = "MdiProbeChild";
  RegisterClass(&wc);
  MDICREATESTRUCT mcs{"MdiProbeChild", "probe", nullptr, 5, 6, 200, 100, 0, 77};
  HWND child =
      reinterpret_cast<HWND>(SendMessage(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_TRUE(child);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->lParam, 77);
  EXPECT_EQ(GetDlgCtrlID(child), static_cast<int>(kFirstChildId));
  HWND second = NewChild("second");
  EXPECT_EQ(GetDlgCtrlID(second), static_cast<int>(kFirstChildId + 1));
  SendMessage(gClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  EXPECT_EQ(GetDlgCtrlID(second), static_cast<int>(kFirstChildId)) << "ids close up";
  UnregisterClass("MdiProbeChild", nullptr);

  MDICREATESTRUCT unknown{"NoSuchClass", "x", nullptr, 0, 0, 10, 10, 0, 0};
  EXPECT_EQ(SendMessage(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&unknown)), 0);
  EXPECT_EQ(SendMessage(gClient, WM_MDICREATE, 0, 0), 0);
  EXPECT_EQ(ChildWalk().size(), 1u);

  // A child asked for minimized opens so; the client shows no scroll bars.
  HWND icon = NewChild("icon", WS_MINIMIZE);
  EXPECT_TRUE(IsIconic(icon));
  RECT client, frameClient;
  GetClientRect(gClient, &client);
  GetClientRect(frame_, &frameClient);
  EXPECT_EQ(client.right, frameClient.right);
  EXPECT_EQ(client.bottom, frameClient.bottom);
}

TEST_F(MdiTest, CascadeAndTilePlaceChildrenInCreationOrder) {
  HWND a = NewChild("A"), b = NewChild("B"), c = NewChild("C");
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_TRUE(SendMessage(gClient, WM_MDICASCADE, 0, 0));
  RECT ra, rb, rc;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  GetWindowRect(c, &rc);
  EXPECT_LT(ra.left, rb.left);
  EXPECT_LT(rb.left, rc.left);
  EXPECT_LT(ra.top, rb.top);
  EXPECT_EQ(Active(), b) << "cascading keeps the active child";
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, b, c}));

  RECT area;
  GetClientRect(gClient, &area);
  EXPECT_TRUE(SendMessage(gClient, WM_MDITILE, MDITILE_HORIZONTAL, 0));
  int covered = 0;
  for (HWND h : {a, b, c}) {
    RECT r;
    GetWindowRect(h, &r);
    covered += (r.right - r.left) * (r.bottom - r.top);
  }
  EXPECT_EQ(covered, area.right * area.bottom) << "tiles cover the client without overlap";
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, b, c}));

  ShowWindow(c, SW_MINIMIZE);
  EXPECT_TRUE(SendMessage(gClient, WM_MDIICONARRANGE, 0, 0));
  RECT icon;
  GetWindowRect(c, &icon);
  POINT corner{icon.left, icon.bottom};
  ScreenToClient(gClient, &corner);
  EXPECT_EQ(corner.x, 0);
  EXPECT_EQ(corner.y, area.bottom);
}

TEST_F(MdiTest, MaximizedChildNamesItselfInTheFrameTitle) {
  HWND a = NewChild("1001");
  HWND b = NewChild("1002");
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
  BOOL maximized = FALSE;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(FrameTitle(), "Zarne - [1002]");
  RECT child, area;
  GetClientRect(b, &child);
  GetClientRect(gClient, &area);
  EXPECT_EQ(child.right, area.right);
  EXPECT_EQ(child.bottom, area.bottom);

  // Activating another carries the maximized state over.
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(FrameTitle(), "Zarne - [1001]");

  // A new child opens maximized while the active one is, and a renamed child shows.
  HWND c = NewChild("1003");
  EXPECT_TRUE(IsZoomed(c));
  EXPECT_EQ(FrameTitle(), "Zarne - [1003]");
  SetWindowText(c, "1003X");
  EXPECT_EQ(FrameTitle(), "Zarne - [1003X]");
  EXPECT_EQ(FrameTitle().rfind("Zarne - [", 0), 0u);

  // The hidden caption's buttons sit at the end of the frame's menu bar.
  QMenuBar* bar = FrameMenuBar();
  ASSERT_TRUE(bar);
  ASSERT_TRUE(bar->cornerWidget(Qt::TopRightCorner));
  QList<QToolButton*> buttons = bar->cornerWidget(Qt::TopRightCorner)->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 3);
  buttons[1]->click();  // restore
  ProcessPendingMessages();
  EXPECT_FALSE(IsZoomed(c));
  EXPECT_EQ(FrameTitle(), "Zarne");
  QWidget* corner = bar->cornerWidget(Qt::TopRightCorner);
  EXPECT_TRUE(!corner || corner->isHidden());
  // The frame's own title changes while nothing is maximized are kept.
  SetWindowText(frame_, "Zarne 2");
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
  EXPECT_EQ(FrameTitle(), "Zarne 2 - [1003X]");

  // The buttons shown again act on the child maximized now, not on one maximized before.
  SendMessage(gClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(c), 0);
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
  ASSERT_TRUE(IsZoomed(a));
  corner = bar->cornerWidget(Qt::TopRightCorner);
  ASSERT_TRUE(corner);
  EXPECT_FALSE(corner->isHidden());
  buttons = corner->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 3);
  buttons[1]->click();  // restore
  ProcessPendingMessages();
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(c));
  EXPECT_EQ(FrameTitle(), "Zarne 2");
  EXPECT_TRUE(corner->isHidden());
}

TEST_F(MdiTest, RestoreMessageGivesTheChildItsPlaceAndTheFrameItsTitle) {
  HWND a = NewChild("1001");
  HWND b = NewChild("1002");
  RECT before;
  GetWindowRect(b, &before);
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
  ASSERT_TRUE(IsZoomed(b));
  SendMessage(gClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_FALSE(IsZoomed(b));
  RECT after;
  GetWindowRect(b, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  BOOL maximized = TRUE;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_FALSE(maximized);
  EXPECT_EQ(FrameTitle(), "Zarne");
  // A restore for a window the client does not hold changes nothing.
  SendMessage(gClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(frame_), 0);
  EXPECT_TRUE(IsWindow(a));
  EXPECT_FALSE(IsZoomed(frame_));
}

TEST_F(MdiTest, ClosingActivatesTheMostRecentOtherChild) {
  HWND a = NewChild("A"), b = NewChild("B"), c = NewChild("C");
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
  // Closing the maximized active child: the previous active one (C) follows, maximized.
  SendMessage(a, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(a));
  BOOL maximized = FALSE;
  EXPECT_EQ(Active(&maximized), c);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(FrameTitle(), "Zarne - [C]");
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{b, c}));
  EXPECT_EQ(ChildWalk().front(), b) << "the earliest still open comes first";

  // A child destroyed directly, not through the client, leaves the lists as well.
  DestroyWindow(c);
  EXPECT_EQ(Active(), b);
  EXPECT_EQ(FrameTitle(), "Zarne - [B]");
  SendMessage(gClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(FrameTitle(), "Zarne");
  EXPECT_TRUE(ChildWalk().empty());

  // Messages about windows that are not children change nothing.
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame_), 0);
  SendMessage(gClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame_), 0);
  EXPECT_TRUE(IsWindow(frame_));
  EXPECT_EQ(Active(), nullptr);
}

TEST_F(MdiTest, WindowMenuListsChildrenAndActivatesTheChosenOne) {
  HWND a = NewChild("1001");
  HWND b = NewChild("1002");
  EXPECT_EQ(WindowMenuTexts(),
            (std::vector<std::string>{"&Cascade", "&Tile", "-", "&1 1001", "&2 1002"}));
  EXPECT_EQ(GetMenuState(windowMenu_, kFirstChildId + 1, MF_BYCOMMAND) & MF_CHECKED,
            UINT(MF_CHECKED));
  EXPECT_EQ(GetMenuState(windowMenu_, kFirstChildId, MF_BYCOMMAND) & MF_CHECKED, 0u);

  EXPECT_TRUE(ChooseMenuBarCommand(frame_, kFirstChildId));
  ProcessPendingMessages();
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(GetMenuState(windowMenu_, kFirstChildId, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));

  DestroyWindow(a);
  EXPECT_EQ(WindowMenuTexts(), (std::vector<std::string>{"&Cascade", "&Tile", "-", "&1 1002"}));
  DestroyWindow(b);
  EXPECT_EQ(WindowMenuTexts(), (std::vector<std::string>{"&Cascade", "&Tile"}));
}

TEST_F(MdiTest, ControlF4AndControlF6ThroughTheProgramLoop) {
  HWND a = NewChild("A"), b = NewChild("B"), c = NewChild("C");
  SetActiveWindow(frame_);
  SendMessage(gClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b), 0);
  SetFocus(b);
  auto loop = [](MSG& msg) { return TranslateMDISysAccel(gClient, &msg) != FALSE; };

  QueueKeyPress(VK_F6, Qt::ControlModifier);
  RunApplicationLoop(loop);
  EXPECT_EQ(Active(), c);
  QueueKeyPress(VK_F6, Qt::ControlModifier | Qt::ShiftModifier);
  RunApplicationLoop(loop);
  EXPECT_EQ(Active(), b);

  QueueKeyPress(VK_F4, Qt::ControlModifier);
  RunApplicationLoop(loop);
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(ChildWalk(), (std::vector<HWND>{a, c}));

  QueueKeyPress(VK_F4);  // without Ctrl it is not the MDI's
  RunApplicationLoop(loop);
  EXPECT_EQ(ChildWalk().size(), 2u);
}

TEST_F(MdiTest, ClickOnAnInactiveChildActivatesIt) {
  HWND a = NewChild("A");
  NewChild("B");
  SendMessage(gClient, WM_MDITILE, MDITILE_VERTICAL, 0);
  EnableWindow(frame_, FALSE);  // as under a modal dialog
  Click(a, 5, 5);
  EXPECT_NE(Active(), a);
  EnableWindow(frame_, TRUE);
  Click(a, 5, 5);
  EXPECT_EQ(Active(), a);
}

TEST_F(MdiTest, SetMenuMovesTheChildListToTheNewWindowMenu) {
  HWND a = NewChild("1001");
  HMENU newBar = CreateMenu();
  HMENU newWindowMenu = CreatePopupMenu();
  AppendMenu(newWindowMenu, MF_STRING, 24365, "C&lose All");
  AppendMenu(newBar, MF_POPUP, reinterpret_cast<UINT_PTR>(newWindowMenu), "&Window");
  HMENU previous =
      reinterpret_cast<HMENU>(SendMessage(gClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(newBar),
                                          reinterpret_cast<LPARAM>(newWindowMenu)));
  EXPECT_EQ(previous, menu_);
  EXPECT_EQ(GetMenu(frame_), newBar);
  EXPECT_EQ(WindowMenuTexts(), (std::vector<std::string>{"&Cascade", "&Tile"}));
  EXPECT_EQ(GetMenuItemCount(newWindowMenu), 3);
  EXPECT_EQ(GetMenuItemID(newWindowMenu, 2), kFirstChildId);
  DestroyWindow(a);
  EXPECT_EQ(GetMenuItemCount(newWindowMenu), 1);
  SetMenu(frame_, menu_);
  DestroyMenu(newBar);
}

TEST_F(MdiTest, ScreenshotOfAFrameWithMenuBarAndCascadedChildren) {
  for (const char* title : {"1001", "1002", "1003"}) NewChild(title);
  SendMessage(gClient, WM_MDICASCADE, 0, 0);
  ProcessPendingMessages();
  // Into the working directory: the build directory when CTest runs it.
  ASSERT_TRUE(SaveWindowScreenshot(frame_, "mdi_frame.png"));
  QImage shot = GrabWindow(frame_);
  RECT client;
  GetClientRect(frame_, &client);
  EXPECT_EQ(shot.width(), client.right);
  EXPECT_EQ(shot.height(), client.bottom + GetSystemMetrics(SM_CYMENU))
      << "the menu bar is in the picture";
  SendMessage(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(Active()), 0);
  ProcessPendingMessages();
  ASSERT_TRUE(SaveWindowScreenshot(frame_, "mdi_frame_maximized.png"));
}

}  // namespace
