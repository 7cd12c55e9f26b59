/*
** The rules' arithmetic against figures computed independently by recalc_references.py
** (Python decimal, the statement's rounding rules): recording halves, commission, loan
** charges, interest, reserves, prorations and the section totals; the commission checks;
** the charge lines every column sum includes.
*/
#include "statement/recalc_amounts.h"
#include "statement/recalc_dispatch.h"
#include "statement/recalc_rules.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>

namespace {

struct HalfSplitCase {
  double amount, borrower, seller;
  bool halfBelow;
};
struct CommissionCase {
  double price, rate, deposit, a700, a701, a702, a703s;
};
struct LoanChargeCase {
  double loan, rate801, rate802, a801b, a802b;
};
struct InterestCase {
  int days;
  double perDay, a901b, sub900b;
};
struct ReserveCase {
  double months, monthly, a1001b;
};
struct ProrationCase {
  double amount;
  LONG from, to, days;
  double result;
};

#include "statement/tests/recalc_reference_cases.inc"

constexpr const char* kTooLow = "Total commission is less than amount entered.";

class RecalcRules : public StatementTablesTest {};

}  // namespace

TEST_F(RecalcRules, HalfSplitsTakeTheDoubleHalfAndLeaveTheRestToTheSeller) {
  for (const HalfSplitCase& c : kHalfSplitCases) {
    SetDouble(kExpense4Table, 2, c.amount);
    SetText(kExpense4Table, 3, "/");
    Split1201(view);
    EXPECT_EQ(Double(kExpense4Table, 8), c.borrower) << c.amount;
    EXPECT_EQ(Double(kExpense4Table, 9), c.seller) << c.amount;
    EXPECT_EQ(Text(kExpense4Table, 3), "/");
  }
}

TEST_F(RecalcRules, PaidByCountsByItsFirstLetterAndAnythingElseBecomesTheBorrowers) {
  SetDouble(kExpense4Table, 2, 10.01);
  SetText(kExpense4Table, 3, "/");
  SetDouble(kExpense4Table, 4, 20.00);
  SetText(kExpense4Table, 5, "S");
  SetDouble(kExpense4Table, 6, 5.555);
  SetText(kExpense4Table, 7, "b");
  Split1201(view);
  EXPECT_EQ(Double(kExpense4Table, 8), kMixedBorrower);
  EXPECT_EQ(Double(kExpense4Table, 9), kMixedSeller);
  EXPECT_EQ(Text(kExpense4Table, 7), "B");
  EXPECT_EQ(view.repainted, (std::vector<int>{513, 514, 515}));

  // An empty paid-by of an amount goes the same way; a blank amount counts 0.
  view.repainted.clear();
  SetText(kExpense4Table, 11, "");
  SetDouble(kExpense4Table, 10, 3.333);
  Split1202(view);
  EXPECT_EQ(Text(kExpense4Table, 11), "B");
  EXPECT_EQ(Text(kExpense4Table, 13), "B");
  EXPECT_EQ(Double(kExpense4Table, 14), 3.33);
  EXPECT_EQ(Double(kExpense4Table, 15), 0.0);
}

