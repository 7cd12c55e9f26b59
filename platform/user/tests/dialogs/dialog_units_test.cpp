/*
** Dialog units and template details: controls placed by the template font's units, the
** system units without a font, classes registered after start-up, the custom-control class
** names, the dialog procedure's result convention, and numbers in controls.
*/
#include "platform/gdi/gdi.h"
#include "platform/kernel/modules.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/dialog_ids.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kAskResult = WM_USER + 50;

INT_PTR CALLBACK PlainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case kAskResult: SetWindowLong(dialog, DWL_MSGRESULT, 42); return TRUE;
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default: return FALSE;
  }
}

/* The gallery draws its owner-drawn button and keeps the standard colours. */
INT_PTR CALLBACK GalleryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    HBRUSH fill =
        CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(0, 0, 128) : RGB(0, 128, 128));
    FillRect(item->hDC, &item->rcItem, fill);
    DeleteObject(fill);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, RGB(255, 255, 255));
    DrawText(item->hDC, "Owner drawn", -1, &item->rcItem, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
    return TRUE;
  }
  if (message == WM_CTLCOLORDLG) return FALSE;
  return PlainProc(dialog, message, wParam, lParam);
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassName(hwnd, name, sizeof name);
  return name;
}

std::vector<WPARAM> gGridKeys;

/* A grid-like control that keeps Tab and the arrows for itself. */
LRESULT CALLBACK LateGridProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_WANTARROWS | DLGC_WANTTAB;
  if (message == WM_KEYDOWN) gGridKeys.push_back(wParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

ATOM RegisterLateGrid() {
  WNDCLASS grid{};
  grid.style = CS_GLOBALCLASS;
  grid.lpfnWndProc = LateGridProc;
  grid.hInstance = reinterpret_cast<HINSTANCE>(0x1234);
  grid.lpszClassName = "LateGridClass";
  return RegisterClass(&grid);
}

using DialogUnits = GuiTest;

TEST_F(DialogUnits, ControlsArePlacedInTheTemplateFontsUnits) {
  HWND dialog = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PlainProc);
  ASSERT_NE(dialog, nullptr);
  RECT units{4, 8, 0, 0};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  int baseX = units.left, baseY = units.top;
  EXPECT_GE(baseX, 4) << "an 8-point font is some pixels wide";
  EXPECT_LE(baseX, 9);
  EXPECT_GE(baseY, 10);
  EXPECT_LE(baseY, 16);
  // The name edit: 50, 6, 140, 12 in dialog units.
  RECT expected{50, 6, 190, 18};
  MapDialogRect(dialog, &expected);
  RECT actual;
  GetWindowRect(GetDlgItem(dialog, IDC_NAME), &actual);
  POINT origin{actual.left, actual.top};
  ScreenToClient(dialog, &origin);
  EXPECT_EQ(origin.x, expected.left);
  EXPECT_EQ(origin.y, expected.top);
  EXPECT_EQ(actual.right - actual.left, expected.right - expected.left);
  EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top);
  // The client area has the template's size.
  RECT client, size{0, 0, 200, 120};
  GetClientRect(dialog, &client);
  MapDialogRect(dialog, &size);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  // The template font is the dialog's and its controls'.
  auto font = reinterpret_cast<HFONT>(SendMessage(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessage(dialog, IDOK, WM_GETFONT, 0, 0)), font);
  LOGFONT logical{};
  GetObject(font, sizeof logical, &logical);
  EXPECT_EQ(logical.lfHeight, -11) << "8 points at 96 dpi";
  EXPECT_FALSE(MapDialogRect(GetDlgItem(dialog, IDOK), &units)) << "a control is no dialog";
}

