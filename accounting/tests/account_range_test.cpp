/*
** The account range dialog through the dialog driver, by real clicks and Alt-key presses:
** the kind rules (a kind resets the mode to All and limits the modes), the pairs of bound
** edits reloaded from the record, what OK stores for the modes not chosen, Cancel, the
** callers' fixed kind and account, and the 32-bit flags.
*/
#include "accounting/account_range.h"
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

namespace {

std::string PicturePath(const char* name) {
  std::filesystem::path dir = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

class AccountRangeTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    gDefaultAccount = 2;
    LoadBankLists();
    Preset(1, 0, 0, 1, 0, 0, 0);
  }
  /* Kind flags Check, Deposits, Adjustments; mode flags All, File, Date, Number. */
  static void Preset(DWORD check, DWORD deposits, DWORD adjustments, DWORD all, DWORD file,
                     DWORD date, DWORD number) {
    TAccountRangeXfer& r = gAccountRangeXfer;
    r.Check = check, r.Deposits = deposits, r.Adjustments = adjustments;
    r.All = all, r.File = file, r.Date = date, r.Number = number;
    std::strcpy(r.FileFrom, "A-1");
    std::strcpy(r.FileTo, "A9");
    r.DateFrom = DateOf(1, 2, 2026);
    r.DateTo = DateOf(3, 4, 2026);
    r.NumberFrom = 100;
    r.NumberTo = 250;
  }
  /* Runs the dialog with the script; the dialog's result. */
  static int Run(const std::function<void(HWND)>& script, bool fixedKind = false,
                 bool fixedAccount = false, const char* caption = nullptr) {
    DialogDriver driver;
    driver.OnDialog(kAccountRangeTemplate, script);
    TAccountRange dialog(nullptr);
    dialog.FixedKind = fixedKind;
    dialog.FixedAccount = fixedAccount;
    if (caption) dialog.SetCaption(caption);
    int result = dialog.Execute();
    EXPECT_EQ(0u, driver.Pending());
    return result;
  }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(FindControl(dialog, id)); }
  static bool Checked(HWND dialog, int id) {
    return SendMessage(FindControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  /* A real left click on the radio's circle. */
  static void ClickRadio(HWND dialog, int id) {
    HWND radio = FindControl(dialog, id);
    RECT box{};
    GetClientRect(radio, &box);
    Click(radio, 5, (box.bottom - box.top) / 2);
    PumpDialogMessages(dialog);
  }
  static void Alt(HWND dialog, char letter) { PressDialogKey(dialog, letter, Qt::AltModifier); }
  /* The mode radios checked, as "All", "File", ... joined. */
  static std::string Mode(HWND dialog) {
    std::string mode;
    for (auto [id, name] : {std::pair{200, "All"}, {300, "File"}, {400, "Date"}, {500, "Number"}})
      if (Checked(dialog, id)) mode += name;
    return mode;
  }
  static void ExpectPairOff(HWND dialog, int from, int to) {
    for (int id : {from, to}) {
      EXPECT_FALSE(Enabled(dialog, id)) << id;
      EXPECT_EQ("", ControlTextOf(dialog, id)) << id;
    }
  }
};

TEST_F(AccountRangeTest, KindClicksResetTheModeToAllAndLimitTheModes) {
  int result = Run([](HWND dialog) {
    EXPECT_EQ("All", Mode(dialog));
    EXPECT_TRUE(Enabled(dialog, 300));
    EXPECT_TRUE(Enabled(dialog, 500));
    ClickRadio(dialog, 500);  // Number
    EXPECT_EQ("Number", Mode(dialog));
    EXPECT_EQ("100", ControlTextOf(dialog, 501));
    EXPECT_EQ(FindControl(dialog, 501), GetFocus());

    ClickRadio(dialog, 102);  // Deposits
    EXPECT_TRUE(Checked(dialog, 102));
    EXPECT_FALSE(Checked(dialog, 101));
    EXPECT_EQ("All", Mode(dialog));
    EXPECT_TRUE(Enabled(dialog, 300));
    EXPECT_FALSE(Enabled(dialog, 500));
    ExpectPairOff(dialog, 501, 502);

    Alt(dialog, 'A');  // Adjustments
    EXPECT_TRUE(Checked(dialog, 103));
    EXPECT_FALSE(Enabled(dialog, 300));
    EXPECT_FALSE(Enabled(dialog, 500));
    EXPECT_TRUE(Enabled(dialog, 400));
    Alt(dialog, 'T');  // Date is still offered
    EXPECT_EQ("Date", Mode(dialog));
    EXPECT_EQ(FindControl(dialog, 401), GetFocus());
    EXPECT_TRUE(Enabled(dialog, 401));

    // The kind already chosen, clicked again: back to All, the dates emptied.
    Alt(dialog, 'A');
    EXPECT_EQ("All", Mode(dialog));
    ExpectPairOff(dialog, 401, 402);

    Alt(dialog, 'C');  // Check offers every mode again
    EXPECT_TRUE(Checked(dialog, 101));
    EXPECT_TRUE(Enabled(dialog, 300));
    EXPECT_TRUE(Enabled(dialog, 500));
    Alt(dialog, 'F');
    EXPECT_EQ("File", Mode(dialog));
    ClickRadio(dialog, 101);
    EXPECT_EQ("All", Mode(dialog));
    ExpectPairOff(dialog, 301, 302);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(IDOK, result);
  const TAccountRangeXfer& r = gAccountRangeXfer;
  EXPECT_EQ(1u, r.Check);
  EXPECT_EQ(0u, r.Deposits);
  EXPECT_EQ(0u, r.Adjustments);
  EXPECT_EQ(1u, r.All);
  EXPECT_EQ(0u, r.File + r.Date + r.Number);
}

TEST_F(AccountRangeTest, OpeningFollowsTheRecordsKindAndMode) {
  struct Case {
    DWORD check, deposits, adjustments, all, file, date, number;
    bool fileOffered, numberOffered;
    int focus;
  };
  const Case cases[] = {
      {0, 1, 0, 0, 1, 0, 0, true, false, 301},
      {0, 0, 1, 0, 0, 1, 0, false, false, 401},
      {1, 0, 0, 0, 0, 0, 1, true, true, 501},
  };
  for (const Case& c : cases) {
    Preset(c.check, c.deposits, c.adjustments, c.all, c.file, c.date, c.number);
    Run([&](HWND dialog) {
      EXPECT_EQ(c.fileOffered, Enabled(dialog, 300)) << c.focus;
      EXPECT_EQ(c.numberOffered, Enabled(dialog, 500)) << c.focus;
      EXPECT_EQ(FindControl(dialog, c.focus), GetFocus()) << c.focus;
      for (int pair : {301, 401, 501}) EXPECT_EQ(pair == c.focus, Enabled(dialog, pair)) << pair;
      if (c.focus == 301) EXPECT_EQ("A-1", ControlTextOf(dialog, 301));
      if (c.focus == 401) EXPECT_EQ("01/02/26", ControlTextOf(dialog, 401));
      if (c.focus == 501) EXPECT_EQ("250", ControlTextOf(dialog, 502));
      PressButton(dialog, IDCANCEL);
    });
  }
}

TEST_F(AccountRangeTest, FileThenDateThenFileShowsTheRecordsBoundsNotWhatWasTyped) {
  Preset(1, 0, 0, 0, 1, 0, 0);
  Run([](HWND dialog) {
    EXPECT_EQ("A-1", ControlTextOf(dialog, 301));
    EXPECT_EQ("A9", ControlTextOf(dialog, 302));
    SetControlText(dialog, 301, "TYPED");
    SetControlText(dialog, 302, "TYPED2");
    Alt(dialog, 'T');
    ExpectPairOff(dialog, 301, 302);
    EXPECT_EQ("01/02/26", ControlTextOf(dialog, 401));
    EXPECT_EQ("03/04/26", ControlTextOf(dialog, 402));
    ClickRadio(dialog, 300);
    EXPECT_EQ("A-1", ControlTextOf(dialog, 301));
    EXPECT_EQ("A9", ControlTextOf(dialog, 302));
    ExpectPairOff(dialog, 401, 402);
    PressButton(dialog, IDCANCEL);
  });
}

TEST_F(AccountRangeTest, OkStoresEmptyBoundsForTheModesNotChosen) {
  Preset(1, 0, 0, 0, 1, 0, 0);
  int result = Run([](HWND dialog) {
    Alt(dialog, 'N');
    SetControlText(dialog, 501, "7");
    SendMessage(FindControl(dialog, 136), CB_SETCURSEL, 9, 0);
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(IDOK, result);
  const TAccountRangeXfer& r = gAccountRangeXfer;
  EXPECT_EQ(0u, r.File);
  EXPECT_EQ(1u, r.Number);
  EXPECT_STREQ("", r.FileFrom);
  EXPECT_STREQ("", r.FileTo);
  EXPECT_EQ(kBlankDate, r.DateFrom);
  EXPECT_EQ(kBlankDate, r.DateTo);
  EXPECT_EQ(7, r.NumberFrom);
  EXPECT_EQ(250, r.NumberTo);
  EXPECT_EQ(9, r.Accounts.GetSelIndex());
  EXPECT_STREQ("Account 9", r.Accounts.GetSelection());

  // All chosen: every bound empty, blank or 0.
  Preset(1, 0, 0, 0, 0, 1, 0);
  Run([](HWND dialog) {
    Alt(dialog, 'L');
    PressButton(dialog, IDOK);
  });
  EXPECT_STREQ("", r.FileFrom);
  EXPECT_EQ(kBlankDate, r.DateFrom);
  EXPECT_EQ(kBlankDate, r.DateTo);
  EXPECT_EQ(0, r.NumberFrom);
  EXPECT_EQ(0, r.NumberTo);
  EXPECT_EQ(1u, r.All);
}

TEST_F(AccountRangeTest, CancelAfterChangesLeavesEveryFieldAsItWas) {
  Preset(0, 1, 0, 0, 1, 0, 0);
  gAccountRangeXfer.Accounts.Select(6);
  unsigned char before[sizeof(TAccountRangeXfer) - kListDataSize];
  std::memcpy(before, reinterpret_cast<const char*>(&gAccountRangeXfer) + kListDataSize,
              sizeof before);
  int result = Run([](HWND dialog) {
    SetControlText(dialog, 301, "ZZ");
    ClickRadio(dialog, 101);
    Alt(dialog, 'N');
    SetControlText(dialog, 502, "999");
    SendMessage(FindControl(dialog, 136), CB_SETCURSEL, 12, 0);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(0,
            std::memcmp(before, reinterpret_cast<const char*>(&gAccountRangeXfer) + kListDataSize,
                        sizeof before));
  EXPECT_EQ(6, gAccountRangeXfer.Accounts.GetSelIndex());
  EXPECT_STREQ("Account 6", gAccountRangeXfer.Accounts.GetSelection());
  EXPECT_EQ(20u, gAccountRangeXfer.Accounts.GetStrings().size());
}

TEST_F(AccountRangeTest, FixedKindAndFixedAccountDisableTheirControls) {
  Preset(0, 0, 1, 1, 0, 0, 0);
  Run(
      [](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, 101));
        EXPECT_FALSE(Enabled(dialog, 102));
        EXPECT_TRUE(Enabled(dialog, 103));
        EXPECT_TRUE(Enabled(dialog, 136));
        EXPECT_FALSE(Enabled(dialog, 300));
        EXPECT_FALSE(Enabled(dialog, 500));
        char caption[64] = "";
        GetWindowText(dialog, caption, sizeof caption);
        EXPECT_STREQ("Adjustments Range", caption);
        PressButton(dialog, IDCANCEL);
      },
      true, false, "Adjustments Range");
  Preset(0, 1, 0, 0, 0, 1, 0);
  Run(
      [](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, 136));
        EXPECT_TRUE(Enabled(dialog, 101));
        EXPECT_TRUE(Enabled(dialog, 102));
        char caption[64] = "";
        GetWindowText(dialog, caption, sizeof caption);
        EXPECT_STREQ("Reconcile Range", caption);
        PressButton(dialog, IDCANCEL);
      },
      false, true);
}

// A 16-bit transfer would write only the low half of a flag and shift every later field by
// two bytes, leaving the high half of the last one as it was.
TEST_F(AccountRangeTest, EveryFlagIsStoredAsAWhole32BitWord) {
  Preset(0, 0, 0, 0, 0, 0, 0);
  TAccountRangeXfer& r = gAccountRangeXfer;
  r.Check = r.Deposits = r.Adjustments = r.All = r.File = r.Date = r.Number = 0x00010000;
  r.NumberTo = 0x00070005;
  bool shown[7] = {};
  const int ids[7] = {103, 200, 101, 400, 102, 300, 500};
  Run([&](HWND dialog) {
    ClickRadio(dialog, 101);  // Check
    Alt(dialog, 'N');         // Number
    SetControlText(dialog, 502, "12");
    for (int i = 0; i < 7; ++i) shown[i] = Checked(dialog, ids[i]);
    PressButton(dialog, IDOK);
  });
  const DWORD stored[7] = {r.Adjustments, r.All, r.Check, r.Date, r.Deposits, r.File, r.Number};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(shown[i] ? 1u : 0u, stored[i]) << ids[i];
  EXPECT_EQ(1u, r.Check);
  EXPECT_EQ(1u, r.Number);
  EXPECT_EQ(100, r.NumberFrom);
  EXPECT_EQ(12, r.NumberTo);
}

TEST_F(AccountRangeTest, Screenshot) {
  Preset(1, 0, 0, 0, 0, 1, 0);
  Run([](HWND dialog) {
    EXPECT_TRUE(SaveWindowScreenshot(dialog, PicturePath("account_range.png")));
    PressButton(dialog, IDCANCEL);
  });
}

}  // namespace
