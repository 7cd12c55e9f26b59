/*
** The per-file printouts of the disbursing dialog (figures from
** expected/file_printouts_sample.py): the disbursement report's lines of every status, its
** totals, out-of-balance notice and mixed-bank warning, sections carried to a second page;
** the check request's Ready checks in creation order, its blanks, the party block on page 1
** only, and the heading-only page after a page ending with the last Ready check.
*/
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "tableaccess/px_globals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

class FilePrintoutsTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    UsePdfReportPrinter();
  }
  std::vector<std::string> Disbursement(const char* file) {
    ClearPrintedPdfs();
    PrintDisbursementReport(nullptr, file);
    return PdfPages(PrintedPdf());
  }
  std::vector<std::string> Request(const char* file) {
    ClearPrintedPdfs();
    PrintCheckRequest(nullptr, file);
    return PdfPages(PrintedPdf());
  }
  static bool Has(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern));
  }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
  void PutSample() {
    LONG d = DateOf(5, 1, 2026);
    PutEntry({"500", 'D', 1, 0, 0, 5, d, "Buyer & Co", 1000.00});
    PutEntry({"500", 'D', 2, 0, 0, 3, d, "Lender", 250.10});
    PutEntry({"500", 'C', 3, 0, 0, 0, d, "Payee A", 999.99, "Payoff of the first & second"});
    PutEntry({"500", 'C', 4, 1234, 3, 4, d, "Void payee", 50});
    PutEntry({"500", 'C', 5, 1235, 0, 2, d, "Payee B", 100.00});
    PutEntry({"501", 'C', 6, 0, 0, 0, d, "Other file", 1});
    PutParty(0, "500", "Ann & Bob Buyer");
  }
};

TEST_F(FilePrintoutsTest, DisbursementReportListsEveryStatusWithTotalsAndTheNotice) {
  PutSample();
  std::vector<std::string> pages = Disbursement("500");
  ASSERT_EQ(1u, pages.size());
  const std::string& text = pages[0];
  EXPECT_TRUE(Has(text, "Disbursement Report")) << text;
  EXPECT_TRUE(Has(text, "Buyer: +Ann & Bob Buyer"));
  EXPECT_TRUE(Has(text, "File Number: +500"));
  EXPECT_TRUE(Has(text, "Page +1"));
  EXPECT_TRUE(Has(text, "Posted +0 +Buyer & Co +1,000\\.00")) << text;
  EXPECT_TRUE(Has(text, "Unposted +0 +Lender +250\\.10"));
  EXPECT_TRUE(Has(text, "\\n +Ready +0 +Payee A +999\\.99"));  // number 0 is not shown
  EXPECT_TRUE(Has(text, "1234 +Void +3 +Void payee +0\\.00"));
  EXPECT_TRUE(Has(text, "1235 +Printed +0 +Payee B +100\\.00"));
  EXPECT_FALSE(Has(text, "Other file"));
  EXPECT_LT(text.find("Deposits:"), text.find("Checks:"));
  EXPECT_TRUE(
      Has(text, "\\*\\*\\* FILE OUT OF BALANCE BY 150\\.11 \\*\\*\\* +1,250\\.10 +1,099\\.99"))
      << text;
  EXPECT_FALSE(Has(text, "WARNING"));  // the void check on bank 3 takes no part
  ExpectOnlyPrintedPdfsTold();
}

TEST_F(FilePrintoutsTest, NegativeDifferenceMixedBanksAndAMissingBuyer) {
  LONG d = DateOf(5, 1, 2026);
  PutEntry({"600", 'D', 1, 0, 0, 5, d, "In", 1000.00});
  PutEntry({"600", 'C', 2, 7, 3, 2, d, "Out", 999.99});
  PutEntry({"600", 'C', 3, 8, 0, 2, d, "Fee", 0.02});
  std::string text = Disbursement("600")[0];
  EXPECT_TRUE(Has(text, "Buyer: +____________________\\n")) << text;
  EXPECT_TRUE(Has(text, "OUT OF BALANCE BY -0\\.01 \\*\\*\\* +1,000\\.00 +1,000\\.01")) << text;
  EXPECT_TRUE(Has(text, "\\*\\*\\*WARNING: Items on different bank accounts \\*\\*\\*"));
  EXPECT_LT(text.find("OUT OF BALANCE"), text.find("WARNING"));
}

