/*
** The reports when the ledger lacks its date and number indexes (heading only, the engine's
** box, no rows read in the wrong order), and with two copies asked for, each copy carrying
** the pages of one whole run.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "catalogue/table_catalog.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

class ReportRobustnessTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    gDefaultAccount = 1;
    LoadBankLists();
  }

  /* Makes ACCOUNT again with its primary index alone. */
  void RecreateAccountWithoutSecondaryIndexes() {
    delete gAccountRecord;
    delete gTables[kAccountTable];
    const EngineTableCreateDesc* catalogued = FindCatalogTable("ACCOUNT");
    ASSERT_NE(nullptr, catalogued);
    EngineTableCreateDesc desc = *catalogued;
    desc.indexCount = 1;
    ASSERT_EQ(ENGINE_OK, EngineCreateTable(gDatabase, TRUE, &desc));
    gTables[kAccountTable] = new TPXTable("ACCOUNT", 0);
    gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  }

  void RunCommand(TReportCommandKind kind, DialogDriver::Script fill) {
    ClearPrintedPdfs();
    DialogDriver driver;
    driver.OnDialog(20950, [fill](HWND dialog) {
      fill(dialog);
      PressButton(dialog, IDOK);
    });
    RunReportCommand(kind, nullptr);
  }
  std::string Print(TReportCommandKind kind, DialogDriver::Script fill) {
    RunCommand(kind, fill);
    return PrintedPdf();
  }
};

TEST_F(ReportRobustnessTest, MissingIndexesPrintTheHeadingOnlyAfterTheEnginesBox) {
  UsePdfReportPrinter();
  RecreateAccountWithoutSecondaryIndexes();
  PutEntry({"100", 'C', 1, 10, 1, 2, DateOf(1, 5, 2026), "Should not show", 5});
  auto dates = [](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/01/26");
    SetControlText(dialog, 402, "12/31/26");
  };
  auto numbers = [](HWND dialog) {
    PressButton(dialog, 500);
    SetControlText(dialog, 501, "1");
    SetControlText(dialog, 502, "99");
  };
  struct Case {
    TReportCommandKind kind;
    DialogDriver::Script fill;
    const char* title;
  };
  for (const Case& c : {Case{kCheckRegisterReport, dates, "Check Register"},
                        Case{kCheckRegisterReport, numbers, "Check Register"},
                        Case{kLedgerReport, [](HWND) {}, "Ledger Report"}}) {
    Boxes().Clear();
    std::string text = PdfText(Print(c.kind, c.fill));
    EXPECT_NE(std::string::npos, text.find(c.title)) << text;
    EXPECT_EQ(std::string::npos, text.find("Should not show")) << text;
    EXPECT_EQ(std::string::npos, text.find("BALANCE")) << text;
    ASSERT_FALSE(Shown().empty()) << c.title;
    EXPECT_EQ("Database Error", Shown()[0].caption);
  }
}

TEST_F(ReportRobustnessTest, TwoCopiesEachCarryTheWholeRun) {
  UsePdfReportPrinter(2);
  for (int i = 0; i < 70; ++i) {
    const std::string file = "F" + std::to_string(100 + i);
    PutEntry({file, 'C', double(i + 1), 100 + i, 1, 2, DateOf(1, 5, 2026),
              "Payee " + std::to_string(i), 1.25});
    // Parties on most files: the second copy of the file balance finds them from the start again.
    if (i % 4 != 1) PutParty(0, file, "Buyer " + std::to_string(i));
    if (i % 5 != 2) PutParty(1, file, "Seller " + std::to_string(i));
  }
  PutEntry({"F100", 'D', 500, 0, 1, 5, DateOf(1, 6, 2026), "Depositor & Co", 90});
  for (TReportCommandKind kind : {kCheckRegisterReport, kLedgerReport, kFileBalanceReport}) {
    if (kind == kFileBalanceReport) Boxes().QueueAnswer(IDNO);
    RunCommand(kind, [](HWND) {});
    std::vector<std::string> pages = AllPrintedPages();
    ASSERT_EQ(0u, pages.size() % 2) << kind;
    const size_t half = pages.size() / 2;
    ASSERT_GE(half, 2u) << kind;
    for (size_t p = 0; p < half; ++p) {
      // The print stamp is the same for both copies; so is every other line.
      EXPECT_EQ(pages[p], pages[p + half]) << kind << " page " << p + 1;
    }
    if (kind == kFileBalanceReport) {
      EXPECT_NE(std::string::npos, pages[half].find("Buyer 0")) << pages[half];
      EXPECT_NE(std::string::npos, pages.back().find("Seller 69")) << pages.back();
    }
  }
  ClearPrintedPdfs();
  PrintDisbursementReport(nullptr, "F100");
  std::vector<std::string> pages = AllPrintedPages();
  ASSERT_EQ(2u, pages.size());
  EXPECT_EQ(pages[0], pages[1]);
  EXPECT_NE(std::string::npos, pages[0].find("Depositor & Co"));
}

}  // namespace
