/*
** A small engine client that the repair utility's tests run as a separate program beside
** it: it opens, reads, writes and locks tables in a directory and prints each result.
**
**   rebuild_engine_client <directory> open <table>        "<result> <records read>"
**   rebuild_engine_client <directory> lock <table>        "<result>" (released again)
**   rebuild_engine_client <directory> hold-open <table>   "<result>", holds until stdin ends
**   rebuild_engine_client <directory> hold-record <table> "<result>" with the first record
**                                                         write-locked, until stdin ends
*/
#include "platform/engine/engine.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

EngineDatabase gDatabase = nullptr;

EngineResult OpenTable(const char* name, EngineCursor* cursor) {
  return EngineOpenTable(gDatabase, name, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                         cursor);
}

void WaitForStdinToEnd() {
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) > 0) {}
}

int Open(const char* table) {
  EngineCursor cursor = nullptr;
  EngineResult result = OpenTable(table, &cursor);
  long records = 0;
  if (result == ENGINE_OK) {
    EngineCursorProps props{};
    EngineGetCursorProps(cursor, &props);
    std::vector<char> record(props.recordSize);
    EngineResult step;
    while ((step = EngineGetNextRecord(cursor, 0, record.data(), nullptr)) == ENGINE_OK) ++records;
    if (step != ENGINE_ERR_EOF) result = step;
    EngineCloseCursor(&cursor);
  }
  std::printf("%u %ld\n", unsigned(result), records);
  return 0;
}

int Lock(const char* table) {
  EngineResult result = EngineAcquireTableLock(gDatabase, table, "PARADOX");
  std::printf("%u\n", unsigned(result));
  if (result == ENGINE_OK) EngineReleaseTableLock(gDatabase, table, "PARADOX");
  return 0;
}

int Hold(const char* table, bool recordLock) {
  EngineCursor cursor = nullptr;
  EngineResult result = OpenTable(table, &cursor);
  if (result == ENGINE_OK && recordLock) {
    EngineSetToBegin(cursor);
    result = EngineGetNextRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr);
  }
  std::printf("%u\n", unsigned(result));
  std::fflush(stdout);
  WaitForStdinToEnd();
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <directory> open|lock|hold-open|hold-record <table>\n",
                 argv[0]);
    return 2;
  }
  if (EngineInit(ENGINE_VERSION, nullptr) ||
      EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &gDatabase) ||
      EngineSetDirectory(gDatabase, argv[1])) {
    std::printf("start failed\n");
    return 1;
  }
  std::string command = argv[2];
  int status = 2;
  if (command == "open") status = Open(argv[3]);
  else if (command == "lock") status = Lock(argv[3]);
  else if (command == "hold-open") status = Hold(argv[3], false);
  else if (command == "hold-record") status = Hold(argv[3], true);
  std::fflush(stdout);
  EngineExit();
  return status;
}
