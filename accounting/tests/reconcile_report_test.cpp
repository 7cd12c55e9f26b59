/*
** The reconciliation report's pages: 150 outstanding checks and 70 reconciled deposits on
** letter paper and on a custom paper tall enough for more than a hundred body lines, each row
** printed once in answer order, no heading repeated, every total the test's own sum of the
** rows in cents, the summaries whole on one page; two copies carry the same pages; a payee's
** '&' is printed as it is. Also the row layout of the reconcile grid read back.
*/
#include "accounting/account_transfers.h"
#include "accounting/reconcile_report.h"
#include "accounting/report_drawing.h"
#include "grid/tessel_codes.h"
#include "platform/gdi/gdi_print.h"
#include "platform/testing/other_programs.h"
#include "platform/user/winuser.h"
#include "reconcile_fixture.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>

namespace {

constexpr int kChecks = 150;
constexpr int kDeposits = 70;

long long CheckCents(int i) { return 1000 + (i * 7919LL) % 50000; }
long long DepositCents(int j) { return 2500 + (j * 104729LL) % 90000; }

std::string Money(long long cents) {
  char plain[32];
  std::snprintf(plain, sizeof plain, "%lld.%02lld", cents / 100, cents % 100);
  char text[48];
  InsertThousandsCommas(plain, text, sizeof text);
  return text;
}

long long CentsOf(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  const size_t dot = text.find('.');
  const long long cents = std::stoll(text.substr(0, dot)) * 100 + std::stoll(text.substr(dot + 1));
  return negative ? -cents : cents;
}

class ReconcileReportTest : public ReconcileTest {
 protected:
  void SetUp() override {
    ReconcileTest::SetUp();
    for (int i = 0; i < kChecks; ++i) {
      char payee[32];
      std::snprintf(payee, sizeof payee, "Payee & Son %03d", i);
      Put("C-" + std::to_string(i), 'C', 10.0 + i, 2, CheckCents(i) / 100.0,
          DateOf(2, 1 + i % 29, 2024), 1001 + i, payee);
    }
    for (int j = 0; j < kDeposits; ++j) {
      char depositor[32];
      std::snprintf(depositor, sizeof depositor, "Depositor %03d", j);
      Put("D-" + std::to_string(j), 'D', 500.0 + j, 6, DepositCents(j) / 100.0,
          DateOf(2, 1 + j % 29, 2024), 0, depositor);
    }
    gReconcileXfer.Accounts.Select(kBank);
    gReconcileXfer.BeginBalance = 0;
    gReconcileXfer.EndBalance = 0;
    gReconcileXfer.CloseDate = DateOf(2, 29, 2024);
  }
  static std::vector<std::string> PrintReport() {
    ClearPrintedPdfs();
    TReconcileReport report("Reconciliation Report");
    EXPECT_TRUE(PrintOnReportPrinter(nullptr, report));
    return AllPrintedPages();
  }
  static void UseTallPaper() {
    DEVMODE mode{};
    ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
    mode.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    mode.dmPaperWidth = 2159;
    mode.dmPaperLength = 7620;  // 30 inches
    gReportPrintData.SetDevMode(&mode);
  }

