// Sort keys of the types the system's rows carry beyond text and doubles: 32-bit extremes,
// money words, file dates and times, and C date-times under a pinned time zone, each
// against an order computed here; the sort leaves every stored byte as it was. And the
// bad-input answers of the sort, cell and selection messages.
#include "grid/tests/grid_fixture.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

class GridSortTypes : public GridTest {
 protected:
  /* A one-column grid of the type, sort key 1 ascending once filled. */
  HWND KeyGrid(WORD type, int length, const std::vector<std::vector<uint8_t>>& values) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_ROWSELECT, 300, 150, 200 + ++grids_);
    Send(grid, TSM_SETCOLCOUNT, 1);
    Send(grid, TSM_SETCOLTYPE, 0, type);
    if (length) Send(grid, TSM_SETCOLLEN, 0, length);
    for (const auto& value : values) {
      std::vector<uint8_t> padded(value);  // the row may be longer than its one value
      padded.resize(64, 0);
      Append(grid, padded.data());
    }
    Send(grid, TSM_SETCOLSTYLE, 0, TSCS_SORTKEY1);
    Send(grid, TSM_SORT);
    return grid;
  }
  static std::vector<std::vector<uint8_t>> Read(HWND grid, size_t size) {
    std::vector<std::vector<uint8_t>> rows;
    for (int r = 0; r < Send(grid, TSM_GETROWCOUNT); ++r) {
      std::vector<uint8_t> bytes(64);
      Send(grid, TSM_SETCURSOR, 0, r);
      Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(bytes.data()));
      bytes.resize(size);
      rows.push_back(bytes);
    }
    return rows;
  }
  template <typename T>
  static std::vector<uint8_t> Bytes(const T& value) {
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    return std::vector<uint8_t>(p, p + sizeof value);
  }
  int grids_ = 0;
};

/* Days from 1970-01-01 of a civil date, months and days past their ends carried on. */
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  year -= month <= 2;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t yoe = year - era * 400;
  int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t UtcSeconds(const std::tm& t) {
  return DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) * 86400 + t.tm_hour * 3600 +
         t.tm_min * 60 + t.tm_sec;
}

}  // namespace

TEST_F(GridSortTypes, IntegersMoneyAndFileDatesSortByValue) {
  std::vector<int32_t> integers = {0, INT32_MAX, -1, INT32_MIN, 7, INT32_MIN + 1};
  std::vector<std::vector<uint8_t>> values;
  for (int32_t v : integers) values.push_back(Bytes(v));
  HWND grid = KeyGrid(TST_INT4, 0, values);
  std::vector<int32_t> expected = integers;
  std::sort(expected.begin(), expected.end());
  std::vector<int32_t> got;
  for (const auto& bytes : Read(grid, 4))
    got.push_back(*reinterpret_cast<const int32_t*>(bytes.data()));
  EXPECT_EQ(got, expected);

  // Money: a signed count of ten-thousandths kept as its high word, then its low word.
  std::vector<int64_t> counts = {
      5, -5, INT64_C(1) << 32, -(INT64_C(1) << 33), 0, INT64_C(4294967295)};
  values.clear();
  for (int64_t count : counts) {
    uint32_t words[2] = {static_cast<uint32_t>(static_cast<uint64_t>(count) >> 32),
                         static_cast<uint32_t>(count)};
    values.push_back(Bytes(words));
  }
  grid = KeyGrid(TST_SQLMONEY, 0, values);
  std::vector<int64_t> sortedCounts = counts;
  std::sort(sortedCounts.begin(), sortedCounts.end());
  std::vector<int64_t> gotCounts;
  for (const auto& bytes : Read(grid, 8)) {
    uint32_t words[2];
    std::memcpy(words, bytes.data(), 8);
    gotCounts.push_back(static_cast<int64_t>((static_cast<uint64_t>(words[0]) << 32) | words[1]));
  }
  EXPECT_EQ(gotCounts, sortedCounts);

  // DOS dates (year-1980, month, day packed high to low) and times (hours, minutes, seconds/2).
  auto date = [](int y, int m, int d) {
    return static_cast<uint16_t>(((y - 1980) << 9) | (m << 5) | d);
  };
  auto time = [](int h, int m, int s) {
    return static_cast<uint16_t>((h << 11) | (m << 5) | (s / 2));
  };
  std::vector<uint16_t> dates = {date(2026, 12, 9), date(1999, 1, 31), date(2026, 1, 1),
                                 date(2107, 12, 31)};
  std::vector<uint16_t> times = {time(23, 59, 58), time(0, 0, 0), time(12, 30, 0), time(9, 5, 2)};
  for (auto* list : {&dates, &times}) {
    values.clear();
    for (uint16_t v : *list) values.push_back(Bytes(v));
    grid = KeyGrid(list == &dates ? TST_FILEDATE : TST_FILETIME, 0, values);
    std::vector<uint16_t> want = *list;
    std::sort(want.begin(), want.end());
    std::vector<uint16_t> have;
    for (const auto& bytes : Read(grid, 2))
      have.push_back(*reinterpret_cast<const uint16_t*>(bytes.data()));
    EXPECT_EQ(have, want);
  }
}

