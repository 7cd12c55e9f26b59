/*
** A second program for the shell tests: it opens BUYER in a database directory through
** the engine and tries to write-lock one file's record, as another station would.
**   shell_lock_probe <directory> <file number>          prints "locked" or "refused"
**   shell_lock_probe <directory> <file number> hold     locks, prints "held", keeps the lock
**                                                       until its standard input closes
*/
#include "platform/engine/engine.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc < 3) return 2;
  EngineDatabase database = nullptr;
  EngineCursor cursor = nullptr;
  if (EngineInit(300, nullptr) ||
      EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database) ||
      EngineSetDirectory(database, argv[1]) ||
      EngineOpenTable(database, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                      &cursor)) {
    std::puts("no table");
    return 2;
  }
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  EngineInitRecord(cursor, record.data());
  EnginePutField(cursor, 1, record.data(), argv[2]);
  if (EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 0, 0, record.data()) ||
      EngineGetNextRecord(cursor, 0, nullptr, nullptr)) {
    std::puts("no record");
    return 2;
  }
  bool locked = EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr) == ENGINE_OK;
  bool hold = argc > 3 && std::strcmp(argv[3], "hold") == 0;
  std::puts(locked ? (hold ? "held" : "locked") : "refused");
  std::fflush(stdout);
  if (hold && locked) {
    char line[16];
    while (std::fgets(line, sizeof line, stdin)) {}
  }
  EngineExit();
  return 0;
}
