/*
** The bank editor over real BANK tables: opening on key 0, the boxes at both ends, edits
** kept while stepping, Cancel and OK leaving every unchanged record byte for byte as it was,
** keys read by key number when one is missing, and a second station that writes a record's
** reconciliation dates or holds its lock while the editor is open.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_editor.h"
#include "accounting/bank_lists.h"
#include "accounting/ledger_editor_commands.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "second_station.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

class BankEditorTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    // Key 2 carries every field; the other keys only a name and blank dates.
    TPXRecord bank(gTables[kBankTable], true);
    bank.Clear();
    bank.SetShort(1, 2);
    ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ));
    ASSERT_TRUE(bank.Read(0));
    bank.SetString(3, "First Harbor Bank");
    bank.SetString(4, "0044-1201");
    bank.SetLong(5, DateOf(10, 31, 2025));
    bank.SetLong(6, DateOf(9, 30, 2025));
    bank.SetDouble(7, 1500.25);
    bank.SetDouble(8, 2750.5);
    ASSERT_TRUE(bank.Modify());
    LoadBankLists();
  }

  /* The engine's buffer of each key's record ("" for a missing key). */
  static std::vector<std::string> RawBanks() {
    std::vector<std::string> raw;
    TPXRecord bank(gTables[kBankTable], true);
    std::string buffer(gTables[kBankTable]->RecordSize(), '\0');
    for (SHORT key = 0; key < kBankKeyCount; ++key) {
      bank.Clear();
      bank.SetShort(1, key);
      bool found = bank.Seek(0, ENGINE_KEY_EQ) &&
                   EngineGetRecord(bank.Cursor(), 0, buffer.data(), nullptr) == 0;
      raw.push_back(found ? buffer : std::string());
    }
    return raw;
  }
  static void ExpectUnchangedExcept(const std::vector<std::string>& before,
                                    std::initializer_list<int> changed) {
    std::vector<std::string> after = RawBanks();
    for (int key = 0; key < kBankKeyCount; ++key) {
      bool expectChange = std::find(changed.begin(), changed.end(), key) != changed.end();
      EXPECT_EQ(!expectChange, before[key] == after[key]) << "key " << key;
    }
  }
  /* One field of a key's record as text (strings) or number (dates, balances). */
  static std::string BankText(SHORT key, int field) {
    TPXRecord bank(gTables[kBankTable], true);
    bank.Clear();
    bank.SetShort(1, key);
    char text[64] = "";
    if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Read(0)) return "<missing>";
    bank.GetString(field, text, sizeof text);
    return text;
  }
  static LONG BankDate(SHORT key, int field) {
    TPXRecord bank(gTables[kBankTable], true);
    bank.Clear();
    bank.SetShort(1, key);
    LONG date = 0;
    if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Read(0) || !bank.GetLong(field, date)) return 0;
    return date;
  }

  /* Runs the editor command with the script; whether the script ran. */
  static void RunEditor(const std::function<void(HWND)>& script) {
    DialogDriver driver;
    driver.OnDialog(kBankEditorTemplate, script);
    RunBankEditor(nullptr);
    EXPECT_EQ(0u, driver.Pending());
  }
  static std::string Key(HWND dialog) { return ControlTextOf(dialog, 101); }
  static void Step(HWND dialog, int button, int times) {
    for (int i = 0; i < times; ++i) PressButton(dialog, button);
  }
};

