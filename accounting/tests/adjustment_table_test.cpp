/*
** The adjustments list over real tables: what it lists (Reconciled, not Balanced; a date
** range from a day without entries), Add with and without an account, Modify changing only
** date, amount and description, Delete confirmed with the values disabled, and adjustments a
** second station balanced before or while the dialog was open.
*/
#include "accounting/account_transfers.h"
#include "accounting/adjustment.h"
#include "accounting/adjustment_table.h"
#include "accounting/ledger_editor_rows.h"
#include "accounting/ledger_refusals.h"
#include "ledger_editors_fixture.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "second_station.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kGrid = 500;

class AdjustmentTableTest : public LedgerEditorsTest {
 protected:
  void SetUp() override {
    LedgerEditorsTest::SetUp();
    for (const Entry& e : std::vector<Entry>{
             {"0", 'B', 1.0, 0, 3, 6, Jan(10), "", 25.00, "Service charge"},
             {"0", 'B', 2.0, 0, 3, 7, Jan(12), "", 5.00, "Balanced fee"},
             {"0", 'B', 3.0, 0, 3, 6, Jan(20), "", -3.50, "Interest"},
             {"0", 'B', 4.0, 0, 4, 6, Jan(15), "", 9.00, "Other bank"},
             {"A-1", 'C', 1.0, 101, 3, 2, Jan(8), "Harper Title", 100.00, "Payoff"},
             {"A-1", 'D', 1.5, 0, 3, 3, Jan(25), "Buyer", 1000.00, "Earnest money"},
         })
      PutEntry(e);
  }

  void RunTable(const std::function<void(HWND, TAdjustmentTable&)>& script) {
    TAdjustmentTable table(nullptr);
    driver_.OnDialog(kAdjustmentTableTemplate, [&](HWND dialog) { script(dialog, table); });
    table.Execute();
    EXPECT_EQ(0u, driver_.Pending());
  }
  static std::vector<TAdjustmentRow> Listed(HWND dialog) {
    return Rows<TAdjustmentRow>(FindControl(dialog, kGrid));
  }
  static std::vector<double> Seqs(HWND dialog) {
    std::vector<double> seqs;
    for (const TAdjustmentRow& row : Listed(dialog)) seqs.push_back(RowSeq(row));
    return seqs;
  }
  static int RowOf(HWND dialog, double seq) {
    std::vector<double> seqs = Seqs(dialog);
    for (size_t i = 0; i < seqs.size(); ++i)
      if (seqs[i] == seq) return static_cast<int>(i);
    return -1;
  }
  void Press(HWND dialog, int button, double seq, const std::function<void(HWND)>& script) {
    int row = RowOf(dialog, seq);
    ASSERT_GE(row, 0) << seq;
    SelectRow(FindControl(dialog, kGrid), row);
    driver_.OnDialog(kAdjustmentTemplate, script);
    PressButton(dialog, button);
  }
  static std::string Caption(HWND dialog) {
    char text[64] = "";
    GetWindowText(dialog, text, sizeof text);
    return text;
  }
  static std::vector<std::string> Station(double seq, std::initializer_list<std::string> more) {
    std::vector<std::string> args{"account", "0", "B", SeqArgument(seq)};
    args.insert(args.end(), more);
    return args;
  }

  DialogDriver driver_;
};

TEST_F(AdjustmentTableTest, ListsTheAccountsAdjustmentsThatAreNotBalanced) {
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    EXPECT_EQ((std::vector<double>{1.0, 3.0}), Seqs(dialog));
    std::vector<TAdjustmentRow> rows = Listed(dialog);
    EXPECT_STREQ("01/10/2026", rows[0].DateText);
    EXPECT_EQ(Jan(10), rows[0].Date);
    EXPECT_STREQ("0", rows[0].FileNum);
    EXPECT_STREQ("B", rows[0].Type);
    EXPECT_STREQ("Service charge", rows[0].Description);
    EXPECT_EQ(25.00, RowAmount(rows[0]));
    EXPECT_EQ(-3.50, RowAmount(rows[1]));
    EXPECT_EQ("ADJUSTMENTS: All", ControlTextOf(dialog, 101));
    EXPECT_EQ("Account 3", ControlTextOf(dialog, 264));
    EXPECT_TRUE(SaveWindowScreenshot(dialog, PicturePath("adjustments.png")));
    PressButton(dialog, IDOK);
  });
}

