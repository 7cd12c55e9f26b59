/*
** The column type table.
*/
#include "grid/type_table.h"

#include "grid/tessel_codes.h"

#include <array>

const TesselTypeInfo kTesselTypes[TS_TYPECOUNT] = {
    {TST_INT1, "1 Byte Integer", 1, 1, 4},       {TST_INT2, "2 Byte Integer", 2, 2, 6},
    {TST_INT4, "4 Byte Integer", 4, 4, 12},      {TST_UINT1, "1 Byte Unsigned", 1, 1, 3},
    {TST_UINT2, "2 Byte Unsigned", 2, 2, 5},     {TST_UINT4, "4 Byte Unsigned", 4, 4, 11},
    {TST_REAL4, "4 Byte Real", 4, 4, 12},        {TST_REAL8, "8 Byte Real", 8, 4, 20},
    {TST_ZSTRING, "ZString", 0, 1, -1},          {TST_CHAR, "Character", 1, 1, 4},
    {TST_FILEDATE, "DOS File Date", 2, 2, 30},   {TST_FILETIME, "DOS File Time", 2, 2, 30},
    {TST_CDATETIME, "C DateTime", 36, 4, 50},    {TST_CHECKBOX, "CheckBox", 4, 4, 0},
    {TST_SQLINT1, "SQL Int1", 1, 1, 4},          {TST_SQLINT2, "SQL Int2", 2, 2, 6},
    {TST_SQLINT4, "SQL Int4", 4, 4, 12},         {TST_SQLBIT, "SQL Bit", 1, 1, 4},
    {TST_SQLFLT8, "SQL Float", 8, 4, 20},        {TST_SQLMONEY, "SQL Money", 8, 4, 20},
    {TST_SQLDATETIME, "SQL DateTime", 8, 4, 50}, {TST_SQLCHAR, "SQL Char", 0, 1, -1},
    {TST_SQLVARCHAR, "SQL VarChar", 0, 1, -1},   {TST_BITMAP, nullptr, 0, 1, 0},
};

const TesselTypeInfo* FindTesselType(uint16_t code) {
  // Every type code fits a byte. The row layout asks for each column's type on every change
  // of a column's length, so a code finds its entry by index, not by a search of the table.
  static const std::array<int8_t, 256> kEntryOfCode = [] {
    std::array<int8_t, 256> entries;
    entries.fill(-1);
    for (int i = TS_TYPECOUNT - 1; i >= 0; --i)  // the first entry of a code wins
      if (kTesselTypes[i].code < entries.size())
        entries[kTesselTypes[i].code] = static_cast<int8_t>(i);
    return entries;
  }();
  if (code >= kEntryOfCode.size()) {
    for (const TesselTypeInfo& type : kTesselTypes)
      if (type.code == code) return &type;
    return nullptr;
  }
  int entry = kEntryOfCode[code];
  return entry < 0 ? nullptr : &kTesselTypes[entry];
}

uint16_t TypeFixedSize(uint16_t code) {
  const TesselTypeInfo* type = FindTesselType(code);
  return type ? type->length : 0;
}

uint32_t TypeAlignment(uint16_t code) {
  const TesselTypeInfo* type = FindTesselType(code);
  return type ? type->alignment : 1;
}
