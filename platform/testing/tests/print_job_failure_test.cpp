/*
** The failing print job: only the chosen document fails, at the chosen point, leaving no
** file; the ones before and after it print; a hook not reached is dropped with its object.
*/
#include "platform/testing/gui_test.h"
#include "platform/testing/print_job_failure.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_print.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class PrintJobFailureTest : public GuiTest {};

/* Prints a document of `pages` pages on the PDF device; answers the first failing call's
** name ("StartDoc", "StartPage 2", "EndDoc") or "printed". */
std::string PrintDocument(const char* name, int pages) {
  HDC dc = CreateDC("winspool", "PDF", "PDF:", nullptr);
  if (!dc) return "no DC";
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name;
  std::string outcome = "printed";
  if (StartDoc(dc, &info) <= 0) {
    outcome = "StartDoc";
  } else {
    for (int page = 1; page <= pages && outcome == "printed"; ++page) {
      if (StartPage(dc) <= 0) {
        outcome = "StartPage " + std::to_string(page);
        break;
      }
      TextOut(dc, 100, 100, name, static_cast<int>(std::strlen(name)));
      if (EndPage(dc) <= 0) outcome = "EndPage " + std::to_string(page);
    }
    if (outcome == "printed" && EndDoc(dc) <= 0) outcome = "EndDoc";
    if (outcome != "printed" && outcome != "EndDoc") AbortDoc(dc);
  }
  DeleteDC(dc);
  return outcome;
}

std::vector<std::string> PdfNames() {
  std::vector<std::string> names;
  fs::path dir = GdiPdfOutputDirectory();
  if (fs::exists(dir))
    for (const auto& entry : fs::directory_iterator(dir))
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(PrintJobFailureTest, OnlyTheNthDocumentFailsAtThePointChosen) {
  {
    FailingPrintJob failure(2, FailingPrintJob::AtPage, 2);
    EXPECT_EQ(PrintDocument("Check 1", 3), "printed");
    EXPECT_EQ(PrintDocument("Check 2", 3), "StartPage 2");
    EXPECT_EQ(PrintDocument("Check 3", 3), "printed");
  }
  EXPECT_EQ(PdfNames(), (std::vector<std::string>{"Check 1-1", "Check 3-1"}));
  {
    FailingPrintJob failure(1, FailingPrintJob::AtStartDoc);
    EXPECT_EQ(PrintDocument("Register", 1), "StartDoc");
    EXPECT_EQ(PrintDocument("Register", 1), "printed");
  }
  {
    FailingPrintJob failure(1, FailingPrintJob::AtEndDoc);
    EXPECT_EQ(PrintDocument("Ledger", 2), "EndDoc");
  }
  EXPECT_EQ(PdfNames(), (std::vector<std::string>{"Check 1-1", "Check 3-1", "Register-1"}));
  {
    FailingPrintJob unreached(3, FailingPrintJob::AtStartDoc);
    EXPECT_EQ(PrintDocument("Early", 1), "printed");
  }
  EXPECT_EQ(PrintDocument("Later", 1), "printed");
  EXPECT_EQ(PrintDocument("Later", 1), "printed");
}

}  // namespace
