/*
** TPXRecord's typed access by field number: getters, setters, blobs and field sizes.
** Numbers convert between float and whole-number fields through their "%.0lf" text; a blank
** number reads as 0 and is written back, so a later post stores 0. Blank dates stay blank.
*/
#include "tableaccess/px_record.h"

#include "tableaccess/engine_session.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr WORD kBlobOpenMode = 0;

/* A double as the whole number its "%.0lf" text reads back as; outside 32 bits it is held at
   the nearest 32-bit value rather than wrapping. */
LONG WholeNumberOf(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0lf", value);
  long long whole = std::strtoll(text, nullptr, 10);
  if (whole > INT32_MAX) return INT32_MAX;
  if (whole < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(whole);
}

SHORT Low16(LONG value) { return static_cast<SHORT>(static_cast<WORD>(value & 0xFFFF)); }

}  // namespace

bool TPXRecord::CheckField(int field) const {
  if (field >= 1 && field <= table_->FieldCount()) return true;
  gLastDbResult = ENGINE_ERR_FLDOUTOFRANGE;
  ReportBdeErrorCode(ENGINE_ERR_FLDOUTOFRANGE);
  return false;
}

const EngineFieldDesc& TPXRecord::Desc(int field) const { return *table_->FieldDesc(field); }

bool TPXRecord::PutField(int field, const void* source) {
  return PXCheck(EnginePutField(cursor_, static_cast<WORD>(field), buffer_, source));
}

bool TPXRecord::ReadNumber(int field, void* value, bool& blank) {
  DWORD blankFlag = 0;
  if (!PXCheck(EngineGetField(cursor_, static_cast<WORD>(field), buffer_, value, &blankFlag)))
    return false;
  blank = blankFlag != 0;
  return true;
}

bool TPXRecord::WriteBlank0(int field) {
  switch (Desc(field).type) {
    case ENGINE_FLD_INT16: return SetShort(field, 0);
    case ENGINE_FLD_INT32: return SetLong(field, 0);
    default: return SetDouble(field, 0.0);
  }
}

/* ---- Getters ---- */

bool TPXRecord::GetString(int field, LPSTR buffer, DWORD size) {
  if (!CheckField(field)) return false;
  if (buffer == nullptr) size = 0;  // no room at all: refused below unless nothing is stored
  if (FieldSize(field) > size) {
    ReportDbMessage("Target buffer too small");
    return false;
  }
  switch (Desc(field).type) {
    case ENGINE_FLD_STRING: {
      DWORD blank = 0;
      if (!PXCheck(EngineGetField(cursor_, static_cast<WORD>(field), buffer_, buffer, &blank)))
        return false;
      if (blank && size != 0) buffer[0] = '\0';
      return true;
    }
    case ENGINE_FLD_BLOB: return ReadBlob(field, buffer, size);
    default: ReportDbMessage("Invalid type"); return false;
  }
}

bool TPXRecord::ReadCurrentString(int field, LPSTR buffer, DWORD size) {
  if (!CheckField(field)) return false;
  if (Desc(field).type != ENGINE_FLD_STRING) {
    ReportDbMessage("Invalid type");
    return false;
  }
  if (buffer == nullptr || FieldSize(field) > size) {
    ReportDbMessage("Target buffer too small");
    return false;
  }
  return PXCheck(EngineGetCurrentField(cursor_, static_cast<WORD>(field), buffer, nullptr));
}

bool TPXRecord::ReadBlob(int field, LPSTR buffer, DWORD size) {
  if (size != 0) std::memset(buffer, 0, size);
  WORD number = static_cast<WORD>(field);
  bool ok = PXCheck(EngineOpenBlob(cursor_, buffer_, number, kBlobOpenMode));
  DWORD blobSize = 0;
  EngineResult result = PXStore(EngineGetBlobSize(cursor_, buffer_, number, &blobSize));
  if (result != ENGINE_OK && result != ENGINE_ERR_BLOBNOTOPEN) {
    ReportBdeError();
    ok = false;
  }
  /* The last byte stays the terminator even when the blob fills the whole buffer. */
  DWORD length = blobSize < size ? blobSize : (size != 0 ? size - 1 : 0);
  DWORD count = 0;
  if (length != 0 && !PXCheck(EngineGetBlob(cursor_, buffer_, number, 0, length, buffer, &count)))
    ok = false;
  if (!PXCheck(EngineFreeBlob(cursor_, buffer_, number))) ok = false;
  return ok;
}

bool TPXRecord::GetDouble(int field, double& value) {
  if (!CheckField(field)) return false;
  bool blank = false;
  switch (Desc(field).type) {
    case ENGINE_FLD_FLOAT:
      if (!ReadNumber(field, &value, blank)) return false;
      break;
    case ENGINE_FLD_INT16: {
      SHORT number = 0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = number;
      break;
    }
    case ENGINE_FLD_INT32: {
      LONG number = 0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = number;
      break;
    }
    default: ReportDbMessage("Fiel not valid for DFLOAT"); return false;
  }
  if (!blank) return true;
  value = 0.0;
  return WriteBlank0(field);
}

