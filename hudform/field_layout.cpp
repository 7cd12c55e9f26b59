/*
** Derives the two field lists: statement fields from the form description's field cells in
** screen order, with names and kinds from the table catalogue; the other fields from what
** the catalogue holds beyond them.
*/
#include "hudform/field_layout.h"

#include "catalogue/table_catalog.h"
#include "hudform/form_description.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace hudform {

namespace {

/* The fields edited through a choice list: the loan type, line 506's commission line
   and the recording charges' paid-by letters. */
bool IsChoiceField(int id) {
  switch (id) {
    case 184:
    case 379:
    case 509:
    case 511:
    case 513:
    case 517:
    case 519:
    case 523:
    case 525: return true;
    default: return false;
  }
}

const EngineFieldDesc* CatalogueField(int tableIndex, int fieldNumber) {
  if (tableIndex < 0 || tableIndex >= kFileTableCount) return nullptr;
  const EngineTableCreateDesc* desc = kTableCatalog[tableIndex].desc;
  if (!desc || fieldNumber < 1 || fieldNumber > desc->fieldCount) return nullptr;
  return &desc->fields[fieldNumber - 1];
}

/* Rates and per-day amounts keep their decimals; other plain numbers are counts. */
bool IsDecimalNumber(const char* name) {
  return std::strncmp(name, "PC", 2) == 0 || std::strncmp(name, "PD", 2) == 0;
}

FieldRect ScreenRect(const Cell& cell, const Span& span) {
  return FieldRect{
      static_cast<std::int16_t>(ScreenX(cell.x0) + 1), static_cast<std::int16_t>(span.top + 1),
      static_cast<std::int16_t>(ScreenX(cell.x1) - 1), static_cast<std::int16_t>(span.bottom - 1)};
}

std::vector<StatementField> BuildStatementFields() {
  std::vector<StatementField> fields;
  const FormDescription& form = Form();
  const std::vector<Span>& spans = BandSpans(Geometry::Screen);
  for (size_t i = 0; i < form.bands.size(); ++i) {
    if (!spans[i].present) continue;
    std::vector<const Cell*> cells;
    for (const Cell& cell : form.bands[i].cells) {
      if (cell.kind == CellKind::Field && CellInGeometry(cell, Geometry::Screen))
        cells.push_back(&cell);
    }
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell* a, const Cell* b) { return a->x0 < b->x0; });
    for (const Cell* cell : cells) {
      StatementField field{};
      field.name = CatalogueName(cell->table, cell->fieldNumber);
      field.tableIndex = cell->table;
      field.fieldNumber = cell->fieldNumber;
      field.id = static_cast<std::uint16_t>(cell->id);
      CatalogueKind(cell->table, cell->fieldNumber, &field.kind, &field.textLimit);
      if (IsChoiceField(cell->id)) {
        field.kind = kKindChoice;
        field.textLimit = 0;
      }
      field.rect = ScreenRect(*cell, spans[i]);
      fields.push_back(field);
    }
  }
  return fields;
}

std::vector<OtherField> BuildOtherFields() {
  std::set<std::pair<int, int>> shown;
  for (const StatementField& field : StatementFields())
    shown.insert({field.tableIndex, field.fieldNumber});
  std::vector<OtherField> fields;
  for (int table = 0; table < kFileTableCount; ++table) {
    const int count = CatalogueFieldCount(table);
    for (int number = 2; number <= count; ++number) {  // field 1 is the file number
      if (shown.count({table, number})) continue;
      OtherField field{};
      field.name = CatalogueName(table, number);
      field.tableIndex = static_cast<std::uint16_t>(table);
      field.fieldNumber = static_cast<std::uint16_t>(number);
      CatalogueKind(table, number, &field.kind, &field.textLimit);
      fields.push_back(field);
    }
  }
  return fields;
}

}  // namespace

bool CatalogueKind(int tableIndex, int fieldNumber, std::uint16_t* kind, std::uint16_t* limit) {
  *kind = kKindNone;
  *limit = 0;
  const EngineFieldDesc* desc = CatalogueField(tableIndex, fieldNumber);
  if (!desc) return false;
  switch (desc->type) {
    case ENGINE_FLD_STRING:
      *kind = kKindText;
      *limit = static_cast<std::uint16_t>(desc->units1);
      break;
    case ENGINE_FLD_BLOB:  // memos: edited as text of their in-record length
      *kind = kKindText;
      *limit = static_cast<std::uint16_t>(desc->units1);
      break;
    case ENGINE_FLD_DATE: *kind = kKindDate; break;
    case ENGINE_FLD_FLOAT:
      if (desc->subtype == ENGINE_FLDSUB_MONEY) *kind = kKindMoney;
      else *kind = IsDecimalNumber(desc->name) ? kKindDecimal : kKindWhole;
      break;
    default: *kind = kKindWhole; break;
  }
  return true;
}

const char* CatalogueName(int tableIndex, int fieldNumber) {
  const EngineFieldDesc* desc = CatalogueField(tableIndex, fieldNumber);
  return desc ? desc->name : nullptr;
}

int CatalogueFieldCount(int tableIndex) {
  if (tableIndex < 0 || tableIndex >= kFileTableCount || !kTableCatalog[tableIndex].desc) return 0;
  return kTableCatalog[tableIndex].desc->fieldCount;
}

const std::vector<StatementField>& StatementFields() {
  static const std::vector<StatementField> fields = BuildStatementFields();
  return fields;
}

const std::vector<OtherField>& OtherFields() {
  static const std::vector<OtherField> fields = BuildOtherFields();
  return fields;
}

}  // namespace hudform
