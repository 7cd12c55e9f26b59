/*
** Locked re-reads, checked writes and inserts that never overwrite.
*/
#include "accounting/ledger_store.h"

#include "accounting/ledger_cents.h"
#include "platform/engine/engine.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

namespace {
constexpr WORD kKeyViolation = 0x2601;
constexpr WORD kKeyNotFound = 0x2206;
// Far more tries than two stations could ever collide; a clock stuck on one key ends here.
constexpr int kInsertTries = 50;
}  // namespace

bool SeekLedgerEntry(TPXRecord& record, const TLedgerEntry& entry) {
  return SetLedgerKey(record, entry) && record.Seek(0, ENGINE_KEY_EQ);
}

bool SameLedgerState(const TLedgerEntry& shown, const TLedgerEntry& stored) {
  return shown.Status == stored.Status && shown.Number == stored.Number &&
         shown.Bank == stored.Bank && shown.Date == stored.Date &&
         AmountCents(shown.Amount) == AmountCents(stored.Amount);
}

TRereadResult RereadLocked(TPXRecord& record, const TLedgerEntry& shown, TLedgerEntry& stored) {
  if (!SeekLedgerEntry(record, shown))
    // Only "key not found" means gone; a failed search (shown already) tells nothing.
    return gLastDbResult == kKeyNotFound ? TRereadResult::kGone : TRereadResult::kFailed;
  if (!record.Lock()) return TRereadResult::kLockRefused;
  if (!record.Read(0) || !ReadLedgerEntry(record, stored)) {
    record.Unlock();
    return TRereadResult::kFailed;
  }
  if (!SameLedgerState(shown, stored)) {
    record.Unlock();
    return TRereadResult::kChanged;
  }
  return TRereadResult::kCurrent;
}

bool ModifyLockedEntry(TPXRecord& record) {
  bool written = record.Modify();
  record.Unlock();
  return written;
}

bool InsertLedgerEntry(TPXRecord& record, TLedgerEntry& entry) {
  for (int attempt = 0; attempt < kInsertTries; ++attempt) {
    if (attempt > 0 || entry.Seq == 0.0) entry.Seq = MakeTimeKey();
    if (SeekLedgerEntry(record, entry)) continue;  // the key is someone else's entry
    record.Clear();
    if (!WriteLedgerEntry(record, entry)) return false;
    if (record.Insert()) return true;
    if (gLastDbResult != kKeyViolation) return false;  // shown by the table layer
  }
  return false;
}
