/*
** The amortizer driven as a user drives it: the payment follows what is typed into the
** principal, rate and term; "&Print" asks for the parties and prints the schedule to the
** PDF device, read back with pdftotext and compared line by line with schedules worked out
** by amortization_references.py (Python decimal). Also the refusal without an origination
** date, page headings, lines continuous across pages and two identical copies.
*/
#include "platform/gdi/gdi_print.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/other_programs.h"
#include "platform/testing/printed_pdfs.h"
#include "platform/user/winuser.h"
#include "statement/amortization_schedule.h"
#include "statement/amortizer.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/printer_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct LoanCase {
  std::string name, principal, rate, term, maturity, typedPayment;
  int month = 0, day = 0, year = 0;
  std::string shownPayment;
};

std::string DataPath(const std::string& name) {
  return std::string(std::getenv("ZARNE_TEST_DATA")) + "/amortization/" + name;
}

std::vector<LoanCase> Cases() {
  std::vector<LoanCase> cases;
  std::ifstream in(DataPath("cases.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    LoanCase c;
    fields >> c.name >> c.principal >> c.rate >> c.term >> c.maturity >> c.typedPayment >>
        c.month >> c.day >> c.year >> c.shownPayment;
    cases.push_back(c);
  }
  return cases;
}

std::vector<std::string> ExpectedLines(const std::string& name) {
  std::vector<std::string> lines;
  std::ifstream in(DataPath(name + ".txt"));
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

/* The schedule lines and page headings of a printed PDF, in order. */
struct PrintedSchedule {
  std::vector<std::string> lines;
  std::vector<int> pages;  // the "Page  n" numbers in order
  std::vector<int> linesPerPage;
};

PrintedSchedule ReadSchedule(const fs::path& pdf) {
  std::string text = ProgramOutput("pdftotext -layout '" + pdf.string() + "' -");
  static const std::regex kLine(
      R"(^\s*(\d+)\s+(\d\d) / (\d\d) / (\d+)\s+(-?[\d,]+\.\d\d)\s+(-?[\d,]+\.\d\d)\s+(-?[\d,]+\.\d\d)\s+(-?[\d,]+\.\d\d)\s*$)");
  // pdftotext gives a run of spaces as one, so "Page  1" reads back as "Page 1".
  static const std::regex kPage(R"(^\s*Page\s+(\d+)\s*$)");
  PrintedSchedule printed;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_search(line, match, kPage)) {
      printed.pages.push_back(std::stoi(match[1]));
      printed.linesPerPage.push_back(0);
    } else if (std::regex_match(line, match, kLine)) {
      printed.lines.push_back(match[1].str() + " " + match[2].str() + " / " + match[3].str() +
                              " / " + match[4].str() + " " + match[5].str() + " " + match[6].str() +
                              " " + match[7].str() + " " + match[8].str());
      if (!printed.linesPerPage.empty()) ++printed.linesPerPage.back();
    }
  }
  return printed;
}

