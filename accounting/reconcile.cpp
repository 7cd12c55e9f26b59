/*
** The reconcile dialog: the listing, Clear, the deposit total, the row toggle and Report.
*/
#include "accounting/reconcile.h"

#include "accounting/account_range.h"
#include "accounting/account_transfers.h"
#include "accounting/ledger_store.h"
#include "accounting/ledger_range_walk.h"
#include "accounting/reconcile_report.h"
#include "accounting/reconcile_row.h"
#include "accounting/reconcile_strings.h"
#include "accounting/report_drawing.h"
#include "grid/tessel_codes.h"
#include "platform/framework/controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

namespace {
enum {
  kRangeStatic = 101,
  kGrid = 102,
  kRangeButton = 103,
  kClearButton = 104,
  kTotalStatic = 261,
  kAccountStatic = 264,
  kReportButton = 342
};
constexpr UINT kStaticLimit = 80;

bool ListsDeposits(const TAccountRangeXfer& range) {
  return range.Check != 1 && range.Deposits == 1;
}
}  // namespace

DEFINE_RESPONSE_TABLE1(TReconcile, TDialog)
EV_BN_CLICKED(kClearButton, CmClear), EV_BN_CLICKED(kReportButton, CmReport),
    EV_BN_CLICKED(kRangeButton, CmRange),
    EV_CHILD_NOTIFY(kGrid, TSN_SELCHANGED, SumSelectedDeposits),
    EV_CHILD_NOTIFY(kGrid, TSN_LBUTTONDOWN, ToggleRowSelection), END_RESPONSE_TABLE;

TReconcile::TReconcile(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  AccountName = new TStatic(this, kAccountStatic, kStaticLimit);
  RangeText = new TStatic(this, kRangeStatic, kStaticLimit);
  DepositTotal = new TStatic(this, kTotalStatic, kStaticLimit);
  BankKey = static_cast<SHORT>(gReconcileXfer.Accounts.GetSelIndex());
  // The account's deposits dated up to the statement close date.
  TAccountRangeXfer& range = gAccountRangeXfer;
  range.Accounts.Select(BankKey);
  range.FileFrom[0] = range.FileTo[0] = '\0';
  range.Adjustments = range.All = range.Check = range.File = range.Number = 0;
  range.Date = range.Deposits = 1;
  range.DateFrom = kBlankDate;
  range.DateTo = gReconcileXfer.CloseDate;
  range.NumberFrom = range.NumberTo = 0;
}

TReconcile::~TReconcile() = default;

HWND TReconcile::Grid() const { return ::GetDlgItem(HWindow, kGrid); }

void TReconcile::SetupWindow() {
  TDialog::SetupWindow();
  DepositTotal->Show(SW_HIDE);
  DefineLedgerGrid(Grid(), kReconcileColumns, kReconcileColumnCount);
  FillReconcileList();
}

void TReconcile::FillReconcileList() {
  const TAccountRangeXfer& range = gAccountRangeXfer;
  HWND grid = Grid();
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  const TRangeMode mode = ChosenRangeMode(range);
  std::unique_ptr<TPXTable> table = OpenRangeTable(mode);
  if (!table) return;
  const TListedKind kind = ChosenKind(range);
  SetLedgerGridColors(grid, kind.Colors);
  if (ListsDeposits(range)) {
    DepositTotal->SetText("0.00");
    DepositTotal->Show(SW_SHOW);
  } else {
    DepositTotal->Show(SW_HIDE);
  }

  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  auto waiting = [](SHORT status) { return WaitsToClear(status); };
  WalkRangeEntries(*table, mode, range, kind.Type, BankKey, waiting,
                   [&](const TLedgerEntry& entry) {
                     TReconcileRow row;
                     RowFromEntry(entry, row);
                     return AppendLedgerRow(HWindow, grid, &row);  // the rows inserted so far stay
                   });
  char text[256];
  CopyLedgerText(text, kStaticLimit + 1, range.Accounts.GetSelection());
  AccountName->SetText(text);
  FormatRangeText(text, sizeof text, kind.Word, mode, range);
  RangeText->SetText(text);
  SetCursor(previous);
}

void TReconcile::CmRange() {
  TAccountRange dialog(this, kAccountRangeTemplate);
  dialog.FixedAccount = true;
  if (dialog.Execute() == IDOK) FillReconcileList();
}

