/*
** The account editor over real tables: what each range lists and in what order, the range
** texts, the entry dialog per kind, and edits written under the lock: moved and re-dated
** rows, the record's amount shown, a second station's change or lock while the dialog is
** open, and statuses its kind does not have kept as they are.
*/
#include "accounting/account_editor.h"
#include "accounting/account_transfers.h"
#include "accounting/ledger_editor_rows.h"
#include "accounting/ledger_refusals.h"
#include "grid/tessel_codes.h"
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

constexpr int kGrid = 106;

class AccountEditorTest : public LedgerEditorsTest {
 protected:
  void SetUp() override {
    LedgerEditorsTest::SetUp();
    const LONG blank = kBlankDate;
    for (const Entry& e : std::vector<Entry>{
             {"A-1", 'C', 1.0, 101, 3, 2, Jan(5), "Harper Title", 100.00, "Payoff"},
             {"A-1", 'C', 2.0, 0, 3, 0, blank, "County Clerk", 50.25, "Recording"},
             {"A1", 'C', 1.0, 205, 3, 4, DateOf(2, 1, 2026), "Void check", 0.0, "Voided"},
             {"B-7", 'C', 3.0, 150, 3, 7, Jan(20), "Roof Co", 75.10, "Repair"},
             {"A-1", 'C', 5.0, 120, 4, 2, Jan(6), "Other bank", 1.0, ""},
             {"A-1", 'C', 6.0, 130, -1, 2, Jan(7), "No bank", 2.0, ""},
             {"C-2", 'C', 8.0, 160, 3, 3, Jan(22), "Odd", 10.00, "Odd status"},
             {"C-3", 'C', 9.0, 170, 3, 9, Jan(23), "Corrupt", 11.00, "Corrupt status"},
             {"C-4", 'C', 10.0, 180, 25, 2, Jan(24), "Bank 25", 3.0, ""},
             {"A-1", 'D', 1.5, 0, 3, 3, Jan(6), "Buyer", 1000.00, "Earnest money"},
             {"B-7", 'D', 2.5, 0, 3, 5, Jan(25), "Lender", 200.00, "Loan"},
             {"0", 'B', 1.25, 0, 3, 6, Jan(31), "", 12.34, "Bank fee"},
         })
      PutEntry(e);
  }

