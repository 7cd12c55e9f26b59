/*
** The period close, all or nothing: every Reconciled entry of the account dated up to the
** close date is locked and re-read first; only when all are held and they still add up to
** the statement's movement do they become Balanced and BANK records the close date. Any
** failure leaves every entry and BANK as they were, so the close can simply be tried again.
*/
#include "accounting/reconcile.h"

#include "accounting/account_transfers.h"
#include "accounting/ledger_cents.h"
#include "accounting/ledger_store.h"
#include "accounting/reconcile_strings.h"
#include "platform/engine/engine.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <memory>
#include <vector>

namespace {
enum { kKeyNumberField = 1, kLastBalanceDateField = 6 };

/* The account's Reconciled entries up to the close date, each locked by the walk's cursor. */
struct TPeriodEntries {
  std::vector<TLedgerEntry> Entries;
  int64_t SignedCents = 0;
  int Refused = 0;  // entries found but not lockable or not readable
};

void CollectReconciled(TPXRecord& walk, SHORT bankKey, LONG closeDate, TPeriodEntries& period) {
  for (bool more = walk.First() && walk.Read(0); more; more = walk.ReadNext(0)) {
    LONG date = kBlankDate;
    SHORT bank = kNoBankAccount, status = -1;
    if (!walk.GetLong(kAcctDate, date) || !walk.GetShort(kAcctBank, bank) ||
        !walk.GetShort(kAcctStatus, status)) {
      ++period.Refused;
      return;
    }
    if (date > closeDate) return;  // blank dates come first and belong to the period
    if (bank != bankKey || status != kStatusReconciled) continue;
    // Locked, then read again: the values counted are the ones held.
    TLedgerEntry entry;
    if (!walk.Lock() || !walk.Read(0) || !ReadLedgerEntry(walk, entry)) {
      ++period.Refused;
      continue;
    }
    if (entry.Bank != bankKey || entry.Status != kStatusReconciled) continue;
    period.Entries.push_back(entry);
    const int64_t cents = AmountCents(entry.Amount);
    period.SignedCents += entry.Type[0] == 'C' ? -cents : cents;
  }
}

/* Sets the status of the entries [0, count) through the primary record; answers how many
   were written before a failure. */
size_t SetStatuses(TPXRecord& record, const std::vector<TLedgerEntry>& entries, size_t count,
                   LONG status) {
  for (size_t i = 0; i < count; ++i)
    if (!SeekLedgerEntry(record, entries[i]) || !record.Read(0) ||
        !record.SetLong(kAcctStatus, status) || !record.Modify())
      return i;
  return count;
}

bool WriteBalanceDate(LONG closeDate, SHORT bankKey) {
  if (gBankRecord == nullptr) return false;
  TPXRecord& bank = *gBankRecord;
  bank.Clear();
  bank.SetShort(kKeyNumberField, bankKey);
  if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Lock()) return false;
  const bool written =
      bank.Read(0) && bank.SetLong(kLastBalanceDateField, closeDate) && bank.Modify();
  bank.Unlock();
  return written;
}

void ReleaseAll(TPXRecord& walk) { EngineReleaseRecordLock(walk.Cursor(), TRUE); }
}  // namespace

bool TReconcile::ClosePeriod() {
  TPXTable* shared = gTables[kAccountTable];
  const SHORT index = shared != nullptr ? shared->IndexForField(kAcctDate) : 0;
  if (index == 0) {
    MessageBox(HWindow, ReconcileText(kNoDateIndexText).c_str(),
               ReconcileText(kSystemErrorCaption).c_str(), MB_OK | MB_ICONSTOP);
    return false;
  }
  TPXTable table(shared->Name(), index);
  if (!table.IsOpen() || gAccountRecord == nullptr) return false;
  TPXRecord walk(&table, false);
  const LONG closeDate = gReconcileXfer.CloseDate;

  TPeriodEntries period;
  CollectReconciled(walk, BankKey, closeDate, period);
  if (period.Refused > 0) {
    ReleaseAll(walk);
    ShowReconcileBox(HWindow, ReconcileText(kEntriesInUseText, period.Refused),
                     MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const int64_t movement =
      AmountCents(gReconcileXfer.EndBalance) - AmountCents(gReconcileXfer.BeginBalance);
  if (period.SignedCents != movement) {
    // Another station cleared or changed an entry after the report was printed.
    ReleaseAll(walk);
    ShowReconcileBox(HWindow, ReconcileText(kLedgerChangedText), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const std::vector<TLedgerEntry>& entries = period.Entries;
  const size_t written = SetStatuses(*gAccountRecord, entries, entries.size(), kStatusBalanced);
  if (written < entries.size()) {
    SetStatuses(*gAccountRecord, entries, written, kStatusReconciled);
    ReleaseAll(walk);
    ShowReconcileBox(HWindow,
                     ReconcileText(kEntriesInUseText, static_cast<int>(entries.size() - written)),
                     MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!WriteBalanceDate(closeDate, BankKey)) {
    SetStatuses(*gAccountRecord, entries, entries.size(), kStatusReconciled);
    ReleaseAll(walk);
    MessageBox(HWindow, ReconcileText(kCloseBankFailedText).c_str(),
               ReconcileText(kSystemErrorCaption).c_str(), MB_OK | MB_ICONSTOP);
    return false;
  }
  ReleaseAll(walk);
  return true;
}