TEST_F(FilePrintoutsTest, EmptyFilePrintsBothHeadingsAndBalancedZeroTotals) {
  std::string text = Disbursement("700")[0];
  EXPECT_TRUE(Has(text, "Deposits:"));
  EXPECT_TRUE(Has(text, "Checks:"));
  EXPECT_TRUE(Has(text, "0\\.00 +0\\.00")) << text;
  EXPECT_FALSE(Has(text, "OUT OF BALANCE"));
}

TEST_F(FilePrintoutsTest, SectionsCarriedToTheNextPageAreNeitherLostNorRepeated) {
  // Calibrate how many deposit lines page 1 holds, then walk the counts around it: the
  // warning, the totals and the checks heading are pushed to page 2 in turn.
  LONG d = DateOf(5, 1, 2026);
  for (int i = 0; i < 90; ++i)
    PutEntry({"800", 'D', double(i + 1), 0, 0, 5, d, "dep " + std::to_string(i), 1});
  std::vector<std::string> pages = Disbursement("800");
  int perPage = 0;
  for (int i = 0; i < 90; ++i) perPage += Count(pages[0], "dep " + std::to_string(i) + " ") > 0;
  ASSERT_GT(perPage, 20);
  ASSERT_LT(perPage, 90);

  bool warningAlone = false, totalsAlone = false, checksPushed = false;
  PutEntry({"801", 'C', 1, 9, 5, 2, d, "mixed", 1});
  for (int n = perPage - 6; n <= perPage; ++n) {
    // File 801: n deposits on bank 0 and one check on bank 5 (mixed banks).
    for (int i = n == perPage - 6 ? 0 : n - 1; i < n; ++i)
      PutEntry({"801", 'D', double(100 + i), 0, 0, 5, d, "dep " + std::to_string(i), 1});
    pages = Disbursement("801");
    ASSERT_LE(pages.size(), 2u);
    std::string all;
    for (const std::string& page : pages) all += page;
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(1, Count(all, "dep " + std::to_string(i) + " ")) << n << " " << i;
    EXPECT_EQ(1, Count(all, "mixed")) << n;
    EXPECT_EQ(1, Count(all, "WARNING")) << n;
    EXPECT_EQ(1, Count(all, "Checks:")) << n;
    EXPECT_EQ(1, Count(all, "Deposits:")) << n;
    if (pages.size() == 2) {
      const std::string& second = pages[1];
      EXPECT_TRUE(Has(second, "Page +2"));
      if (Has(second, "WARNING") && !Has(second, "OUT OF BALANCE") && !Has(second, "Checks:"))
        warningAlone = true;
      if (Has(second, "OUT OF BALANCE") && !Has(second, "Checks:")) totalsAlone = true;
      if (Has(second, "Checks:")) checksPushed = true;
      if (Has(second, "WARNING") && !Has(second, "Checks:"))
        EXPECT_TRUE(Has(second, "OUT OF BALANCE"))
            << "the totals line is repeated above the warning";
    }
  }
  EXPECT_TRUE(warningAlone || totalsAlone);
  EXPECT_TRUE(checksPushed);
}

