/*
** The ledger tests' fixture.
*/
#include "ledger_fixture.h"

#include "platform/engine/engine.h"
#include "grid/tessel_codes.h"
#include "platform/kernel/modules.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstring>

void LedgerTest::SetUp() {
  AccountingTablesTest::SetUp();
  grid_ = LoadLibrary("vgrd32.dll");
  ASSERT_NE(grid_, nullptr);
  static const COLORREF sets[3][4] = {
      {0xFFFFFF, 0x676981, 0x676981, 0x676981},
      {0xFFFFFF, 0x008000, 0x008000, 0xFFFFFF},
      {0xFFFFFF, 0x000080, 0x000080, 0xFFFFFF},
  };
  std::memcpy(gGridColorSets, sets, sizeof sets);
}

void LedgerTest::TearDown() {
  AccountingTablesTest::TearDown();
  if (grid_ != nullptr) FreeLibrary(grid_);
}

std::vector<BYTE> LedgerTest::RawRecord(const std::string& file, char type, double seq) {
  TPXRecord record(gTables[kAccountTable], true);
  TLedgerEntry key;
  CopyLedgerText(key.FileNum, sizeof key.FileNum, file.c_str());
  key.Type[0] = type;
  key.Seq = seq;
  SetLedgerKey(record, key);
  if (!record.Seek(0, ENGINE_KEY_EQ)) return {};
  std::vector<BYTE> raw(gTables[kAccountTable]->RecordSize());
  if (EngineGetRecord(record.Cursor(), ENGINE_NO_LOCK, raw.data(), nullptr) != 0) return {};
  return raw;
}

std::optional<TLedgerEntry> LedgerTest::StoredEntry(const std::string& file, char type,
                                                    double seq) {
  TPXRecord record(gTables[kAccountTable], true);
  TLedgerEntry entry;
  CopyLedgerText(entry.FileNum, sizeof entry.FileNum, file.c_str());
  entry.Type[0] = type;
  entry.Seq = seq;
  SetLedgerKey(record, entry);
  if (!record.Seek(0, ENGINE_KEY_EQ) || !record.Read(0) || !ReadLedgerEntry(record, entry))
    return std::nullopt;
  return entry;
}

int LedgerTest::EntryCount() {
  TPXRecord record(gTables[kAccountTable], true);
  int count = 0;
  for (bool more = record.First(); more; more = record.Next()) ++count;
  return count;
}

void ClickGridRow(HWND dialog, HWND grid, int row, Qt::KeyboardModifiers modifiers) {
  SendMessage(grid, TSM_SETCURSOR, 0, row);
  RECT cell{};
  ASSERT_EQ(SendMessage(grid, TSM_GETCELLRECT, TSREF_CURSOR, reinterpret_cast<LPARAM>(&cell)), 0);
  Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2, Qt::LeftButton,
        modifiers);
  PumpDialogMessages(dialog);
}
