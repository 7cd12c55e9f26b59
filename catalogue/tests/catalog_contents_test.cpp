/*
** The catalogue's contents: the seventeen tables in order, the type make-up of each table,
** the fields other modules address by number, and every table's keys.
*/
#include "catalogue/table_catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

/* Field type make-up of one table: counts per kind and the sum of its string lengths. */
struct TableMakeup {
  const char* name;
  int strings, money, floats, dates, shorts, memos, stringCharacters;
};

constexpr TableMakeup kExpectedMakeup[kCatalogTableCount] = {
    {"BUYER", 42, 0, 0, 0, 0, 0, 1278},    {"SELLER", 42, 0, 0, 0, 0, 0, 1278},
    {"LENDER", 16, 0, 0, 0, 0, 0, 538},    {"SAGENT", 17, 0, 0, 6, 0, 0, 280},
    {"PROPERTY", 7, 0, 1, 0, 0, 1, 126},   {"SUMMARY1", 10, 19, 3, 7, 0, 0, 240},
    {"SUMMARY2", 18, 33, 3, 6, 0, 0, 440}, {"EXPENSE1", 20, 69, 3, 0, 0, 0, 773},
    {"EXPENSE2", 9, 29, 12, 2, 0, 0, 335}, {"EXPENSE3", 16, 30, 0, 0, 0, 0, 575},
    {"EXPENSE4", 22, 43, 0, 0, 0, 0, 582}, {"TITLEA", 7, 0, 4, 5, 0, 0, 90},
    {"EXTRA", 7, 12, 0, 1, 0, 0, 295},     {"TITLEB", 3, 0, 1, 0, 0, 1, 18},
    {"CHECKCTL", 0, 0, 1, 0, 1, 0, 0},     {"BANK", 3, 2, 0, 2, 1, 0, 100},
    {"ACCOUNT", 4, 1, 2, 1, 2, 0, 136},
};

TableMakeup MakeupOf(const CatalogEntry& entry) {
  TableMakeup makeup{entry.name, 0, 0, 0, 0, 0, 0, 0};
  const EngineTableCreateDesc& desc = *entry.desc;
  for (int i = 0; i < desc.fieldCount; ++i) {
    const EngineFieldDesc& field = desc.fields[i];
    if (field.type == ENGINE_FLD_STRING && field.subtype == 0) {
      ++makeup.strings;
      makeup.stringCharacters += field.units1;
    } else if (field.type == ENGINE_FLD_FLOAT && field.subtype == ENGINE_FLDSUB_MONEY) {
      ++makeup.money;
    } else if (field.type == ENGINE_FLD_FLOAT && field.subtype == 0) {
      ++makeup.floats;
    } else if (field.type == ENGINE_FLD_DATE && field.subtype == 0) {
      ++makeup.dates;
    } else if (field.type == ENGINE_FLD_INT16 && field.subtype == 0) {
      ++makeup.shorts;
    } else if (field.type == ENGINE_FLD_BLOB && field.subtype == ENGINE_FLDSUB_MEMO) {
      ++makeup.memos;
    } else {
      ADD_FAILURE() << entry.name << " field " << i + 1 << " has type " << field.type
                    << " subtype " << field.subtype;
    }
  }
  return makeup;
}

const EngineFieldDesc& Field(const char* table, int number) {
  const EngineTableCreateDesc* desc = FindCatalogTable(table);
  EXPECT_NE(desc, nullptr) << table;
  EXPECT_GE(number, 1);
  EXPECT_LE(number, desc->fieldCount);
  return desc->fields[number - 1];
}

}  // namespace

