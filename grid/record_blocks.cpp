/*
** Moveable blocks of a grid record: the record itself, the column table and the string
** pools. Pools keep their texts back to back in column order, so replacing one text moves
** the rest and shifts every later offset.
*/
#include "grid/record_blocks.h"

#include "grid/tessel_lock.h"

#include <algorithm>
#include <cstring>

namespace {

SIZE_T RoundedGrowth(SIZE_T bytes) { return (bytes + 1024) & ~static_cast<SIZE_T>(1023); }

HGLOBAL CopyBlock(HGLOBAL block) {
  if (!block) return nullptr;
  SIZE_T size = GlobalSize(block);
  HGLOBAL copy = GlobalAlloc(GHND, size ? size : 1);
  void* to = copy ? GlobalLock(copy) : nullptr;
  void* from = GlobalLock(block);
  if (to && from) std::memcpy(to, from, size);
  if (from) GlobalUnlock(block);
  if (to) GlobalUnlock(copy);
  if (copy && (!to || !from)) copy = GlobalFree(copy) ? copy : nullptr;
  return to && from ? copy : nullptr;
}

void FreeBlock(HGLOBAL& block) {
  if (block) GlobalFree(block);
  block = nullptr;
}

/* The pool and its length that hold a kind of string. */
struct PoolRef {
  HGLOBAL* block;
  uint32_t* length;
};

PoolRef PoolOf(TesselRecord* record, ColumnStringKind kind) {
  if (kind == kListItemsString) return {&record->listItemsPool, &record->listItemsPoolLength};
  return {&record->stringPool, &record->stringPoolLength};
}

uint32_t& OffsetOf(TesselColumn& column, ColumnStringKind kind) {
  switch (kind) {
    case kFormatString: return column.formatOffset;
    case kHeadingString: return column.headingOffset;
    case kNameString: return column.nameOffset;
    default: return column.listItemsOffset;
  }
}

/* Shifts every offset of the pool's strings at or after from by delta. */
void ShiftOffsets(ColumnStringKind kind, uint32_t from, long delta, int skipColumn,
                  ColumnStringKind skipKind) {
  for (int c = 0; c < gLockedRecord->columnCount; ++c) {
    TesselColumn& column = gLockedColumns[c];
    auto shift = [&](uint32_t& offset, ColumnStringKind k) {
      if (offset >= from && !(c == skipColumn && k == skipKind))
        offset = static_cast<uint32_t>(static_cast<long>(offset) + delta);
    };
    if (kind == kListItemsString) {
      shift(column.listItemsOffset, kListItemsString);
    } else {
      shift(column.formatOffset, kFormatString);
      shift(column.headingOffset, kHeadingString);
      shift(column.nameOffset, kNameString);
    }
  }
}

/* Makes room (delta > 0) or closes it (delta < 0) at offset in a pool. */
int ResizeAt(PoolRef pool, uint32_t offset, long delta) {
  uint32_t used = *pool.length;
  if (delta > 0) {
    SIZE_T needed = used + static_cast<SIZE_T>(delta);
    if (!*pool.block || GlobalSize(*pool.block) < needed) {
      HGLOBAL grown = GrowBlock(*pool.block, RoundedGrowth(needed));
      if (!grown) return TSERR_NOMEMORY;
      *pool.block = grown;
    }
  }
  char* text = static_cast<char*>(BlockAddress(*pool.block));
  if (!text) return TSERR_LOCKFAILED;
  if (delta > 0) {
    std::memmove(text + offset + delta, text + offset, used - offset);
    // The opened gap still holds the bytes that moved on: a new column's strings start empty.
    std::memset(text + offset, 0, static_cast<size_t>(delta));
  } else if (delta < 0) {
    std::memmove(text + offset, text + offset - delta, used - offset + delta);
    std::memset(text + used + delta, 0, static_cast<size_t>(-delta));
  }
  *pool.length = static_cast<uint32_t>(static_cast<long>(used) + delta);
  return 0;
}

}  // namespace

HGLOBAL AllocateTesselRecord() { return GlobalAlloc(GHND, sizeof(TesselRecord)); }

