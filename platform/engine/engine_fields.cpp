/*
** Field access on record buffers (get, put, blank a record) and blobs, which live in the
** record's row and are handled through a per-cursor copy while open.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_partread.h"
#include "platform/engine/engine_record.h"

#include <cmath>
#include <cstring>

namespace zarne::engine {
namespace {

constexpr uint64_t kMaxBlobSize = 64u << 20;  // far beyond any memo, well within memory

EngineResult CheckField(EngineCursor cursor, WORD field, const void* record) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!record) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor), "No record buffer"});
  if (field < 1 || field > cursor->file->schema().FieldCount()) {
    return Fail(ENGINE_ERR_FLDOUTOFRANGE, {TableContext(cursor), "Field " + std::to_string(field)});
  }
  return ENGINE_OK;
}

std::string FieldContext(const FieldInfo& field) {
  return "Field " + std::to_string(field.number) + " " + field.name;
}

EngineResult CheckBlobField(EngineCursor cursor, WORD field, const void* record) {
  if (EngineResult r = CheckField(cursor, field, record)) return r;
  const FieldInfo& info = cursor->file->schema().Field(field);
  if (info.type != ENGINE_FLD_BLOB) {
    return Fail(ENGINE_ERR_INVALIDFLDTYPE, {TableContext(cursor), FieldContext(info)});
  }
  return ENGINE_OK;
}

/* The content stored in a row's blob column. */
EngineResult ReadStoredBlob(EngineCursor cursor, const FieldInfo& field, long long rowid,
                            std::string* content) {
  content->clear();
  sqlite3_stmt* stmt = nullptr;
  std::string sql = "SELECT " + ColumnName(field.number) + " FROM records WHERE rowid = ?";
  int rc = sqlite3_prepare_v2(cursor->file->db(), sql.c_str(), -1, &stmt, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_bind_int64(stmt, 1, rowid);
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
      const void* bytes = sqlite3_column_blob(stmt, 0);
      int size = sqlite3_column_bytes(stmt, 0);
      if (bytes && size > 0) content->assign(static_cast<const char*>(bytes), size);
      rc = SQLITE_DONE;
    }
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) {
    return FailSqlite(rc, cursor->file->db(), {TableContext(cursor), FieldContext(field)});
  }
  return ENGINE_OK;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineInitRecord(EngineCursor cursor, void* record) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!record) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor), "No record buffer"});
  BlankRecord(cursor->file->schema(), static_cast<char*>(record));
  ForgetRecord(record);
  for (auto it = cursor->openBlobs.begin(); it != cursor->openBlobs.end();) {
    it = it->first.first == record ? cursor->openBlobs.erase(it) : std::next(it);
  }
  return ENGINE_OK;
}

namespace {

/* Notes that the caller reads field through the cursor: its walk decodes it from now on. */
void NoteFieldRead(EngineCursor cursor, WORD field) {
  if (cursor->fieldsRead.size() <= field) cursor->fieldsRead.resize(size_t(field) + 1, 0);
  cursor->fieldsRead[field] = 1;
}

/* Gives the field of the record bytes as EngineGetField answers it. */
EngineResult CopyFieldOut(EngineCursor cursor, const FieldInfo& info, const char* bytes,
                          void* destination, DWORD* blank) {
  bool isBlank = FieldIsBlank(info, bytes);
  if (blank) *blank = isBlank ? 1 : 0;
  if (!destination) return ENGINE_OK;
  char* out = static_cast<char*>(destination);
  switch (info.type) {
    case ENGINE_FLD_STRING: {
      size_t size = isBlank ? 0 : strnlen(bytes + info.offset, info.units1);
      std::memcpy(out, bytes + info.offset, size);
      out[size] = '\0';
      return ENGINE_OK;
    }
    case ENGINE_FLD_DATE: {
      DWORD day = ENGINE_BLANK_DATE;
      if (!isBlank) std::memcpy(&day, bytes + info.offset, 4);
      std::memcpy(out, &day, 4);
      return ENGINE_OK;
    }
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32:
    case ENGINE_FLD_FLOAT:
      if (isBlank) {
        std::memset(out, 0, info.length);
      } else {
        std::memcpy(out, bytes + info.offset, info.length);
      }
      return ENGINE_OK;
    default:
      return Fail(ENGINE_ERR_INVALIDFLDTYPE,
                  {TableContext(cursor), FieldContext(info), "Use the blob operations"});
  }
}

}  // namespace

