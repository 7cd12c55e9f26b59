/*
** Modal and modeless dialogs from compiled templates: filling them in WM_INITDIALOG, driving
** them with real keys through the harness (Tab order, group arrows, Enter, Esc), EndDialog's
** result, the owner disabled while they run, and the failure values of bad templates and
** parents.
*/
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/dialog_ids.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

struct PartyRecord {
  std::string name = "Ada Smith";
  std::string city = "Springfield";
  int role = IDC_SELLER;
  bool escrow = true;
  std::vector<int> commands;  // WM_COMMAND ids in the order they came
  bool ownerDisabledInside = false;
  HWND owner = nullptr;
};

std::string ItemText(HWND dialog, int id) {
  char buffer[128] = {};
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

INT_PTR CALLBACK PartyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<PartyRecord*>(GetWindowLong(dialog, DWL_USER));
  switch (message) {
    case WM_INITDIALOG:
      record = reinterpret_cast<PartyRecord*>(lParam);
      SetWindowLong(dialog, DWL_USER, lParam);
      SetDlgItemText(dialog, IDC_NAME, record->name.c_str());
      SetDlgItemText(dialog, IDC_CITY, record->city.c_str());
      CheckRadioButton(dialog, IDC_BUYER, IDC_LENDER, record->role);
      CheckDlgButton(dialog, IDC_ESCROW, record->escrow ? BST_CHECKED : BST_UNCHECKED);
      record->ownerDisabledInside = record->owner && !IsWindowEnabled(record->owner);
      return TRUE;
    case WM_COMMAND:
      if (!record) return FALSE;
      if (HIWORD(wParam) == BN_CLICKED) record->commands.push_back(LOWORD(wParam));
      if (LOWORD(wParam) == IDOK) {
        record->name = ItemText(dialog, IDC_NAME);
        record->city = ItemText(dialog, IDC_CITY);
        for (int id = IDC_BUYER; id <= IDC_LENDER; ++id)
          if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) record->role = id;
        record->escrow = IsDlgButtonChecked(dialog, IDC_ESCROW) == BST_CHECKED;
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default: return FALSE;
  }
}

class DialogModal : public GuiTest {
 protected:
  HWND MakeOwner() {
    return CreateWindow("#32770", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                        nullptr, nullptr, nullptr, nullptr);
  }
  DialogDriver driver;
};

TEST_F(DialogModal, FilledFromRecordAndDrivenByKeys) {
  PartyRecord record;
  record.owner = MakeOwner();
  std::vector<std::string> focusOrder;
  driver.OnDialog(IDD_PARTY, [&](HWND dialog) {
    EXPECT_EQ(ControlTextOf(dialog, IDC_NAME), "Ada Smith");
    EXPECT_EQ(ControlTextOf(dialog, IDC_CITY), "Springfield");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NAME))
        << "WM_INITDIALOG TRUE focuses the first tab stop";
    // Tab walks the tab stops in template order; the radio group is entered at its checked
    // button; the disabled Help button is skipped and the order wraps round.
    for (int i = 0; i < 7; ++i) {
      PressDialogKey(dialog, VK_TAB);
      focusOrder.push_back(std::to_string(GetDlgCtrlID(GetFocus())));
    }
    PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL)) << "Shift+Tab goes back, round the end";
    // Into the radio group and along it with the arrows: automatic radios follow the focus.
    for (int i = 0; i < 4; ++i) PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SELLER));
    PressDialogKey(dialog, VK_DOWN);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_LENDER));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_LENDER), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SELLER), static_cast<UINT>(BST_UNCHECKED));
    PressDialogKey(dialog, VK_DOWN);  // wraps within the group, never onto the check box
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_BUYER));
    PressDialogKey(dialog, VK_UP);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_LENDER));
    // Space toggles the check box; then the name is retyped and Enter presses OK.
    PressDialogKey(dialog, VK_TAB);
    PressDialogKey(dialog, VK_SPACE);
    PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);
    PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);
    PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NAME));
    TypeIntoDialog(dialog, "Bob Jones");  // tabbing in selected the whole text
    PressDialogKey(dialog, VK_RETURN);
  });
  INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), record.owner, PartyProc,
                                  reinterpret_cast<LPARAM>(&record));
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(focusOrder, (std::vector<std::string>{"113", "122", "130", "131", "1", "2", "111"}));
  EXPECT_EQ(record.name, "Bob Jones");
  EXPECT_EQ(record.city, "Springfield");
  EXPECT_EQ(record.role, IDC_LENDER);
  EXPECT_FALSE(record.escrow);
  EXPECT_TRUE(record.ownerDisabledInside);
  EXPECT_TRUE(IsWindowEnabled(record.owner)) << "the owner is enabled again";
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(driver.Unanswered().empty());
}

