/*
** The compact form in which the table definitions are written, one {name, kind, characters}
** row per field and one small record per index. The rows are expanded at compile time into
** the engine's creation descriptors (table_catalog_data.cpp), so the definitions read as the
** field lists they are rather than as hundreds of descriptor initialisers.
*/
#ifndef ZARNE_CATALOGUE_FIELD_ROWS_H
#define ZARNE_CATALOGUE_FIELD_ROWS_H

#include "platform/engine/engine.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace catalog_rows {

/* What a field stores; each maps to one engine type and subtype. */
enum class FieldKind : std::uint8_t { String, Money, Float, Date, Short, Memo };

struct FieldRow {
  const char* name;
  FieldKind kind;
  std::int16_t characters; /* string length; 240 for a memo; 1 otherwise */
};

constexpr FieldRow Str(const char* name, std::int16_t characters) {
  return {name, FieldKind::String, characters};
}
constexpr FieldRow Money(const char* name) { return {name, FieldKind::Money, 1}; }
constexpr FieldRow Float(const char* name) { return {name, FieldKind::Float, 1}; }
constexpr FieldRow Date(const char* name) { return {name, FieldKind::Date, 1}; }
constexpr FieldRow Short(const char* name) { return {name, FieldKind::Short, 1}; }
/* Memos are declared with 240 units, as the stored format has them. */
constexpr FieldRow Memo(const char* name) { return {name, FieldKind::Memo, 240}; }

/* One index: its name (empty for the primary index), its key fields and how it is kept. */
struct IndexRow {
  const char* name;
  bool primary;
  std::uint16_t keyFieldCount;
  std::uint16_t keyFields[3];
  std::uint16_t keyLength;
  std::uint16_t blockSize;
};

constexpr IndexRow PrimaryKey(std::uint16_t keyLength, std::uint16_t blockSize) {
  return {"", true, 1, {1, 0, 0}, keyLength, blockSize};
}
/* The three-field keys of the many-records-per-file tables (file number, type, sequence). */
constexpr IndexRow PrimaryKey123(std::uint16_t keyLength) {
  return {"", true, 3, {1, 2, 3}, keyLength, 2048};
}
/* A case-insensitive, non-unique lookup index on one field. */
constexpr IndexRow SecondaryKey(const char* name, std::uint16_t field, std::uint16_t keyLength) {
  return {name, false, 1, {field, 0, 0}, keyLength, 2048};
}

/* ---- Expansion into the engine's descriptors, all at compile time ---------------------- */

/* Copies a NUL-terminated text into a fixed buffer; a text that does not fit (with its
   terminator) stops the compilation rather than being cut. */
template <std::size_t N>
constexpr void CopyText(char (&buffer)[N], const char* text) {
  std::size_t i = 0;
  for (; text[i] != '\0'; ++i) {
    if (i + 1 >= N) throw "catalogue text too long for its buffer";
    buffer[i] = text[i];
  }
  for (; i < N; ++i) buffer[i] = '\0';
}

constexpr EngineFieldDesc FieldDescFromRow(WORD number, const FieldRow& row) {
  EngineFieldDesc desc{};
  desc.fieldNumber = number;
  CopyText(desc.name, row.name);
  switch (row.kind) {
    case FieldKind::String: desc.type = ENGINE_FLD_STRING; break;
    case FieldKind::Money:
      desc.type = ENGINE_FLD_FLOAT;
      desc.subtype = ENGINE_FLDSUB_MONEY;
      break;
    case FieldKind::Float: desc.type = ENGINE_FLD_FLOAT; break;
    case FieldKind::Date: desc.type = ENGINE_FLD_DATE; break;
    case FieldKind::Short: desc.type = ENGINE_FLD_INT16; break;
    case FieldKind::Memo:
      desc.type = ENGINE_FLD_BLOB;
      desc.subtype = ENGINE_FLDSUB_MEMO;
      break;
  }
  desc.units1 = row.characters;
  return desc;
}

template <std::size_t N>
constexpr std::array<EngineFieldDesc, N> ExpandFields(const FieldRow (&rows)[N]) {
  std::array<EngineFieldDesc, N> fields{};
  for (std::size_t i = 0; i < N; ++i)
    fields[i] = FieldDescFromRow(static_cast<WORD>(i + 1), rows[i]);
  return fields;
}

/* A primary index is unique and exact; the secondary lookups are neither. Every index is
   kept up to date by the engine. */
constexpr EngineIndexDesc IndexDescFromRow(const IndexRow& row) {
  EngineIndexDesc desc{};
  CopyText(desc.name, row.name);
  desc.primary = row.primary ? 1 : 0;
  desc.unique = row.primary ? 1 : 0;
  desc.maintained = 1;
  desc.keyFieldCount = row.keyFieldCount;
  desc.keyLength = row.keyLength;
  for (std::uint16_t i = 0; i < row.keyFieldCount; ++i) desc.keyFields[i] = row.keyFields[i];
  desc.caseInsensitive = row.primary ? 0 : 1;
  desc.blockSize = row.blockSize;
  return desc;
}

template <std::size_t N>
constexpr std::array<EngineIndexDesc, N> ExpandIndexes(const IndexRow (&rows)[N]) {
  std::array<EngineIndexDesc, N> indexes{};
  for (std::size_t i = 0; i < N; ++i) indexes[i] = IndexDescFromRow(rows[i]);
  return indexes;
}

/* The engine's struct has non-const array pointers; the arrays stay read-only data and the
   catalogue hands the descriptors out only as const. */
constexpr EngineTableCreateDesc TableDesc(const char* name, WORD fieldCount,
                                          const EngineFieldDesc* fields, WORD indexCount,
                                          const EngineIndexDesc* indexes) {
  EngineTableCreateDesc desc{};
  CopyText(desc.name, name);
  CopyText(desc.driverType, "PARADOX");
  CopyText(desc.errorTableName, "__TUERR.DB");
  desc.fieldCount = fieldCount;
  desc.fields = const_cast<EngineFieldDesc*>(fields);
  desc.indexCount = indexCount;
  desc.indexes = const_cast<EngineIndexDesc*>(indexes);
  return desc;
}

template <std::size_t F, std::size_t I>
constexpr EngineTableCreateDesc TableDesc(const char* name,
                                          const std::array<EngineFieldDesc, F>& fields,
                                          const std::array<EngineIndexDesc, I>& indexes) {
  return TableDesc(name, static_cast<WORD>(F), fields.data(), static_cast<WORD>(I), indexes.data());
}

}  // namespace catalog_rows

#endif
