/*
** Pop-up menus tracked for a window, and owner drawing handed from the parent's WM_DRAWITEM
** to the control object by what it asks for.
*/
#include "platform/framework/framework.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class TMenuView : public TWindow {
 public:
  TMenuView() : TWindow(nullptr, "Menu view") { Attr.Style = WS_POPUP | WS_VISIBLE; }
  void CmCalendar() { gLog.push_back("calendar"); }
  DECLARE_RESPONSE_TABLE(TMenuView);
};
DEFINE_RESPONSE_TABLE1(TMenuView, TWindow)
EV_COMMAND(901, CmCalendar), END_RESPONSE_TABLE;

class TDayButton : public TButton {
 public:
  TDayButton(TWindow* parent, int id) : TButton(parent, id, "1", 0, 0, 30, 20) {
    Attr.Style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
  }
  void ODADrawEntire(DRAWITEMSTRUCT& d) override {
    gLog.push_back("entire " + std::to_string(d.CtlID));
  }
  void ODAFocus(DRAWITEMSTRUCT&) override { gLog.push_back("focus"); }
};

class PopupOwnerDrawTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gLog.clear();
  }
};

TEST_F(PopupOwnerDrawTest, ChosenPopupCommandReachesTheOwner) {
  TMenuView view;
  ASSERT_TRUE(view.Create());
  std::vector<UINT> offered;
  PopupMenuChooser previous = SetPopupMenuChooser([&](HMENU menu, int, int, HWND owner) -> UINT {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) offered.push_back(GetMenuItemID(menu, i));
    EXPECT_EQ(owner, view.HWindow);
    return 901;
  });
  {
    TPopupMenu menu;
    menu.AppendMenu(MF_STRING, 901, "Calendar");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 4, "Buyers");
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(10, 10), view.HWindow);
  }
  ProcessPendingMessages();
  SetPopupMenuChooser(previous);
  EXPECT_EQ(offered, (std::vector<UINT>{901, 0, 4}));
  EXPECT_EQ(gLog, std::vector<std::string>{"calendar"});
}

TEST_F(PopupOwnerDrawTest, DrawItemReachesTheOwnerDrawnControl) {
  TMenuView view;
  auto* day = new TDayButton(&view, 101);
  ASSERT_TRUE(view.Create());
  ASSERT_NE(day->HWindow, nullptr);
  gLog.clear();
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_BUTTON;
  d.CtlID = 101;
  d.itemAction = ODA_DRAWENTIRE;
  d.hwndItem = day->HWindow;
  view.SendMessage(WM_DRAWITEM, 101, reinterpret_cast<LPARAM>(&d));
  d.itemAction = ODA_FOCUS;
  view.SendMessage(WM_DRAWITEM, 101, reinterpret_cast<LPARAM>(&d));
  EXPECT_EQ(gLog, (std::vector<std::string>{"entire 101", "focus"}));
}

}  // namespace
