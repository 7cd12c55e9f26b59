/*
** The account editor: the listing of one account's entries of one kind in a range, and the
** edit of one entry, written under its lock with only the changed fields.
*/
#include "accounting/account_editor.h"

#include "accounting/account_range.h"
#include "accounting/account_transfers.h"
#include "accounting/edit_account_record.h"
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
  kGrid = 106,
  kRangeButton = 103,
  kEditButton = 432
};
constexpr UINT kStaticLimit = 80;

/* The seven fields the user edits, as the dialog was filled with them. */
bool SameEditableFields(const TLedgerEntry& a, const TLedgerEntry& b) {
  return std::strcmp(a.Description, b.Description) == 0 &&
         std::strcmp(a.PayeeDepositor, b.PayeeDepositor) == 0 && a.Bank == b.Bank &&
         AmountCents(a.Amount) == AmountCents(b.Amount) && a.Date == b.Date &&
         a.Status == b.Status && a.Number == b.Number;
}

/* The entry dialog's values over the entry it was filled from; a list left without a
   selection keeps what the entry had. */
TLedgerEntry ChosenValues(const TLedgerEntry& filled, SHORT status) {
  const TEditAccountRecordXfer& x = gEditAccountRecordXfer;
  TLedgerEntry chosen = filled;
  CopyLedgerText(chosen.Description, sizeof chosen.Description, x.Description);
  CopyLedgerText(chosen.PayeeDepositor, sizeof chosen.PayeeDepositor, x.Payee);
  if (x.Accounts.GetSelIndex() >= 0) chosen.Bank = x.Accounts.GetSelIndex();
  chosen.Amount = x.Amount;
  chosen.Date = x.Date;
  if (status >= 0) chosen.Status = status;
  chosen.Number = x.Number;
  return chosen;
}

/* Sets in the locked record each field the user changed; an amount only when its cents do. */
bool SetChangedFields(TPXRecord& record, const TLedgerEntry& filled, const TLedgerEntry& chosen) {
  bool ok = true;
  if (std::strcmp(chosen.Description, filled.Description) != 0)
    ok = record.SetString(kAcctDescription, chosen.Description) && ok;
  if (std::strcmp(chosen.PayeeDepositor, filled.PayeeDepositor) != 0)
    ok = record.SetString(kAcctPayeeDepositor, chosen.PayeeDepositor) && ok;
  if (chosen.Bank != filled.Bank) ok = record.SetLong(kAcctBank, chosen.Bank) && ok;
  if (AmountCents(chosen.Amount) != AmountCents(filled.Amount))
    ok = record.SetDouble(kAcctAmount, chosen.Amount) && ok;
  if (chosen.Date != filled.Date) ok = record.SetLong(kAcctDate, chosen.Date) && ok;
  if (chosen.Status != filled.Status) ok = record.SetLong(kAcctStatus, chosen.Status) && ok;
  if (chosen.Number != filled.Number)
    ok = record.SetDouble(kAcctNumber, static_cast<double>(chosen.Number)) && ok;
  return ok;
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TAccountEditor, TDialog)
EV_BN_CLICKED(kEditButton, CmEdit), EV_BN_CLICKED(kRangeButton, CmRange), END_RESPONSE_TABLE;

TAccountEditor::TAccountEditor(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  RangeText = new TStatic(this, kRangeStatic, kStaticLimit);
  AccountName = new TStatic(this, kAccountStatic, kStaticLimit);
  // Checks of the file range from empty to empty; the account stays as last chosen.
  TAccountRangeXfer& range = gAccountRangeXfer;
  range.FileFrom[0] = range.FileTo[0] = '\0';
  range.Check = 1;
  range.File = 1;
  range.Adjustments = range.All = range.Date = range.Deposits = range.Number = 0;
  range.DateFrom = range.DateTo = kBlankDate;
  range.NumberFrom = range.NumberTo = 0;
}

TAccountEditor::~TAccountEditor() = default;

HWND TAccountEditor::Grid() const { return ::GetDlgItem(HWindow, kGrid); }

void TAccountEditor::SetupWindow() {
  TDialog::SetupWindow();
  DefineLedgerGrid(Grid(), kAccountEditorColumns, kAccountEditorColumnCount);
  FillGrid();
}