TEST_F(AdjustmentTableTest, ADateRangeFromADayWithoutEntriesListsTheAdjustmentsInsideIt) {
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    driver_.OnDialog(20942, [](HWND range) {
      EXPECT_EQ("Adjustments Range", Caption(range));
      EXPECT_FALSE(IsWindowEnabled(FindControl(range, 101)));
      EXPECT_FALSE(IsWindowEnabled(FindControl(range, 102)));
      EXPECT_FALSE(IsWindowEnabled(FindControl(range, 300)));
      PressDialogKey(range, 'T', Qt::AltModifier);
      SetControlText(range, 401, "01/11/26");  // no entry of any kind on that day
      SetControlText(range, 402, "01/31/26");
      PressButton(range, IDOK);
    });
    PressButton(dialog, 103);
    EXPECT_EQ((std::vector<double>{3.0}), Seqs(dialog));
    EXPECT_EQ("ADJUSTMENTS: Dates 01/11/2026 - 01/31/2026", ControlTextOf(dialog, 101));
    PressButton(dialog, IDOK);
  });
}

TEST_F(AdjustmentTableTest, AddStoresAReconciledAdjustmentOfTheAccountAndShowsItAtOnce) {
  const int before = EntryCount();
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    driver_.OnDialog(kAdjustmentTemplate, [](HWND add) {
      EXPECT_EQ("Add Adjustment Item", Caption(add));
      EXPECT_EQ("", ControlTextOf(add, 103));
      EXPECT_EQ("0.00", ControlTextOf(add, 105));
      EXPECT_EQ("", ControlTextOf(add, 104));
      SetControlText(add, 103, "Wire fee");
      SetControlText(add, 105, "15.00");
      SetControlText(add, 104, "01/28/26");
      PressButton(add, IDOK);
    });
    PressButton(dialog, 201);
    ASSERT_EQ(3u, Listed(dialog).size());
    const TAdjustmentRow row = Listed(dialog)[2];
    EXPECT_STREQ("Wire fee", row.Description);
    EXPECT_EQ(15.00, RowAmount(row));
    EXPECT_STREQ("01/28/2026", row.DateText);
    EXPECT_STREQ("0", row.FileNum);
    std::optional<TLedgerEntry> stored = StoredEntry("0", 'B', RowSeq(row));
    ASSERT_TRUE(stored.has_value());
    EXPECT_STREQ("0", stored->FileNum);
    EXPECT_STREQ("B", stored->Type);
    EXPECT_EQ(kStatusReconciled, stored->Status);
    EXPECT_EQ(0, stored->Number);
    EXPECT_STREQ("", stored->PayeeDepositor);
    EXPECT_EQ(3, stored->Bank);
    EXPECT_EQ(DateOf(1, 28, 2026), stored->Date);
    EXPECT_EQ(15.00, stored->Amount);
    EXPECT_STREQ("Wire fee", stored->Description);
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(before + 1, EntryCount());
}

TEST_F(AdjustmentTableTest, AddWithoutAnAccountAsksForOneAndStoresNothing) {
  gAccountRangeXfer.Accounts.Select(-1);
  const int before = EntryCount();
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    EXPECT_TRUE(Listed(dialog).empty());
    PressButton(dialog, 201);
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ("This operation requires that you first select an account.", Shown()[0].text);
    EXPECT_EQ("Zarne Message", Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Shown()[0].type & MB_ICONMASK);
    EXPECT_TRUE(Listed(dialog).empty());
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(1u, driver_.Opened().size());  // the list alone: the entry dialog never opened
  EXPECT_EQ(before, EntryCount());
}

// The store refuses writes: the table layer's box, and no row for an entry not stored.
TEST_F(AdjustmentTableTest, AFailedAddAppendsNoRow) {
  const std::string db = Root() + "/drive_c/ZARNE/DATA/ACCOUNT.DB";
  const int before = EntryCount();
  bool readOnly = false;
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    driver_.OnDialog(kAdjustmentTemplate, [&](HWND add) {
      SetControlText(add, 103, "Wire fee");
      SetControlText(add, 105, "15.00");
      readOnly = std::system(("chattr +i '" + db + "' 2>/dev/null").c_str()) == 0;
      PressButton(add, IDOK);
    });
    PressButton(dialog, 201);
    if (readOnly) std::system(("chattr -i '" + db + "'").c_str());
    if (readOnly) {
      EXPECT_EQ(2u, Listed(dialog).size());
      ASSERT_FALSE(Shown().empty());
      EXPECT_EQ("Database Error", Shown()[0].caption);
    }
    PressButton(dialog, IDOK);
  });
  if (!readOnly) GTEST_SKIP() << "the file system cannot make ACCOUNT.DB read-only";
  EXPECT_EQ(before, EntryCount());
}

