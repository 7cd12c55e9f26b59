/*
** Walking ACCOUNT for the check register and the ledger.
*/
#include "accounting/account_walk_report.h"

#include "accounting/account_transfers.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>

namespace {}

TAccountWalkReport::TAccountWalkReport(const char* title, TRangeKind kind, int orderField)
    : TRangeReport(title), RangeKind(kind), AccountKey(gReportRangeXfer.Accounts.GetSelIndex()) {
  FormatShortDate(DateFromText, gReportRangeXfer.DateFrom, sizeof DateFromText);
  FormatShortDate(DateToText, gReportRangeXfer.DateTo, sizeof DateToText);
  TPXTable* shared = gTables[kAccountTable];
  if (shared == nullptr || !shared->IsOpen()) return;
  SHORT index = 0;
  if (orderField != 0) {
    index = shared->IndexForField(orderField);
    if (index == 0) return;  // no such index: reading in key order would print wrong rows
  }
  Table = new TPXTable(shared->Name(), index);
  Record = new TPXRecord(Table, false);
}

TAccountWalkReport::~TAccountWalkReport() {
  delete Record;
  delete Table;
}

void TAccountWalkReport::AccountLine(char* buffer, size_t size) {
  std::snprintf(buffer, size, "%.49s", gReportRangeXfer.Accounts.GetSelection());
}

void TAccountWalkReport::LoadItems() {
  if (CurrentPage == 1) {
    Items.Clear();
    if (Record == nullptr || !Table->IsOpen() || !Position()) Done = true;
  } else {
    Items.DropFront(Consumed);
    Consumed = 0;
  }
  // The entry the walk stands on is read afresh for each page; from there each step reads
  // the next entry in the same call.
  if (!Done && !Record->Read(0)) Done = true;
  while (!Done && !Items.Full()) {
    TAccountItem item;
    if (!ReadAccountItem(*Record, item) || EndsAt(item)) {
      Done = true;
      break;
    }
    if (Admit(item)) Items.Add(item);
    if (!Record->ReadNext(0)) Done = true;
  }
  ItemCount = Items.Count();
}
