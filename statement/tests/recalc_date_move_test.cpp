/*
** The settlement-date move against dates worked out with Python's datetime
** (recalc_date_references.py): the disbursement date off weekends and fixed holidays in
** both directions, the tied proration and interest dates, the blank dates, and the
** disbursement date filling a blank settlement date.
*/
#include "statement/recalc_dispatch.h"
#include "statement/settlement_date_move.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

namespace {

struct DateMoveCase {
  const char* what;
  LONG oldDate, newDate, disbursementBefore, disbursementAfter;
};

#include "statement/tests/recalc_date_cases.inc"

class RecalcDateMove : public StatementTablesTest {
 protected:
  /* Commits a new settlement date as the edit commit does: store, then move. */
  void CommitSettlementDate(LONG date) {
    LONG old = Long(kSummary1Table, 2);
    SetLong(kSummary1Table, 2, date);
    MoveDates(view, old, date);
  }
  LONG Disbursement() { return Long(kExtraTable, 20); }
};

}  // namespace

TEST_F(RecalcDateMove, DisbursementKeepsItsDistanceOffWeekendsAndHolidays) {
  for (const DateMoveCase& c : kDateMoveCases) {
    SetLong(kSummary1Table, 2, c.oldDate);
    SetLong(kExtraTable, 20, c.disbursementBefore);
    view.repainted.clear();
    CommitSettlementDate(c.newDate);
    EXPECT_EQ(Disbursement(), c.disbursementAfter) << c.what;
    EXPECT_EQ(view.repainted, (std::vector<int>{576})) << c.what;
  }
}

TEST_F(RecalcDateMove, TiedDatesFollowWhenOnOrADayAfterTheOldDate) {
  SetLong(kSummary1Table, 2, kTiedOld);
  SetLong(kSummary1Table, 15, kTiedOld);  // DB106: moves
  SetLong(kSummary1Table, 16, kEnd106);   // DE106: an end of the 100 lines never moves
  SetDouble(kSummary1Table, 17, 1200);
  SetDouble(kSummary1Table, 18, 365);
  SetLong(kSummary1Table, 20, kTiedOld + 1);  // DB107: moves to the day after
  SetLong(kSummary1Table, 25, kTiedOld + 2);  // DB108: stays
  SetLong(kSummary2Table, 28, kTiedOld);      // DB210: a begin of the 200 lines never moves
  SetLong(kSummary2Table, 29, kTiedOld);      // DE210: moves
  SetLong(kSummary2Table, 34, kTiedOld + 1);  // DE211: moves
  SetLong(kSummary2Table, 39, kTiedOld + 2);  // DE212: stays
  SetLong(kExpense2Table, 2, kTiedOld);       // DB901: moves
  SetLong(kExpense2Table, 3, kEnd901);
  SetDouble(kExpense2Table, 4, 12.5);
  CommitSettlementDate(kTiedNew);

  EXPECT_EQ(Long(kSummary1Table, 15), kTiedNew);
  EXPECT_EQ(Long(kSummary1Table, 16), kEnd106);
  EXPECT_EQ(Long(kSummary1Table, 20), kTiedNew + 1);
  EXPECT_EQ(Long(kSummary1Table, 25), kTiedOld + 2);
  EXPECT_EQ(Long(kSummary2Table, 28), kTiedOld);
  EXPECT_EQ(Long(kSummary2Table, 29), kTiedNew);
  EXPECT_EQ(Long(kSummary2Table, 34), kTiedNew + 1);
  EXPECT_EQ(Long(kSummary2Table, 39), kTiedOld + 2);
  EXPECT_EQ(Long(kExpense2Table, 2), kTiedNew);
  EXPECT_EQ(Disbursement(), kTiedNew);  // a blank disbursement date takes the new date

  // The moved lines are prorated again and the totals follow.
  EXPECT_EQ(Double(kSummary1Table, 19), kMovedA106);
  EXPECT_EQ(Double(kExpense2Table, 5), kMovedA901);
  EXPECT_EQ(view.subtotals[kSub900B].ToDouble(), kMovedA901);
  EXPECT_EQ(Double(kExpense4Table, 49), kMovedA901);
  EXPECT_EQ(Double(kSummary1Table, 38), kMovedA106 + kMovedA901);
  EXPECT_EQ(Double(kSummary1Table, 39), kMovedA106);
  EXPECT_EQ(Double(kSummary2Table, 59), kMovedA106 + kMovedA901);
  EXPECT_EQ(Double(kSummary2Table, 60), kMovedA106);
}

TEST_F(RecalcDateMove, BlankSettlementDatesMoveNothingAndStoreNoBlank) {
  // Old date blank: only a blank disbursement date is filled.
  SetLong(kSummary1Table, 15, kTiedOld);
  CommitSettlementDate(kTiedNew);
  EXPECT_EQ(Disbursement(), kTiedNew);
  EXPECT_EQ(Long(kSummary1Table, 15), kTiedOld);

  SetLong(kSummary1Table, 2, kBlankDate);
  SetLong(kExtraTable, 20, kTiedOld + 5);
  CommitSettlementDate(kTiedNew);
  EXPECT_EQ(Disbursement(), kTiedOld + 5);

  // New date blank: nothing moves, nothing is stored blank or beside a blank.
  SetLong(kSummary1Table, 15, kTiedNew);
  SetLong(kSummary2Table, 34, kTiedNew);
  SetLong(kExpense2Table, 2, kTiedNew + 1);
  SetDouble(kSummary1Table, 38, 77);
  view.repainted.clear();
  CommitSettlementDate(kBlankDate);
  EXPECT_EQ(Disbursement(), kTiedOld + 5);
  EXPECT_EQ(Long(kSummary1Table, 15), kTiedNew);
  EXPECT_EQ(Long(kSummary2Table, 34), kTiedNew);
  EXPECT_EQ(Long(kExpense2Table, 2), kTiedNew + 1);
  EXPECT_EQ(Double(kSummary1Table, 38), 77.0);
  EXPECT_TRUE(view.repainted.empty());
}

TEST_F(RecalcDateMove, DisbursementDateFillsOnlyABlankSettlementDate) {
  FillSettlementDate(view, kBlankDate, kTiedOld);
  EXPECT_EQ(Long(kSummary1Table, 2), kTiedOld);
  EXPECT_EQ(view.repainted, (std::vector<int>{212}));
  FillSettlementDate(view, kTiedOld, kTiedNew);
  EXPECT_EQ(Long(kSummary1Table, 2), kTiedOld);
  EXPECT_EQ(view.repainted.size(), 1u);
  // No recalculation follows a fill.
  SetDouble(kSummary1Table, 3, 10);
  SetLong(kSummary1Table, 2, kBlankDate);
  FillSettlementDate(view, kBlankDate, kTiedNew);
  EXPECT_EQ(Double(kSummary1Table, 38), 0.0);
  FillSettlementDate(view, kBlankDate, kBlankDate);
  EXPECT_EQ(Long(kSummary1Table, 2), kTiedNew);
}

TEST_F(RecalcDateMove, TheDispatchMovesNoDate) {
  SetLong(kSummary1Table, 2, kTiedNew);
  SetLong(kExtraTable, 20, kTiedOld);
  SetLong(kSummary1Table, 15, kTiedOld);
  RecalcForField(view, Field(212));
  RecalcForField(view, Field(576));
  EXPECT_EQ(Disbursement(), kTiedOld);
  EXPECT_EQ(Long(kSummary1Table, 15), kTiedOld);
  EXPECT_TRUE(view.repainted.empty());
}
