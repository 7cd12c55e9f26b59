/*
** The column data types: code, the name Column Setup shows, the length choosing the type
** sets (0: set separately), the alignment of the value in the row record and the in-cell
** editor's text limit (-1: length - 1; 0: none). One table, in the order Column Setup offers
** the types; TST_BITMAP ends it and is not offered.
*/
#ifndef ZARNE_GRID_TYPE_TABLE_H
#define ZARNE_GRID_TYPE_TABLE_H

#include <cstdint>

struct TesselTypeInfo {
  uint16_t code;
  const char* setupName;
  uint16_t length;
  uint8_t alignment;  // 1 none, 2 even offset, 4 multiple of 4
  int16_t editLimit;
};

#define TS_TYPECOUNT      24
#define TS_SETUPTYPECOUNT 23
extern const TesselTypeInfo kTesselTypes[TS_TYPECOUNT];

/* The entry of a type code, or NULL for a code that is no type. */
const TesselTypeInfo* FindTesselType(uint16_t code);
/* The fixed size setting the type imposes (0 for types without one and unknown codes). */
uint16_t TypeFixedSize(uint16_t code);
/* The offset alignment of the type's values (1 for unknown codes). */
uint32_t TypeAlignment(uint16_t code);

#endif
