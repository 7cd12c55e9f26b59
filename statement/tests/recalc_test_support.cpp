/*
** The recalculation tests' tables, records, field list and buffer view.
*/
#include "statement/tests/recalc_test_support.h"

#include "catalogue/tabgen32.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "platform/kernel/modules.h"
#include "script/script_globals.h"
#include "statement/recalc_dispatch.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <cstring>

namespace {

TPXRecord* RecordOf(BufferView& view, const TFieldNode* field) {
  return field ? view.Record(static_cast<SHORT>(field->tableIndex)) : nullptr;
}

}  // namespace

TPXRecord* BufferView::Record(int tableIndex) {
  return tableIndex >= 0 && tableIndex < kFileTableCount ? records[tableIndex] : nullptr;
}

bool BufferView::ReadFieldText(const TFieldNode* field, char* buffer, int size) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->GetString(field->fieldNumber, buffer, size);
}
bool BufferView::ReadFieldDouble(const TFieldNode* field, double* value) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->GetDouble(field->fieldNumber, *value);
}
bool BufferView::ReadFieldLong(const TFieldNode* field, LONG* value) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->GetLong(field->fieldNumber, *value);
}
bool BufferView::WriteFieldText(const TFieldNode* field, const char* text) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->SetString(field->fieldNumber, text);
}
bool BufferView::WriteFieldDouble(const TFieldNode* field, double value) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->SetDouble(field->fieldNumber, value);
}
bool BufferView::WriteFieldLong(const TFieldNode* field, LONG value) {
  TPXRecord* record = RecordOf(*this, field);
  return record && record->SetLong(field->fieldNumber, value);
}
void BufferView::FieldStored(const TFieldNode* field) {
  repainted.push_back(field->fieldId);
  RecalcForField(*this, field);
}

namespace {

std::string FieldValueText(TPXRecord& record, int t, int f) {
  const EngineFieldDesc* desc = record.Table()->FieldDesc(f);
  char text[512] = "";
  if (desc->type == ENGINE_FLD_FLOAT) {
    double value = 0;
    record.GetDouble(f, value);
    std::snprintf(text, sizeof text, "%a", value);
  } else if (desc->type == ENGINE_FLD_DATE || desc->type == ENGINE_FLD_INT32 ||
             desc->type == ENGINE_FLD_INT16) {
    LONG value = 0;
    record.GetLong(f, value);
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  } else if (desc->type == ENGINE_FLD_STRING) {
    record.GetString(f, text, sizeof text);
  }
  return std::to_string(t) + "." + std::to_string(f) + "=" + text;
}

}  // namespace

Snapshot TakeSnapshot(RecalcView& view) {
  Snapshot all;
  for (int t = 0; t < kTitleBTable; ++t) {
    TPXRecord* record = view.Record(t);
    if (!record) continue;
    for (int f = 2; f <= record->Table()->FieldCount(); ++f)
      all.push_back(FieldValueText(*record, t, f));
  }
  for (int which = 0; which < kSubtotalCount; ++which) all.push_back(view.Subtotal(which).ToText());
  return all;
}

std::string SnapshotDiff(const Snapshot& a, const Snapshot& b) {
  std::string out;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) out += a[i] + " -> " + b[i] + "; ";
  return out;
}

void TypeIntoControl(HWND dialog, int id, const std::string& text) {
  SetFocus(FindControl(dialog, id));
  SendMessage(FindControl(dialog, id), EM_SETSEL, 0, -1);
  TypeIntoDialog(dialog, text);
  PumpDialogMessages(dialog);
}

void EnsureStatementFieldList() {
  if (FirstField(&gRespaFieldList)) return;
  HMODULE layout = LoadLibrary("stmlay32.dll");
  ASSERT_NE(layout, nullptr);
  auto count = reinterpret_cast<GetFieldCountProc>(GetProcAddress(layout, "GetRespaFieldCount"));
  auto get = reinterpret_cast<GetRespaFieldProc>(GetProcAddress(layout, "GetRespaField"));
  ASSERT_GT(AppendRespaRecords(&gRespaFieldList, count, get), 500);
  FreeLibrary(layout);
}

void StatementTablesTest::SetUp() {
  GuiTest::SetUp();
  EnsureStatementFieldList();
  RegisterScriptGlobals();
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", "C:\\ZARNE");
  CreateDirectory(gDatabaseDir, nullptr);
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(gDatabaseDir);
  for (int i = 0; i < kFileTableCount; ++i) {
    ASSERT_EQ(_CreateZarneTable(gDatabase, kSharedTableNames[i], gDatabaseDir), 1)
        << kSharedTableNames[i];
    tables.push_back(std::make_unique<TPXTable>(kSharedTableNames[i], 0));
    ASSERT_TRUE(tables.back()->IsOpen()) << kSharedTableNames[i];
    recordStore.push_back(std::make_unique<TPXRecord>(tables.back().get(), true));
    view.records[i] = recordStore.back().get();
    view.records[i]->SetString(1, "F-100");
  }
  ASSERT_TRUE(Shown().empty()) << Shown()[0].text;
}

void StatementTablesTest::TearDown() {
  for (TPXRecord*& record : view.records) record = nullptr;
  recordStore.clear();
  tables.clear();
  PXExit();
  GuiTest::TearDown();
}

const TFieldNode* StatementTablesTest::Field(int id) {
  const TFieldNode* node = FindFieldByNumber(&gRespaFieldList, id);
  EXPECT_NE(node, nullptr) << "no statement field " << id;
  return node;
}

const TFieldNode* StatementTablesTest::FieldNamed(const char* name) {
  const TFieldNode* node = FindFieldByName(&gRespaFieldList, name);
  EXPECT_NE(node, nullptr) << "no statement field " << name;
  return node;
}

double StatementTablesTest::Double(int table, int field) {
  double value = -12345;
  EXPECT_TRUE(Rec(table).GetDouble(field, value));
  return value;
}

LONG StatementTablesTest::Long(int table, int field) {
  LONG value = -12345;
  EXPECT_TRUE(Rec(table).GetLong(field, value));
  return value;
}

std::string StatementTablesTest::Text(int table, int field) {
  char text[256] = "";
  EXPECT_TRUE(Rec(table).GetString(field, text, sizeof text));
  return text;
}

void StatementTablesTest::SetById(int id, double value) {
  const TFieldNode* node = Field(id);
  if (!node) return;
  if (node->displayKind == 7 || node->displayKind == 4)
    SetLong(node->tableIndex, node->fieldNumber, static_cast<LONG>(value));
  else SetDouble(node->tableIndex, node->fieldNumber, value);
}
