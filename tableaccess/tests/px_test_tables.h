/*
** Shared set-up of the table tests: a started engine session over the test's fresh private
** root, two small tables of the tests' own making, and every message box recorded.
*/
#ifndef ZARNE_TABLEACCESS_TESTS_PX_TEST_TABLES_H
#define ZARNE_TABLEACCESS_TESTS_PX_TEST_TABLES_H

#include "platform/engine/engine.h"
#include "platform/testing/gui_test.h"
#include "platform/user/message_box.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace pxtest {

/* ITEMS: one record per file number, one field of each supported kind. */
enum ItemField {
  kFileNum = 1,
  kName,
  kAmount,
  kCount,
  kTotal,
  kWhen,
  kNotes,
  kRatio,
  kRaw,
  kItemFieldCount = kRaw
};
/* LEDGER: many records per file, keyed by file number and sequence. */
enum LedgerField {
  kLedgerFileNum = 1,
  kLedgerSeq,
  kLedgerAmount,
  kLedgerFieldCount = kLedgerAmount
};

inline EngineFieldDesc Field(WORD number, const char* name, WORD type, WORD subtype, SHORT units1) {
  EngineFieldDesc desc{};
  desc.fieldNumber = number;
  std::strncpy(desc.name, name, sizeof desc.name - 1);
  desc.type = type;
  desc.subtype = subtype;
  desc.units1 = units1;
  return desc;
}

inline EngineIndexDesc PrimaryIndex(WORD keyFieldCount) {
  EngineIndexDesc index{};
  index.primary = 1;
  index.unique = 1;
  index.maintained = 1;
  index.keyFieldCount = keyFieldCount;
  for (WORD k = 0; k < keyFieldCount; ++k) index.keyFields[k] = k + 1;
  index.blockSize = 2048;
  return index;
}

inline EngineResult CreateTable(const char* name, std::vector<EngineFieldDesc> fields,
                                EngineIndexDesc index) {
  EngineTableCreateDesc desc{};
  std::strncpy(desc.name, name, sizeof desc.name - 1);
  std::strcpy(desc.driverType, "PARADOX");
  desc.fieldCount = static_cast<WORD>(fields.size());
  desc.fields = fields.data();
  desc.indexCount = 1;
  desc.indexes = &index;
  return EngineCreateTable(gDatabase, FALSE, &desc);
}

class TablesTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    PXInit();
    PXOpenDatabase();
    PXSetDirectory(Root().c_str());
    ASSERT_EQ(0u, Shown().size()) << Shown()[0].text;
    ASSERT_EQ(ENGINE_OK, CreateTable("ITEMS",
                                     {Field(1, "FileNum", ENGINE_FLD_STRING, 0, 15),
                                      Field(2, "Name", ENGINE_FLD_STRING, 0, 20),
                                      Field(3, "Amount", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1),
                                      Field(4, "Count", ENGINE_FLD_INT16, 0, 1),
                                      Field(5, "Total", ENGINE_FLD_INT32, 0, 1),
                                      Field(6, "When", ENGINE_FLD_DATE, 0, 1),
                                      Field(7, "Notes", ENGINE_FLD_BLOB, ENGINE_FLDSUB_MEMO, 240),
                                      Field(8, "Ratio", ENGINE_FLD_FLOAT, 0, 1),
                                      Field(9, "Raw", ENGINE_FLD_BLOB, 0, 1)},
                                     PrimaryIndex(1)));
    ASSERT_EQ(ENGINE_OK, CreateTable("LEDGER",
                                     {Field(1, "FileNum", ENGINE_FLD_STRING, 0, 15),
                                      Field(2, "Seq", ENGINE_FLD_INT32, 0, 1),
                                      Field(3, "Amount", ENGINE_FLD_FLOAT, ENGINE_FLDSUB_MONEY, 1)},
                                     PrimaryIndex(2)));
  }

  void TearDown() override {
    PXExit();
    GuiTest::TearDown();
  }

  /* The boxes shown so far in this test. */
  const std::vector<MessageBoxRequest>& Shown() { return Boxes().Shown(); }

  /* Inserts a LEDGER record. */
  static void AddLedger(TPXRecord& record, const char* file, LONG seq, double amount) {
    record.Clear();
    record.SetString(kLedgerFileNum, file);
    record.SetLong(kLedgerSeq, seq);
    record.SetDouble(kLedgerAmount, amount);
    ASSERT_TRUE(record.Post());
  }

  static std::string Text(TPXRecord& record, int field) {
    char buffer[256] = {};
    EXPECT_TRUE(record.GetString(field, buffer, sizeof buffer));
    return buffer;
  }
};

}  // namespace pxtest

#endif
