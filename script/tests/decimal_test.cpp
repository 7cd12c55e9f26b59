/*
** The script decimal: exact operations rounded once to 18 digits, the three roundings on
** positive and negative values and ties, conversions, errors; and a few hundred
** expressions checked against Python's decimal module (data/decimal_cases.txt, made by
** make_decimal_cases.py).
*/
#include "script/script_decimal.h"
#include "script/tests/script_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

ScriptDecimal Op(DecimalStatus (*op)(const ScriptDecimal&, const ScriptDecimal&, ScriptDecimal*),
                 const char* a, const char* b) {
  ScriptDecimal result;
  EXPECT_EQ(op(Dec(a), Dec(b), &result), DecimalStatus::kOk) << a << " op " << b;
  return result;
}

std::string Rounded(const char* value, int exponent, DecimalRounding rounding) {
  ScriptDecimal result;
  EXPECT_EQ(Dec(value).RoundToStep(exponent, rounding, &result), DecimalStatus::kOk);
  return result.ToText();
}

}  // namespace

TEST(ScriptDecimal, OperationsAreExactThenRoundedToEighteenDigitsHalfEven) {
  EXPECT_EQ(Op(ScriptDecimal::Add, "0.1", "0.2").ToText(), "0.3");
  EXPECT_EQ(Op(ScriptDecimal::Subtract, "1", "0.000000000000000001").ToText(),
            "0.999999999999999999");
  EXPECT_EQ(Op(ScriptDecimal::Divide, "1", "3").ToText(), "0.333333333333333333");
  EXPECT_EQ(Op(ScriptDecimal::Divide, "2", "3").ToText(), "0.666666666666666667");
  // 19 digits ending in 5: ties go to the even neighbour.
  EXPECT_EQ(Op(ScriptDecimal::Add, "100000000000000000", "0.5").ToText(), "100000000000000000");
  EXPECT_EQ(Op(ScriptDecimal::Add, "100000000000000001", "0.5").ToText(), "100000000000000002");
  // A tiny addend decides a tie across a wide exponent gap.
  EXPECT_EQ(Op(ScriptDecimal::Add, "1e17", "0.50000000000000001").ToText(), "100000000000000001");
  EXPECT_EQ(Op(ScriptDecimal::Subtract, "1e17", "0.50000000000000001").ToText(),
            "99999999999999999.5");
  EXPECT_EQ(Op(ScriptDecimal::Add, "1e40", "-1e-40").ToText(), "1e40");
  EXPECT_EQ(Op(ScriptDecimal::Multiply, "999999999999999999", "999999999999999999").ToText(),
            "999999999999999998000000000000000000");
  EXPECT_EQ(Op(ScriptDecimal::Multiply, "-2.5", "4").ToText(), "-10");
}

TEST(ScriptDecimal, ValuesAreCanonicalSoEqualValuesHaveEqualBytes) {
  ScriptDecimal a = Op(ScriptDecimal::Multiply, "2.50", "4.0");
  EXPECT_EQ(a.mantissa, 1);
  EXPECT_EQ(a.exponent, 1);
  ScriptDecimal zero = Op(ScriptDecimal::Subtract, "1.5", "1.5");
  EXPECT_EQ(zero.mantissa, 0);
  EXPECT_EQ(zero.exponent, 0);
  EXPECT_EQ(ScriptDecimal::Compare(Dec("1.10"), Dec("1.1")), 0);
  EXPECT_LT(ScriptDecimal::Compare(Dec("-2"), Dec("-1.99999999999999999")), 0);
  EXPECT_GT(ScriptDecimal::Compare(Dec("1e30"), Dec("999999999999999999e11")), 0);
}

TEST(ScriptDecimal, RemainderFollowsTheDividendAndIsExact) {
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "7", "3").ToText(), "1");
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "-7", "3").ToText(), "-1");
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "7", "-3").ToText(), "1");
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "5.5", "2").ToText(), "1.5");
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "1e40", "7").ToText(), "4");  // 10^40 mod 7
  EXPECT_EQ(Op(ScriptDecimal::Remainder, "0.25", "1e30").ToText(), "0.25");
}