  /* Runs the editor; the script gets the dialog and the editor object. */
  void RunEditor(const std::function<void(HWND, TAccountEditor&)>& script) {
    TAccountEditor editor(nullptr);
    driver_.OnDialog(kAccountEditorTemplate, [&](HWND dialog) { script(dialog, editor); });
    editor.Execute();
    EXPECT_EQ(0u, driver_.Pending());
  }
  /* Sets the range as the range dialog would have, then refills. */
  static void Range(TAccountEditor& editor, char kind, char mode, LONG from = 0, LONG to = 0,
                    const char* fileFrom = "", const char* fileTo = "") {
    TAccountRangeXfer& r = gAccountRangeXfer;
    r.Check = kind == 'C', r.Deposits = kind == 'D', r.Adjustments = kind == 'B';
    r.All = mode == 'A', r.File = mode == 'F', r.Date = mode == 'T', r.Number = mode == 'N';
    std::strcpy(r.FileFrom, fileFrom);
    std::strcpy(r.FileTo, fileTo);
    r.DateFrom = mode == 'T' ? from : kBlankDate;
    r.DateTo = mode == 'T' ? to : kBlankDate;
    r.NumberFrom = mode == 'N' ? from : 0;
    r.NumberTo = mode == 'N' ? to : 0;
    editor.FillGrid();
  }
  static std::vector<TAccountEditorRow> Listed(HWND dialog) {
    return Rows<TAccountEditorRow>(FindControl(dialog, kGrid));
  }
  /* "file/seq" of each row. */
  static std::vector<std::string> Keys(HWND dialog) {
    std::vector<std::string> keys;
    for (const TAccountEditorRow& row : Listed(dialog)) {
      char text[40];
      std::snprintf(text, sizeof text, "%s/%g", row.FileNum, RowSeq(row));
      keys.push_back(text);
    }
    return keys;
  }
  static int RowOf(HWND dialog, const char* file, double seq) {
    std::vector<TAccountEditorRow> rows = Listed(dialog);
    for (size_t i = 0; i < rows.size(); ++i)
      if (std::strcmp(rows[i].FileNum, file) == 0 && RowSeq(rows[i]) == seq)
        return static_cast<int>(i);
    return -1;
  }
  /* Selects the entry's row and presses Edit, with the entry dialog's script queued. */
  void Edit(HWND dialog, const char* file, double seq, const std::function<void(HWND)>& script) {
    int row = RowOf(dialog, file, seq);
    ASSERT_GE(row, 0) << file << "/" << seq;
    SelectRow(FindControl(dialog, kGrid), row);
    driver_.OnDialog(20941, script);
    PressButton(dialog, 432);
  }
  static std::vector<std::string> StatusItems(HWND dialog) {
    std::vector<std::string> items;
    HWND list = FindControl(dialog, 101);
    const LRESULT count = SendMessage(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[32] = "";
      SendMessage(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  static bool Visible(HWND dialog, int id) { return IsWindowVisible(FindControl(dialog, id)); }
  static std::vector<std::string> StationArgs(const char* file, char type, double seq) {
    return {"account", file, std::string(1, type), SeqArgument(seq)};
  }
  static std::vector<std::string> With(std::vector<std::string> args,
                                       std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
    return args;
  }

  DialogDriver driver_;
};

using KeyList = std::vector<std::string>;

TEST_F(AccountEditorTest, OpeningListsNothingUntilARangeIsSetAndTheStaticsNameTheRange) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    EXPECT_TRUE(Listed(dialog).empty());
    EXPECT_EQ("CHECKS: Files  - ", ControlTextOf(dialog, 101));
    EXPECT_EQ("Account 3", ControlTextOf(dialog, 264));
    Range(editor, 'D', 'A');
    EXPECT_EQ("DEPOSITS: All", ControlTextOf(dialog, 101));
    Range(editor, 'B', 'T', Jan(2), DateOf(3, 4, 2026));
    EXPECT_EQ("ADJUSTMENTS: Dates 01/02/2026 - 03/04/2026", ControlTextOf(dialog, 101));
    Range(editor, 'C', 'N', 100, 250);
    EXPECT_EQ("CHECKS: Check Numbers 100 - 250", ControlTextOf(dialog, 101));
    Range(editor, 'C', 'F', 0, 0, "A-1", "B-7");
    EXPECT_EQ("CHECKS: Files A-1 - B-7", ControlTextOf(dialog, 101));
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, EachRangeListsTheAccountsEntriesOfTheKindInTheOrderOfItsIndex) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    // All: primary-key order, Void and Balanced included, other banks (4, -1, 25) left out.
    Range(editor, 'C', 'A');
    EXPECT_EQ((KeyList{"A-1/1", "A-1/2", "A1/1", "B-7/3", "C-2/8", "C-3/9"}), Keys(dialog));
    std::vector<TAccountEditorRow> rows = Listed(dialog);
    EXPECT_EQ(101, rows[0].Number);
    EXPECT_STREQ("01/05/2026", rows[0].DateText);
    EXPECT_STREQ("Printed", rows[0].StatusText);
    EXPECT_EQ(100.00, RowAmount(rows[0]));
    EXPECT_STREQ("C", rows[0].Type);
    EXPECT_STREQ("", rows[1].DateText);
    EXPECT_STREQ("Void", rows[2].StatusText);
    EXPECT_STREQ("Balanced", rows[3].StatusText);
    EXPECT_STREQ("", rows[5].StatusText);  // status 9 names nothing
    Range(editor, 'D', 'A');
    EXPECT_EQ((KeyList{"A-1/1.5", "B-7/2.5"}), Keys(dialog));
    Range(editor, 'B', 'A');
    EXPECT_EQ((KeyList{"0/1.25"}), Keys(dialog));

    // Dates: from the first entry at or after the from-date, whether or not one carries it.
    for (LONG from : {Jan(4), Jan(5)}) {
      Range(editor, 'C', 'T', from, Jan(31));
      EXPECT_EQ((KeyList{"A-1/1", "B-7/3", "C-2/8", "C-3/9"}), Keys(dialog)) << from;
    }
    // A blank date-to is below every date: only blank-dated entries come before it.
    Range(editor, 'C', 'T', kBlankDate, kBlankDate);
    EXPECT_EQ((KeyList{"A-1/2"}), Keys(dialog));
    // Numbers: at or after the from-number, in number order.
    Range(editor, 'C', 'N', 102, 200);
    EXPECT_EQ((KeyList{"B-7/3", "C-2/8", "C-3/9"}), Keys(dialog));
    // Files compare byte by byte, the index's order: "A-1" to "A1" does not end at "A-1".
    Range(editor, 'C', 'F', 0, 0, "A-1", "A1");
    EXPECT_EQ((KeyList{"A-1/1", "A-1/2", "A1/1"}), Keys(dialog));
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, EmptyListingsShowNoBox) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    // After the last entry, bounds in the wrong order, and no account at all.
    Range(editor, 'C', 'T', DateOf(6, 1, 2026), DateOf(7, 1, 2026));
    EXPECT_TRUE(Listed(dialog).empty());
    Range(editor, 'C', 'N', 5000, 6000);
    EXPECT_TRUE(Listed(dialog).empty());
    Range(editor, 'C', 'F', 0, 0, "B-7", "A-1");
    EXPECT_TRUE(Listed(dialog).empty());
    Range(editor, 'C', 'T', Jan(31), Jan(1));
    EXPECT_TRUE(Listed(dialog).empty());
    gAccountRangeXfer.Accounts.Select(-1);
    Range(editor, 'C', 'A');
    EXPECT_TRUE(Listed(dialog).empty());
    EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, TheEntryDialogOffersTheStatusesOfTheEntrysKind) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    Edit(dialog, "A-1", 1.0, [](HWND entry) {
      EXPECT_EQ((std::vector<std::string>{"Ready", "Escrow", "Printed", "Void", "Reconciled",
                                          "Balanced"}),
                StatusItems(entry));
      EXPECT_EQ("Printed", ControlTextOf(entry, 101));
      EXPECT_EQ("Payee", ControlTextOf(entry, 334));
      for (int id : {103, 334, 106, 335}) EXPECT_TRUE(Visible(entry, id)) << id;
      EXPECT_EQ("Harper Title", ControlTextOf(entry, 103));
      EXPECT_EQ("Payoff", ControlTextOf(entry, 104));
      EXPECT_EQ("101", ControlTextOf(entry, 106));
      EXPECT_EQ("01/05/26", ControlTextOf(entry, 105));
      EXPECT_EQ("Account 3", ControlTextOf(entry, 136));
      PressButton(entry, IDCANCEL);
    });
    Range(editor, 'D', 'A');
    Edit(dialog, "A-1", 1.5, [](HWND entry) {
      EXPECT_EQ((std::vector<std::string>{"Unposted", "Posted", "Reconciled", "Balanced"}),
                StatusItems(entry));
      EXPECT_EQ("Unposted", ControlTextOf(entry, 101));
      EXPECT_EQ("Depositor", ControlTextOf(entry, 334));
      EXPECT_TRUE(Visible(entry, 103));
      EXPECT_FALSE(Visible(entry, 106));
      EXPECT_FALSE(Visible(entry, 335));
      EXPECT_EQ("1,000.00", ControlTextOf(entry, 102));
      EXPECT_TRUE(SaveWindowScreenshot(entry, PicturePath("edit_account_record_deposit.png")));
      PressButton(entry, IDCANCEL);
    });
    Range(editor, 'B', 'A');
    Edit(dialog, "0", 1.25, [](HWND entry) {
      EXPECT_EQ((std::vector<std::string>{"Reconciled", "Balanced"}), StatusItems(entry));
      for (int id : {103, 334, 106, 335}) EXPECT_FALSE(Visible(entry, id)) << id;
      PressButton(entry, IDCANCEL);
    });
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, AClickedRowAndAltEOpenThatEntry) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    HWND grid = FindControl(dialog, kGrid);
    const int row = RowOf(dialog, "B-7", 3.0);
    SendMessage(grid, TSM_SETCURSOR, 0, row);
    RECT cell{};
    ASSERT_EQ(0, SendMessage(grid, TSM_GETCELLRECT, TSREF_CURSOR, reinterpret_cast<LPARAM>(&cell)));
    Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PumpDialogMessages(dialog);
    EXPECT_EQ(row, SendMessage(grid, TSM_GETSELROW, 0, 0));
    bool opened = false;
    driver_.OnDialog(20941, [&](HWND entry) {
      opened = true;
      EXPECT_EQ("Roof Co", ControlTextOf(entry, 103));
      EXPECT_EQ("Balanced", ControlTextOf(entry, 101));
      PressButton(entry, IDCANCEL);
    });
    PressDialogKey(dialog, 'E', Qt::AltModifier);
    EXPECT_TRUE(opened);
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, AnEntryMovedOrReDatedOutOfTheListingLeavesItsRow) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    Edit(dialog, "A-1", 1.0, [](HWND entry) {
      SendMessage(FindControl(entry, 136), CB_SETCURSEL, 5, 0);
      PressButton(entry, IDOK);
    });
    EXPECT_EQ(-1, RowOf(dialog, "A-1", 1.0));
    EXPECT_EQ(5, StoredEntry("A-1", 'C', 1.0)->Bank);
    // All and file modes: a re-dated entry stays, with its new date shown.
    Edit(dialog, "B-7", 3.0, [](HWND entry) {
      SetControlText(entry, 105, "02/15/26");
      PressButton(entry, IDOK);
    });
    int row = RowOf(dialog, "B-7", 3.0);
    ASSERT_GE(row, 0);
    EXPECT_STREQ("02/15/2026", Listed(dialog)[row].DateText);
    Range(editor, 'C', 'F', 0, 0, "A", "Z");
    Edit(dialog, "B-7", 3.0, [](HWND entry) {
      SetControlText(entry, 105, "01/20/26");
      PressButton(entry, IDOK);
    });
    EXPECT_GE(RowOf(dialog, "B-7", 3.0), 0);
    // Date mode: re-dated out of the range, the row goes; inside it, it stays.
    Range(editor, 'C', 'T', Jan(1), Jan(31));
    Edit(dialog, "C-2", 8.0, [](HWND entry) {
      SetControlText(entry, 105, "01/30/26");
      PressButton(entry, IDOK);
    });
    EXPECT_GE(RowOf(dialog, "C-2", 8.0), 0);
    Edit(dialog, "B-7", 3.0, [](HWND entry) {
      SetControlText(entry, 105, "02/15/26");
      PressButton(entry, IDOK);
    });
    EXPECT_EQ(-1, RowOf(dialog, "B-7", 3.0));
    EXPECT_EQ(DateOf(2, 15, 2026), StoredEntry("B-7", 'C', 3.0)->Date);
    // Number mode: a number outside the range.
    Range(editor, 'C', 'N', 100, 200);
    Edit(dialog, "C-2", 8.0, [](HWND entry) {
      SetControlText(entry, 106, "900");
      PressButton(entry, IDOK);
    });
    EXPECT_EQ(-1, RowOf(dialog, "C-2", 8.0));
    EXPECT_EQ(900, StoredEntry("C-2", 'C', 8.0)->Number);
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, AnEditChangesOnlyWhatTheUserChangedAndKeepsAStatusItsKindLacks) {
  const TLedgerEntry before = *StoredEntry("A-1", 'C', 1.0);
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    Edit(dialog, "A-1", 1.0, [](HWND entry) {
      SetControlText(entry, 104, "Payoff to lender");
      SetControlText(entry, 102, "123.45");
      SendMessage(FindControl(entry, 101), CB_SETCURSEL, 3, 0);  // Void
      PressButton(entry, IDOK);
    });
    int row = RowOf(dialog, "A-1", 1.0);
    ASSERT_GE(row, 0);
    EXPECT_STREQ("Void", Listed(dialog)[row].StatusText);
    EXPECT_EQ(123.45, RowAmount(Listed(dialog)[row]));
    // A check stored as Unposted (3), and one with the corrupt status 9: the list has no
    // selection, and the status stays as stored.
    for (double seq : {8.0, 9.0}) {
      const char* file = seq == 8.0 ? "C-2" : "C-3";
      Edit(dialog, file, seq, [](HWND entry) {
        EXPECT_EQ(-1, SendMessage(FindControl(entry, 101), CB_GETCURSEL, 0, 0));
        SetControlText(entry, 104, "New text");
        PressButton(entry, IDOK);
      });
      EXPECT_EQ(seq == 8.0 ? 3 : 9, StoredEntry(file, 'C', seq)->Status);
      EXPECT_STREQ("New text", StoredEntry(file, 'C', seq)->Description);
    }
    PressButton(dialog, IDOK);
  });
  const TLedgerEntry after = *StoredEntry("A-1", 'C', 1.0);
  EXPECT_STREQ("Payoff to lender", after.Description);
  EXPECT_EQ(123.45, after.Amount);
  EXPECT_EQ(kStatusVoid, after.Status);
  EXPECT_STREQ(before.PayeeDepositor, after.PayeeDepositor);
  EXPECT_EQ(before.Number, after.Number);
  EXPECT_EQ(before.Date, after.Date);
  EXPECT_EQ(before.Bank, after.Bank);
}