TEST_F(DialogUnits, WithoutAFontTheSystemUnitsCount) {
  HWND parent = CreateWindow(DIALOG_CLASS_NAME, "Parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_NO_FONT), parent, PlainProc);
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(GetWindowLong(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(child)) << "WS_VISIBLE in the template shows it";
  LONG units = GetDialogBaseUnits();
  RECT r{4, 8, 0, 0};
  MapDialogRect(child, &r);
  EXPECT_EQ(r.left, LOWORD(units));
  EXPECT_EQ(r.top, HIWORD(units));
  RECT placed;
  GetWindowRect(child, &placed);
  POINT origin{placed.left, placed.top};
  ScreenToClient(parent, &origin);
  EXPECT_EQ(origin.x, 10 * LOWORD(units) / 4) << "a child dialog sits in its parent's client area";
  EXPECT_EQ(SendMessage(child, WM_GETFONT, 0, 0), 0);
}

TEST_F(DialogUnits, ClassesOfTemplatesResolvedWhenTheDialogIsMade) {
  HWND failed = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_UNKNOWN_CLASS), nullptr, PlainProc);
  EXPECT_EQ(failed, nullptr);
  // DS_NOFAILCREATE: the dialog comes up without the control.
  HWND without = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_LATE_CLASS), nullptr, PlainProc);
  ASSERT_NE(without, nullptr);
  EXPECT_EQ(GetDlgItem(without, IDC_GRID), nullptr);
  EXPECT_NE(GetDlgItem(without, IDOK), nullptr);
  // A library loaded later registers the class; the next dialog has its control.
  ASSERT_NE(RegisterLateGrid(), 0);
  HWND with = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_LATE_CLASS), nullptr, PlainProc);
  ASSERT_NE(with, nullptr);
  HWND control = GetDlgItem(with, IDC_GRID);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ClassOf(control), "LateGridClass");
  char text[32] = {};
  GetWindowText(control, text, sizeof text);
  EXPECT_STREQ(text, "grid text");
  EXPECT_EQ(GetNextDlgTabItem(with, nullptr, FALSE), control);
  DestroyWindow(without);
  DestroyWindow(with);
  EXPECT_TRUE(UnregisterClass("LateGridClass", reinterpret_cast<HINSTANCE>(0x1234)));
}

TEST_F(DialogUnits, KeysAControlClaimsAreItsOwn) {
  ASSERT_NE(RegisterLateGrid(), 0);
  int commands = 0;
  DialogDriver driver;
  driver.OnDialog(IDD_LATE_CLASS, [&](HWND dialog) {
    HWND grid = GetDlgItem(dialog, IDC_GRID);
    ASSERT_EQ(GetFocus(), grid);
    gGridKeys.clear();
    PressDialogKey(dialog, VK_TAB);
    PressDialogKey(dialog, VK_DOWN);
    EXPECT_EQ(GetFocus(), grid) << "Tab and the arrows stay with the control";
    EXPECT_EQ(gGridKeys, (std::vector<WPARAM>{VK_TAB, VK_DOWN}));
    PressDialogKey(dialog, VK_RETURN);  // not claimed: the default button
    commands = 1;
  });
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_LATE_CLASS), nullptr, PlainProc), IDOK);
  EXPECT_EQ(commands, 1);
  EXPECT_TRUE(UnregisterClass("LateGridClass", reinterpret_cast<HINSTANCE>(0x1234)));
}

TEST_F(DialogUnits, CustomControlNamesAreTheStandardClasses) {
  EXPECT_TRUE(EnableCtl3d(TRUE));
  EXPECT_TRUE(EnableBWCC(TRUE));
  HWND dialog = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_CUSTOM_NAMES), nullptr, PlainProc);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ClassOf(dialog), DIALOG_CLASS_NAME);
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_NAME_LABEL)), "Static");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_ESCROW)), "Button");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_BUYER)), "Button");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDOK)), "Button");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_FRAME)), "Static");
  EXPECT_EQ(GetWindowLong(GetDlgItem(dialog, IDC_FRAME), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDFRAME);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  SendDlgItemMessage(dialog, IDC_ESCROW, BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ESCROW), static_cast<UINT>(BST_CHECKED));
}

