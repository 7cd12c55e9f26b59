/*
** TCalendar: the month and year lists, the day grid laid out for the chosen month, the
** owner drawing of the day buttons, and the date it answers.
*/
#include "tableaccess/calendar.h"

#include "platform/gdi/gdi.h"
#include "platform/user/painting.h"
#include "platform/user/window_manager.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

constexpr COLORREF kFaceColor = 0xC0C0C0;
constexpr COLORREF kShadowColor = 0x808080;
constexpr COLORREF kHighlightColor = 0xFFFFFF;
constexpr int kEdgeWidth = 2;

/* Weekday of a date, 1 Monday to 7 Sunday: day 1 of the day numbers (1 January of year 1)
** was a Monday. */
int Weekday(int month, int day, int year) {
  LONG date = kBlankDate;
  EncodeDate(date, month, day, year);
  if (date == kBlankDate) return 1;
  return static_cast<int>(((static_cast<long long>(date) - 1) % 7 + 7) % 7) + 1;
}

/* A 2-pixel line from one point to another in the pen's colour. */
void EdgeLine(HDC dc, COLORREF color, int x1, int y1, int x2, int y2) {
  HPEN pen = CreatePen(PS_SOLID, kEdgeWidth, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

TCalendar::TCalendar(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  MonthBox = new TComboBox(this, IDC_CALENDAR_MONTH, 0, module);
  YearBox = new TComboBox(this, IDC_CALENDAR_YEAR, 0, module);
  MonthBox->DisableTransfer();
  YearBox->DisableTransfer();
}

const char* TCalendar::DayText(int buttonId) const {
  int index = buttonId - IDC_CALENDAR_FIRST_DAY;
  return index >= 0 && index < kCells ? cells_[index].text : "";
}

COLORREF TCalendar::DayColor(int buttonId) const {
  int index = buttonId - IDC_CALENDAR_FIRST_DAY;
  return index >= 0 && index < kCells ? cells_[index].color : 0;
}

/* ---- transfer ---- */

UINT TCalendar::Transfer(void* buffer, TTransferDirection direction) {
  LONG date = kBlankDate;
  if (buffer && direction == tdSetData) {
    std::memcpy(&date, buffer, sizeof date);
    int month, day, year;
    DecodeDate(date, month, day, year);
    month_ = month;
    day_ = day;
    year_ = year;
  } else if (buffer && direction == tdGetData) {
    EncodeDate(date, month_, day_, year_);
    std::memcpy(buffer, &date, sizeof date);
  }
  return sizeof date;
}

/* The dialog's record is its own date, not a set of control values. */
void TCalendar::TransferData(TTransferDirection direction) {
  void* buffer = GetTransferBuffer();
  if (direction == tdGetData && buffer) Transfer(buffer, tdGetData);
  else if (direction == tdSetData && HWindow) ShowTransferDate();
}

/* ---- set-up ---- */

void TCalendar::SetupWindow() {
  TDialog::SetupWindow();
  for (const char* name : kMonthNames) MonthBox->AddString(name);
  for (int i = 0; i < kCalendarYearCount; ++i) {
    char year[8];
    std::snprintf(year, sizeof year, "%d", kCalendarFirstYear + i);
    YearBox->AddString(year);
  }
  ShowTransferDate();
}

/* The record's date, or today for the blank date (or no record), shown and laid out. */
void TCalendar::ShowTransferDate() {
  LONG date = kBlankDate;
  if (void* buffer = GetTransferBuffer()) std::memcpy(&date, buffer, sizeof date);
  if (date == kBlankDate) date = TodayDate();
  Transfer(&date, tdSetData);
  SelectMonthAndYear();
  LayOutDays();
}

/* A year outside the list keeps its own value; the list then shows no selection. */
void TCalendar::SelectMonthAndYear() {
  MonthBox->SetSelIndex(month_ - 1);
  int yearIndex = year_ - kCalendarFirstYear;
  YearBox->SetSelIndex(yearIndex >= 0 && yearIndex < kCalendarYearCount ? yearIndex : -1);
}

/* ---- the day grid ---- */

void TCalendar::SetCell(int index, int day, COLORREF color, bool enabled) {
  std::snprintf(cells_[index].text, sizeof cells_[index].text, "%d", day);
  cells_[index].color = color;
  if (HWND button = GetDlgItem(IDC_CALENDAR_FIRST_DAY + index)) ::EnableWindow(button, enabled);
}

void TCalendar::LayOutDays() {
  int leading = Weekday(month_, 1, year_) % 7;  // Sunday (7) starts the first row
  int length = DaysInMonth(month_, year_);
  if (day_ > length) day_ = length;
  if (day_ < 1) day_ = 1;
  int previousLength = month_ == 1 ? DaysInMonth(12, year_ - 1) : DaysInMonth(month_ - 1, year_);
  int cell = 0;
  for (; cell < leading; ++cell)
    SetCell(cell, previousLength - leading + cell + 1, kCalendarOtherMonthColor, false);
  for (int day = 1; day <= length; ++day, ++cell) {
    int column = cell % 7;
    bool weekend = column == 0 || column == 6;
    SetCell(cell, day, weekend ? kCalendarWeekendColor : kCalendarWeekdayColor, true);
    if (day == day_) selectedId_ = IDC_CALENDAR_FIRST_DAY + cell;
  }
  for (int next = 1; cell < kCells; ++cell, ++next)
    SetCell(cell, next, kCalendarOtherMonthColor, false);
  for (int id = IDC_CALENDAR_FIRST_DAY; id <= IDC_CALENDAR_LAST_DAY; ++id)
    if (HWND button = GetDlgItem(id)) ::InvalidateRect(button, nullptr, TRUE);
}

void TCalendar::EvMonthChange() {
  int index = MonthBox->GetSelIndex();
  if (index < 0) return;
  month_ = index + 1;
  LayOutDays();
}

void TCalendar::EvYearChange() {
  int index = YearBox->GetSelIndex();
  if (index < 0) return;
  year_ = std::atoi(YearBox->GetString(index).c_str());
  LayOutDays();
}

/* ---- owner drawing ---- */

void TCalendar::EvDrawItem(UINT ctrlId, DRAWITEMSTRUCT& drawInfo) {
  int index = static_cast<int>(ctrlId) - IDC_CALENDAR_FIRST_DAY;
  if (index < 0 || index >= kCells || drawInfo.CtlType != ODT_BUTTON) {
    TDialog::EvDrawItem(ctrlId, drawInfo);
    return;
  }
  if ((drawInfo.itemAction & ODA_FOCUS) && (drawInfo.itemState & ODS_FOCUS))
    DayFocused(static_cast<int>(ctrlId));
  DrawDay(drawInfo, cells_[index], static_cast<int>(ctrlId) == selectedId_);
}

/* A day button that takes the focus becomes the chosen day. */
void TCalendar::DayFocused(int buttonId) {
  int previous = selectedId_;
  selectedId_ = buttonId;
  day_ = std::atoi(cells_[buttonId - IDC_CALENDAR_FIRST_DAY].text);
  if (previous != buttonId)
    if (HWND button = GetDlgItem(previous)) ::InvalidateRect(button, nullptr, TRUE);
}

void TCalendar::DrawDay(const DRAWITEMSTRUCT& drawInfo, const TDayCell& cell, bool selected) {
  HDC dc = drawInfo.hDC;
  RECT rect = drawInfo.rcItem;
  HBRUSH face = CreateSolidBrush(kFaceColor);
  FillRect(dc, &rect, face);
  DeleteObject(face);

  HPEN outline = CreatePen(PS_SOLID, kEdgeWidth, kFaceColor);
  HGDIOBJ oldPen = SelectObject(dc, outline);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(outline);

  HGDIOBJ oldFont = nullptr;
  if (auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
    oldFont = SelectObject(dc, font);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, cell.color);
  RECT textRect = rect;
  DrawText(dc, cell.text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  if (oldFont) SelectObject(dc, oldFont);

  if (!selected) return;
  // Sunken: shadow along the left and top edges, highlight along the right and bottom.
  int left = rect.left + 1, top = rect.top + 1, right = rect.right - 1, bottom = rect.bottom - 1;
  EdgeLine(dc, kShadowColor, left, bottom, left, top);
  EdgeLine(dc, kShadowColor, left, top, right, top);
  EdgeLine(dc, kHighlightColor, right, top, right, bottom);
  EdgeLine(dc, kHighlightColor, right, bottom, left, bottom);
}

DEFINE_RESPONSE_TABLE1(TCalendar, TDialog)
EV_CBN_SELCHANGE(IDC_CALENDAR_MONTH, EvMonthChange),
    EV_CBN_SELCHANGE(IDC_CALENDAR_YEAR, EvYearChange), END_RESPONSE_TABLE;
