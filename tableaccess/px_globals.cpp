/*
** The program-wide table set, records, file number and directories.
*/
#include "tableaccess/px_globals.h"

const char* const kSharedTableNames[kSharedTableCount] = {
    "BUYER",    "SELLER",   "LENDER",   "SAGENT", "PROPERTY", "SUMMARY1", "SUMMARY2", "EXPENSE1",
    "EXPENSE2", "EXPENSE3", "EXPENSE4", "TITLEA", "EXTRA",    "TITLEB",   "ACCOUNT",  "BANK"};

TPXTable* gTables[kSharedTableCount] = {};
TPXRecord* gAccountRecord = nullptr;
TPXRecord* gBankRecord = nullptr;
char gFileNumber[16] = {};
char gDatabaseDir[MAX_PATH] = {};
char gCheckCtlDir[MAX_PATH] = {};
SHORT gDefaultAccount = 0;
COLORREF gGridColorSets[kGridColorSetCount][kGridColorsPerSet] = {};
