/*
** The inline 64-bit paths of the script decimal against its general 128-bit paths: over
** values at the edges of the fast paths (18-digit mantissas, products near 2^63, exponent
** gaps of 17 to 19, exponents at the ends of the range), every sum, difference and product
** must come out byte for byte as the general path makes it, and every comparison must
** agree with the sign of the exact difference.
*/
#include "script/script_decimal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<ScriptDecimal> EdgeValues() {
  const char* mantissas[] = {"0",
                             "1",
                             "-1",
                             "7",
                             "-25",
                             "2147483647",
                             "2147483648",
                             "-2147483648",
                             "3037000499",
                             "3037000500",
                             "-3037000501",
                             "500000000000000001",
                             "999999999999999999",
                             "-999999999999999999",
                             "123456789012345678",
                             "-4611686018427387"};
  const int exponents[] = {-150, -149, -40, -3, 0, 1, 17, 18, 19, 82, 99, 100, 107};
  std::vector<ScriptDecimal> values;
  for (const char* mantissa : mantissas) {
    for (int exponent : exponents) {
      std::string text = std::string(mantissa) + "e" + std::to_string(exponent);
      ScriptDecimal value;
      DecimalStatus status;
      if (ScriptDecimal::ParseText(text.c_str(), ScriptDecimal::kAllPlaces, &value, &status) &&
          status == DecimalStatus::kOk)
        values.push_back(value);
    }
  }
  return values;
}

std::string Show(const ScriptDecimal& value) {
  return std::to_string(value.mantissa) + "e" + std::to_string(value.exponent);
}

/* Both results as status and bytes; results of failed operations are not compared. */
void ExpectSame(DecimalStatus fastStatus, const ScriptDecimal& fast, DecimalStatus generalStatus,
                const ScriptDecimal& general, const char* what, const ScriptDecimal& a,
                const ScriptDecimal& b) {
  ASSERT_EQ(fastStatus, generalStatus) << what << " " << Show(a) << ", " << Show(b);
  if (fastStatus != DecimalStatus::kOk) return;
  EXPECT_EQ(fast.mantissa, general.mantissa) << what << " " << Show(a) << ", " << Show(b);
  EXPECT_EQ(fast.exponent, general.exponent) << what << " " << Show(a) << ", " << Show(b);
}

}  // namespace

TEST(ScriptDecimalFastPath, SumsDifferencesAndProductsMatchTheGeneralPath) {
  const std::vector<ScriptDecimal> values = EdgeValues();
  ASSERT_GT(values.size(), 150u);
  for (const ScriptDecimal& a : values) {
    for (const ScriptDecimal& b : values) {
      ScriptDecimal fast, general;
      DecimalStatus fastStatus = ScriptDecimal::Add(a, b, &fast);
      ExpectSame(fastStatus, fast, ScriptDecimal::AddGeneral(a, b, &general), general, "add", a, b);
      fastStatus = ScriptDecimal::Subtract(a, b, &fast);
      ExpectSame(fastStatus, fast, ScriptDecimal::AddGeneral(a, b.Negated(), &general), general,
                 "subtract", a, b);
      fastStatus = ScriptDecimal::Multiply(a, b, &fast);
      ExpectSame(fastStatus, fast, ScriptDecimal::MultiplyGeneral(a, b, &general), general,
                 "multiply", a, b);
      if (HasFailure()) return;
    }
  }
}

TEST(ScriptDecimalFastPath, ComparisonFollowsTheSignOfTheExactDifference) {
  const std::vector<ScriptDecimal> values = EdgeValues();
  int compared = 0;
  for (const ScriptDecimal& a : values) {
    for (const ScriptDecimal& b : values) {
      ScriptDecimal difference;
      // A difference of 10^126 or more cannot be formed; its sign is not needed to test
      // the alignment, which the nearer pairs exercise.
      if (ScriptDecimal::AddGeneral(a, b.Negated(), &difference) != DecimalStatus::kOk) continue;
      ++compared;
      ASSERT_EQ(ScriptDecimal::Compare(a, b), difference.Sign()) << Show(a) << " vs " << Show(b);
    }
  }
  EXPECT_GT(compared, 20000);
}

TEST(ScriptDecimalFastPath, EdgesOfTheSixtyFourBitRange) {
  ScriptDecimal result;
  // A carry to 10^18 leaves the 64-bit path and comes back canonical.
  ASSERT_EQ(ScriptDecimal::Add({999999999999999999, 0}, {1, 0}, &result), DecimalStatus::kOk);
  EXPECT_EQ(Show(result), "1e18");
  // 3037000500^2 passes 2^63: the general path takes the product.
  ASSERT_EQ(ScriptDecimal::Multiply({3037000500, 0}, {3037000500, 0}, &result), DecimalStatus::kOk);
  EXPECT_EQ(Show(result), "922337203700025e4");
  // Nineteen places apart, the larger exponent wins whatever the mantissas.
  EXPECT_EQ(ScriptDecimal::Compare({1, 19}, {999999999999999999, 0}), 1);
  EXPECT_EQ(ScriptDecimal::Compare({-1, 19}, {-999999999999999999, 0}), -1);
  // Scaling overflows 64 bits: still the larger magnitude.
  EXPECT_EQ(ScriptDecimal::Compare({-999999999999999999, 0}, {-999999999999999999, 2}), 1);
  // Zero compares equal to zero whatever its exponent.
  EXPECT_EQ(ScriptDecimal::Compare({0, 5}, {0, 0}), 0);
  // A sum at exponent 101 is range-checked by the general path.
  ASSERT_EQ(ScriptDecimal::Add({5, 101}, {5, 101}, &result), DecimalStatus::kOk);
  EXPECT_EQ(Show(result), "1e102");
  ScriptDecimal unchanged{42, 0};
  EXPECT_EQ(
      ScriptDecimal::Multiply({999999999999999999, 100}, {999999999999999999, 10}, &unchanged),
      DecimalStatus::kOverflow);
  EXPECT_EQ(Show(unchanged), "42e0");
}