TEST_F(AccountEditorTest, TheDialogShowsTheAmountASecondStationStoredAfterTheFill) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    ASSERT_EQ("done",
              RunSecondStation(With(StationArgs("A-1", 'C', 1.0), {"set", "10", "d:999.99"})));
    const std::vector<BYTE> raw = RawRecord("A-1", 'C', 1.0);
    Edit(dialog, "A-1", 1.0, [](HWND entry) {
      EXPECT_EQ("999.99", ControlTextOf(entry, 102));
      PressButton(entry, IDOK);  // nothing changed: nothing written
    });
    EXPECT_EQ(raw, RawRecord("A-1", 'C', 1.0));
    EXPECT_TRUE(Shown().empty());
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, ASecondStationsChangeWhileTheDialogIsOpenWinsAndTheRowShowsIt) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    // A text field changed elsewhere counts as much as the amount.
    for (const char* change : {"d:555.55", "s:Changed elsewhere"}) {
      const bool amount = change[0] == 'd';
      std::vector<BYTE> raw;
      Edit(dialog, "A-1", 1.0, [&](HWND entry) {
        ASSERT_EQ("done", RunSecondStation(With(StationArgs("A-1", 'C', 1.0),
                                                {"set", amount ? "10" : "8", change})));
        raw = RawRecord("A-1", 'C', 1.0);
        SetControlText(entry, 104, "Mine");
        PressButton(entry, IDOK);
      });
      EXPECT_EQ(raw, RawRecord("A-1", 'C', 1.0)) << change;
      ASSERT_FALSE(Shown().empty());
      EXPECT_EQ(kEntryChangedElsewhere, Shown().back().text);
      EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), Shown().back().type & MB_ICONMASK);
      EXPECT_STREQ("Payoff", StoredEntry("A-1", 'C', 1.0)->Description);
      EXPECT_EQ(555.55, RowAmount(Listed(dialog)[RowOf(dialog, "A-1", 1.0)]));
    }
    // Moved to another account elsewhere: refreshed means gone from this listing.
    Edit(dialog, "B-7", 3.0, [&](HWND entry) {
      ASSERT_EQ("done", RunSecondStation(With(StationArgs("B-7", 'C', 3.0), {"set", "5", "i:9"})));
      SetControlText(entry, 104, "Mine");
      PressButton(entry, IDOK);
    });
    EXPECT_EQ(-1, RowOf(dialog, "B-7", 3.0));
    EXPECT_STREQ("Repair", StoredEntry("B-7", 'C', 3.0)->Description);
    PressButton(dialog, IDOK);
  });
}