TEST_F(RecalcRules, CommissionRoundsHalfAwayFromZeroForBothSigns) {
  for (const CommissionCase& c : kCommissionCases) {
    SetDouble(kExpense1Table, 2, c.price);
    SetDouble(kExpense1Table, 3, c.rate);
    SetDouble(kSummary2Table, 15, c.deposit);
    SetDouble(kExpense1Table, 9, 77);
    ComputeCommission(view);
    EXPECT_EQ(Double(kExpense1Table, 4), c.a700) << c.price << " at " << c.rate;
    EXPECT_EQ(Double(kExpense1Table, 5), c.a701) << c.price;
    EXPECT_EQ(Double(kExpense1Table, 7), c.a702) << c.price;
    EXPECT_EQ(Double(kExpense1Table, 10), c.a703s) << c.price;
    EXPECT_EQ(Double(kExpense1Table, 9), 0.0);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecalcRules, DepositAboveTheCommissionIsRefusedAndLeavesLine703) {
  SetDouble(kExpense1Table, 2, 100000);
  SetDouble(kExpense1Table, 3, 6);
  SetDouble(kSummary2Table, 15, 6000.01);
  SetDouble(kExpense1Table, 10, 12.34);
  SetDouble(kExpense1Table, 9, 1.5);
  ComputeCommission(view);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, kTooLow);
  EXPECT_EQ(Shown()[0].caption, "Zarne Message");
  EXPECT_EQ(Double(kExpense1Table, 4), 6000.0);
  EXPECT_EQ(Double(kExpense1Table, 5), 3000.0);
  EXPECT_EQ(Double(kExpense1Table, 7), 3000.0);
  EXPECT_EQ(Double(kExpense1Table, 10), 12.34);
  EXPECT_EQ(Double(kExpense1Table, 9), 1.5);

  // The same check when line 703 follows the deposit.
  Compute703(view);
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Double(kExpense1Table, 10), 12.34);
  SetDouble(kSummary2Table, 15, 6000.004);  // 6000.00 at cents: equal is allowed
  Compute703(view);
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Double(kExpense1Table, 10), 0.0);
}

TEST_F(RecalcRules, CommissionPartsRefuseMoreThanTheTotal) {
  SetDouble(kExpense1Table, 4, 1000);
  SetDouble(kExpense1Table, 5, 400.004);
  Split701(view);
  EXPECT_EQ(Double(kExpense1Table, 7), 600.0);
  SetDouble(kExpense1Table, 7, 250.25);
  Split702(view);
  EXPECT_EQ(Double(kExpense1Table, 5), 749.75);
  EXPECT_TRUE(Shown().empty());

  SetDouble(kExpense1Table, 5, 1000.006);  // 1000.01 at cents
  Split701(view);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Double(kExpense1Table, 5), 1000.006);  // kept as typed
  EXPECT_EQ(Double(kExpense1Table, 7), 250.25);
  SetDouble(kExpense1Table, 7, 1000.004);  // 1000.00 at cents: not above
  Split702(view);
  EXPECT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Double(kExpense1Table, 5), 0.0);
}

TEST_F(RecalcRules, LoanChargesOfLines801And802) {
  for (const LoanChargeCase& c : kLoanChargeCases) {
    SetDouble(kSummary2Table, 4, c.loan);
    SetDouble(kExpense1Table, 55, c.rate801);
    SetDouble(kExpense1Table, 56, c.rate802);
    SetDouble(kExpense1Table, 17, 9);
    SetDouble(kExpense1Table, 20, 9);
    Compute801(view);
    Compute802(view);
    EXPECT_EQ(Double(kExpense1Table, 16), c.a801b) << c.loan << " at " << c.rate801;
    EXPECT_EQ(Double(kExpense1Table, 19), c.a802b) << c.loan << " at " << c.rate802;
    EXPECT_EQ(Double(kExpense1Table, 17), 0.0);
    EXPECT_EQ(Double(kExpense1Table, 20), 0.0);
  }
}

TEST_F(RecalcRules, InterestIsStoredUnroundedAndSummedAtCents) {
  for (const InterestCase& c : kInterestCases) {
    SetLong(kExpense2Table, 2, 730000);
    SetLong(kExpense2Table, 3, 730000 + c.days);
    SetDouble(kExpense2Table, 4, c.perDay);
    Compute901(view);
    EXPECT_EQ(Double(kExpense2Table, 5), c.a901b) << c.days << " x " << c.perDay;
    Sum900B(view);
    EXPECT_EQ(view.subtotals[kSub900B].ToDouble(), c.sub900b) << c.days << " x " << c.perDay;
  }
  // Exactly one date blank: no period.
  SetLong(kExpense2Table, 3, kBlankDate);
  SetDouble(kExpense2Table, 4, 10);
  Compute901(view);
  EXPECT_EQ(Double(kExpense2Table, 5), 0.0);
  SetLong(kExpense2Table, 3, 730010);
  SetLong(kExpense2Table, 2, kBlankDate);
  Compute901(view);
  EXPECT_EQ(Double(kExpense2Table, 5), 0.0);
}