bool TReconcile::ClearRow(int row) {
  HWND grid = Grid();
  TReconcileRow values{};
  ::SendMessage(grid, TSM_SETCURSOR, 0, row);
  if (::SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values)) != 0)
    return false;
  TLedgerEntry key;
  KeyFromRow(values, key);
  TPXRecord& record = *gAccountRecord;
  if (!SeekLedgerEntry(record, key)) return true;  // deleted meanwhile: nothing to clear
  if (!record.Lock()) return false;                // another station holds it
  TLedgerEntry stored;
  if (!record.Read(0) || !ReadLedgerEntry(record, stored)) {
    record.Unlock();
    return false;
  }
  if (stored.Status == kStatusReconciled || stored.Status == kStatusBalanced) {
    record.Unlock();
    return true;  // cleared already
  }
  const bool listable = std::strcmp(stored.Type, key.Type) == 0 && stored.Bank == BankKey &&
                        WaitsToClear(stored.Status);
  if (!listable) {
    record.Unlock();
    return false;
  }
  return record.SetLong(kAcctStatus, kStatusReconciled) ? ModifyLockedEntry(record)
                                                        : (record.Unlock(), false);
}

void TReconcile::CmClear() {
  HWND grid = Grid();
  LRESULT n = ::SendMessage(grid, TSM_GETSELROWCOUNT, 0, 0);
  if (n <= 0 || gAccountRecord == nullptr) return;
  int kept = 0;
  LRESULT row = ::SendMessage(grid, TSM_GETFIRSTSELROW, 0, 0);
  while (n > 0 && row >= 0) {
    const bool leaves = ClearRow(static_cast<int>(row));
    --n;
    if (leaves) {
      ::SendMessage(grid, TSM_SETCURSOR, 0, row);
      ::SendMessage(grid, TSM_DELETEROW, TSREF_CURSOR, 0);
    } else {
      ++kept;
    }
    if (n == 0) break;
    if (!leaves) row = ::SendMessage(grid, TSM_GETNEXTSELROW, 0, row);
    else if (row > 0) row = ::SendMessage(grid, TSM_GETNEXTSELROW, 0, row - 1);
    else row = ::SendMessage(grid, TSM_GETFIRSTSELROW, 0, 0);
  }
  if (kept > 0)
    ShowReconcileBox(HWindow, ReconcileText(kNotClearedText, kept), MB_OK | MB_ICONEXCLAMATION);
}

void TReconcile::SumSelectedDeposits() {
  if (!ListsDeposits(gAccountRangeXfer)) return;
  HWND grid = Grid();
  double total = 0;
  const LRESULT count = ::SendMessage(grid, TSM_GETSELROWCOUNT, 0, 0);
  LRESULT seen = 0;
  for (LRESULT row = ::SendMessage(grid, TSM_GETFIRSTSELROW, 0, 0); row >= 0 && seen < count;
       row = ::SendMessage(grid, TSM_GETNEXTSELROW, 0, row), ++seen) {
    TReconcileRow values{};
    ::SendMessage(grid, TSM_SETCURSOR, 0, row);
    if (::SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values)) != 0)
      continue;
    total = RoundToCents(total + values.Amount);
  }
  char text[kReportAmountSize];
  FormatReportAmount(text, sizeof text, total);
  DepositTotal->SetText(text);
}

void TReconcile::ToggleRowSelection() {
  HWND grid = Grid();
  if (::SendMessage(grid, TSM_GETNOTIFYAREA, 0, 0) != TSHT_CELL) return;
  // The grid takes a Shift-click on a cell as a click on its row label, its own toggle.
  if (GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) return;
  const LRESULT row = ::SendMessage(grid, TSM_GETNOTIFYROW, 0, 0);
  const LRESULT selected = ::SendMessage(grid, TSM_ISROWSELECTED, 0, row);
  if (selected < 0) return;
  ::SendMessage(grid, TSM_SELECTROW, selected ? 0 : 1, row);
}

void TReconcile::CmReport() {
  TPrinter printer;
  printer.GetSetup() = gReportPrintData;
  TReconcileReport report("Reconciliation Report");
  const bool printed = printer.Print(this, report, false);
  if (!printed || !report.BankInBalance || !report.BookInBalance) return;
  ShowReconcileBox(HWindow, ReconcileText(kReconciledText), MB_OK | MB_ICONINFORMATION);
  if (ShowReconcileBox(HWindow, ReconcileText(kClosePeriodQuestion), MB_YESNO | MB_ICONQUESTION) ==
      IDYES)
    ClosePeriod();
}