TEST_F(BankEditorTest, OpensOnKeyZeroAndRefusesToStepPastEitherEnd) {
  RunEditor([this](HWND dialog) {
    EXPECT_EQ("0", Key(dialog));
    EXPECT_EQ("Account 0", ControlTextOf(dialog, 264));
    PressButton(dialog, 148);
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ("No previous record,  Key numbers are in the range 0 - 19", Shown()[0].text);
    EXPECT_EQ("", Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Shown()[0].type & MB_ICONMASK);
    EXPECT_EQ(dialog, Shown()[0].owner);
    EXPECT_EQ("0", Key(dialog));
    Step(dialog, 149, 2);
    EXPECT_EQ("2", Key(dialog));
    EXPECT_EQ("First Harbor Bank", ControlTextOf(dialog, 432));
    EXPECT_EQ("0044-1201", ControlTextOf(dialog, 103));
    EXPECT_EQ("10/31/25", ControlTextOf(dialog, 106));
    EXPECT_EQ("09/30/25", ControlTextOf(dialog, 104));
    EXPECT_EQ("1,500.25", ControlTextOf(dialog, 102));
    EXPECT_EQ("2,750.50", ControlTextOf(dialog, 105));
    Step(dialog, 149, 17);
    EXPECT_EQ("19", Key(dialog));
    EXPECT_EQ(1u, Shown().size());
    PressButton(dialog, 149);
    ASSERT_EQ(2u, Shown().size());
    EXPECT_EQ("No next record,  Key numbers are in the range 0 - 19", Shown()[1].text);
    EXPECT_EQ("", Shown()[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Shown()[1].type & MB_ICONMASK);
    EXPECT_EQ("19", Key(dialog));
    EXPECT_EQ("Account 19", ControlTextOf(dialog, 264));
    PressButton(dialog, IDCANCEL);
  });
}

TEST_F(BankEditorTest, AnEditSurvivesSteppingAndCancelLeavesEveryRecordUnchanged) {
  const std::vector<std::string> before = RawBanks();
  RunEditor([](HWND dialog) {
    Step(dialog, 149, 3);
    SetControlText(dialog, 264, "Trust Account");
    SetControlText(dialog, 106, "01/15/26");
    PressButton(dialog, 149);
    EXPECT_EQ("Account 4", ControlTextOf(dialog, 264));
    PressButton(dialog, 148);
    EXPECT_EQ("3", Key(dialog));
    EXPECT_EQ("Trust Account", ControlTextOf(dialog, 264));
    EXPECT_EQ("01/15/26", ControlTextOf(dialog, 106));
    PressButton(dialog, IDCANCEL);
  });
  ExpectUnchangedExcept(before, {});
  EXPECT_STREQ("Account 3", gAccountRangeXfer.Accounts.GetStrings()[3].c_str());
}

TEST_F(BankEditorTest, OkWritesOnlyTheChangedKeyAndTheListsShowItsNewName) {
  const std::vector<std::string> before = RawBanks();
  RunEditor([](HWND dialog) {
    Step(dialog, 149, 3);
    SetControlText(dialog, 264, "Trust Account");
    PressButton(dialog, 149);
    Step(dialog, 148, 2);  // key 2 shown and stored again without a change
    PressButton(dialog, IDOK);
  });
  ExpectUnchangedExcept(before, {3});
  EXPECT_EQ("Trust Account", BankText(3, 2));
  EXPECT_EQ(kBlankDate, BankDate(3, 5));
  EXPECT_EQ(kBlankDate, BankDate(3, 6));
  for (TComboBoxData* list : {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts,
                              &gReportRangeXfer.Accounts, &gReconcileXfer.Accounts}) {
    ASSERT_EQ(20u, list->GetStrings().size());
    EXPECT_EQ("Trust Account", list->GetStrings()[3]);
    EXPECT_EQ("Account 4", list->GetStrings()[4]);
  }
}

TEST_F(BankEditorTest, AMissingKeyShowsEmptyAndEveryNameStaysOnItsKey) {
  {
    TPXRecord bank(gTables[kBankTable], true);
    bank.Clear();
    bank.SetShort(1, 7);
    ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ));
    ASSERT_TRUE(bank.Delete());
  }
  const std::vector<std::string> before = RawBanks();
  ASSERT_EQ("", before[7]);
  RunEditor([](HWND dialog) {
    Step(dialog, 149, 7);
    EXPECT_EQ("", ControlTextOf(dialog, 264));
    EXPECT_EQ("", ControlTextOf(dialog, 106));
    EXPECT_EQ("0.00", ControlTextOf(dialog, 102));
    PressButton(dialog, 149);
    EXPECT_EQ("Account 8", ControlTextOf(dialog, 264));
    Step(dialog, 149, 11);
    EXPECT_EQ("Account 19", ControlTextOf(dialog, 264));
    PressButton(dialog, IDOK);
  });
  ExpectUnchangedExcept(before, {7});
  EXPECT_EQ("", BankText(7, 2));
  EXPECT_EQ(kBlankDate, BankDate(7, 5));
  EXPECT_EQ("Account 8", BankText(8, 2));
}

TEST_F(BankEditorTest, DatesASecondStationWroteWhileTheEditorWasOpenSurviveOk) {
  const LONG close = DateOf(11, 30, 2025), balanced = DateOf(11, 29, 2025);
  RunEditor([&](HWND dialog) {
    EXPECT_EQ("done", RunSecondStation({"bank", "4", "set", "5", "l:" + std::to_string(close), "6",
                                        "l:" + std::to_string(balanced)}));
    Step(dialog, 149, 4);
    SetControlText(dialog, 432, "Harbor Savings");
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ("Harbor Savings", BankText(4, 3));
  EXPECT_EQ(close, BankDate(4, 5));
  EXPECT_EQ(balanced, BankDate(4, 6));
}

TEST_F(BankEditorTest, ALockedKeyIsNamedTheDialogStaysOpenAndTheOtherKeysAreSaved) {
  const std::vector<std::string> before = RawBanks();
  bool stayedOpen = false;
  RunEditor([&](HWND dialog) {
    Step(dialog, 149, 5);
    SetControlText(dialog, 264, "Locked Elsewhere");
    PressButton(dialog, 149);
    SetControlText(dialog, 264, "Saved Anyway");
    {
      SecondStationLock lock({"bank", "5"});
      ASSERT_EQ("held", lock.Answer());
      PressButton(dialog, IDOK);
      stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
      ASSERT_FALSE(Shown().empty());
      EXPECT_EQ("These bank accounts were not saved: 5", Shown().back().text);
      EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Shown().back().type & MB_ICONMASK);
      EXPECT_EQ("Saved Anyway", BankText(6, 2));
      EXPECT_EQ("Account 5", BankText(5, 2));
    }
    // The lock is gone: OK again writes key 5 alone.
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(stayedOpen);
  ExpectUnchangedExcept(before, {5, 6});
  EXPECT_EQ("Locked Elsewhere", BankText(5, 2));
}

TEST_F(BankEditorTest, Screenshot) {
  RunEditor([](HWND dialog) {
    Step(dialog, 149, 2);
    std::filesystem::path dir = std::filesystem::current_path() / "pictures";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(SaveWindowScreenshot(dialog, (dir / "bank_editor.png").string()));
    PressButton(dialog, IDCANCEL);
  });
}

}  // namespace