TEST_F(AdjustmentTableTest, ModifyChangesOnlyTheDateAmountAndDescription) {
  const TLedgerEntry before = *StoredEntry("0", 'B', 1.0);
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    Press(dialog, 202, 1.0, [](HWND modify) {
      EXPECT_EQ("Modify Adjustment Item", Caption(modify));
      EXPECT_EQ("Service charge", ControlTextOf(modify, 103));
      EXPECT_EQ("25.00", ControlTextOf(modify, 105));
      EXPECT_EQ("01/10/26", ControlTextOf(modify, 104));
      SetControlText(modify, 103, "Monthly service charge");
      SetControlText(modify, 105, "27.50");
      SetControlText(modify, 104, "01/11/26");
      PressButton(modify, IDOK);
    });
    const TAdjustmentRow row = Listed(dialog)[RowOf(dialog, 1.0)];
    EXPECT_STREQ("Monthly service charge", row.Description);
    EXPECT_EQ(27.50, RowAmount(row));
    EXPECT_STREQ("01/11/2026", row.DateText);
    EXPECT_EQ(DateOf(1, 11, 2026), row.Date);
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
  const TLedgerEntry after = *StoredEntry("0", 'B', 1.0);
  EXPECT_STREQ("Monthly service charge", after.Description);
  EXPECT_EQ(27.50, after.Amount);
  EXPECT_EQ(DateOf(1, 11, 2026), after.Date);
  EXPECT_EQ(before.Status, after.Status);
  EXPECT_EQ(before.Bank, after.Bank);
  EXPECT_EQ(before.Number, after.Number);
  EXPECT_STREQ(before.PayeeDepositor, after.PayeeDepositor);
  EXPECT_STREQ(before.FileNum, after.FileNum);
  EXPECT_EQ(before.Seq, after.Seq);
}

TEST_F(AdjustmentTableTest, TheDeleteDialogShowsTheValuesDisabledAndCancelKeepsTheEntry) {
  const std::vector<BYTE> raw = RawRecord("0", 'B', 3.0);
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    Press(dialog, 203, 3.0, [](HWND remove) {
      EXPECT_EQ("Delete Adjustment Item", Caption(remove));
      EXPECT_EQ("Interest", ControlTextOf(remove, 103));
      EXPECT_EQ("-3.50", ControlTextOf(remove, 105));
      EXPECT_EQ("01/20/26", ControlTextOf(remove, 104));
      for (int id : {103, 104, 105}) EXPECT_FALSE(IsWindowEnabled(FindControl(remove, id))) << id;
      PressButton(remove, IDCANCEL);
    });
    EXPECT_EQ(raw, RawRecord("0", 'B', 3.0));
    EXPECT_GE(RowOf(dialog, 3.0), 0);
    Press(dialog, 203, 3.0, [](HWND remove) { PressButton(remove, IDOK); });
    EXPECT_TRUE(RawRecord("0", 'B', 3.0).empty());
    EXPECT_EQ(-1, RowOf(dialog, 3.0));
    EXPECT_FALSE(RawRecord("0", 'B', 1.0).empty());
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
}

TEST_F(AdjustmentTableTest, AnAdjustmentBalancedElsewhereIsRefusedAndLeavesTheList) {
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    // Balanced after the fill, before Modify: the entry dialog does not open.
    ASSERT_EQ("done", RunSecondStation(Station(1.0, {"set", "6", "i:7"})));
    std::vector<BYTE> raw = RawRecord("0", 'B', 1.0);
    SelectRow(FindControl(dialog, kGrid), RowOf(dialog, 1.0));
    PressButton(dialog, 202);
    EXPECT_EQ(raw, RawRecord("0", 'B', 1.0));
    EXPECT_EQ(-1, RowOf(dialog, 1.0));
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ(kEntryChangedElsewhere, Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Shown()[0].type & MB_ICONMASK);
    Boxes().Clear();

    // Balanced while the dialog is open: nothing written at OK.
    Press(dialog, 202, 3.0, [&](HWND modify) {
      ASSERT_EQ("done", RunSecondStation(Station(3.0, {"set", "6", "i:7"})));
      raw = RawRecord("0", 'B', 3.0);
      SetControlText(modify, 103, "Mine");
      PressButton(modify, IDOK);
    });
    EXPECT_EQ(raw, RawRecord("0", 'B', 3.0));
    EXPECT_EQ(-1, RowOf(dialog, 3.0));
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ(kEntryChangedElsewhere, Shown()[0].text);
    PressButton(dialog, IDOK);
  });
}

TEST_F(AdjustmentTableTest, AnAdjustmentDeletedElsewhereLeavesTheListWithItsMessage) {
  const int before = EntryCount();
  RunTable([&](HWND dialog, TAdjustmentTable&) {
    Press(dialog, 203, 1.0, [&](HWND remove) {
      ASSERT_EQ("done", RunSecondStation(Station(1.0, {"delete"})));
      PressButton(remove, IDOK);
    });
    EXPECT_EQ(-1, RowOf(dialog, 1.0));
    EXPECT_EQ(before - 1, EntryCount());
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ(kEntryDeletedElsewhere, Shown()[0].text);
    PressButton(dialog, IDOK);
  });
}

}  // namespace
