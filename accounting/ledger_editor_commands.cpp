/*
** The editor commands: each runs its dialog modally with the client as parent.
*/
#include "accounting/ledger_editor_commands.h"

#include "accounting/bank_editor.h"
#include "accounting/bank_lists.h"

void RunBankEditor(TWindow* client) {
  {
    TBankEditor editor(client, kBankEditorTemplate);
    editor.Execute();
  }
  LoadBankLists();
}
