/*
** TWWDate, TWWInteger, TWWFloat and TWWMoney: their keys, focus tidy-up and transfer.
*/
#include "tableaccess/typed_edits.h"

#include "tableaccess/typed_edit_input.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

/* A date box writes two-digit years for 1991 to 2090, the window its reading maps back. */
int DateBoxYear(int year) {
  if (year >= 1991 && year <= 1999) return year - 1900;
  if (year >= 2000 && year <= 2090) return year - 2000;
  return year;
}

/* The date number of a box's text: the blank date for an empty text or one that is no date. */
LONG DateOfText(const std::string& text) {
  LONG date = kBlankDate;
  int month, day, year;
  if (!text.empty() && ParseDate(text.c_str(), month, day, year))
    EncodeDate(date, month, day, year);
  return date;
}

/* Empty, or a date text that the transfer reads whole into a day number: a year the day
** numbers do not reach would otherwise be stored as no date at all. */
bool HoldsDate(const TEdit& box) {
  std::string text = box.GetText();
  if (text.empty()) return true;
  return IsDateText(text.c_str()) && text.size() <= TransferText(box).size() &&
         DateOfText(text) != kBlankDate;
}

std::string WithoutCommas(const std::string& text) {
  std::string plain(text.size() + 1, '\0');
  StripCommas(text.c_str(), plain.data(), plain.size());
  plain.resize(std::strlen(plain.c_str()));
  return plain;
}

std::string WithCommas(const std::string& text) {
  // At most one comma per three digits.
  std::string grouped(text.size() + text.size() / 3 + 2, '\0');
  InsertThousandsCommas(text.c_str(), grouped.data(), grouped.size());
  grouped.resize(std::strlen(grouped.c_str()));
  return grouped;
}

/* A double with the format's decimals and thousands commas ("%.2lf", "%.5lf"). */
std::string DecimalText(double value, int decimals) {
  char plain[400];
  std::snprintf(plain, sizeof plain, "%.*f", decimals, value);
  return WithCommas(plain);
}

/* The double a decimal box stands for; false (nothing read) when its text is no number. */
bool ReadDecimal(const TEdit& box, double& value) {
  std::string plain = WithoutCommas(TransferText(box));
  if (!IsDecimalNumberText(plain)) return false;
  value = std::strtod(plain.c_str(), nullptr);
  return true;
}

/* The whole text, not the 38 characters the transfer reads, must be a number: a longer text
** would be read cut short. */
bool HoldsDecimal(const TEdit& box) {
  std::string text = box.GetText();
  return text.size() <= TransferText(box).size() && IsDecimalNumberText(WithoutCommas(text));
}

/* The 8-byte transfer of a decimal box, shown with the given decimals and commas. */
UINT TransferDecimal(TEdit& box, void* buffer, TTransferDirection direction, int decimals) {
  double value = 0;
  if (!buffer) return sizeof value;
  if (direction == tdGetData) {
    if (HoldsDecimal(box) && ReadDecimal(box, value)) std::memcpy(buffer, &value, sizeof value);
  } else if (direction == tdSetData) {
    std::memcpy(&value, buffer, sizeof value);
    box.SetText(DecimalText(value, decimals).c_str());
  }
  return sizeof value;
}

}  // namespace

/* ---- What the four boxes share ---- */

TTypedEdit::TTypedEdit(TWindow* parent, int resourceId, UINT textLimit, TModule* module,
                       TKeyRule rule)
    : TEdit(parent, resourceId, textLimit, module), keyRule_(rule) {}

void TTypedEdit::SetupWindow() {
  TEdit::SetupWindow();
  LowerFormattingRect(*this);
}

void TTypedEdit::EvChar(UINT key, UINT repeatCount, UINT flags) {
  if (AdmitKey(*this, keyRule_, key)) TEdit::EvChar(key, repeatCount, flags);
}

void TTypedEdit::EvKeyDown(UINT key, UINT repeatCount, UINT flags) {
  if (!PasteKeyTakenOver(*this, key)) TEdit::EvKeyDown(key, repeatCount, flags);
}

LRESULT TTypedEdit::EvPaste(WPARAM, LPARAM) {
  return AdmitPaste(*this, keyRule_) ? DefaultProcessing() : 0;
}

DEFINE_RESPONSE_TABLE1(TTypedEdit, TEdit)
EV_WM_CHAR, EV_WM_KEYDOWN, EV_MESSAGE(WM_PASTE, EvPaste), END_RESPONSE_TABLE;

