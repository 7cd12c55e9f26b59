/*
** The Accounting menu's editor commands of the main window's client: the adjustments list,
** the account editor and the bank editor, each a modal dialog over the client.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_EDITOR_COMMANDS_H
#define ZARNE_ACCOUNTING_LEDGER_EDITOR_COMMANDS_H

class TWindow;

void RunAdjustments(TWindow* client);
void RunAccountEditor(TWindow* client);
/* The bank editor, then the program's account lists reloaded: also after Cancel, since a
   Cancel may follow an OK that saved some keys and failed on others. */
void RunBankEditor(TWindow* client);

#endif
