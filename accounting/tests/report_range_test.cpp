/*
** The report range dialog through the dialog driver: the state each report command opens it
** in, the pairs of edits switched by the range choices (reloaded from the record, not from
** what was typed), the ledger's disabled choices, and typed values arriving in the record.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting/report_range.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ReportRangeTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    gDefaultAccount = 4;
    LoadBankLists();
    UsePdfReportPrinter();
  }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(FindControl(dialog, id)); }
  static bool Checked(HWND dialog, int id) {
    return SendMessage(FindControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
};

TEST_F(ReportRangeTest, EveryCommandOpensOnAllWithEmptyDisabledPairsAndTheLastAccount) {
  gReportRangeXfer.Accounts.Select(7);  // chosen in an earlier run
  std::strcpy(gReportRangeXfer.FileFrom, "OLD");
  gReportRangeXfer.NumberFrom = 55;
  for (TReportCommandKind kind : {kCheckRegisterReport, kLedgerReport, kFileBalanceReport}) {
    DialogDriver driver;
    driver.OnDialog(20950, [kind](HWND dialog) {
      EXPECT_TRUE(Checked(dialog, 200)) << kind;
      EXPECT_TRUE(Checked(dialog, 234)) << kind;
      EXPECT_EQ(7, SendMessage(FindControl(dialog, 136), CB_GETCURSEL, 0, 0)) << kind;
      for (int id : {301, 302, 401, 402, 501, 502}) {
        EXPECT_FALSE(Enabled(dialog, id)) << kind << " " << id;
        EXPECT_EQ("", ControlTextOf(dialog, id)) << kind << " " << id;
      }
      EXPECT_EQ(kind != kLedgerReport, Enabled(dialog, 300)) << kind;
      EXPECT_EQ(kind == kCheckRegisterReport, Enabled(dialog, 500)) << kind;
      EXPECT_EQ(kind == kFileBalanceReport, !IsWindowVisible(FindControl(dialog, 401))) << kind;
      PressButton(dialog, IDCANCEL);
    });
    RunReportCommand(kind, nullptr);
    EXPECT_EQ(0u, PrintedPdfCount());
  }
}

TEST_F(ReportRangeTest, PairsAreReloadedFromTheRecordNotFromWhatWasTyped) {
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) {
    PressButton(dialog, 300);
    EXPECT_TRUE(Enabled(dialog, 301));
    EXPECT_EQ(FindControl(dialog, 301), GetFocus());
    SetControlText(dialog, 301, "TYPED");
    SetControlText(dialog, 302, "TYPED2");
    PressButton(dialog, 200);
    PressButton(dialog, 300);
    EXPECT_EQ("", ControlTextOf(dialog, 301));
    EXPECT_EQ("", ControlTextOf(dialog, 302));
    // Typed into every pair, then Date chosen: only the dates reach the record.
    SetControlText(dialog, 301, "F1");
    PressButton(dialog, 500);
    EXPECT_EQ(FindControl(dialog, 501), GetFocus());
    SetControlText(dialog, 501, "12");
    SetControlText(dialog, 502, "34");
    PressButton(dialog, 400);
    EXPECT_EQ(FindControl(dialog, 401), GetFocus());
    SetControlText(dialog, 401, "02/03/26");
    SetControlText(dialog, 402, "04/05/26");
    PressButton(dialog, IDCANCEL);
  });
  RunReportCommand(kCheckRegisterReport, nullptr);
}

TEST_F(ReportRangeTest, OkWithDateKeepsOnlyTheDatesAndTheAccount) {
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) {
    PressButton(dialog, 300);
    SetControlText(dialog, 301, "F1");
    SetControlText(dialog, 302, "F9");
    PressButton(dialog, 500);
    SetControlText(dialog, 501, "12");
    SetControlText(dialog, 502, "34");
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "02/03/26");
    SetControlText(dialog, 402, "04/05/26");
    SendMessage(FindControl(dialog, 136), CB_SETCURSEL, 11, 0);
    PressButton(dialog, IDOK);
  });
  RunReportCommand(kCheckRegisterReport, nullptr);
  const TReportRangeXfer& x = gReportRangeXfer;
  EXPECT_EQ(0u, x.RangeAll);
  EXPECT_EQ(1u, x.RangeDate);
  EXPECT_EQ(0u, x.RangeFile);
  EXPECT_EQ(0u, x.RangeNumber);
  EXPECT_EQ(1u, x.UseAccount);
  EXPECT_STREQ("", x.FileFrom);
  EXPECT_STREQ("", x.FileTo);
  EXPECT_EQ(DateOf(2, 3, 2026), x.DateFrom);
  EXPECT_EQ(DateOf(4, 5, 2026), x.DateTo);
  EXPECT_EQ(0, x.NumberFrom);
  EXPECT_EQ(0, x.NumberTo);
  EXPECT_EQ(11, x.Accounts.GetSelIndex());
  EXPECT_STREQ("Account 11", x.Accounts.GetSelection());
}

TEST_F(ReportRangeTest, TypedValuesArriveAtTheirPlacesInTheRecord) {
  struct Case {
    int radio;
    int from, to;
    const char *fromText, *toText;
  };
  for (const Case& c :
       {Case{300, 301, 302, "A-100", "Z-900"}, Case{500, 501, 502, "-7", "2147483647"}}) {
    DialogDriver driver;
    driver.OnDialog(20950, [&](HWND dialog) {
      PressButton(dialog, c.radio);
      SetControlText(dialog, c.from, c.fromText);
      SetControlText(dialog, c.to, c.toText);
      PressButton(dialog, 234);  // unchecked
      PressButton(dialog, IDOK);
    });
    RunReportCommand(kCheckRegisterReport, nullptr);
    const TReportRangeXfer& x = gReportRangeXfer;
    EXPECT_EQ(0u, x.UseAccount);
    EXPECT_EQ(0u, x.RangeAll);
    EXPECT_EQ(c.radio == 300 ? 1u : 0u, x.RangeFile);
    EXPECT_EQ(c.radio == 500 ? 1u : 0u, x.RangeNumber);
    if (c.radio == 300) {
      EXPECT_STREQ("A-100", x.FileFrom);
      EXPECT_STREQ("Z-900", x.FileTo);
      EXPECT_EQ(0, x.NumberTo);
    } else {
      EXPECT_EQ(-7, x.NumberFrom);
      EXPECT_EQ(2147483647, x.NumberTo);
      EXPECT_STREQ("", x.FileFrom);
    }
    EXPECT_EQ(kBlankDate, x.DateFrom);
    EXPECT_EQ(kBlankDate, x.DateTo);
    ClearPrintedPdfs();
  }
}

}  // namespace
