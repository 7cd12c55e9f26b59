/*
** Pools of fixed-size attribute records addressed by 1-based index. A freed index goes on
** the pool's stack and is handed out again first, so indices stay valid for the pool's
** life. Row attribute heads own their cell nodes and the colour and font records they name.
*/
#include "grid/attributes.h"

#include "grid/record_blocks.h"
#include "grid/rows.h"

#include <cstring>

namespace {

TesselPool& Pool(TesselPoolKind kind) { return gLockedRecord->pools[kind]; }

void ReturnIfSet(TesselPoolKind kind, uint32_t& index) {
  if (index) ReturnPoolRecord(kind, index);
  index = 0;
}

void FreePool(TesselPoolKind kind) {
  TesselPool& pool = Pool(kind);
  if (pool.block) GlobalFree(pool.block);
  if (pool.freeStack) GlobalFree(pool.freeStack);
  pool = TesselPool{};
}

}  // namespace

size_t PoolRecordSize(TesselPoolKind kind) {
  switch (kind) {
    case kHeadPool: return sizeof(TesselAttrHead);
    case kCellPool: return sizeof(TesselCellAttr);
    case kRowColorPool:
    case kGridColorPool: return sizeof(TesselColors);
    default: return sizeof(LOGFONT);
  }
}

void* PoolRecord(TesselPoolKind kind, uint32_t index) {
  TesselPool& pool = Pool(kind);
  if (index == 0 || index > pool.count) return nullptr;
  auto* base = static_cast<uint8_t*>(BlockAddress(pool.block));
  return base ? base + (index - 1) * PoolRecordSize(kind) : nullptr;
}

uint32_t TakePoolRecord(TesselPoolKind kind) {
  TesselPool& pool = Pool(kind);
  if (pool.freeDepth > 0) {
    auto* stack = static_cast<uint32_t*>(BlockAddress(pool.freeStack));
    if (!stack) return 0;
    uint32_t index = stack[--pool.freeDepth];
    if (pool.freeDepth == 0) {
      GlobalFree(pool.freeStack);
      pool.freeStack = nullptr;
    }
    std::memset(PoolRecord(kind, index), 0, PoolRecordSize(kind));
    return index;
  }
  HGLOBAL grown = GrowBlock(pool.block, (pool.count + 1) * PoolRecordSize(kind));
  if (!grown) return 0;
  pool.block = grown;
  pool.count += 1;
  std::memset(PoolRecord(kind, pool.count), 0, PoolRecordSize(kind));
  return pool.count;
}

int ReturnPoolRecord(TesselPoolKind kind, uint32_t index) {
  TesselPool& pool = Pool(kind);
  if (index == 0 || index > pool.count) return 0;
  HGLOBAL grown = GrowBlock(pool.freeStack, (pool.freeDepth + 1) * sizeof(uint32_t));
  if (!grown) return TSERR_NOMEMORY;
  pool.freeStack = grown;
  auto* stack = static_cast<uint32_t*>(BlockAddress(pool.freeStack));
  if (!stack) return TSERR_LOCKFAILED;
  stack[pool.freeDepth++] = index;
  std::memset(PoolRecord(kind, index), 0, PoolRecordSize(kind));
  return 0;
}

TesselAttrHead* AttrHead(uint32_t index) {
  return static_cast<TesselAttrHead*>(PoolRecord(kHeadPool, index));
}

void FreeAttrHead(uint32_t index) {
  TesselAttrHead* head = AttrHead(index);
  if (!head) return;
  uint32_t cell = head->firstCell;
  ReturnIfSet(kRowColorPool, head->colorIndex);
  ReturnIfSet(kRowFontPool, head->fontIndex);
  while (cell) {
    auto* node = static_cast<TesselCellAttr*>(PoolRecord(kCellPool, cell));
    if (!node) break;
    uint32_t next = node->next;
    ReturnIfSet(kRowColorPool, node->colorIndex);
    ReturnIfSet(kRowFontPool, node->fontIndex);
    ReturnPoolRecord(kCellPool, cell);
    cell = next;
  }
  if (AttrHead(index) && AttrHead(index)->labelOffset) {
    // The label's text stays in the store until it is compacted or reset.
    gLockedRecord->labelStoreDead +=
        static_cast<uint32_t>(std::strlen(RowLabelAt(AttrHead(index)->labelOffset)) + 1);
  }
  ReturnPoolRecord(kHeadPool, index);
}

namespace {

uint32_t CopyPoolRecord(TesselPoolKind kind, uint32_t index) {
  if (!index) return 0;
  uint32_t copy = TakePoolRecord(kind);
  if (copy) std::memcpy(PoolRecord(kind, copy), PoolRecord(kind, index), PoolRecordSize(kind));
  return copy;
}

}  // namespace

uint32_t CopyAttrHead(uint32_t index) {
  if (!AttrHead(index)) return 0;
  uint32_t copy = TakePoolRecord(kHeadPool);
  if (!copy) return 0;
  TesselAttrHead source = *AttrHead(index);
  TesselAttrHead fresh = source;
  fresh.colorIndex = CopyPoolRecord(kRowColorPool, source.colorIndex);
  fresh.fontIndex = CopyPoolRecord(kRowFontPool, source.fontIndex);
  fresh.firstCell = 0;
  fresh.labelOffset = source.labelOffset ? AppendLabelText(RowLabelAt(source.labelOffset)) : 0;
  uint32_t* tail = nullptr;
  for (uint32_t cell = source.firstCell; cell;) {
    TesselCellAttr node = *static_cast<TesselCellAttr*>(PoolRecord(kCellPool, cell));
    uint32_t nodeCopy = TakePoolRecord(kCellPool);
    if (!nodeCopy) break;
    TesselCellAttr fresher = node;
    fresher.colorIndex = CopyPoolRecord(kRowColorPool, node.colorIndex);
    fresher.fontIndex = CopyPoolRecord(kRowFontPool, node.fontIndex);
    fresher.next = 0;
    *static_cast<TesselCellAttr*>(PoolRecord(kCellPool, nodeCopy)) = fresher;
    if (tail) *tail = nodeCopy;
    else fresh.firstCell = nodeCopy;
    tail = &static_cast<TesselCellAttr*>(PoolRecord(kCellPool, nodeCopy))->next;
    cell = node.next;
  }
  *AttrHead(copy) = fresh;
  return copy;
}

void FreeRowAttributes() {
  for (TesselPoolKind kind : {kHeadPool, kCellPool, kRowColorPool, kRowFontPool}) FreePool(kind);
  TesselRecord* record = gLockedRecord;
  if (record->labelStore) GlobalFree(record->labelStore);
  record->labelStore = nullptr;
  record->labelStoreUsed = record->labelStoreDead = 0;
}

void FreeAllAttributes() {
  FreeRowAttributes();
  FreePool(kGridColorPool);
  FreePool(kGridFontPool);
  TesselRecord* record = gLockedRecord;
  record->headingRowColorIndex = record->headingRowFontIndex = 0;
  record->labelColumnColorIndex = record->labelColumnFontIndex = 0;
  record->currentCellColorIndex = record->currentCellFontIndex = 0;
  record->cornerColorIndex = record->cornerFontIndex = 0;
  for (int c = 0; c < record->columnCount && gLockedColumns; ++c) {
    TesselColumn& column = gLockedColumns[c];
    column.colorIndex = column.fontIndex = column.headingColorIndex = column.headingFontIndex = 0;
  }
}
