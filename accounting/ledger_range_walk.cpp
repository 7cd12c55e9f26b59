/*
** Choosing, starting, making and ending the walk over a range of ledger entries.
*/
#include "accounting/ledger_range_walk.h"

#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

namespace {}  // namespace

TRangeMode ChosenRangeMode(const TAccountRangeXfer& range, bool fileAndNumber) {
  if (fileAndNumber && range.File == 1) return TRangeMode::kFile;
  if (range.Date == 1) return TRangeMode::kDate;
  if (fileAndNumber && range.Number == 1) return TRangeMode::kNumber;
  return TRangeMode::kAll;
}

bool RangeIndex(TRangeMode mode, SHORT& index) {
  index = 0;
  if (mode != TRangeMode::kDate && mode != TRangeMode::kNumber) return true;
  TPXTable* account = gTables[kAccountTable];
  if (account == nullptr) return false;
  index = account->IndexForField(mode == TRangeMode::kDate ? kAcctDate : kAcctNumber);
  return index != 0;
}

bool SeekRangeStart(TPXRecord& record, TRangeMode mode, const TAccountRangeXfer& range) {
  switch (mode) {
    case TRangeMode::kAll: return record.First();
    case TRangeMode::kFile:
      record.Clear();
      return record.SetString(kAcctFileNum, range.FileFrom) && record.Seek(1, ENGINE_KEY_GEQ);
    case TRangeMode::kDate:
      record.Clear();
      return record.SetLong(kAcctDate, range.DateFrom) && record.Seek(1, ENGINE_KEY_GEQ);
    case TRangeMode::kNumber:
      record.Clear();
      return record.SetDouble(kAcctNumber, static_cast<double>(range.NumberFrom)) &&
             record.Seek(1, ENGINE_KEY_GEQ);
  }
  return false;
}

bool PastRangeEnd(TPXRecord& record, TRangeMode mode, const TAccountRangeXfer& range) {
  switch (mode) {
    case TRangeMode::kAll: return false;
    case TRangeMode::kFile: {
      char file[16] = "";
      record.GetString(kAcctFileNum, file, sizeof file);
      return std::strcmp(file, range.FileTo) > 0;  // unsigned bytes: the index's order
    }
    case TRangeMode::kDate: {
      LONG date = kBlankDate;
      record.GetLong(kAcctDate, date);
      return date > range.DateTo;
    }
    case TRangeMode::kNumber: {
      LONG number = 0;
      record.GetLong(kAcctNumber, number);
      return number > range.NumberTo;
    }
  }
  return true;
}

std::unique_ptr<TPXTable> OpenRangeTable(TRangeMode mode) {
  SHORT index = 0;
  if (!RangeIndex(mode, index)) return nullptr;
  char path[MAX_PATH];
  BuildPath(path, gDatabaseDir, "account", nullptr, sizeof path);
  auto table = std::make_unique<TPXTable>(path, index);
  if (!table->IsOpen()) return nullptr;
  return table;
}

void WalkRangeEntries(TPXTable& table, TRangeMode mode, const TAccountRangeXfer& range,
                      const char* type, SHORT bank, bool (*admits)(SHORT status),
                      const std::function<bool(const TLedgerEntry&)>& listed) {
  TPXRecord record(&table, false);
  // No account, no listing: an entry whose bank is -1 belongs to no account either.
  // Each step reads the next record in the same engine call; an entry is read whole only
  // once its type, bank and status admit it.
  bool more = bank >= 0 && SeekRangeStart(record, mode, range) && record.Read(0);
  for (; more; more = record.ReadNext(0)) {
    if (PastRangeEnd(record, mode, range)) break;
    char entryType[2] = "";
    SHORT entryBank = kNoBankAccount, status = -1;
    if (!record.GetString(kAcctType, entryType, sizeof entryType) ||
        !record.GetShort(kAcctBank, entryBank) || !record.GetShort(kAcctStatus, status))
      break;
    if (std::strcmp(entryType, type) != 0 || entryBank != bank ||
        (admits != nullptr && !admits(status)))
      continue;
    TLedgerEntry entry;
    if (!ReadLedgerEntry(record, entry) || !listed(entry)) break;
  }
}

TListedKind ChosenKind(const TAccountRangeXfer& range) {
  if (range.Check == 1) return {kCheckType, kCheckColors, "CHECKS: "};
  if (range.Deposits == 1) return {kDepositType, kDepositColors, "DEPOSITS: "};
  return {kAdjustmentType, kAdjustmentColors, "ADJUSTMENTS: "};
}

bool InsideRange(const TLedgerEntry& entry, TRangeMode mode, const TAccountRangeXfer& range) {
  if (mode == TRangeMode::kDate) return entry.Date >= range.DateFrom && entry.Date <= range.DateTo;
  if (mode == TRangeMode::kNumber)
    return entry.Number >= range.NumberFrom && entry.Number <= range.NumberTo;
  return true;
}

void FormatRangeText(char* buffer, size_t size, const char* kindWord, TRangeMode mode,
                     const TAccountRangeXfer& range) {
  char from[kDateTextSize] = "";
  char to[kDateTextSize] = "";
  switch (mode) {
    case TRangeMode::kFile:
      std::snprintf(buffer, size, "%sFiles %s - %s", kindWord, range.FileFrom, range.FileTo);
      return;
    case TRangeMode::kDate:
      FormatShortDate(from, range.DateFrom, sizeof from);
      FormatShortDate(to, range.DateTo, sizeof to);
      std::snprintf(buffer, size, "%sDates %s - %s", kindWord, from, to);
      return;
    case TRangeMode::kNumber:
      std::snprintf(buffer, size, "%sCheck Numbers %ld - %ld", kindWord,
                    static_cast<long>(range.NumberFrom), static_cast<long>(range.NumberTo));
      return;
    case TRangeMode::kAll: std::snprintf(buffer, size, "%sAll", kindWord); return;
  }
}
