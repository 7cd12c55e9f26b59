/*
** The table catalogue: the one definition of the system's seventeen tables, each a ready-made
** engine creation descriptor with its field and index arrays. The creation library makes a
** missing table from it; the repair utility restructures a damaged table to it; every other
** module addresses fields by the numbers it fixes.
**
** The descriptors are constant data. Their pointer members are non-const only because the
** engine's struct declares them so; a caller that needs to change a descriptor (the repair
** utility hangs its restructure operations on one) copies it first.
*/
#ifndef ZARNE_CATALOGUE_TABLE_CATALOG_H
#define ZARNE_CATALOGUE_TABLE_CATALOG_H

#include "platform/engine/engine.h"

/* How many tables the catalogue holds. */
constexpr int kCatalogTableCount = 17;

/* One catalogue entry: the bare upper-case table name and its creation descriptor. */
struct CatalogEntry {
  char name[9];
  const EngineTableCreateDesc* desc;
};

/* The seventeen entries in catalogue order: BUYER, SELLER, LENDER, SAGENT, PROPERTY,
   SUMMARY1, SUMMARY2, EXPENSE1 to EXPENSE4, TITLEA, EXTRA, TITLEB, CHECKCTL, BANK, ACCOUNT. */
// Owner: catalogue.
extern const CatalogEntry kTableCatalog[kCatalogTableCount];

/* The catalogue position of a table named exactly (case-sensitive, no extension);
   -1 for a null pointer or a name the catalogue does not hold. */
int FindCatalogIndex(const char* name);

/* The creation descriptor of a table named exactly as above; null when there is none. */
const EngineTableCreateDesc* FindCatalogTable(const char* name);

#endif
