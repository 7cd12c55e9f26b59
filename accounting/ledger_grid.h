/*
** The ledger grids' column tables and the two operations every ledger dialog needs of a grid:
** defining it from a table, and appending a row with the grid's refusal shown and the fill
** stopped there.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_GRID_H
#define ZARNE_ACCOUNTING_LEDGER_GRID_H

#include "platform/kernel/wintypes.h"

struct TLedgerColumn {
  WORD Type;   // TST_ code
  WORD Style;  // TSCS_ flags
  int Length;  // bytes; 0 for the types of fixed size
  int Width;   // dialog units
  const char* Format;
  const char* Heading;
  const char* Name;
};

constexpr int kDisburseDepositColumnCount = 10;
constexpr int kDisburseCheckColumnCount = 11;
constexpr int kPostDepositsColumnCount = 11;
extern const TLedgerColumn kDisburseDepositColumns[kDisburseDepositColumnCount];
extern const TLedgerColumn kDisburseCheckColumns[kDisburseCheckColumnCount];
extern const TLedgerColumn kPostDepositsColumns[kPostDepositsColumnCount];

/* TSM_SETCOLCOUNT, then per column its type, style, length, width, format, heading, name. */
void DefineLedgerGrid(HWND grid, const TLedgerColumn* columns, int count);

/* Appends a row at the grid's append position. A refusal shows 1031 under 1029 (information)
   for the memory and limit results, else 1032 "Tessel error %ld" under 1030 (stop), owned by
   `owner`; answers whether the row went in, so a fill stops at the first refusal. */
bool AppendLedgerRow(HWND owner, HWND grid, const void* row);
/* The box of a negative grid result. */
void ShowGridRefusal(HWND owner, LRESULT result);

/* The kind colour sets of gGridColorSets. */
enum TLedgerColorSet : int { kAdjustmentColors = 0, kDepositColors = 1, kCheckColors = 2 };
/* TSM_RESETCOLORS, then TSM_SETCOLORS from that set. */
void SetLedgerGridColors(HWND grid, TLedgerColorSet set);

#endif
