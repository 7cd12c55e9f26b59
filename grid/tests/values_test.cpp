// Values as text and back through the exports FormatData and GetCellData, and the day
// counts. Expected texts are worked by hand from the picture rules; dates are checked
// against a Gregorian ordinal computed independently (the days-from-civil count), whose
// offset to the grid's day counts Python's datetime gives: 2299160 - 577736 = 1721424.
#include "grid/calendar.h"
#include "grid/values.h"
#include "grid/tests/grid_fixture.h"

#include <cstdint>
#include <limits>

using Values = GuiTest;

namespace {

std::string Format(const char* picture, const void* value, WORD type, WORD length = 8) {
  char text[TS_MAXTEXT];
  FormatData(nullptr, text, picture, value, type, length, 0, 0);
  return text;
}

std::string FormatReal(const char* picture, double value) {
  return Format(picture, &value, TST_REAL8);
}
std::string FormatInt(const char* picture, int32_t value) {
  return Format(picture, &value, TST_INT4, 4);
}

std::string MoneyOf(int64_t count) {
  uint8_t value[8];
  uint32_t high = static_cast<uint32_t>(static_cast<uint64_t>(count) >> 32),
           low = static_cast<uint32_t>(count);
  std::memcpy(value, &high, 4);
  std::memcpy(value + 4, &low, 4);
  return Format("@", value, TST_SQLMONEY);
}

int64_t ReadMoney(const char* text) {
  uint8_t value[8] = {};
  GetCellData(value, text, "", 8, TST_SQLMONEY);
  uint32_t high, low;
  std::memcpy(&high, value, 4);
  std::memcpy(&low, value + 4, 4);
  return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

/* Days since 0000-03-01 style civil count (Hinnant), shifted to 1 January of year 1 = 1. */
long CivilOrdinal(int y, int m, int d) {
  y -= m <= 2;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 719163;
}

}  // namespace

TEST_F(Values, FloatingPointDigitsRoundHalfUpOnTheExactExpansion) {
  EXPECT_EQ(FormatReal("0", 2.5), "3");
  EXPECT_EQ(FormatReal("0.0", 9.96), "10.0");
  EXPECT_EQ(FormatReal("0.0", -9.96), "-10.0");
  EXPECT_EQ(FormatReal("@", 0.25), "0.25");
  EXPECT_EQ(FormatReal("@", 3.0), "3");
  EXPECT_EQ(FormatReal("", 3.0), "3");
  // Exact binary ties round up, where printf's "%.2f" rounds them to even (0.12, 1,234.12);
  // a value just below a tie stays below it (2.675 is 2.67499999999999982236...).
  EXPECT_EQ(FormatReal("#,##0.00", 0.125), "0.13");
  EXPECT_EQ(FormatReal("#,##0.00", 1234.125), "1,234.13");
  EXPECT_EQ(FormatReal("#,##0.00", 2.675), "2.67");
  double infinite = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatReal("@", infinite), "N/A");
  EXPECT_EQ(FormatReal("0.00", std::numeric_limits<double>::quiet_NaN()), "?.00");
}