TEST(ScriptDecimal, DivisionByZeroAndOverflowAreReportedNotComputed) {
  ScriptDecimal result = Dec("42");
  EXPECT_EQ(ScriptDecimal::Divide(Dec("1"), Dec("0"), &result), DecimalStatus::kDivideByZero);
  EXPECT_EQ(ScriptDecimal::Remainder(Dec("1"), Dec("0"), &result), DecimalStatus::kDivideByZero);
  EXPECT_EQ(ScriptDecimal::Multiply(Dec("1e100"), Dec("1e30"), &result), DecimalStatus::kOverflow);
  EXPECT_EQ(result.ToText(), "42");  // untouched on failure
  EXPECT_EQ(ScriptDecimal::Multiply(Dec("1e100"), Dec("1e25"), &result), DecimalStatus::kOk);
  // Below the smallest place kept, a product vanishes to zero rather than failing.
  EXPECT_EQ(ScriptDecimal::Multiply(Dec("1e-100"), Dec("1e-100"), &result), DecimalStatus::kOk);
  EXPECT_TRUE(result.IsZero());
}

TEST(ScriptDecimal, RoundHalfAwayFromZeroOnBothSidesAndTies) {
  const auto half = DecimalRounding::kHalfAwayFromZero;
  EXPECT_EQ(Rounded("2.346", -2, half), "2.35");
  EXPECT_EQ(Rounded("2.344", -2, half), "2.34");
  EXPECT_EQ(Rounded("2.345", -2, half), "2.35");
  EXPECT_EQ(Rounded("-2.345", -2, half), "-2.35");
  EXPECT_EQ(Rounded("-2.346", -2, half), "-2.35");
  EXPECT_EQ(Rounded("-2.344", -2, half), "-2.34");
  EXPECT_EQ(Rounded("-2.5", 0, half), "-3");
  EXPECT_EQ(Rounded("1250", 2, half), "1300");
  // Money from $21,474,836.48 up no longer overflows a 32-bit count of cents.
  EXPECT_EQ(Rounded("21474836.475", -2, half), "21474836.48");
  EXPECT_EQ(Rounded("-98765432109.125", -2, half), "-98765432109.13");
  EXPECT_EQ(Rounded("123456789012345.678", 0, half), "123456789012346");
}

TEST(ScriptDecimal, RoundDownAndUpGoTowardMinusAndPlusInfinity) {
  EXPECT_EQ(Rounded("-1.5", 0, DecimalRounding::kDown), "-2");
  EXPECT_EQ(Rounded("1.5", 0, DecimalRounding::kDown), "1");
  EXPECT_EQ(Rounded("1.2", 0, DecimalRounding::kUp), "2");
  EXPECT_EQ(Rounded("-1.2", 0, DecimalRounding::kUp), "-1");
  EXPECT_EQ(Rounded("2", 0, DecimalRounding::kUp), "2");
  EXPECT_EQ(Rounded("99999999999.991", -2, DecimalRounding::kUp), "100000000000");
  EXPECT_EQ(Rounded("0.001", 5, DecimalRounding::kUp), "100000");
  EXPECT_EQ(Rounded("-0.001", 5, DecimalRounding::kDown), "-100000");
  EXPECT_EQ(Rounded("0.001", 5, DecimalRounding::kDown), "0");
}