  /* Checks every row printed once in answer order, the headings once, the totals and the
     summaries' page; answers how many body rows the fullest page held. */
  static int CheckPages(const std::vector<std::string>& pages) {
    const std::regex checkLine(
        R"(^\s*(\d+)\s+\d\d/\d\d/\d{4}\s+Payee & Son (\d{3})\s+([\d,]+\.\d\d)\s*$)");
    const std::regex depositLine(R"(^\s*\d\d/\d\d/\d{4}\s+Depositor (\d{3})\s+([\d,]+\.\d\d)\s*$)");
    std::vector<int> checks;
    std::map<int, int> deposits;
    std::map<std::string, int> headings;
    int fullest = 0;
    int summaryPage = -1;
    for (size_t p = 0; p < pages.size(); ++p) {
      std::istringstream lines(pages[p]);
      int rows = 0;
      for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, checkLine)) {
          const int i = std::stoi(m[2]);
          EXPECT_EQ(std::stoi(m[1]), 1001 + i);
          EXPECT_EQ(m[3].str(), Money(CheckCents(i)));
          checks.push_back(i);
          ++rows;
        } else if (std::regex_match(line, m, depositLine)) {
          const int j = std::stoi(m[1]);
          EXPECT_EQ(m[2].str(), Money(DepositCents(j)));
          ++deposits[j];
          ++rows;
        }
        for (const char* heading :
             {"Deposits - Reconciled", "Deposits - In Transit", "Checks - Reconciled",
              "Checks - Outstanding", "Adjustments - Reconciled", "Bank Balance Summary",
              "Book Balance Summary"})
          if (line.find(heading) != std::string::npos) ++headings[heading];
      }
      fullest = std::max(fullest, rows);
      if (pages[p].find("Bank Balance Summary") != std::string::npos)
        summaryPage = static_cast<int>(p);
    }
    EXPECT_EQ(static_cast<int>(checks.size()), kChecks);
    for (int i = 0; i < static_cast<int>(checks.size()); ++i)
      EXPECT_EQ(checks[i], i) << "answer order";
    EXPECT_EQ(static_cast<int>(deposits.size()), kDeposits);
    for (const auto& [j, count] : deposits) EXPECT_EQ(count, 1) << "deposit " << j;
    for (const auto& [heading, count] : headings) EXPECT_EQ(count, 1) << heading;
    EXPECT_EQ(headings.size(), 7u);

    long long checkSum = 0, depositSum = 0;
    for (int i = 0; i < kChecks; ++i) checkSum += CheckCents(i);
    for (int j = 0; j < kDeposits; ++j) depositSum += DepositCents(j);
    EXPECT_EQ(summaryPage, static_cast<int>(pages.size()) - 1);
    if (summaryPage < 0) return fullest;
    const std::string& last = pages[summaryPage];
    std::smatch m;
    EXPECT_TRUE(
        std::regex_search(last, m, std::regex(R"(Less outstanding checks\s+(-[\d,]+\.\d\d))")));
    if (!m.empty()) EXPECT_EQ(CentsOf(m[1]), -checkSum);
    EXPECT_TRUE(
        std::regex_search(last, m, std::regex(R"(Plus deposits received\s+([\d,]+\.\d\d))")));
    if (!m.empty()) EXPECT_EQ(CentsOf(m[1]), depositSum);
    EXPECT_TRUE(std::regex_search(last, m, std::regex(R"(Book balance\s+(-?[\d,]+\.\d\d))")));
    if (!m.empty()) EXPECT_EQ(CentsOf(m[1]), depositSum - checkSum);
    EXPECT_NE(last.find("Reconciled bank balance"), std::string::npos);
    return fullest;
  }
};

TEST_F(ReconcileReportTest, EveryRowPrintsOnceOnLetterPaper) {
  const std::vector<std::string> pages = PrintReport();
  ASSERT_GE(pages.size(), 3u);
  CheckPages(pages);
  const std::string pdf = PrintedPdf();
  const std::string last = PicturePath("reconciliation_report_summaries.png");
  const std::string page = std::to_string(pages.size());
  ProgramOutput(CommandLine("pdftoppm", {"-png", "-r", "80", "-f", page, "-l", page, "-singlefile",
                                         pdf, last.substr(0, last.size() - 4)}));
  EXPECT_TRUE(std::filesystem::exists(last));
}

TEST_F(ReconcileReportTest, EveryRowPrintsOnceOnPaperTallerThanAHundredLines) {
  UseTallPaper();
  const std::vector<std::string> pages = PrintReport();
  EXPECT_GT(CheckPages(pages), 101);
}

TEST_F(ReconcileReportTest, TwoCopiesCarryThePagesOfOne) {
  UsePdfReportPrinter(2);
  const std::vector<std::string> pages = PrintReport();
  ASSERT_EQ(pages.size() % 2, 0u);
  const size_t half = pages.size() / 2;
  ASSERT_GE(half, 3u);
  for (size_t p = 0; p < half; ++p) EXPECT_EQ(pages[p], pages[p + half]) << "page " << p + 1;
  CheckPages(std::vector<std::string>(pages.begin(), pages.begin() + half));
}

