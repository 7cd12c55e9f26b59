/*
** The disbursing dialog's changes to entries: adding, modifying and deleting deposits and
** checks. Adds insert under a key of their own; a modify or delete first re-reads its entry
** under a lock and changes only what the action changes, and a row follows its record only
** after the write succeeded.
*/
#include "accounting/disburse.h"

#include "accounting/check_dialog.h"
#include "accounting/deposit_dialog.h"
#include "accounting/ledger_cents.h"
#include "accounting/ledger_grid.h"
#include "accounting/ledger_transfers.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
enum { kDepositGrid = 200, kCheckGrid = 300 };
const char* const kAddStatuses[] = {"Ready", "Escrow"};
const char* const kModifyStatuses[] = {"Ready", "Escrow", "Void", "Printed"};
constexpr char kNumberTakenFormat[] = "Check number %ld is already used. Record it anyway?";

void FillCheckXfer(const TLedgerEntry& entry) {
  CopyLedgerText(gCheckXfer.Description, sizeof gCheckXfer.Description, entry.Description);
  CopyLedgerText(gCheckXfer.Payee, sizeof gCheckXfer.Payee, entry.PayeeDepositor);
  gCheckXfer.Date = entry.Date;
  gCheckXfer.Number = entry.Number;
  gCheckXfer.Amount = entry.Amount;
}

void FillDepositXfer(const TLedgerEntry& entry) {
  CopyLedgerText(gDepositXfer.Depositor, sizeof gDepositXfer.Depositor, entry.PayeeDepositor);
  CopyLedgerText(gDepositXfer.Description, sizeof gDepositXfer.Description, entry.Description);
  gDepositXfer.Amount = entry.Amount;
}

/* Runs an entry dialog with its caption and mode; true on OK. */
template <class Dialog>
bool RunEntryDialog(TWindow* parent, const char* caption, bool deleting) {
  Dialog dialog(parent);
  dialog.SetCaption(caption);
  dialog.DeleteMode = deleting ? 1 : 0;
  return dialog.Execute() == IDOK;
}

bool SameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

void TDisburse::FillStatusList(const char* const* names, int count, const char* selected) {
  gCheckXfer.Status.Clear();
  for (int i = 0; i < count; ++i)
    gCheckXfer.Status.AddString(names[i], SameText(names[i], selected));
}

bool TDisburse::SelectedEntry(int gridId, const char* what, TLedgerEntry& entry) {
  HWND grid = Grid(gridId);
  if (::SendMessage(grid, TSM_GETSELROW, 0, 0) < 0) {
    ShowSelectFirst(HWindow, what);
    return false;
  }
  if (gridId == kCheckGrid) {
    TDisburseCheckRow row{};
    if (::SendMessage(grid, TSM_GETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row)) != 0)
      return false;
    EntryFromRow(row, entry);
  } else {
    TDisburseDepositRow row{};
    if (::SendMessage(grid, TSM_GETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row)) != 0)
      return false;
    EntryFromRow(row, entry);
  }
  return true;
}

