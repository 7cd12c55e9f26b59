/*
** Cell values as text: the general text of each type, the display pictures, and reading
** text back into a type. FormatData and GetCellData (tessel.h) are built from these.
*/
#ifndef ZARNE_GRID_VALUES_H
#define ZARNE_GRID_VALUES_H

#include "grid/calendar.h"
#include "grid/tessel_codes.h"
#include "platform/gdi/gdi.h"

#include <cstdint>
#include <string>

enum PictureClass {
  kLiteralPicture = 0,
  kTextPicture = 1,
  kNumericPicture = 2,
  kDatePicture = 3,
  kBoolPicture = 4
};

/* Text bounded to TS_MAXTEXT - 1 characters: appends past that are dropped. */
class BoundedText {
 public:
  void Add(char c) {
    if (text_.size() < TS_MAXTEXT - 1) text_.push_back(c);
  }
  void Add(const std::string& s) {
    for (char c : s) Add(c);
  }
  std::string& Text() { return text_; }
  size_t Size() const { return text_.size(); }

 private:
  std::string text_;
};

PictureClass ClassifyPicture(const char* picture);
/* The picture a value is shown under for editing and read back under (by picture class). */
const char* StandardPicture(const char* picture, uint16_t type);
/* Digits of a double with decimals places (-1: all the 20-place expansion holds), the
   first dropped digit rounding half up; "N/A" when it is not finite. */
std::string FormatDouble(double value, int decimals);
/* A money count of ten-thousandths with its four decimals. */
std::string FormatMoney(int64_t count);
int64_t ReadMoneyWords(const void* value);
void WriteMoneyWords(void* value, int64_t count);
/* The general text of a value of the type; a floating-point value is the shortest text that
   reads back to it, within the type's editor limit. */
std::string GeneralText(const void* value, uint16_t type, uint16_t length);

/* The picture kinds; fill receives the output position of the fill mark (or -1)
   and fillChar its character. */
void FormatTextPicture(BoundedText& out, const char* picture, const std::string& general, int* fill,
                       char* fillChar);
void FormatNumberPicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                         int* fill, char* fillChar);
void FormatDatePicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                       int* fill, char* fillChar);
void FormatBoolPicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                       int* fill, char* fillChar);
void FormatLiteralPicture(BoundedText& out, const char* picture, int* fill, char* fillChar);
/* Reads one literal element at p into out (a backslash pair, a quoted run or a plain
   character), or a fill mark; answers the characters consumed. */
size_t ReadLiteral(const char* p, BoundedText& out, int* fill, char* fillChar);

/* Splitting stored date and time values into parts and back. */
DateTimeParts DecodeDateTime(const void* value, uint16_t type);
bool IsDateTimeType(uint16_t type);

/* Date and time text: the components and whether a date and a time were given. */
struct ParsedDateTime {
  bool hasDate = false;
  bool hasTime = false;
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};
bool ParseDateTimeText(const char* text, bool dayFirst, ParsedDateTime* parsed);
/* Stores parsed parts into a date or time value; false when nothing may be stored. */
bool StoreDateCell(void* value, uint16_t type, const ParsedDateTime& parsed);

#endif
