/*
** The fixture of the ledger tests: the accounting tables, the grid library loaded as the
** program loads it, the kind colour sets as the application sets them, and helpers that read
** an ACCOUNT record's raw engine buffer and entries back by key.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_LEDGER_FIXTURE_H
#define ZARNE_ACCOUNTING_TESTS_LEDGER_FIXTURE_H

#include "accounting/ledger_entry.h"
#include "accounting_tables.h"

#include <Qt>

#include <optional>
#include <vector>

class LedgerTest : public AccountingTablesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* The raw engine buffer of the record with that key; empty when there is none. */
  static std::vector<BYTE> RawRecord(const std::string& file, char type, double seq);
  /* The stored entry with that key. */
  static std::optional<TLedgerEntry> StoredEntry(const std::string& file, char type, double seq);
  /* How many ACCOUNT records there are. */
  static int EntryCount();

 private:
  HMODULE grid_ = nullptr;
};

/* Clicks the middle of a grid row's current cell as the user would, then lets the dialog
   handle what it caused. */
void ClickGridRow(HWND dialog, HWND grid, int row,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier);

#endif
