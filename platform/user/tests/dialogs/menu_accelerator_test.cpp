/*
** Menu tests: menus loaded from compiled resources and built in code, item calls and their
** failure answers, a window's menu bar (non-client strip, Qt bar, WM_INITMENU and
** WM_INITMENUPOPUP before a pop-up shows, WM_COMMAND from a chosen item), tracked pop-up
** menus, and accelerators reaching WM_COMMAND from real key input through the program loop.
*/
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/menu_test_support.h"
#include "platform/user/winuser.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <string>
#include <vector>

namespace {

constexpr WORD kMainMenu = 700;
constexpr WORD kMainAccelerators = 700;
constexpr WORD kContextMenu = 701;

struct Heard {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Heard> gHeard;
HMENU gGrayOnInit = nullptr;  // WM_INITMENUPOPUP grays item gGrayId in this pop-up
UINT gGrayId = 24339;

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_INITMENU || message == WM_INITMENUPOPUP)
    gHeard.push_back({message, wParam, lParam});
  if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == gGrayOnInit)
    EnableMenuItem(gGrayOnInit, gGrayId, MF_BYCOMMAND | MF_GRAYED);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

class MenuTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gHeard.clear();
    gGrayOnInit = nullptr;
    gGrayId = 24339;
    static bool registered = false;
    if (!registered) {
      WNDCLASS wc{};
      wc.lpfnWndProc = MenuWindowProc;
      wc.lpszClassName = "MenuTestWindow";
      RegisterClass(&wc);
      registered = true;
    }
    hwnd_ = CreateWindow("MenuTestWindow", "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                         300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hwnd_);
  }
  void TearDown() override {
    SetPopupMenuChooser(nullptr);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    GuiTest::TearDown();
  }
  std::vector<UINT> Commands(WORD source) const {
    std::vector<UINT> ids;
    for (const Heard& h : gHeard)
      if (h.message == WM_COMMAND && HIWORD(h.wParam) == source) ids.push_back(LOWORD(h.wParam));
    return ids;
  }
  std::string Text(HMENU menu, UINT item, UINT flags) const {
    char text[64] = "";
    GetMenuString(menu, item, text, sizeof text, flags);
    return text;
  }
  QMenuBar* QtBar() const {
    WindowPtr window = FindWindowObject(hwnd_);
    return window && window->frame ? window->frame->findChild<QMenuBar*>() : nullptr;
  }

  HWND hwnd_ = nullptr;
};

TEST_F(MenuTest, LoadMenuBuildsTheCompiledTree) {
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  ASSERT_TRUE(menu);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(Text(menu, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(GetMenuItemID(menu, 0), UINT(-1)) << "a pop-up has no id";
  EXPECT_EQ(GetMenuItemID(menu, 2), 2001u);
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_TRUE(file);
  EXPECT_EQ(GetMenuItemCount(file), 7);
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), UINT(MF_POPUP | (7 << 8)));
  EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(file, 3), 0u);
  EXPECT_EQ(Text(file, 24310, MF_BYCOMMAND), "E&xit\tAlt+F4");
  // MF_BYCOMMAND finds items inside nested pop-ups.
  EXPECT_EQ(GetMenuState(menu, 14, MF_BYCOMMAND), UINT(MF_GRAYED));
  EXPECT_EQ(GetMenuState(menu, 5, MF_BYCOMMAND), UINT(MF_CHECKED));
  EXPECT_EQ(Text(menu, 3, MF_BYCOMMAND), "&HUD-1...");
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(file)) << "destroying a menu destroys its pop-ups";

  EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCE(799)), nullptr);
}

