/*
** Edits, a list box and combo boxes in a modal dialog from a compiled template, driven by
** real keys through the dialog manager: Tab moves between them, the arrows stay inside the
** control that wants them, and Enter and Esc close an open drop-down list before they reach
** the dialog's default button or its cancel.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/testing/dialog_driver.h"
#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/tests/dialogs/controls_ids.h"

#include <string>
#include <vector>

using ControlsInDialog = WindowTest;

namespace {

struct Outcome {
  std::string fileNumber;
  int listSelection = -2;
  int kindSelection = -2;
  std::string assigns;
  std::vector<WORD> kindNotifications;
};

Outcome gOutcome;

std::string ItemText(HWND dialog, int id) {
  char buffer[128] = {};
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

INT_PTR CALLBACK LookupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SetDlgItemText(dialog, IDC_FILE_EDIT, "");
      for (const char* number : {"2026-001", "2026-002", "2026-003"})
        SendDlgItemMessage(dialog, IDC_FILE_LIST, LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(number));
      for (const char* kind : {"Buyer", "Seller", "Property", "Lender"})
        SendDlgItemMessage(dialog, IDC_KIND_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
      SendDlgItemMessage(dialog, IDC_KIND_COMBO, CB_SETCURSEL, 0, 0);
      for (const char* text : {"and/or assigns", "its successors and/or assigns"})
        SendDlgItemMessage(dialog, IDC_ASSIGNS_COMBO, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(text));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_KIND_COMBO) gOutcome.kindNotifications.push_back(HIWORD(wParam));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        gOutcome.fileNumber = ItemText(dialog, IDC_FILE_EDIT);
        gOutcome.listSelection =
            static_cast<int>(SendDlgItemMessage(dialog, IDC_FILE_LIST, LB_GETCURSEL, 0, 0));
        gOutcome.kindSelection =
            static_cast<int>(SendDlgItemMessage(dialog, IDC_KIND_COMBO, CB_GETCURSEL, 0, 0));
        gOutcome.assigns = ItemText(dialog, IDC_ASSIGNS_COMBO);
        EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

TEST_F(ControlsInDialog, TabArrowsEnterAndEscReachTheRightControl) {
  gOutcome = Outcome{};
  HWND owner = TopWindow();
  DialogDriver driver;
  bool ranToTheEnd = false;
  driver.OnDialog(IDD_CONTROLS, [&](HWND dialog) {
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_FILE_EDIT));
    TypeIntoDialog(dialog, "2026-x");
    PressDialogKey(dialog, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_FILE_LIST));
    PressDialogKey(dialog, VK_DOWN);
    PressDialogKey(dialog, VK_DOWN);  // the arrows move the list, not the focus
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_FILE_LIST));
    PressDialogKey(dialog, VK_TAB);
    HWND kind = GetDlgItem(dialog, IDC_KIND_COMBO);
    EXPECT_EQ(GetFocus(), kind);
    PressDialogKey(dialog, VK_F4);
    EXPECT_TRUE(SendMessage(kind, CB_GETDROPPEDSTATE, 0, 0));
    PressDialogKey(dialog, VK_DOWN);
    PressDialogKey(dialog, VK_DOWN);
    PressDialogKey(dialog, VK_RETURN);  // closes the list; the dialog stays
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(SendMessage(kind, CB_GETDROPPEDSTATE, 0, 0));
    PressDialogKey(dialog, VK_F4);
    PressDialogKey(dialog, VK_ESCAPE);  // closes the list; the dialog stays
    EXPECT_TRUE(IsWindow(dialog));
    PressDialogKey(dialog, VK_TAB);
    HWND assigns = GetDlgItem(dialog, IDC_ASSIGNS_COMBO);
    EXPECT_EQ(GetFocus(), ComboBoxEditWindow(assigns));
    PressDialogKey(dialog, VK_DOWN);  // the first item into the field
    PressDialogKey(dialog, VK_END);   // the field's own caret key
    TypeIntoDialog(dialog, " too");
    PressDialogKey(dialog, VK_TAB, Qt::ShiftModifier);  // back to the kind combo
    EXPECT_EQ(GetFocus(), kind);
    PressDialogKey(dialog, VK_TAB);
    PressDialogKey(dialog, VK_TAB);  // past the field to the multi-line notes
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NOTES_EDIT));
    // Ctrl+Enter breaks the line in the notes; the dialog stays.
    TypeIntoDialog(dialog, "first");
    PressDialogKey(dialog, VK_RETURN, Qt::ControlModifier);
    TypeIntoDialog(dialog, "second");
    EXPECT_TRUE(IsWindow(dialog));
    char notes[64] = "";
    GetDlgItemText(dialog, IDC_NOTES_EDIT, notes, sizeof notes);
    EXPECT_STREQ(notes, "first\r\nsecond");
    ranToTheEnd = true;
    PressDialogKey(dialog, VK_RETURN);  // no ES_WANTRETURN: the default button
  });
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_CONTROLS), owner, LookupProc), IDOK);
  EXPECT_TRUE(ranToTheEnd);
  EXPECT_EQ(gOutcome.fileNumber, "2026-X");
  EXPECT_EQ(gOutcome.listSelection, 1);
  EXPECT_EQ(gOutcome.kindSelection, 2);
  EXPECT_EQ(gOutcome.assigns, "and/or assigns too");
  EXPECT_EQ(gOutcome.kindNotifications,
            (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE,
                               CBN_SELENDOK, CBN_CLOSEUP, CBN_DROPDOWN, CBN_SELENDCANCEL,
                               CBN_CLOSEUP, CBN_KILLFOCUS, CBN_SETFOCUS, CBN_KILLFOCUS}));
}

TEST_F(ControlsInDialog, EscWithTheListClosedCancelsTheDialog) {
  gOutcome = Outcome{};
  HWND owner = TopWindow();
  DialogDriver driver;
  driver.OnDialog(IDD_CONTROLS, [](HWND dialog) {
    PressDialogKey(dialog, VK_TAB);
    PressDialogKey(dialog, VK_TAB);
    PressDialogKey(dialog, VK_DOWN, Qt::AltModifier);
    PressDialogKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(IsWindow(dialog));
    PressDialogKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(DialogBox(nullptr, MAKEINTRESOURCE(IDD_CONTROLS), owner, LookupProc), IDCANCEL);
  EXPECT_EQ(gOutcome.kindSelection, 0);
}
