/*
** A loop's later passes run expressions and conditions from their compiled form; the first
** pass reads them. A loop of two passes must leave exactly what the same body written out
** twice leaves (read both times): operands that are the assigned variable itself, lone
** variables and numbers, signs and nested parentheses. Errors on a later pass keep the
** line the first reading had.
*/
#include "script/tests/script_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kExpressions[] = {
    "x",
    "a",
    "1.5",
    "-x",
    "-(0.25)",
    "(((x)))",
    "x * 2 + -x - -3 * (a % 3)",
    "-(x * 2 + 1) * (a - (b - (c + x)))",
    "x / 3 + a / -7",
    "x % -4 - b * b * b",
    "a * x - x * a + c",
};

const char kSetUp[] = "a = 7\nb = -2.5\nc = 0.1\nx = 3\nhits = 0\n";

/* The body assigns x and tests a condition whose both sides depend on x. */
std::string Body(const std::string& expression) {
  return "x = " + expression + "\n" + "if x * 2 >= " + expression + "\n" +
         "  hits = hits * 2 + 1\n" + "else\n" + "  hits = hits * 2\n" + "endif\n";
}

void ExpectSameVariables(const ScriptRun& looped, const ScriptRun& unrolled,
                         const std::string& expression) {
  ASSERT_TRUE(looped.boxes.empty()) << expression << ": " << looped.boxes[0].text;
  ASSERT_TRUE(unrolled.boxes.empty()) << expression << ": " << unrolled.boxes[0].text;
  for (const char* name : {"x", "hits"}) {
    const ScriptDecimal& read = unrolled.locals.at(name).value;
    const ScriptDecimal& compiled = looped.locals.at(name).value;
    EXPECT_EQ(int64_t{compiled.mantissa}, int64_t{read.mantissa})
        << name << " after " << expression;
    EXPECT_EQ(int32_t{compiled.exponent}, int32_t{read.exponent})
        << name << " after " << expression;
  }
}

}  // namespace

TEST(ScriptCompiledExpressions, SecondPassLeavesWhatASecondReadingLeaves) {
  for (const char* expression : kExpressions) {
    const std::string body = Body(expression);
    const std::string looped =
        std::string(kSetUp) + "n = 0\nwhile n < 2\n" + body + "n = n + 1\nendwhile\n";
    const std::string unrolled = std::string(kSetUp) + body + body;
    ExpectSameVariables(RunCapturing(looped.c_str()), RunCapturing(unrolled.c_str()), expression);
  }
}

TEST(ScriptCompiledExpressions, ConditionFailingOnRetestReportsItsOwnLine) {
  // The right side starts on the line after the relation; it divides by zero on the
  // third test (compiled) in one script and on the first (read) in the other.
  const char kRetest[] = "i = 2\nwhile 1 <\n  10 / i\n  i = i - 1\nendwhile\n";
  const char kFirstTest[] = "i = 0\nwhile 1 <\n  10 / i\n  i = i - 1\nendwhile\n";
  for (const char* script : {kRetest, kFirstTest}) {
    ScriptRun run = RunCapturing(script);
    ASSERT_EQ(run.boxes.size(), 1u) << script;
    EXPECT_EQ(run.boxes[0].text, ErrorBoxText(3, "Division by zero or numeric overflow")) << script;
  }
}
