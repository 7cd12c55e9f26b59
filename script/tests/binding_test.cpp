/*
** Variables bound to data fields through the field binding: the lookup order, loading by
** display type, writing back (money to cents, whole numbers for dates), the statements
** that refuse bound targets, verbose, and the nesting limit for scripts that keep
** triggering themselves through their own write-backs.
*/
#include "script/script_globals.h"
#include "script/tests/script_test_support.h"
#include "tableaccess/field_list.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ScriptBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterScriptGlobals();
    binding.Add({"Price", kFieldKindMoney, true, "", 1234.5678, 0});
    binding.Add({"Settle", kFieldKindDate, true, "", 0, 730000});
    binding.Add({"Days", kFieldKindWhole, true, "", 0, 30});
    binding.Add({"Rate", kFieldKindDecimal, true, "", 0.0625, 0});
    binding.Add({"Buyer$", kFieldKindText, true, "Jane Doe", 0, 0});
    binding.Add({"Fee", kFieldKindMoney, false, "", 10, 0});  // in the other list only
    binding.Add({"Shade", 9, true, "", 0, 0});                // a display type with no value
    binding.Add({"AcctAmount", kFieldKindMoney, true, "", 77, 0});
  }

  ScriptRun Run(const char* text) { return RunCapturing(text, &binding); }

  FakeBinding binding;
};

}  // namespace

TEST_F(ScriptBinding, ReadsFieldsByDisplayType) {
  ScriptRun run = Run("p = Price\nd = Settle\nn = Days\nr = Rate\nb$ = Buyer$\nf = Fee");
  ASSERT_TRUE(run.boxes.empty()) << run.boxes[0].text;
  EXPECT_EQ(run.locals["p"].value.ToText(), "1234.57");  // money is read at cents
  EXPECT_EQ(run.locals["d"].value.ToText(), "730000");
  EXPECT_EQ(run.locals["n"].value.ToText(), "30");
  EXPECT_EQ(run.locals["r"].value.ToText(), "0.0625");
  EXPECT_EQ(run.locals["b$"].text, "Jane Doe");
  EXPECT_EQ(run.locals["f"].value.ToText(), "10");
  EXPECT_TRUE(run.locals["Price"].bound);
  EXPECT_EQ(binding.StoredCount("Price"), 0);  // reading stores nothing
}

TEST_F(ScriptBinding, BuiltInsComeBeforeFields) {
  ScriptRun run = Run("AcctAmount = 5");
  ASSERT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.locals.count("AcctAmount"), 0u);
  EXPECT_EQ(gScriptGlobals.Find("AcctAmount")->value.ToText(), "5");
  EXPECT_EQ(binding.StoredCount("AcctAmount"), 0);
}

TEST_F(ScriptBinding, WritesBackRoundedAndRecalculatesAfterEachStore) {
  ScriptRun run =
      Run("Price = 2.346\nSettle = 730001.5\nDays = Days + 1\nRate = 1 / 8\n"
          "Buyer$ = \"John\"\nappend Buyer$ \" Roe\"\nPrice = -2.345");
  ASSERT_TRUE(run.boxes.empty()) << run.boxes[0].text;
  EXPECT_DOUBLE_EQ(binding.Field("Price").real, -2.35);  // half away from zero
  EXPECT_EQ(binding.StoredCount("Price"), 2);
  EXPECT_EQ(binding.Field("Settle").whole, 730002);
  EXPECT_EQ(binding.Field("Days").whole, 31);
  EXPECT_DOUBLE_EQ(binding.Field("Rate").real, 0.125);
  EXPECT_EQ(binding.Field("Buyer$").text, "John Roe");
  EXPECT_EQ(binding.StoredCount("Buyer$"), 2);
  // The variable keeps the unrounded value; only the stored field is at cents.
  EXPECT_EQ(run.locals["Price"].value.ToText(), "-2.345");
}

// Cents beyond the 32-bit range: a write-back that rounded through a 32-bit count of cents
// would wrap or refuse these amounts.
TEST_F(ScriptBinding, MoneyWriteBackRoundsLargeAmountsToCents) {
  const struct {
    const char* value;
    double stored;
  } cases[] = {
      {"21474836.475", 21474836.48},
      {"-21474836.485", -21474836.49},
      {"98765432109.995", 98765432110.00},
  };
  for (const auto& c : cases) {
    std::string script = std::string("Price = ") + c.value;
    ScriptRun run = Run(script.c_str());
    ASSERT_TRUE(run.boxes.empty()) << c.value << ": " << run.boxes[0].text;
    EXPECT_DOUBLE_EQ(binding.Field("Price").real, c.stored) << c.value;
  }
  EXPECT_EQ(binding.StoredCount("Price"), 3);
}