TEST_F(AccountEditorTest, AnEntryDeletedOrLockedElsewhereIsNotWritten) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    std::vector<BYTE> raw = RawRecord("A-1", 'C', 2.0);
    {
      // Held from before the dialog until its OK has been handled.
      SecondStationLock lock(StationArgs("A-1", 'C', 2.0));
      ASSERT_EQ("held", lock.Answer());
      Edit(dialog, "A-1", 2.0, [&](HWND entry) {
        SetControlText(entry, 104, "Mine");
        PressButton(entry, IDOK);
      });
    }
    EXPECT_EQ(raw, RawRecord("A-1", 'C', 2.0));
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ("Database Error", Shown().front().caption);
    EXPECT_GE(RowOf(dialog, "A-1", 2.0), 0);
    Boxes().Clear();

    const int before = EntryCount();
    Edit(dialog, "A1", 1.0, [&](HWND entry) {
      ASSERT_EQ("done", RunSecondStation(With(StationArgs("A1", 'C', 1.0), {"delete"})));
      SetControlText(entry, 104, "Mine");
      PressButton(entry, IDOK);
    });
    EXPECT_EQ(before - 1, EntryCount());
    EXPECT_TRUE(RawRecord("A1", 'C', 1.0).empty());
    EXPECT_EQ(-1, RowOf(dialog, "A1", 1.0));
    ASSERT_EQ(1u, Shown().size());
    EXPECT_EQ(kEntryDeletedElsewhere, Shown()[0].text);
    PressButton(dialog, IDOK);
  });
}

