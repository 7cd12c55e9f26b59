/*
** The fake statement window's fields.
*/
#include "script/tests/fake_binding.h"

#include "tableaccess/field_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

/* A misuse by the code under test: said and stopped, so a test or a fuzz run reports it. */
[[noreturn]] void Misuse(const char* what) {
  std::fprintf(stderr, "fake binding: %s\n", what);
  std::abort();
}

}  // namespace

FakeBinding::~FakeBinding() {
  ClearFieldList(&gRespaFieldList);
  ClearFieldList(&gOtherFieldList);
}

FakeField& FakeBinding::Add(FakeField field) {
  TFieldNode node;
  InitFieldNode(&node);
  std::strncpy(node.name, field.name.c_str(), kFieldNameSize - 1);
  node.displayKind = static_cast<std::uint16_t>(field.displayKind);
  node.tableIndex = static_cast<std::uint16_t>(fields_.size() % 14);
  node.fieldNumber = static_cast<std::uint16_t>(fields_.size() + 1);
  TFieldNode* listed =
      AppendField(field.statementList ? &gRespaFieldList : &gOtherFieldList, &node);
  auto& slot = fields_[listed];
  slot = std::make_unique<FakeField>(std::move(field));
  return *slot;
}

FakeField& FakeBinding::Field(const std::string& name) {
  for (auto& [node, field] : fields_)
    if (field->name == name) return *field;
  Misuse("a field the test did not add is named");
}

int FakeBinding::StoredCount(const std::string& name) const {
  auto it = stores_.find(name);
  return it == stores_.end() ? 0 : it->second;
}

FakeField& FakeBinding::Of(const TFieldNode* field) {
  auto it = fields_.find(field);
  if (it == fields_.end()) Misuse("only bound fields are named");
  return *it->second;
}

bool FakeBinding::ReadFieldText(const TFieldNode* field, char* buffer, int size) {
  if (!buffer || size <= 0) Misuse("a text field is read into a buffer of no size");
  CopyCut(Of(field).text, buffer, static_cast<unsigned>(size));
  return true;
}

bool FakeBinding::ReadFieldDouble(const TFieldNode* field, double* value) {
  *value = Of(field).real;
  return true;
}

bool FakeBinding::ReadFieldLong(const TFieldNode* field, LONG* value) {
  *value = Of(field).whole;
  return true;
}

bool FakeBinding::WriteFieldText(const TFieldNode* field, const char* text) {
  Of(field).text = text;
  return true;
}

bool FakeBinding::WriteFieldDouble(const TFieldNode* field, double value) {
  Of(field).real = value;
  return true;
}

bool FakeBinding::WriteFieldLong(const TFieldNode* field, LONG value) {
  Of(field).whole = value;
  return true;
}

void FakeBinding::FieldStored(const TFieldNode* field) {
  ++stores_[Of(field).name];
  if (afterStore) afterStore(Of(field));
}

void FakeBinding::FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) {
  FakeField& fake = Of(field);
  formatModes += mode ? mode : '0';
  CopyCut(fake.displayKind == 1 ? fake.text : std::to_string(fake.whole), out, size);
}

void FakeBinding::CopyCut(const std::string& text, char* out, unsigned size) {
  if (size == 0) return;
  if (!out) Misuse("a text is written into no buffer");
  std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}