TEST(TableCatalog, HoldsTheSeventeenTablesInCatalogueOrderWithTheirFieldCounts) {
  const char* names[kCatalogTableCount] = {
      "BUYER",    "SELLER",   "LENDER",   "SAGENT", "PROPERTY", "SUMMARY1",
      "SUMMARY2", "EXPENSE1", "EXPENSE2", "EXPENSE3", "EXPENSE4", "TITLEA",
      "EXTRA",    "TITLEB",   "CHECKCTL", "BANK",   "ACCOUNT"};
  const int fieldCounts[kCatalogTableCount] = {42, 42, 16, 23, 9,  39, 60, 92, 52,
                                               46, 65, 16, 20, 5,  2,  8,  10};
  for (int i = 0; i < kCatalogTableCount; ++i) {
    const CatalogEntry& entry = gTableCatalog[i];
    EXPECT_STREQ(entry.name, names[i]);
    ASSERT_NE(entry.desc, nullptr);
    EXPECT_STREQ(entry.desc->name, names[i]);
    EXPECT_EQ(entry.desc->fieldCount, fieldCounts[i]) << names[i];
    EXPECT_STREQ(entry.desc->driverType, "PARADOX");
    EXPECT_STREQ(entry.desc->errorTableName, "__TUERR.DB");
    EXPECT_STREQ(entry.desc->userName, "");
    EXPECT_STREQ(entry.desc->password, "");
    EXPECT_EQ(entry.desc->fieldOps, nullptr);
    EXPECT_EQ(entry.desc->indexOps, nullptr);
    // The entry's name buffer is NUL-padded to its full nine bytes.
    for (size_t c = std::strlen(entry.name); c < sizeof entry.name; ++c) EXPECT_EQ(entry.name[c], 0);
  }
}

TEST(TableCatalog, CountsFieldsByTypeAcrossAllTables) {
  TableMakeup total{"all", 0, 0, 0, 0, 0, 0, 0};
  int fields = 0;
  for (const CatalogEntry& entry : gTableCatalog) {
    TableMakeup makeup = MakeupOf(entry);
    total.strings += makeup.strings;
    total.money += makeup.money;
    total.floats += makeup.floats;
    total.dates += makeup.dates;
    total.shorts += makeup.shorts;
    total.memos += makeup.memos;
    fields += entry.desc->fieldCount;
  }
  EXPECT_EQ(fields, 547);
  EXPECT_EQ(total.strings, 243);
  EXPECT_EQ(total.money, 238);
  EXPECT_EQ(total.floats, 30);
  EXPECT_EQ(total.dates, 30);
  EXPECT_EQ(total.shorts, 4);
  EXPECT_EQ(total.memos, 2);
}

TEST(TableCatalog, EachTableHasItsTypeMakeupAndStringLengths) {
  for (int i = 0; i < kCatalogTableCount; ++i) {
    const TableMakeup& expected = kExpectedMakeup[i];
    TableMakeup actual = MakeupOf(gTableCatalog[i]);
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(actual.strings, expected.strings);
    EXPECT_EQ(actual.money, expected.money);
    EXPECT_EQ(actual.floats, expected.floats);
    EXPECT_EQ(actual.dates, expected.dates);
    EXPECT_EQ(actual.shorts, expected.shorts);
    EXPECT_EQ(actual.memos, expected.memos);
    EXPECT_EQ(actual.stringCharacters, expected.stringCharacters);
  }
}

TEST(TableCatalog, FieldsAreNumberedInOrderWithDistinctNamesAndEngineFilledPartsZero) {
  for (const CatalogEntry& entry : gTableCatalog) {
    std::set<std::string> names;
    for (int i = 0; i < entry.desc->fieldCount; ++i) {
      const EngineFieldDesc& field = entry.desc->fields[i];
      SCOPED_TRACE(std::string(entry.name) + "." + field.name);
      EXPECT_EQ(field.fieldNumber, i + 1);
      EXPECT_TRUE(names.insert(field.name).second) << "duplicate field name";
      EXPECT_GT(std::strlen(field.name), 0u);
      // Only strings and memos carry a length; every other type has 1.
      if (field.type != ENGINE_FLD_STRING && field.type != ENGINE_FLD_BLOB) {
        EXPECT_EQ(field.units1, 1);
      }
      if (field.type == ENGINE_FLD_BLOB) {
        EXPECT_EQ(field.units1, 240);
      }
      EXPECT_EQ(field.units2, 0);
      EXPECT_EQ(field.offset, 0);
      EXPECT_EQ(field.length, 0);
      EXPECT_EQ(field.nullOffset, 0);
      EXPECT_EQ(field.validityCheck, 0u);
      EXPECT_EQ(field.rights, 0u);
      EXPECT_EQ(field.calculated, 0);
    }
  }
}