EngineResult EngineGetField(EngineCursor cursor, WORD field, const void* record, void* destination,
                            DWORD* blank) {
  if (EngineResult r = CheckField(cursor, field, record)) return r;
  const FieldInfo& info = cursor->file->schema().Field(field);
  const char* bytes = static_cast<const char*>(record);
  NoteFieldRead(cursor, field);
  if (bytes[info.nullOffset] == kUnreadField) {
    if (EngineResult r = CompleteRecord(cursor, record, field)) return r;
  }
  return CopyFieldOut(cursor, info, bytes, destination, blank);
}

EngineResult EngineGetCurrentField(EngineCursor cursor, WORD field, void* destination,
                                   DWORD* blank) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (field < 1 || field > cursor->file->schema().FieldCount()) {
    return Fail(ENGINE_ERR_FLDOUTOFRANGE, {TableContext(cursor), "Field " + std::to_string(field)});
  }
  if (cursor->where != EngineCursor__::Where::kOnRecord) {
    return Fail(ENGINE_ERR_NOCURRREC, {TableContext(cursor)});
  }
  const FieldInfo& info = cursor->file->schema().Field(field);
  NoteFieldRead(cursor, field);
  uint64_t stamp = cursor->file->Stamp();
  // A record another program changed since the step, or one whose field the walk did not
  // decode, is read again whole by its row id, as EngineGetRecord would.
  if (stamp == 0 || stamp != cursor->keyStamp ||
      cursor->key[size_t(info.nullOffset)] == kUnreadField) {
    if (EngineResult r = RereadCurrent(cursor, stamp)) return r;
  }
  return CopyFieldOut(cursor, info, cursor->key.data(), destination, blank);
}

EngineResult EnginePutField(EngineCursor cursor, WORD field, void* record, const void* source) {
  if (EngineResult r = CheckField(cursor, field, record)) return r;
  // A record being changed is written back whole: it must hold every field first.
  if (EngineResult r = CompleteRecord(cursor, record, 0)) return r;
  const FieldInfo& info = cursor->file->schema().Field(field);
  char* bytes = static_cast<char*>(record);
  char* data = bytes + info.offset;
  if (!source) {
    std::memset(data, 0, info.length);
    bytes[info.nullOffset] = 1;
    if (info.type == ENGINE_FLD_BLOB) cursor->openBlobs.erase({record, info.number});
    return ENGINE_OK;
  }
  switch (info.type) {
    case ENGINE_FLD_STRING: {
      // Text longer than the field is cut to its length, as the field can hold no more.
      size_t size = strnlen(static_cast<const char*>(source), info.units1);
      std::memset(data, 0, info.length);
      std::memcpy(data, source, size);
      bytes[info.nullOffset] = size == 0 ? 1 : 0;
      return ENGINE_OK;
    }
    case ENGINE_FLD_DATE: {
      DWORD day;
      std::memcpy(&day, source, 4);
      std::memcpy(data, &day, 4);
      bytes[info.nullOffset] = day == ENGINE_BLANK_DATE ? 1 : 0;
      return ENGINE_OK;
    }
    case ENGINE_FLD_FLOAT: {
      double value;
      std::memcpy(&value, source, 8);
      if (std::isnan(value)) {
        return Fail(ENGINE_ERR_INVALIDPARAM,
                    {TableContext(cursor), FieldContext(info), "Not a number"});
      }
      std::memcpy(data, &value, 8);
      bytes[info.nullOffset] = 0;
      return ENGINE_OK;
    }
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32:
      std::memcpy(data, source, info.length);
      bytes[info.nullOffset] = 0;
      return ENGINE_OK;
    default:
      return Fail(ENGINE_ERR_INVALIDFLDTYPE,
                  {TableContext(cursor), FieldContext(info), "Use the blob operations"});
  }
}