/* ---- TWWDate ---- */

TWWDate::TWWDate(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TTypedEdit(parent, resourceId, textLimit, module, DateKeyVerdict) {}

UINT TWWDate::Transfer(void* buffer, TTransferDirection direction) {
  LONG date = kBlankDate;
  if (!buffer || (direction != tdGetData && direction != tdSetData)) return sizeof date;
  if (direction == tdGetData) {
    date = DateOfText(TransferText(*this));
    std::memcpy(buffer, &date, sizeof date);
  } else {
    std::memcpy(&date, buffer, sizeof date);
    char text[40] = "";
    if (date != kBlankDate) {
      int month, day, year;
      DecodeDate(date, month, day, year);
      std::snprintf(text, sizeof text, "%02d/%02d/%02d", month, day, DateBoxYear(year));
    }
    SetText(text);
  }
  return sizeof date;
}

bool TWWDate::CanClose() {
  if (!TEdit::CanClose()) return false;
  return RefuseUnlessValue(*this, HoldsDate(*this));
}

void TWWDate::EvKillFocus(HWND getFocus) {
  TEdit::EvKillFocus(getFocus);
  if (!IsDateText(GetText().c_str())) Clear();
}

DEFINE_RESPONSE_TABLE1(TWWDate, TTypedEdit)
EV_WM_KILLFOCUS, END_RESPONSE_TABLE;

/* ---- TWWInteger ---- */

TWWInteger::TWWInteger(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TTypedEdit(parent, resourceId, textLimit, module, IntegerKeyVerdict) {}

UINT TWWInteger::Transfer(void* buffer, TTransferDirection direction) {
  int32_t value = 0;
  if (!buffer) return sizeof value;
  if (direction == tdGetData) {
    std::string text = TransferText(*this);
    // A text that is no 32-bit number is not stored at all, rather than stored wrapped.
    if (!IsWholeNumberText(text) || text.size() < GetText().size()) return sizeof value;
    value = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
    std::memcpy(buffer, &value, sizeof value);
  } else if (direction == tdSetData) {
    std::memcpy(&value, buffer, sizeof value);
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    SetText(text);
  }
  return sizeof value;
}

bool TWWInteger::CanClose() {
  if (!TEdit::CanClose()) return false;
  return RefuseUnlessValue(*this, IsWholeNumberText(GetText()));
}

/* ---- TWWFloat ---- */

TWWFloat::TWWFloat(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TTypedEdit(parent, resourceId, textLimit, module, FloatKeyVerdict) {}

UINT TWWFloat::Transfer(void* buffer, TTransferDirection direction) {
  return TransferDecimal(*this, buffer, direction, 5);
}

bool TWWFloat::CanClose() {
  if (!TEdit::CanClose()) return false;
  return RefuseUnlessValue(*this, HoldsDecimal(*this));
}

/* ---- TWWMoney ---- */

TWWMoney::TWWMoney(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TTypedEdit(parent, resourceId, textLimit, module, MoneyKeyVerdict) {}

UINT TWWMoney::Transfer(void* buffer, TTransferDirection direction) {
  return TransferDecimal(*this, buffer, direction, 2);
}

bool TWWMoney::CanClose() {
  if (!TEdit::CanClose()) return false;
  return RefuseUnlessValue(*this, HoldsDecimal(*this));
}

/* Editing works on the bare number: no commas, all of it selected to be typed over. */
void TWWMoney::EvSetFocus(HWND lostFocus) {
  SetText(WithoutCommas(GetText()).c_str());
  SetSelection(0, static_cast<UINT>(-1));
  TEdit::EvSetFocus(lostFocus);
}

/* Shown with commas and exactly two decimals; an empty box shows ".00". */
void TWWMoney::EvKillFocus(HWND getFocus) {
  TEdit::EvKillFocus(getFocus);
  std::string grouped = WithCommas(WithoutCommas(GetText()));
  std::string padded(grouped.size() + 4, '\0');
  PadDecimals(grouped.c_str(), padded.data(), 2, padded.size());
  SetText(padded.c_str());
}

DEFINE_RESPONSE_TABLE1(TWWMoney, TTypedEdit)
EV_WM_SETFOCUS, EV_WM_KILLFOCUS, END_RESPONSE_TABLE;