HGLOBAL GrowBlock(HGLOBAL block, SIZE_T bytes) {
  if (!block) return GlobalAlloc(GHND, bytes);
  if (GlobalSize(block) >= bytes) return block;
  // Moveable even while locked: every holder re-reads the address afterwards.
  return GlobalReAlloc(block, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
}

int EnsureColumnTable(int count) {
  TesselRecord* record = gLockedRecord;
  SIZE_T needed = static_cast<SIZE_T>(count) * sizeof(TesselColumn);
  if (record->columnTable && GlobalSize(record->columnTable) >= needed) return 0;
  HGLOBAL grown = GrowBlock(record->columnTable, RoundedGrowth(needed));
  if (!grown) return TSERR_NOMEMORY;
  record->columnTable = grown;
  RefreshLockedColumns();
  return gLockedColumns ? 0 : TSERR_LOCKFAILED;
}

void FreeRecordBlocks(TesselRecord* record) {
  FreeBlock(record->columnTable);
  FreeBlock(record->stringPool);
  FreeBlock(record->listItemsPool);
  FreeBlock(record->rowStore);
  FreeBlock(record->labelStore);
  for (TesselPool& pool : record->pools) {
    FreeBlock(pool.block);
    FreeBlock(pool.freeStack);
    pool = TesselPool{};
  }
  if (record->font && record->ownFont) DeleteObject(record->font);
  record->font = nullptr;
  record->ownFont = 0;
  record->stringPoolLength = record->listItemsPoolLength = 0;
  record->labelStoreUsed = record->labelStoreDead = 0;
  record->rowStoreUsed = record->rowStoreSize = 0;
  record->rowBlockCount = 0;
  record->rowCount = 0;
  record->columnCount = 0;
}

HGLOBAL CloneTesselRecord(const TesselRecord* record) {
  HGLOBAL handle = AllocateTesselRecord();
  auto* copy = handle ? static_cast<TesselRecord*>(GlobalLock(handle)) : nullptr;
  if (!copy) {
    if (handle) GlobalFree(handle);
    return nullptr;
  }
  *copy = *record;
  copy->rowStore = nullptr;
  copy->rowStoreUsed = copy->rowStoreSize = 0;
  copy->rowBlockCount = 0;
  copy->rowCount = 0;
  copy->editorWindow = nullptr;
  copy->editing = 0;
  copy->font = nullptr;  // the grid's font stays the grid's; the copy gets its own on attach
  copy->ownFont = 0;
  copy->destroyPending = 0;
  bool complete = true;
  auto copyInto = [&](HGLOBAL& slot) {
    HGLOBAL original = slot;
    slot = nullptr;
    if (original && !(slot = CopyBlock(original))) complete = false;
  };
  copyInto(copy->columnTable);
  copyInto(copy->stringPool);
  copyInto(copy->listItemsPool);
  copyInto(copy->labelStore);
  for (TesselPool& pool : copy->pools) {
    copyInto(pool.block);
    copyInto(pool.freeStack);
  }
  if (!complete) {
    FreeRecordBlocks(copy);
    GlobalUnlock(handle);
    GlobalFree(handle);
    return nullptr;
  }
  GlobalUnlock(handle);
  return handle;
}

const char* ColumnString(int column, ColumnStringKind kind) {
  TesselRecord* record = gLockedRecord;
  if (!record || !gLockedColumns || column < 0 || column >= record->columnCount) return "";
  PoolRef pool = PoolOf(record, kind);
  const char* text = static_cast<const char*>(BlockAddress(*pool.block));
  uint32_t offset = OffsetOf(gLockedColumns[column], kind);
  if (!text || offset >= *pool.length) return "";
  return text + offset;
}

int SetColumnString(int column, ColumnStringKind kind, const char* text) {
  TesselRecord* record = gLockedRecord;
  if (!text) text = "";
  PoolRef pool = PoolOf(record, kind);
  uint32_t offset = OffsetOf(gLockedColumns[column], kind);
  size_t oldLength = std::strlen(ColumnString(column, kind));
  size_t newLength = std::strlen(text);
  long delta = static_cast<long>(newLength) - static_cast<long>(oldLength);
  if (delta != 0) {
    int result =
        ResizeAt(pool, offset + static_cast<uint32_t>(std::min(oldLength, newLength)), delta);
    if (result < 0) return result;
    ShiftOffsets(kind, offset + 1, delta, column, kind);
  }
  char* base = static_cast<char*>(BlockAddress(*pool.block));
  if (!base) return TSERR_LOCKFAILED;
  std::memcpy(base + offset, text, newLength + 1);
  return 0;
}

int InsertColumnStrings(int column) {
  TesselRecord* record = gLockedRecord;
  // The new column's strings go where the next column's begin (or at the pool's end).
  int next = column + 1;
  uint32_t at =
      next < record->columnCount ? gLockedColumns[next].formatOffset : record->stringPoolLength;
  // A column added after the last one puts its strings at the pools' ends, past every
  // offset: there is nothing to shift, and a grid's columns are made that way one by one.
  const bool last = next >= record->columnCount;
  int result = ResizeAt(PoolOf(record, kFormatString), at, 3);
  if (result < 0) return result;
  if (!last) ShiftOffsets(kFormatString, at, 3, -1, kFormatString);
  TesselColumn& entry = gLockedColumns[column];
  entry.formatOffset = at;
  entry.headingOffset = at + 1;
  entry.nameOffset = at + 2;
  uint32_t listAt = next < record->columnCount ? gLockedColumns[next].listItemsOffset
                                               : record->listItemsPoolLength;
  result = ResizeAt(PoolOf(record, kListItemsString), listAt, 1);
  if (result < 0) return result;
  if (!last) ShiftOffsets(kListItemsString, listAt, 1, -1, kListItemsString);
  entry.listItemsOffset = listAt;
  return 0;
}

void RemoveColumnStrings(int column) {
  TesselRecord* record = gLockedRecord;
  TesselColumn& entry = gLockedColumns[column];
  uint32_t at = entry.formatOffset;
  uint32_t end =
      entry.nameOffset + static_cast<uint32_t>(std::strlen(ColumnString(column, kNameString))) + 1;
  if (ResizeAt(PoolOf(record, kFormatString), at, -static_cast<long>(end - at)) == 0)
    ShiftOffsets(kFormatString, end, -static_cast<long>(end - at), column, kFormatString);
  uint32_t listAt = entry.listItemsOffset;
  uint32_t listEnd =
      listAt + static_cast<uint32_t>(std::strlen(ColumnString(column, kListItemsString))) + 1;
  if (ResizeAt(PoolOf(record, kListItemsString), listAt, -static_cast<long>(listEnd - listAt)) == 0)
    ShiftOffsets(kListItemsString, listEnd, -static_cast<long>(listEnd - listAt), column,
                 kListItemsString);
}
