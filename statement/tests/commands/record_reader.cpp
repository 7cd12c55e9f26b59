/*
** A second program for the statement command tests: it reads one closing file's records of
** a table through its own engine session, as another station would, and prints each record
** on a line, its fields from field 1 joined by '|': texts as stored, numbers as "%.2f" or
** "%d", dates as day numbers, memos as text.
**   statement_record_reader <directory> <TABLE> <file number>
**   statement_record_reader <directory> <TABLE>,<TABLE>,... <file number>
**       the same for each table in turn, each one's records after a line "=TABLE"
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
    default: return "?";
  }
}

/* Prints the file's records of one table; false when the table cannot be opened. */
bool PrintRecords(EngineDatabase database, const std::string& table, const char* number) {
  EngineCursor cursor = nullptr;
  if (EngineOpenTable(database, table.c_str(), "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                      &cursor))
    return false;
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<EngineFieldDesc> descs(props.fieldCount);
  EngineGetFieldDescs(cursor, descs.data());
  std::vector<char> record(props.recordSize);
  EngineInitRecord(cursor, record.data());
  EnginePutField(cursor, 1, record.data(), number);
  if (EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 1, 0, record.data()) == ENGINE_OK) {
    while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
      if (FieldText(cursor, record, descs[0]) != number) break;
      std::string line;
      for (const EngineFieldDesc& desc : descs) {
        if (desc.fieldNumber > 1) line += '|';
        line += FieldText(cursor, record, desc);
      }
      std::puts(line.c_str());
    }
  }
  EngineCloseCursor(&cursor);
  return true;
}

/* Holds the file's record write-locked until standard input closes. */
void HoldRecord(EngineDatabase database, const char* table, const char* number) {
  EngineCursor cursor = nullptr;
  bool held = EngineOpenTable(database, table, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                              &cursor) == ENGINE_OK;
  std::vector<char> record;
  if (held) {
    EngineCursorProps props{};
    EngineGetCursorProps(cursor, &props);
    record.resize(props.recordSize);
    EngineInitRecord(cursor, record.data());
    EnginePutField(cursor, 1, record.data(), number);
  }
  held = held && EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 1, 0, record.data()) == ENGINE_OK &&
         EngineGetNextRecord(cursor, 0, nullptr, nullptr) == ENGINE_OK &&
         EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr) == ENGINE_OK;
  std::puts(held ? "held" : "refused");
  std::fflush(stdout);
  char line[16];
  while (held && std::fgets(line, sizeof line, stdin)) {}
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) return 2;
  EngineDatabase database = nullptr;
  if (EngineInit(300, nullptr) ||
      EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database) ||
      EngineSetDirectory(database, argv[1])) {
    std::puts("no table");
    return 2;
  }
  if (argc > 4 && std::strcmp(argv[4], "hold") == 0) {
    HoldRecord(database, argv[2], argv[3]);
    EngineExit();
    return 0;
  }
  std::vector<std::string> tables;
  std::string list = argv[2];
  for (size_t start = 0; start <= list.size();) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    tables.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  for (const std::string& table : tables) {
    if (tables.size() > 1) std::printf("=%s\n", table.c_str());
    if (!PrintRecords(database, table, argv[3])) {
      std::puts("no table");
      EngineExit();
      return 2;
    }
  }
  EngineExit();
  return 0;
}
