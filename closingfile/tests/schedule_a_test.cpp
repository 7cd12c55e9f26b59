/*
** Schedule A through its command: the seventeen controls on TITLEA and EXPENSE3, dates
** cleared to blank, empty books as 0, the recalculation of the two policy amounts, Cancel.
** Day numbers come from Python's date.toordinal (1 January of year 1 is day 1).
*/
#include "closingfile/schedule_a_dialog.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "platform/user/winuser.h"
#include "tableaccess/field_list.h"
#include "tableaccess/value_forms.h"

#include <map>
#include <string>

namespace {

const std::vector<std::pair<int, std::string>> kTexts = {
    {2, "C-100"}, {4, "8:00 am"}, {5, "O-200"}, {7, "9:15 am"}, {11, "L-300"}, {13, "10:30 am"}};
// 2003-01-15 .. 2003-05-19; books and pages.
const std::vector<std::pair<int, LONG>> kLongs = {{3, 731230},  {6, 731262},  {8, 731291},
                                                  {12, 731323}, {14, 731354}, {9, 901},
                                                  {10, 1002},   {15, 1503},   {16, 1604}};
const std::vector<std::pair<int, double>> kAmounts = {{30, 123456.78}, {28, 98765.4}};

/* What each control shows for those values. */
const std::map<int, std::string> kShown = {
    {101, "C-100"},   {102, "01/15/03"},   {103, "8:00 am"},  {104, "O-200"},     {105, "02/16/03"},
    {106, "9:15 am"}, {107, "123,456.78"}, {108, "03/17/03"}, {109, "901"},       {110, "1002"},
    {111, "L-300"},   {112, "04/18/03"},   {113, "10:30 am"}, {114, "98,765.40"}, {115, "05/19/03"},
    {116, "1503"},    {117, "1604"}};

class ScheduleATest : public ClosingFileTest {
 protected:
  RespaWindow* OpenSchedule(const std::string& number) {
    PutValues(kTitleATable, number, kTexts, kLongs);
    PutValues(kExpense3Table, number, {}, {}, kAmounts);
    return OpenFile(number);
  }
  void ExpectStored(const std::string& number, std::map<int, LONG> changedLongs = {},
                    std::map<int, double> changedAmounts = {}) {
    for (auto& [field, text] : kTexts) EXPECT_EQ(TableText(kTitleATable, number, field), text);
    for (auto [field, value] : kLongs) {
      LONG expected = changedLongs.count(field) ? changedLongs[field] : value;
      EXPECT_EQ(TableLong(kTitleATable, number, field), expected) << field;
    }
    for (auto [field, value] : kAmounts) {
      double expected = changedAmounts.count(field) ? changedAmounts[field] : value;
      EXPECT_DOUBLE_EQ(TableDouble(kExpense3Table, number, field), expected) << field;
    }
  }
};

TEST_F(ScheduleATest, ControlsShowTheirFieldsAndOkKeepsThem) {
  RespaWindow* view = OpenSchedule("SA-1");
  std::map<int, std::string> shown;
  driver.OnDialog(kScheduleATemplate, [&](HWND dialog) {
    for (auto& [id, text] : kShown) shown[id] = ControlTextOf(dialog, id);
    Shot(dialog, "schedule_a");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kScheduleACommand);
  EXPECT_EQ(shown, kShown);
  ExpectStored("SA-1");
}

TEST_F(ScheduleATest, TypedValuesReachTheirFieldsOnly) {
  RespaWindow* view = OpenSchedule("SA-2");
  driver.OnDialog(kScheduleATemplate, [&](HWND dialog) {
    TypeInto(dialog, 112, "7/4/05");  // the loan policy's date: TITLEA 12
    TypeInto(dialog, 105, "");        // the owner's date cleared: TITLEA 6
    FocusControl(dialog, 105);
    PressDialogKey(dialog, VK_DELETE);
    TypeInto(dialog, 116, "77");    // the loan book: TITLEA 15
    TypeInto(dialog, 107, "5000");  // the owner's amount: EXPENSE3 30
    FocusControl(dialog, 101);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kScheduleACommand);
  ExpectStored("SA-2", {{12, 732131}, {6, kBlankDate}, {15, 77}}, {{30, 5000.0}});
}

TEST_F(ScheduleATest, EmptyBooksShowZeroAndStoreZero) {
  PutValues(kTitleATable, "SA-3", {{2, "C-1"}});
  RespaWindow* view = OpenFile("SA-3");
  std::map<int, std::string> shown;
  driver.OnDialog(kScheduleATemplate, [&](HWND dialog) {
    for (int id : {109, 110, 116, 117, 102}) shown[id] = ControlTextOf(dialog, id);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kScheduleACommand);
  EXPECT_EQ(shown, (std::map<int, std::string>{
                       {109, "0"}, {110, "0"}, {116, "0"}, {117, "0"}, {102, ""}}));
  for (int field : {9, 10, 15, 16}) EXPECT_EQ(TableLong(kTitleATable, "SA-3", field), 0);
  EXPECT_EQ(TableLong(kTitleATable, "SA-3", 3), kBlankDate);
}

TEST_F(ScheduleATest, OkRecalculatesBothAmountsAndCancelChangesNothing) {
  RecordSeams();
  RespaWindow* view = OpenSchedule("SA-4");
  calls.recalculated.clear();
  AnswerCommand(view, kScheduleACommand, kScheduleATemplate, {{114, "1234"}, {101, "C-999"}},
                VK_ESCAPE);
  EXPECT_TRUE(calls.recalculated.empty());
  EXPECT_EQ(BufferText(view, kTitleATable, 2), "C-100");
  Save(view);
  ExpectStored("SA-4");

  calls.advised.clear();
  AnswerCommand(view, kScheduleACommand, kScheduleATemplate, {{114, "1234"}}, VK_RETURN, 101);
  std::vector<int> expected;
  for (int id : {495, 497})
    if (FindFieldByNumber(&gRespaFieldList, id)) expected.push_back(id);
  EXPECT_EQ(expected.size(), 2u);
  EXPECT_EQ(calls.recalculated, expected);
  EXPECT_EQ(calls.advised, (std::vector<std::string>{""}));
  // Saved by the command itself.
  EXPECT_DOUBLE_EQ(TableDouble(kExpense3Table, "SA-4", 28), 1234.0);
}

}  // namespace
