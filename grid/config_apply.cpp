/*
** Applying a read configuration to a grid, shared by the text and the compiled reader.
** The results of the messages are not examined: a grid that refuses a setting keeps its own.
*/
#include "grid/config_apply.h"

#include "grid/library_state.h"
#include "grid/tessel_codes.h"
#include "grid/tessel_record.h"

bool AcceptedVersion(uint16_t format, int version) {
  if (version < 11 || version > 25) return false;
  if (version == 11) return format == 6;
  if (version == 12 || version == 13) return format == 8;
  return true;
}

void ApplyConfigHeader(HWND grid, int version, const ConfigHeader& header) {
  if (version >= 12 && header.style != 0) {
    DWORD current = static_cast<DWORD>(SendMessage(grid, TSM_GETSTYLE, 0, 0));
    SendMessage(grid, TSM_SETSTYLE, 0, static_cast<LPARAM>((current & 0xFFFF0000u) | header.style));
  }
  if (version == 25) {
    SendMessage(grid, TSM_SETCOLWIDTH, TSCOL_ROWLABEL, static_cast<int16_t>(header.labelWidth));
    SendMessage(
        grid, TSM_SETEXSTYLE, 0,
        static_cast<LPARAM>(static_cast<DWORD>(header.exStyleHigh) * 65536u + header.exStyleLow));
    SendMessage(grid, TSM_SETCOLSTYLE, TSCOL_ROWLABEL, static_cast<int16_t>(header.labelFlags));
    SendMessage(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
    SendMessage(grid, TSM_SETROWSTYLE, TSREF_CURSOR, static_cast<int16_t>(header.headingStyle));
  } else {
    SendMessage(grid, TSM_SETCOLWIDTH, TSCOL_ROWLABEL, 0);
  }
  SendMessage(grid, TSM_SETCOLCOUNT, header.count, 0);
}

void ApplyConfigColumn(HWND grid, int version, int column, const ConfigColumn& entry) {
  TesselColDefEx record{};
  record.version = 25;
  record.flags = entry.flags;
  record.type = entry.type;
  record.length = entry.length;
  int width = static_cast<int16_t>(entry.width);
  if (version < 13) width = width * 4 / (gBaseUnitX > 0 ? gBaseUnitX : 8);
  record.width = static_cast<uint16_t>(width);
  record.value1 = entry.value1;
  record.value2 = entry.value2;
  record.editStyle = entry.editStyle;
  record.format = const_cast<char*>(entry.format.c_str());
  record.heading = const_cast<char*>(entry.heading.c_str());
  record.name = const_cast<char*>(entry.name.c_str());
  record.listItems = entry.hasListItems ? const_cast<char*>(entry.listItems.c_str()) : nullptr;
  SendMessage(grid, TSM_SETCOLDEFEX, static_cast<WPARAM>(column),
              reinterpret_cast<LPARAM>(&record));
}
