/*
** Records read in part: which fields a walk decodes, and reading the rest of a record
** buffer the walk filled when its caller turns out to need them.
*/
#include "platform/engine/engine_partread.h"

#include "platform/engine/engine_record.h"

#include <cstring>
#include <unordered_map>

namespace zarne::engine {
namespace {

struct PartRead {
  EngineCursor filler;
  std::weak_ptr<TableFile> file;
  long long rowid;
  unsigned layout;  // the filler's choice of fields the record was filled with
};

/* Record buffers filled in part, by address: they belong to the callers, so the engine
   keeps no more than where each came from. A walk asks about one buffer at every step, so
   the last one found is kept at hand. */
class PartReadTable {
 public:
  bool empty() const { return entries_.empty(); }
  PartRead* Find(const void* record) {
    if (record == lastRecord_) return last_;
    auto found = entries_.find(record);
    if (found == entries_.end()) return nullptr;
    lastRecord_ = record;
    last_ = &found->second;
    return last_;
  }
  PartRead& Put(const void* record) {
    PartRead& entry = entries_[record];
    lastRecord_ = record;
    last_ = &entry;
    return entry;
  }
  void Erase(const void* record) {
    if (record == lastRecord_) Forget();
    entries_.erase(record);
  }
  void EraseFilledBy(EngineCursor cursor) {
    Forget();
    for (auto it = entries_.begin(); it != entries_.end();) {
      it = it->second.filler == cursor ? entries_.erase(it) : std::next(it);
    }
  }

 private:
  void Forget() {
    lastRecord_ = nullptr;
    last_ = nullptr;
  }
  std::unordered_map<const void*, PartRead> entries_;
  const void* lastRecord_ = nullptr;
  PartRead* last_ = nullptr;
};

PartReadTable& PartReads() {
  static PartReadTable reads;
  return reads;
}

}  // namespace

std::vector<int> WalkFields(EngineCursor cursor) {
  if (cursor->wholeRecords) return {};
  const TableSchema& schema = cursor->file->schema();
  std::vector<char> wanted = cursor->fieldsRead;
  wanted.resize(size_t(schema.FieldCount()) + 1, 0);
  for (int number : cursor->order) wanted[size_t(number)] = 1;
  if (const IndexInfo* primary = schema.Primary()) {
    for (int number : primary->keyFields) wanted[size_t(number)] = 1;
  }
  std::vector<int> fields;
  for (int number = 1; number <= schema.FieldCount(); ++number) {
    if (wanted[size_t(number)]) fields.push_back(number);
  }
  if (int(fields.size()) == schema.FieldCount()) fields.clear();
  return fields;
}

bool RefillWalkFields(EngineCursor cursor, void* record) {
  if (!cursor->keyPartial || cursor->keyLayout != cursor->walkLayout) return false;
  PartRead* found = PartReads().Find(record);
  if (!found || found->filler != cursor || found->layout != cursor->keyLayout) return false;
  const TableSchema& schema = cursor->file->schema();
  char* bytes = static_cast<char*>(record);
  // The caller may have put anything in its buffer since (a buffer freed and made again
  // at the same place holds zeros): every other field is marked unread afresh, or it
  // would read as whatever the buffer holds.
  for (int number = 1; number <= schema.FieldCount(); ++number)
    bytes[schema.Field(number).nullOffset] = kUnreadField;
  for (int number : cursor->walkFields) {
    const FieldInfo& info = schema.Field(number);
    std::memcpy(bytes + info.offset, cursor->key.data() + info.offset, size_t(info.length));
    bytes[info.nullOffset] = cursor->key[size_t(info.nullOffset)];
  }
  return true;
}

void NoteRecordFilled(EngineCursor cursor, const void* record) {
  PartReadTable& reads = PartReads();
  if (cursor->keyPartial) {
    PartRead* entry = reads.Find(record);
    // A walk fills the same buffer again and again: only the row changes.
    if (entry && entry->filler == cursor) {
      entry->rowid = cursor->keyRowid;
      entry->layout = cursor->keyLayout;
    } else {
      reads.Put(record) = PartRead{cursor, cursor->file, cursor->keyRowid, cursor->keyLayout};
    }
  } else if (!reads.empty()) {
    reads.Erase(record);
  }
}

EngineResult CompleteRecord(EngineCursor cursor, const void* record, int field) {
  PartReadTable& reads = PartReads();
  if (reads.empty()) return ENGINE_OK;
  PartRead* found = reads.Find(record);
  if (!found) return ENGINE_OK;
  PartRead part = *found;
  bool fillerOpen = IsOpenCursor(part.filler);
  // The walk learns: later records bring that field along, or come whole.
  if (fillerOpen && field > 0) {
    std::vector<char>& read = part.filler->fieldsRead;
    if (read.size() <= size_t(field)) read.resize(size_t(field) + 1, 0);
    read[size_t(field)] = 1;
  } else if (fillerOpen) {
    part.filler->wholeRecords = true;
  }
  std::shared_ptr<TableFile> file = part.file.lock();
  EngineCursor reader = cursor->file == file ? cursor : fillerOpen ? part.filler : nullptr;
  if (!reader) {
    // No cursor of this program has the table open any more: nothing can be read.
    reads.Erase(record);
    return ENGINE_OK;
  }
  EngineCursor__::Row row;
  bool exists = false;
  if (EngineResult r = ReadRowById(reader, part.rowid, &row, &exists)) return r;
  reads.Erase(record);
  // Only the unread fields are filled: whatever the caller did with the others stays.
  char* bytes = static_cast<char*>(const_cast<void*>(record));
  const TableSchema& schema = reader->file->schema();
  for (const FieldInfo& info : schema.fields) {
    if (bytes[info.nullOffset] != kUnreadField) continue;
    if (exists) {
      std::memcpy(bytes + info.offset, row.record.data() + info.offset, size_t(info.length));
      bytes[info.nullOffset] = row.record[size_t(info.nullOffset)];
    } else {
      // The record is gone (another program deleted it): what was not read is blank.
      std::memset(bytes + info.offset, 0, size_t(info.length));
      bytes[info.nullOffset] = 1;
    }
  }
  return ENGINE_OK;
}

void ForgetRecord(const void* record) {
  PartReadTable& reads = PartReads();
  if (!reads.empty()) reads.Erase(record);
}

void ForgetRecordsOf(EngineCursor cursor) {
  PartReadTable& reads = PartReads();
  if (!reads.empty()) reads.EraseFilledBy(cursor);
}

}  // namespace zarne::engine
