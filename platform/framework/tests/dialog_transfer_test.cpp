/*
** Dialogs: control objects bound to template controls by id, the transfer buffer moved into
** the controls at set-up and back at OK in creation order, Cancel leaving it alone, and bad
** input (a missing template, a buffer declared too short) reported without harm.
*/
#include "platform/framework/dialog.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/testing/gui_test.h"
#include "platform/user/combobox_control.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/winuser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

#pragma pack(push, 1)
struct TTestXfer {
  char name[16];
  char city[16];
  WORD one;
  WORD two;
  WORD left;
  WORD right;
  TComboBoxData choice;
  TListBoxData list;
  char shown[12];
};
#pragma pack(pop)
static_assert(offsetof(TTestXfer, one) == 32, "fields follow each other without gaps");
static_assert(offsetof(TTestXfer, choice) == 40, "the list data sits right after the states");

class TTransferDialog : public TDialog {
 public:
  explicit TTransferDialog(TWindow* parent) : TDialog(parent, 100) {
    name = new TEdit(this, 101, sizeof(TTestXfer::name));
    city = new TEdit(this, 102, sizeof(TTestXfer::city));
    one = new TCheckBox(this, 201);
    two = new TCheckBox(this, 202);
    group = new TGroupBox(this, 701);
    left = new TRadioButton(this, 301, group);
    right = new TRadioButton(this, 302, group);
    choice = new TComboBox(this, 401);
    list = new TListBox(this, 501);
    shown = new TStatic(this, 601, sizeof(TTestXfer::shown));
    shown->EnableTransfer();
    label = new TStatic(this, 602, 20);  // takes no part in the transfer
  }
  TEdit *name, *city;
  TCheckBox *one, *two;
  TGroupBox* group;
  TRadioButton *left, *right;
  TComboBox* choice;
  TListBox* list;
  TStatic *shown, *label;
};

/* A record that declares its radio buttons and one check box 32 bits wide, as several of the
** system's records do, with a 16-bit check box, a text and a double after them. */
#pragma pack(push, 1)
struct TWideXfer {
  uint32_t left;
  uint32_t right;
  uint32_t one;
  uint16_t two;
  char name[16];
  double amount;
};
#pragma pack(pop)
static_assert(offsetof(TWideXfer, one) == 8 && offsetof(TWideXfer, two) == 12, "declared offsets");
static_assert(offsetof(TWideXfer, name) == 14 && offsetof(TWideXfer, amount) == 30,
              "declared offsets");

/* An edit holding a double in the record, as the typed edits do. */
class TAmountEdit : public TEdit {
 public:
  TAmountEdit(TWindow* parent, int id) : TEdit(parent, id, 20) {}
  UINT Transfer(void* buffer, TTransferDirection direction) override {
    double value = 0;
    if (buffer && direction == tdSetData) {
      std::memcpy(&value, buffer, sizeof value);
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", value);
      SetText(text);
    } else if (buffer && direction == tdGetData) {
      char text[32] = "";
      GetText(text, sizeof text);
      value = std::strtod(text, nullptr);
      std::memcpy(buffer, &value, sizeof value);
    }
    return sizeof value;
  }
};

class TWideDialog : public TDialog {
 public:
  explicit TWideDialog(TWindow* parent) : TDialog(parent, 100) {
    new TRadioButton(this, 301, tw32Bit);
    new TRadioButton(this, 302, tw32Bit);
    new TCheckBox(this, 201, tw32Bit);
    new TCheckBox(this, 202);  // 16 bits, the default
    new TEdit(this, 101, sizeof(TWideXfer::name));
    new TAmountEdit(this, 102);
  }
};

/* Runs `drive` on each modal dialog as it comes up (the harness's observer). */
class DriveDialogs {
 public:
  explicit DriveDialogs(std::function<void(HWND)> drive) {
    previous_ = SetModalDialogObserver([drive](HWND dialog, int) { drive(dialog); });
  }
  ~DriveDialogs() { SetModalDialogObserver(previous_); }

 private:
  ModalDialogObserver previous_;
};

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

class DialogTransferTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    std::memset(static_cast<void*>(&xfer), 0, offsetof(TTestXfer, choice));
    std::strcpy(xfer.name, "Alice");
    std::strcpy(xfer.city, "Tampa");
    xfer.one = BST_CHECKED;
    xfer.two = BST_UNCHECKED;
    xfer.left = BST_CHECKED;
    xfer.right = BST_UNCHECKED;
    xfer.choice.AddString("and/or assigns");
    xfer.choice.AddString("its successors and/or assigns");
    xfer.choice.AddString("", true);
    xfer.list.AddStringItem("Ready", 10);
    xfer.list.AddStringItem("Escrow", 11, true);
    xfer.list.AddStringItem("Void", 12);
    std::strcpy(xfer.shown, "05/01/95");
  }
  alignas(8) TTestXfer xfer;
};