void TAccountEditor::FillGrid() {
  const TAccountRangeXfer& range = gAccountRangeXfer;
  HWND grid = Grid();
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  ListedBank = range.Accounts.GetSelIndex();
  ListedMode = ChosenRangeMode(range);
  std::unique_ptr<TPXTable> table = OpenRangeTable(ListedMode);
  if (!table) return;
  const TListedKind kind = ChosenKind(range);
  SetLedgerGridColors(grid, kind.Colors);

  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  WalkRangeEntries(*table, ListedMode, range, kind.Type, ListedBank, nullptr,
                   [&](const TLedgerEntry& entry) {
                     TAccountEditorRow row;
                     RowFromEntry(entry, row);
                     return AppendLedgerRow(HWindow, grid, &row);  // the rows appended so far stay
                   });
  char text[256];
  CopyLedgerText(text, sizeof text, range.Accounts.GetSelection());
  AccountName->SetText(text);
  FormatRangeText(text, sizeof text, kind.Word, ListedMode, range);
  RangeText->SetText(text);
  SetCursor(previous);
}

void TAccountEditor::CmRange() {
  TAccountRange dialog(this, kAccountRangeTemplate);
  if (dialog.Execute() == IDOK) FillGrid();
}

bool TAccountEditor::BelongsToListing(const TLedgerEntry& entry) const {
  return entry.Bank == ListedBank && InsideRange(entry, ListedMode, gAccountRangeXfer);
}

void TAccountEditor::ShowEntryInRow(const TLedgerEntry& entry) {
  HWND grid = Grid();
  if (!BelongsToListing(entry)) {
    ::SendMessage(grid, TSM_DELETEROW, TSREF_CURRENT, 0);
    return;
  }
  TAccountEditorRow row;
  RowFromEntry(entry, row);
  ::SendMessage(grid, TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
}

void TAccountEditor::CmEdit() {
  HWND grid = Grid();
  if (::SendMessage(grid, TSM_GETSELROW, 0, 0) < 0 || gAccountRecord == nullptr) return;
  TAccountEditorRow row{};
  ::SendMessage(grid, TSM_GETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  TLedgerEntry key;
  KeyFromRow(row, key);
  TPXRecord& record = *gAccountRecord;

  // The dialog shows the entry as stored now, not as the row was filled.
  TLedgerEntry filled;
  if (!SeekLedgerEntry(record, key)) {
    ::SendMessage(grid, TSM_DELETEROW, TSREF_CURRENT, 0);
    ShowLedgerMessage(HWindow, kEntryDeletedElsewhere, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!record.Read(0) || !ReadLedgerEntry(record, filled)) return;

  TEditAccountRecord dialog(this, kEditAccountRecordTemplate);
  dialog.EntryType = static_cast<SHORT>(static_cast<unsigned char>(filled.Type[0]));
  dialog.EntryStatus = static_cast<SHORT>(filled.Status);
  TEditAccountRecordXfer& x = gEditAccountRecordXfer;
  x.Accounts.Select(IsBankKey(filled.Bank) ? static_cast<int>(filled.Bank) : -1);
  CopyLedgerText(x.Description, sizeof x.Description, filled.Description);
  CopyLedgerText(x.Payee, sizeof x.Payee, filled.PayeeDepositor);
  x.Amount = filled.Amount;
  x.Number = filled.Number;
  x.Date = filled.Date;
  if (dialog.Execute() != IDOK) return;

  const TLedgerEntry chosen = ChosenValues(filled, dialog.EntryStatus);
  TLedgerEntry stored;
  switch (RereadLocked(record, filled, stored)) {
    case TRereadResult::kGone:
      ::SendMessage(grid, TSM_DELETEROW, TSREF_CURRENT, 0);
      ShowLedgerMessage(HWindow, kEntryDeletedElsewhere, MB_OK | MB_ICONINFORMATION);
      return;
    case TRereadResult::kLockRefused:
    case TRereadResult::kFailed: return;  // the table layer has shown why; nothing was written
    case TRereadResult::kChanged:
      ShowEntryInRow(stored);
      ShowLedgerMessage(HWindow, kEntryChangedElsewhere, MB_OK | MB_ICONINFORMATION);
      return;
    case TRereadResult::kCurrent: break;
  }
  if (!SameEditableFields(filled, stored)) {
    record.Unlock();
    ShowEntryInRow(stored);
    ShowLedgerMessage(HWindow, kEntryChangedElsewhere, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!SetChangedFields(record, filled, chosen)) {
    record.Unlock();
    return;
  }
  if (!ModifyLockedEntry(record)) return;  // the row stays as it was
  ShowEntryInRow(chosen);
}
