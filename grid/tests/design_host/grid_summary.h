/*
** A grid's column definitions as lines of text, so that grids in two processes can be
** compared: the designed one in the editor and its run-time copies.
*/
#ifndef ZARNE_GRID_TESTS_DESIGN_HOST_GRID_SUMMARY_H
#define ZARNE_GRID_TESTS_DESIGN_HOST_GRID_SUMMARY_H

#include "grid/tessel.h"
#include "grid/tessel_record.h"

#include <cstdio>
#include <string>
#include <vector>

inline std::string GridSummary(HWND grid) {
  std::string summary;
  LRESULT count = SendMessage(grid, TSM_GETCOLCOUNT, 0, 0);
  for (int c = 0; c < count; ++c) {
    char format[TS_FORMATLIMIT] = "", heading[TS_HEADINGLIMIT] = "", name[TS_NAMELIMIT] = "";
    std::vector<char> list(static_cast<size_t>(SendMessage(grid, TSM_GETLISTITEMSSIZE, c, 0)) + 1,
                           '\0');
    TesselColDefEx record{};
    record.version = 25;
    record.format = format;
    record.heading = heading;
    record.name = name;
    record.listItems = list.data();
    SendMessage(grid, TSM_GETCOLDEFEX, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&record));
    char line[160];
    std::snprintf(line, sizeof line, "%04X %02X %u %u %u %u %04X|", record.flags, record.type,
                  record.length, record.width, record.value1, record.value2, record.editStyle);
    summary += line + std::string(format) + "|" + heading + "|" + name + "|" + list.data() + "\n";
  }
  return summary;
}

#endif
