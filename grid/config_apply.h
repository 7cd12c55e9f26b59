/*
** What both readers of saved configurations hand to a grid: the header's settings and the
** column entries, applied by the grid's messages in one order for both forms.
*/
#ifndef ZARNE_GRID_CONFIG_APPLY_H
#define ZARNE_GRID_CONFIG_APPLY_H

#include "platform/user/winuser.h"

#include <cstdint>
#include <string>

struct ConfigHeader {
  uint16_t count = 0;
  uint16_t style = 0;
  uint16_t labelWidth = 0;
  uint16_t exStyleLow = 0;
  uint16_t exStyleHigh = 0;
  uint16_t labelFlags = 0;
  uint16_t headingStyle = 0;
};

struct ConfigColumn {
  uint16_t flags = 0;
  uint16_t type = 0;
  uint16_t length = 0;
  uint16_t width = 0;
  uint32_t value1 = 0;
  uint32_t value2 = 0;
  uint32_t editStyle = 0;
  std::string format, heading, name, listItems;
  bool hasListItems = false;
};

/* Versions 11 to 25; 11 wants format 6, 12 and 13 want 8. */
bool AcceptedVersion(uint16_t format, int version);
/* Style, the version-25 settings (or the row-label width 0 before), then the count. */
void ApplyConfigHeader(HWND grid, int version, const ConfigHeader& header);
/* One column by TSM_SETCOLDEFEX; widths below version 13 are pixels. */
void ApplyConfigColumn(HWND grid, int version, int column, const ConfigColumn& entry);

#endif
