/*
** The fuzz targets' field binding: values kept in memory per field.
*/
#include "fuzz/fuzz_binding.h"

#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstring>

namespace {

struct BoundField {
  const char* name;
  std::uint16_t kind;
  bool statementList;
  const char* text;
  double real;
  LONG whole;
};

const BoundField kFields[kFuzzFieldCount] = {
    {"Buyer", kFieldKindText, true, "Ann Smith", 0, 0},
    {"Terms", kFieldKindChoice, true, "Cash", 0, 0},
    {"A101", kFieldKindMoney, true, "", 1234.56, 0},
    {"Count", kFieldKindWhole, true, "", 0, 3},
    {"Rate", kFieldKindDecimal, true, "", 0.0625, 0},
    {"Rate2", kFieldKindDecimal2, true, "", 12.5, 0},
    {"CDATE", kFieldKindDate, true, "", 0, 730657},
    {"Shown", kFieldKindShownText, true, "as shown", 0, 0},
    {"Lender", kFieldKindText, false, "First Bank", 0, 0},
    {"L201", kFieldKindMoney, false, "", -0.01, 0},
};

}  // namespace

void FuzzBinding::Install() {
  for (size_t i = 0; i < kFuzzFieldCount; ++i) {
    TFieldNode node;
    InitFieldNode(&node);
    std::strncpy(node.name, kFields[i].name, kFieldNameSize - 1);
    node.displayKind = kFields[i].kind;
    node.tableIndex = static_cast<std::uint16_t>(i % 14);
    node.fieldNumber = static_cast<std::uint16_t>(i + 1);
    nodes_[i] = AppendField(kFields[i].statementList ? &gRespaFieldList : &gOtherFieldList, &node);
  }
}

void FuzzBinding::Restore() {
  for (size_t i = 0; i < kFuzzFieldCount; ++i) {
    texts_[i] = kFields[i].text;
    reals_[i] = kFields[i].real;
    wholes_[i] = kFields[i].whole;
  }
}

bool FuzzBinding::ReadFieldText(const TFieldNode* field, char* buffer, int size) {
  FuzzRequire(size > 0, "a text field is read into a buffer");
  std::string text = texts_[Index(field)].substr(0, size_t(size) - 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

bool FuzzBinding::ReadFieldDouble(const TFieldNode* field, double* value) {
  *value = reals_[Index(field)];
  return true;
}

bool FuzzBinding::ReadFieldLong(const TFieldNode* field, LONG* value) {
  *value = wholes_[Index(field)];
  return true;
}

bool FuzzBinding::WriteFieldText(const TFieldNode* field, const char* text) {
  texts_[Index(field)] = text;
  return true;
}

bool FuzzBinding::WriteFieldDouble(const TFieldNode* field, double value) {
  reals_[Index(field)] = value;
  return true;
}

bool FuzzBinding::WriteFieldLong(const TFieldNode* field, LONG value) {
  wholes_[Index(field)] = value;
  return true;
}

void FuzzBinding::FormatFieldText(const TFieldNode* field, char* out, unsigned size, char) {
  FuzzRequire(out != nullptr && size > 0, "field text is formatted into a buffer");
  size_t i = Index(field);
  std::string text = texts_[i];
  if (text.empty()) {
    char number[64];
    std::snprintf(number, sizeof number, "%.2f %ld", reals_[i], static_cast<long>(wholes_[i]));
    text = number;
  }
  text = text.substr(0, size - 1);
  std::memcpy(out, text.c_str(), text.size() + 1);
}

void FuzzBinding::GetBuyerNames(char* out, unsigned size) {
  FuzzRequire(out != nullptr && size > 0, "names are written into a buffer");
  std::string names = std::string(texts_[0]) + " and Bob Smith";
  names = names.substr(0, size - 1);
  std::memcpy(out, names.c_str(), names.size() + 1);
}

size_t FuzzBinding::Index(const TFieldNode* field) const {
  for (size_t i = 0; i < kFuzzFieldCount; ++i)
    if (nodes_[i] == field) return i;
  FuzzRequire(false, "only bound fields are named");
  return 0;
}
