/*
** The Accounting commands of the main window's client that open the ledger dialogs: Disburse
** (over the front statement window's file), Post Deposits, and Default Account.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_COMMANDS_H
#define ZARNE_ACCOUNTING_LEDGER_COMMANDS_H

class TWindow;
class TMDIClient;

/* The disbursing dialog with `parent` (the main window) as parent, on the client's front
   statement window, or none. */
void RunDisburse(TWindow* parent, TMDIClient* client);
/* The posting dialog on the front statement window's file number, if any. */
void RunPostDeposits(TWindow* parent, TMDIClient* client);
/* Chooses the default bank account: gDefaultAccount and CHECKCTL field 2, the write checked. */
void RunDefaultAccount(TWindow* parent);

#endif