TEST_F(ScriptBinding, StrprevAndStrpostWriteBackToo) {
  binding.Field("Buyer$").text = "Ann Lee, Trustee";
  ScriptRun run = Run("s$ = Buyer$\nstrprev Buyer$ s$ \",\"");
  ASSERT_TRUE(run.boxes.empty());
  EXPECT_EQ(binding.Field("Buyer$").text, "Ann Lee");
  EXPECT_EQ(binding.StoredCount("Buyer$"), 1);
}

TEST_F(ScriptBinding, BoundVariableIsACopyForTheRestOfTheRun) {
  binding.afterStore = [this](FakeField& stored) {
    if (stored.name == "Days") binding.Field("Price").real = 99;
  };
  ScriptRun run = Run("a = Price\nDays = 1\nb = Price");
  EXPECT_EQ(run.locals["b"].value.ToText(), "1234.57");
}

TEST_F(ScriptBinding, StatementsRefuseBoundTargets) {
  ScriptRun run = Run("x = Price\nround -2 Price");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(2, "Type mismatch - must be a local variable"));
  run = Run("upper Buyer$");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Type mismatch - must be a local string variable"));
  run = Run("verbose Price Buyer$");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Type mismatch - must be a local string variable"));
}

TEST_F(ScriptBinding, FieldsWithoutAValueTypeAreErrors) {
  ScriptRun run = Run("x = 1 + Shade");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Invalic type"));
  run = Run("Shade = 1");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Internal error"));
}

TEST_F(ScriptBinding, WholeNumberFieldsRefuseValuesBeyondTheirRange) {
  ScriptRun run = Run("Settle = 1\nSettle = 3000000000");
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, ErrorBoxText(2, "Division by zero or numeric overflow"));
  EXPECT_EQ(binding.Field("Settle").whole, 1);  // the earlier store stays
}

TEST_F(ScriptBinding, VerboseWritesAmountsAndDatesInWords) {
  ScriptRun run = Run("verbose Price w$\nverbose Settle d$");
  ASSERT_TRUE(run.boxes.empty()) << run.boxes[0].text;
  char words[4096], date[4096];
  AmountInWords(words, 1234.57, sizeof words);
  FormatOrdinalDate(date, 730000, sizeof date);
  EXPECT_EQ(run.locals["w$"].text, words);
  EXPECT_EQ(run.locals["d$"].text, date);
  EXPECT_FALSE(run.locals["w$"].text.empty());
  for (const char* script : {"verbose Days w$", "verbose Fee w$", "verbose Buyer$ w$"}) {
    run = Run(script);
    ASSERT_EQ(run.boxes.size(), 1u) << script;
    EXPECT_EQ(run.boxes[0].text, ErrorBoxText(1, "Not a valid verbose type")) << script;
  }
}

TEST_F(ScriptBinding, SelfTriggeringScriptStopsAtTheNestingLimit) {
  // The field's own script writes the field twice: without a limit each level would start
  // two more runs.
  const char* script = "Days = Days + 1\nDays = Days + 1";
  int runs = 0;
  binding.afterStore = [&](FakeField& stored) {
    if (stored.name != "Days") return;
    ++runs;
    TZBasic nested(&binding);
    nested.RunScript(script);
  };
  BoxRecorder recorder;
  TZBasic outer(&binding);
  EXPECT_EQ(outer.RunScript(script), nullptr);
  ASSERT_EQ(recorder.Boxes().size(), 1u);
  EXPECT_EQ(recorder.Boxes()[0].text, ErrorBoxText(1, "Scripts nested too deeply"));
  EXPECT_EQ(runs, kMaxScriptNesting);
  // The chain is over: the next run works again.
  binding.afterStore = nullptr;
  EXPECT_EQ(Run("Days = 5").boxes.size(), 0u);
  EXPECT_EQ(binding.Field("Days").whole, 5);
}

TEST_F(ScriptBinding, ReenteringTheSameInterpreterIsRefusedNotCorrupting) {
  BoxRecorder recorder;
  TZBasic basic(&binding);
  binding.afterStore = [&](FakeField&) { EXPECT_EQ(basic.RunScript("Days = 99"), nullptr); };
  EXPECT_EQ(basic.RunScript("Days = 7\nDays = 8"), nullptr);
  ASSERT_EQ(recorder.Boxes().size(), 1u);
  EXPECT_EQ(recorder.Boxes()[0].text, ErrorBoxText(2, "Scripts nested too deeply"));
  EXPECT_EQ(binding.Field("Days").whole, 7);  // the chain stopped after the first store
  binding.afterStore = nullptr;
  const char* again = "Days = 9\nend";
  EXPECT_EQ(basic.RunScript(again), again + std::strlen(again));  // usable again afterwards
  EXPECT_EQ(binding.Field("Days").whole, 9);
}

TEST_F(ScriptBinding, RepeatedAssignmentsInALoopWriteBackEveryTime) {
  ScriptRun run = Run("i = 0\nwhile i < 5\n  Days = Days + 2\n  i = i + 1\nendwhile");
  ASSERT_TRUE(run.boxes.empty());
  EXPECT_EQ(binding.Field("Days").whole, 40);
  EXPECT_EQ(binding.StoredCount("Days"), 5);
}

