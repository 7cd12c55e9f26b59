/*
** TPXTable: opening a table or query answer, its descriptors, index lookup and closing.
*/
#include "tableaccess/px_table.h"

#include "tableaccess/engine_session.h"

#include <cstring>

namespace {

constexpr const char* kDriver = "PARADOX";
/* Open arguments: read-write, shared so other programs may open the table too. */
constexpr DWORD kOpenReadWrite = 0;
constexpr DWORD kTranslateMode = 2;

char* CopyName(LPCSTR name) {
  size_t length = std::strlen(name);
  char* copy = new char[length + 1];
  std::memcpy(copy, name, length + 1);
  return copy;
}

}  // namespace

TPXTable::TPXTable(LPCSTR name, SHORT indexId) {
  EngineCursor cursor = nullptr;
  if (!PXCheck(EngineOpenTable(gDatabase, name, kDriver, nullptr, nullptr,
                               static_cast<WORD>(indexId), kOpenReadWrite, ENGINE_SHARE_SHARED,
                               kTranslateMode, FALSE, nullptr, &cursor)))
    return;
  cursor_ = cursor;
  /* A table whose layout is unknown cannot size a record buffer: it counts as not opened. */
  if (!LoadDescriptors()) {
    Close();
    return;
  }
  name_ = CopyName(name ? name : "");
}

TPXTable::TPXTable(EngineCursor answer) : cursor_(answer) {}

TPXTable::~TPXTable() {
  delete[] name_;
  delete props_;
  delete[] fieldDescs_;
  Close();
}

bool TPXTable::LoadDescriptors() {
  props_ = new EngineCursorProps{};
  if (!PXCheck(EngineGetCursorProps(cursor_, props_))) {
    delete props_;
    props_ = nullptr;
    return false;
  }
  props_->name[sizeof props_->name - 1] = '\0';
  fieldDescs_ = new EngineFieldDesc[props_->fieldCount + 1]{};
  if (!PXCheck(EngineGetFieldDescs(cursor_, fieldDescs_))) {
    delete[] fieldDescs_;
    fieldDescs_ = nullptr;
    delete props_;
    props_ = nullptr;
    return false;
  }
  return true;
}

TPXTable* TPXTable::QueryQBE(LPCSTR qbeText) {
  EngineCursor answer = nullptr;
  if (!PXCheck(EngineExecQuery(gDatabase, ENGINE_QUERY_QBE, qbeText, &answer))) return nullptr;
  TPXTable* table = new TPXTable(answer);
  if (table->LoadDescriptors()) return table;
  delete table;  // closes the answer cursor
  return nullptr;
}

SHORT TPXTable::IndexForField(int field) {
  EngineIndexDesc index{};
  if (!PXCheck(EngineGetIndexForField(cursor_, static_cast<WORD>(field), FALSE, &index))) return 0;
  return static_cast<SHORT>(index.indexId);
}

WORD TPXTable::FieldCount() const {
  /* Without descriptors no field can be reached, so the count is 0 as well. */
  return (props_ != nullptr && fieldDescs_ != nullptr) ? props_->fieldCount : 0;
}

WORD TPXTable::RecordSize() const { return props_ != nullptr ? props_->recordSize : 0; }

const EngineFieldDesc* TPXTable::FieldDesc(int field) const {
  if (field < 1 || field > FieldCount()) return nullptr;
  return &fieldDescs_[field - 1];
}

LPCSTR TPXTable::EngineName() const { return props_ != nullptr ? props_->name : ""; }

void TPXTable::Close() {
  if (cursor_ == nullptr) return;
  EngineCursor cursor = cursor_;
  if (PXCheck(EngineCloseCursor(&cursor))) cursor_ = nullptr;
}
