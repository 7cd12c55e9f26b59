// The posting dialog: deposits picked by real clicks on their cells, posted with a date or
// set back to Unposted after a question, closed periods left alone, and the proposed date.
#include "accounting/post_deposits.h"
#include "disburse_fixture.h"
#include "grid/tessel_codes.h"
#include "platform/testing/screenshot.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <filesystem>

namespace {

class PostDepositsTest : public DisburseTest {
 protected:
  static void PutSummary(const char* file, LONG closing) {
    TPXRecord summary(gTables[kSummary1Table], true);
    summary.Clear();
    summary.SetString(1, file);
    summary.SetLong(2, closing);
    ASSERT_TRUE(summary.Post());
  }
  void RunPost(const char* file, const std::function<void(HWND)>& script) {
    TPostDeposits dialog(nullptr);
    CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, file);
    Driver().OnDialog(kPostDepositsTemplate, [&](HWND hwnd) {
      script(hwnd);
      PressButton(hwnd, IDOK);
    });
    dialog.Execute();
  }
  static HWND GridOf(HWND dialog) { return FindControl(dialog, 200); }
  static void ClickCell(HWND dialog, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ClickGridRow(dialog, GridOf(dialog), row, modifiers);
  }
  static bool Selected(HWND dialog, int row) {
    return SendMessage(GridOf(dialog), TSM_ISROWSELECTED, 0, row) == 1;
  }
  /* The date edit's own form: two-digit years. */
  static std::string EditText(LONG date) {
    int month, day, year;
    DecodeDate(date, month, day, year);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", month, day, year % 100);
    return text;
  }
  static std::string DateText(LONG date) {
    char text[16];
    FormatShortDate(text, date, sizeof text);
    return text;
  }
};