TEST_F(ReconcileReportTest, ARowReadBackFromTheGridIsTheRowInserted) {
  HWND grid = nullptr;
  DialogDriver driver;
  TReconcileRow inserted{};
  std::snprintf(inserted.AlphaStatus, sizeof inserted.AlphaStatus, "Printed");
  std::snprintf(inserted.FileNum, sizeof inserted.FileNum, "FILE-123456789");
  std::snprintf(inserted.AlphaDate, sizeof inserted.AlphaDate, "02/29/2024");
  inserted.Number = 123456;
  inserted.Amount = 98765.43;
  std::snprintf(inserted.PayeeDepositor, sizeof inserted.PayeeDepositor, "%.29s",
                "A payee of twenty-nine chars.");
  inserted.Type[0] = 'C';
  inserted.Seq = 739123.4567;
  inserted.Status = 2;
  TReconcileRow back{};
  EXPECT_TRUE(RunReconcile(
      [&](HWND info) { TypeStatement(info, "0.00", "02/29/24"); },
      [&](HWND dialog) {
        grid = GridOf(dialog);
        SendMessage(grid, TSM_SETCURSOR, 0, -2);
        ASSERT_GE(SendMessage(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(&inserted)), 0);
        const int row = RowCount(dialog) - 1;
        SendMessage(grid, TSM_SETCURSOR, 0, row);
        ASSERT_EQ(SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&back)), 0);
      }));
  for (const auto& box : Shown()) ADD_FAILURE() << box.caption << ": " << box.text;
  ASSERT_NE(grid, nullptr);
  EXPECT_STREQ(back.AlphaStatus, inserted.AlphaStatus);
  EXPECT_STREQ(back.FileNum, inserted.FileNum);
  EXPECT_STREQ(back.AlphaDate, inserted.AlphaDate);
  EXPECT_EQ(back.Number, inserted.Number);
  EXPECT_EQ(back.Amount, inserted.Amount);
  EXPECT_STREQ(back.PayeeDepositor, inserted.PayeeDepositor);
  EXPECT_STREQ(back.Type, inserted.Type);
  EXPECT_EQ(back.Seq, inserted.Seq);
  EXPECT_EQ(back.Status, inserted.Status);
}

}  // namespace

namespace {

TEST_F(ReconcileTest, AnAccountWithNothingOpenPrintsFiveEmptySectionsAndItsBalancedBook) {
  Put("OLD", 'D', 1.0, 7, 250.00, DateOf(12, 1, 2023), 0, "Balanced long ago", 9);
  Put("OLD", 'C', 2.0, 7, 50.25, DateOf(12, 2, 2023), 10, "Balanced check", 9);
  gReconcileXfer.Accounts.Select(9);
  gReconcileXfer.BeginBalance = 199.75;
  gReconcileXfer.EndBalance = 199.75;
  gReconcileXfer.CloseDate = DateOf(1, 31, 2024);
  TReconcileReport report("Reconciliation Report");
  ASSERT_TRUE(PrintOnReportPrinter(nullptr, report));
  const std::string text = std::regex_replace(PdfText(PrintedPdf()), std::regex("[ \n]+"), " ");
  for (const char* heading :
       {"Deposits - Reconciled", "Deposits - In Transit", "Checks - Reconciled",
        "Checks - Outstanding", "Adjustments - Reconciled"})
    EXPECT_NE(text.find(std::string(heading) + " << None >>"), std::string::npos) << heading << "\n"
                                                                                  << text;
  EXPECT_NE(text.find("Calculated ending balance 199.75"), std::string::npos) << text;
  EXPECT_NE(text.find("Less cleared checks -0.00"), std::string::npos) << text;
  EXPECT_NE(text.find("Book balance 199.75 Variance 0.00"), std::string::npos) << text;
  EXPECT_EQ(text.find("NOT IN BALANCE"), std::string::npos) << text;
  EXPECT_TRUE(report.BankInBalance && report.BookInBalance);
}

}  // namespace
