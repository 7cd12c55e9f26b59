/*
** TPXRecord's totals of a money field over the records before a key, grouped by fields.
*/
#include "tableaccess/px_record.h"

#include "tableaccess/engine_session.h"
#include "tableaccess/px_table.h"

#include <cstring>
#include <vector>

namespace {

struct TTotalsContext {
  BYTE* buffer;
  size_t size;
  const std::function<void(const EngineCentsTotal&)>* each;
};

void TakeGroup(const void* record, const EngineCentsTotal* total, void* context) {
  auto* totals = static_cast<TTotalsContext*>(context);
  std::memcpy(totals->buffer, record, totals->size);
  (*totals->each)(*total);
}

}  // namespace

bool TPXRecord::TotalBeforeKey(SHORT keyFieldCount, int sumField, const int* groupFields,
                               int groupCount,
                               const std::function<void(const EngineCentsTotal&)>& each) {
  if (cursor_ == nullptr || groupCount < 0) return false;
  std::vector<WORD> fields(groupFields, groupFields + groupCount);
  TTotalsContext context{buffer_, table_->RecordSize(), &each};
  modified_ = 0;
  return PXStore(EngineTotalBeforeKey(cursor_, static_cast<WORD>(keyFieldCount), buffer_,
                                      static_cast<WORD>(sumField), static_cast<WORD>(groupCount),
                                      fields.data(), TakeGroup, &context)) == ENGINE_OK;
}