TEST_F(DialogModal, EscapeCancelsAndEnterOnAPushButtonPressesIt) {
  PartyRecord record;
  driver.OnDialogCaption("Party Details", [](HWND dialog) {
    TypeIntoDialog(dialog, "Changed");
    PressDialogKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
  EXPECT_EQ(record.name, "Ada Smith") << "a cancelled dialog gives nothing back";
  EXPECT_EQ(record.commands, std::vector<int>{IDCANCEL});

  record.commands.clear();
  driver.OnDialog(IDD_PARTY, [](HWND dialog) {
    SetFocus(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(SendMessage(GetDlgItem(dialog, IDCANCEL), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON)
        << "the focused push button is drawn as the default";
    EXPECT_EQ(SendMessage(GetDlgItem(dialog, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
    PressDialogKey(dialog, VK_RETURN);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
  EXPECT_EQ(record.commands, std::vector<int>{IDCANCEL});
}

TEST_F(DialogModal, MarkedCharactersMoveTheFocusOrPressButtons) {
  PartyRecord record;
  driver.OnDialog(IDD_PARTY, [&](HWND dialog) {
    PressDialogKey(dialog, 'C', Qt::AltModifier);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CITY))
        << "a label hands the focus to the control after it";
    PressDialogKey(dialog, 'E', Qt::AltModifier);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_ESCROW));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ESCROW), static_cast<UINT>(BST_UNCHECKED))
        << "and presses it";
    // With a button focused, the character alone will do.
    PressDialogKey(dialog, 'B');
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_BUYER));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_BUYER), static_cast<UINT>(BST_CHECKED));
    PressDialogKey(dialog, 'H', Qt::AltModifier);  // the Help button is disabled
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_BUYER));
    EXPECT_EQ(record.commands, (std::vector<int>{IDC_ESCROW, IDC_BUYER}))
        << "nothing else was pressed";
    PressDialogKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
}

/* Opens a second modal dialog, owned by the first, when its escrow box is clicked. */
INT_PTR gInnerResult = 0;
bool gOuterDisabledDuringInner = false;

INT_PTR CALLBACK InnerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    gOuterDisabledDuringInner = !IsWindowEnabled(GetWindow(dialog, GW_OWNER));
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK OuterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_ESCROW) {
    gInnerResult = DialogBox(nullptr, MAKEINTRESOURCE(IDD_CUSTOM_NAMES), dialog, InnerProc);
    return TRUE;
  }
  return PartyProc(dialog, message, wParam, lParam);
}

TEST_F(DialogModal, NestedDialogsAreAnsweredInTurn) {
  PartyRecord record;
  gInnerResult = 0;
  gOuterDisabledDuringInner = false;
  HWND outerDialog = nullptr;
  driver.OnDialog(IDD_PARTY, [&](HWND dialog) {
    outerDialog = dialog;
    PressButton(dialog, IDC_ESCROW);
    EXPECT_TRUE(IsWindowEnabled(dialog))
        << "the outer dialog is given back when the inner one ends";
    PressDialogKey(dialog, VK_ESCAPE);
  });
  driver.OnDialogCaption("Custom Names", [](HWND dialog) { PressDialogKey(dialog, VK_RETURN); });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, OuterProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
  EXPECT_EQ(gInnerResult, IDOK);
  EXPECT_TRUE(gOuterDisabledDuringInner);
  EXPECT_EQ(driver.Opened(), (std::vector<std::string>{"Party Details", "Custom Names"}));
  EXPECT_FALSE(IsWindow(outerDialog));
}

TEST_F(DialogModal, EndedDuringInitialisationNeverShows) {
  driver.OnDialog(IDD_PARTY, [](HWND) { ADD_FAILURE() << "an ended dialog reached its script"; });
  auto endAtOnce = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) EndDialog(dialog, 5);
    return message == WM_INITDIALOG;
  };
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, endAtOnce), 5);
  EXPECT_TRUE(driver.Opened().empty());
  EXPECT_EQ(driver.Pending(), 1u);
}