TEST_F(RecalcRules, ReservesTakeWholeMonthsAndTheMonthlyAmountAtCents) {
  for (const ReserveCase& c : kReserveCases) {
    SetDouble(kExpense2Table, 22, c.months);
    SetDouble(kExpense2Table, 23, c.monthly);
    SetDouble(kExtraTable, 6, 5);
    Reserve1001(view);
    EXPECT_EQ(Double(kExpense2Table, 24), c.a1001b) << c.months << " x " << c.monthly;
    EXPECT_EQ(Double(kExtraTable, 6), 0.0);
  }
  EXPECT_EQ(view.repainted.back(), 445);
}

TEST_F(RecalcRules, ProrationsOnTheRawDateNumbers) {
  for (const ProrationCase& c : kProrationCases)
    EXPECT_EQ(ProrateAmount(c.amount, c.from, c.to, c.days), c.result)
        << c.amount << " " << c.from << ".." << c.to << " / " << c.days;
  EXPECT_EQ(ProrateAmount(1200, kBlankDate, 730000, 365), 0.0);
  EXPECT_EQ(ProrateAmount(1200, 730000, kBlankDate, 365), 0.0);
  EXPECT_EQ(ProrateAmount(1200, 730000, 730090, 0), 0.0);

  // Through the record: line 106 reads its four fields and repaints its two ids.
  const ProrationCase& c = kProrationCases[0];
  SetLong(kSummary1Table, 15, c.from);
  SetLong(kSummary1Table, 16, c.to);
  SetDouble(kSummary1Table, 17, c.amount);
  SetDouble(kSummary1Table, 18, c.days);
  Prorate106(view);
  EXPECT_EQ(Double(kSummary1Table, 19), c.result);
  EXPECT_EQ(view.repainted, (std::vector<int>{224, 256}));
  // The same on line 210 of the seller's side, with the period the other way round.
  SetLong(kSummary2Table, 28, c.to);
  SetLong(kSummary2Table, 29, c.from);
  SetDouble(kSummary2Table, 30, c.amount);
  SetDouble(kSummary2Table, 31, c.days);
  Prorate210(view);
  EXPECT_EQ(Double(kSummary2Table, 32), -c.result);
}

TEST_F(RecalcRules, SectionTotalsAndBalanceSumEveryTermAtCents) {
  for (auto [field, amount] : kSummary1Amounts) SetDouble(kSummary1Table, field, amount);
  for (auto [field, amount] : kSummary2Amounts) SetDouble(kSummary2Table, field, amount);
  SetDouble(kExpense4Table, 49, kLine1400B);
  Total120(view);
  Total220(view);
  Total303(view);
  EXPECT_EQ(Double(kSummary1Table, 38), kExpectedA120);
  EXPECT_EQ(Double(kSummary2Table, 57), kExpectedA220);
  EXPECT_EQ(Double(kSummary2Table, 59), kExpectedA303);
  EXPECT_EQ(view.repainted, (std::vector<int>{243, 321, 320, 322, 323}));
}

// Lines 704, 906, 1114, 1115, 1207, 1309 and 1310 are charges like their neighbours: each
// reaches its column's subtotal, line 1400, the line total and the balance.
TEST_F(RecalcRules, EveryChargeLineReachesLine1400AndTheBalances) {
  const int borrowerIds[] = {209, 614, 620, 623, 629, 635, 638};
  const int sellerIds[] = {210, 615, 621, 624, 630, 636, 639};
  for (int id : borrowerIds) {
    SetById(id, 1.23);
    RecalcForField(view, Field(id));
    EXPECT_EQ(Double(kExpense4Table, 49), 1.23) << id;
    EXPECT_EQ(Double(kSummary1Table, 38), 1.23) << id;
    EXPECT_EQ(Double(kSummary2Table, 59), 1.23) << id;
    SetById(id, 0);
    RecalcForField(view, Field(id));
    EXPECT_EQ(Double(kExpense4Table, 49), 0.0) << id;
  }
  for (int id : sellerIds) {
    SetById(id, 4.56);
    RecalcForField(view, Field(id));
    EXPECT_EQ(Double(kExpense4Table, 50), 4.56) << id;
    EXPECT_EQ(Double(kSummary2Table, 58), 4.56) << id;
    EXPECT_EQ(Double(kSummary2Table, 60), -4.56) << id;
    SetById(id, 0);
    RecalcForField(view, Field(id));
    EXPECT_EQ(Double(kExpense4Table, 50), 0.0) << id;
  }
}