TEST(TableCatalog, FieldOneIsTheFileNumberExceptInCheckControlAndBank) {
  for (const CatalogEntry& entry : gTableCatalog) {
    const EngineFieldDesc& first = entry.desc->fields[0];
    if (std::strcmp(entry.name, "CHECKCTL") == 0 || std::strcmp(entry.name, "BANK") == 0) {
      EXPECT_STRNE(first.name, "FileNum");
      continue;
    }
    EXPECT_STREQ(first.name, "FileNum") << entry.name;
    EXPECT_EQ(first.type, ENGINE_FLD_STRING);
    EXPECT_EQ(first.units1, 15);
  }
}

TEST(TableCatalog, FieldsOtherModulesAddressByNumber) {
  struct Expected {
    const char* table;
    int number;
    const char* name;
    WORD type;
    WORD subtype;
    SHORT units1;
  };
  const Expected expected[] = {
      {"BUYER", 42, "BESTATE", ENGINE_FLD_STRING, 0, 75},
      {"SELLER", 32, "S4NAME", ENGINE_FLD_STRING, 0, 60},
      {"LENDER", 14, "LSTATE", ENGINE_FLD_STRING, 0, 2},
      {"SAGENT", 21, "TRACKDATE6", ENGINE_FLD_DATE, 0, 1},
      {"SAGENT", 23, "TRACKREF1", ENGINE_FLD_STRING, 0, 5},
      {"PROPERTY", 6, "PLEGAL", ENGINE_FLD_BLOB, ENGINE_FLDSUB_MEMO, 240},
      {"PROPERTY", 8, "PTAXYEAR", ENGINE_FLD_FLOAT, 0, 1},
      {"SUMMARY1", 2, "CDATE", ENGINE_FLD_DATE, 0, 1},
      {"SUMMARY1", 18, "PA106DAYS", ENGINE_FLD_FLOAT, 0, 1},
      {"SUMMARY2", 60, "A603", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"EXPENSE1", 55, "PC801", ENGINE_FLD_FLOAT, 0, 1},
      {"EXPENSE1", 89, "S820", ENGINE_FLD_STRING, 0, 38},
      {"EXPENSE2", 52, "A1009B", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"EXPENSE3", 21, "S1107Y", ENGINE_FLD_STRING, 0, 20},
      {"EXPENSE3", 30, "A1110", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"EXPENSE4", 3, "P1201D", ENGINE_FLD_STRING, 0, 1},
      {"EXPENSE4", 65, "A1310S", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"TITLEA", 10, "TIOwnerORPage", ENGINE_FLD_FLOAT, 0, 1},
      {"EXTRA", 20, "DDATE", ENGINE_FLD_DATE, 0, 1},
      {"TITLEB", 4, "Text", ENGINE_FLD_BLOB, ENGINE_FLDSUB_MEMO, 240},
      {"CHECKCTL", 2, "Account", ENGINE_FLD_INT16, 0, 1},
      {"BANK", 1, "KeyNumber", ENGINE_FLD_INT16, 0, 1},
      {"BANK", 8, "LastEndBalance", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"ACCOUNT", 6, "Status", ENGINE_FLD_INT16, 0, 1},
      {"ACCOUNT", 7, "Date", ENGINE_FLD_DATE, 0, 1},
      {"ACCOUNT", 10, "Amount", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
  };
  for (const Expected& e : expected) {
    const EngineFieldDesc& field = Field(e.table, e.number);
    SCOPED_TRACE(std::string(e.table) + " field " + std::to_string(e.number));
    EXPECT_STREQ(field.name, e.name);
    EXPECT_EQ(field.type, e.type);
    EXPECT_EQ(field.subtype, e.subtype);
    EXPECT_EQ(field.units1, e.units1);
  }
}

TEST(TableCatalog, PrimaryKeysOfEveryIndexedTable) {
  for (const CatalogEntry& entry : gTableCatalog) {
    const EngineTableCreateDesc& desc = *entry.desc;
    SCOPED_TRACE(entry.name);
    if (std::strcmp(entry.name, "CHECKCTL") == 0) {
      EXPECT_EQ(desc.indexCount, 0);
      EXPECT_EQ(desc.indexes, nullptr);
      continue;
    }
    ASSERT_NE(desc.indexes, nullptr);
    const EngineIndexDesc& primary = desc.indexes[0];
    EXPECT_STREQ(primary.name, "");
    EXPECT_EQ(primary.indexId, 0);
    EXPECT_EQ(primary.primary, 1);
    EXPECT_EQ(primary.unique, 1);
    EXPECT_EQ(primary.maintained, 1);
    EXPECT_EQ(primary.caseInsensitive, 0);
    EXPECT_EQ(primary.keyFields[0], 1);
    bool threeFieldKey = std::strcmp(entry.name, "TITLEB") == 0 || std::strcmp(entry.name, "ACCOUNT") == 0;
    if (threeFieldKey) {
      EXPECT_EQ(primary.keyFieldCount, 3);
      EXPECT_EQ(primary.keyFields[1], 2);
      EXPECT_EQ(primary.keyFields[2], 3);
    } else {
      EXPECT_EQ(primary.keyFieldCount, 1);
      EXPECT_EQ(primary.keyFields[1], 0);
    }
    // The key length is the byte width of the key fields: strings count their characters,
    // a float eight bytes, a 16-bit integer two.
    int width = 0;
    for (int k = 0; k < primary.keyFieldCount; ++k) {
      const EngineFieldDesc& key = desc.fields[primary.keyFields[k] - 1];
      width += key.type == ENGINE_FLD_STRING ? key.units1 : key.type == ENGINE_FLD_FLOAT ? 8 : 2;
    }
    EXPECT_EQ(primary.keyLength, width);
    EXPECT_EQ(desc.indexCount, std::strcmp(entry.name, "ACCOUNT") == 0 ? 3 : 1);
  }
}

TEST(TableCatalog, BlockSizesAndKeyLengthsOfThePrimaryIndexes) {
  const int blockSizes[kCatalogTableCount] = {4096, 4096, 2048, 2048, 2048, 2048, 4096, 4096, 2048,
                                              4096, 4096, 2048, 4096, 2048, 0,    2048, 2048};
  const int keyLengths[kCatalogTableCount] = {15, 15, 15, 15, 15, 15, 15, 15, 15,
                                              15, 15, 15, 15, 25, 0,  2,  24};
  for (int i = 0; i < kCatalogTableCount; ++i) {
    const EngineTableCreateDesc& desc = *gTableCatalog[i].desc;
    if (desc.indexCount == 0) continue;
    EXPECT_EQ(desc.indexes[0].blockSize, blockSizes[i]) << gTableCatalog[i].name;
    EXPECT_EQ(desc.indexes[0].keyLength, keyLengths[i]) << gTableCatalog[i].name;
  }
}

TEST(TableCatalog, AccountHasTwoCaseInsensitiveNonUniqueLookups) {
  const EngineTableCreateDesc* account = FindCatalogTable("ACCOUNT");
  ASSERT_NE(account, nullptr);
  ASSERT_EQ(account->indexCount, 3);
  struct Lookup {
    const char* name;
    WORD field;
    WORD keyLength;
  } lookups[] = {{"AcctDate", 7, 4}, {"AcctNumber", 4, 8}};
  for (int i = 0; i < 2; ++i) {
    const EngineIndexDesc& index = account->indexes[i + 1];
    SCOPED_TRACE(lookups[i].name);
    EXPECT_STREQ(index.name, lookups[i].name);
    EXPECT_EQ(index.indexId, 0);
    EXPECT_EQ(index.primary, 0);
    EXPECT_EQ(index.unique, 0);
    EXPECT_EQ(index.maintained, 1);
    EXPECT_EQ(index.caseInsensitive, 1);
    EXPECT_EQ(index.keyFieldCount, 1);
    EXPECT_EQ(index.keyFields[0], lookups[i].field);
    EXPECT_EQ(index.keyLength, lookups[i].keyLength);
    EXPECT_EQ(index.blockSize, 2048);
  }
}

TEST(TableCatalogLookup, FindsTablesByExactNameOnly) {
  EXPECT_EQ(FindCatalogIndex("BUYER"), 0);
  EXPECT_EQ(FindCatalogIndex("ACCOUNT"), 16);
  EXPECT_EQ(FindCatalogTable("CHECKCTL"), gTableCatalog[14].desc);
  EXPECT_EQ(FindCatalogIndex("buyer"), -1);
  EXPECT_EQ(FindCatalogIndex("BUYER.DB"), -1);
  EXPECT_EQ(FindCatalogIndex("BUYERS"), -1);
  EXPECT_EQ(FindCatalogIndex(""), -1);
  EXPECT_EQ(FindCatalogIndex(nullptr), -1);
  EXPECT_EQ(FindCatalogTable("NOSUCH"), nullptr);
}
