/*
** The check register printed through its command: which checks it lists (Printed and later,
** checks only, the chosen account), in the order of each range's index, the range lines,
** and a long register across batches and pages with every row exactly once.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/pdf_words.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

class CheckRegisterTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    PutBank(1, "Trust & Escrow");
    gDefaultAccount = 1;
    LoadBankLists();
    UsePdfReportPrinter();
  }

  /* Runs the command, letting `fill` set the dialog before OK. */
  std::string PrintRegister(DialogDriver::Script fill = {}) {
    DialogDriver driver;
    driver.OnDialog(20950, [fill](HWND dialog) {
      if (fill) fill(dialog);
      PressButton(dialog, IDOK);
    });
    RunReportCommand(kCheckRegisterReport, nullptr);
    EXPECT_EQ(0u, driver.Pending());
    return PrintedPdf();
  }

  void PutSample() {
    LONG jan5 = DateOf(1, 5, 2026);
    PutEntry({"100", 'C', 1, 1001, 1, 2, jan5, "Alpha & Sons", 125.50});
    PutEntry({"100", 'C', 2, 1002, 1, 0, jan5, "Ready check", 1});
    PutEntry({"100", 'C', 3, 1003, 1, 1, jan5, "Escrow check", 2});
    PutEntry({"100", 'D', 4, 0, 1, 5, jan5, "A deposit", 500});
    PutEntry({"101", 'C', 5, 1004, 2, 2, DateOf(1, 2, 2026), "Other account", 3});
    PutEntry({"101", 'C', 6, 1005, 1, 4, DateOf(1, 9, 2026), "Voided payee", 0});
    PutEntry({"102", 'C', 7, 998, 1, 6, DateOf(1, 3, 2026), "Reconciled payee", 1234.56});
    PutEntry({"102", 'B', 8, 0, 1, 5, jan5, "", 10});
  }
};

/* The payees of the listed rows, top to bottom. */
std::vector<std::string> ListedPayees(const std::string& text,
                                      const std::vector<std::string>& known) {
  std::vector<std::pair<size_t, std::string>> found;
  for (const std::string& payee : known)
    for (size_t at = text.find(payee); at != std::string::npos; at = text.find(payee, at + 1))
      found.push_back({at, payee});
  std::sort(found.begin(), found.end());
  std::vector<std::string> order;
  for (auto& f : found) order.push_back(f.second);
  return order;
}

const std::vector<std::string> kSamplePayees = {"Alpha & Sons",    "Ready check",   "Escrow check",
                                                "A deposit",       "Other account", "Voided payee",
                                                "Reconciled payee"};

TEST_F(CheckRegisterTest, AllListsPrintedAndLaterChecksOfTheAccountInKeyOrder) {
  PutSample();
  std::string text = PdfText(PrintRegister());
  EXPECT_NE(text.find("Check Register"), std::string::npos) << text;
  EXPECT_NE(text.find("Trust & Escrow"), std::string::npos);
  EXPECT_NE(text.find("All"), std::string::npos);
  EXPECT_TRUE(std::regex_search(text, std::regex("Page +1")));
  for (const char* heading : {"Number", "Date", "File Number", "Status", "Payee", "Amount"})
    EXPECT_NE(text.find(heading), std::string::npos) << heading;
  EXPECT_EQ((std::vector<std::string>{"Alpha & Sons", "Voided payee", "Reconciled payee"}),
            ListedPayees(text, kSamplePayees));
  EXPECT_TRUE(
      std::regex_search(text, std::regex("1001 +01/05/2026 +100 +Printed +Alpha & Sons +125\\.50")))
      << text;
  EXPECT_TRUE(
      std::regex_search(text, std::regex("1005 +01/09/2026 +101 +Void +Voided payee +0\\.00")));
  EXPECT_TRUE(std::regex_search(
      text, std::regex("998 +01/03/2026 +102 +Reconciled +Reconciled payee +1,234\\.56")));
  ExpectOnlyPrintedPdfsTold();
}

TEST_F(CheckRegisterTest, DatesOfTwoCenturiesPrintApartAndEveryColumnStaysWhole) {
  // Short dates write 1901 to 1999 in two digits, every other year in full.
  PutEntry({"1924-000000-001", 'C', 1, 1001, 1, 2, DateOf(1, 15, 1924), "Old payee", 10});
  PutEntry({"2024-000000-002", 'C', 2, 1002, 1, 2, DateOf(1, 15, 2024), "New payee", 20});
  std::string pdf = PrintRegister();
  std::string text = PdfText(pdf);
  EXPECT_TRUE(std::regex_search(
      text, std::regex("1001 +01/15/24 +1924-000000-001 +Printed +Old payee +10\\.00")))
      << text;
  EXPECT_TRUE(std::regex_search(
      text, std::regex("1002 +01/15/2024 +2024-000000-002 +Printed +New payee +20\\.00")));
  // The full year ends before the file number begins, which still ends before the status.
  std::vector<PdfWord> words = PdfWords(pdf);
  auto word = [&](const std::string& wanted) {
    for (const PdfWord& w : words)
      if (w.text == wanted) return w;
    ADD_FAILURE() << wanted;
    return PdfWord{};
  };
  EXPECT_LT(word("01/15/2024").xMax, word("2024-000000-002").xMin);
  EXPECT_LT(word("2024-000000-002").xMax, word("Printed").xMin);
  EXPECT_NEAR(word("File").xMin, word("2024-000000-002").xMin, 0.5);
}

