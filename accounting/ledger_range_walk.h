/*
** The walk over one range of ACCOUNT that the windows listing one bank account's entries
** share: the range mode chosen in gAccountRangeXfer, the index it walks, where it starts,
** where it stops, the walk itself, the kind listed and the range text shown above the list.
** File numbers compare byte by byte, the order of the primary index, so a walk in key order
** never stops early.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_RANGE_WALK_H
#define ZARNE_ACCOUNTING_LEDGER_RANGE_WALK_H

#include "accounting/account_transfers.h"
#include "accounting/ledger_entry.h"
#include "accounting/ledger_grid.h"

#include <cstddef>
#include <functional>
#include <memory>

class TPXRecord;
class TPXTable;

enum class TRangeMode { kAll, kFile, kDate, kNumber };

/* File, else Date, else Number, else All, as the record's flags say; with `fileAndNumber`
   false (the adjustments list) only Date and All are offered and the others count as All. */
TRangeMode ChosenRangeMode(const TAccountRangeXfer& range, bool fileAndNumber = true);

/* The index the mode walks: the primary one, or ACCOUNT's index on the date or the number.
   False when that index is missing (the table layer has shown its box). */
bool RangeIndex(TRangeMode mode, SHORT& index);

/* Positions the record on the first entry of the range: the first record, or the first at
   or after the from-bound. False when there is none. */
bool SeekRangeStart(TPXRecord& record, TRangeMode mode, const TAccountRangeXfer& range);

/* Whether the record just read lies past the range's to-bound in the walk's order. A blank
   date-to is below every date, so only blank-dated entries come before it. */
bool PastRangeEnd(TPXRecord& record, TRangeMode mode, const TAccountRangeXfer& range);

/* ACCOUNT opened on the index the mode walks; null when the index or the table cannot be
   opened (the table layer has shown its box). */
std::unique_ptr<TPXTable> OpenRangeTable(TRangeMode mode);

/* Calls `listed` with each entry of the range, in the walk's order, whose type is `type`, whose
   bank is `bank` (none when it is below 0) and whose status `admits` (any when null).
   `listed` answers false to stop; a field that cannot be read stops the walk too. */
void WalkRangeEntries(TPXTable& table, TRangeMode mode, const TAccountRangeXfer& range,
                      const char* type, SHORT bank, bool (*admits)(SHORT status),
                      const std::function<bool(const TLedgerEntry&)>& listed);

/* The kind the range chose: its type letter, colours and word. */
struct TListedKind {
  const char* Type;
  TLedgerColorSet Colors;
  const char* Word;
};
TListedKind ChosenKind(const TAccountRangeXfer& range);

/* Whether an entry still belongs to the range of a date or number listing (true in the
   other modes, whose bound a change of an entry cannot move it out of). */
bool InsideRange(const TLedgerEntry& entry, TRangeMode mode, const TAccountRangeXfer& range);

/* The range text: the kind word ("CHECKS: ") followed by "Files A - B", "Dates a - b",
   "Check Numbers n - m" or "All". */
void FormatRangeText(char* buffer, size_t size, const char* kindWord, TRangeMode mode,
                     const TAccountRangeXfer& range);

#endif
