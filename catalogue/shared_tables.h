/*
** The shared tables' order: the program opens these sixteen tables of the catalogue into one
** set (gTables), and a closing file's records, the statement's fields and the form's cells
** name their table by its place in it. The one definition of those places.
*/
#ifndef ZARNE_CATALOGUE_SHARED_TABLES_H
#define ZARNE_CATALOGUE_SHARED_TABLES_H

#include <cstdint>

/* The places of the shared tables, in the set's fixed order. */
enum SharedTable : std::uint8_t {
  kBuyerTable,
  kSellerTable,
  kLenderTable,
  kSagentTable,
  kPropertyTable,
  kSummary1Table,
  kSummary2Table,
  kExpense1Table,
  kExpense2Table,
  kExpense3Table,
  kExpense4Table,
  kTitleATable,
  kExtraTable,
  kTitleBTable,
  kAccountTable,
  kBankTable
};
constexpr int kSharedTableCount = kBankTable + 1;
/* A closing file's tables, BUYER to TITLEB: one record of each per file but TITLEB, which
   holds many (the title items). */
constexpr int kFileTableCount = kTitleBTable + 1;

#endif