TEST_F(FilePrintoutsTest, CheckRequestPrintsTheReadyChecksInCreationOrder) {
  PutSample();
  LONG d = DateOf(5, 1, 2026);
  PutEntry({"500", 'C', 7, 0, 0, 0, d, "", 1250, ""});
  PutEntry({"500", 'C', 8, 0, 0, 1, d, "Escrow payee", 5});
  PutParty(1, "500", "Sally Seller");
  std::vector<std::string> pages = Request("500");
  ASSERT_EQ(1u, pages.size());
  const std::string& text = pages[0];
  EXPECT_TRUE(Has(text, "Check Request")) << text;
  EXPECT_TRUE(Has(text, "File Number: +500 +Page +1"));
  EXPECT_TRUE(Has(text, "Buyer: +Ann & Bob Buyer"));
  EXPECT_TRUE(Has(text, "Seller: +Sally Seller"));
  EXPECT_EQ(2, Count(text, "Check Number: _______"));
  EXPECT_TRUE(Has(text, "Check Amount: +\\$999\\.99"));
  EXPECT_TRUE(Has(text, "Check Amount: +\\$1,250\\.00"));
  EXPECT_TRUE(Has(text, "Payee: +Payee A"));
  EXPECT_TRUE(Has(text, "Description: +Payoff of the first & second"));
  EXPECT_EQ(2,
            Count(text, "__________________________________\n"));  // payee and description blanks
  EXPECT_LT(text.find("Payee A"), text.find("1,250.00"));
  for (const char* absent : {"Void payee", "Payee B", "Escrow payee", "Other file"})
    EXPECT_FALSE(Has(text, absent)) << absent;
}

TEST_F(FilePrintoutsTest, CheckRequestPartiesOnPageOneOnlyAndAHeadingOnlyLastPage) {
  LONG d = DateOf(5, 1, 2026);
  PutParty(0, "900", "Only Buyer");
  for (int i = 0; i < 12; ++i)
    PutEntry({"900", 'C', double(i + 1), 0, 0, 0, d, "req " + std::to_string(i), 1});
  std::vector<std::string> pages = Request("900");
  ASSERT_GE(pages.size(), 2u);
  int onFirst = 0;
  for (int i = 0; i < 12; ++i) onFirst += Count(pages[0], "req " + std::to_string(i) + "\n");
  ASSERT_GT(onFirst, 0);
  EXPECT_TRUE(Has(pages[0], "Buyer: +Only Buyer"));
  EXPECT_FALSE(Has(pages[1], "Buyer:"));
  std::string all;
  for (const std::string& page : pages) all += page;
  for (int i = 0; i < 12; ++i) EXPECT_EQ(1, Count(all, "req " + std::to_string(i) + "\n")) << i;

  // Exactly as many Ready checks as page 1 holds: one more page with the heading alone.
  for (int i = 12; i < 20; ++i) PutEntry({"901", 'C', double(i + 1), 0, 0, 2, d, "printed", 1});
  for (int i = 0; i < onFirst; ++i)
    PutEntry({"901", 'C', double(100 + i), 0, 0, 0, d, "r" + std::to_string(i), 1});
  pages = Request("901");
  ASSERT_EQ(2u, pages.size());
  EXPECT_TRUE(Has(pages[1], "Page +2"));
  EXPECT_EQ(0, Count(pages[1], "Check Number:"));
}

}  // namespace

namespace {

/* Page 1 of both per-file printouts as PNGs in the build tree, to look at. */
TEST_F(FilePrintoutsTest, PicturesOfTheFirstPages) {
  PutSample();
  PutParty(1, "500", "Sally Seller");
  std::filesystem::path dir = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(dir);
  ClearPrintedPdfs();
  PrintDisbursementReport(nullptr, "500");
  RenderFirstPage(PrintedPdf(), (dir / "disbursement_report.png").string());
  ClearPrintedPdfs();
  PrintCheckRequest(nullptr, "500");
  RenderFirstPage(PrintedPdf(), (dir / "check_request.png").string());
  EXPECT_GT(std::filesystem::file_size(dir / "disbursement_report.png"), 1000u);
  EXPECT_GT(std::filesystem::file_size(dir / "check_request.png"), 1000u);
}

}  // namespace
