/*
** Sorting. The rows are ordered through a permutation with a stable sort, then each record
** is moved once through a work area, so equal rows keep their order and the work stays
** O(n log n) whatever the keys. Numbers compare with < and >, never by a difference; NaN
** equals NaN and sorts after every number; texts compare as unsigned bytes within the
** column length.
*/
#include "grid/sorting.h"

#include "grid/editing.h"

#include "grid/columns.h"
#include "grid/layout.h"
#include "grid/rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

template <typename T>
T Load(const uint8_t* value) {
  T out;
  std::memcpy(&out, value, sizeof(T));
  return out;
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int OrderReal(double a, double b) {
  bool aNan = std::isnan(a), bNan = std::isnan(b);
  if (aNan || bNan) return aNan == bNan ? 0 : (aNan ? 1 : -1);
  return Order(a, b);
}

unsigned char Fold(unsigned char c, bool caseless) {
  if (!caseless) return c;
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

int OrderText(const uint8_t* a, size_t aLength, const uint8_t* b, size_t bLength, bool caseless) {
  size_t i = 0;
  for (; i < aLength && i < bLength; ++i) {
    unsigned char x = Fold(a[i], caseless), y = Fold(b[i], caseless);
    if (x != y) return x < y ? -1 : 1;
  }
  return Order(aLength, bLength);
}

size_t TextLength(const uint8_t* value, size_t limit) {
  return strnlen(reinterpret_cast<const char*>(value), limit);
}

time_t CalendarTime(const uint8_t* value) {
  struct tm copy {};
  int32_t fields[9];
  std::memcpy(fields, value, sizeof fields);
  copy.tm_sec = fields[0];
  copy.tm_min = fields[1];
  copy.tm_hour = fields[2];
  copy.tm_mday = fields[3];
  copy.tm_mon = fields[4];
  copy.tm_year = fields[5];
  copy.tm_isdst = -1;
  return std::mktime(&copy);  // on the copy: the stored cell stays as it is
}

int CompareValues(const TesselColumn& column, const uint8_t* a, const uint8_t* b) {
  bool caseless = (column.flags & TSCS_SORTCASEI) != 0;
  switch (column.type) {
    case TST_SQLCHAR:
    case TST_ZSTRING:
      return OrderText(a, TextLength(a, column.length), b, TextLength(b, column.length), caseless);
    case TST_SQLVARCHAR: {
      if (column.length == 0) return 0;
      size_t limit = column.length - 1u;
      size_t aCount = std::min<size_t>(a[0], limit), bCount = std::min<size_t>(b[0], limit);
      return OrderText(a + 1, TextLength(a + 1, aCount), b + 1, TextLength(b + 1, bCount),
                       caseless);
    }
    case TST_SQLBIT: return Order(a[0] & 1, b[0] & 1);
    case TST_SQLINT1:
    case TST_INT1:
    case TST_CHAR: return Order(Load<int8_t>(a), Load<int8_t>(b));
    case TST_UINT1: return Order(a[0], b[0]);
    case TST_UINT2: return Order(Load<uint16_t>(a), Load<uint16_t>(b));
    case TST_UINT4: return Order(Load<uint32_t>(a), Load<uint32_t>(b));
    case TST_SQLINT2:
    case TST_INT2: return Order(Load<int16_t>(a), Load<int16_t>(b));
    case TST_SQLINT4:
    case TST_INT4:
    case TST_CHECKBOX: return Order(Load<int32_t>(a), Load<int32_t>(b));
    case TST_REAL4: return OrderReal(Load<float>(a), Load<float>(b));
    case TST_REAL8:
    case TST_SQLFLT8: return OrderReal(Load<double>(a), Load<double>(b));
    case TST_SQLMONEY:
    case TST_SQLDATETIME: {
      int first = Order(Load<int32_t>(a), Load<int32_t>(b));
      return first ? first : Order(Load<uint32_t>(a + 4), Load<uint32_t>(b + 4));
    }
    case TST_FILEDATE:
    case TST_FILETIME:
      return Order(Load<uint16_t>(a), Load<uint16_t>(b));  // fields packed high to low
    case TST_CDATETIME: return Order(CalendarTime(a), CalendarTime(b));
    default: return 0;
  }
}

int KeyColumn(int key) {
  TesselRecord* record = gLockedRecord;
  for (int k = 0; k < key; ++k)
    if (!record->sortKey[k]) return -1;  // a key counts only when the keys before it are set
  int column = record->sortKey[key - 1] - 1;
  return column < record->columnCount ? column : -1;
}

uint16_t KeyBits(int key) {
  return key == 1 ? TSCS_SORTKEY1 : key == 2 ? TSCS_SORTKEY2 : TSCS_SORTKEY3;
}

LRESULT SetSortKey(int column, int key) {
  TesselRecord* record = gLockedRecord;
  if (key < 1 || key > 3) return TSERR_STATE;
  int former = record->sortKey[key - 1] - 1;
  if (former == column) return 0;
  if (former >= 0 && former < record->columnCount)
    gLockedColumns[former].flags &= static_cast<uint16_t>(~0x5000);
  if (column < 0 || column >= record->columnCount) {
    record->sortKey[key - 1] = 0;
    return 0;
  }
  uint16_t flags = static_cast<uint16_t>((gLockedColumns[column].flags & ~0x5000) | KeyBits(key));
  for (int k = 0; k < 3; ++k)
    if (record->sortKey[k] == column + 1) record->sortKey[k] = 0;
  gLockedColumns[column].flags = flags;
  record->sortKey[key - 1] = static_cast<uint16_t>(column + 1);
  return SortRows();
}

int KeyOf(LPARAM lParam) { return lParam == 0 ? 1 : static_cast<int>(lParam); }

LRESULT KeyFlag(LPARAM lParam, uint16_t bit, bool set, WPARAM value) {
  int key = KeyOf(lParam);
  if (key < 1 || key > 3) return TSERR_STATE;
  int column = gLockedRecord->sortKey[key - 1] - 1;
  if (column < 0 || column >= gLockedRecord->columnCount) return TSERR_STATE;
  uint16_t& flags = gLockedColumns[column].flags;
  if (!set) return bit == TSCS_SORTDES ? !(flags & bit) : (flags & bit) != 0;
  bool on = bit == TSCS_SORTDES ? value == 0 : value != 0;
  if (((flags & bit) != 0) == on) return 0;
  flags = static_cast<uint16_t>(on ? flags | bit : flags & ~bit);
  return SortRows();
}

}  // namespace

bool SortKeyOneSet() { return KeyColumn(1) >= 0; }

bool IsSortKeyColumn(int column) {
  for (int key = 1; key <= 3; ++key)
    if (KeyColumn(key) == column) return true;
  return false;
}

int CompareRows(const uint8_t* a, const uint8_t* b) {
  for (int key = 1; key <= 3; ++key) {
    int column = KeyColumn(key);
    if (column < 0) break;
    const TesselColumn& entry = gLockedColumns[column];
    const uint8_t* x = a + entry.valueOffset;
    const uint8_t* y = b + entry.valueOffset;
    if (entry.flags & TSCS_SORTDES) std::swap(x, y);
    int result = CompareValues(entry, x, y);
    if (result) return result;
  }
  return 0;
}

int SortRows() {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0 || !SortKeyOneSet() || record->virtualOn) return 0;
  uint8_t* base = RowAddress(0);
  if (!base) return TSERR_LOCKFAILED;
  uint32_t length = record->rowLength;
  std::vector<int> order(static_cast<size_t>(record->rowCount));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    return CompareRows(base + static_cast<size_t>(x) * length,
                       base + static_cast<size_t>(y) * length) < 0;
  });
  std::vector<uint8_t> sorted(static_cast<size_t>(record->rowCount) * length);
  int current = record->currentRow, selected = record->selectedRow;
  for (size_t i = 0; i < order.size(); ++i) {
    std::memcpy(sorted.data() + i * length, base + static_cast<size_t>(order[i]) * length, length);
    if (order[i] == current) record->currentRow = static_cast<int32_t>(i);
    if (order[i] == selected) record->selectedRow = static_cast<int32_t>(i);
  }
  std::memcpy(base, sorted.data(), sorted.size());
  InvalidateWholeGrid(false);
  return 0;
}

