/*
** The range reports that list ledger entries (check register, ledger): ACCOUNT opened again
** in the order of the range's index, walked from a starting record with an end test and a
** filter, each admitted entry held as a TAccountItem. The range is taken from
** gReportRangeXfer when the report is made.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_WALK_REPORT_H
#define ZARNE_ACCOUNTING_ACCOUNT_WALK_REPORT_H

#include "accounting/account_item.h"
#include "accounting/range_report.h"
#include "tableaccess/value_forms.h"

class TPXTable;
class TPXRecord;

class TAccountWalkReport : public TRangeReport {
 public:
  ~TAccountWalkReport() override;

 protected:
  /* Opens ACCOUNT in the order of the index on `orderField` (0: the primary index). When the
     table has no such index (the engine's box has been shown) no table is opened and the
     report prints its heading only. */
  TAccountWalkReport(const char* title, TRangeKind kind, int orderField);

  void LoadItems() override;
  void AccountLine(char* buffer, size_t size) override;

  /* Moves the walk to its first record; false when there is none. */
  virtual bool Position() = 0;
  /* Whether the walk ends at this entry, before the filter. */
  virtual bool EndsAt(const TAccountItem& item) const = 0;
  /* Whether the entry is listed (and what listing it changes). */
  virtual bool Admit(const TAccountItem& item) = 0;

  TPXTable* Table = nullptr;
  TPXRecord* Record = nullptr;
  TRangeKind RangeKind;
  int AccountKey;
  char DateFromText[kDateTextSize] = "";
  char DateToText[kDateTextSize] = "";
  TItemBatch<TAccountItem> Items;
};

#endif
