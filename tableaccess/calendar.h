/*
** TCalendar: the "Date Selection" dialog (template 20911). A month and a year list above a
** grid of 42 owner-drawn day buttons, Sunday first; the transfer record is one date number,
** given to open the dialog on (the blank date opens it on today) and holding the chosen date
** after OK.
*/
#ifndef ZARNE_TABLEACCESS_CALENDAR_H
#define ZARNE_TABLEACCESS_CALENDAR_H

#include "platform/framework/dialog.h"
#include "platform/framework/list_controls.h"

#include <cstdint>

/* Template and control ids of the dialog. */
#define IDD_CALENDAR           20911
#define IDC_CALENDAR_FIRST_DAY 101
#define IDC_CALENDAR_LAST_DAY  142
#define IDC_CALENDAR_MONTH     201
#define IDC_CALENDAR_YEAR      202

/* The years the year list offers. */
constexpr int kCalendarFirstYear = 1990;
constexpr int kCalendarYearCount = 50;

/* Text colours of the day cells (Windows colour values). */
constexpr COLORREF kCalendarOtherMonthColor = 0x808080;
constexpr COLORREF kCalendarWeekendColor = 0x800000;
constexpr COLORREF kCalendarWeekdayColor = 0xff0000;

class TCalendar : public TDialog {
 public:
  TCalendar(TWindow* parent, TResId resId = IDD_CALENDAR, TModule* module = nullptr);

  /* Direction 1 splits the record's date into month, day and year; direction 0 puts the
     chosen date into the record. Size 4. */
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  void TransferData(TTransferDirection direction) override;
  void SetupWindow() override;

  int Month() const { return month_; }
  int Day() const { return day_; }
  int Year() const { return year_; }
  int SelectedButton() const { return selectedId_; }
  const char* DayText(int buttonId) const;
  COLORREF DayColor(int buttonId) const;

 protected:
  void EvDrawItem(UINT ctrlId, DRAWITEMSTRUCT& drawInfo) override;
  void EvMonthChange();
  void EvYearChange();

 private:
  struct TDayCell {
    char text[7];
    COLORREF color;
  };
  static constexpr int kCells = IDC_CALENDAR_LAST_DAY - IDC_CALENDAR_FIRST_DAY + 1;

  void ShowTransferDate();
  void SelectMonthAndYear();
  void LayOutDays();
  void SetCell(int index, int day, COLORREF color, bool enabled);
  void DrawDay(const DRAWITEMSTRUCT& drawInfo, const TDayCell& cell, bool selected);
  void DayFocused(int buttonId);

  TComboBox* MonthBox;
  TComboBox* YearBox;
  int32_t month_ = 1;
  int32_t day_ = 1;
  int32_t year_ = kCalendarFirstYear;
  int selectedId_ = 0;
  TDayCell cells_[kCells] = {};

  DECLARE_RESPONSE_TABLE(TCalendar);
};

#endif
