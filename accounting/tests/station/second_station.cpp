/*
** A second station for the accounting tests: another program on the same database directory
** (the test's root, from ZARNE_ROOT) that changes or locks one BANK or ACCOUNT record while
** the test's dialog is open, as a colleague's copy of the program would.
**
**   second_station bank <key> <command> [field value ...]
**   second_station account <file> <type> <seq> <command> [field value ...]
**
** Commands: "set" writes the fields (value "s:text", "i:16-bit", "l:32-bit or date",
** "d:double") under the record's lock; "delete" deletes the record; "hold" locks it, prints
** "held" and keeps the lock until its standard input closes. It prints "done", "held" or
** "failed: <why>". Boxes of the table layer go to standard error.
*/
#include "platform/user/message_box.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char kDatabaseDir[] = "C:\\ZARNE\\DATA";

int Fail(const char* why) {
  std::printf("failed: %s\n", why);
  std::fflush(stdout);
  return 1;
}

bool SetField(TPXRecord& record, int field, const char* value) {
  if (std::strlen(value) < 2 || value[1] != ':') return false;
  const char* text = value + 2;
  switch (value[0]) {
    case 's': return record.SetString(field, text);
    case 'i': return record.SetShort(field, static_cast<SHORT>(std::atoi(text)));
    case 'l': return record.SetLong(field, static_cast<LONG>(std::strtoll(text, nullptr, 0)));
    case 'd': return record.SetDouble(field, std::atof(text));
  }
  return false;
}

int Act(TPXRecord& record, int argc, char** argv, int at) {
  if (at >= argc) return Fail("no command");
  const std::string command = argv[at++];
  if (!record.Seek(0, ENGINE_KEY_EQ)) return Fail("no record");
  if (command == "delete") return record.Delete() ? (std::puts("done"), 0) : Fail("delete");
  if (!record.Lock()) return Fail("lock");
  if (command == "hold") {
    std::puts("held");
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {}
    record.Unlock();
    return 0;
  }
  if (command != "set" || !record.Read(0)) return Fail("read");
  for (; at + 1 < argc; at += 2)
    if (!SetField(record, std::atoi(argv[at]), argv[at + 1])) return Fail("field");
  if (!record.Modify()) return Fail("modify");
  record.Unlock();
  std::puts("done");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetMessageBoxPresenter([](const MessageBoxRequest& box) {
    std::fprintf(stderr, "box: %s: %s\n", box.caption.c_str(), box.text.c_str());
    return DefaultMessageBoxAnswer(box.type);
  });
  if (argc < 3) return Fail("usage");
  PXInit();
  PXSetPrivateDir("C:\\ZARNE\\PRIVATE");
  PXOpenDatabase();
  PXSetDirectory(kDatabaseDir);
  const bool bank = std::strcmp(argv[1], "bank") == 0;
  TPXTable table(bank ? "BANK" : "ACCOUNT", 0);
  if (!table.IsOpen()) return Fail("table");
  int result;
  {
    TPXRecord record(&table, false);
    record.Clear();
    if (bank) {
      record.SetShort(1, static_cast<SHORT>(std::atoi(argv[2])));
      result = Act(record, argc, argv, 3);
    } else if (argc >= 5) {
      record.SetString(1, argv[2]);
      record.SetString(2, argv[3]);
      record.SetDouble(3, std::atof(argv[4]));
      result = Act(record, argc, argv, 5);
    } else {
      result = Fail("usage");
    }
  }
  table.Close();
  PXExit();
  return result;
}
