/*
** The four program-wide bank-account lists (in the account range, entry editor, report
** range and bank statement records), refilled from the BANK table. An account is named by
** its list position, which is its BANK key number, so the lists hold the records in key
** order and are never sorted.
*/
#ifndef ZARNE_ACCOUNTING_BANK_LISTS_H
#define ZARNE_ACCOUNTING_BANK_LISTS_H

/* The text listed for an account without a name. */
constexpr const char kUndefinedAccountName[] = "<undefined>";

/* Refills the four lists from the BANK records in key order, through the program-wide BANK
   record, and selects the default account in each. Called at start-up once the tables are
   open and after the bank editor ends with OK. An unreadable table leaves the lists empty. */
void LoadBankLists();

#endif