class Amortizer : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
    DEVMODE mode{};
    ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
    gReportPrintData.SetDevMode(&mode);
    gReportPrintData.Copies = 1;
  }

  static bool PrintEnabled(HWND dialog) {
    return IsWindowEnabled(FindControl(dialog, IDC_AMORT_PRINT));
  }

  /* Types the loan in, checks the payment shown, and prints with the given parties. */
  void PrintCase(const LoanCase& c, std::string* shown, bool* enabled) {
    driver.OnDialog(IDD_AMORTIZER, [&](HWND dialog) {
      TypeIntoControl(dialog, IDC_AMORT_PRINCIPAL, c.principal);
      TypeIntoControl(dialog, IDC_AMORT_RATE, c.rate);
      TypeIntoControl(dialog, IDC_AMORT_TERM, c.term);
      *shown = ControlTextOf(dialog, IDC_AMORT_PAYMENT);
      if (c.maturity != "0") TypeIntoControl(dialog, IDC_AMORT_MATURITY, c.maturity);
      if (c.typedPayment != "-") TypeIntoControl(dialog, IDC_AMORT_PAYMENT, c.typedPayment);
      *enabled = PrintEnabled(dialog);
      driver.OnDialog(IDD_AMORT_REPORT_INFO, [&](HWND info) {
        TypeIntoControl(info, IDC_AMORT_BORROWER, "Pat Buyer");
        TypeIntoControl(info, IDC_AMORT_LENDER, "First Lender");
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%04d", c.month, c.day, c.year);
        TypeIntoControl(info, IDC_AMORT_ORIGINATION, date);
        PressButton(info, IDOK);
      });
      PressButton(dialog, IDC_AMORT_PRINT);
      if (IsWindowVisible(dialog)) PressButton(dialog, IDOK);
    });
    RunAmortizer(nullptr);
  }

  /* The PDF documents printed, in the order the device numbered them. */
  static std::vector<fs::path> Pdfs() {
    std::vector<std::string> files = PrintedPdfs();
    return std::vector<fs::path>(files.begin(), files.end());
  }
  fs::path OnlyPdf() {
    std::vector<fs::path> files = Pdfs();
    EXPECT_EQ(files.size(), 1u);
    return files.empty() ? fs::path() : files[0];
  }

  void ClearPdfs() {
    fs::path dir = GdiPdfOutputDirectory();
    if (fs::exists(dir)) fs::remove_all(dir);
  }

  DialogDriver driver;
};

}  // namespace

TEST_F(Amortizer, PaymentFollowsTheTypedLoanAndPrintNeedsIt) {
  std::string shown, afterZeroRate, afterZeroTerm;
  bool enabledAtStart = true, enabledWithPayment = false, enabledWithoutPayment = true;
  driver.OnDialog(IDD_AMORTIZER, [&](HWND dialog) {
    enabledAtStart = PrintEnabled(dialog);
    TypeIntoControl(dialog, IDC_AMORT_PRINCIPAL, "100000");
    TypeIntoControl(dialog, IDC_AMORT_RATE, "8");
    TypeIntoControl(dialog, IDC_AMORT_TERM, "360");
    shown = ControlTextOf(dialog, IDC_AMORT_PAYMENT);
    enabledWithPayment = PrintEnabled(dialog);
    SaveWindowScreenshot(dialog, RECALC_OUTPUT_DIR "/amortizer.png");
    TypeIntoControl(dialog, IDC_AMORT_RATE, "0");
    afterZeroRate = ControlTextOf(dialog, IDC_AMORT_PAYMENT);
    enabledWithoutPayment = PrintEnabled(dialog);
    TypeIntoControl(dialog, IDC_AMORT_RATE, "8");
    TypeIntoControl(dialog, IDC_AMORT_TERM, "0");
    afterZeroTerm = ControlTextOf(dialog, IDC_AMORT_PAYMENT);
    PressButton(dialog, IDOK);
  });
  RunAmortizer(nullptr);
  EXPECT_FALSE(enabledAtStart);
  EXPECT_EQ(shown, "733.76");
  EXPECT_TRUE(enabledWithPayment);
  EXPECT_EQ(afterZeroRate, "");
  EXPECT_FALSE(enabledWithoutPayment);
  EXPECT_EQ(afterZeroTerm, "");
  EXPECT_TRUE(driver.Unanswered().empty());
}

TEST_F(Amortizer, SchedulesPrintLineForLineAsWorkedOut) {
  std::vector<LoanCase> cases = Cases();
  ASSERT_EQ(cases.size(), 7u);
  for (const LoanCase& c : cases) {
    ClearPdfs();
    Boxes().Clear();
    std::string shown;
    bool enabled = false;
    PrintCase(c, &shown, &enabled);
    EXPECT_EQ(shown, c.shownPayment) << c.name;
    EXPECT_TRUE(enabled) << c.name;
    // The only box says where the schedule went.
    const fs::path pdf = OnlyPdf();
    ASSERT_EQ(Boxes().Shown().size(), 1u) << c.name;
    EXPECT_EQ(Boxes().Shown()[0].caption, "Printed to a File") << c.name;
    EXPECT_NE(Boxes().Shown()[0].text.find(pdf.string()), std::string::npos)
        << Boxes().Shown()[0].text;
    PrintedSchedule printed = ReadSchedule(pdf);
    std::vector<std::string> expected = ExpectedLines(c.name);
    ASSERT_FALSE(expected.empty()) << c.name;
    EXPECT_EQ(printed.lines, expected) << c.name;
    ASSERT_FALSE(printed.pages.empty()) << c.name;
    for (size_t p = 0; p < printed.pages.size(); ++p) {
      EXPECT_EQ(printed.pages[p], static_cast<int>(p + 1)) << c.name;
      EXPECT_GT(printed.linesPerPage[p], 0) << c.name << " page " << p + 1;
    }
    if (c.name == "thirty_years") EXPECT_GT(printed.pages.size(), 3u);
  }
}