TEST_F(Values, NumericPicturesGroupPadSignAndBlank) {
  EXPECT_EQ(FormatReal("#,##0.00", 1234.5), "1,234.50");
  EXPECT_EQ(FormatReal("#,##0.00", -1234.5), "-1,234.50");
  EXPECT_EQ(FormatReal("#,##0.00", 0), "0.00");
  EXPECT_EQ(FormatReal("#,##0.00", 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatReal("#,###.##", 0), "");
  EXPECT_EQ(FormatReal("(#,##0.00)", -5), "(5.00)");
  EXPECT_EQ(FormatReal("(#,##0.00)", 5), " 5.00 ");
  EXPECT_EQ(FormatInt("000", 7), "007");
  EXPECT_EQ(FormatInt("???", 7), "  7");
  EXPECT_EQ(FormatInt("#", 1234), "1234");
  EXPECT_EQ(FormatInt("@", -42), "-42");
  // Money is cut to the picture's decimals, not rounded.
  EXPECT_EQ(MoneyOf(12345), "1.2345");
  EXPECT_EQ(MoneyOf(5), "0.0005");
  EXPECT_EQ(MoneyOf(std::numeric_limits<int64_t>::min()), "-922337203685477.5808");
  uint8_t money[8];
  uint32_t high = 0, low = 12345;
  std::memcpy(money, &high, 4);
  std::memcpy(money + 4, &low, 4);
  EXPECT_EQ(Format("0.00", money, TST_SQLMONEY), "1.23");
}

TEST_F(Values, TextDateAndYesNoPictures) {
  char text[16] = "abcdefg";
  EXPECT_EQ(Format("___-____", text, TST_ZSTRING, 16), "abc-defg");
  char word[16] = "hello";
  EXPECT_EQ(Format("u@", word, TST_ZSTRING, 16), "Hello");
  // S = 5 - 2 places: the first @ takes S + 1 = 4 characters, a later @ copies nothing.
  EXPECT_EQ(Format("@@", word, TST_ZSTRING, 16), "hell");
  EXPECT_EQ(ClassifyPicture("(___) ___-____"), kNumericPicture);
  int32_t ticked = 5;
  EXPECT_EQ(Format("yy", &ticked, TST_CHECKBOX, 4), "Yes");
  EXPECT_EQ(FormatInt("MM/DD/YY", 730000), "");  // a plain integer holds no date
  uint16_t noDate = 0;
  EXPECT_EQ(Format("MM/DD/YY", &noDate, TST_FILEDATE, 2), "");
  uint16_t packed = static_cast<uint16_t>((15 << 9) | (3 << 5) | 15);  // 1995-03-15
  EXPECT_EQ(Format("MM/DD/YY", &packed, TST_FILEDATE, 2), "03/15/95");
  EXPECT_EQ(Format("DDDD, MMMM D, YYYY", &packed, TST_FILEDATE, 2), "Wednesday, March 15, 1995");
  // A 1000-character text under a picture with a fill stays within the limit.
  std::string long_text(1000, 'x');
  std::string picture = "*." + std::string(117, '@');
  char out[TS_MAXTEXT + 16];
  std::memset(out, 0x7F, sizeof out);
  HDC dc = GetDC(nullptr);
  int length = FormatData(dc, out, picture.c_str(), long_text.c_str(), TST_ZSTRING, 1000, 30000, 0);
  ReleaseDC(nullptr, dc);
  EXPECT_LE(length, TS_MAXTEXT - 1);
  EXPECT_EQ(out[length], '\0');
  EXPECT_EQ(static_cast<unsigned char>(out[TS_MAXTEXT]), 0x7F);
}

TEST_F(Values, ReadingTextStoresOnlyWhatTheTypeHolds) {
  EXPECT_EQ(ReadMoney("-0.5"), -5000);
  EXPECT_EQ(ReadMoney("12.34567"), 123456);
  EXPECT_EQ(ReadMoney("922337203685477.5807"), std::numeric_limits<int64_t>::max());
  int8_t small = 7;
  GetCellData(&small, "999", "", 1, TST_INT1);
  EXPECT_EQ(small, 7);
  GetCellData(&small, "-128", "", 1, TST_INT1);
  EXPECT_EQ(small, -128);
  uint8_t unsignedByte = 9;
  GetCellData(&unsignedByte, "-5", "", 1, TST_UINT1);
  EXPECT_EQ(unsignedByte, 9);
  int32_t whole = 11;
  GetCellData(&whole, "9999999999", "", 4, TST_INT4);
  EXPECT_EQ(whole, 11);
  GetCellData(&whole, "  -42xyz", "", 4, TST_INT4);
  EXPECT_EQ(whole, -42);
  double real = 1.5;
  GetCellData(&real, "1e999", "", 8, TST_REAL8);
  EXPECT_EQ(real, 1.5);
  GetCellData(&real, "nan", "", 8, TST_REAL8);
  EXPECT_EQ(real, 1.5);
  uint8_t bit = 9;
  GetCellData(&bit, "no", "", 1, TST_SQLBIT);
  EXPECT_EQ(bit, 0);
  GetCellData(&bit, "Yes", "", 1, TST_SQLBIT);
  EXPECT_EQ(bit, 1);
  bit = 0;
  GetCellData(&bit, "", "", 1, TST_SQLBIT);
  EXPECT_EQ(bit, 1);  // none of the letters reads true
  char character = 'q';
  GetCellData(&character, "7", "0", 1, TST_CHAR);
  EXPECT_EQ(character, 7);
  GetCellData(&character, "x", "0", 1, TST_CHAR);
  EXPECT_EQ(character, 0);
  char name[10];
  std::memset(name, 'z', sizeof name);
  GetCellData(name, "abcdefghijkl", "", 10, TST_SQLVARCHAR);
  EXPECT_EQ(name[0], 9);
  EXPECT_EQ(std::string(name + 1, 9), "abcdefghi");
  char text[10] = "keep";
  GetCellData(text, "12345", "#,##0.00", 10, TST_ZSTRING);
  EXPECT_STREQ(text, "keep");  // text under a numeric picture is not read
}

TEST_F(Values, DatesThatDoNotExistAreRefused) {
  uint16_t packed = 1234;
  GetCellData(&packed, "1/2/95", "MM/DD/YY", 2, TST_FILEDATE);
  EXPECT_EQ(packed, (15 << 9) | (1 << 5) | 2);
  uint16_t before = packed;
  for (const char* impossible : {"2/30/95", "0/5/95", "5/0/95", "13/02/1995", "abc", "1/1/75"}) {
    GetCellData(&packed, impossible, "MM/DD/YY", 2, TST_FILEDATE);
    EXPECT_EQ(packed, before) << impossible;
  }
  GetCellData(&packed, "13/02/1995", "DD/MM/YY", 2, TST_FILEDATE);
  EXPECT_EQ(packed, (15 << 9) | (2 << 5) | 13);
  uint16_t time = 0;
  GetCellData(&time, "12:30 AM", "hh:mm", 2, TST_FILETIME);
  EXPECT_EQ(time >> 11, 0);
  GetCellData(&time, "12:30 PM", "hh:mm", 2, TST_FILETIME);
  EXPECT_EQ(time >> 11, 12);
  uint16_t kept = time;
  GetCellData(&time, "25:00", "hh:mm", 2, TST_FILETIME);
  EXPECT_EQ(time, kept);
}

TEST_F(Values, DayCountsAgreeWithTheGregorianOrdinalEveryDay) {
  const long offset = 1721424;
  EXPECT_EQ(DateToJulian(1582, 10, 15), 2299160);
  EXPECT_EQ(DateToJulian(1582, 10, 4), 2299159);
  EXPECT_EQ(DayOfWeek(DateToJulian(1582, 10, 15)), 6);
  const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long checked = 0;
  for (int y = 1582; y <= 2400; ++y) {
    for (int m = 1; m <= 12; ++m) {
      int last = days[m - 1] + (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0));
      for (int d = 1; d <= last; ++d) {
        if (y == 1582 && (m < 10 || (m == 10 && d < 15))) continue;
        long count = DateToJulian(y, m, d);
        long ordinal = CivilOrdinal(y, m, d);
        ASSERT_EQ(count, ordinal + offset) << y << "-" << m << "-" << d;
        int yy, mm, dd;
        JulianToDate(count, &yy, &mm, &dd);
        ASSERT_TRUE(yy == y && mm == m && dd == d) << y << "-" << m << "-" << d;
        // Python's weekday(): Monday 0; the grid's: Sunday 1.
        ASSERT_EQ(DayOfWeek(count), (ordinal % 7 + 7) % 7 + 1);
        ++checked;
      }
      EXPECT_EQ(CheckedDateToJulian(y, m, last + 1), 0);
    }
  }
  EXPECT_GT(checked, 298000);
}

TEST_F(Values, SqlDateTimesKeepWholeTicksAndTwoDigitYearsAreOf1900) {
  int32_t value[2] = {0, 0};
  GetCellData(value, "1/2/95 10:20:30", "MM/DD/YY hh:mm:ss", 8, TST_SQLDATETIME);
  EXPECT_EQ(value[0], 34699);  // days from 1900-01-01 to 1995-01-02 (Python's date subtraction)
  EXPECT_EQ(value[1], ((10 * 60 + 20) * 60 + 30) * 1000 * 3 / 10);
  EXPECT_EQ(Format("MM/DD/YYYY HH:mm:ss", value, TST_SQLDATETIME), "01/02/1995 10:20:30");
  // One tick is 3 1/3 ms; both directions divide whole numbers, so it reads back as 3 ms.
  int32_t tick[2] = {0, 1};
  EXPECT_EQ(Format("fff", tick, TST_SQLDATETIME), "003");
  int32_t ticks[2] = {0, 2};
  EXPECT_EQ(Format("fff", ticks, TST_SQLDATETIME), "006");
}
