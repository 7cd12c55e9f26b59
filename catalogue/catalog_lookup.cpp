/*
** Finding a table in the catalogue by its exact name, for the creation library, the repair
** utility and the tests.
*/
#include "catalogue/table_catalog.h"

#include <cstring>

int FindCatalogIndex(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < kCatalogTableCount; ++i) {
    if (std::strcmp(kTableCatalog[i].name, name) == 0) return i;
  }
  return -1;
}

const EngineTableCreateDesc* FindCatalogTable(const char* name) {
  int index = FindCatalogIndex(name);
  return index < 0 ? nullptr : kTableCatalog[index].desc;
}
