/*
** The rebuild catalogue's rows. The descriptors are the table catalogue's own, found by
** name, so the utility restructures every table to the one definition the creation
** library makes it from.
*/
#include "rebuild/rebuild_catalog.h"

#include "catalogue/table_catalog.h"

#include <cstring>

const RebuildEntry kRebuildCatalog[kRebuildTableCount] = {
    {"BUYER", "BUYBU", "BUYVIOL", "BUYPROB", FindCatalogTable("BUYER")},
    {"SELLER", "SELBU", "SELVIOL", "SELPROB", FindCatalogTable("SELLER")},
    {"LENDER", "LENBU", "LENVIOL", "LENPROB", FindCatalogTable("LENDER")},
    {"SAGENT", "SABU", "SAVIOL", "SAPROB", FindCatalogTable("SAGENT")},
    {"PROPERTY", "PROBU", "PROVIOL", "PROPROB", FindCatalogTable("PROPERTY")},
    {"SUMMARY1", "SM1BU", "SM1VIOL", "SM1PROB", FindCatalogTable("SUMMARY1")},
    {"SUMMARY2", "SM2BU", "SM2VIOL", "SM2PROB", FindCatalogTable("SUMMARY2")},
    {"EXPENSE1", "EX1BU", "EX1VIOL", "EX1PROB", FindCatalogTable("EXPENSE1")},
    {"EXPENSE2", "EX2BU", "EX2VIOL", "EX2PROB", FindCatalogTable("EXPENSE2")},
    {"EXPENSE3", "EX3BU", "EX3VIOL", "EX3PROB", FindCatalogTable("EXPENSE3")},
    {"EXPENSE4", "EX4BU", "EX4VIOL", "EX4PROB", FindCatalogTable("EXPENSE4")},
    {"EXTRA", "EXABU", "EXAVIOL", "EXAPROB", FindCatalogTable("EXTRA")},
    {"TITLEA", "TIABU", "TIAVIOL", "TIAPROB", FindCatalogTable("TITLEA")},
    {"TITLEB", "TIBBU", "TIBVIOL", "TIBPROB", FindCatalogTable("TITLEB")},
    {"CHECKCTL", "CHCBU", "CHCVIOL", "CHCPROB", FindCatalogTable("CHECKCTL")},
    {"BANK", "BNKBU", "BNKVIOL", "BNKPROB", FindCatalogTable("BANK")},
    {"ACCOUNT", "ACTBU", "ACTVIOL", "ACTPROB", FindCatalogTable("ACCOUNT")},
};

const RebuildEntry* FindRebuildEntry(const char* name) {
  if (!name) return nullptr;
  for (const RebuildEntry& entry : kRebuildCatalog) {
    if (std::strcmp(entry.tableName, name) == 0) return &entry;
  }
  return nullptr;
}
