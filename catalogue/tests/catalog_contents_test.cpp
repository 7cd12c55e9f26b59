/*
** The catalogue's contents: the seventeen tables in order, the type make-up of each table,
** a sample of the fields other modules address by number, and every table's keys.
*/
#include "catalogue/table_catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

/* One table's expected shape: field count, counts per type, sum of its string lengths,
   and its primary key (key fields 1..keyFields, key length, block size; 0 for none). */
struct TableShape {
  const char* name;
  int fields, strings, money, floats, dates, shorts, memos, stringCharacters;
  int keyFields, keyLength, blockSize;
};

constexpr TableShape kShapes[kCatalogTableCount] = {
    {"BUYER", 42, 42, 0, 0, 0, 0, 0, 1278, 1, 15, 4096},
    {"SELLER", 42, 42, 0, 0, 0, 0, 0, 1278, 1, 15, 4096},
    {"LENDER", 16, 16, 0, 0, 0, 0, 0, 538, 1, 15, 2048},
    {"SAGENT", 23, 17, 0, 0, 6, 0, 0, 280, 1, 15, 2048},
    {"PROPERTY", 9, 7, 0, 1, 0, 0, 1, 126, 1, 15, 2048},
    {"SUMMARY1", 39, 10, 19, 3, 7, 0, 0, 240, 1, 15, 2048},
    {"SUMMARY2", 60, 18, 33, 3, 6, 0, 0, 440, 1, 15, 4096},
    {"EXPENSE1", 92, 20, 69, 3, 0, 0, 0, 773, 1, 15, 4096},
    {"EXPENSE2", 52, 9, 29, 12, 2, 0, 0, 335, 1, 15, 2048},
    {"EXPENSE3", 46, 16, 30, 0, 0, 0, 0, 575, 1, 15, 4096},
    {"EXPENSE4", 65, 22, 43, 0, 0, 0, 0, 582, 1, 15, 4096},
    {"TITLEA", 16, 7, 0, 4, 5, 0, 0, 90, 1, 15, 2048},
    {"EXTRA", 20, 7, 12, 0, 1, 0, 0, 295, 1, 15, 4096},
    {"TITLEB", 5, 3, 0, 1, 0, 0, 1, 18, 3, 25, 2048},
    {"CHECKCTL", 2, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0},
    {"BANK", 8, 3, 2, 0, 2, 1, 0, 100, 1, 2, 2048},
    {"ACCOUNT", 10, 4, 1, 2, 1, 2, 0, 136, 3, 24, 2048},
};

/* Counts a table's fields by type into shape; an unknown type/subtype pair fails. */
TableShape ShapeOf(const CatalogEntry& entry) {
  TableShape shape{entry.name, entry.desc->fieldCount, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < entry.desc->fieldCount; ++i) {
    const EngineFieldDesc& field = entry.desc->fields[i];
    int kind = field.type * 100 + field.subtype;
    switch (kind) {
      case ENGINE_FLD_STRING * 100:
        ++shape.strings;
        shape.stringCharacters += field.units1;
        break;
      case ENGINE_FLD_FLOAT * 100 + ENGINE_FLDSUB_MONEY: ++shape.money; break;
      case ENGINE_FLD_FLOAT * 100: ++shape.floats; break;
      case ENGINE_FLD_DATE * 100: ++shape.dates; break;
      case ENGINE_FLD_INT16 * 100: ++shape.shorts; break;
      case ENGINE_FLD_BLOB * 100 + ENGINE_FLDSUB_MEMO: ++shape.memos; break;
      default: ADD_FAILURE() << entry.name << " field " << i + 1 << " kind " << kind;
    }
  }
  return shape;
}

}  // namespace

TEST(TableCatalog, HoldsTheSeventeenTablesInOrderWithTheirTypeMakeup) {
  TableShape total{"all", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < kCatalogTableCount; ++i) {
    const CatalogEntry& entry = kTableCatalog[i];
    const TableShape& expected = kShapes[i];
    SCOPED_TRACE(expected.name);
    EXPECT_STREQ(entry.name, expected.name);
    ASSERT_NE(entry.desc, nullptr);
    EXPECT_STREQ(entry.desc->name, expected.name);
    TableShape shape = ShapeOf(entry);
    EXPECT_EQ(shape.fields, expected.fields);
    EXPECT_EQ(shape.strings, expected.strings);
    EXPECT_EQ(shape.money, expected.money);
    EXPECT_EQ(shape.floats, expected.floats);
    EXPECT_EQ(shape.dates, expected.dates);
    EXPECT_EQ(shape.shorts, expected.shorts);
    EXPECT_EQ(shape.memos, expected.memos);
    EXPECT_EQ(shape.stringCharacters, expected.stringCharacters);
    total.fields += shape.fields;
    total.strings += shape.strings;
    total.money += shape.money;
    total.floats += shape.floats;
    total.dates += shape.dates;
    total.shorts += shape.shorts;
    total.memos += shape.memos;
  }
  EXPECT_EQ(total.fields, 547);
  EXPECT_EQ(total.strings, 243);
  EXPECT_EQ(total.money, 238);
  EXPECT_EQ(total.floats, 30);
  EXPECT_EQ(total.dates, 30);
  EXPECT_EQ(total.shorts, 4);
  EXPECT_EQ(total.memos, 2);
}

