/*
** The Prorater command through its dialog, driven by the dialog driver: the presets around
** the settlement date, the refusals that keep the dialog open, the period text and the
** unrounded share stored into the adjustment line, the totals, and Cancel.
*/
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "statement/prorater.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

#include "statement/tests/recalc_prorater_cases.inc"

constexpr const char* kInvalid = "Invalid data, cannot calculate proration.";

LONG Date(int month, int day, int year) {
  LONG date = kBlankDate;
  EncodeDate(date, month, day, year);
  return date;
}

class ProraterCommand : public StatementTablesTest {
 protected:
  /* Runs the command over a field id; `steps` runs in the dialog (and ends it). */
  bool Run(int fieldId, const std::function<void(HWND)>& steps) {
    driver.OnDialog(IDD_PRORATER, [&](HWND dialog) {
      from = ControlTextOf(dialog, IDC_PRORATER_FROM);
      to = ControlTextOf(dialog, IDC_PRORATER_TO);
      days = ControlTextOf(dialog, IDC_PRORATER_DAYS);
      steps(dialog);
      if (IsWindowVisible(dialog)) PressButton(dialog, IDCANCEL);
    });
    return RunProrater(nullptr, view, fieldId);
  }

  static void EnterRange(HWND dialog, const char* amount, const char* days, const char* from,
                         const char* to) {
    TypeIntoControl(dialog, IDC_PRORATER_AMOUNT, amount);
    TypeIntoControl(dialog, IDC_PRORATER_DAYS, days);
    TypeIntoControl(dialog, IDC_PRORATER_FROM, from);
    TypeIntoControl(dialog, IDC_PRORATER_TO, to);
  }

  DialogDriver driver;
  std::string from, to, days;
};

}  // namespace

