/*
** Every accounting report's printed text over one fixed ledger, compared line for line with
** the texts kept in expected/report_texts/. Those texts are a regression baseline: they were
** written by the reports as they stood before the printing path was reworked for speed, and
** their figures had been checked independently by the report tests beside this one
** (expected/range_reports_sample.py, file_printouts_sample.py). Faster drawing must not move
** or change one printed character. The print stamp is masked, and the clock is held on one day:
** pdftotext lays a page's lines out on one grid, so a stamp one digit wider (12/10 against 12/9)
** moves the centred headings by a column.
**
** ZARNE_WRITE_REPORT_TEXTS=1 rewrites the expected texts (only for a deliberate change of a
** report's text, said so in its commit).
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "platform/kernel/local_time.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>

namespace {

class ReportTextsTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    SYSTEMTIME day{};  // the day the expected texts were written
    day.wYear = 2026;
    day.wMonth = 12;
    day.wDay = 9;
    day.wHour = 12;
    HoldLocalTimeForTest(&day);
    PutTwentyBanks();
    PutBank(1, "Trust One");
    PutBank(2, "Trust Two & Escrow");
    gDefaultAccount = 1;
    LoadBankLists();
    UsePdfReportPrinter();
    PutLedger();
  }

  void TearDown() override {
    HoldLocalTimeForTest(nullptr);
    AccountingTablesTest::TearDown();
  }

  /* 40 files of 8 entries over 2025-2026: every kind and status on two accounts, blank dates,
     negative adjustments, payees long enough to be cut at their cell, and files without
     parties. Enough rows for every range report to run over several pages. */
  static void PutLedger() {
    const int checkStatus[] = {0, 1, 2, 4, 6, 7, 2, 2};
    const int depositStatus[] = {3, 5, 6, 7};
    for (int f = 0; f < 40; ++f) {
      char file[16];
      std::snprintf(file, sizeof file, "2026-%03d", f);
      for (int e = 0; e < 8; ++e) {
        int n = f * 8 + e;
        bool check = e % 3 != 0;
        LONG date = (n % 23 == 5) ? kBlankDate : DateOf(1 + n % 12, 1 + n * 7 % 28, 2025 + n % 2);
        std::string payee =
            check ? "Payee number " + std::to_string(n) : "Depositor " + std::to_string(n);
        if (n % 9 == 4) payee += " with a name long enough to be cut at the edge of its cell";
        double amount = (n * 7919 % 100000) / 100.0 + (check ? 10 : 2000);
        PutEntry({file, check ? 'C' : 'D', double(n + 1), check ? 5000 + (n * 37 % 400) : 0,
                  1 + n % 5 / 4, check ? checkStatus[(e + f) % 8] : depositStatus[n % 4], date,
                  payee, amount, "Line " + std::to_string(n)});
      }
      if (f % 7 != 3) PutParty(0, file, "Buyer " + std::to_string(f) + " & Spouse");
      if (f % 5 != 1) PutParty(1, file, "Seller " + std::to_string(f));
    }
    for (int a = 0; a < 6; ++a)
      PutEntry({"0", 'B', 1000.0 + a, 0, 1 + a % 2, 5 + a % 3, DateOf(2 + a, 15, 2025), "Bank fee",
                a % 2 ? -12.5 * a : 3.25});
  }

  std::string Range(TReportCommandKind kind, std::function<void(HWND)> fill, int suppress = 0) {
    ClearPrintedPdfs();
    DialogDriver driver;
    driver.OnDialog(20950, [fill](HWND dialog) {
      if (fill) fill(dialog);
      PressButton(dialog, IDOK);
    });
    if (suppress) Boxes().QueueAnswer(suppress);
    RunReportCommand(kind, nullptr);
    return Masked(PdfText(PrintedPdf()));
  }

  std::string PerFile(void (*print)(TWindow*, const char*), const char* file) {
    ClearPrintedPdfs();
    print(nullptr, file);
    return Masked(PdfText(PrintedPdf()));
  }

  /* The print stamp (month/day/year hh:mm:ss; pdftotext may close up its two blanks) is the one text that changes from run to run. */
  static std::string Masked(const std::string& text) {
    return std::regex_replace(text, std::regex("\\d{1,2}/\\d{1,2}/\\d{4} +\\d\\d:\\d\\d:\\d\\d"),
                              "<stamp>");
  }

  static void Compare(const std::string& name, const std::string& text) {
    const char* dir = std::getenv("ZARNE_TEST_DATA");
    const std::string path =
        std::string(dir ? dir : ".") + "/expected/report_texts/" + name + ".txt";
    if (std::getenv("ZARNE_WRITE_REPORT_TEXTS")) {
      std::ofstream(path, std::ios::binary) << text;
      return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    ASSERT_FALSE(expected.str().empty()) << path;
    // Line by line, so a difference names its line.
    std::istringstream want(expected.str()), got(text);
    std::string a, b;
    for (int line = 1; std::getline(want, a); ++line) {
      ASSERT_TRUE(std::getline(got, b)) << name << ": ends before line " << line;
      ASSERT_EQ(a, b) << name << " line " << line;
    }
    EXPECT_FALSE(std::getline(got, b)) << name << ": more lines than expected: " << b;
  }
};

TEST_F(ReportTextsTest, RangeReportsPrintTheSameTextsAsBefore) {
  Compare("check_register_all", Range(kCheckRegisterReport, nullptr));
  Compare("check_register_dates", Range(kCheckRegisterReport, [](HWND d) {
            PressButton(d, 400);
            SetControlText(d, 401, "03/01/25");
            SetControlText(d, 402, "10/31/26");
          }));
  Compare("check_register_files", Range(kCheckRegisterReport, [](HWND d) {
            PressButton(d, 300);
            SetControlText(d, 301, "2026-005");
            SetControlText(d, 302, "2026-020");
          }));
  Compare("check_register_numbers", Range(kCheckRegisterReport, [](HWND d) {
            PressButton(d, 500);
            SetControlText(d, 501, "5050");
            SetControlText(d, 502, "5300");
          }));
  Compare("ledger_all", Range(kLedgerReport, nullptr));
  Compare("ledger_dates", Range(kLedgerReport, [](HWND d) {
            PressButton(d, 400);
            SetControlText(d, 401, "06/01/25");
            SetControlText(d, 402, "06/30/26");
          }));
  Compare("file_balance_all_accounts",
          Range(
              kFileBalanceReport, [](HWND d) { PressButton(d, 234); }, IDNO));
  Compare("file_balance_through", Range(
                                      kFileBalanceReport,
                                      [](HWND d) {
                                        PressButton(d, 400);
                                        SetControlText(d, 402, "08/31/26");
                                      },
                                      IDYES));
  Compare("file_balance_files", Range(
                                    kFileBalanceReport,
                                    [](HWND d) {
                                      PressButton(d, 300);
                                      SetControlText(d, 301, "2026-010");
                                      SetControlText(d, 302, "2026-019");
                                    },
                                    IDNO));
}

TEST_F(ReportTextsTest, PerFilePrintoutsPrintTheSameTextsAsBefore) {
  Compare("disbursement_report", PerFile(PrintDisbursementReport, "2026-004"));
  Compare("check_request", PerFile(PrintCheckRequest, "2026-007"));
}

}  // namespace