TEST(TableCatalog, FieldsAreNumberedInOrderUniquelyNamedAndLeaveLayoutToTheEngine) {
  for (const CatalogEntry& entry : kTableCatalog) {
    std::set<std::string> names;
    bool perFile = std::strcmp(entry.name, "CHECKCTL") != 0 && std::strcmp(entry.name, "BANK") != 0;
    EXPECT_EQ(std::string(entry.desc->fields[0].name) == "FileNum", perFile) << entry.name;
    for (int i = 0; i < entry.desc->fieldCount; ++i) {
      const EngineFieldDesc& field = entry.desc->fields[i];
      SCOPED_TRACE(std::string(entry.name) + "." + field.name);
      EXPECT_EQ(field.fieldNumber, i + 1);
      EXPECT_TRUE(names.insert(field.name).second) << "duplicate name";
      int expectedUnits = field.type == ENGINE_FLD_STRING ? field.units1
                          : field.type == ENGINE_FLD_BLOB ? 240
                                                          : 1;
      EXPECT_EQ(field.units1, expectedUnits);
      EXPECT_EQ(field.units2 | field.offset | field.length | field.nullOffset | field.calculated,
                0);
      EXPECT_EQ(field.validityCheck | field.rights, 0u);
    }
  }
}

TEST(TableCatalog, SampleOfFieldsAddressedByNumber) {
  struct Expected {
    const char* table;
    int number;
    const char* name;
    WORD type, subtype;
    SHORT units1;
  } const expected[] = {
      {"BUYER", 1, "FileNum", ENGINE_FLD_STRING, 0, 15},
      {"BUYER", 42, "BESTATE", ENGINE_FLD_STRING, 0, 75},
      {"SAGENT", 21, "TRACKDATE6", ENGINE_FLD_DATE, 0, 1},
      {"PROPERTY", 6, "PLEGAL", ENGINE_FLD_BLOB, ENGINE_FLDSUB_MEMO, 240},
      {"SUMMARY1", 18, "PA106DAYS", ENGINE_FLD_FLOAT, 0, 1},
      {"EXPENSE1", 89, "S820", ENGINE_FLD_STRING, 0, 38},
      {"EXPENSE3", 30, "A1110", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1},
      {"EXPENSE4", 3, "P1201D", ENGINE_FLD_STRING, 0, 1},
      {"TITLEA", 10, "TIOwnerORPage", ENGINE_FLD_FLOAT, 0, 1},
      {"EXTRA", 20, "DDATE", ENGINE_FLD_DATE, 0, 1},
      {"TITLEB", 4, "Text", ENGINE_FLD_BLOB, ENGINE_FLDSUB_MEMO, 240},
      {"CHECKCTL", 2, "Account", ENGINE_FLD_INT16, 0, 1},
      {"BANK", 1, "KeyNumber", ENGINE_FLD_INT16, 0, 1},
      {"ACCOUNT", 7, "Date", ENGINE_FLD_DATE, 0, 1},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(std::string(e.table) + " field " + std::to_string(e.number));
    const EngineTableCreateDesc* desc = FindCatalogTable(e.table);
    ASSERT_NE(desc, nullptr);
    ASSERT_LE(e.number, desc->fieldCount);
    const EngineFieldDesc& field = desc->fields[e.number - 1];
    EXPECT_STREQ(field.name, e.name);
    EXPECT_EQ(field.type, e.type);
    EXPECT_EQ(field.subtype, e.subtype);
    EXPECT_EQ(field.units1, e.units1);
  }
}

TEST(TableCatalog, PrimaryKeysAndTheirLengths) {
  for (int i = 0; i < kCatalogTableCount; ++i) {
    const EngineTableCreateDesc& desc = *kTableCatalog[i].desc;
    const TableShape& expected = kShapes[i];
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(desc.fieldOps, nullptr);
    EXPECT_EQ(desc.indexOps, nullptr);
    if (expected.keyFields == 0) {
      EXPECT_EQ(desc.indexCount, 0);
      EXPECT_EQ(desc.indexes, nullptr);
      continue;
    }
    EXPECT_EQ(desc.indexCount, std::strcmp(expected.name, "ACCOUNT") == 0 ? 3 : 1);
    const EngineIndexDesc& primary = desc.indexes[0];
    EXPECT_STREQ(primary.name, "");
    EXPECT_EQ(primary.primary + primary.unique + primary.maintained, 3);
    EXPECT_EQ(WORD(primary.caseInsensitive), 0);
    EXPECT_EQ(WORD(primary.keyFieldCount), expected.keyFields);
    EXPECT_EQ(WORD(primary.keyLength), expected.keyLength);
    EXPECT_EQ(WORD(primary.blockSize), expected.blockSize);
    // Key fields are 1..n; the length is their width (string characters, 8 per float, 2 per
    // 16-bit integer).
    int width = 0;
    for (int k = 0; k < 16; ++k) {
      EXPECT_EQ(WORD(primary.keyFields[k]), k < expected.keyFields ? k + 1 : 0);
      if (k >= expected.keyFields) continue;
      const EngineFieldDesc& key = desc.fields[k];
      width += key.type == ENGINE_FLD_STRING ? key.units1 : key.type == ENGINE_FLD_FLOAT ? 8 : 2;
    }
    EXPECT_EQ(width, expected.keyLength);
  }
}

TEST(TableCatalogLookup, FindsTablesByExactNameOnly) {
  EXPECT_EQ(FindCatalogIndex("BUYER"), 0);
  EXPECT_EQ(FindCatalogIndex("ACCOUNT"), 16);
  EXPECT_EQ(FindCatalogTable("CHECKCTL"), kTableCatalog[14].desc);
  for (const char* name : {"buyer", "BUYER.DB", "BUYERS", ""})
    EXPECT_EQ(FindCatalogIndex(name), -1);
  EXPECT_EQ(FindCatalogIndex(nullptr), -1);
  EXPECT_EQ(FindCatalogTable("NOSUCH"), nullptr);
}
