/*
** The column style and type name tables of saved configurations, in the order the writer
** walks them and the reader searches them.
*/
#include "grid/config_names.h"

#include "grid/tessel_codes.h"

#include <cstdio>

namespace {

struct NamedValue {
  const char* name;
  uint16_t value;
};

// The order matters: an entry is taken while bits remain, so a 0 entry is written whenever
// it is reached, and SORTKEY3 (both key bits) is taken before KEY1 and KEY2 can be.
const NamedValue kColumnStyleNames[] = {
    {"TSCS_RESIZE", TSCS_RESIZE},       {"TSCS_FIXED", TSCS_FIXED},
    {"TSCS_EDIT", TSCS_EDIT},           {"TSCS_PROTECT", TSCS_PROTECT},
    {"TSCS_HIDDEN", TSCS_HIDDEN},       {"TSCS_LEFT", TSCS_LEFT},
    {"TSCS_CENTER", TSCS_CENTER},       {"TSCS_RIGHT", TSCS_RIGHT},
    {"TSCS_HEADLEFT", TSCS_HEADLEFT},   {"TSCS_HEADCENTER", TSCS_HEADCENTER},
    {"TSCS_HEADRIGHT", TSCS_HEADRIGHT}, {"TSCS_LOCKED", TSCS_LOCKED},
    {"TSCS_SORTDES", TSCS_SORTDES},     {"TSCS_SORTKEY3", TSCS_SORTKEY3},
    {"TSCS_SORTKEY1", TSCS_SORTKEY1},   {"TSCS_SORTKEY2", TSCS_SORTKEY2},
    {"TSCS_SORTCASEI", TSCS_SORTCASEI}, {"TSCS_BOUNDCOL", TSCS_BOUNDCOL},
};

const NamedValue kTypeNames[] = {
    {"TST_SQLVARCHAR", TST_SQLVARCHAR},
    {"TST_SQLCHAR", TST_SQLCHAR},
    {"TST_SQLINT1", TST_SQLINT1},
    {"TST_SQLBIT", TST_SQLBIT},
    {"TST_SQLINT2", TST_SQLINT2},
    {"TST_SQLINT4", TST_SQLINT4},
    {"TST_SQLMONEY", TST_SQLMONEY},
    {"TST_SQLDATETIME", TST_SQLDATETIME},
    {"TST_SQLFLT8", TST_SQLFLT8},
    {"TST_INT1", TST_INT1},
    {"TST_INT2", TST_INT2},
    {"TST_INT4", TST_INT4},
    {"TST_REAL4", TST_REAL4},
    {"TST_REAL8", TST_REAL8},
    {"TST_CHAR", TST_CHAR},
    {"TST_ZSTRING", TST_ZSTRING},
    {"TST_FILEDATE", TST_FILEDATE},
    {"TST_FILETIME", TST_FILETIME},
    {"TST_CDATETIME", TST_CDATETIME},
    {"TST_UINT1", TST_UINT1},
    {"TST_UINT2", TST_UINT2},
    {"TST_UINT4", TST_UINT4},
    {"TST_CHECKBOX", TST_CHECKBOX},
    {"TST_BITMAP", TST_BITMAP},
};

std::string Hex4(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

}  // namespace

std::string ColumnFlagsText(uint16_t flags, bool names) {
  if (flags == 0) return "0";
  if (!names) return Hex4(flags);
  std::string text;
  unsigned remaining = flags;
  for (const NamedValue& entry : kColumnStyleNames) {
    if (!remaining) break;
    if ((remaining & entry.value) != entry.value) continue;
    if (!text.empty()) text += " | ";
    text += entry.name;
    remaining &= ~static_cast<unsigned>(entry.value);
  }
  if (remaining) {
    if (!text.empty()) text += " | ";
    text += Hex4(remaining);
  }
  return text;
}

std::string ColumnTypeText(uint16_t type) {
  for (const NamedValue& entry : kTypeNames)
    if (entry.value == type) return entry.name;
  return Hex4(type);
}

uint16_t FlagsFromNames(const std::string& token) {
  uint16_t flags = 0;
  for (const NamedValue& entry : kColumnStyleNames)
    if (token.find(entry.name) != std::string::npos) flags |= entry.value;
  return flags;
}

bool TypeFromNames(const std::string& token, uint16_t* code) {
  for (const NamedValue& entry : kTypeNames)
    if (token.find(entry.name) != std::string::npos) {
      *code = entry.value;
      return true;
    }
  return false;
}
