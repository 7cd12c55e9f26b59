/*
** The recalculation tests' ground: a fresh root with the fourteen statement tables created
** through the catalogue, one record buffer over each, the statement field list loaded from
** its layout library, and a view over those buffers that records what it repaints and
** binds field scripts to the buffers as the statement window does.
*/
#ifndef ZARNE_STATEMENT_TESTS_RECALC_TEST_SUPPORT_H
#define ZARNE_STATEMENT_TESTS_RECALC_TEST_SUPPORT_H

#include "platform/testing/gui_test.h"
#include "script/script_field_binding.h"
#include "statement/recalc_view.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <memory>
#include <string>
#include <vector>

struct TFieldNode;

/* Statement view over bare record buffers. */
class BufferView : public RecalcView, public TScriptFieldBinding {
 public:
  TPXRecord* records[kFileTableCount] = {};
  ScriptDecimal subtotals[kSubtotalCount];
  std::vector<int> repainted;

  TPXRecord* Record(int tableIndex) override;
  ScriptDecimal& Subtotal(int which) override { return subtotals[which]; }
  void RepaintFieldById(int fieldId) override { repainted.push_back(fieldId); }
  HWND BoxOwner() override { return nullptr; }
  TScriptFieldBinding* ScriptOwner() override { return this; }

  HWND ScriptOwnerWindow() override { return nullptr; }
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override;
  bool ReadFieldDouble(const TFieldNode* field, double* value) override;
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override;
  bool WriteFieldText(const TFieldNode* field, const char* text) override;
  bool WriteFieldDouble(const TFieldNode* field, double value) override;
  bool WriteFieldLong(const TFieldNode* field, LONG value) override;
  /* Repaints and recalculates for the stored field, as the window's write-back does. */
  void FieldStored(const TFieldNode* field) override;
};

class StatementTablesTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* The statement field with this id (the test fails when the list lacks it). */
  static const TFieldNode* Field(int id);
  static const TFieldNode* FieldNamed(const char* name);
  TPXRecord& Rec(int table) { return *view.records[table]; }

  double Double(int table, int field);
  LONG Long(int table, int field);
  std::string Text(int table, int field);
  void SetDouble(int table, int field, double value) { Rec(table).SetDouble(field, value); }
  void SetLong(int table, int field, LONG value) { Rec(table).SetLong(field, value); }
  void SetText(int table, int field, const char* text) { Rec(table).SetString(field, text); }
  /* Stores a value by field id, as a commit of the field's kind would. */
  void SetById(int id, double value);

  const std::vector<MessageBoxRequest>& Shown() { return Boxes().Shown(); }

  BufferView view;
  std::vector<std::unique_ptr<TPXTable>> tables;
  std::vector<std::unique_ptr<TPXRecord>> recordStore;
};

/* Every field of the thirteen file records and the twelve subtotals, as text. */
using Snapshot = std::vector<std::string>;
Snapshot TakeSnapshot(RecalcView& view);
/* The entries that differ, "table.field=before -> after; ...". */
std::string SnapshotDiff(const Snapshot& before, const Snapshot& after);

/* Replaces a dialog control's text by real key input, as a user types it. */
void TypeIntoControl(HWND dialog, int id, const std::string& text);

/* The statement field list, loaded once for the test program. */
void EnsureStatementFieldList();

#endif
