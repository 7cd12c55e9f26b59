/*
** Error reporting of the engine: the record of the last failed call, the message of every
** code the engine answers, and the mapping of SQLite results onto engine codes.
*/
#include "platform/engine/engine_internal.h"

#include <cstring>

namespace zarne::engine {
namespace {

// Owner: platform/engine.
EngineErrorInfo gLastFailure{};

struct CodeMessage {
  EngineResult code;
  const char* text;
};

const CodeMessage kMessages[] = {
    {ENGINE_OK, "Operation succeeded."},
    {ENGINE_ERR_BOF, "At beginning of table."},
    {ENGINE_ERR_EOF, "At end of table."},
    {ENGINE_ERR_NOCURRREC, "No current record."},
    {ENGINE_ERR_RECNOTFOUND, "Record or key not found."},
    {ENGINE_ERR_BLOBNOTOPEN, "Blob has not been opened."},
    {ENGINE_ERR_FLDOUTOFRANGE, "Field number out of range."},
    {ENGINE_ERR_ALREADYLOCKED, "Record already locked by this session."},
    {ENGINE_ERR_INVALIDPARAM, "Invalid parameter."},
    {ENGINE_ERR_INVALIDHANDLE, "Invalid handle to the function."},
    {ENGINE_ERR_INVALIDDATE, "Invalid date."},
    {ENGINE_ERR_NOTINITIALIZED, "Database engine not initialized."},
    {ENGINE_ERR_INVALIDDESC, "Invalid field or index descriptor."},
    {ENGINE_ERR_INVALIDFLDTYPE, "Invalid field type for this operation."},
    {ENGINE_ERR_TABLENOTFOUND, "Table does not exist."},
    {ENGINE_ERR_DIRNOTFOUND, "Directory does not exist."},
    {ENGINE_ERR_FILEIO, "File read or write failed."},
    {ENGINE_ERR_TABLEDAMAGED, "Corrupt table: the file is not a readable table."},
    {ENGINE_ERR_READONLY, "The table or its directory is read-only."},
    {ENGINE_ERR_NOSUCHINDEX, "Index does not exist."},
    {ENGINE_ERR_NOMEMORY, "Insufficient memory for this operation."},
    {ENGINE_ERR_KEYVIOL, "Key violation."},
    {ENGINE_ERR_TABLEEXISTS, "Table already exists."},
    {ENGINE_ERR_RECLOCKED, "Record locked by another user."},
    {ENGINE_ERR_TABLELOCKED, "Table is locked by another user."},
    {ENGINE_ERR_NOTLOCKED, "Record or table is not locked."},
    {ENGINE_ERR_BUSY, "Table is busy: another program kept it too long."},
    {ENGINE_ERR_QUERYSYNTAX, "Syntax error in query."},
    {ENGINE_ERR_QUERYFIELD, "Query names an unknown table or field."},
    {ENGINE_ERR_NOTSUPPORTED, "Capability not supported."},
    {ENGINE_ERR_RESTRUCTURE, "Restructure could not be completed."},
};

void CopyCut(char* target, size_t size, const std::string& text) {
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

}  // namespace

const char* MessageForCode(EngineResult code) {
  for (const CodeMessage& entry : kMessages) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

EngineResult Fail(EngineResult code, const std::vector<std::string>& context) {
  gLastFailure = EngineErrorInfo{};
  gLastFailure.code = code;
  const char* text = MessageForCode(code);
  CopyCut(gLastFailure.message, sizeof gLastFailure.message, text ? text : "Engine error.");
  size_t slot = 0;
  for (const std::string& item : context) {
    if (slot == 4) break;
    if (item.empty()) continue;
    CopyCut(gLastFailure.context[slot++], sizeof gLastFailure.context[0], item);
  }
  return code;
}

EngineResult FailInSlots(EngineResult code, const std::vector<std::string>& slots) {
  Fail(code);
  for (size_t slot = 0; slot < slots.size() && slot < 4; ++slot) {
    CopyCut(gLastFailure.context[slot], sizeof gLastFailure.context[0], slots[slot]);
  }
  return code;
}

EngineResult CodeForSqlite(int sqliteResult) {
  switch (sqliteResult & 0xFF) {
    case SQLITE_OK: return ENGINE_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ENGINE_ERR_BUSY;
    case SQLITE_NOMEM: return ENGINE_ERR_NOMEMORY;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA: return ENGINE_ERR_TABLEDAMAGED;
    case SQLITE_CONSTRAINT: return ENGINE_ERR_KEYVIOL;
    case SQLITE_CANTOPEN: return ENGINE_ERR_TABLENOTFOUND;
    default: return ENGINE_ERR_FILEIO;
  }
}

std::string OfficeWords(int sqliteResult) {
  switch (sqliteResult & 0xFF) {
    case SQLITE_FULL: return "The disk is full";
    case SQLITE_IOERR: return "The disk could not be read or written";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT: return "The file is damaged";
    case SQLITE_CANTOPEN: return "The file could not be opened";
    case SQLITE_READONLY:
    case SQLITE_PERM: return "The file or its directory is read-only";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "Another program is using the table";
    case SQLITE_NOMEM: return "There is not enough memory";
    default: return "The table could not be written";
  }
}

EngineResult FailSqlite(int sqliteResult, sqlite3* db, std::vector<std::string> context) {
  if (db) context.push_back(sqlite3_errmsg(db));
  return Fail(CodeForSqlite(sqliteResult), context);
}

}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineGetErrorInfo(BOOL fullContext, EngineErrorInfo* info) {
  if (!info) return ENGINE_ERR_INVALIDPARAM;
  *info = gLastFailure;
  if (!fullContext) std::memset(info->context, 0, sizeof info->context);
  return ENGINE_OK;
}

EngineResult EngineGetErrorText(EngineResult code, char* buffer) {
  if (!buffer) return ENGINE_ERR_INVALIDPARAM;
  const char* text = MessageForCode(code);
  if (!text) {
    CopyCut(buffer, 128, "Unknown engine error.");
    return ENGINE_ERR_INVALIDPARAM;
  }
  CopyCut(buffer, 128, text);
  return ENGINE_OK;
}
