/*
** The statement field layout against what the rest of the system relies on: every field id
** that the recalculation, the date move, the field editing, the printout, the DDE poke and
** the Schedule A dialog name is in the list, holding the table field they read or write,
** with a display kind that fits the catalogue's type.
*/
#include "hudform/field_layout.h"
#include "hudform/form_description.h"

#include "catalogue/table_catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

using namespace hudform;

namespace {

std::map<int, const StatementField*> ById() {
  std::map<int, const StatementField*> map;
  for (const StatementField& field : StatementFields()) map[field.id] = &field;
  return map;
}

/* Ids a to b inclusive. */
void AddRange(std::set<int>& ids, int a, int b) {
  for (int id = a; id <= b; ++id) ids.insert(id);
}

std::set<int> NamedIds() {
  std::set<int> ids;
  // The recalculation dispatch and its rules' repaints.
  AddRange(ids, 213, 214);
  AddRange(ids, 217, 234);
  AddRange(ids, 236, 245);
  AddRange(ids, 247, 266);
  AddRange(ids, 268, 278);
  AddRange(ids, 280, 305);
  for (int id = 307; id <= 319; id += 2) ids.insert(id);
  AddRange(ids, 320, 330);
  ids.insert(332);
  ids.insert(334);
  AddRange(ids, 336, 351);
  for (int id = 353; id <= 365; id += 2) ids.insert(id);
  AddRange(ids, 366, 380);
  AddRange(ids, 383, 468);
  AddRange(ids, 470, 471);
  AddRange(ids, 473, 494);
  AddRange(ids, 500, 508);
  AddRange(ids, 508, 556);
  AddRange(ids, 557, 576);
  AddRange(ids, 577, 639);
  // Editing: display-only, choice lists, upper-cased states, ready dates.
  for (int id : {101, 215, 243, 275, 320, 321, 322, 323, 325, 329, 330, 366, 367, 368, 369, 514,
                 515, 520, 521, 526, 527, 555, 556, 184, 379, 110, 151, 196, 203, 207, 212})
    ids.insert(id);
  // The printout: page 1, the address lines, the signature block.
  for (int id : {101, 108, 149, 194, 205, 102, 112, 122, 132, 143, 153, 163, 173, 109,
                 110, 111, 150, 151, 152, 195, 196, 197, 206, 207, 208, 202, 203, 204})
    ids.insert(id);
  AddRange(ids, 184, 187);
  AddRange(ids, 199, 201);
  AddRange(ids, 212, 219);
  AddRange(ids, 276, 288);
  AddRange(ids, 305, 319);
  AddRange(ids, 351, 365);
  // Schedule A.
  ids.insert(495);
  ids.insert(497);
  return ids;
}

/* Table and field number each id is tied to by the rules that read, write or repaint it. */
const std::map<int, std::pair<int, int>>& TiedFields() {
  static const std::map<int, std::pair<int, int>> tied = [] {
    std::map<int, std::pair<int, int>> m;
    auto tie = [&m](std::initializer_list<int> ids, int table, int field) {
      for (int id : ids) m[id] = {table, field};
    };
    tie({101}, kBuyerTable, 1);
    tie({102}, kBuyerTable, 2);
    tie({112}, kBuyerTable, 12);
    tie({122}, kBuyerTable, 22);
    tie({132}, kBuyerTable, 32);
    tie({143}, kSellerTable, 2);
    tie({153}, kSellerTable, 12);
    tie({163}, kSellerTable, 22);
    tie({173}, kSellerTable, 32);
    tie({109}, kBuyerTable, 9);
    tie({110}, kBuyerTable, 10);
    tie({111}, kBuyerTable, 11);
    tie({150}, kSellerTable, 9);
    tie({151}, kSellerTable, 10);
    tie({152}, kSellerTable, 11);
    tie({184}, kLenderTable, 2);
    tie({195}, kLenderTable, 13);
    tie({196}, kLenderTable, 14);
    tie({197}, kLenderTable, 15);
    tie({202}, kSagentTable, 5);
    tie({203}, kSagentTable, 6);
    tie({204}, kSagentTable, 7);
    tie({206}, kPropertyTable, 3);
    tie({207}, kPropertyTable, 4);
    tie({208}, kPropertyTable, 5);
    tie({212}, kSummary1Table, 2);
    tie({576}, kExtraTable, 20);
    tie({213, 244}, kSummary1Table, 3);
    tie({214, 245}, kSummary1Table, 4);
    tie({220, 252}, kSummary1Table, 15);
    tie({221, 253}, kSummary1Table, 16);
    tie({222, 254}, kSummary1Table, 17);
    tie({223, 255}, kSummary1Table, 18);
    tie({224, 256}, kSummary1Table, 19);
    tie({225, 257}, kSummary1Table, 20);
    tie({226, 258}, kSummary1Table, 21);
    tie({229, 261}, kSummary1Table, 24);
    tie({230, 262}, kSummary1Table, 25);
    tie({231, 263}, kSummary1Table, 26);
    tie({234, 266}, kSummary1Table, 29);
    tie({291, 337}, kSummary2Table, 28);
    tie({292, 338}, kSummary2Table, 29);
    tie({293, 339}, kSummary2Table, 30);
    tie({294, 340}, kSummary2Table, 31);
    tie({295, 341}, kSummary2Table, 32);
    tie({296, 342}, kSummary2Table, 33);
    tie({297, 343}, kSummary2Table, 34);
    tie({300, 346}, kSummary2Table, 37);
    tie({301, 347}, kSummary2Table, 38);
    tie({302, 348}, kSummary2Table, 39);
    tie({305, 351}, kSummary2Table, 42);
    tie({243, 321}, kSummary1Table, 38);
    tie({275, 367}, kSummary1Table, 39);
    tie({320, 322}, kSummary2Table, 57);
    tie({366, 368}, kSummary2Table, 58);
    tie({323}, kSummary2Table, 59);
    tie({369}, kSummary2Table, 60);
    tie({332}, kSummary2Table, 19);
    tie({276}, kSummary2Table, 2);
    tie({277}, kSummary2Table, 4);
    tie({278, 326}, kSummary2Table, 5);
    tie({324}, kSummary2Table, 3);
    tie({290, 336}, kSummary2Table, 25);
    tie({329, 379}, kSummary2Table, 14);
    tie({330, 380}, kSummary2Table, 15);
    tie({370}, kExpense1Table, 2);
    tie({371}, kExpense1Table, 3);
    tie({372}, kExpense1Table, 4);
    tie({373}, kExpense1Table, 5);
    tie({375}, kExpense1Table, 7);
    tie({377}, kExpense1Table, 9);
    tie({378}, kExpense1Table, 10);
    tie({383}, kExpense1Table, 15);
    tie({384}, kExpense1Table, 16);
    tie({385}, kExpense1Table, 17);
    tie({386}, kExpense1Table, 18);
    tie({387}, kExpense1Table, 19);
    tie({388}, kExpense1Table, 20);
    tie({557}, kExpense1Table, 55);
    tie({558}, kExpense1Table, 56);
    tie({423}, kExpense2Table, 2);
    tie({424}, kExpense2Table, 3);
    tie({425}, kExpense2Table, 4);
    tie({426}, kExpense2Table, 5);
    tie({427}, kExpense2Table, 6);
    const int reserveFields[] = {24, 27, 30, 33, 36, 39, 43, 47};
    const int reserveIds[] = {445, 448, 451, 454, 457, 460, 464, 468};
    for (int i = 0; i < 8; ++i) {
      tie({reserveIds[i]}, kExpense2Table, reserveFields[i]);
      tie({563 + i}, kExtraTable, 6 + i);
    }
    tie({465}, kExpense2Table, 44);
    tie({466}, kExpense2Table, 45);
    tie({467}, kExpense2Table, 46);
    tie({571}, kExtraTable, 15);
    tie({572}, kExtraTable, 16);
    tie({573}, kExtraTable, 17);
    tie({574}, kExtraTable, 18);
    tie({575}, kExtraTable, 19);
    tie({488}, kExpense3Table, 21);
    tie({492}, kExpense3Table, 25);
    tie({495}, kExpense3Table, 28);
    tie({497}, kExpense3Table, 30);
    for (int i = 0; i < 20; ++i) tie({508 + i}, kExpense4Table, 2 + i);  // lines 1201 to 1203
    tie({555, 215}, kExpense4Table, 49);
    tie({556, 325}, kExpense4Table, 50);
    // Paid-outside-closing amounts of the printout's special rows.
    const int pocIds[] = {390, 394, 397, 401, 404, 408, 412, 416, 420};
    const int pocFields[] = {22, 26, 29, 33, 36, 40, 44, 48, 52};
    for (int i = 0; i < 9; ++i) tie({pocIds[i]}, kExpense1Table, pocFields[i]);
    for (int i = 0; i < 9; ++i) tie({578 + 4 * i}, kExpense1Table, 58 + 4 * i);
    // Column sums of the extended lines.
    tie({617}, kExpense2Table, 52);
    tie({618}, kExtraTable, 14);
    tie({626}, kExpense4Table, 52);
    tie({627}, kExpense4Table, 53);
    tie({632}, kExpense4Table, 58);
    tie({633}, kExpense4Table, 59);
    return m;
  }();
  return tied;
}

bool KindFitsType(int kind, const EngineFieldDesc& desc) {
  switch (kind) {
    case kKindText:
    case kKindChoice: return desc.type == ENGINE_FLD_STRING || desc.type == ENGINE_FLD_BLOB;
    case kKindMoney: return desc.type == ENGINE_FLD_FLOAT && desc.subtype == ENGINE_FLDSUB_MONEY;
    case kKindWhole:
    case kKindDecimal:
    case 6:
      return (desc.type == ENGINE_FLD_FLOAT && desc.subtype != ENGINE_FLDSUB_MONEY) ||
             desc.type == ENGINE_FLD_INT16;
    case kKindDate: return desc.type == ENGINE_FLD_DATE;
    default: return false;
  }
}

}  // namespace

