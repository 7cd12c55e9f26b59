/*
** The statement window's closing-file commands: Buyers, Sellers, Lender, Settlement Agent,
** Property, Schedule A and Tracking. Each commits the typed text of a statement field the
** dialog may write (so it is neither lost nor overwritten), runs the dialog over the file's
** records, and repaints and re-edits every statement field on the record fields it writes.
** Which fields those are comes from the field list, by table and field number.
*/
#include "closingfile/agent_dialogs.h"
#include "closingfile/closing_file_moves.h"
#include "closingfile/party_dialogs.h"
#include "closingfile/property_dialog.h"
#include "closingfile/schedule_a_dialog.h"
#include "closingfile/tracking_dialog.h"
#include "tableaccess/px_transaction.h"
#include "statement/field_advise.h"
#include "statement/field_engine.h"
#include "statement/recalculation_seam.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"

#include <memory>
#include <span>

namespace {

/* Record fields a dialog writes: a table and a range of field numbers. */
struct FieldRange {
  int table;
  int first;
  int last;
};
using WrittenFields = std::span<const FieldRange>;

bool Writes(WrittenFields written, const TFieldNode* field) {
  if (!field) return false;
  for (const FieldRange& range : written)
    if (field->tableIndex == range.table && field->fieldNumber >= range.first &&
        field->fieldNumber <= range.last)
      return true;
  return false;
}

bool IsFieldId(const TFieldNode* field, std::span<const int> ids) {
  if (!field) return false;
  for (int id : ids)
    if (field->fieldId == id) return true;
  return false;
}

/* Typed text of a field the dialog may write goes into the record first. */
bool CommitIfWritten(RespaWindow* view, WrittenFields written) {
  bool current = Writes(written, view->currentField);
  if (current) CommitFieldEdit(view);
  return current;
}

void RepaintWritten(RespaWindow* view, WrittenFields written) {
  for (TFieldNode* field = gRespaFieldList.head; field; field = field->next)
    if (Writes(written, field)) InvalidateField(view, field);
}

/* Posts the file's records BUYER to EXTRA; the edit line is left alone. */
void SaveFileRecords(RespaWindow* view) {
  if (!view->fileNumber[0]) return;
  TPXTransaction save;
  bool written = true;
  for (int index = 0; index < kFileRecordCount && written; ++index)
    if (view->records[index]) written = view->records[index]->Post();
  if (!written) return;  // taken back: the records stay unsaved
  // A refused commit has had its box and takes the writes back: the records stay unsaved.
  if (!save.Commit()) return;
}

void SaveAndAdvise(RespaWindow* view) {
  SaveFileRecords(view);
  PostFieldAdvise(view->frame, nullptr);
}

/* After the dialog: repaint what it wrote and reload the edit line from the record. */
void RepaintAndReedit(RespaWindow* view, WrittenFields written, bool current) {
  RepaintWritten(view, written);
  if (current) BeginFieldEdit(view);
}

constexpr FieldRange kBuyerFields[] = {{kBuyerTable, 2, 42}, {kSagentTable, 12, 15}};
constexpr FieldRange kSellerFields[] = {{kSellerTable, 2, 42}, {kSagentTable, 8, 11}};
constexpr FieldRange kLenderFields[] = {{kLenderTable, 5, 16}};
constexpr FieldRange kSagentFields[] = {{kSagentTable, 2, 7}, {kSagentTable, 16, 16}};
constexpr FieldRange kPropertyFields[] = {{kPropertyTable, 2, 9}};
constexpr FieldRange kTrackingFields[] = {{kSagentTable, 17, 23}};

/* The statement fields of the two policy amounts. */
constexpr int kPolicyAmountIds[] = {495, 497};

}  // namespace

/* The side's dialog writes the records itself; whatever its end, the file is saved. */
void RespaWindow::CmBuyers() {
  if (!records[kBuyerTable]) return;
  bool current = CommitIfWritten(this, kBuyerFields);
  {
    TBuyers dialog(this);
    dialog.Execute();
  }
  SaveAndAdvise(this);
  RepaintAndReedit(this, kBuyerFields, current);
}

void RespaWindow::CmSellers() {
  if (!records[kSellerTable]) return;
  bool current = CommitIfWritten(this, kSellerFields);
  {
    TSellers dialog(this);
    dialog.Execute();
  }
  SaveAndAdvise(this);
  RepaintAndReedit(this, kSellerFields, current);
}

void RespaWindow::CmLender() {
  if (!records[kLenderTable]) return;
  bool current = CommitIfWritten(this, kLenderFields);
  TLender dialog(this);
  TXferFill fill = FillLenderXfer(this);
  if (dialog.Execute() != IDOK) return;
  StoreLenderXfer(this, fill);
  RepaintAndReedit(this, kLenderFields, current);
  SaveAndAdvise(this);
}

void RespaWindow::CmSettlementAgent() {
  if (!records[kSagentTable]) return;
  bool current = CommitIfWritten(this, kSagentFields);
  TSagent dialog(this);
  TXferFill fill = FillSagentXfer(this);
  if (dialog.Execute() != IDOK) return;
  StoreSagentXfer(this, fill);
  RepaintAndReedit(this, kSagentFields, current);
  SaveAndAdvise(this);
}

void RespaWindow::CmProperty() {
  if (!records[kPropertyTable]) return;
  bool current = CommitIfWritten(this, kPropertyFields);
  auto block = std::make_unique<TPropertyXfer>();
  TXferFill fill = FillPropertyXfer(this, block.get());
  auto dialog = std::make_unique<TProperty>(this);
  dialog->SetTransferBuffer(block.get());
  if (dialog->Execute() != IDOK) return;
  StorePropertyXfer(this, block.get(), fill);
  SaveAndAdvise(this);
  RepaintAndReedit(this, kPropertyFields, current);
}

/* The two policy amounts are statement fields: their recalculation follows the dialog. */
void RespaWindow::CmScheduleA() {
  if (!records[kTitleATable] || !records[kExpense3Table]) return;
  bool current = IsFieldId(currentField, kPolicyAmountIds);
  if (current) CommitFieldEdit(this);
  TScheduleA dialog(this);
  TXferFill fill = FillScheduleAXfer(this);
  if (dialog.Execute() != IDOK) return;
  StoreScheduleAXfer(this, fill);
  for (int id : kPolicyAmountIds)
    if (TFieldNode* field = FindFieldByNumber(&gRespaFieldList, id))
      CallRecalcForField(this, field);
  SaveAndAdvise(this);
  for (int id : kPolicyAmountIds) InvalidateFieldById(this, id);
  if (current) BeginFieldEdit(this);
}

/* The dates reach the table with the window's next save. */
void RespaWindow::CmFileTracking() {
  if (!records[kSagentTable]) return;
  bool current = CommitIfWritten(this, kTrackingFields);
  auto block = std::make_unique<TTrackingXfer>();
  TXferFill fill = FillTrackingXfer(this, block.get());
  auto dialog = std::make_unique<TTracking>(this);
  dialog->SetTransferBuffer(block.get());
  if (dialog->Execute() != IDOK) return;
  StoreTrackingXfer(this, block.get(), fill);
  RepaintAndReedit(this, kTrackingFields, current);
}
