/*
** The date selection dialog from the program's template: the month grid it lays out (Sunday
** first, neighbouring months greyed), the day chosen by a click or kept through a change of
** month or year, the date it answers, and a screenshot of it.
*/
#include "tableaccess/calendar.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/combobox_control.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "tableaccess/value_forms.h"

#include <QColor>
#include <QImage>

#include <functional>
#include <string>

namespace {

LONG Date(int month, int day, int year) {
  LONG date = kBlankDate;
  EncodeDate(date, month, day, year);
  return date;
}

int ButtonForCell(int cell) { return IDC_CALENDAR_FIRST_DAY + cell; }

class CalendarTest : public GuiTest {
 protected:
  /* Opens the calendar on `date`; `steps` runs inside it; answers the dialog's result and
     leaves the chosen date in `date`. */
  int Choose(LONG& date, const std::function<void(TCalendar&, HWND)>& steps, bool ok = true) {
    TCalendar calendar(nullptr);
    calendar.SetTransferBuffer(&date, sizeof date);
    driver.OnDialog(IDD_CALENDAR, [&](HWND hwnd) {
      steps(calendar, hwnd);
      if (IsWindow(hwnd) && IsWindowVisible(hwnd)) PressButton(hwnd, ok ? IDOK : IDCANCEL);
    });
    return calendar.Execute();
  }
  DialogDriver driver;
};

TEST_F(CalendarTest, LaysOutTheMonthSundayFirstWithNeighbouringDaysGreyed) {
  LONG date = Date(3, 15, 1995);  // 1 March 1995 was a Wednesday
  std::string cells[42];
  COLORREF colors[42] = {};
  bool enabled[42] = {};
  int selected = 0, monthIndex = -2;
  std::string year;
  Choose(date, [&](TCalendar& c, HWND hwnd) {
    for (int i = 0; i < 42; ++i) {
      cells[i] = c.DayText(ButtonForCell(i));
      colors[i] = c.DayColor(ButtonForCell(i));
      enabled[i] = IsWindowEnabled(FindControl(hwnd, ButtonForCell(i)));
    }
    selected = c.SelectedButton();
    monthIndex =
        static_cast<int>(SendMessage(FindControl(hwnd, IDC_CALENDAR_MONTH), CB_GETCURSEL, 0, 0));
    year = ControlTextOf(hwnd, IDC_CALENDAR_YEAR);
  });
  EXPECT_EQ(monthIndex, 2);
  EXPECT_EQ(year, "1995");
  EXPECT_EQ(cells[0], "26");  // Sunday 26 February
  EXPECT_EQ(cells[2], "28");
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(enabled[i]);
    EXPECT_EQ(colors[i], kCalendarOtherMonthColor);
  }
  EXPECT_EQ(cells[3], "1");
  EXPECT_TRUE(enabled[3]);
  EXPECT_EQ(colors[3], kCalendarWeekdayColor);
  EXPECT_EQ(colors[6], kCalendarWeekendColor);  // Saturday 4 March
  EXPECT_EQ(colors[7], kCalendarWeekendColor);  // Sunday 5 March
  EXPECT_EQ(cells[33], "31");
  EXPECT_EQ(cells[34], "1");  // April follows, greyed
  EXPECT_FALSE(enabled[34]);
  EXPECT_EQ(cells[41], "8");
  EXPECT_EQ(selected, ButtonForCell(3 + 14));
  EXPECT_EQ(date, Date(3, 15, 1995));
}