TEST(StatementFields, EveryNamedIdIsPresentWithAFittingKind) {
  const auto byId = ById();
  for (int id : NamedIds()) {
    auto it = byId.find(id);
    ASSERT_NE(it, byId.end()) << "id " << id;
    const StatementField& field = *it->second;
    ASSERT_LT(field.tableIndex, kFileTableCount) << "id " << id;
    const EngineTableCreateDesc* table = kTableCatalog[field.tableIndex].desc;
    ASSERT_GE(field.fieldNumber, 1) << "id " << id;
    ASSERT_LE(field.fieldNumber, table->fieldCount) << "id " << id;
    const EngineFieldDesc& desc = table->fields[field.fieldNumber - 1];
    EXPECT_TRUE(KindFitsType(field.kind, desc)) << "id " << id << " kind " << field.kind;
    EXPECT_STREQ(field.name, desc.name) << "id " << id;
  }
}

TEST(StatementFields, IdsHoldTheFieldsTheirRulesUse) {
  const auto byId = ById();
  for (const auto& [id, where] : TiedFields()) {
    auto it = byId.find(id);
    ASSERT_NE(it, byId.end()) << "id " << id;
    EXPECT_EQ(it->second->tableIndex, where.first) << "id " << id;
    EXPECT_EQ(it->second->fieldNumber, where.second) << "id " << id;
  }
}

