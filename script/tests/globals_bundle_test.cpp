/*
** The built-in variables across runs and interpreters, a bundle run step by step across
** end as the disbursing dialog drives it, and the field-script item.
*/
#include "script/script_globals.h"
#include "script/tests/script_test_support.h"
#include "script/zbi_item.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Posting {
  std::string type, name, desc, amount;
};

void ClearStepOutput() {
  for (const char* name : {"AcctType$", "AcctName$", "AcctDesc$"})
    gScriptGlobals.Find(name)->text[0] = '\0';
  gScriptGlobals.Find("AcctAmount")->value = ScriptDecimal{};
}

/* Steps through a bundle as the disbursing dialog does: one posting per positive amount. */
std::vector<Posting> RunBundle(const char* text, std::vector<MessageBoxRequest>* boxes) {
  BoxRecorder recorder;
  TZBasic basic(nullptr);
  std::vector<Posting> postings;
  for (const char* position = text; position;) {
    ClearStepOutput();
    position = basic.RunScript(position);
    const TVariableNode* amount = gScriptGlobals.Find("AcctAmount");
    if (amount->value.Sign() > 0)
      postings.push_back({gScriptGlobals.Find("AcctType$")->text,
                          gScriptGlobals.Find("AcctName$")->text,
                          gScriptGlobals.Find("AcctDesc$")->text, amount->value.ToText()});
  }
  *boxes = recorder.Boxes();
  return postings;
}

}  // namespace

TEST(ScriptGlobals, RegisteredOnceInOrder) {
  RegisterScriptGlobals();
  RegisterScriptGlobals();
  std::vector<std::string> names;
  for (TVariableNode* node = gScriptGlobals.First(); node; node = node->next)
    names.push_back(node->name);
  EXPECT_EQ(names, (std::vector<std::string>{"AcctType$", "AcctName$", "AcctDesc$", "AcctAmount"}));
  EXPECT_EQ(gScriptGlobals.Find("AcctType$")->type, kVariableString);
  EXPECT_EQ(gScriptGlobals.Find("AcctAmount")->type, kVariableNumber);
  EXPECT_EQ(gScriptGlobals.Find("acctamount"), nullptr);  // names compare with case
}

TEST(ScriptGlobals, KeepTheirValuesBetweenRunsAndInterpreters) {
  RegisterScriptGlobals();
  ClearStepOutput();
  EXPECT_TRUE(RunCapturing("AcctAmount = 10\nAcctName$ = \"Escrow\"\nx = 3").boxes.empty());
  ScriptRun second = RunCapturing("AcctAmount = AcctAmount * 2 + x\nappend AcctName$ \" Co\"");
  EXPECT_TRUE(second.boxes.empty());
  EXPECT_EQ(gScriptGlobals.Find("AcctAmount")->value.ToText(), "20");  // x was the first run's
  EXPECT_STREQ(gScriptGlobals.Find("AcctName$")->text, "Escrow Co");
}

TEST(ScriptBundle, StepsAcrossEndAndMakesOnePostingPerPositiveAmount) {
  RegisterScriptGlobals();
  const char* bundle =
      "AcctType$ = \"C\"\nAcctName$ = \"County Recorder\"\nAcctDesc$ = \"Recording\"\n"
      "x = 12.5\nAcctAmount = x * 2\nend\n"
      "# step two leaves the amount at zero #\nAcctName$ = \"Nobody\"\ny = x + 1\nend\n"
      "AcctType$ = \"D\"\nAcctName$ = \"Buyer\"\nAcctAmount = 100 + y\n";
  std::vector<MessageBoxRequest> boxes;
  std::vector<Posting> postings = RunBundle(bundle, &boxes);
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(postings.size(), 2u);
  EXPECT_EQ(postings[0].type, "C");
  EXPECT_EQ(postings[0].name, "County Recorder");
  EXPECT_EQ(postings[0].desc, "Recording");
  EXPECT_EQ(postings[0].amount, "25");
  EXPECT_EQ(postings[1].type, "D");
  EXPECT_EQ(postings[1].amount, "100");  // y of step two is gone in step three
}

TEST(ScriptBundle, EachStepCountsLinesAndLabelsFromItsOwnStart) {
  RegisterScriptGlobals();
  const char* bundle =
      ":top\nAcctAmount = 1\nend\n"
      "AcctAmount = 2\ngoto top\n";
  std::vector<MessageBoxRequest> boxes;
  std::vector<Posting> postings = RunBundle(bundle, &boxes);
  ASSERT_EQ(postings.size(), 2u);  // the second step's amount is set before its error
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ErrorBoxText(3, "Label expected"));
}

TEST(ScriptBundle, OnlyEndReturnsAPosition) {
  TZBasic basic(nullptr);
  BoxRecorder recorder;
  const char* text = "end";
  EXPECT_EQ(basic.RunScript(text), text + 3);
  EXPECT_EQ(basic.RunScript("x = 1"), nullptr);
  EXPECT_EQ(basic.RunScript(nullptr), nullptr);
  EXPECT_TRUE(recorder.Boxes().empty());
}

TEST(ZBIItem, EqualByKeyAndOrderedByIndexThenUnsignedField) {
  TZBIItem a(3, 7, "x = 1"), b(3, 7, "y = 2"), c(3, -1, ""), d(-1, 5, ""), e(4, 0, "");
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
  EXPECT_TRUE(d < a);  // index -1 before 3
  EXPECT_TRUE(a < c);  // field -1 is the largest unsigned field number
  EXPECT_TRUE(c < e);
  EXPECT_FALSE(a < b);
}

TEST(ZBIItem, CopiesOwnTheirTextAndClearEmpties) {
  char source[] = "Price = 1";
  TZBIItem item(2, 9, source);
  source[0] = 'X';
  EXPECT_STREQ(item.Text(), "Price = 1");
  TZBIItem copy = item;
  item.Clear();
  EXPECT_EQ(item.TableIndex(), -1);
  EXPECT_EQ(item.FieldNumber(), 0);
  EXPECT_EQ(item.Text(), nullptr);
  EXPECT_STREQ(copy.Text(), "Price = 1");
  TZBIItem empty;
  EXPECT_EQ(empty.TableIndex(), -1);
  copy = empty;
  EXPECT_EQ(copy.Text(), nullptr);
}
