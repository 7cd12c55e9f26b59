/*
** MoveDates and FillSettlementDate over the statement window's records.
*/
#include "statement/settlement_date_move.h"

#include "statement/recalc_rules.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

/* A date that follows the settlement date when it lay on it or on the day after. */
struct TiedDate {
  int table;
  int field;
  std::initializer_list<int> repaints;
  void (*rule)(RecalcView& view);
  bool borrowerSide;  // lines 106 to 108 and the interest: the 100 and 400 totals
  bool interest;
};

const TiedDate kTiedDates[] = {
    {kSummary1Table, 15, {220, 252}, Prorate106, true, false},
    {kSummary1Table, 20, {225, 257}, Prorate107, true, false},
    {kSummary1Table, 25, {230, 262}, Prorate108, true, false},
    {kSummary2Table, 29, {292, 338}, Prorate210, false, false},
    {kSummary2Table, 34, {297, 343}, Prorate211, false, false},
    {kSummary2Table, 39, {302, 348}, Prorate212, false, false},
    {kExpense2Table, 2, {423}, Compute901, true, true},
};

constexpr int kDisbursementField = 20;  // EXTRA.20 DDATE
constexpr int kSettlementField = 2;     // SUMMARY1.2 CDATE

LONG ReadDate(TPXRecord* record, int field) {
  LONG date = kBlankDate;
  if (record) record->GetLong(field, date);
  return date;
}

bool IsDayOff(LONG date) {
  int month, day, year;
  DecodeDate(date, month, day, year);
  return IsWeekend(month, day, year) || IsFixedHoliday(month, day, year);
}

/* A day number a date field can hold (never the blank marker). */
bool IsStorableDate(int64_t date) {
  return date > std::numeric_limits<LONG>::min() && date <= std::numeric_limits<LONG>::max();
}

/* The disbursement date kept at its distance from the settlement date. */
void MoveDisbursementDate(RecalcView& view, LONG oldDate, LONG newDate) {
  TPXRecord* extra = view.Record(kExtraTable);
  if (!extra) return;
  LONG disbursement = ReadDate(extra, kDisbursementField);
  int64_t moved = newDate;
  if (disbursement != kBlankDate && disbursement != oldDate) {
    if (oldDate == kBlankDate) return;  // no distance to keep
    int64_t offset = static_cast<int64_t>(disbursement) - oldDate;
    int step = offset > 0 ? 1 : -1;
    moved = newDate + offset;
    while (IsStorableDate(moved) && IsDayOff(static_cast<LONG>(moved))) moved += step;
    if (!IsStorableDate(moved)) return;
  }
  extra->SetLong(kDisbursementField, static_cast<LONG>(moved));
  view.RepaintFieldById(576);
}

}  // namespace

void MoveDates(RecalcView& view, LONG oldDate, LONG newDate) {
  if (newDate == kBlankDate) return;
  MoveDisbursementDate(view, oldDate, newDate);
  if (oldDate == kBlankDate) return;

  bool anyMoved = false, borrowerMoved = false, interestMoved = false;
  for (const TiedDate& tied : kTiedDates) {
    TPXRecord* record = view.Record(tied.table);
    LONG date = ReadDate(record, tied.field);
    if (date == kBlankDate) continue;
    int64_t distance = static_cast<int64_t>(date) - oldDate;
    if (distance != 0 && distance != 1) continue;
    if (!IsStorableDate(newDate + distance)) continue;
    record->SetLong(tied.field, static_cast<LONG>(newDate + distance));
    for (int id : tied.repaints) view.RepaintFieldById(id);
    tied.rule(view);
    anyMoved = true;
    borrowerMoved |= tied.borrowerSide;
    interestMoved |= tied.interest;
  }
  if (interestMoved) {
    Sum900B(view);
    Sum900S(view);
    Total1400B(view);
    Total1400S(view);
  }
  if (borrowerMoved) {
    Total120(view);
    Total420(view);
  }
  if (anyMoved) {
    Total220(view);
    Total520(view);
    Total303(view);
    Total603(view);
  }
}

void FillSettlementDate(RecalcView& view, LONG /*oldDate*/, LONG newDate) {
  TPXRecord* summary = view.Record(kSummary1Table);
  if (!summary || newDate == kBlankDate) return;
  if (ReadDate(summary, kSettlementField) != kBlankDate) return;
  summary->SetLong(kSettlementField, newDate);
  view.RepaintFieldById(212);
}
