/*
** The ledger editor tests' fixture.
*/
#include "ledger_editors_fixture.h"

#include "accounting/bank_lists.h"
#include "accounting/ledger_editor_rows.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

#include <filesystem>

LONG Jan(int day) { return DateOf(1, day, 2026); }

void LedgerEditorsTest::SetUp() {
  LedgerTest::SetUp();
  PutTwentyBanks();
  gDefaultAccount = kListedBank;
  LoadBankLists();
}

template <class Row>
std::vector<Row> LedgerEditorsTest::Rows(HWND grid) {
  std::vector<Row> rows;
  const LRESULT count = SendMessage(grid, TSM_GETROWCOUNT, 0, 0);
  for (LRESULT r = 0; r < count; ++r) {
    Row row{};
    SendMessage(grid, TSM_SETCURSOR, 0, r);
    SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
    rows.push_back(row);
  }
  return rows;
}
template std::vector<TAccountEditorRow> LedgerEditorsTest::Rows<TAccountEditorRow>(HWND);
template std::vector<TAdjustmentRow> LedgerEditorsTest::Rows<TAdjustmentRow>(HWND);

void LedgerEditorsTest::SelectRow(HWND grid, int row) { SendMessage(grid, TSM_SELECTROW, 1, row); }

std::string LedgerEditorsTest::PicturePath(const char* name) {
  std::filesystem::path dir = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}