TEST(ScriptDecimal, ConversionsFromDoublesTextAndWholeNumbers) {
  ScriptDecimal value;
  ASSERT_EQ(ScriptDecimal::FromDouble(1234.5678, 2, &value), DecimalStatus::kOk);
  EXPECT_EQ(value.ToText(), "1234.57");
  // 2.675 is stored just below the half cent; the binary value decides.
  ASSERT_EQ(ScriptDecimal::FromDouble(2.675, 2, &value), DecimalStatus::kOk);
  EXPECT_EQ(value.ToText(), "2.67");
  ASSERT_EQ(ScriptDecimal::FromDouble(0.125, 2, &value), DecimalStatus::kOk);
  EXPECT_EQ(value.ToText(), "0.12");  // an exact half cent goes to the even cent
  ASSERT_EQ(ScriptDecimal::FromDouble(0.1, ScriptDecimal::kAllPlaces, &value), DecimalStatus::kOk);
  EXPECT_EQ(value.ToText(), "0.100000000000000006");  // 18 digits of 0.10000000000000000555
  EXPECT_EQ(ScriptDecimal::FromDouble(1.0 / 0.0, 2, &value), DecimalStatus::kOverflow);
  EXPECT_DOUBLE_EQ(Dec("1234.57").ToDouble(), 1234.57);
  EXPECT_EQ(ScriptDecimal::FromLong(-730000).ToText(), "-730000");
  int32_t whole = 0;
  EXPECT_EQ(Dec("2147483647.4").ToWholeLong(&whole), DecimalStatus::kOk);
  EXPECT_EQ(whole, 2147483647);
  EXPECT_EQ(Dec("2147483647.5").ToWholeLong(&whole), DecimalStatus::kOverflow);
  EXPECT_EQ(Dec("-2.5").ToWholeLong(&whole), DecimalStatus::kOk);
  EXPECT_EQ(whole, -3);
  DecimalStatus status;
  EXPECT_FALSE(ScriptDecimal::ParseText("1.2.3", 5000, &value, &status));
  EXPECT_TRUE(ScriptDecimal::ParseText("1234567890123456789012", 5000, &value, &status));
  EXPECT_EQ(value.ToText(), "1234567890123456790000");
}

/* Every generated expression, run as an assignment or an if, against the reference. */
TEST(ScriptDecimal, GeneratedExpressionsMatchTheIndependentReference) {
  std::istringstream cases(ReadTextFile(TestDataPath("data/decimal_cases.txt")));
  std::string line;
  int checked = 0;
  while (std::getline(cases, line)) {
    std::string kind = line.substr(0, line.find('\t'));
    std::string expression = line.substr(kind.size() + 1, line.rfind('\t') - kind.size() - 1);
    std::string expected = line.substr(line.rfind('\t') + 1);
    // A condition's left side cannot start with "(" or a sign; "0 +" leaves it unchanged.
    std::string script =
        kind == "value" ? "x = " + expression : "x = 0\nif 0 + " + expression + "\nx = 1\nendif";
    ScriptRun run = RunCapturing(script.c_str());
    ++checked;
    if (expected == "error") {
      ASSERT_EQ(run.boxes.size(), 1u) << expression;
      EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Division by zero or numeric overflow"));
      continue;
    }
    ASSERT_TRUE(run.boxes.empty()) << expression << ": " << run.boxes[0].text;
    const ScriptDecimal& got = run.locals["x"].value;
    if (kind == "value") {
      std::istringstream parts(expected);
      long long mantissa;
      int exponent;
      parts >> mantissa >> exponent;
      EXPECT_EQ(static_cast<long long>(got.mantissa), mantissa) << expression;
      EXPECT_EQ(static_cast<int>(got.exponent), exponent) << expression;
      // The second pass of a loop runs the expression from its compiled form.
      std::string looped = "n = 0\nwhile n < 2\nx = " + expression + "\nn = n + 1\nendwhile";
      ScriptRun twice = RunCapturing(looped.c_str());
      ASSERT_TRUE(twice.boxes.empty()) << expression;
      EXPECT_EQ(static_cast<long long>(twice.locals["x"].value.mantissa), mantissa)
          << "compiled: " << expression;
      EXPECT_EQ(static_cast<int>(twice.locals["x"].value.exponent), exponent)
          << "compiled: " << expression;
    } else {
      EXPECT_EQ(got.ToText(), expected) << expression;
    }
  }
  EXPECT_GE(checked, 500);
}