TEST(StatementFields, PartnersShowTheSameValue) {
  const auto byId = ById();
  auto same = [&byId](int a, int b) {
    ASSERT_TRUE(byId.count(a) && byId.count(b)) << a << "/" << b;
    EXPECT_EQ(byId.at(a)->tableIndex, byId.at(b)->tableIndex) << a << "/" << b;
    EXPECT_EQ(byId.at(a)->fieldNumber, byId.at(b)->fieldNumber) << a << "/" << b;
  };
  same(213, 244);
  same(214, 245);
  for (int id = 220; id <= 242; ++id) same(id, id + 32);
  same(278, 326);
  for (int id = 290; id <= 319; ++id) same(id, id + 46);
  same(329, 379);
  same(330, 380);
  same(555, 215);
  same(556, 325);
}

TEST(StatementFields, KindsFollowTheEditingRules) {
  const auto byId = ById();
  for (int id : {184, 379, 509, 511, 513, 517, 519, 523, 525})
    EXPECT_EQ(byId.at(id)->kind, kKindChoice) << id;
  EXPECT_EQ(byId.at(212)->kind, kKindDate);
  EXPECT_EQ(byId.at(213)->kind, kKindMoney);
  EXPECT_EQ(byId.at(223)->kind, kKindWhole);    // days in the period
  EXPECT_EQ(byId.at(371)->kind, kKindDecimal);  // commission percentage
  EXPECT_EQ(byId.at(425)->kind, kKindDecimal);  // interest per day
  // Text fields are limited to their stored length.
  EXPECT_EQ(byId.at(102)->kind, kKindText);
  EXPECT_EQ(byId.at(102)->textLimit, 60);
  EXPECT_EQ(byId.at(110)->textLimit, 3);
  EXPECT_EQ(byId.at(609)->textLimit, 38);  // S820 is shorter than its neighbours
}

