/*
** The ledger and the file balance report on one sample ledger (figures from
** expected/range_reports_sample.py): what each lists and counts, the starting, ending and
** total lines, multi-account and adjustment rows, suppression, and the closing line that
** must stand alone on a page of its own when the rows fill the page.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

class RangeReportsTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    PutBank(1, "Trust One");
    PutBank(2, "Trust Two");
    gDefaultAccount = 1;
    LoadBankLists();
    UsePdfReportPrinter();
  }

  std::string Print(TReportCommandKind kind, DialogDriver::Script fill = {}) {
    DialogDriver driver;
    driver.OnDialog(20950, [fill](HWND dialog) {
      if (fill) fill(dialog);
      PressButton(dialog, IDOK);
    });
    RunReportCommand(kind, nullptr);
    EXPECT_EQ(0u, driver.Pending());
    return PrintedPdf();
  }

  void PutSample() {
    auto d = [](int m, int day) { return DateOf(m, day, 2026); };
    PutEntry({"200", 'D', 1, 0, 1, 5, d(1, 2), "Buyer deposit & co", 10000.00});
    PutEntry({"200", 'C', 2, 3001, 1, 2, d(1, 3), "Title Co", 2500.25});
    PutEntry({"200", 'C', 3, 3002, 1, 4, d(1, 4), "Voided", 0});
    PutEntry({"200", 'C', 4, 3003, 1, 0, d(1, 4), "Ready one", 11});
    PutEntry({"200", 'C', 5, 3004, 1, 1, d(1, 4), "Escrow one", 12});
    PutEntry({"200", 'D', 6, 0, 1, 3, d(1, 5), "Unposted dep", 700});
    PutEntry({"0", 'B', 7, 0, 1, 5, d(1, 6), "", -12.34});
    PutEntry({"201", 'D', 8, 0, 1, 6, kBlankDate, "Blank dated", 300.10});
    PutEntry({"201", 'C', 9, 3005, 1, 7, d(1, 10), "Late payee", 99.99});
    PutEntry({"202", 'D', 10, 0, 2, 5, d(1, 7), "Other bank", 5000});
    PutEntry({"202", 'C', 11, 3006, 1, 2, d(2, 1), "After range", 45.67});
    PutEntry({"203", 'C', 12, 3007, 1, 0, d(1, 8), "Only ready", 77});
    PutEntry({"204", 'D', 13, 0, 1, 5, d(1, 4), "Zero in", 50});
    PutEntry({"204", 'C', 14, 3008, 1, 2, d(1, 4), "Zero out", 50});
    PutParty(0, "200", "Smith & Jones");
    PutParty(1, "200", "Seller Able");
    PutParty(0, "201", "Buyer Baker");
    PutParty(0, "204", "Zero Zed");
  }

  static bool Has(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern));
  }
};

const std::vector<std::string> kLedgerPayees = {
    "Buyer deposit & co", "Title Co",    "Voided",     "Ready one",  "Escrow one",
    "Unposted dep",       "Blank dated", "Late payee", "Other bank", "After range",
    "Only ready",         "Zero in",     "Zero out"};

std::vector<std::string> Present(const std::string& text, const std::vector<std::string>& names) {
  std::vector<std::string> found;
  for (const std::string& name : names)
    if (text.find(name) != std::string::npos) found.push_back(name);
  return found;
}

TEST_F(RangeReportsTest, LedgerAllListsTheCountedEntriesOfTheAccountAndItsEndingBalance) {
  PutSample();
  std::string text = PdfText(Print(kLedgerReport));
  EXPECT_TRUE(Has(text, "Ledger Report")) << text;
  EXPECT_TRUE(Has(text, "Trust One"));
  EXPECT_TRUE(Has(text, "\\bALL\\b"));
  EXPECT_FALSE(Has(text, "STARTING BALANCE"));
  EXPECT_EQ((std::vector<std::string>{"Buyer deposit & co", "Title Co", "Blank dated", "Late payee",
                                      "After range", "Zero in", "Zero out"}),
            Present(text, kLedgerPayees));
  EXPECT_TRUE(Has(text, "ENDING BALANCE +7,641\\.85")) << text;
  // The adjustment: "Adj", no number, its amount in the Deposits column.
  EXPECT_TRUE(Has(text, "01/06/2026 +Adj +Posted +-12\\.34")) << text;
  EXPECT_TRUE(Has(text, "3001 +Chk +Printed +Title Co +2,500\\.25"));
  EXPECT_TRUE(Has(text, "Dep +Reconciled +Blank dated +300\\.10"));
  // Blank-dated entries come first in date order.
  EXPECT_LT(text.find("Blank dated"), text.find("Buyer deposit & co"));
  ExpectOnlyPrintedPdfsTold();
}

TEST_F(RangeReportsTest, LedgerDateRangeStartsFromTheEarlierEntriesAndStopsAfterTheUpperDate) {
  PutSample();
  std::string text = PdfText(Print(kLedgerReport, [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/03/26");
    SetControlText(dialog, 402, "01/31/26");
  }));
  EXPECT_TRUE(Has(text, "DATES: 01/03/2026 - 01/31/2026")) << text;
  EXPECT_TRUE(Has(text, "STARTING BALANCE +10,300\\.10")) << text;
  EXPECT_TRUE(Has(text, "ENDING BALANCE +7,687\\.52")) << text;
  EXPECT_EQ((std::vector<std::string>{"Title Co", "Late payee", "Zero in", "Zero out"}),
            Present(text, kLedgerPayees));
  EXPECT_LT(text.find("STARTING"), text.find("Title Co"));
}

TEST_F(RangeReportsTest, LedgerStartingBalanceSkipsUncountedEntriesAndKeepsItsStepwiseCents) {
  // Before 1/6: Void, Ready, Escrow and Unposted entries, another bank's and a blank-dated
  // one; the adjustment on 1/6 itself is listed. Figures: expected/ledger_starting_balance.py.
  PutSample();
  auto fromJanuarySixth = [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/06/26");
    SetControlText(dialog, 402, "01/31/26");
  };
  std::string text = PdfText(Print(kLedgerReport, fromJanuarySixth));
  EXPECT_TRUE(Has(text, "STARTING BALANCE +7,799\\.85")) << text;
  EXPECT_TRUE(Has(text, "ENDING BALANCE +7,687\\.52")) << text;
  EXPECT_EQ((std::vector<std::string>{"Late payee"}), Present(text, kLedgerPayees));

  // An amount that is not whole cents: rounded step by step it gives a cent more than the
  // sum of the amounts' rounded cents would.
  PutEntry({"205", 'D', 15, 0, 1, 5, DateOf(1, 2, 2026), "Sub-cent", 0.125});
  ClearPrintedPdfs();
  text = PdfText(Print(kLedgerReport, fromJanuarySixth));
  EXPECT_TRUE(Has(text, "STARTING BALANCE +7,799\\.98")) << text;
}

TEST_F(RangeReportsTest, LedgerOfAnEmptyTableShowsBothBalancesAsZero) {
  std::string text = PdfText(Print(kLedgerReport, [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/01/26");
    SetControlText(dialog, 402, "01/31/26");
  }));
  EXPECT_TRUE(Has(text, "STARTING BALANCE +0\\.00")) << text;
  EXPECT_TRUE(Has(text, "ENDING BALANCE +0\\.00"));
}

TEST_F(RangeReportsTest, FileBalanceAllAccountsGroupsFilesAndTotalsTheNonZeroBalances) {
  PutSample();
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) {
    PressButton(dialog, 234);  // unchecked: all accounts
    PressButton(dialog, IDOK);
  });
  Boxes().QueueAnswer(IDNO);  // keep zero balances
  RunReportCommand(kFileBalanceReport, nullptr);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Suppress zero balances?", Shown()[0].text);
  EXPECT_EQ("", Shown()[0].caption);
  EXPECT_TRUE(TellsPrintedPdfs(Shown()[1])) << Shown()[1].text;
  std::string text = PdfText(PrintedPdf());
  EXPECT_TRUE(Has(text, "All Accounts")) << text;
  EXPECT_TRUE(Has(text, "All Items"));
  EXPECT_TRUE(Has(text, "\\b0 +Bank Adjustments +Trust One +-12\\.34")) << text;
  EXPECT_TRUE(Has(text, "200 +Smith & Jones +Seller Able +Trust One +7,499\\.75"));
  EXPECT_TRUE(Has(text, "201 +Buyer Baker +Trust One +200\\.11"));
  EXPECT_TRUE(Has(text, "202 +--- no open file --- +\\*\\*\\*MULTI-ACCOUNT\\*\\*\\* +4,954\\.33"));
  EXPECT_FALSE(Has(text, "\\b203\\b"));  // only a Ready check: no row at all
  EXPECT_TRUE(Has(text, "204 +Zero Zed +Trust One +0\\.00"));
  EXPECT_TRUE(Has(text, "REPORT TOTAL +12,641\\.85")) << text;
}

TEST_F(RangeReportsTest, FileBalanceOnOneAccountThroughADateAgreesWithTheLedger) {
  PutSample();
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 402, "01/05/26");
    PressButton(dialog, IDOK);
  });
  Boxes().QueueAnswer(IDYES);  // suppress zero balances
  RunReportCommand(kFileBalanceReport, nullptr);
  std::string text = PdfText(PrintedPdf());
  EXPECT_TRUE(Has(text, "Trust One")) << text;
  EXPECT_TRUE(Has(text, "Activity Through: 1/5/2026"));
  EXPECT_TRUE(Has(text, "200 +Smith & Jones +Seller Able +Trust One +7,499\\.75"));
  EXPECT_TRUE(Has(text, "201 +Buyer Baker +Trust One +300\\.10"));
  EXPECT_FALSE(Has(text, "Zero Zed"));          // suppressed
  EXPECT_FALSE(Has(text, "Bank Adjustments"));  // dated after the through date
  EXPECT_TRUE(Has(text, "REPORT TOTAL +7,799\\.85"));

  ClearPrintedPdfs();
  std::string ledger = PdfText(Print(kLedgerReport, [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/01/26");
    SetControlText(dialog, 402, "01/05/26");
  }));
  EXPECT_TRUE(Has(ledger, "ENDING BALANCE +7,799\\.85")) << ledger;
}

TEST_F(RangeReportsTest, FileBalanceAccountOneAllItemsEqualsTheLedgerAll) {
  PutSample();
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) { PressButton(dialog, IDOK); });
  Boxes().QueueAnswer(IDNO);
  RunReportCommand(kFileBalanceReport, nullptr);
  std::string text = PdfText(PrintedPdf());
  EXPECT_TRUE(Has(text, "202 +--- no open file --- +Trust One +-45\\.67")) << text;
  EXPECT_TRUE(Has(text, "REPORT TOTAL +7,641\\.85")) << text;
}

TEST_F(RangeReportsTest, ClosingLinesThatDoNotFitStandAloneOnTheNextPage) {
  // Calibrate: how many ledger rows fill the first page.
  for (int i = 0; i < 120; ++i)
    PutEntry({"300", 'D', double(i + 1), 0, 1, 5, DateOf(1, 1, 2026) + i,
              "Row " + std::to_string(i), 1});
  std::vector<std::string> pages = PdfPages(Print(kLedgerReport));
  ASSERT_GE(pages.size(), 2u);
  int perPage = static_cast<int>(std::count(pages[0].begin(), pages[0].end(), '\n'));
  perPage = 0;
  for (int i = 0; i < 120; ++i)
    if (pages[0].find("Row " + std::to_string(i) + " ") != std::string::npos) ++perPage;
  ASSERT_GT(perPage, 10);

  // Exactly one page of rows: the ending line goes alone onto page 2.
  ClearPrintedPdfs();
  TPXRecord account(gTables[kAccountTable], true);
  for (int i = perPage; i < 120; ++i) {
    account.Clear();
    account.SetString(1, "300");
    account.SetString(2, "D");
    account.SetDouble(3, double(i + 1));
    ASSERT_TRUE(account.Seek(0, ENGINE_KEY_EQ));
    ASSERT_TRUE(account.Delete());
  }
  pages = PdfPages(Print(kLedgerReport));
  ASSERT_EQ(2u, pages.size());
  EXPECT_FALSE(Has(pages[0], "ENDING BALANCE"));
  EXPECT_TRUE(Has(pages[1], "ENDING BALANCE +" + std::to_string(perPage) + "\\.00")) << pages[1];
  EXPECT_FALSE(Has(pages[1], "Row "));
  EXPECT_TRUE(Has(pages[1], "Page +2"));

  // The file balance report with the same number of files: its total stands alone too,
  // unless the page holds one more line (it needs two line heights below the last row).
  ClearPrintedPdfs();
  for (int i = 0; i < perPage + 5; ++i) {
    char file[16];
    std::snprintf(file, sizeof file, "G%03d", i);
    PutEntry({file, 'D', double(500 + i), 0, 1, 5, DateOf(1, 1, 2026), "", 2});
  }
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) { PressButton(dialog, IDOK); });
  Boxes().QueueAnswer(IDNO);
  RunReportCommand(kFileBalanceReport, nullptr);
  pages = PdfPages(PrintedPdf());
  ASSERT_GE(pages.size(), 2u);
  const std::string& last = pages.back();
  EXPECT_TRUE(Has(last, "REPORT TOTAL"));
  int filesListed = 0;
  for (const std::string& page : pages)
    for (int i = 0; i < perPage + 5; ++i) {
      char file[16];
      std::snprintf(file, sizeof file, "G%03d ", i);
      if (page.find(file) != std::string::npos) ++filesListed;
    }
  EXPECT_EQ(perPage + 5, filesListed);
}

}  // namespace

namespace {

/* Page 1 of each range report on the sample ledger, as PNGs in the build tree, to look at. */
TEST_F(RangeReportsTest, PicturesOfTheFirstPages) {
  PutSample();
  std::filesystem::path dir = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(dir);
  struct Shot {
    TReportCommandKind kind;
    const char* name;
  };
  for (Shot shot :
       {Shot{kCheckRegisterReport, "check_register.png"}, Shot{kLedgerReport, "ledger_report.png"},
        Shot{kFileBalanceReport, "file_balance_report.png"}}) {
    ClearPrintedPdfs();
    if (shot.kind == kFileBalanceReport) Boxes().QueueAnswer(IDNO);
    std::string pdf = Print(shot.kind);
    std::string png = (dir / shot.name).string();
    std::filesystem::remove(png);
    RenderFirstPage(pdf, png);
    EXPECT_GT(std::filesystem::file_size(png), 1000u) << png;
  }
}

}  // namespace