TEST_F(DialogTransferTest, TransferBufferRoundTripsThroughExecute) {
  std::string seenName, seenCity, seenCombo, seenList, seenShown, seenLabel;
  UINT seenOne = 9, seenLeft = 9;
  int seenComboCount = 0;
  DriveDialogs driver([&](HWND dialog) {
    seenName = ItemText(dialog, 101);
    seenCity = ItemText(dialog, 102);
    seenOne = IsDlgButtonChecked(dialog, 201);
    seenLeft = IsDlgButtonChecked(dialog, 301);
    seenComboCount = static_cast<int>(SendDlgItemMessage(dialog, 401, CB_GETCOUNT, 0, 0));
    seenCombo = ItemText(dialog, 401);
    int sel = static_cast<int>(SendDlgItemMessage(dialog, 501, LB_GETCURSEL, 0, 0));
    char item[64] = "";
    SendDlgItemMessage(dialog, 501, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(item));
    seenList = item;
    seenShown = ItemText(dialog, 601);
    seenLabel = ItemText(dialog, 602);
    // The user's changes.
    SetDlgItemText(dialog, 101, "Bob");
    SetDlgItemText(dialog, 102, "A city name too long");
    CheckDlgButton(dialog, 201, BST_UNCHECKED);
    CheckDlgButton(dialog, 202, BST_CHECKED);
    CheckRadioButton(dialog, 301, 302, 302);
    SendDlgItemMessage(dialog, 401, CB_SETCURSEL, 1, 0);
    SendDlgItemMessage(dialog, 501, LB_SETCURSEL, 2, 0);
    PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  TTransferDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  EXPECT_EQ(dialog.Execute(), IDOK);

  EXPECT_EQ(seenName, "Alice");
  EXPECT_EQ(seenCity, "Tampa");
  EXPECT_EQ(seenOne, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(seenLeft, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(seenComboCount, 3);
  EXPECT_EQ(seenCombo, "");
  EXPECT_EQ(seenList, "Escrow");
  EXPECT_EQ(seenShown, "05/01/95");
  EXPECT_EQ(seenLabel, "label");  // a static without transfer keeps its template text

  EXPECT_STREQ(xfer.name, "Bob");
  EXPECT_STREQ(xfer.city, "A city name too");  // the edit takes one less than its field
  EXPECT_EQ(xfer.one, BST_UNCHECKED);
  EXPECT_EQ(xfer.two, BST_CHECKED);
  EXPECT_EQ(xfer.left, BST_UNCHECKED);
  EXPECT_EQ(xfer.right, BST_CHECKED);
  EXPECT_EQ(xfer.choice.GetSelIndex(), 1);
  EXPECT_STREQ(xfer.choice.GetSelection(), "its successors and/or assigns");
  EXPECT_EQ(xfer.choice.GetStrings().size(), 3u);
  ASSERT_EQ(xfer.list.GetSelCount(), 1);
  EXPECT_EQ(xfer.list.GetSelIndices()[0], 2);
  char selected[16];
  xfer.list.GetSelString(selected, sizeof selected);
  EXPECT_STREQ(selected, "Void");
  EXPECT_STREQ(xfer.shown, "05/01/95");
  EXPECT_EQ(dialog.HWindow, nullptr);
  EXPECT_EQ(dialog.name->HWindow, nullptr);
}

TEST_F(DialogTransferTest, ComboKeepsTypedTextWhenNoItemIsChosen) {
  DriveDialogs driver([](HWND dialog) {
    SetDlgItemText(dialog, 401, "typed assigns");
    PostMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  TTransferDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  ASSERT_EQ(dialog.Execute(), IDOK);
  EXPECT_EQ(xfer.choice.GetSelIndex(), -1);
  EXPECT_STREQ(xfer.choice.GetSelection(), "typed assigns");
}

TEST_F(DialogTransferTest, CancelLeavesTheBufferAsItWas) {
  DriveDialogs driver([](HWND dialog) {
    SetDlgItemText(dialog, 101, "Changed");
    CheckDlgButton(dialog, 202, BST_CHECKED);
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  TTransferDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  EXPECT_EQ(dialog.Execute(), IDCANCEL);
  EXPECT_STREQ(xfer.name, "Alice");
  EXPECT_EQ(xfer.two, BST_UNCHECKED);
}

TEST_F(DialogTransferTest, CaptionSetBeforeExecuteShowsInTheDialog) {
  std::string caption;
  DriveDialogs driver([&](HWND dialog) {
    char text[64] = "";
    GetWindowText(dialog, text, sizeof text);
    caption = text;
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  TTransferDialog dialog(nullptr);
  dialog.SetCaption("Buyer 2");
  dialog.Execute();
  EXPECT_EQ(caption, "Buyer 2");
}

TEST_F(DialogTransferTest, BufferDeclaredShorterThanTheControlsIsRefused) {
  char small[20];
  std::memset(small, 'x', sizeof small);
  std::string nameShown;
  DriveDialogs driver([&](HWND dialog) {
    nameShown = ItemText(dialog, 101);
    SetDlgItemText(dialog, 101, "Bob");
    PostMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  TTransferDialog dialog(nullptr);
  dialog.SetTransferBuffer(small, sizeof small);
  EXPECT_EQ(dialog.Execute(), IDOK);
  EXPECT_EQ(nameShown, "");                // nothing was read from the short buffer
  for (char c : small) ASSERT_EQ(c, 'x');  // nor written into it
  ASSERT_EQ(Boxes().Shown().size(), 2u);   // once into the controls, once back
  EXPECT_EQ(Boxes().Shown()[0].caption, "Transfer Error");
  EXPECT_NE(Boxes().Shown()[0].text.find("20 bytes"), std::string::npos);
}

TEST_F(DialogTransferTest, MissingTemplateIsReportedAndTheProgramGoesOn) {
  TDialog dialog(nullptr, 9999);
  EXPECT_EQ(dialog.Execute(), -1);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Dialog Error");
  EXPECT_NE(Boxes().Shown()[0].text.find("9999"), std::string::npos);
  TDialog modeless(nullptr, 9998);
  EXPECT_FALSE(modeless.Create());
  EXPECT_EQ(Boxes().Shown().size(), 2u);
}

TEST_F(DialogTransferTest, ModelessDialogBindsItsControlsAndStaysHidden) {
  TTransferDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  ASSERT_TRUE(dialog.Create());
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_EQ(dialog.name->GetText(), "Alice");
  EXPECT_EQ(dialog.list->GetCount(), 3);
  EXPECT_EQ(dialog.list->GetSelIndex(), 1);
  EXPECT_EQ(dialog.list->GetItemData(2), 12u);
  EXPECT_EQ(dialog.choice->GetCount(), 3);
  dialog.name->SetText("Carol");
  dialog.TransferData(tdGetData);
  EXPECT_STREQ(xfer.name, "Carol");
  dialog.Destroy();
  EXPECT_EQ(dialog.HWindow, nullptr);
}

}  // namespace

TEST_F(DialogTransferTest, ThirtyTwoBitStatesKeepTheLaterFieldsAtTheirDeclaredOffsets) {
  TWideXfer wide{};
  wide.left = 1;
  wide.right = 0;
  wide.one = 1;
  wide.two = 0;
  std::strcpy(wide.name, "Carol");
  wide.amount = 1234.5;
  UINT seenLeft = 9, seenRight = 9, seenOne = 9, seenTwo = 9;
  std::string seenName, seenAmount;
  DriveDialogs driver([&](HWND dialog) {
    seenLeft = IsDlgButtonChecked(dialog, 301);
    seenRight = IsDlgButtonChecked(dialog, 302);
    seenOne = IsDlgButtonChecked(dialog, 201);
    seenTwo = IsDlgButtonChecked(dialog, 202);
    seenName = ItemText(dialog, 101);
    seenAmount = ItemText(dialog, 102);
    CheckRadioButton(dialog, 301, 302, 302);
    CheckDlgButton(dialog, 201, BST_UNCHECKED);
    CheckDlgButton(dialog, 202, BST_CHECKED);
    SetDlgItemText(dialog, 101, "Dave");
    SetDlgItemText(dialog, 102, "99.25");
    PostMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  TWideDialog dialog(nullptr);
  dialog.SetTransferBuffer(&wide);
  ASSERT_EQ(dialog.Execute(), IDOK);
  EXPECT_EQ(seenLeft, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(seenRight, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(seenOne, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(seenTwo, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(seenName, "Carol");
  EXPECT_EQ(seenAmount, "1234.50");
  EXPECT_EQ(wide.left, 0u);
  EXPECT_EQ(wide.right, 1u);
  EXPECT_EQ(wide.one, 0u);
  EXPECT_EQ(wide.two, 1u);
  EXPECT_STREQ(wide.name, "Dave");
  EXPECT_EQ(wide.amount, 99.25);
}
