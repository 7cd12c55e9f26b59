/*
** The program-wide table set and records, and the current file number and directories.
** Start-up fills them and shutdown deletes them: the two records before the tables.
*/
#ifndef ZARNE_TABLEACCESS_PX_GLOBALS_H
#define ZARNE_TABLEACCESS_PX_GLOBALS_H

#include "catalogue/shared_tables.h"
#include "platform/kernel/wintypes.h"

class TPXTable;
class TPXRecord;

/* The sixteen shared tables, in the order of catalogue/shared_tables.h, each opened by name
   in primary order. */
extern const char* const kSharedTableNames[kSharedTableCount];
// Owner: tableaccess; the shell opens them at start-up and deletes them at shutdown.
extern TPXTable* gTables[kSharedTableCount];

/* Records over ACCOUNT and BANK that share their table's cursor. */
// Owner: tableaccess; the shell makes and deletes them with the tables.
extern TPXRecord* gAccountRecord;
extern TPXRecord* gBankRecord;

/* The current file number: up to 15 characters. */
// Owner: tableaccess; the file-number dialog's callers set it, disbursing clears it.
extern char gFileNumber[16];
/* The database and check-control directories: up to 259 characters each. */
// Owner: tableaccess.
extern char gDatabaseDir[MAX_PATH];
extern char gCheckCtlDir[MAX_PATH];

/* The default bank account: a BANK key number, read from CHECKCTL at start-up and
   preselected in every bank-account list. */
// Owner: tableaccess; read by the shell at start-up, changed by accounting's Default Account.
extern SHORT gDefaultAccount;

/* The grids' three colour sets, each background, text, selected background and selected
   text; the application fills them and the accounting dialogs hand them to their grids. */
constexpr int kGridColorSetCount = 3;
constexpr int kGridColorsPerSet = 4;
// Owner: tableaccess.
extern COLORREF gGridColorSets[kGridColorSetCount][kGridColorsPerSet];

#endif
