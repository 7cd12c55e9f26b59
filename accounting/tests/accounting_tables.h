/*
** The fixture of the accounting tests: an engine session over the test's fresh root, the
** sixteen shared tables made from the catalogue and opened as start-up opens them, the
** program-wide ACCOUNT and BANK records, and every box recorded.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_ACCOUNTING_TABLES_H
#define ZARNE_ACCOUNTING_TESTS_ACCOUNTING_TABLES_H

#include "platform/testing/gui_test.h"
#include "platform/user/message_box.h"
#include "tableaccess/px_record.h"

#include <string>
#include <vector>

/* Where the tests' tables live, as the program names its database directory. */
constexpr const char kTestDatabaseDir[] = "C:\\ZARNE\\DATA";

class AccountingTablesTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::vector<MessageBoxRequest>& Shown() { return Boxes().Shown(); }

  /* Writes BANK record `key` with an account name (an empty name leaves it unnamed). */
  static void PutBank(SHORT key, const char* name);
  /* Inserts twenty BANK records named "Account 0" .. "Account 19". */
  static void PutTwentyBanks();

  /* One ACCOUNT entry. */
  struct Entry {
    std::string file;
    char type;
    double seq;
    long number;
    int bank;
    int status;
    LONG date;
    std::string payee;
    double amount;
    std::string description;
  };
  static void PutEntry(const Entry& entry);
  /* A party record (BUYER or SELLER) with its first name. */
  static void PutParty(int table, const std::string& file, const std::string& firstName);

  /* The reports printer is the PDF device; printed documents are collected from its folder. */
  static void UsePdfReportPrinter(int copies = 1);
  /* Removes every printed PDF. */
  static void ClearPrintedPdfs();
  static size_t PrintedPdfCount();
  /* The pages of every PDF printed since the last clear, in the order of their names. */
  static std::vector<std::string> AllPrintedPages();
  /* The one PDF printed since the last clear (fails the test when there is not exactly one). */
  static std::string PrintedPdf();
  /* Whether the box is the one that tells the user where a job printed on the PDF device went:
     it names the directory and the file name of every document printed since the last clear. */
  static bool TellsPrintedPdfs(const MessageBoxRequest& box);
  /* The only box shown is that one. */
  void ExpectOnlyPrintedPdfsTold();
  /* Text of a PDF by pdftotext -layout; pages are separated by form feeds. */
  static std::string PdfText(const std::string& pdf);
  static std::vector<std::string> PdfPages(const std::string& pdf);
  /* Page 1 of the PDF as a PNG at that path (pdftoppm). */
  static void RenderFirstPage(const std::string& pdf, const std::string& png);
};

/* A date number from month, day and four-digit year. */
LONG DateOf(int month, int day, int year);
/* The amount after a label in a printed document's text, without its commas; empty when
   absent. */
std::string AmountAfter(const std::string& text, const std::string& label);

#endif
