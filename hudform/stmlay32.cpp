/*
** stmlay32: the statement field layout, one record per statement field in Tab order.
*/
#include "hudform/field_layout.h"
#include "hudform/hudform_exports.h"

#include <vector>

namespace {

const std::vector<RespaLayoutRecord>& Records() {
  static const std::vector<RespaLayoutRecord> records = [] {
    std::vector<RespaLayoutRecord> list;
    for (const hudform::StatementField& f : hudform::StatementFields()) {
      list.push_back(RespaLayoutRecord{f.name, f.tableIndex, f.fieldNumber, f.id, f.kind,
                                       f.textLimit, f.rect.left, f.rect.top, f.rect.right,
                                       f.rect.bottom});
    }
    return list;
  }();
  return records;
}

}  // namespace

extern "C" std::int32_t GetRespaFieldCount() { return static_cast<std::int32_t>(Records().size()); }

extern "C" const RespaLayoutRecord* GetRespaField(std::int16_t index) {
  if (index < 0 || index >= GetRespaFieldCount()) return nullptr;
  return &Records()[index];
}