TEST_F(PostDepositsTest, ClickedDepositsArePostedAndClosedOnesStay) {
  const LONG closing = DateOf(7, 3, 2024);
  PutSummary("POST", closing);
  for (int i = 0; i < 3; ++i) Put("POST", 'D', 738000.1 + 0.1 * i, 3, 100.0 * (i + 1));
  Put("POST", 'D', 738000.7, 6, 40.0, 0, DateOf(1, 2, 2024));  // Reconciled
  Put("POST", 'D', 738000.8, 7, 50.0, 0, DateOf(1, 2, 2024));  // Balanced
  Put("POST", 'C', 738000.9, 0, 70.0);                         // a check: not listed
  const std::vector<BYTE> reconciled = RawRecord("POST", 'D', 738000.7);
  const std::vector<BYTE> balanced = RawRecord("POST", 'D', 738000.8);
  const LONG postedOn = DateOf(7, 4, 2024);
  const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(pictures);
  RunPost("POST", [&](HWND dialog) {
    ASSERT_EQ(RowCount(dialog, 200), 5);
    EXPECT_EQ(ControlTextOf(dialog, 101), "POST");
    EXPECT_EQ(ControlTextOf(dialog, 102), EditText(closing));
    for (int row : {0, 1, 2}) ClickCell(dialog, row);
    EXPECT_TRUE(Selected(dialog, 0) && Selected(dialog, 1) && Selected(dialog, 2));
    ClickCell(dialog, 1);  // a click on a selected cell deselects it
    EXPECT_FALSE(Selected(dialog, 1));
    ClickCell(dialog, 1);
    EXPECT_TRUE(Selected(dialog, 1));
    ClickCell(dialog, 3, Qt::ShiftModifier);  // the grid's own toggle: flipped once only
    EXPECT_TRUE(Selected(dialog, 3));
    ClickCell(dialog, 4);
    EXPECT_EQ(SendMessage(GridOf(dialog), TSM_GETSELROWCOUNT, 0, 0), 5);
    SaveWindowScreenshot(dialog, (pictures / "post_deposits_selected.png").string());
    SetControlText(dialog, 102, DateText(postedOn));
    PressButton(dialog, 319);
    for (int row : {0, 1, 2}) {
      EXPECT_FALSE(Selected(dialog, row)) << row;
      TPostDepositsRow values{};
      SendMessage(GridOf(dialog), TSM_SETCURSOR, 0, row);
      SendMessage(GridOf(dialog), TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values));
      EXPECT_EQ(values.Status, 5);
      EXPECT_EQ(values.DateText, DateText(postedOn));
    }
    EXPECT_TRUE(Selected(dialog, 3) && Selected(dialog, 4));
  });
  for (int i = 0; i < 3; ++i) {
    auto stored = StoredEntry("POST", 'D', 738000.1 + 0.1 * i);
    EXPECT_EQ(stored->Status, 5);
    EXPECT_EQ(stored->Date, postedOn);
    EXPECT_EQ(stored->Amount, 100.0 * (i + 1));
  }
  EXPECT_EQ(RawRecord("POST", 'D', 738000.7), reconciled);
  EXPECT_EQ(RawRecord("POST", 'D', 738000.8), balanced);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "This deposit has been reconciled and can't be posted.");
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(PostDepositsTest, ABlankDateAsksBeforeSettingDepositsBackToUnposted) {
  PutSummary("UNPOST", kBlankDate);  // a statement without a closing date: an empty proposal
  const LONG postedOn = DateOf(3, 1, 2024);
  Put("UNPOST", 'D', 739000.1, 5, 10.0, 0, postedOn);
  Put("UNPOST", 'D', 739000.2, 5, 20.0, 0, postedOn);
  const std::vector<BYTE> before = RawRecord("UNPOST", 'D', 739000.1);
  Boxes().QueueAnswer(IDNO);
  Boxes().QueueAnswer(IDYES);
  RunPost("UNPOST", [&](HWND dialog) {
    EXPECT_EQ(ControlTextOf(dialog, 102), "");
    ClickCell(dialog, 0);
    ClickCell(dialog, 1);
    PressButton(dialog, 319);
    EXPECT_EQ(RawRecord("UNPOST", 'D', 739000.1), before);
    EXPECT_TRUE(Selected(dialog, 0) && Selected(dialog, 1));
    PressButton(dialog, 319);
    EXPECT_FALSE(Selected(dialog, 0) || Selected(dialog, 1));
  });
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].text, "Set the 2 selected deposits back to Unposted?");
  for (double seq : {739000.1, 739000.2}) {
    EXPECT_EQ(StoredEntry("UNPOST", 'D', seq)->Status, 3);
    EXPECT_EQ(StoredEntry("UNPOST", 'D', seq)->Date, kBlankDate);
  }
}

TEST_F(PostDepositsTest, WithoutAStatementRecordTodayIsProposed) {
  Put("NOSUM", 'D', 740000.1, 3, 10.0);
  RunPost("NOSUM", [&](HWND dialog) {
    EXPECT_EQ(RowCount(dialog, 200), 1);
    EXPECT_EQ(ControlTextOf(dialog, 102), EditText(TodayDate()));
  });
  RunPost("", [&](HWND dialog) {
    EXPECT_EQ(RowCount(dialog, 200), 0);
    PressButton(dialog, 319);
  });
  EXPECT_TRUE(Shown().empty());
}

TEST_F(PostDepositsTest, FileNumberStartsFromTheShownNumberAndRefills) {
  Put("FIRST", 'D', 747000.1, 3, 10.0);
  Put("SECOND", 'D', 747000.2, 3, 20.0);
  Put("SECOND", 'D', 747000.3, 3, 30.0);
  PutParty(0, "SECOND", "Buyer Two");
  std::string startedWith;
  Driver().OnDialogCaption("File Select", [&](HWND files) {
    startedWith = ControlTextOf(files, 101);
    SetControlText(files, 101, "SECOND");
    PressButton(files, IDOK);
  });
  RunPost("FIRST", [&](HWND dialog) {
    EXPECT_EQ(RowCount(dialog, 200), 1);
    PressButton(dialog, 105);
    EXPECT_EQ(ControlTextOf(dialog, 101), "SECOND");
    EXPECT_EQ(RowCount(dialog, 200), 2);
  });
  EXPECT_EQ(startedWith, "FIRST");
  EXPECT_EQ(Driver().Pending(), 0u);
}

}  // namespace