TEST_F(CalendarTest, AClickedDayIsTheDateAnswered) {
  LONG date = Date(3, 15, 1995);
  int result = Choose(date, [&](TCalendar&, HWND hwnd) {
    Click(FindControl(hwnd, ButtonForCell(3 + 19)), 4, 4);  // 20 March
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(date, Date(3, 20, 1995));
}

TEST_F(CalendarTest, CancelLeavesTheRecordAlone) {
  LONG date = Date(3, 15, 1995);
  int result = Choose(
      date, [&](TCalendar&, HWND hwnd) { Click(FindControl(hwnd, ButtonForCell(10)), 4, 4); },
      false);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(date, Date(3, 15, 1995));
}

TEST_F(CalendarTest, BlankDateOpensOnToday) {
  LONG date = kBlankDate;
  int month = 0, day = 0, year = 0;
  Choose(date, [&](TCalendar& c, HWND) {
    month = c.Month();
    day = c.Day();
    year = c.Year();
  });
  int todayMonth, todayDay, todayYear;
  DecodeDate(TodayDate(), todayMonth, todayDay, todayYear);
  EXPECT_EQ(month, todayMonth);
  EXPECT_EQ(day, todayDay);
  EXPECT_EQ(year, todayYear);
  EXPECT_EQ(date, TodayDate());
}

TEST_F(CalendarTest, DayBeyondTheNewMonthBecomesItsLastDay) {
  LONG date = Date(1, 31, 2000);
  std::string selectedText;
  Choose(date, [&](TCalendar& c, HWND hwnd) {
    SetFocus(FindControl(hwnd, IDC_CALENDAR_MONTH));
    PressDialogKey(hwnd, VK_DOWN);  // January to February
    selectedText = c.DayText(c.SelectedButton());
  });
  EXPECT_EQ(selectedText, "29");
  EXPECT_EQ(date, Date(2, 29, 2000));
}

TEST_F(CalendarTest, MonthStartingOnSundayHasNoLeadingDays) {
  LONG date = Date(10, 10, 1995);  // 1 October 1995 was a Sunday
  std::string first;
  bool firstEnabled = false;
  COLORREF firstColor = 0;
  Choose(date, [&](TCalendar& c, HWND hwnd) {
    first = c.DayText(IDC_CALENDAR_FIRST_DAY);
    firstColor = c.DayColor(IDC_CALENDAR_FIRST_DAY);
    firstEnabled = IsWindowEnabled(FindControl(hwnd, IDC_CALENDAR_FIRST_DAY));
  });
  EXPECT_EQ(first, "1");
  EXPECT_TRUE(firstEnabled);
  EXPECT_EQ(firstColor, kCalendarWeekendColor);
}

TEST_F(CalendarTest, ChangingOnlyTheYearKeepsMonthAndDay) {
  LONG date = Date(7, 4, 1996);
  Choose(date, [&](TCalendar&, HWND hwnd) {
    SetFocus(FindControl(hwnd, IDC_CALENDAR_YEAR));
    PressDialogKey(hwnd, VK_DOWN);
  });
  EXPECT_EQ(date, Date(7, 4, 1997));
}

TEST_F(CalendarTest, DateOutsideTheYearListKeepsItsYear) {
  LONG date = Date(5, 5, 2050);
  int yearIndex = 0;
  Choose(date, [&](TCalendar&, HWND hwnd) {
    yearIndex =
        static_cast<int>(SendMessage(FindControl(hwnd, IDC_CALENDAR_YEAR), CB_GETCURSEL, 0, 0));
  });
  EXPECT_EQ(yearIndex, -1);
  EXPECT_EQ(date, Date(5, 5, 2050));
}

TEST_F(CalendarTest, ScreenshotShowsTheChosenDaySunken) {
  LONG date = Date(3, 15, 1995);
  QImage image;
  RECT client{};
  POINT chosen{}, other{};
  SIZE cell{};
  Choose(date, [&](TCalendar& c, HWND hwnd) {
    PumpDialogMessages(hwnd);
    ASSERT_TRUE(SaveWindowScreenshot(hwnd, "calendar_screenshot.png"));
    image = GrabWindow(hwnd);
    GetClientRect(hwnd, &client);
    // Places of two day buttons in the dialog's client area, which is what the picture shows.
    MapWindowPoints(FindControl(hwnd, c.SelectedButton()), hwnd, &chosen, 1);
    MapWindowPoints(FindControl(hwnd, ButtonForCell(4)), hwnd, &other, 1);
    RECT button{};
    GetClientRect(FindControl(hwnd, ButtonForCell(4)), &button);
    cell = {button.right, button.bottom};
  });
  ASSERT_EQ(image.width(), client.right);
  ASSERT_EQ(image.height(), client.bottom);
  auto pixel = [&](const POINT& at, int dx, int dy) {
    return image.pixelColor(at.x + dx, at.y + dy).rgb() & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(chosen, 1, cell.cy / 2), 0x808080u);            // shadow along the left edge
  EXPECT_EQ(pixel(chosen, cell.cx / 2, 1), 0x808080u);            // and the top
  EXPECT_EQ(pixel(chosen, cell.cx - 2, cell.cy / 2), 0xFFFFFFu);  // highlight on the right
  EXPECT_EQ(pixel(chosen, cell.cx / 2, cell.cy - 2), 0xFFFFFFu);  // and the bottom
  EXPECT_EQ(pixel(other, 1, cell.cy / 2), 0xC0C0C0u);             // a day not chosen is flat
}

}  // namespace