TEST_F(MenuTest, ItemCallsAnswerPreviousStatesAndRefuseBadItems) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  EXPECT_TRUE(AppendMenu(popup, MF_STRING, 10, "&One"));
  EXPECT_TRUE(AppendMenu(popup, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenu(popup, MF_STRING, 30, "&Three"));
  EXPECT_TRUE(InsertMenu(popup, 30, MF_BYCOMMAND | MF_STRING, 20, "&Two"));
  EXPECT_TRUE(InsertMenu(popup, UINT(-1), MF_BYPOSITION | MF_STRING, 40, "&Four"));
  EXPECT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Edit"));
  EXPECT_EQ(GetMenuItemID(popup, 2), 20u);
  EXPECT_FALSE(AppendMenu(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "cycle"))
      << "no menu holds itself";
  EXPECT_FALSE(AppendMenu(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "self"));
  EXPECT_EQ(GetMenuItemID(popup, 4), 40u);

  EXPECT_EQ(EnableMenuItem(bar, 20, MF_BYCOMMAND | MF_GRAYED), UINT(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(bar, 20, MF_BYCOMMAND | MF_ENABLED), UINT(MF_GRAYED));
  EXPECT_EQ(CheckMenuItem(popup, 0, MF_BYPOSITION | MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(popup, 10, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(popup, 99, MF_BYCOMMAND), UINT(-1));
  EXPECT_EQ(CheckMenuItem(popup, 9, MF_BYPOSITION), DWORD(-1));
  EXPECT_EQ(GetMenuState(popup, 99, MF_BYCOMMAND), UINT(-1));
  EXPECT_EQ(GetMenuItemID(popup, 9), UINT(-1));
  EXPECT_EQ(GetSubMenu(bar, 3), nullptr);

  EXPECT_TRUE(ModifyMenu(popup, 30, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 31, "T&hree"));
  EXPECT_EQ(Text(popup, 31, MF_BYCOMMAND), "T&hree");
  EXPECT_EQ(GetMenuState(popup, 31, MF_BYCOMMAND), UINT(MF_GRAYED));
  EXPECT_FALSE(ModifyMenu(popup, 30, MF_BYCOMMAND, 32, "gone"));

  EXPECT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(popup)) << "RemoveMenu leaves the pop-up to its owner";
  EXPECT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Edit"));
  EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(popup)) << "DeleteMenu destroys it";
  EXPECT_FALSE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "stale"));
  EXPECT_EQ(GetMenuItemCount(bar), 0);
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(DestroyMenu(bar));
  EXPECT_EQ(GetMenuItemCount(bar), -1);
}

TEST_F(MenuTest, MenuBarTakesAStripAboveTheClientArea) {
  RECT before, after;
  GetClientRect(hwnd_, &before);
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  EXPECT_TRUE(SetMenu(hwnd_, menu));
  EXPECT_EQ(GetMenu(hwnd_), menu);
  GetClientRect(hwnd_, &after);
  EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(before.right, after.right);
  ASSERT_TRUE(QtBar());
  EXPECT_EQ(QtBar()->actions().size(), 3);
  EXPECT_EQ(QtBar()->height(), GetSystemMetrics(SM_CYMENU));

  // A window made with a menu has its bar from the start.
  HWND second =
      CreateWindow("MenuTestWindow", "Second", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                   LoadMenu(nullptr, MAKEINTRESOURCE(kContextMenu)), nullptr, nullptr);
  RECT secondClient;
  GetClientRect(second, &secondClient);
  EXPECT_EQ(secondClient.bottom, after.bottom);
  EXPECT_TRUE(GetMenu(second));
  DestroyWindow(second);

  EXPECT_TRUE(SetMenu(hwnd_, nullptr));
  GetClientRect(hwnd_, &after);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_TRUE(IsMenu(menu)) << "SetMenu does not destroy the menu it replaces";
  DestroyMenu(menu);
  HWND child =
      CreateWindow("MenuTestWindow", "", WS_CHILD, 0, 0, 10, 10, hwnd_, nullptr, nullptr, nullptr);
  EXPECT_FALSE(SetMenu(child, CreateMenu())) << "child windows have no menu bar";
}

/* A bar nobody points at is copied from an image drawn once: its pixels must be the ones Qt's
   own bar paints for the same titles, enabled, grayed and with the whole frame disabled, and
   enabled again as after a modal dialog (the bar keeps its layout through both changes). */
TEST_F(MenuTest, ABarAtRestPaintsAsQtsOwnBar) {
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  ASSERT_TRUE(SetMenu(hwnd_, menu));
  EnableMenuItem(menu, 1, MF_BYPOSITION | MF_GRAYED);
  QMenuBar* bar = QtBar();
  ASSERT_TRUE(bar);
  QMenuBar reference;
  reference.setNativeMenuBar(false);
  reference.setPalette(bar->palette());
  reference.setFont(bar->font());
  for (QAction* action : bar->actions()) {
    QMenu* popup = reference.addMenu(action->text());
    popup->setEnabled(action->isEnabled());
  }
  reference.resize(bar->size());
  ASSERT_EQ(reference.actions().size(), 3);
  EXPECT_FALSE(reference.actions()[1]->isEnabled());
  for (BOOL enabled : {TRUE, FALSE, TRUE}) {
    EnableWindow(hwnd_, enabled);
    reference.setEnabled(enabled);
    ASSERT_EQ(bar->isEnabled(), enabled != FALSE);
    for (int paint = 0; paint < 2; ++paint) {  // drawn, then copied
      QImage shown = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
      QImage expected = reference.grab().toImage().convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(shown, expected) << "enabled " << enabled << ", paint " << paint;
    }
  }
  EnableWindow(hwnd_, TRUE);
  SetMenu(hwnd_, nullptr);
  DestroyMenu(menu);
}

