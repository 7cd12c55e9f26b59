/*
** The accounting tests' tables: made in the fresh root with the creation library and opened
** into the program-wide table set.
*/
#include "accounting_tables.h"

#include "tableaccess/tests/support/shared_tables.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include "platform/gdi/gdi_print.h"
#include "platform/testing/other_programs.h"
#include "platform/testing/printed_pdfs.h"
#include "tableaccess/printer_settings.h"

#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {}  // namespace

void AccountingTablesTest::SetUp() {
  GuiTest::SetUp();
  ASSERT_TRUE(MakeDirectoryPath(kTestDatabaseDir));
  ASSERT_TRUE(MakeDirectoryPath("C:\\ZARNE\\PRIVATE"));
  ASSERT_EQ("", OpenFreshSharedTables(kTestDatabaseDir, "C:\\ZARNE\\PRIVATE"));
  OpenSharedRecords();
  gDefaultAccount = 0;
  ASSERT_EQ(0u, Shown().size()) << Shown()[0].text;
}

void AccountingTablesTest::TearDown() {
  CloseSharedTables();
  GuiTest::TearDown();
}

void AccountingTablesTest::PutBank(SHORT key, const char* name) {
  TPXRecord bank(gTables[kBankTable], true);
  bank.Clear();
  bank.SetShort(1, key);
  bank.SetString(2, name);
  ASSERT_TRUE(bank.Post());
}

void AccountingTablesTest::PutTwentyBanks() {
  for (SHORT key = 0; key < 20; ++key) {
    char name[32];
    std::snprintf(name, sizeof name, "Account %d", key);
    PutBank(key, name);
  }
}

void AccountingTablesTest::PutEntry(const Entry& entry) {
  TPXRecord record(gTables[kAccountTable], true);
  record.Clear();
  const char type[2] = {entry.type, '\0'};
  ASSERT_TRUE(record.SetString(1, entry.file.c_str()));
  record.SetString(2, type);
  record.SetDouble(3, entry.seq);
  record.SetDouble(4, static_cast<double>(entry.number));
  record.SetShort(5, static_cast<SHORT>(entry.bank));
  record.SetShort(6, static_cast<SHORT>(entry.status));
  record.SetLong(7, entry.date);
  record.SetString(8, entry.payee.c_str());
  record.SetString(9, entry.description.c_str());
  record.SetDouble(10, entry.amount);
  ASSERT_TRUE(record.Insert());
}

void AccountingTablesTest::PutParty(int table, const std::string& file,
                                    const std::string& firstName) {
  TPXRecord record(gTables[table], true);
  record.Clear();
  record.SetString(1, file.c_str());
  record.SetString(2, firstName.c_str());
  ASSERT_TRUE(record.Post());
}

void AccountingTablesTest::UsePdfReportPrinter(int copies) {
  gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
  gReportPrintData.SetDevMode(&mode);
  gReportPrintData.Copies = copies;
  ClearPrintedPdfs();
}

void AccountingTablesTest::ClearPrintedPdfs() { RemovePrintedPdfs(); }

size_t AccountingTablesTest::PrintedPdfCount() { return PrintedPdfs().size(); }

std::vector<std::string> AccountingTablesTest::AllPrintedPages() {
  std::vector<std::string> pages;
  for (const std::string& file : PrintedPdfs())
    for (std::string& page : PdfLayoutPages(file)) pages.push_back(page);
  return pages;
}

std::string AccountingTablesTest::PrintedPdf() {
  std::vector<std::string> files = PrintedPdfs();
  EXPECT_EQ(1u, files.size());
  return files.empty() ? std::string() : files[0];
}

bool AccountingTablesTest::TellsPrintedPdfs(const MessageBoxRequest& box) {
  std::vector<std::string> files = PrintedPdfs();
  if (box.caption != "Printed to a File" || files.empty()) return false;
  for (const std::string& file : files) {
    std::filesystem::path path(file);
    if (box.text.find(path.parent_path().string() + "/") == std::string::npos ||
        box.text.find(path.filename().string()) == std::string::npos)
      return false;
  }
  return true;
}

void AccountingTablesTest::ExpectOnlyPrintedPdfsTold() {
  ASSERT_EQ(1u, Shown().size()) << (Shown().empty() ? std::string("no box") : Shown().back().text);
  EXPECT_TRUE(TellsPrintedPdfs(Shown()[0])) << Shown()[0].caption << ": " << Shown()[0].text;
}

std::string AccountingTablesTest::PdfText(const std::string& pdf) { return PdfLayoutText(pdf); }

std::vector<std::string> AccountingTablesTest::PdfPages(const std::string& pdf) {
  return PdfLayoutPages(pdf);
}

void AccountingTablesTest::RenderFirstPage(const std::string& pdf, const std::string& png) {
  std::string base = png.substr(0, png.size() - 4);
  ProgramOutput("pdftoppm -png -r 80 -f 1 -l 1 -singlefile '" + pdf + "' '" + base + "'");
}

LONG DateOf(int month, int day, int year) {
  LONG date = 0;
  EncodeDate(date, month, day, year);
  return date;
}

/* The amount after a label in a PDF's text, without its commas; empty when absent. */
std::string AmountAfter(const std::string& text, const std::string& label) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(label + " +(-?[0-9,]+\\.[0-9][0-9])")))
    return std::string();
  std::string amount = match[1];
  amount.erase(std::remove(amount.begin(), amount.end(), ','), amount.end());
  return amount;
}