// The store refuses writes: the table layer's box, and the row stays as the record is.
TEST_F(AccountEditorTest, AFailedWriteLeavesTheRowAsItWas) {
  const std::string db = Root() + "/drive_c/ZARNE/DATA/ACCOUNT.DB";
  bool readOnly = false;
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    const std::vector<BYTE> raw = RawRecord("A-1", 'C', 1.0);
    Edit(dialog, "A-1", 1.0, [&](HWND entry) {
      SendMessage(FindControl(entry, 136), CB_SETCURSEL, 5, 0);
      SetControlText(entry, 102, "1.00");
      readOnly = std::system(("chattr +i '" + db + "' 2>/dev/null").c_str()) == 0;
      PressButton(entry, IDOK);
    });
    if (readOnly) std::system(("chattr -i '" + db + "'").c_str());
    if (readOnly) {
      ASSERT_FALSE(Shown().empty());
      EXPECT_EQ("Database Error", Shown()[0].caption);
      EXPECT_EQ(raw, RawRecord("A-1", 'C', 1.0));
      int row = RowOf(dialog, "A-1", 1.0);
      ASSERT_GE(row, 0);
      EXPECT_EQ(100.00, RowAmount(Listed(dialog)[row]));
    }
    PressButton(dialog, IDOK);
  });
  if (!readOnly) GTEST_SKIP() << "the file system cannot make ACCOUNT.DB read-only";
}

TEST_F(AccountEditorTest, Screenshot) {
  RunEditor([&](HWND dialog, TAccountEditor& editor) {
    Range(editor, 'C', 'A');
    SelectRow(FindControl(dialog, kGrid), 1);
    EXPECT_TRUE(SaveWindowScreenshot(dialog, PicturePath("account_editor_checks.png")));
    PressButton(dialog, IDOK);
  });
}

}  // namespace
