/*
** The adjustments list: its fill, and Add, Modify and Delete of one adjustment, each write
** checked and each change made only to an entry that still is what its row shows.
*/
#include "accounting/adjustment_table.h"

#include "accounting/account_range.h"
#include "accounting/account_transfers.h"
#include "accounting/adjustment.h"
#include "accounting/ledger_cents.h"
#include "accounting/ledger_editor_rows.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_store.h"
#include "grid/tessel_codes.h"
#include "platform/framework/controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {

enum {
  kRangeStatic = 101,
  kAccountStatic = 264,
  kGrid = 500,
  kAddButton = 201,
  kModifyButton = 202,
  kDeleteButton = 203,
  kRangeButton = 103
};
constexpr UINT kStaticLimit = 80;
constexpr char kAdjustmentFileNumber[] = "0";

bool IsListedAdjustment(const TLedgerEntry& entry, int bank) {
  return std::strcmp(entry.Type, kAdjustmentType) == 0 && entry.Bank == bank &&
         entry.Status != kStatusBalanced;
}

void ShowDeleted(HWND owner, HWND grid) {
  ::SendMessage(grid, TSM_DELETEROW, TSREF_CURRENT, 0);
  ShowLedgerMessage(owner, kEntryDeletedElsewhere, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TAdjustmentTable, TDialog)
EV_BN_CLICKED(kAddButton, CmAdd), EV_BN_CLICKED(kDeleteButton, CmDelete),
    EV_BN_CLICKED(kModifyButton, CmModify),
    EV_BN_CLICKED(kRangeButton, CmRange), END_RESPONSE_TABLE;

TAdjustmentTable::TAdjustmentTable(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  RangeText = new TStatic(this, kRangeStatic, kStaticLimit);
  AccountName = new TStatic(this, kAccountStatic, kStaticLimit);
  // All adjustments; the account stays as last chosen.
  TAccountRangeXfer& range = gAccountRangeXfer;
  range.Adjustments = 1;
  range.Check = range.Deposits = 0;
  range.All = 1;
  range.File = range.Date = range.Number = 0;
  CopyLedgerText(range.FileFrom, sizeof range.FileFrom, kAdjustmentFileNumber);
  CopyLedgerText(range.FileTo, sizeof range.FileTo, kAdjustmentFileNumber);
  range.DateFrom = range.DateTo = kBlankDate;
  range.NumberFrom = range.NumberTo = 0;
}

TAdjustmentTable::~TAdjustmentTable() = default;

HWND TAdjustmentTable::Grid() const { return ::GetDlgItem(HWindow, kGrid); }

void TAdjustmentTable::SetupWindow() {
  TDialog::SetupWindow();
  DefineLedgerGrid(Grid(), kAdjustmentColumns, kAdjustmentColumnCount);
  FillGrid();
}

void TAdjustmentTable::FillGrid() {
  const TAccountRangeXfer& range = gAccountRangeXfer;
  HWND grid = Grid();
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  ListedBank = range.Accounts.GetSelIndex();
  ListedMode = ChosenRangeMode(range, false);
  std::unique_ptr<TPXTable> table = OpenRangeTable(ListedMode);
  if (!table) return;
  // The date mode starts at or after the from-date: a from-date that carries no entry still
  // lists the adjustments after it.
  auto unbalanced = [](SHORT status) { return status != kStatusBalanced; };
  WalkRangeEntries(*table, ListedMode, range, kAdjustmentType, ListedBank, unbalanced,
                   [&](const TLedgerEntry& entry) {
                     TAdjustmentRow row;
                     RowFromEntry(entry, row);
                     return AppendLedgerRow(HWindow, grid, &row);
                   });
  char text[256];
  CopyLedgerText(text, sizeof text, range.Accounts.GetSelection());
  AccountName->SetText(text);
  FormatRangeText(text, sizeof text, "ADJUSTMENTS: ", ListedMode, range);
  RangeText->SetText(text);
}

void TAdjustmentTable::CmRange() {
  TAccountRange dialog(this, kAccountRangeTemplate);
  dialog.SetCaption("Adjustments Range");
  dialog.FixedKind = true;
  if (dialog.Execute() == IDOK) FillGrid();
}

void TAdjustmentTable::CmAdd() {
  const int bank = gAccountRangeXfer.Accounts.GetSelIndex();
  if (!IsBankKey(bank) || gAccountRecord == nullptr) {
    // Stored without an account, an adjustment would belong to no list ever shown again.
    ShowSelectFirst(HWindow, "an account");
    return;
  }
  gAdjustmentXfer.Description[0] = '\0';
  gAdjustmentXfer.Amount = 0.0;
  gAdjustmentXfer.Date = kBlankDate;
  TAdjustment dialog(this, kAdjustmentTemplate);
  dialog.SetCaption("Add Adjustment Item");
  if (dialog.Execute() != IDOK) return;

  TLedgerEntry entry;
  CopyLedgerText(entry.FileNum, sizeof entry.FileNum, kAdjustmentFileNumber);
  CopyLedgerText(entry.Type, sizeof entry.Type, kAdjustmentType);
  entry.Status = kStatusReconciled;
  entry.Seq = MakeTimeKey();
  entry.Bank = bank;
  entry.Number = 0;
  entry.PayeeDepositor[0] = '\0';
  CopyLedgerText(entry.Description, sizeof entry.Description, gAdjustmentXfer.Description);
  entry.Date = gAdjustmentXfer.Date;
  entry.Amount = gAdjustmentXfer.Amount;
  if (!InsertLedgerEntry(*gAccountRecord, entry)) return;  // shown by the table layer; no row
  // Shown at once whatever the range; the next fill orders and filters again.
  TAdjustmentRow row;
  RowFromEntry(entry, row);
  AppendLedgerRow(HWindow, Grid(), &row);
}

bool TAdjustmentTable::SameAsListed(const TLedgerEntry& listed, const TLedgerEntry& stored) const {
  return IsListedAdjustment(stored, ListedBank) && stored.Date == listed.Date &&
         AmountCents(stored.Amount) == AmountCents(listed.Amount) &&
         std::strcmp(stored.Description, listed.Description) == 0;
}

void TAdjustmentTable::ShowChangedEntry(const TLedgerEntry& stored) {
  HWND grid = Grid();
  if (!IsListedAdjustment(stored, ListedBank) ||
      !InsideRange(stored, ListedMode, gAccountRangeXfer)) {
    ::SendMessage(grid, TSM_DELETEROW, TSREF_CURRENT, 0);
  } else {
    TAdjustmentRow row;
    RowFromEntry(stored, row);
    ::SendMessage(grid, TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  }
  ShowLedgerMessage(HWindow, kEntryChangedElsewhere, MB_OK | MB_ICONINFORMATION);
}

bool TAdjustmentTable::SelectedEntry(TLedgerEntry& entry) {
  HWND grid = Grid();
  if (::SendMessage(grid, TSM_GETSELROW, 0, 0) < 0 || gAccountRecord == nullptr) return false;
  TAdjustmentRow row{};
  ::SendMessage(grid, TSM_GETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  TLedgerEntry listed;
  KeyFromRow(row, listed);
  listed.Date = row.Date;
  listed.Amount = RowAmount(row);
  CopyLedgerText(listed.Description, sizeof listed.Description, row.Description);
  listed.Bank = ListedBank;
  TPXRecord& record = *gAccountRecord;
  if (!SeekLedgerEntry(record, listed)) {
    ShowDeleted(HWindow, grid);
    return false;
  }
  if (!record.Read(0) || !ReadLedgerEntry(record, entry)) return false;
  if (!SameAsListed(listed, entry)) {
    ShowChangedEntry(entry);
    return false;
  }
  return true;
}

bool TAdjustmentTable::RelockUnchanged(const TLedgerEntry& listed) {
  TPXRecord& record = *gAccountRecord;
  TLedgerEntry stored;
  switch (RereadLocked(record, listed, stored)) {
    case TRereadResult::kGone: ShowDeleted(HWindow, Grid()); return false;
    case TRereadResult::kLockRefused:
    case TRereadResult::kFailed: return false;  // the table layer has shown why
    case TRereadResult::kChanged: ShowChangedEntry(stored); return false;
    case TRereadResult::kCurrent: break;
  }
  if (std::strcmp(stored.Description, listed.Description) != 0) {
    record.Unlock();
    ShowChangedEntry(stored);
    return false;
  }
  return true;
}

bool TAdjustmentTable::ConfirmedAndRelocked(const TLedgerEntry& listed, const char* caption,
                                            bool deleteMode) {
  CopyLedgerText(gAdjustmentXfer.Description, sizeof gAdjustmentXfer.Description,
                 listed.Description);
  gAdjustmentXfer.Amount = listed.Amount;
  gAdjustmentXfer.Date = listed.Date;
  TAdjustment dialog(this, kAdjustmentTemplate);
  dialog.DeleteMode = deleteMode;
  dialog.SetCaption(caption);
  return dialog.Execute() == IDOK && RelockUnchanged(listed);
}

void TAdjustmentTable::CmModify() {
  TLedgerEntry listed;
  if (!SelectedEntry(listed) || !ConfirmedAndRelocked(listed, "Modify Adjustment Item", false))
    return;

  TPXRecord& record = *gAccountRecord;
  TLedgerEntry changed = listed;
  CopyLedgerText(changed.Description, sizeof changed.Description, gAdjustmentXfer.Description);
  changed.Amount = gAdjustmentXfer.Amount;
  changed.Date = gAdjustmentXfer.Date;
  bool set = true;
  if (changed.Date != listed.Date) set = record.SetLong(kAcctDate, changed.Date) && set;
  if (AmountCents(changed.Amount) != AmountCents(listed.Amount))
    set = record.SetDouble(kAcctAmount, changed.Amount) && set;
  if (std::strcmp(changed.Description, listed.Description) != 0)
    set = record.SetString(kAcctDescription, changed.Description) && set;
  if (!set) {
    record.Unlock();
    return;
  }
  if (!ModifyLockedEntry(record)) return;  // the row stays as it was
  TAdjustmentRow row;
  RowFromEntry(changed, row);
  ::SendMessage(Grid(), TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
}

void TAdjustmentTable::CmDelete() {
  TLedgerEntry listed;
  if (!SelectedEntry(listed) || !ConfirmedAndRelocked(listed, "Delete Adjustment Item", true))
    return;
  TPXRecord& record = *gAccountRecord;
  const bool deleted = record.Delete();
  record.Unlock();
  if (deleted) ::SendMessage(Grid(), TSM_DELETEROW, TSREF_CURRENT, 0);
}
