/*
** auxlay32: the data fields the statement does not show, one record each.
*/
#include "hudform/field_layout.h"
#include "hudform/hudform_exports.h"

#include <vector>

namespace {

const std::vector<OtherLayoutRecord>& Records() {
  static const std::vector<OtherLayoutRecord> records = [] {
    std::vector<OtherLayoutRecord> list;
    for (const hudform::OtherField& f : hudform::OtherFields())
      list.push_back(OtherLayoutRecord{f.name, f.tableIndex, f.fieldNumber, f.kind, f.textLimit});
    return list;
  }();
  return records;
}

}  // namespace

extern "C" std::int32_t GetOtherFieldCount() { return static_cast<std::int32_t>(Records().size()); }

extern "C" const OtherLayoutRecord* GetOtherField(std::int16_t index) {
  if (index < 0 || index >= GetOtherFieldCount()) return nullptr;
  return &Records()[index];
}