TEST_F(CheckRegisterTest, DateRangeWalksByDateAndStopsAfterTheUpperDate) {
  PutSample();
  std::string text = PdfText(PrintRegister([](HWND dialog) {
    PressButton(dialog, 400);
    SetControlText(dialog, 401, "01/03/26");
    SetControlText(dialog, 402, "01/08/26");
  }));
  EXPECT_NE(text.find("Dates: 01/03/2026 - 01/08/2026"), std::string::npos) << text;
  // 01/03 then 01/05; the void check of 01/09 lies after the upper date.
  EXPECT_EQ((std::vector<std::string>{"Reconciled payee", "Alpha & Sons"}),
            ListedPayees(text, kSamplePayees));
}

TEST_F(CheckRegisterTest, NumberRangeWalksByCheckNumber) {
  PutSample();
  std::string text = PdfText(PrintRegister([](HWND dialog) {
    PressButton(dialog, 500);
    SetControlText(dialog, 501, "0");
    SetControlText(dialog, 502, "1004");
  }));
  EXPECT_NE(text.find("Check Numbers: 0 - 1004"), std::string::npos) << text;
  // Deposits and the adjustment (number 0) are read and skipped; 998 comes before 1001.
  EXPECT_EQ((std::vector<std::string>{"Reconciled payee", "Alpha & Sons"}),
            ListedPayees(text, kSamplePayees));
}

TEST_F(CheckRegisterTest, FileRangeComparesFileNumbersByteByByte) {
  // In key order "A-1" < "A-2" < "A1"; a word-order comparison would stop at once.
  PutEntry({"A-1", 'C', 1, 1, 1, 2, DateOf(2, 1, 2026), "first", 1});
  PutEntry({"A-2", 'C', 2, 2, 1, 2, DateOf(2, 1, 2026), "second", 2});
  PutEntry({"A1", 'C', 3, 3, 1, 2, DateOf(2, 1, 2026), "third", 3});
  PutEntry({"B", 'C', 4, 4, 1, 2, DateOf(2, 1, 2026), "fourth", 4});
  std::string text = PdfText(PrintRegister([](HWND dialog) {
    PressButton(dialog, 300);
    SetControlText(dialog, 301, "A-1");
    SetControlText(dialog, 302, "A1");
  }));
  EXPECT_NE(text.find("Files: A-1 - A1"), std::string::npos) << text;
  EXPECT_EQ((std::vector<std::string>{"first", "second", "third"}),
            ListedPayees(text, {"first", "second", "third", "fourth"}));
}

TEST_F(CheckRegisterTest, EmptyUpperFileBoundListsNothing) {
  PutSample();
  std::string text = PdfText(PrintRegister([](HWND dialog) {
    PressButton(dialog, 300);
    SetControlText(dialog, 301, "100");
  }));
  EXPECT_TRUE(ListedPayees(text, kSamplePayees).empty()) << text;
  EXPECT_NE(text.find("File Number"), std::string::npos);  // the heading still prints
}

TEST_F(CheckRegisterTest, TwoHundredFiftyChecksPrintOnceEachAcrossBatchesAndPages) {
  std::vector<std::string> payees;
  for (int i = 0; i < 250; ++i) {
    char file[16], payee[32];
    std::snprintf(file, sizeof file, "F%04d", i);
    std::snprintf(payee, sizeof payee, "Payee number %03d", i);
    payees.push_back(payee);
    PutEntry({file, 'C', double(i + 1), 5000 + i, 1, 2, DateOf(3, 1, 2026), payee, 10.0 + i});
    if (i % 3 == 0) PutEntry({file, 'D', double(1000 + i), 0, 1, 5, DateOf(3, 1, 2026), "skip", 1});
  }
  std::vector<std::string> pages = PdfPages(PrintRegister());
  ASSERT_GE(pages.size(), 3u);
  std::vector<std::string> listed;
  for (size_t p = 0; p < pages.size(); ++p) {
    EXPECT_TRUE(std::regex_search(pages[p], std::regex("Page +" + std::to_string(p + 1) + "\\n")))
        << p;
    EXPECT_NE(pages[p].find("Check Register"), std::string::npos) << p;
    for (const std::string& payee : ListedPayees(pages[p], payees)) listed.push_back(payee);
  }
  EXPECT_EQ(payees, listed);
}

TEST_F(CheckRegisterTest, CancelPrintsNothing) {
  PutSample();
  DialogDriver driver;
  driver.OnDialog(20950, [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  RunReportCommand(kCheckRegisterReport, nullptr);
  EXPECT_EQ(0u, driver.Pending());
  EXPECT_EQ(0u, PrintedPdfCount());
}

}  // namespace
