/*
** The column tables of the disbursing and posting grids, their definition and row appends.
*/
#include "accounting/ledger_grid.h"

#include "accounting/ledger_refusals.h"
#include "grid/tessel_codes.h"
#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

#include <cstdio>

namespace {
constexpr WORD kShown = TSCS_FIXED | TSCS_PROTECT | TSCS_HEADCENTER;
constexpr WORD kMoney = kShown | TSCS_RIGHT;
constexpr char kMoneyFormat[] = "#,##0.00";
}  // namespace

const TLedgerColumn kDisburseDepositColumns[kDisburseDepositColumnCount] = {
    {TST_ZSTRING, kShown, 61, 105, "", "Depositor", "PayeeDepositor"},
    {TST_REAL8, kMoney, 8, 50, kMoneyFormat, "Amount", ""},
    {TST_ZSTRING, TSCS_HIDDEN, 16, 40, "", "", "FileNum"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Num"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Bank"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Status"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Date"},
    {TST_ZSTRING, TSCS_HIDDEN, 61, 40, "", "", "Description"},
};

const TLedgerColumn kDisburseCheckColumns[kDisburseCheckColumnCount] = {
    {TST_ZSTRING, TSCS_PROTECT, 12, 36, "", "Status", "AlphaStatus"},
    {TST_ZSTRING, kShown, 61, 130, "", "Payee", "Payee"},
    {TST_REAL8, kMoney, 8, 50, kMoneyFormat, "Amount", "Amount"},
    {TST_ZSTRING, TSCS_HIDDEN, 16, 40, "", "", "FileNum"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Number"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Bank"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Status"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Date"},
    {TST_ZSTRING, TSCS_HIDDEN, 61, 40, "", "", "Description"},
};

const TLedgerColumn kPostDepositsColumns[kPostDepositsColumnCount] = {
    {TST_ZSTRING, TSCS_FIXED | TSCS_PROTECT, 61, 82, "", "Depositor", "Depositor"},
    {TST_REAL8, kMoney, 8, 40, kMoneyFormat, "Amount", "Amount"},
    {TST_ZSTRING, kShown | TSCS_CENTER, 12, 36, "", "Post Date", "AlphaDate"},
    {TST_ZSTRING, TSCS_HIDDEN, 16, 40, "", "", "FileNum"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Num"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Bank"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Status"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "MM/DD/YY", "", "Date"},
    {TST_ZSTRING, TSCS_HIDDEN, 61, 40, "", "", "Description"},
};

void DefineLedgerGrid(HWND grid, const TLedgerColumn* columns, int count) {
  SendMessage(grid, TSM_SETCOLCOUNT, count, 0);
  for (int c = 0; c < count; ++c) {
    const TLedgerColumn& column = columns[c];
    SendMessage(grid, TSM_SETCOLTYPE, c, column.Type);
    SendMessage(grid, TSM_SETCOLSTYLE, c, column.Style);
    if (column.Length > 0) SendMessage(grid, TSM_SETCOLLEN, c, column.Length);
    SendMessage(grid, TSM_SETCOLWIDTH, c, column.Width);
    SendMessage(grid, TSM_SETCOLFORMAT, c, reinterpret_cast<LPARAM>(column.Format));
    SendMessage(grid, TSM_SETCOLHEADING, c, reinterpret_cast<LPARAM>(column.Heading));
    SendMessage(grid, TSM_SETCOLNAME, c, reinterpret_cast<LPARAM>(column.Name));
  }
}

void ShowGridRefusal(HWND owner, LRESULT result) {
  char text[256];
  char caption[64];
  const LONG code = static_cast<LONG>(result);
  if (code == TSERR_LIMIT || code == TSERR_LOCKFAILED || code == TSERR_NOMEMORY) {
    LoadString(nullptr, kGridMemoryText, text, sizeof text);
    LoadString(nullptr, kTesselMessageCaption, caption, sizeof caption);
    MessageBox(owner, text, caption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  char format[64];
  LoadString(nullptr, kGridErrorText, format, sizeof format);
  std::snprintf(text, sizeof text, format, static_cast<long>(code));
  LoadString(nullptr, kTesselErrorCaption, caption, sizeof caption);
  MessageBox(owner, text, caption, MB_OK | MB_ICONSTOP);
}

bool AppendLedgerRow(HWND owner, HWND grid, const void* row) {
  SendMessage(grid, TSM_SETCURSOR, 0, -2);
  const LONG result = static_cast<LONG>(
      SendMessage(grid, TSM_INSERTROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(row)));
  if (result >= 0) return true;
  ShowGridRefusal(owner, result);
  return false;
}

void SetLedgerGridColors(HWND grid, TLedgerColorSet set) {
  SendMessage(grid, TSM_RESETCOLORS, 0, 0);
  SendMessage(grid, TSM_SETCOLORS, 0, reinterpret_cast<LPARAM>(gGridColorSets[set]));
}
