/*
** The statement printout's position tables, derived from the form description: for each
** table a list of rows (field id or the printout's special code, x, y, text alignment, side
** class) in the printed page's logical units. The printout (statement/) takes its constant
** tables from here: at build time through the generated header of hudform_print_tables
** (hud_print_tables.inc, made by the hudform_tablegen tool), or by calling PrintRows.
*/
#ifndef ZARNE_HUDFORM_PRINT_LAYOUT_H
#define ZARNE_HUDFORM_PRINT_LAYOUT_H

#include <cstdint>
#include <vector>

namespace hudform {

#pragma pack(push, 1)
struct PrintRow {
  std::int16_t code;  // field id, or a negative special code
  std::int16_t x;
  std::int16_t y;
  std::uint32_t align;  // text-align flags: 0 left, 2 right, 6 centred (all top)
  std::uint16_t side;   // 0 both, 1 borrower side, 2 seller side
};
#pragma pack(pop)
static_assert(sizeof(PrintRow) == 12, "a print row is 12 bytes");

enum class PrintTable : std::uint8_t {
  Page1,
  Page2Top,             // lines 700 to 811, both layouts
  Page2Standard,        // lines 900 to 1300, standard layout
  Page2Extended,        // lines 812 to 820 and 900 to 1300, extended layout
  Page2TotalsStandard,  // line 1400
  Page2TotalsExtended,
  LoanLinesStandard,  // ids 488 and 492
  LoanLinesExtended,
  SignatureStandard,  // the signature block on page 2 or page 3
  SignatureExtended,
  SignaturePage3,
};
constexpr int kPrintTableCount = 11;

const std::vector<PrintRow>& PrintRows(PrintTable table);
const char* PrintTableName(PrintTable table);

}  // namespace hudform

#endif
