/*
** The editor commands: each runs its dialog modally with the client as parent.
*/
#include "accounting/ledger_editor_commands.h"

#include "accounting/account_editor.h"
#include "accounting/adjustment_table.h"
#include "accounting/bank_editor.h"
#include "accounting/bank_lists.h"

void RunBankEditor(TWindow* client) {
  {
    TBankEditor editor(client, kBankEditorTemplate);
    editor.Execute();
  }
  LoadBankLists();
}

void RunAdjustments(TWindow* client) {
  TAdjustmentTable dialog(client, kAdjustmentTableTemplate);
  dialog.Execute();
}

void RunAccountEditor(TWindow* client) {
  TAccountEditor editor(client, kAccountEditorTemplate);
  editor.Execute();
}