TEST_F(DialogUnits, DialogProcedureResultConvention) {
  HWND dialog = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PlainProc);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessage(dialog, kAskResult, 0, 0), 42) << "handled: the result is DWL_MSGRESULT";
  EXPECT_EQ(SendMessage(dialog, WM_CTLCOLORDLG, 0, reinterpret_cast<LPARAM>(dialog)),
            reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)))
      << "colour messages answer the procedure's own value";
  EXPECT_EQ(SendMessage(dialog, WM_USER + 51, 0, 0), 0) << "unhandled: default processing";
  SetWindowLong(dialog, DWL_USER, 1234);
  EXPECT_EQ(GetWindowLong(dialog, DWL_USER), 1234);
  EXPECT_EQ(GetWindowLong(dialog, DWL_DLGPROC), reinterpret_cast<LONG_PTR>(PlainProc));
}

TEST_F(DialogUnits, NumbersInControls) {
  HWND dialog = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PlainProc);
  ASSERT_NE(dialog, nullptr);
  struct Case {
    const char* text;
    BOOL isSigned;
    bool ok;
    UINT value;
  };
  const Case cases[] = {
      {"123", TRUE, true, 123},
      {"  -45 ", TRUE, true, static_cast<UINT>(-45)},
      {"-45", FALSE, false, 0},
      {"12a", TRUE, false, 0},
      {"", TRUE, false, 0},
      {"2147483647", TRUE, true, 2147483647u},
      {"2147483648", TRUE, false, 0},
      {"-2147483648", TRUE, true, 0x80000000u},
      {"4294967295", FALSE, true, 4294967295u},
      {"4294967296", FALSE, false, 0},
  };
  for (const Case& c : cases) {
    SetDlgItemText(dialog, IDC_CITY, c.text);
    BOOL translated = !c.ok;
    EXPECT_EQ(GetDlgItemInt(dialog, IDC_CITY, &translated, c.isSigned), c.value) << c.text;
    EXPECT_EQ(translated != FALSE, c.ok) << c.text;
  }
  EXPECT_TRUE(SetDlgItemInt(dialog, IDC_CITY, static_cast<UINT>(-7), TRUE));
  char text[16] = {};
  EXPECT_EQ(GetDlgItemText(dialog, IDC_CITY, text, sizeof text), 2u);
  EXPECT_STREQ(text, "-7");
  SetDlgItemInt(dialog, IDC_CITY, 4000000000u, FALSE);
  GetDlgItemText(dialog, IDC_CITY, text, sizeof text);
  EXPECT_STREQ(text, "4000000000");
  EXPECT_FALSE(SetDlgItemText(dialog, 999, "x"));
  BOOL translated = TRUE;
  EXPECT_EQ(GetDlgItemInt(dialog, 999, &translated, TRUE), 0u);
  EXPECT_FALSE(translated);
  text[0] = 'x';
  EXPECT_EQ(GetDlgItemText(dialog, 999, text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
}

TEST_F(DialogUnits, GalleryOfEveryControlKind) {
  DialogDriver driver;
  bool shown = false;
  driver.OnDialog(IDD_GALLERY, [&](HWND dialog) {
    SendDlgItemMessage(dialog, IDC_BUYER, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessage(dialog, IDC_ESCROW, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessage(dialog, IDC_TRACKED, BM_SETCHECK, BST_INDETERMINATE, 0);
    SetControlText(dialog, IDC_NAME, "Ada Smith");
    SetControlText(dialog, IDC_CITY, "Line one\r\nLine two");
    HWND list = FindControl(dialog, IDC_LIST);
    if (list) {
      for (const char* item : {"Buyer", "Seller", "Lender"})
        SendMessage(list, 0x0180 /* LB_ADDSTRING */, 0, reinterpret_cast<LPARAM>(item));
    }
    HWND combo = FindControl(dialog, IDC_COMBO);
    if (combo) {
      SendMessage(combo, 0x0143 /* CB_ADDSTRING */, 0, reinterpret_cast<LPARAM>("Escrow"));
      SendMessage(combo, 0x014E /* CB_SETCURSEL */, 0, 0);
    }
    PressDialogKey(dialog, VK_TAB);
    PumpDialogMessages(dialog);
    // Into the working directory: the build directory when CTest runs it.
    shown = SaveWindowScreenshot(dialog, "dialog_gallery.png");
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(DialogBox(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_GALLERY), nullptr, GalleryProc),
            IDCANCEL);
  EXPECT_TRUE(shown);
}

}  // namespace
