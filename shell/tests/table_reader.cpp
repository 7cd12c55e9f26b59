/*
** A second program for the shell tests: it reads one field of one file's record from a
** table in a database directory, as another station sees it.
**   shell_table_reader <directory> <table> <file number> <field> s|d|l
** prints the field as text, as a double ("%.6f") or as a whole number; "<none>" when the
** file has no record there.
*/
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 6) return 2;
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(argv[1]);
  int status = 0;
  {
    TPXTable table(argv[2], 0);
    TPXRecord record(&table, false);
    int field = std::atoi(argv[4]);
    char kind = argv[5][0];
    record.SetString(1, argv[3]);
    if (!table.IsOpen() || !record.Seek(1, 0) || !record.Read(0)) {
      std::puts("<none>");
      status = 1;
    } else if (kind == 'd') {
      double value = 0;
      record.GetDouble(field, value);
      std::printf("%.6f\n", value);
    } else if (kind == 'l') {
      LONG value = 0;
      record.GetLong(field, value);
      std::printf("%ld\n", static_cast<long>(value));
    } else {
      std::vector<char> text(record.FieldSize(field) + 1, '\0');
      record.GetString(field, text.data(), static_cast<DWORD>(text.size()));
      std::printf("%s\n", text.data());
    }
  }
  PXExit();
  return status;
}
