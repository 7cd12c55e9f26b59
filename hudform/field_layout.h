/*
** The statement field layout and the other data fields, as the form description and the
** table catalogue give them: what the layout libraries stmlay32 and auxlay32 hand out.
*/
#ifndef ZARNE_HUDFORM_FIELD_LAYOUT_H
#define ZARNE_HUDFORM_FIELD_LAYOUT_H

#include <cstdint>
#include <vector>

namespace hudform {

/* Display kinds as the statement treats them. */
enum DisplayKind : std::uint16_t {
  kKindNone = 0,
  kKindText = 1,
  kKindChoice = 2,
  kKindMoney = 3,
  kKindWhole = 4,
  kKindDecimal = 5,
  kKindDate = 7
};

struct FieldRect {
  std::int16_t left, top, right, bottom;
};

struct StatementField {
  const char* name;  // the catalogue's name of the field shown
  std::uint16_t tableIndex;
  std::uint16_t fieldNumber;
  std::uint16_t id;
  std::uint16_t kind;
  std::uint16_t textLimit;  // kind 1 only
  FieldRect rect;           // screen form pixels
};

struct OtherField {
  const char* name;
  std::uint16_t tableIndex;
  std::uint16_t fieldNumber;
  std::uint16_t kind;
  std::uint16_t textLimit;
};

/* Every statement field in Tab order: top to bottom, left to right on the screen form. */
const std::vector<StatementField>& StatementFields();
/* Every field of the file tables that no statement field shows, in table and field order.
   File numbers are left out: the statement's file-number field (id 101) shows the one
   value they all hold. */
const std::vector<OtherField>& OtherFields();

/* The display kind and text limit of a catalogue field (the statement's choice lists
   aside); false for a table or field the catalogue does not hold. */
bool CatalogueKind(int tableIndex, int fieldNumber, std::uint16_t* kind, std::uint16_t* limit);
/* The catalogue's name of a field, or null. */
const char* CatalogueName(int tableIndex, int fieldNumber);
int CatalogueFieldCount(int tableIndex);

}  // namespace hudform

#endif
