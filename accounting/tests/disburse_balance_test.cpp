// The disbursing dialog's balance: the exact sum of the amounts as shown, in cents, its
// text with thousands commas, and its colours through WM_CTLCOLORSTATIC of static 103 only.
// Amounts and expected texts from ledger_cents_figures.py; each case's running double sum
// would show another text or sign.
#include "disburse_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/testing/screenshot.h"
#include "platform/user/painting.h"
#include "platform/user/winuser.h"

#include <filesystem>

namespace {

struct Colours {
  COLORREF brush, text, background;
};

Colours BalanceColours(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  HDC dc = GetDC(control);
  auto brush = reinterpret_cast<HBRUSH>(SendMessage(
      dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH logical{};
  GetObject(brush, sizeof logical, &logical);
  Colours colours{logical.lbColor, GetTextColor(dc), GetBkColor(dc)};
  ReleaseDC(control, dc);
  return colours;
}

struct BalanceCase {
  const char* name;
  std::vector<double> deposits, checks;
  const char* text;
  int sign;
};

using DisburseBalance = DisburseTest;

TEST_F(DisburseBalance, TheBalanceIsTheCentsSumInItsColour) {
  const BalanceCase cases[] = {
      {"grey", {0.005}, {0.01}, "0.00", 0},
      {"green", {1234.565, 0.135}, {0.3}, "1,234.41", 1},
      {"red", {100.0}, {50.005, 50.005, 0.004}, "-0.02", -1},
      {"half_cents", {0.005, 0.005, 0.005}, {}, "0.03", 1},
  };
  const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(pictures);
  int file = 0;
  for (const BalanceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string number = "BAL" + std::to_string(++file);
    double seq = 731000.0;
    for (double amount : c.deposits)
      Put(number, 'D', seq += 0.01, 3, amount, 0, static_cast<LONG>(0x80000000u), 2,
          "Buyer deposit");
    for (double amount : c.checks)
      Put(number, 'C', seq += 0.01, 0, amount, 0, static_cast<LONG>(0x80000000u), 2,
          "Title company");
    RunDisburse(number.c_str(), [&](HWND dialog, TDisburse& disburse) {
      EXPECT_EQ(Text(dialog, 103), c.text);
      EXPECT_EQ(disburse.BalanceSign, c.sign);
      const Colours colours = BalanceColours(dialog, 103);
      const COLORREF white = RGB(255, 255, 255);
      if (c.sign < 0) {
        EXPECT_EQ(colours.brush, RGB(128, 0, 0));
        EXPECT_EQ(colours.text, white);
        EXPECT_EQ(colours.background, RGB(128, 0, 0));
      } else if (c.sign > 0) {
        EXPECT_EQ(colours.brush, RGB(0, 128, 0));
        EXPECT_EQ(colours.text, white);
        EXPECT_EQ(colours.background, RGB(0, 128, 0));
      } else {
        EXPECT_EQ(colours.brush, RGB(192, 192, 192));
        EXPECT_EQ(colours.text, RGB(0, 0, 0));
        EXPECT_EQ(colours.background, RGB(192, 192, 192));
      }
      // Another static keeps the dialog's own colours, whatever the balance.
      const Colours other = BalanceColours(dialog, 104);
      EXPECT_EQ(other.text, RGB(0, 0, 0));
      if (c.sign != 0) EXPECT_NE(other.brush, colours.brush);
      EXPECT_EQ(Text(dialog, 432), "Account 2");
      SaveWindowScreenshot(
          dialog, (pictures / ("disburse_balance_" + std::string(c.name) + ".png")).string());
    });
  }
}

TEST_F(DisburseBalance, AFileWithoutEntriesShowsZeroOnGreyAndNoAccount) {
  RunDisburse("EMPTY", [&](HWND dialog, TDisburse& disburse) {
    EXPECT_EQ(RowCount(dialog, 200), 0);
    EXPECT_EQ(RowCount(dialog, 300), 0);
    EXPECT_EQ(Text(dialog, 103), "0.00");
    EXPECT_EQ(disburse.BalanceSign, 0);
    EXPECT_EQ(Text(dialog, 432), "");
    EXPECT_EQ(disburse.BankKey, -1);
    EXPECT_EQ(Text(dialog, 104), "EMPTY");
    EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, 501)));  // no statement window
    EXPECT_TRUE(IsWindowEnabled(
        FindControl(dialog, 502)));  // Print Checks works without a statement window
  });
}

TEST_F(DisburseBalance, TheReportButtonsPrintTheShownFile) {
  Put("PRINTS", 'D', 748000.1, 3, 900.0, 0, static_cast<LONG>(0x80000000u), 2, "Buyer deposit");
  Put("PRINTS", 'C', 748000.2, 0, 120.0, 0, static_cast<LONG>(0x80000000u), 2, "Title company");
  PutParty(0, "PRINTS", "Pat Buyer");
  PutParty(1, "PRINTS", "Sam Seller");
  UsePdfReportPrinter();
  std::vector<std::string> pages;
  RunDisburse("PRINTS", [&](HWND dialog, TDisburse&) {
    PressButton(dialog, 503);
    ASSERT_EQ(PrintedPdfCount(), 1u);
    pages = PdfPages(PrintedPdf());
    ClearPrintedPdfs();
    PressButton(dialog, 504);
    EXPECT_EQ(PrintedPdfCount(), 1u);
  });
  ASSERT_FALSE(pages.empty());
  EXPECT_NE(pages[0].find("PRINTS"), std::string::npos);
  EXPECT_NE(pages[0].find("Title company"), std::string::npos);
}

}  // namespace
