/*
** The records the two layout libraries hand out (GetRespaField, GetOtherField): byte-packed,
** little-endian, in the order the program copies them from. The name pointer is a native
** pointer in place of the original 32-bit one; it stays valid only while the library is
** loaded, which is why the program copies every record into its own field nodes.
*/
#ifndef ZARNE_HUDFORM_LAYOUT_RECORDS_H
#define ZARNE_HUDFORM_LAYOUT_RECORDS_H

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
/* One statement field: where it lives in the file's records and where it stands on the form. */
struct RespaLayoutRecord {
  const char* name;
  std::uint16_t tableIndex;
  std::uint16_t fieldNumber;
  std::uint16_t fieldId;
  std::uint16_t displayKind;
  std::uint16_t extraWord;  // kind 1: the edit line's text limit
  std::int16_t left;
  std::int16_t top;
  std::int16_t right;
  std::int16_t bottom;
};

/* One other data field: no id and no place on the form. */
struct OtherLayoutRecord {
  const char* name;
  std::uint16_t tableIndex;
  std::uint16_t fieldNumber;
  std::uint16_t displayKind;
  std::uint16_t extraWord;
};
#pragma pack(pop)

constexpr std::size_t kLayoutNameOffset = 0;
constexpr std::size_t kLayoutWordsOffset = sizeof(const char*);
static_assert(offsetof(RespaLayoutRecord, tableIndex) == kLayoutWordsOffset);
static_assert(offsetof(RespaLayoutRecord, left) == kLayoutWordsOffset + 10);
static_assert(sizeof(RespaLayoutRecord) == kLayoutWordsOffset + 18);
static_assert(offsetof(OtherLayoutRecord, displayKind) == kLayoutWordsOffset + 4);
static_assert(sizeof(OtherLayoutRecord) == kLayoutWordsOffset + 8);

/* The exports' signatures, for callers that find them with GetProcAddress. */
using GetFieldCountProc = std::int32_t (*)();
using GetRespaFieldProc = const RespaLayoutRecord* (*)(std::int16_t index);
using GetOtherFieldProc = const OtherLayoutRecord* (*)(std::int16_t index);

#endif
