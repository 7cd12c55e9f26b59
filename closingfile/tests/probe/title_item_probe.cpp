/*
** A second program for the title-item tests: another station working on TITLEB in the same
** database directory, through the table layer.
**   title_item_probe <dir> list <file> <type>
**       prints each of the file's items of that type: key (%.17g), policy, text in hex
**   title_item_probe <dir> hold <file> <type> <key>
**       write-locks that item, prints "held" (or "refused"), keeps the lock until its
**       standard input closes
**   title_item_probe <dir> ahead <file> <type> <hundredths> <stop file>
**       keeps inserting items "other <hundredth>" with policy "L" at every time key from now
**       to the given hundredths ahead, prints "ready" once the first stretch is in, and
**       goes on until the stop file exists (at most a minute)
** Every line of output is flushed at once, so the tests read it while the probe waits.
*/
#include "platform/kernel/local_time.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

bool SetKey(TPXRecord& record, const char* file, const char* type) {
  record.Clear();
  return record.SetString(1, file) && record.SetString(2, type);
}

int List(TPXRecord& record, const char* file, const char* type) {
  SetKey(record, file, type);
  std::vector<char> text(70000);
  for (bool at = record.Seek(2, ENGINE_KEY_EQ); at; at = record.Next()) {
    if (!record.Read(ENGINE_NO_LOCK)) break;
    char number[16] = "", kind[3] = "", policy[2] = "";
    double seq = 0;
    record.GetString(1, number, sizeof number);
    record.GetString(2, kind, sizeof kind);
    if (std::strcmp(number, file) != 0 || std::strcmp(kind, type) != 0) break;
    record.GetDouble(3, seq);
    record.GetString(5, policy, sizeof policy);
    text[0] = '\0';
    record.GetString(4, text.data(), static_cast<DWORD>(text.size()));
    std::printf("%.17g\t%s\t", seq, policy);
    for (const char* c = text.data(); *c; ++c) std::printf("%02X", static_cast<unsigned char>(*c));
    std::printf("\n");
  }
  std::printf("end\n");
  return 0;
}

int Hold(TPXRecord& record, const char* file, const char* type, double seq) {
  SetKey(record, file, type);
  record.SetDouble(3, seq);
  bool locked = record.Seek(3, ENGINE_KEY_EQ) && record.Lock();
  std::printf("%s\n", locked ? "held" : "refused");
  std::fflush(stdout);
  char line[16];
  while (std::fgets(line, sizeof line, stdin)) {
  }
  record.Unlock();
  return 0;
}

long HundredthNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return ((now.wHour * 60L + now.wMinute) * 60L + now.wSecond) * 100L + now.wMilliseconds / 10;
}

bool Exists(const char* path) {
  FILE* file = std::fopen(path, "r");
  if (file) std::fclose(file);
  return file != nullptr;
}

int Ahead(TPXRecord& record, const char* file, const char* type, long ahead, const char* stop) {
  LONG today = TodayDate();
  long next = HundredthNow();
  bool ready = false;
  for (long start = next; !Exists(stop) && HundredthNow() - start < 6000;) {
    long now = HundredthNow();
    if (next < now) next = now;  // keys already past need no item
    for (; next <= now + ahead; ++next) {
      std::string text = "other " + std::to_string(next);
      SetKey(record, file, type);
      record.SetDouble(3, TimeKeyOf(today, static_cast<double>(next)));
      record.SetString(5, "L");
      if (record.Insert()) record.SetString(4, text.c_str());
    }
    if (!ready) {
      std::printf("ready\n");
      std::fflush(stdout);
      ready = true;
    }
    struct timespec pause{0, 2'000'000};
    nanosleep(&pause, nullptr);
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 5) return 2;
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(argv[1]);
  int result = 2;
  {
    TPXTable table("TITLEB", 0);
    TPXRecord record(&table, true);
    std::string command = argv[2];
    if (command == "list") result = List(record, argv[3], argv[4]);
    if (command == "hold" && argc > 5) result = Hold(record, argv[3], argv[4], std::strtod(argv[5], nullptr));
    if (command == "ahead" && argc > 6) result = Ahead(record, argv[3], argv[4], std::atol(argv[5]), argv[6]);
  }
  std::fflush(stdout);
  PXExit();
  return result;
}