TEST_F(DialogModal, DefaultIdChangesWhatEnterPresses) {
  PartyRecord record;
  driver.OnDialog(IDD_PARTY, [](HWND dialog) {
    EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
    PressDialogKey(dialog, VK_RETURN);  // focus is in the name edit
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
}

TEST_F(DialogModal, DisabledDefaultButtonOnlyBeeps) {
  PartyRecord record;
  driver.OnDialog(IDD_PARTY, [&](HWND dialog) {
    SendMessage(dialog, DM_SETDEFID, IDC_HELP_BUTTON, 0);
    int beeps = MessageBeepCount();
    PressDialogKey(dialog, VK_RETURN);
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    EXPECT_TRUE(record.commands.empty());
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
}

TEST_F(DialogModal, ClosingTheWindowIsCancel) {
  PartyRecord record;
  driver.OnDialog(IDD_PARTY, [](HWND dialog) {
    SendMessage(dialog, WM_CLOSE, 0, 0);
    PumpDialogMessages(dialog);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
}

TEST_F(DialogModal, UnscriptedDialogIsCancelledAndRecorded) {
  PartyRecord record;
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            IDCANCEL);
  EXPECT_EQ(driver.Unanswered(), std::vector<std::string>{"Party Details"});
}

TEST_F(DialogModal, DestroyedDialogEndsItsLoop) {
  PartyRecord record;
  driver.OnDialog(IDD_PARTY, [](HWND dialog) { DestroyWindow(dialog); });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, PartyProc,
                           reinterpret_cast<LPARAM>(&record)),
            0);
}

TEST_F(DialogModal, BadTemplatesAndParentsGiveTheFailureValue) {
  HWND gone = MakeOwner();
  DestroyWindow(gone);
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_PARTY), gone, PartyProc), -1);
  EXPECT_EQ(CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PARTY), gone, PartyProc), nullptr);
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(999), nullptr, PartyProc), -1);
  EXPECT_EQ(CreateDialog(nullptr, "NOSUCHDIALOG", nullptr, PartyProc), nullptr);
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_UNKNOWN_CLASS), nullptr, PartyProc), -1);
  EXPECT_EQ(CreateDialog(nullptr, MAKEINTRESOURCE(IDD_UNKNOWN_CLASS), nullptr, PartyProc), nullptr);
  const unsigned char garbage[] = {1, 2, 3};
  EXPECT_EQ(CreateDialogIndirectParam(nullptr, garbage, sizeof garbage, nullptr, PartyProc, 0),
            nullptr);
  EXPECT_EQ(DialogBoxIndirectParam(nullptr, nullptr, 0, nullptr, PartyProc, 0), -1);
  EXPECT_TRUE(driver.Opened().empty()) << "no dialog opened from bad input";
}

TEST_F(DialogModal, ModelessDialogNeverShownKeepsFocusAndActivationAlone) {
  HWND owner = MakeOwner();
  SetFocus(owner);
  PartyRecord record;
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_PARTY), owner, PartyProc,
                                  reinterpret_cast<LPARAM>(&record));
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(GetFocus(), owner);
  EXPECT_EQ(ItemText(dialog, IDC_NAME), "Ada Smith");
  EXPECT_TRUE(IsWindowEnabled(owner)) << "a modeless dialog leaves its owner enabled";
  // Keys of a modeless dialog go through IsDialogMessage in the program's own loop.
  ShowWindow(dialog, SW_SHOW);
  SetFocus(GetDlgItem(dialog, IDC_NAME));
  PressDialogKey(dialog, VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CITY));
  MSG outside{owner, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(IsDialogMessage(dialog, &outside))
      << "messages of other windows are not the dialog's";
  EXPECT_TRUE(EndDialog(dialog, 5));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindow(dialog)) << "EndDialog hides a modeless dialog; DestroyWindow ends it";
  EXPECT_FALSE(EndDialog(owner, 1)) << "not a dialog";
}

/* An owner that ends the dialog the first time the dialog's loop waits for input. */
std::vector<std::pair<WPARAM, HWND>> gIdle;

LRESULT CALLBACK IdleOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERIDLE) {
    gIdle.push_back({wParam, reinterpret_cast<HWND>(lParam)});
    EndDialog(reinterpret_cast<HWND>(lParam), 77);
    return 0;
  }
  if (message == WM_TIMER) {  // a guard, so that a missing WM_ENTERIDLE fails instead of hanging
    KillTimer(hwnd, wParam);
    if (HWND dialog = FindWindow(nullptr, "Party Details")) EndDialog(dialog, 99);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

using DialogLoop = GuiTest;

TEST_F(DialogLoop, OwnerHearsWhenTheModalLoopIdles) {
  WNDCLASS cls{};
  cls.lpfnWndProc = IdleOwnerProc;
  cls.lpszClassName = "IdleOwner";
  RegisterClass(&cls);
  HWND owner = CreateWindow("IdleOwner", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                            nullptr, nullptr, nullptr, nullptr);
  gIdle.clear();
  SetTimer(owner, 1, 5000, nullptr);
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_PARTY), owner, QuietProc), 77);
  ASSERT_EQ(gIdle.size(), 1u);
  EXPECT_EQ(gIdle[0].first, static_cast<WPARAM>(MSGF_DIALOGBOX));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindow(gIdle[0].second)) << "DialogBox destroys its dialog";
  DestroyWindow(owner);
  UnregisterClass("IdleOwner", nullptr);
}

TEST_F(DialogLoop, TemplateMenuBecomesTheDialogsMenuBar) {
  HWND dialog = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_WITH_MENU), nullptr, QuietProc);
  ASSERT_NE(dialog, nullptr);
  HMENU menu = GetMenu(dialog);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 0), static_cast<UINT>(IDCANCEL));
  RECT client, size{0, 0, 120, 40};
  GetClientRect(dialog, &client);
  MapDialogRect(dialog, &size);
  EXPECT_EQ(client.bottom, size.bottom) << "the menu bar does not eat the template's height";
  DestroyWindow(dialog);
}

}  // namespace
