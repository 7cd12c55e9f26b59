/*
** The tables every module's tests start from, made as start-up makes them: the engine
** session, the sixteen shared tables created fresh with the creation library in a directory
** and opened into the program-wide table set, and the program-wide ACCOUNT and BANK records.
** One set-up for the test fixtures of every module, so they cannot drift apart.
*/
#ifndef ZARNE_TABLEACCESS_TESTS_SUPPORT_SHARED_TABLES_H
#define ZARNE_TABLEACCESS_TESTS_SUPPORT_SHARED_TABLES_H

#include <string>

/* Starts the engine session (with a private directory when one is given), makes the tables
   in `directory`, opens them into gTables and sets gDatabaseDir. Answers "" or what failed. */
std::string OpenFreshSharedTables(const char* directory, const char* privateDirectory = nullptr);
/* The program-wide ACCOUNT and BANK records over the open tables. */
void OpenSharedRecords();
/* Deletes the records (when open) and the tables, and ends the session. */
void CloseSharedTables();

#endif