TEST_F(GridSortTypes, CalendarTimesSortWithoutTheirBytesChanging) {
  const char* previous = std::getenv("TZ");
  std::string saved = previous ? previous : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  auto make = [](int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_wday = 6;  // deliberately wrong: a normalising sort would rewrite it
    t.tm_yday = 300;
    t.tm_isdst = 0;
    return t;
  };
  // 32 January is 1 February, so it sorts after 31 January and before 2 February.
  std::vector<std::tm> times = {make(2026, 2, 2, 0, 0), make(2026, 1, 32, 8, 0),
                                make(2025, 12, 31, 23, 59), make(2026, 1, 31, 9, 0),
                                make(2026, 1, 31, 8, 59)};
  std::vector<std::vector<uint8_t>> values;
  for (const std::tm& t : times) {
    std::vector<uint8_t> bytes(36, 0);
    std::memcpy(bytes.data(), &t, std::min<size_t>(36, sizeof t));
    values.push_back(bytes);
  }
  HWND grid = KeyGrid(TST_CDATETIME, 0, values);
  std::vector<std::vector<uint8_t>> got = Read(grid, 36);
  std::vector<std::vector<uint8_t>> expected = values;
  std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    std::tm x{}, y{};
    std::memcpy(&x, a.data(), 36);
    std::memcpy(&y, b.data(), 36);
    return UtcSeconds(x) < UtcSeconds(y);
  });
  EXPECT_EQ(got, expected);  // the same bytes, in the order worked out here
  if (previous) setenv("TZ", saved.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

TEST_F(GridSortTypes, BadKeysCellsAndSelectionStylesAreRefusedWithoutChange) {
  HWND grid = MakeGrid(TSS_OWNERDEF, 300, 150);
  Send(grid, TSM_SETCOLCOUNT, 2);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
  for (int32_t r = 0; r < 3; ++r) {
    int32_t values[2] = {r, r};
    Append(grid, values);
  }
  EXPECT_EQ(Send(grid, TSM_SETSORTKEY, 0, 0), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_SETSORTKEY, 0, 4), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_GETSORTKEY, 0, 1), TSERR_NONE);
  ASSERT_EQ(Send(grid, TSM_SETSORTKEY, 1, 1), 0);
  Send(grid, TSM_SETSORTASCENDING, 0, 1);
  EXPECT_EQ(Send(grid, TSM_GETSORTASCENDING, 0, 0), Send(grid, TSM_GETSORTASCENDING, 0, 1));
  Send(grid, TSM_SETCURCELL, 1, 2);
  EXPECT_EQ(Send(grid, TSM_SETCURCELL, 5, 1), TSERR_BADCOL);
  EXPECT_EQ(Send(grid, TSM_SETCURCELL, 0, 9), TSERR_BADROW);
  EXPECT_EQ(Send(grid, TSM_SETTOPROW, 0, 9), TSERR_BADROW);
  EXPECT_EQ(Send(grid, TSM_ENSUREVISIBLE, 7, 1), TSERR_BADCOL);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 2);
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 1);
  EXPECT_EQ(Send(grid, TSM_SELECTROW, 1, 0), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_ISCOLSELECTED, 0), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_EDIT, 7), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_GETEDITSEL), TSERR_STATE);
}
