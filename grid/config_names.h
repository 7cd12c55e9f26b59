/*
** The names a saved configuration writes for column flags and types, and how the text
** reader turns a flags or type token back into its value.
*/
#ifndef ZARNE_GRID_CONFIG_NAMES_H
#define ZARNE_GRID_CONFIG_NAMES_H

#include <cstdint>
#include <string>

/* The flags as written: names joined by " | " (with unnamed bits as hex) when names are
   on, else hex; "0" for no flags. */
std::string ColumnFlagsText(uint16_t flags, bool names);
/* The type's first name, or "0x%04X" for a code without one. */
std::string ColumnTypeText(uint16_t type);
/* The OR of every column style name in the token (0 when none occurs). */
uint16_t FlagsFromNames(const std::string& token);
/* The code of the first type name occurring in the token; false when none does. */
bool TypeFromNames(const std::string& token, uint16_t* code);

#endif
