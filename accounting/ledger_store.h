/*
** How the ledger dialogs write ACCOUNT so that no station undoes another's work: a change
** re-reads its entry under a lock and compares it with what the list shows; new entries are
** inserted, never posted over an existing key; every write is checked.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_STORE_H
#define ZARNE_ACCOUNTING_LEDGER_STORE_H

#include "accounting/ledger_entry.h"

class TPXRecord;

enum class TRereadResult {
  kCurrent,      // found, locked, as the list shows it: the caller changes it, then Unlock
  kGone,         // no record has the key any more (the search answered "key not found")
  kLockRefused,  // another station holds it (the table layer has said so)
  kChanged,      // stored status, number, bank, date or cents differ: `stored` holds it
  kFailed,       // the search or read failed (reported by the table layer)
};

/* Seeks the shown entry's key (equal), locks and reads the record into `stored`. Only
   kCurrent leaves the record locked. */
TRereadResult RereadLocked(TPXRecord& record, const TLedgerEntry& shown, TLedgerEntry& stored);

/* Whether the stored entry still is the shown one in what a change must not overrule. */
bool SameLedgerState(const TLedgerEntry& shown, const TLedgerEntry& stored);

/* Writes the locked record's changed fields (Modify), then unlocks whatever the outcome;
   answers whether the write succeeded (a failure has been shown). */
bool ModifyLockedEntry(TPXRecord& record);

/* Inserts the entry as a new record. When its key is taken (by an equal seek, or the
   engine's key violation) it takes a new MakeTimeKey() into entry.Seq and tries again, so an
   existing record is never overwritten. Answers whether it was written. */
bool InsertLedgerEntry(TPXRecord& record, TLedgerEntry& entry);

/* Seeks the entry by its whole key (equal); false when no record has it. */
bool SeekLedgerEntry(TPXRecord& record, const TLedgerEntry& entry);

#endif