TEST_F(ProraterCommand, StoresThePeriodAndTheUnroundedShareAndRunsItsSidesTotals) {
  SetLong(kSummary1Table, 2, Date(3, 15, 1997));
  bool stored = Run(237, [](HWND dialog) {
    EnterRange(dialog, "1200", "365", "01/01/1997", "04/01/1997");
    SaveWindowScreenshot(dialog, RECALC_OUTPUT_DIR "/prorater.png");
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(stored);
  EXPECT_EQ(from, "03/15/97");  // a buyer's line: from the settlement date
  EXPECT_EQ(to, "01/01/98");    // to January 1 of the next year
  EXPECT_EQ(days, "365");
  EXPECT_EQ(Text(kSummary1Table, 32), "1/1/97 - 4/1/97");
  EXPECT_EQ(Double(kSummary1Table, 33), kProraterShare);
  EXPECT_EQ(Double(kSummary1Table, 38), kProraterShareAtCents);  // line 120
  EXPECT_EQ(Double(kSummary1Table, 39), kProraterShareAtCents);  // line 420
  EXPECT_EQ(Double(kSummary2Table, 59), kProraterShareAtCents);
  EXPECT_EQ(Double(kSummary2Table, 60), kProraterShareAtCents);
  for (int id : {237, 238, 269, 270})
    EXPECT_NE(std::find(view.repainted.begin(), view.repainted.end(), id), view.repainted.end());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ProraterCommand, SellersLinesRunUpToTheSettlementDateAndYearsAfter2000AreShort) {
  SetLong(kSummary1Table, 2, Date(6, 30, 2005));
  Run(359, [](HWND dialog) {
    TypeIntoControl(dialog, IDC_PRORATER_AMOUNT, "3650");
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(from, "01/01/05");
  EXPECT_EQ(to, "06/30/05");
  EXPECT_EQ(Text(kSummary2Table, 49), "1/1/5 - 6/30/5");
  EXPECT_EQ(Double(kSummary2Table, 50), 180 * (3650.0 / 365));
  EXPECT_EQ(Double(kSummary2Table, 57), 1800.0);  // line 220
  EXPECT_EQ(Double(kSummary2Table, 58), 1800.0);  // line 520
}

TEST_F(ProraterCommand, BlankSettlementDateLeavesFromBlankOnABuyersLine) {
  int year = 0, month = 0, day = 0;
  DecodeDate(TodayDate(), month, day, year);
  char nextYear[16];
  std::snprintf(nextYear, sizeof nextYear, "01/01/%02d", (year + 1) % 100);
  Run(241, [](HWND) {});
  EXPECT_EQ(from, "");
  EXPECT_EQ(to, nextYear);
  EXPECT_EQ(Text(kSummary1Table, 36), "");
}

TEST_F(ProraterCommand, InvalidInputIsRefusedAndTheDialogStaysOpen) {
  struct {
    const char *amount, *days, *from, *to;
  } refused[] = {
      {"100", "365", "02/01/1997", "02/01/1997"},  // from equal to to
      {"100", "365", "03/01/1997", "02/01/1997"},  // reversed
      {"100", "365", "", "02/01/1997"},            // blank date
      {"0", "365", "01/01/1997", "02/01/1997"},    // no amount
      {"100", "0", "01/01/1997", "02/01/1997"},    // no period
  };
  SetLong(kSummary1Table, 2, Date(3, 15, 1997));
  SetText(kSummary1Table, 30, "kept");
  SetDouble(kSummary1Table, 31, 12.5);
  for (const auto& c : refused) {
    Boxes().Clear();
    bool stayedOpen = false;
    bool stored = Run(235, [&](HWND dialog) {
      EnterRange(dialog, c.amount, c.days, c.from, c.to);
      PressButton(dialog, IDOK);
      stayedOpen = IsWindowVisible(dialog);
    });
    EXPECT_FALSE(stored) << c.from << " " << c.to << " " << c.amount << " " << c.days;
    EXPECT_TRUE(stayedOpen) << c.from << " " << c.to << " " << c.amount << " " << c.days;
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, kInvalid);
    EXPECT_EQ(Shown()[0].caption, "Zarne Message");
  }
  EXPECT_EQ(Text(kSummary1Table, 30), "kept");
  EXPECT_EQ(Double(kSummary1Table, 31), 12.5);
}

TEST_F(ProraterCommand, CancelAndOtherFieldsStoreNothing) {
  SetLong(kSummary1Table, 2, Date(3, 15, 1997));
  SetDouble(kSummary1Table, 38, 99);
  EXPECT_FALSE(Run(239, [](HWND dialog) {
    TypeIntoControl(dialog, IDC_PRORATER_AMOUNT, "500");
    PressButton(dialog, IDCANCEL);
  }));
  EXPECT_EQ(Text(kSummary1Table, 34), "");
  EXPECT_EQ(Double(kSummary1Table, 35), 0.0);
  EXPECT_EQ(Double(kSummary1Table, 38), 99.0);

  // A field outside the adjustment lines keeps the last use's dates and stores nothing.
  EXPECT_TRUE(Run(213, [](HWND dialog) {
    TypeIntoControl(dialog, IDC_PRORATER_AMOUNT, "500");
    PressButton(dialog, IDOK);
  }));
  EXPECT_EQ(from, "03/15/97");
  EXPECT_EQ(to, "01/01/98");
  EXPECT_EQ(Double(kSummary1Table, 35), 0.0);
  EXPECT_EQ(Double(kSummary1Table, 3), 0.0);
}

// Every id of every adjustment line stores into that line's text and amount fields.
TEST_F(ProraterCommand, EachIdStoresIntoItsOwnLine) {
  struct Line {
    int table, textField;
    int ids[4];
  } lines[] = {
      {kSummary1Table, 30, {235, 236, 267, 268}}, {kSummary1Table, 32, {237, 238, 269, 270}},
      {kSummary1Table, 34, {239, 240, 271, 272}}, {kSummary1Table, 36, {241, 242, 273, 274}},
      {kSummary2Table, 43, {306, 307, 352, 353}}, {kSummary2Table, 45, {308, 309, 354, 355}},
      {kSummary2Table, 47, {310, 311, 356, 357}}, {kSummary2Table, 49, {312, 313, 358, 359}},
      {kSummary2Table, 51, {314, 315, 360, 361}}, {kSummary2Table, 53, {316, 317, 362, 363}},
      {kSummary2Table, 55, {318, 319, 364, 365}},
  };
  double amount = 0;
  for (const Line& line : lines)
    for (int id : line.ids) {
      amount += 36.5;  // 10 days of it: a tenth, exact
      char typed[32];
      std::snprintf(typed, sizeof typed, "%.2f", amount);
      ASSERT_TRUE(Run(id, [&](HWND dialog) {
        EnterRange(dialog, typed, "365", "01/01/1997", "01/11/1997");
        PressButton(dialog, IDOK);
      })) << id;
      EXPECT_EQ(Text(line.table, line.textField), "1/1/97 - 1/11/97") << id;
      EXPECT_EQ(Double(line.table, line.textField + 1), 10 * (amount / 365)) << id;
    }
}
