/*
** The button and static classes: check and radio states by message, mouse and key,
** notifications in order, owner drawing with its states, the parent's control colours, and
** statics' pictures, notifications and outlines.
*/
#include "platform/testing/dialog_driver.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/modules.h"
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/dialog_ids.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"
#include "platform/user/winuser.h"

#include <vector>

namespace {

struct Notice {
  int id;
  int code;
};

std::vector<Notice> gNotices;
std::vector<DRAWITEMSTRUCT> gDrawn;
HBRUSH gStaticBrush = nullptr;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: gNotices.push_back({LOWORD(wParam), HIWORD(wParam)}); return TRUE;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      gDrawn.push_back(*item);
      FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SetWindowLong(dialog, DWL_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (!gStaticBrush) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
      return reinterpret_cast<INT_PTR>(gStaticBrush);
    default: return FALSE;
  }
}

class ButtonsAndStatics : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gNotices.clear();
    gDrawn.clear();
    gStaticBrush = nullptr;
    dialog = CreateWindow(DIALOG_CLASS_NAME, "Host", WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20,
                          400, 300, nullptr, nullptr, nullptr, nullptr);
    SetWindowLong(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
  }
  void TearDown() override {
    if (gStaticBrush) DeleteObject(gStaticBrush);
    gStaticBrush = nullptr;
    GuiTest::TearDown();
  }
  HWND Make(LPCSTR cls, LPCSTR text, DWORD style, int id, int x = 10, int y = 10, int w = 120,
            int h = 20) {
    return CreateWindow(cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  std::vector<int> CodesOf(int id) const {
    std::vector<int> codes;
    for (const Notice& n : gNotices)
      if (n.id == id) codes.push_back(n.code);
    return codes;
  }
  HWND dialog = nullptr;
};

TEST_F(ButtonsAndStatics, CheckBoxKindsKeepTheirStates) {
  HWND manual = Make("button", "Manual", BS_CHECKBOX, 1);
  HWND automatic = Make("button", "Auto", BS_AUTOCHECKBOX, 2, 10, 40);
  HWND three = Make("button", "Three", BS_AUTO3STATE, 3, 10, 70);
  HWND push = Make("button", "Push", BS_PUSHBUTTON, 4, 10, 100);

  SendMessage(manual, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED)
      << "only the parent checks a plain box";
  SendMessage(automatic, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessage(automatic, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(automatic, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  std::vector<LRESULT> cycle;
  for (int i = 0; i < 3; ++i) {
    SendMessage(three, BM_CLICK, 0, 0);
    cycle.push_back(SendMessage(three, BM_GETCHECK, 0, 0));
  }
  EXPECT_EQ(cycle, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
  SendMessage(automatic, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessage(automatic, BM_GETCHECK, 0, 0), BST_CHECKED)
      << "a two-state box has no third state";
  SendMessage(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(push, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(CodesOf(1), std::vector<int>{BN_CLICKED});
  EXPECT_EQ(CodesOf(2), (std::vector<int>{BN_CLICKED, BN_CLICKED}));
  EXPECT_EQ(CodesOf(3).size(), 3u);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 2), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(CheckDlgButton(dialog, 2, BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 2), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(CheckDlgButton(dialog, 99, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 99), 0u);
}

TEST_F(ButtonsAndStatics, AutoRadiosUncheckTheirGroupOnlyAndTakeTheTabStop) {
  HWND a = Make("button", "A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 11, 10, 10);
  HWND b = Make("button", "B", BS_AUTORADIOBUTTON | WS_TABSTOP, 12, 10, 40);
  HWND c = Make("button", "C", BS_AUTORADIOBUTTON | WS_TABSTOP, 13, 10, 70);
  HWND other =
      Make("button", "Other group", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 10, 100);
  SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(a, BM_SETCHECK, BST_CHECKED, 0);
  Click(b, 5, 5);  // the real mouse
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group is left alone";
  EXPECT_EQ(GetFocus(), b) << "a click takes the focus";
  EXPECT_TRUE(GetWindowLong(b, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLong(a, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(CodesOf(12), std::vector<int>{BN_CLICKED});
  EXPECT_TRUE(CheckRadioButton(dialog, 11, 13, 13));
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(CheckRadioButton(dialog, 13, 11, 12)) << "a reversed range";
}

TEST_F(ButtonsAndStatics, DoubleClicksAreReportedByRadiosAndPressedByPushButtons) {
  HWND radio = Make("button", "Radio", BS_AUTORADIOBUTTON, 91, 10, 10);
  HWND push = Make("button", "Push", BS_PUSHBUTTON, 92, 10, 40);
  DoubleClick(radio, 5, 5);
  DoubleClick(push, 5, 5);
  EXPECT_EQ(CodesOf(91), (std::vector<int>{BN_CLICKED, BN_DOUBLECLICKED}));
  EXPECT_EQ(CodesOf(92), (std::vector<int>{BN_CLICKED, BN_CLICKED}));
}

TEST_F(ButtonsAndStatics, PressAndReleaseRulesOfThePushButton) {
  HWND push = Make("button", "Push", BS_PUSHBUTTON, 21);
  MouseDown(push, 5, 5);
  EXPECT_EQ(SendMessage(push, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS),
            BST_PUSHED | BST_FOCUS);
  MouseMove(push, 300, 5, Qt::LeftButton);
  EXPECT_EQ(SendMessage(push, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "dragged off, it pops up";
  MouseUp(push, 300, 5);
  EXPECT_TRUE(CodesOf(21).empty()) << "released outside, no click";
  // Space presses it from the keyboard.
  PressKey(VK_SPACE);
  EXPECT_EQ(CodesOf(21), std::vector<int>{BN_CLICKED});
  // Disabled, nothing reaches the parent.
  EnableWindow(push, FALSE);
  SendMessage(push, BM_CLICK, 0, 0);
  EXPECT_EQ(CodesOf(21).size(), 1u);
  SendMessage(push, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessage(push, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  EXPECT_EQ(SendMessage(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SendMessage(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonsAndStatics, BitmapButtonShowsItsPicture) {
  HBITMAP picture = LoadBitmap(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDB_TINY));
  ASSERT_NE(picture, nullptr);
  HWND button = Make("button", "unused text", BS_PUSHBUTTON | BS_BITMAP, 81, 10, 10, 60, 40);
  EXPECT_EQ(SendMessage(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)), 0);
  EXPECT_EQ(SendMessage(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(picture));
  EXPECT_EQ(SendMessage(button, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, picture);
  COLORREF expected = GetPixel(memory, 1, 1);
  SelectObject(memory, old);
  DeleteDC(memory);
  // Centred in the face inside its two-pixel bevel.
  QColor shown = GrabWindow(button).pixelColor((2 + 58 - 2) / 2 + 1, (2 + 38 - 2) / 2 + 1);
  EXPECT_EQ(shown, QColor(GetRValue(expected), GetGValue(expected), GetBValue(expected)));
  DeleteObject(picture);
}

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

/* The custom-control library's button takes the bitmaps numbered after its id as its faces:
** up, pressed and focused; one without such bitmaps keeps a plain face with its text. */
TEST_F(ButtonsAndStatics, PictureButtonsShowTheFacesNumberedAfterTheirId) {
  HWND pictures = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PICTURE_BUTTONS), nullptr, QuietProc);
  ASSERT_NE(pictures, nullptr);
  HWND picture = GetDlgItem(pictures, IDC_PICTURE_BUTTON);
  HWND plain = GetDlgItem(pictures, IDC_PLAIN_BUTTON);
  SetFocus(plain);
  RECT r;
  GetClientRect(picture, &r);
  auto centre = [&](HWND button) {
    UpdateWindow(button);
    return GrabWindow(button).pixelColor(r.right / 2, r.bottom / 2);
  };
  EXPECT_EQ(centre(picture), QColor(200, 0, 0)) << "up face";
  SendMessage(picture, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(centre(picture), QColor(0, 160, 0)) << "pressed face";
  SendMessage(picture, BM_SETSTATE, FALSE, 0);
  SetFocus(picture);
  EXPECT_EQ(centre(picture), QColor(0, 0, 200)) << "focused face";
  QColor plainFace = centre(plain);
  EXPECT_NE(plainFace, QColor(200, 0, 0));
  EXPECT_NE(plainFace, QColor(0, 0, 200));
  DestroyWindow(pictures);
}

TEST_F(ButtonsAndStatics, OwnerDrawnButtonIsDrawnByItsParentWithItsStates) {
  HWND drawn = Make("button", "", BS_OWNERDRAW | WS_TABSTOP, 31, 10, 10, 60, 30);
  UpdateWindow(drawn);
  ASSERT_FALSE(gDrawn.empty());
  const DRAWITEMSTRUCT& first = gDrawn.back();
  EXPECT_EQ(first.CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(first.CtlID, 31u);
  EXPECT_EQ(first.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(first.hwndItem, drawn);
  EXPECT_EQ(first.rcItem.right, 60);
  EXPECT_EQ(first.rcItem.bottom, 30);
  gDrawn.clear();
  SetFocus(drawn);
  ASSERT_FALSE(gDrawn.empty());
  EXPECT_EQ(gDrawn.back().itemAction, static_cast<UINT>(ODA_FOCUS));
  EXPECT_EQ(gDrawn.back().itemState & ODS_FOCUS, static_cast<UINT>(ODS_FOCUS));
  gDrawn.clear();
  SendMessage(drawn, BM_SETSTATE, TRUE, 0);
  ASSERT_FALSE(gDrawn.empty());
  EXPECT_EQ(gDrawn.back().itemAction, static_cast<UINT>(ODA_SELECT));
  EXPECT_EQ(gDrawn.back().itemState & (ODS_SELECTED | ODS_FOCUS),
            static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
  gDrawn.clear();
  SetFocus(nullptr);
  ASSERT_FALSE(gDrawn.empty());
  EXPECT_EQ(gDrawn.back().itemState & ODS_FOCUS, 0u);
  // What the parent drew is what the button shows.
  EXPECT_EQ(GrabWindow(drawn).pixelColor(30, 15), QColor(Qt::black));
}

TEST_F(ButtonsAndStatics, ParentColoursAreHonouredWhenControlsPaint) {
  gStaticBrush = CreateSolidBrush(RGB(255, 0, 0));
  HWND text = Make("static", "Label", SS_LEFT, 41, 10, 10, 100, 20);
  HWND check = Make("button", "Check", BS_AUTOCHECKBOX, 42, 10, 40, 100, 20);
  HWND group = Make("button", "Group", BS_GROUPBOX, 43, 150, 10, 100, 80);
  QImage textImage = GrabWindow(text);
  EXPECT_EQ(textImage.pixelColor(95, 15), QColor(255, 0, 0))
      << "the parent's brush fills the static";
  bool blueText = false;
  for (int x = 0; x < 40 && !blueText; ++x)
    for (int y = 0; y < 20 && !blueText; ++y)
      blueText = textImage.pixelColor(x, y) == QColor(0, 0, 255);
  EXPECT_TRUE(blueText) << "the text colour the parent set is drawn with";
  EXPECT_EQ(GrabWindow(check).pixelColor(95, 10), QColor(255, 0, 0));
  EXPECT_EQ(GrabWindow(group).pixelColor(50, 2), QColor(255, 0, 0))
      << "behind the group's caption row";
}

TEST_F(ButtonsAndStatics, GroupBoxAndFramesLeaveWhatTheySurroundReachable) {
  HWND group = Make("button", "Role", BS_GROUPBOX, 51, 10, 10, 200, 120);
  HWND frame = Make("static", "", SS_ETCHEDFRAME, 52, 5, 5, 220, 140);
  HWND inside = Make("button", "Inside", BS_AUTOCHECKBOX, 53, 30, 40, 100, 20);
  Click(inside, 5, 10);
  EXPECT_EQ(SendMessage(inside, BM_GETCHECK, 0, 0), BST_CHECKED)
      << "the click reached the check box";
  EXPECT_EQ(SendMessage(group, WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
  EXPECT_EQ(SendMessage(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  EXPECT_EQ(SendMessage(frame, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  // Only the outlines show: inside them the controls below are not covered.
  WindowPtr groupWindow = FindWindowObject(group), frameWindow = FindWindowObject(frame);
  ASSERT_TRUE(groupWindow && groupWindow->frame && frameWindow && frameWindow->frame);
  EXPECT_FALSE(groupWindow->frame->mask().contains(QPoint(60, 60)));
  EXPECT_TRUE(groupWindow->frame->mask().contains(QPoint(0, 60)));
  EXPECT_TRUE(groupWindow->frame->mask().contains(QPoint(12, 2))) << "the caption shows";
  EXPECT_FALSE(frameWindow->frame->mask().contains(QPoint(60, 60)));
  EXPECT_TRUE(frameWindow->frame->mask().contains(QPoint(219, 70)));
}

TEST_F(ButtonsAndStatics, StaticPicturesAndNotifications) {
  HWND bitmap = CreateWindow("static", MAKEINTRESOURCE(IDB_TINY), WS_CHILD | WS_VISIBLE | SS_BITMAP,
                             10, 10, 100, 100, dialog, reinterpret_cast<HMENU>(61),
                             GetModuleHandle(nullptr), nullptr);
  ASSERT_NE(bitmap, nullptr);
  HBITMAP loaded = reinterpret_cast<HBITMAP>(SendMessage(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(loaded, nullptr);
  BITMAP info{};
  GetObject(loaded, sizeof info, &info);
  RECT r;
  GetClientRect(bitmap, &r);
  EXPECT_EQ(r.right, info.bmWidth) << "a picture static takes its picture's size";
  EXPECT_EQ(r.bottom, info.bmHeight);
  HWND icon =
      CreateWindow("static", MAKEINTRESOURCE(IDI_TINY), WS_CHILD | WS_VISIBLE | SS_ICON, 10, 120, 5,
                   5, dialog, reinterpret_cast<HMENU>(62), GetModuleHandle(nullptr), nullptr);
  EXPECT_NE(SendMessage(icon, STM_GETICON, 0, 0), 0);
  GetClientRect(icon, &r);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));
  LRESULT old = SendMessage(icon, STM_GETICON, 0, 0);
  EXPECT_EQ(SendMessage(icon, STM_SETICON, 0, 0), old) << "setting answers the icon it replaces";
  EXPECT_EQ(SendMessage(icon, STM_GETICON, 0, 0), 0);

  HWND quiet = Make("static", "Quiet", SS_LEFT, 63, 150, 10);
  HWND notify = Make("static", "Notify", SS_LEFT | SS_NOTIFY, 64, 150, 40);
  Click(quiet, 3, 3);
  SendMessage(notify, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessage(notify, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  EXPECT_TRUE(CodesOf(63).empty());
  EXPECT_EQ(CodesOf(64), (std::vector<int>{STN_CLICKED, STN_DBLCLK}));
  EXPECT_EQ(SendMessage(quiet, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(ButtonsAndStatics, StaticTextAlignmentAndPrefix) {
  auto inkColumns = [](HWND hwnd) {
    QImage image = GrabWindow(hwnd);
    int first = image.width(), last = -1;
    for (int x = 0; x < image.width(); ++x)
      for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(x, y)) < 100) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
    return std::make_pair(first, last);
  };
  HWND left = Make("static", "Amount", SS_LEFT, 71, 10, 10, 200, 20);
  HWND right = Make("static", "Amount", SS_RIGHT, 72, 10, 40, 200, 20);
  HWND centre = Make("static", "Amount", SS_CENTER, 73, 10, 70, 200, 20);
  auto l = inkColumns(left), r = inkColumns(right), c = inkColumns(centre);
  ASSERT_GE(l.second, 0);
  EXPECT_LT(l.first, 5);
  EXPECT_GT(r.second, 190);
  EXPECT_NEAR((c.first + c.second) / 2, 100, 6);
  // "&&" shows one ampersand; with SS_NOPREFIX both show, so the text is wider.
  HWND prefixed = Make("static", "A&&B", SS_LEFT, 74, 10, 100, 200, 20);
  HWND plain = Make("static", "A&&B", SS_LEFT | SS_NOPREFIX, 75, 10, 130, 200, 20);
  EXPECT_LT(inkColumns(prefixed).second, inkColumns(plain).second);
  // A sunken box's figure keeps clear of its edge: the outline on the last column, then at
  // least one column of background before the text.
  for (const char* figure : {"1,234,567.89", "-0.09"}) {
    HWND sunken = Make("static", figure, SS_RIGHT | SS_SUNKEN, 76, 10, 160, 108, 19);
    auto ink = inkColumns(sunken);
    ASSERT_GE(ink.second, 0) << figure;
    EXPECT_LE(ink.second, 108 - 3) << figure;
    EXPECT_GE(ink.second, 108 - 6) << figure << " is still right-aligned";
    DestroyWindow(sunken);
  }
}

}  // namespace
