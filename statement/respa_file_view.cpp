/*
** RespaWindow as the closing-file dialogs' view of the open file: its records, its number,
** its party texts and the template merge over its fields.
*/
#include "closingfile/closing_file_view.h"
#include "script/template_merge.h"
#include "statement/field_engine.h"
#include "statement/respa_window.h"

TWindow* RespaWindow::FileWindow() { return this; }

const char* RespaWindow::FileNumber() { return fileNumber; }

TPXRecord* RespaWindow::FileRecord(int table) {
  if (table < 0 || table >= kRespaRecordCount) return nullptr;
  return records[table];
}

void RespaWindow::JoinBuyerNames(char* out) {
  ::JoinBuyerNames(this, out, kClosingFilePartyTextSize);
}

void RespaWindow::JoinSellerNames(char* out) {
  ::JoinSellerNames(this, out, kClosingFilePartyTextSize);
}

/* A size below 1 leaves out as it is: there is no room even for the terminator. */
void RespaWindow::MergeTemplate(TWindow* promptOwner, const char* caption, const char* source,
                                char* out, int size) {
  if (size < 1) return;
  MergeTemplateText(promptOwner, this, caption, source, out, static_cast<unsigned>(size));
}
