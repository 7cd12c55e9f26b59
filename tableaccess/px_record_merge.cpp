/*
** TPXRecord::Merge and MergeField: filling a record's empty fields from another record of
** the same table, as when one closing file is merged into another. Only empty fields take a
** value, and only a non-empty value of the same field type and subtype.
*/
#include "tableaccess/px_record.h"

#include "tableaccess/engine_session.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstring>
#include <memory>

namespace {

/* A text buffer for a field of the given size, one byte more so it always ends in NUL. */
std::unique_ptr<char[]> TextBuffer(DWORD size) { return std::make_unique<char[]>(size + 1); }

}  // namespace

bool TPXRecord::Merge(TPXRecord& other) {
  if (std::strcmp(table_->EngineName(), other.table_->EngineName()) != 0) return false;
  WORD count = table_->FieldCount();
  for (int field = 1; field <= count; ++field) MergeField(field, other);
  return true;
}

bool TPXRecord::MergeField(int field, TPXRecord& other) {
  if (!CheckField(field) || !other.CheckField(field)) return false;
  const EngineFieldDesc& mine = Desc(field);
  const EngineFieldDesc& theirs = other.Desc(field);
  if (mine.type != theirs.type || mine.subtype != theirs.subtype) return false;

  switch (mine.type) {
    case ENGINE_FLD_INT16: {
      SHORT value = 0, otherValue = 0;
      if (!GetShort(field, value) || value != 0) return false;
      if (!other.GetShort(field, otherValue) || otherValue == 0) return false;
      return SetShort(field, otherValue);
    }
    case ENGINE_FLD_INT32:
    case ENGINE_FLD_DATE: {
      LONG empty = mine.type == ENGINE_FLD_DATE ? kBlankDate : 0;
      LONG value = 0, otherValue = 0;
      if (!GetLong(field, value) || value != empty) return false;
      if (!other.GetLong(field, otherValue) || otherValue == empty) return false;
      return SetLong(field, otherValue);
    }
    case ENGINE_FLD_FLOAT: {
      double value = 0.0, otherValue = 0.0;
      if (!GetDouble(field, value) || value != 0.0) return false;
      if (!other.GetDouble(field, otherValue) || otherValue == 0.0) return false;
      return SetDouble(field, otherValue);
    }
    case ENGINE_FLD_STRING: {
      DWORD size = FieldSize(field);
      auto value = TextBuffer(size);
      if (!GetString(field, value.get(), size + 1) || value[0] != '\0') return false;
      DWORD otherSize = other.FieldSize(field);
      auto otherValue = TextBuffer(otherSize);
      if (!other.GetString(field, otherValue.get(), otherSize + 1) || otherValue[0] == '\0')
        return false;
      return SetString(field, otherValue.get());
    }
    case ENGINE_FLD_BLOB: return MergeBlob(field, other);
    default: ReportDbMessage("Type not implemented"); return false;
  }
}

bool TPXRecord::MergeBlob(int field, TPXRecord& other) {
  bool memo = Desc(field).subtype == ENGINE_FLDSUB_MEMO;
  DWORD size = FieldSize(field);
  if (size != 0) {
    /* A memo holding only its terminator counts as empty. */
    if (!memo) return false;
    auto value = TextBuffer(size);
    if (!GetString(field, value.get(), size + 1) || value[0] != '\0') return false;
  }
  DWORD otherSize = other.FieldSize(field);
  if (otherSize == 0) return false;
  auto data = TextBuffer(otherSize);
  if (!other.GetString(field, data.get(), otherSize + 1)) return false;
  if (memo && data[0] == '\0') return false;
  return SetBlob(field, data.get(), otherSize);
}