// A typed total commission splits into its two parts and charges the seller's line 703.
TEST_F(RecalcRules, TypedTotalCommissionSplitsAndChargesTheSeller) {
  SetDouble(kSummary2Table, 15, 1000);
  SetById(372, 6001.25);
  RecalcForField(view, Field(372));
  EXPECT_EQ(Double(kExpense1Table, 5), 3000.63);  // 3000.625 rounded half up
  EXPECT_EQ(Double(kExpense1Table, 7), 3000.62);
  EXPECT_EQ(Double(kExpense1Table, 10), 5001.25);
  EXPECT_EQ(Double(kExpense4Table, 50), 5001.25);
  EXPECT_EQ(Double(kSummary2Table, 58), 6001.25);  // deposit 1000 + line 1400
  EXPECT_EQ(Double(kSummary2Table, 60), -6001.25);
  EXPECT_TRUE(Shown().empty());

  SetDouble(kSummary2Table, 15, 7000);
  SetById(372, 5000);
  RecalcForField(view, Field(372));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, kTooLow);
  EXPECT_EQ(Double(kExpense1Table, 5), 2500.0);
  EXPECT_EQ(Double(kExpense1Table, 10), 5001.25);  // unchanged
}

// Amounts at cents take a short road through the extended type; it must land on the cent
// the exact conversion gives, ties to even included, for every size of amount.
TEST(RecalcAmounts, CentsOfADoubleAgreeWithTheExactConversion) {
  std::mt19937_64 random(42);
  std::uniform_int_distribution<int64_t> mills(-9000000000000LL, 9000000000000LL);
  std::uniform_int_distribution<int> scale(0, 12);
  for (int i = 0; i < 200000; ++i) {
    double value = static_cast<double>(mills(random)) / 1000.0;
    value /= std::pow(10.0, scale(random));
    ScriptDecimal fast = AtCents(value), exact = DecimalAtPlaces(value, 2);
    ASSERT_EQ(fast.mantissa, exact.mantissa) << value;
    ASSERT_EQ(fast.exponent, exact.exponent) << value;
  }
  for (double tie : {0.125, -0.125, 0.375, -0.375, 2.675, 0.005, 1e17, -3.5e16, 123456789012.345,
                     0.0, -0.0, 1e-300, 5e-3})
    EXPECT_TRUE(AtCents(tie) == DecimalAtPlaces(tie, 2)) << tie;
  EXPECT_EQ(AtCents(0.125).ToText(), "0.12");
  EXPECT_EQ(AtCents(-0.375).ToText(), "-0.38");
  EXPECT_EQ(AtCents(2.675).ToText(), "2.67");
}

// Amounts of a billion in every term of a column stay exact.
TEST_F(RecalcRules, BillionAmountsSumExactly) {
  for (int field : {16, 19, 23, 27, 30, 34, 37, 41, 45, 49, 53, 59, 63, 67, 71, 75, 79, 83, 87, 91})
    SetDouble(kExpense1Table, field, 999999999.99);
  RecalcAll(view);
  EXPECT_EQ(view.subtotals[kSub800B].ToText(), "19999999999.8");
  EXPECT_EQ(Double(kExpense4Table, 49), 19999999999.8);
  EXPECT_EQ(Double(kSummary1Table, 38), 19999999999.8);
}