TEST(StatementFields, IdsAreUniqueAndNamesFitTheNodes) {
  std::set<int> seen;
  for (const StatementField& field : StatementFields()) {
    EXPECT_TRUE(seen.insert(field.id).second) << "duplicate id " << field.id;
    ASSERT_NE(field.name, nullptr) << field.id;
    EXPECT_LE(std::strlen(field.name), 25u) << field.id;
    EXPECT_GT(field.id, 0);
  }
}

TEST(OtherFields, HoldEveryFileFieldTheStatementDoesNotShow) {
  std::set<std::pair<int, int>> statement;
  for (const StatementField& f : StatementFields()) statement.insert({f.tableIndex, f.fieldNumber});
  std::set<std::pair<int, int>> other;
  for (const OtherField& f : OtherFields()) {
    EXPECT_FALSE(statement.count({f.tableIndex, f.fieldNumber})) << f.name << " is in both lists";
    EXPECT_TRUE(other.insert({f.tableIndex, f.fieldNumber}).second) << f.name;
    EXPECT_STREQ(f.name, CatalogueName(f.tableIndex, f.fieldNumber));
  }
  for (int table = 0; table < kFileTableCount; ++table) {
    for (int number = 2; number <= CatalogueFieldCount(table); ++number)
      EXPECT_TRUE(statement.count({table, number}) || other.count({table, number}))
          << "table " << table << " field " << number << " is in neither list";
  }
  auto find = [](const char* name) -> const OtherField* {
    for (const OtherField& f : OtherFields())
      if (std::strcmp(f.name, name) == 0) return &f;
    return nullptr;
  };
  ASSERT_NE(find("PID"), nullptr);
  EXPECT_EQ(find("PID")->tableIndex, kPropertyTable);
  EXPECT_EQ(find("PID")->fieldNumber, 9);
  ASSERT_NE(find("TICommitDate"), nullptr);
  EXPECT_EQ(find("TICommitDate")->kind, kKindDate);
  ASSERT_NE(find("PLEGAL"), nullptr);
  EXPECT_EQ(find("PLEGAL")->kind, kKindText);
}