void TDisburse::ReplaceCurrentRow(int gridId, const TLedgerEntry& entry) {
  if (gridId == kCheckGrid) {
    TDisburseCheckRow row;
    RowFromEntry(entry, row);
    ::SendMessage(Grid(gridId), TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  } else {
    TDisburseDepositRow row;
    RowFromEntry(entry, row);
    ::SendMessage(Grid(gridId), TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  }
}

void TDisburse::DeleteCurrentRow(int gridId) {
  ::SendMessage(Grid(gridId), TSM_DELETEROW, TSREF_CURRENT, 0);
}

bool TDisburse::AcceptReread(int gridId, TRereadResult result, const TLedgerEntry& stored,
                             TLedgerAction action) {
  switch (result) {
    case TRereadResult::kCurrent: return true;
    case TRereadResult::kGone:
      DeleteCurrentRow(gridId);
      UpdateBalance();
      ResetBankWhenEmpty();
      ShowLedgerMessage(HWindow, kEntryDeletedElsewhere, MB_OK | MB_ICONINFORMATION);
      return false;
    case TRereadResult::kChanged: {
      if (gridId == kCheckGrid && stored.Status == kStatusVoid) DeleteCurrentRow(gridId);
      else ReplaceCurrentRow(gridId, stored);
      UpdateBalance();
      ResetBankWhenEmpty();
      // Changed into a state this action may not touch: say that, as the list now shows it.
      const char kind = gridId == kCheckGrid ? 'C' : 'D';
      if (const TLedgerRefusal* refusal = FindLedgerRefusal(kind, stored.Status, action))
        ShowLedgerRefusal(HWindow, *refusal);
      else ShowLedgerMessage(HWindow, kEntryChangedElsewhere, MB_OK | MB_ICONINFORMATION);
      return false;
    }
    case TRereadResult::kLockRefused:
    case TRereadResult::kFailed: return false;  // the table layer has shown why; nothing changes
  }
  return false;
}

bool TDisburse::WriteCheckRecord(TDisburseCheckRow& row) {
  TLedgerEntry entry;
  EntryFromRow(row, entry);
  if (!InsertLedgerEntry(*Record, entry)) return false;
  SetRowSeq(row, entry.Seq);
  return true;
}

bool TDisburse::WriteDepositRecord(TDisburseDepositRow& row) {
  TLedgerEntry entry;
  EntryFromRow(row, entry);
  if (!InsertLedgerEntry(*Record, entry)) return false;
  SetRowSeq(row, entry.Seq);
  return true;
}

/* ---- Adding ---- */

void TDisburse::CmAddCheck() {
  if (FileNumber[0] == '\0') return ShowSelectFirst(HWindow, "a file number");
  TLedgerEntry entry;
  FillCheckXfer(entry);
  FillStatusList(kAddStatuses, 2, "Ready");
  if (!RunEntryDialog<TCheck>(this, "Add Check", false)) return;
  if (BankKey < 0) SelectBankAccount();
  if (BankKey < 0) return ShowSelectFirst(HWindow, "an account");

  CopyLedgerText(entry.FileNum, sizeof entry.FileNum, FileNumber);
  CopyLedgerText(entry.Type, sizeof entry.Type, kCheckType);
  entry.Seq = MakeTimeKey();
  entry.Number = gCheckXfer.Number;
  entry.Date = gCheckXfer.Date;
  entry.Bank = BankKey;
  const SHORT status = StatusCode(gCheckXfer.Status.GetSelection());
  entry.Status = status == kStatusEscrow ? kStatusEscrow : kStatusReady;
  CopyLedgerText(entry.PayeeDepositor, sizeof entry.PayeeDepositor, gCheckXfer.Payee);
  CopyLedgerText(entry.Description, sizeof entry.Description, gCheckXfer.Description);
  entry.Amount = gCheckXfer.Amount;
  TDisburseCheckRow row;
  RowFromEntry(entry, row);
  if (!WriteCheckRecord(row)) return;  // nothing listed that is not stored
  AppendLedgerRow(HWindow, Grid(kCheckGrid), &row);
  UpdateBalance();
}

void TDisburse::CmAddDeposit() {
  if (FileNumber[0] == '\0') return ShowSelectFirst(HWindow, "a file number");
  TLedgerEntry entry;
  FillDepositXfer(entry);
  if (!RunEntryDialog<TDeposit>(this, "Add Deposit", false)) return;
  if (BankKey < 0) SelectBankAccount();
  if (BankKey < 0) return ShowSelectFirst(HWindow, "an account");

  CopyLedgerText(entry.FileNum, sizeof entry.FileNum, FileNumber);
  CopyLedgerText(entry.Type, sizeof entry.Type, kDepositType);
  entry.Seq = MakeTimeKey();
  entry.Number = 0;
  entry.Bank = BankKey;
  entry.Status = kStatusUnposted;
  entry.Date = kBlankDate;
  CopyLedgerText(entry.PayeeDepositor, sizeof entry.PayeeDepositor, gDepositXfer.Depositor);
  CopyLedgerText(entry.Description, sizeof entry.Description, gDepositXfer.Description);
  entry.Amount = gDepositXfer.Amount;
  TDisburseDepositRow row;
  RowFromEntry(entry, row);
  if (!WriteDepositRecord(row)) return;
  AppendLedgerRow(HWindow, Grid(kDepositGrid), &row);
  UpdateBalance();
}

/* ---- Checks ---- */

bool TDisburse::ConfirmCheckNumber(const TLedgerEntry& check, LONG number) {
  const SHORT index = Table->IndexForField(kAcctNumber);
  if (index == 0) return true;
  TPXTable byNumber(Table->Name(), index);
  TPXRecord record(&byNumber, false);
  record.SetDouble(kAcctNumber, static_cast<double>(number));
  bool taken = false;
  for (bool found = record.Seek(1, ENGINE_KEY_EQ); found && !taken; found = record.Next()) {
    TLedgerEntry other;
    if (!record.Read(0) || !ReadLedgerEntry(record, other) || other.Number != number) break;
    const bool itself = SameText(other.FileNum, check.FileNum) &&
                        SameText(other.Type, check.Type) && other.Seq == check.Seq;
    taken = !itself && SameText(other.Type, kCheckType);
  }
  if (!taken) return true;
  char question[128];
  std::snprintf(question, sizeof question, kNumberTakenFormat, static_cast<long>(number));
  return ShowLedgerMessage(HWindow, question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TDisburse::CmModifyCheck() {
  TLedgerEntry shown;
  if (!SelectedEntry(kCheckGrid, "a check", shown)) return;
  if (const TLedgerRefusal* refusal = FindLedgerRefusal('C', shown.Status, TLedgerAction::kModify))
    return ShowLedgerRefusal(HWindow, *refusal);
  FillCheckXfer(shown);
  char statusText[kStatusTextSize] = "";
  if (shown.Status >= kStatusReady && shown.Status <= kStatusBalanced)
    StatusText(statusText, static_cast<SHORT>(shown.Status), sizeof statusText);
  FillStatusList(kModifyStatuses, 4, statusText);
  if (!RunEntryDialog<TCheck>(this, "Modify Check", false)) return;
  ApplyCheckModify(shown);
}

void TDisburse::ApplyCheckModify(const TLedgerEntry& shown) {
  // No selection (a status outside the list) keeps the stored status: never -1.
  const int chosen = gCheckXfer.Status.GetSelIndex() >= 0
                         ? StatusCode(gCheckXfer.Status.GetSelection())
                         : shown.Status;
  if (chosen == kStatusPrinted && gCheckXfer.Number != shown.Number &&
      !ConfirmCheckNumber(shown, gCheckXfer.Number))
    return;

  TLedgerEntry stored;
  if (!AcceptReread(kCheckGrid, RereadLocked(*Record, shown, stored), stored,
                    TLedgerAction::kModify))
    return;
  TLedgerEntry changed = stored;
  if (chosen != stored.Status) changed.Status = chosen;
  if (chosen == kStatusVoid) {
    changed.Amount = 0.0;  // number and date stay, as for a voided printed check
  } else {
    if (gCheckXfer.Number != shown.Number) changed.Number = gCheckXfer.Number;
    if (gCheckXfer.Date != shown.Date) changed.Date = gCheckXfer.Date;
    if (AmountCents(gCheckXfer.Amount) != AmountCents(shown.Amount))
      changed.Amount = gCheckXfer.Amount;
  }
  if (!SameText(gCheckXfer.Payee, shown.PayeeDepositor))
    CopyLedgerText(changed.PayeeDepositor, sizeof changed.PayeeDepositor, gCheckXfer.Payee);
  if (!SameText(gCheckXfer.Description, shown.Description))
    CopyLedgerText(changed.Description, sizeof changed.Description, gCheckXfer.Description);

  if (changed.Status != stored.Status) Record->SetLong(kAcctStatus, changed.Status);
  if (changed.Number != stored.Number) Record->SetDouble(kAcctNumber, changed.Number);
  if (changed.Date != stored.Date) Record->SetLong(kAcctDate, changed.Date);
  if (changed.Amount != stored.Amount) Record->SetDouble(kAcctAmount, changed.Amount);
  if (!SameText(changed.PayeeDepositor, stored.PayeeDepositor))
    Record->SetString(kAcctPayeeDepositor, changed.PayeeDepositor);
  if (!SameText(changed.Description, stored.Description))
    Record->SetString(kAcctDescription, changed.Description);
  if (!ModifyLockedEntry(*Record)) return;  // row, grid and balance stay as they were

  if (changed.Status == kStatusVoid) DeleteCurrentRow(kCheckGrid);
  else ReplaceCurrentRow(kCheckGrid, changed);
  UpdateBalance();
  if (changed.Status == kStatusVoid) ResetBankWhenEmpty();
}

void TDisburse::CmDeleteCheck() {
  TLedgerEntry shown;
  if (!SelectedEntry(kCheckGrid, "a check", shown)) return;
  if (const TLedgerRefusal* refusal = FindLedgerRefusal('C', shown.Status, TLedgerAction::kDelete))
    return ShowLedgerRefusal(HWindow, *refusal);
  FillCheckXfer(shown);
  char statusText[kStatusTextSize] = "";
  if (shown.Status >= kStatusReady && shown.Status <= kStatusBalanced)
    StatusText(statusText, static_cast<SHORT>(shown.Status), sizeof statusText);
  const char* only[] = {statusText};
  FillStatusList(only, 1, statusText);
  if (!RunEntryDialog<TCheck>(this, "Delete Check", true)) return;
  ApplyCheckDelete(shown);
}

void TDisburse::ApplyCheckDelete(const TLedgerEntry& shown) {
  TLedgerEntry stored;
  if (!AcceptReread(kCheckGrid, RereadLocked(*Record, shown, stored), stored,
                    TLedgerAction::kDelete))
    return;
  bool removed;
  if (stored.Status == kStatusPrinted || stored.Number != 0) {
    // A numbered check was handed out: it stays in the book as Void, number and date kept.
    Record->SetLong(kAcctStatus, kStatusVoid);
    Record->SetDouble(kAcctAmount, 0.0);
    removed = ModifyLockedEntry(*Record);
  } else {
    removed = Record->Delete();
    Record->Unlock();
  }
  if (!removed) return;
  DeleteCurrentRow(kCheckGrid);
  UpdateBalance();
  ResetBankWhenEmpty();
}

/* ---- Deposits ---- */

void TDisburse::CmModifyDeposit() {
  TLedgerEntry shown;
  if (!SelectedEntry(kDepositGrid, "a deposit", shown)) return;
  if (const TLedgerRefusal* refusal = FindLedgerRefusal('D', shown.Status, TLedgerAction::kModify))
    return ShowLedgerRefusal(HWindow, *refusal);
  FillDepositXfer(shown);
  if (!RunEntryDialog<TDeposit>(this, "Modify Deposit", false)) return;
  ApplyDepositModify(shown);
}

void TDisburse::ApplyDepositModify(const TLedgerEntry& shown) {
  TLedgerEntry stored;
  if (!AcceptReread(kDepositGrid, RereadLocked(*Record, shown, stored), stored,
                    TLedgerAction::kModify))
    return;
  TLedgerEntry changed = stored;
  if (!SameText(gDepositXfer.Depositor, shown.PayeeDepositor)) {
    CopyLedgerText(changed.PayeeDepositor, sizeof changed.PayeeDepositor, gDepositXfer.Depositor);
    Record->SetString(kAcctPayeeDepositor, changed.PayeeDepositor);
  }
  if (!SameText(gDepositXfer.Description, shown.Description)) {
    CopyLedgerText(changed.Description, sizeof changed.Description, gDepositXfer.Description);
    Record->SetString(kAcctDescription, changed.Description);
  }
  if (AmountCents(gDepositXfer.Amount) != AmountCents(shown.Amount)) {
    changed.Amount = gDepositXfer.Amount;
    Record->SetDouble(kAcctAmount, changed.Amount);
  }
  if (!ModifyLockedEntry(*Record)) return;
  ReplaceCurrentRow(kDepositGrid, changed);
  UpdateBalance();
}

void TDisburse::CmDeleteDeposit() {
  TLedgerEntry shown;
  if (!SelectedEntry(kDepositGrid, "a deposit", shown)) return;
  if (const TLedgerRefusal* refusal = FindLedgerRefusal('D', shown.Status, TLedgerAction::kDelete))
    return ShowLedgerRefusal(HWindow, *refusal);
  FillDepositXfer(shown);
  if (!RunEntryDialog<TDeposit>(this, "Delete Deposit", true)) return;
  ApplyDepositDelete(shown);
}

void TDisburse::ApplyDepositDelete(const TLedgerEntry& shown) {
  TLedgerEntry stored;
  if (!AcceptReread(kDepositGrid, RereadLocked(*Record, shown, stored), stored,
                    TLedgerAction::kDelete))
    return;
  const bool removed = Record->Delete();
  Record->Unlock();
  if (!removed) return;  // the row goes only with its record
  DeleteCurrentRow(kDepositGrid);
  UpdateBalance();
  ResetBankWhenEmpty();
}
