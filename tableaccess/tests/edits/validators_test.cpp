/*
** The field editor's validators: the full and partial checks of each kind, the date rules
** part by part, upper-casing in place, and values too large to be stored.
*/
#include "tableaccess/validators.h"

#include "platform/framework/dialog.h"
#include "platform/framework/edit.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/system_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

/* The partial check on a writable copy, as the edit gives it. */
bool Partial(TValidator& validator, const std::string& text) {
  char buffer[64] = {};
  std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
  return validator.IsValidInput(buffer, false);
}

TEST(ValidatorsTest, MoneyFollowsTheAmountRule) {
  TMoneyValidator money;
  for (const char* good : {"", "-", ".", "12", "-12.3", "1234.56", ".05"}) {
    EXPECT_TRUE(money.IsValid(good)) << good;
    EXPECT_TRUE(Partial(money, good)) << good;
  }
  for (const char* bad : {"1.234", "1,234", "--1", "1-", "1.2.3", "a"}) {
    EXPECT_FALSE(money.IsValid(bad)) << bad;
    EXPECT_FALSE(Partial(money, bad)) << bad;
  }
  std::string huge(400, '9');  // reads as infinity: no amount
  EXPECT_FALSE(money.IsValid(huge.c_str()));
}

TEST(ValidatorsTest, FloatTakesOneSignAndOnePoint) {
  TFloatValidator decimal;
  for (const char* good : {"", "-", "-1.25", "3.14159", "."}) {
    EXPECT_TRUE(decimal.IsValid(good)) << good;
    EXPECT_TRUE(Partial(decimal, good)) << good;
  }
  for (const char* bad : {"1.2.3", "1-2", "--1", "1e5", "1,000"}) {
    EXPECT_FALSE(decimal.IsValid(bad)) << bad;
    EXPECT_FALSE(Partial(decimal, bad)) << bad;
  }
}

TEST(ValidatorsTest, IntegerTakesDigitsThatFitThirtyTwoBits) {
  TIntegerValidator whole;
  EXPECT_TRUE(whole.IsValid(""));
  EXPECT_TRUE(whole.IsValid("2147483647"));
  EXPECT_FALSE(whole.IsValid("2147483648"));
  EXPECT_FALSE(whole.IsValid("-1"));
  EXPECT_FALSE(whole.IsValid("1.0"));
  EXPECT_TRUE(Partial(whole, "99999999999"));  // typing is judged by its characters alone
  EXPECT_FALSE(Partial(whole, "12a"));
}

TEST(ValidatorsTest, StateTurnsTheTextToUpperCaseAndAcceptsAnything) {
  TStateValidator state;
  char text[8] = "fl x1";
  EXPECT_TRUE(state.IsValidInput(text, false));
  EXPECT_STREQ(text, "FL X1");
  EXPECT_TRUE(state.IsValid("anything at all"));
}

TEST(ValidatorsTest, FullDateCheckReadsMonthDayAndYear) {
  TDateValidator date;
  for (const char* good : {"", "1/2/95", "12/31/2090", "1225/95", "122595", "2/29/00", "2/29/1996",
                           "04/30/91", "1/1/90"}) {
    EXPECT_TRUE(date.IsValid(good)) << good;
  }
  for (const char* bad :
       {"13/1/95", "0/1/95", "4/31/95", "2/30/96", "2/29/99", "1/1/2091", "1/1/1990", "1/1/19950",
        "1/1/95x", "1/1/", "1/1/1995/", "1-1-95", "/1/95"}) {
    EXPECT_FALSE(date.IsValid(bad)) << bad;
  }
}

TEST(ValidatorsTest, PartialDateCheckLetsEachPartStopEarly) {
  TDateValidator date;
  for (const char* good : {"", "1", "12", "12/", "12/3", "12/31", "12/31/", "2/29/", "12/31/9",
                           "12/31/1999", "4/30"}) {
    EXPECT_TRUE(Partial(date, good)) << good;
  }
  for (const char* bad :
       {"0", "13", "122", "4/31", "2/30", "12/31/19999", "12/31/9x", "/", "1//"}) {
    EXPECT_FALSE(Partial(date, bad)) << bad;
  }
}

/* The validators on the edits of a dialog, given real keys the way the field editor is. */
class ValidatedEditsTest : public GuiTest {
 protected:
  DialogDriver driver;
};

TEST_F(ValidatedEditsTest, TypedKeysAreCheckedAndUpperCased) {
  TDialog dialog(nullptr, 30500);
  auto* state = new TEdit(&dialog, 101, 3);
  state->SetValidator(new TStateValidator);
  auto* date = new TEdit(&dialog, 102, 11);
  date->SetValidator(new TDateValidator);
  std::string stateText, dateText;
  int refused = 0;
  driver.OnDialog(30500, [&](HWND hwnd) {
    state->SetFocus();
    TypeText("tx");
    stateText = state->GetText();
    date->SetFocus();
    int before = MessageBeepCount();
    TypeText("13");  // the 3 would make month 13
    date->SetText("");
    TypeText("4/31/95");  // the 1 would make April 31
    refused = MessageBeepCount() - before;
    dateText = date->GetText();
    PressButton(hwnd, IDCANCEL);
  });
  dialog.Execute();
  EXPECT_EQ(stateText, "TX");
  EXPECT_EQ(dateText, "4/3/95");
  EXPECT_EQ(refused, 2);
}

}  // namespace
