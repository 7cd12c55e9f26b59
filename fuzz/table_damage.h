/*
** The damaged-table check the table fuzz targets share: healthy tables of the catalogue made
** once, then per input one of them damaged, read, and rebuilt with the repair utility's
** steps (see table_damage.cpp for what must hold).
*/
#ifndef ZARNE_FUZZ_TABLE_DAMAGE_H
#define ZARNE_FUZZ_TABLE_DAMAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/* Starts the engine in the scratch directory and makes each named table healthy. */
void TableDamageSetUp(const std::vector<std::string>& tables);

/* Damages the table of that position (counted round the list) by the input and checks it. */
void TableDamageRun(size_t table, const uint8_t* data, size_t size);

#endif
