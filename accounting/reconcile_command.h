/*
** The Reconcile command: the bank statement information, its values written to the
** account's BANK record, then the reconcile dialog.
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_COMMAND_H
#define ZARNE_ACCOUNTING_RECONCILE_COMMAND_H

class TWindow;

void RunReconcileCommand(TWindow* client);

#endif
