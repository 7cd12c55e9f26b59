/*
** A second program for the title-item tests: another station working on TITLEB in the same
** database directory, through the table layer.
**   title_item_probe <dir> list <file> <type>
**       prints each of the file's items of that type: key (%.17g), policy, text in hex
**   title_item_probe <dir> hold <file> <type> <key>
**       write-locks that item, prints "held" (or "refused"), keeps the lock until its
**       standard input closes
**   title_item_probe <dir> fill <file> <type> <date> <first hundredth> <count>
**       inserts items "other <hundredth>" with policy "L" at the time keys of that date from
**       the first hundredth on, prints "filled <n>"
** Every line of output is flushed at once, so the tests read it while the probe waits.
*/
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  while (std::fgets(line, sizeof line, stdin)) {}
  record.Unlock();
  return 0;
}

int Fill(TPXRecord& record, const char* file, const char* type, LONG date, long first, long count) {
  long stored = 0;
  for (long n = first; n < first + count; ++n) {
    std::string text = "other " + std::to_string(n);
    SetKey(record, file, type);
    record.SetDouble(3, TimeKeyOf(date, static_cast<double>(n)));
    record.SetString(5, "L");
    if (!record.Insert() || !record.SetString(4, text.c_str())) break;
    ++stored;
  }
  std::printf("filled %ld\n", stored);
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
    if (command == "hold" && argc > 5)
      result = Hold(record, argv[3], argv[4], std::strtod(argv[5], nullptr));
    if (command == "fill" && argc > 7)
      result = Fill(record, argv[3], argv[4], std::atol(argv[5]), std::atol(argv[6]),
                    std::atol(argv[7]));
  }
  std::fflush(stdout);
  PXExit();
  return result;
}