TEST_F(MenuTest, OpeningABarPopupAsksTheWindowAndChoosingPostsTheCommand) {
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  SetMenu(hwnd_, menu);
  HMENU file = GetSubMenu(menu, 0);
  gGrayOnInit = file;
  QMenu* fileMenu = QtBar()->actions().at(0)->menu();
  ASSERT_TRUE(fileMenu);
  emit fileMenu->aboutToShow();  // what Qt does when the user opens "File"
  ASSERT_GE(gHeard.size(), 2u);
  EXPECT_EQ(gHeard[0].message, UINT(WM_INITMENU));
  EXPECT_EQ(reinterpret_cast<HMENU>(gHeard[0].wParam), menu);
  EXPECT_EQ(gHeard[1].message, UINT(WM_INITMENUPOPUP));
  EXPECT_EQ(reinterpret_cast<HMENU>(gHeard[1].wParam), file);
  EXPECT_EQ(LOWORD(gHeard[1].lParam), 0);

  // The Qt menu shows what the handler set, and its enabled items post WM_COMMAND.
  QList<QAction*> actions = fileMenu->actions();
  ASSERT_EQ(actions.size(), 7);
  EXPECT_EQ(actions[0]->text(), "&New");
  EXPECT_FALSE(actions[2]->isEnabled()) << "Close was grayed by WM_INITMENUPOPUP";
  EXPECT_TRUE(actions[3]->isSeparator());
  actions[1]->trigger();
  EXPECT_TRUE(Commands(0).empty()) << "menu commands are posted";
  ProcessPendingMessages();
  EXPECT_EQ(Commands(0), (std::vector<UINT>{24332}));

  // A command on the bar itself, and the same choice made through the helper.
  QtBar()->actions().at(2)->trigger();
  ProcessPendingMessages();
  EXPECT_EQ(Commands(0), (std::vector<UINT>{24332, 2001}));
  EXPECT_FALSE(ChooseMenuBarCommand(hwnd_, 14)) << "grayed in the resource";
  EXPECT_FALSE(ChooseMenuBarCommand(hwnd_, 24339)) << "grayed by the handler";
  EXPECT_TRUE(ChooseMenuBarCommand(hwnd_, 3));
  ProcessPendingMessages();
  EXPECT_EQ(Commands(0).back(), 3u);
}

TEST_F(MenuTest, TrackPopupMenuPostsOrAnswersTheChoice) {
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kContextMenu));
  HMENU context = GetSubMenu(menu, 0);
  HMENU seenMenu = nullptr;
  POINT seenAt{};
  SetPopupMenuChooser([&](HMENU m, int x, int y, HWND) {
    seenMenu = m;
    seenAt = {x, y};
    return 24323u;
  });
  EXPECT_TRUE(TrackPopupMenu(context, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 120, 80, 0, hwnd_, nullptr));
  EXPECT_EQ(seenMenu, context);
  EXPECT_EQ(seenAt.x, 120);
  ASSERT_FALSE(gHeard.empty());
  EXPECT_EQ(gHeard[0].message, UINT(WM_INITMENUPOPUP));
  ProcessPendingMessages();
  EXPECT_EQ(Commands(0), (std::vector<UINT>{24323}));

  EXPECT_EQ(TrackPopupMenu(context, TPM_RETURNCMD, 0, 0, 0, hwnd_, nullptr), 24323);
  SetPopupMenuChooser([](HMENU, int, int, HWND) { return 24324u; });  // grayed: not chosen
  EXPECT_EQ(TrackPopupMenu(context, TPM_RETURNCMD, 0, 0, 0, hwnd_, nullptr), 0);
  ProcessPendingMessages();
  EXPECT_EQ(Commands(0).size(), 1u);
  EXPECT_FALSE(TrackPopupMenu(nullptr, 0, 0, 0, 0, hwnd_, nullptr));
  EXPECT_FALSE(TrackPopupMenu(context, 0, 0, 0, 0, nullptr, nullptr));
  DestroyMenu(menu);
}