bool TPXRecord::GetLong(int field, LONG& value) {
  if (!CheckField(field)) return false;
  bool blank = false;
  switch (Desc(field).type) {
    case ENGINE_FLD_DATE: {
      DWORD day = 0;
      if (!ReadNumber(field, &day, blank)) return false;
      value = blank ? kBlankDate : static_cast<LONG>(day);
      return true;
    }
    case ENGINE_FLD_INT16: {
      SHORT number = 0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = number;
      break;
    }
    case ENGINE_FLD_INT32:
      if (!ReadNumber(field, &value, blank)) return false;
      break;
    case ENGINE_FLD_FLOAT: {
      double number = 0.0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = WholeNumberOf(number);
      break;
    }
    default: ReportDbMessage("Field not valid for INT32"); return false;
  }
  if (!blank) return true;
  value = 0;
  return WriteBlank0(field);
}

bool TPXRecord::GetShort(int field, SHORT& value) {
  if (!CheckField(field)) return false;
  bool blank = false;
  switch (Desc(field).type) {
    case ENGINE_FLD_INT16:
      if (!ReadNumber(field, &value, blank)) return false;
      break;
    case ENGINE_FLD_INT32: {
      LONG number = 0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = Low16(number);
      break;
    }
    case ENGINE_FLD_FLOAT: {
      double number = 0.0;
      if (!ReadNumber(field, &number, blank)) return false;
      value = Low16(WholeNumberOf(number));
      break;
    }
    default: ReportDbMessage("Field not valid for UINT16"); return false;
  }
  if (!blank) return true;
  value = 0;
  return WriteBlank0(field);
}

DWORD TPXRecord::FieldSize(int field) {
  if (!CheckField(field)) return 0;
  const EngineFieldDesc& desc = Desc(field);
  if (desc.type != ENGINE_FLD_BLOB) return desc.length;
  WORD number = static_cast<WORD>(field);
  PXCheck(EngineOpenBlob(cursor_, buffer_, number, kBlobOpenMode));
  DWORD size = 0;
  EngineResult result = PXStore(EngineGetBlobSize(cursor_, buffer_, number, &size));
  if (result != ENGINE_OK && result != ENGINE_ERR_BLOBNOTOPEN) ReportBdeError();
  PXCheck(EngineFreeBlob(cursor_, buffer_, number));
  return size;
}

/* ---- Setters ---- */

bool TPXRecord::PutBlob(int field, const void* data, DWORD length) {
  WORD number = static_cast<WORD>(field);
  if (!PXCheck(EngineOpenBlob(cursor_, buffer_, number, kBlobOpenMode))) return false;
  /* A memo is stored with its record at once. */
  bool ok = PXCheck(EnginePutBlob(cursor_, buffer_, number, 0, length, data)) && Post();
  if (!PXCheck(EngineFreeBlob(cursor_, buffer_, number))) ok = false;
  return ok;
}

bool TPXRecord::SetString(int field, LPCSTR text) {
  if (!CheckField(field)) return false;
  modified_ = 1;
  const char* value = text != nullptr ? text : "";
  const EngineFieldDesc& desc = Desc(field);
  if (desc.type == ENGINE_FLD_STRING) return PutField(field, value);
  if (desc.type == ENGINE_FLD_BLOB && desc.subtype == ENGINE_FLDSUB_MEMO)
    return PutBlob(field, value, static_cast<DWORD>(std::strlen(value) + 1));
  ReportDbMessage("Not a valid field for a string");
  return false;
}

bool TPXRecord::SetBlob(int field, const void* data, DWORD length) {
  if (!CheckField(field)) return false;
  modified_ = 1;
  if (Desc(field).type == ENGINE_FLD_BLOB) return PutBlob(field, data, length);
  ReportDbMessage("Not a valid field for blob data");
  return false;
}

bool TPXRecord::SetDouble(int field, double value) {
  modified_ = 1;
  if (!CheckField(field)) return false;
  switch (Desc(field).type) {
    case ENGINE_FLD_FLOAT: return PutField(field, &value);
    case ENGINE_FLD_INT16: {
      SHORT number = Low16(WholeNumberOf(value));
      return PutField(field, &number);
    }
    case ENGINE_FLD_INT32: {
      LONG number = WholeNumberOf(value);
      return PutField(field, &number);
    }
    default: ReportDbMessage("Field not valid for DFLOAT"); return false;
  }
}

bool TPXRecord::SetLong(int field, LONG value) {
  modified_ = 1;
  if (!CheckField(field)) return false;
  switch (Desc(field).type) {
    case ENGINE_FLD_DATE: {
      if (value == kBlankDate) return PutField(field, nullptr);
      DWORD day = static_cast<DWORD>(value);
      return PutField(field, &day);
    }
    case ENGINE_FLD_INT16: {
      SHORT number = Low16(value);
      return PutField(field, &number);
    }
    case ENGINE_FLD_INT32: return PutField(field, &value);
    case ENGINE_FLD_FLOAT: {
      double number = value;
      return PutField(field, &number);
    }
    default: ReportDbMessage("Field not valid for UINT32/DBIDATE"); return false;
  }
}

bool TPXRecord::SetShort(int field, SHORT value) {
  modified_ = 1;
  if (!CheckField(field)) return false;
  switch (Desc(field).type) {
    case ENGINE_FLD_INT16: return PutField(field, &value);
    case ENGINE_FLD_INT32: {
      LONG number = value;
      return PutField(field, &number);
    }
    case ENGINE_FLD_FLOAT: {
      double number = value;
      return PutField(field, &number);
    }
    default: ReportDbMessage("Field not valid for UINT16"); return false;
  }
}