TEST_F(ScriptBinding, EndlessFieldScriptStopsAndKeepsWhatItStored) {
  // One store, then a loop without end: the run stops at its statement budget with an error
  // naming the loop's line, the stored value stays, and the interpreter runs the next script.
  BoxRecorder recorder;
  TZBasic basic(&binding);
  EXPECT_EQ(basic.RunScript("Days = 31\n:again\ngoto again\nDays = 0"), nullptr);
  ASSERT_EQ(recorder.Boxes().size(), 1u);
  EXPECT_EQ(recorder.Boxes()[0].text, ErrorBoxText(3, "Script ran too long (endless loop?)"));
  EXPECT_EQ(binding.Field("Days").whole, 31);
  EXPECT_EQ(binding.StoredCount("Days"), 1);
  const char* next = "Days = Days + 1\nend";
  EXPECT_EQ(basic.RunScript(next), next + std::strlen(next));
  EXPECT_EQ(binding.Field("Days").whole, 32);
  EXPECT_EQ(recorder.Boxes().size(), 1u);
}

TEST_F(ScriptBinding, EveryRunOfABundleHasItsOwnBudget) {
  // A budget of 20 statements: each step of the bundle below runs 18 (the first assignment,
  // three for each of five turns, the test that ends the loop, and its end), so every step
  // completes though the bundle as a whole runs 54.
  BoxRecorder recorder;
  TZBasic basic(&binding);
  basic.SetStatementBudget(20);
  std::string step = "i = 0\nwhile i < 5\ni = i + 1\nendwhile\nend\n";
  std::string bundle = step + step + step;
  const char* at = bundle.c_str();
  int steps = 0;
  while ((at = basic.RunScript(at)) != nullptr && *at) ++steps;
  EXPECT_EQ(steps, 3);  // the third step ends before the last line feed
  EXPECT_TRUE(recorder.Boxes().empty());
  // A step of more statements than the budget stops with the error.
  EXPECT_EQ(basic.RunScript("i = 0\nwhile i < 50\ni = i + 1\nendwhile\n"), nullptr);
  ASSERT_EQ(recorder.Boxes().size(), 1u);
  EXPECT_NE(recorder.Boxes()[0].text.find("Script ran too long"), std::string::npos);
}

namespace {

DWORD gFakeMilliseconds = 0;
DWORD FakeClock() { return gFakeMilliseconds; }

/* Runs are timed by the fake clock while alive; every box moves it on by boxMilliseconds. */
struct FakeTime {
  FakeTime() {
    gFakeMilliseconds = 0;
    TZBasic::SetClockForTest(FakeClock);
    previous = SetMessageBoxPresenter([this](const MessageBoxRequest& box) {
      boxes.push_back(box.text);
      gFakeMilliseconds += boxMilliseconds;
      return IDOK;
    });
  }
  ~FakeTime() {
    SetMessageBoxPresenter(previous);
    TZBasic::SetClockForTest(nullptr);
  }
  DWORD boxMilliseconds = 0;
  std::vector<std::string> boxes;
  MessageBoxPresenter previous;
};

}  // namespace

TEST_F(ScriptBinding, ALoopOfCostlyStatementsStopsAfterASecondOfRunning) {
  // Each store takes a millisecond: the loop stops on its time, after about a thousand
  // stores (the statement count alone would have let it store some five million times),
  // with the error of an endless loop, and what it stored stays.
  FakeTime time;
  binding.afterStore = [](FakeField&) { ++gFakeMilliseconds; };
  TZBasic basic(&binding);
  EXPECT_EQ(basic.RunScript("Days = 0\n:again\nDays = Days + 1\ngoto again"), nullptr);
  ASSERT_EQ(time.boxes.size(), 1u);
  EXPECT_NE(time.boxes[0].find("Script ran too long (endless loop?)"), std::string::npos);
  EXPECT_GT(binding.Field("Days").whole, 1000);  // a whole second ran
  EXPECT_LT(binding.Field("Days").whole, 2000);  // and it stopped well within the next
}

TEST_F(ScriptBinding, TimeInAnErrorBoxIsNotRunningTime) {
  // The store starts a field script that fails; its box stands open for five seconds. The
  // script that stored goes on through its loop to its end.
  FakeTime time;
  time.boxMilliseconds = 5000;
  TZBasic inner(&binding);
  binding.afterStore = [&](FakeField&) { EXPECT_EQ(inner.RunScript("x = "), nullptr); };
  TZBasic basic(&binding);
  const char* script = "Days = 1\ni = 0\nwhile i < 3000\ni = i + 1\nendwhile\nend";
  EXPECT_EQ(basic.RunScript(script), script + std::strlen(script));
  ASSERT_EQ(time.boxes.size(), 1u);
  EXPECT_EQ(time.boxes[0], ErrorBoxText(1, "Expecting expression"));
  EXPECT_EQ(binding.Field("Days").whole, 1);
}
