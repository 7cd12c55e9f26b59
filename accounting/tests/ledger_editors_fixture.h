/*
** The fixture of the ledger editor tests: the ledger fixture with twenty named accounts, the
** account list on key 3, a small ledger of every kind for that account and its neighbours,
** and helpers that read a grid's rows and select one.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_LEDGER_EDITORS_FIXTURE_H
#define ZARNE_ACCOUNTING_TESTS_LEDGER_EDITORS_FIXTURE_H

#include "ledger_fixture.h"

#include <string>
#include <vector>

class LedgerEditorsTest : public LedgerTest {
 protected:
  void SetUp() override;

  static constexpr int kListedBank = 3;

  /* Every row of a grid, as its row record. */
  template <class Row>
  static std::vector<Row> Rows(HWND grid);
  /* Selects a row (the grid's single selection). */
  static void SelectRow(HWND grid, int row);
  /* A picture file in the build's pictures folder. */
  static std::string PicturePath(const char* name);
};

LONG Jan(int day);

#endif