TEST_F(Amortizer, TwoCopiesAreAlike) {
  gReportPrintData.Copies = 2;
  LoanCase c = Cases()[0];
  std::string shown;
  bool enabled = false;
  PrintCase(c, &shown, &enabled);
  // The device writes the pages again for the second copy: one document, the schedule twice.
  PrintedSchedule printed = ReadSchedule(OnlyPdf());
  std::vector<std::string> expected = ExpectedLines(c.name);
  std::vector<std::string> twice = expected;
  twice.insert(twice.end(), expected.begin(), expected.end());
  EXPECT_EQ(printed.lines, twice);
  ASSERT_EQ(printed.pages.size() % 2, 0u);
  size_t half = printed.pages.size() / 2;
  EXPECT_GT(half, 3u);
  for (size_t p = 0; p < half; ++p) {
    EXPECT_EQ(printed.pages[p], printed.pages[p + half]);
    EXPECT_EQ(printed.linesPerPage[p], printed.linesPerPage[p + half]);
  }
}

TEST_F(Amortizer, NoScheduleWithoutAnOriginationDate) {
  bool stayedOpen = false;
  driver.OnDialog(IDD_AMORTIZER, [&](HWND dialog) {
    TypeIntoControl(dialog, IDC_AMORT_PRINCIPAL, "5000");
    TypeIntoControl(dialog, IDC_AMORT_RATE, "6");
    TypeIntoControl(dialog, IDC_AMORT_TERM, "12");
    driver.OnDialog(IDD_AMORT_REPORT_INFO, [&](HWND info) {
      TypeIntoControl(info, IDC_AMORT_BORROWER, "Pat Buyer");
      SaveWindowScreenshot(info, RECALC_OUTPUT_DIR "/amortization_schedule_info.png");
      PressButton(info, IDOK);
      stayedOpen = IsWindowVisible(info);
      PressButton(info, IDCANCEL);
    });
    PressButton(dialog, IDC_AMORT_PRINT);
    PressButton(dialog, IDOK);
  });
  RunAmortizer(nullptr);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Enter the loan origination date.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "Zarne Message");
  EXPECT_TRUE(stayedOpen);
  fs::path dir = GdiPdfOutputDirectory();
  EXPECT_TRUE(!fs::exists(dir) || fs::is_empty(dir));
}

// The interest of a line is the exact product rounded once: a half cent goes to the even
// cent, where a product first rounded to 18 digits could tip over.
TEST(AmortizationArithmetic, InterestIsTheExactProductRoundedOnce) {
  ScriptDecimal m = MonthlyRate(6.0);  // 0.005 exactly
  EXPECT_EQ(m.ToText(), "0.005");
  EXPECT_EQ(InterestAtCents(ScriptDecimal{100100, -2}, m).ToText(), "5");     // 5.005 -> 5.00
  EXPECT_EQ(InterestAtCents(ScriptDecimal{100300, -2}, m).ToText(), "5.02");  // 5.015 -> 5.02
  // 8% a year: 0.00666666666666666667 (18 digits); 100000.00 x that is 666.666...67.
  EXPECT_EQ(MonthlyRate(8.0).ToText(), "0.00666666666666666667");
  EXPECT_EQ(InterestAtCents(ScriptDecimal{10000000, -2}, MonthlyRate(8.0)).ToText(), "666.67");
  EXPECT_EQ(InterestAtCents(ScriptDecimal{-100100, -2}, m).ToText(), "-5");
}