TEST_F(MenuTest, AcceleratorsTurnRealKeysIntoCommands) {
  HACCEL table = LoadAccelerators(nullptr, MAKEINTRESOURCE(kMainAccelerators));
  ASSERT_TRUE(table);
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  SetMenu(hwnd_, menu);
  SetActiveWindow(hwnd_);
  SetFocus(hwnd_);
  std::vector<UINT> typed;
  auto loop = [&](MSG& msg) {
    if (msg.message == WM_CHAR) typed.push_back(static_cast<UINT>(msg.wParam));
    return TranslateAccelerator(hwnd_, table, &msg) != 0;
  };

  QueueKeyPress('B', Qt::ControlModifier);
  QueueKeyPress(VK_DELETE, Qt::ShiftModifier);
  QueueKeyPress(VK_INSERT, Qt::ControlModifier);
  RunApplicationLoop(loop);
  EXPECT_EQ(Commands(1), (std::vector<UINT>{4, 24322, 24323}));
  EXPECT_TRUE(typed.empty()) << "a translated key makes no character";

  QueueKeyPress('B');  // without Ctrl: just a character
  QueueKeyPress(VK_DELETE, Qt::ShiftModifier | Qt::ControlModifier);  // not exactly Shift
  RunApplicationLoop(loop);
  EXPECT_EQ(Commands(1).size(), 3u);

  QueueKeyPress('Y');  // the character entry "y" matches the typed character
  RunApplicationLoop(loop);
  EXPECT_EQ(Commands(1).back(), 9u);

  // A command whose menu item is grayed is swallowed: no WM_COMMAND, the key is used up.
  gHeard.clear();
  QueueKeyPress(VK_F4, Qt::ControlModifier);
  RunApplicationLoop(loop);
  EXPECT_TRUE(Commands(1).empty());
  // The window prepares its menus first, as if opening them; what its handler grays then
  // (Sellers, Ctrl+S) is swallowed although it was enabled before.
  gGrayOnInit = GetSubMenu(menu, 1);
  gGrayId = 5;
  gHeard.clear();
  QueueKeyPress('B', Qt::ControlModifier);  // Buyers: in "Parties", prepared on its way
  RunApplicationLoop(loop);
  ASSERT_GE(gHeard.size(), 3u);
  EXPECT_EQ(gHeard[0].message, UINT(WM_INITMENU));
  EXPECT_EQ(gHeard[1].message, UINT(WM_INITMENUPOPUP));
  EXPECT_EQ(reinterpret_cast<HMENU>(gHeard[1].wParam), GetSubMenu(menu, 1));
  EXPECT_EQ(Commands(1), (std::vector<UINT>{4}));
  QueueKeyPress('S', Qt::ControlModifier);
  RunApplicationLoop(loop);
  EXPECT_EQ(Commands(1), (std::vector<UINT>{4}));

  MSG none{hwnd_, WM_KEYDOWN, 'B', 0, 0, {}};
  EXPECT_EQ(TranslateAccelerator(hwnd_, nullptr, &none), 0);
  EXPECT_EQ(TranslateAccelerator(nullptr, table, &none), 0);
  EXPECT_EQ(TranslateAccelerator(hwnd_, table, nullptr), 0);
  EXPECT_EQ(LoadAccelerators(nullptr, MAKEINTRESOURCE(799)), nullptr);
}

TEST_F(MenuTest, AltAndALetterOpensTheMarkedMenu) {
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(kMainMenu));
  SetMenu(hwnd_, menu);
  SetActiveWindow(hwnd_);
  HWND child = CreateWindow("MenuTestWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, hwnd_,
                            nullptr, nullptr, nullptr);
  SetFocus(child);  // typed in a child: the top-level window's bar answers
  PressKey('P', Qt::AltModifier);
  QAction* parties = QtBar()->actions().at(1);
  EXPECT_EQ(QtBar()->activeAction(), parties);
  bool initPopup = false;
  for (const Heard& h : gHeard)
    if (h.message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(h.wParam) == GetSubMenu(menu, 1))
      initPopup = true;
  EXPECT_TRUE(initPopup) << "opening by key asks the window first, as a click does";
  parties->menu()->hide();

  PressKey('H', Qt::AltModifier);  // "&Help" is a command on the bar itself
  EXPECT_EQ(Commands(0), (std::vector<UINT>{2001}));
  PressKey('Q', Qt::AltModifier);  // no such mnemonic: nothing happens
  EXPECT_EQ(Commands(0).size(), 1u);
}

}  // namespace