int FindSortedRow(const uint8_t* row) {
  TesselRecord* record = gLockedRecord;
  int low = 0, high = record->rowCount - 1;
  while (low <= high) {
    int middle = low + (high - low) / 2;
    int result = CompareRows(row, RowAddress(middle));
    if (result == 0) return middle;
    if (result > 0) low = middle + 1;
    else high = middle - 1;
  }
  return low;
}

LRESULT OnSortMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  int column = static_cast<int>(wParam & 0xFFFF);
  switch (message) {
    case TSM_SORT:
      // An open editor stores into its record before the records move.
      if (record->editing) {
        HGLOBAL handle = gLockedHandle;
        EndCellEdit(true);
        if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
      }
      return SortRows();
    case TSM_SORTBYCOL: {
      if (column >= record->columnCount) return SetSortKey(-1, 1);
      int former = record->sortKey[0] - 1;
      if (former >= 0 && former != column && former < record->columnCount)
        gLockedColumns[former].flags &= static_cast<uint16_t>(~0x5000);
      gLockedColumns[column].flags =
          static_cast<uint16_t>(lParam ? gLockedColumns[column].flags & ~TSCS_SORTDES
                                       : gLockedColumns[column].flags | TSCS_SORTDES);
      record->sortKey[0] = 0;
      return SetSortKey(column, 1);
    }
    case TSM_SETSORTKEY: return SetSortKey(column, static_cast<int>(lParam));
    case TSM_GETSORTKEY: {
      int key = static_cast<int>(lParam);
      if (key < 1 || key > 3) return TSERR_STATE;
      return record->sortKey[key - 1] ? record->sortKey[key - 1] - 1 : TSERR_NONE;
    }
    case TSM_GETSORTCOL: return record->sortKey[0] ? record->sortKey[0] - 1 : TSERR_NONE;
    case TSM_GETSORTASCENDING: return KeyFlag(lParam, TSCS_SORTDES, false, 0);
    case TSM_SETSORTASCENDING: return KeyFlag(lParam, TSCS_SORTDES, true, wParam);
    case TSM_GETSORTCASEI: return KeyFlag(lParam, TSCS_SORTCASEI, false, 0);
    case TSM_SETSORTCASEI: return KeyFlag(lParam, TSCS_SORTCASEI, true, wParam);
    default: return TSERR_BADMESSAGE;
  }
}
