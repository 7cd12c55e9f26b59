/*
** A second program for the statement command tests: it reads one closing file's records of
** a table through its own engine session, as another station would, and prints each record
** on a line, its fields from field 1 joined by '|': texts as stored, numbers as "%.2f" or
** "%d", dates as day numbers, memos as text.
**   statement_record_reader <directory> <TABLE> <file number>
**   statement_record_reader <directory> <TABLE> <file number> hold
**       write-locks the file's record, prints "held" (or "refused"), and keeps the lock
**       until its standard input closes
*/
#include "platform/engine/engine.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string FieldText(EngineCursor cursor, std::vector<char>& record, const EngineFieldDesc& desc) {
  char text[512] = "";
  DWORD blank = 0;
  switch (desc.type) {
    case ENGINE_FLD_STRING: {
      std::vector<char> value(static_cast<size_t>(desc.units1) + 2, '\0');
      EngineGetField(cursor, desc.fieldNumber, record.data(), value.data(), &blank);
      return value.data();
    }
    case ENGINE_FLD_FLOAT: {
      double value = 0;
      EngineGetField(cursor, desc.fieldNumber, record.data(), &value, &blank);
      std::snprintf(text, sizeof text, "%.2f", value);
      return text;
    }
    case ENGINE_FLD_INT16: {
      short value = 0;
      EngineGetField(cursor, desc.fieldNumber, record.data(), &value, &blank);
      std::snprintf(text, sizeof text, "%d", value);
      return text;
    }
    case ENGINE_FLD_INT32:
    case ENGINE_FLD_DATE: {
      int value = 0;
      EngineGetField(cursor, desc.fieldNumber, record.data(), &value, &blank);
      std::snprintf(text, sizeof text, "%d", value);
      return text;
    }
    case ENGINE_FLD_BLOB: {
      DWORD size = 0;
      if (EngineOpenBlob(cursor, record.data(), desc.fieldNumber, 0) != ENGINE_OK) return "";
      EngineGetBlobSize(cursor, record.data(), desc.fieldNumber, &size);
      std::vector<char> value(size + 1, '\0');
      DWORD count = 0;
      EngineGetBlob(cursor, record.data(), desc.fieldNumber, 0, size, value.data(), &count);
      EngineFreeBlob(cursor, record.data(), desc.fieldNumber);
      return value.data();
    }
    default:
      return "?";
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) return 2;
  EngineDatabase database = nullptr;
  EngineCursor cursor = nullptr;
  if (EngineInit(300, nullptr) ||
      EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database) ||
      EngineSetDirectory(database, argv[1]) ||
      EngineOpenTable(database, argv[2], "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor)) {
    std::puts("no table");
    return 2;
  }
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<EngineFieldDesc> descs(props.fieldCount);
  EngineGetFieldDescs(cursor, descs.data());
  std::vector<char> record(props.recordSize);
  EngineInitRecord(cursor, record.data());
  EnginePutField(cursor, 1, record.data(), argv[3]);
  if (argc > 4 && std::strcmp(argv[4], "hold") == 0) {
    bool held = EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 1, 0, record.data()) == ENGINE_OK &&
                EngineGetNextRecord(cursor, 0, nullptr, nullptr) == ENGINE_OK &&
                EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr) == ENGINE_OK;
    std::puts(held ? "held" : "refused");
    std::fflush(stdout);
    char line[16];
    while (held && std::fgets(line, sizeof line, stdin)) {
    }
    EngineExit();
    return 0;
  }
  if (EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 1, 0, record.data()) == ENGINE_OK) {
    while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
      if (FieldText(cursor, record, descs[0]) != argv[3]) break;
      std::string line;
      for (const EngineFieldDesc& desc : descs) {
        if (desc.fieldNumber > 1) line += '|';
        line += FieldText(cursor, record, desc);
      }
      std::puts(line.c_str());
    }
  }
  EngineExit();
  return 0;
}