EngineResult EngineOpenBlob(EngineCursor cursor, void* record, WORD field, DWORD openMode) {
  if (EngineResult r = CheckBlobField(cursor, field, record)) return r;
  if (EngineResult r = CompleteRecord(cursor, record, field)) return r;
  auto key = std::make_pair(static_cast<const void*>(record), int(field));
  if (cursor->openBlobs.count(key)) return ENGINE_OK;
  const FieldInfo& info = cursor->file->schema().Field(field);
  const char* bytes = static_cast<const char*>(record);
  std::string content;
  long long rowid = BlobSlotRowid(info, bytes);
  if (!FieldIsBlank(info, bytes) && rowid != 0) {
    if (EngineResult r = ReadStoredBlob(cursor, info, rowid, &content)) return r;
  }
  cursor->openBlobs[key] = std::move(content);
  return ENGINE_OK;
}

EngineResult EngineGetBlobSize(EngineCursor cursor, void* record, WORD field, DWORD* size) {
  if (EngineResult r = CheckBlobField(cursor, field, record)) return r;
  if (!size) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  auto open = cursor->openBlobs.find({record, field});
  *size = 0;
  if (open == cursor->openBlobs.end()) {
    return Fail(ENGINE_ERR_BLOBNOTOPEN,
                {TableContext(cursor), FieldContext(cursor->file->schema().Field(field))});
  }
  *size = static_cast<DWORD>(open->second.size());
  return ENGINE_OK;
}

EngineResult EngineGetBlob(EngineCursor cursor, void* record, WORD field, DWORD offset,
                           DWORD length, void* destination, DWORD* count) {
  if (EngineResult r = CheckBlobField(cursor, field, record)) return r;
  if (count) *count = 0;
  auto open = cursor->openBlobs.find({record, field});
  if (open == cursor->openBlobs.end()) {
    return Fail(ENGINE_ERR_BLOBNOTOPEN,
                {TableContext(cursor), FieldContext(cursor->file->schema().Field(field))});
  }
  if (length > 0 && !destination) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  const std::string& content = open->second;
  DWORD available = offset < content.size() ? DWORD(content.size() - offset) : 0;
  DWORD copied = length < available ? length : available;
  if (copied) std::memcpy(destination, content.data() + offset, copied);
  if (count) *count = copied;
  return ENGINE_OK;
}

EngineResult EnginePutBlob(EngineCursor cursor, void* record, WORD field, DWORD offset,
                           DWORD length, const void* source) {
  if (EngineResult r = CheckBlobField(cursor, field, record)) return r;
  auto open = cursor->openBlobs.find({record, field});
  if (open == cursor->openBlobs.end()) {
    return Fail(ENGINE_ERR_BLOBNOTOPEN,
                {TableContext(cursor), FieldContext(cursor->file->schema().Field(field))});
  }
  if (length > 0 && !source) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  if (uint64_t(offset) + length > kMaxBlobSize) {
    return Fail(
        ENGINE_ERR_INVALIDPARAM,
        {TableContext(cursor), "A blob holds at most " + std::to_string(kMaxBlobSize) + " bytes"});
  }
  std::string& content = open->second;
  if (offset > content.size()) content.resize(offset, '\0');
  // A put replaces everything from its offset on, so a shorter text leaves no old tail.
  content.resize(offset);
  if (length) content.append(static_cast<const char*>(source), length);
  const FieldInfo& info = cursor->file->schema().Field(field);
  static_cast<char*>(record)[info.nullOffset] = content.empty() ? 1 : 0;
  return ENGINE_OK;
}

EngineResult EngineFreeBlob(EngineCursor cursor, void* record, WORD field) {
  if (EngineResult r = CheckBlobField(cursor, field, record)) return r;
  if (cursor->openBlobs.erase({record, field}) == 0) {
    return Fail(ENGINE_ERR_BLOBNOTOPEN,
                {TableContext(cursor), FieldContext(cursor->file->schema().Field(field))});
  }
  return ENGINE_OK;
}
