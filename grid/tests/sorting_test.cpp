// Sorting rows by up to three keys. Expected orders come from a comparator written here
// from the rules (text without case, doubles descending, integers ascending).
#include "grid/tests/grid_fixture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace {

#pragma pack(push, 4)
struct KeyRow {
  char name[12];
  double amount;
  int32_t number;
};
#pragma pack(pop)
static_assert(sizeof(KeyRow) == 24);

std::string Upper(const char* text) {
  std::string out(text);
  for (char& c : out) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') u = static_cast<unsigned char>(u - 32);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
      u = static_cast<unsigned char>(u - 32);  // Windows-1252 letters
    c = static_cast<char>(u);
  }
  return out;
}

bool Before(const KeyRow& a, const KeyRow& b) {
  std::string x = Upper(a.name), y = Upper(b.name);
  if (x != y) return x < y;
  double x1 = a.amount, y1 = b.amount;
  if (x1 != y1) return x1 > y1;
  return a.number < b.number;
}

class GridSorting : public GridTest {
 protected:
  HWND KeyGrid() {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_ROWSELECT, 300, 200);
    Send(grid, TSM_SETCOLCOUNT, 3);
    Send(grid, TSM_SETCOLTYPE, 0, TST_ZSTRING);
    Send(grid, TSM_SETCOLLEN, 0, 12);
    Send(grid, TSM_SETCOLTYPE, 1, TST_REAL8);
    Send(grid, TSM_SETCOLTYPE, 2, TST_INT4);
    return grid;
  }
  static void SetKeys(HWND grid) {
    Send(grid, TSM_SETCOLSTYLE, 0, TSCS_SORTKEY1 | TSCS_SORTCASEI);
    Send(grid, TSM_SETCOLSTYLE, 1, TSCS_SORTKEY2 | TSCS_SORTDES);
    Send(grid, TSM_SETCOLSTYLE, 2, TSCS_SORTKEY3);
  }
  static std::vector<KeyRow> Rows(HWND grid) {
    std::vector<KeyRow> rows(static_cast<size_t>(Send(grid, TSM_GETROWCOUNT)));
    Send(grid, TSM_SETCURSOR, 0, 0);
    for (KeyRow& row : rows) Send(grid, TSM_GETROW, TSREF_FORWARD, reinterpret_cast<LPARAM>(&row));
    return rows;
  }
  static KeyRow Row(const char* name, double amount, int32_t number) {
    KeyRow row{};
    std::strncpy(row.name, name, sizeof row.name - 1);
    row.amount = amount;
    row.number = number;
    return row;
  }
};

bool Same(const std::vector<KeyRow>& a, const std::vector<KeyRow>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::memcmp(&a[i], &b[i], sizeof(KeyRow)) != 0) return false;
  return true;
}

}  // namespace

TEST_F(GridSorting, ThreeKeysOrderRowsAsTheRulesSay) {
  HWND grid = KeyGrid();
  std::vector<KeyRow> input = {
      Row("beta", 2.5, 7),       Row("Alpha", 1.0, INT_MAX), Row("alpha", 1.0, INT_MIN),
      Row("ALPHA", 3.0, 0),      Row("Beta", 2.5, -1),       Row("gamma", -4.0, 5),
      Row("beta", 738000.75, 1), Row("beta", 738000.25, 2),  Row("\xE9tude", 1, 1),
      Row("\xC9TUDE", 2, 1),
  };
  for (const KeyRow& row : input) Append(grid, &row);
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_SORTKEY2 | TSCS_SORTDES);  // key 2 alone sorts nothing
  EXPECT_TRUE(Same(Rows(grid), input));
  Send(grid, TSM_SETCOLSTYLE, 1, 0);
  Send(grid, TSM_SETCURCELL, 0, 6);  // the current row follows its record
  SetKeys(grid);
  std::vector<KeyRow> expected = input;
  std::stable_sort(expected.begin(), expected.end(), Before);
  // Windows-1252 letters fold too: \xC9 and \xE9 are the same letter, after the ASCII ones.
  std::vector<KeyRow> got = Rows(grid);
  EXPECT_TRUE(Same(got, expected));
  EXPECT_EQ(Send(grid, TSM_GETSORTCOL), 0);
  EXPECT_EQ(Send(grid, TSM_GETSORTKEY, 0, 2), 1);
  EXPECT_EQ(Send(grid, TSM_GETSORTASCENDING, 0, 2), 0);
  EXPECT_EQ(Send(grid, TSM_GETSORTCASEI, 0, 1), 1);
  int current = static_cast<int>(Send(grid, TSM_GETCURROW));
  double currentAmount = got[current].amount;  // copied: packed doubles are not bound to references
  EXPECT_EQ(currentAmount, 738000.75);
  // A new row goes to its place: "beta" 5.0 sorts before the other betas with smaller amounts.
  KeyRow extra = Row("BETA", 5.0, 0);
  LRESULT place = Append(grid, &extra);
  std::vector<KeyRow> withExtra = expected;
  withExtra.push_back(extra);
  std::stable_sort(withExtra.begin(), withExtra.end(), Before);
  auto isExtra = [](const KeyRow& r) {
    double amount = r.amount;
    return amount == 5.0;
  };
  EXPECT_EQ(place, std::find_if(withExtra.begin(), withExtra.end(), isExtra) - withExtra.begin());
  // Changing a row's key moves it and answers its new place.
  KeyRow changed = Row("aaa", 0, 0);
  Send(grid, TSM_SETCURSOR, 0, static_cast<LPARAM>(place));
  EXPECT_EQ(Send(grid, TSM_SETROW, 0, reinterpret_cast<LPARAM>(&changed)), 0);
}

TEST_F(GridSorting, ThreeAndSixRowsAgreeAndManyEqualKeysWithNanFinish) {
  for (int count : {3, 6}) {
    HWND grid = KeyGrid();
    std::vector<KeyRow> input;
    for (int i = 0; i < count; ++i) input.push_back(Row(i % 2 ? "b" : "a", count - i, i));
    for (const KeyRow& row : input) Append(grid, &row);
    SetKeys(grid);
    std::vector<KeyRow> expected = input;
    std::stable_sort(expected.begin(), expected.end(), Before);
    EXPECT_TRUE(Same(Rows(grid), expected)) << count;
    DestroyWindow(grid);
  }
  HWND grid = KeyGrid();
  SendMessage(grid, WM_SETREDRAW, FALSE, 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < 100000; ++i) {
    KeyRow row = Row("same", i % 10 == 0 ? nan : 1.0, i);
    Append(grid, &row);
  }
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_SORTKEY1);
  SendMessage(grid, WM_SETREDRAW, TRUE, 0);
  // NaN equals NaN and sorts after every number; equal rows keep their order.
  std::vector<KeyRow> rows = Rows(grid);
  ASSERT_EQ(rows.size(), 100000u);
  int32_t firstNumber = rows[0].number, firstNanNumber = rows[90000].number;
  double firstNan = rows[90000].amount, lastNumber = rows[89999].amount;
  EXPECT_EQ(firstNumber, 1);
  EXPECT_TRUE(std::isnan(firstNan));
  EXPECT_EQ(firstNanNumber, 0);
  EXPECT_EQ(lastNumber, 1.0);
}
