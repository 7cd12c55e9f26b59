/*
** Builds the printout's position tables from the form description's bands in each page
** geometry, and the signature block's rows at its three places.
*/
#include "hudform/print_layout.h"

#include "hudform/form_description.h"

#include <cstring>

namespace hudform {

namespace {

constexpr std::uint32_t kAlignLeft = 0;
constexpr std::uint32_t kAlignRight = 2;
constexpr std::uint32_t kAlignCentre = 6;
constexpr int kLeftInset = 40;
constexpr int kRightInset = 30;

bool IsLoanLine(const Cell& cell) { return cell.id == 488 || cell.id == 492; }

PrintRow RowOf(const Cell& cell, const Span& span) {
  PrintRow row{};
  row.code = cell.printCode ? cell.printCode : cell.id;
  switch (cell.align) {
    case Align::Left:
      row.x = static_cast<std::int16_t>(cell.x0 + kLeftInset);
      row.align = kAlignLeft;
      break;
    case Align::Right:
      row.x = static_cast<std::int16_t>(cell.x1 - kRightInset);
      row.align = kAlignRight;
      break;
    case Align::Center:
      row.x = static_cast<std::int16_t>((cell.x0 + cell.x1) / 2);
      row.align = kAlignCentre;
      break;
  }
  row.y = static_cast<std::int16_t>(span.top - cell.printDy);
  row.side = static_cast<std::uint16_t>(cell.side);
  return row;
}

/* Which rows of a band a table takes. */
enum class Pick { All, LoanLines, AllButLoanLines };

void AppendBand(std::vector<PrintRow>& rows, const Band& band, const Span& span, Geometry geometry,
                Pick pick) {
  for (const Cell& cell : band.cells) {
    if (cell.kind == CellKind::Caption || !CellInGeometry(cell, geometry)) continue;
    if (pick == Pick::LoanLines && !IsLoanLine(cell)) continue;
    if (pick == Pick::AllButLoanLines && IsLoanLine(cell)) continue;
    rows.push_back(RowOf(cell, span));
  }
}

bool TagIs(const Band& band, const char* tag) {
  return band.tag && std::strcmp(band.tag, tag) == 0;
}

/* Rows of a page's bands from the one tagged `from` up to (not including) the one tagged
   `to`; null tags mean the page's first and last bands. */
std::vector<PrintRow> Rows(Geometry geometry, const char* from, const char* to, Pick pick,
                           bool extendedBandsOnly = false) {
  std::vector<PrintRow> rows;
  const FormDescription& form = Form();
  const std::vector<Span>& spans = BandSpans(geometry);
  bool inside = from == nullptr;
  for (size_t i = 0; i < form.bands.size(); ++i) {
    const Band& band = form.bands[i];
    if (from && TagIs(band, from)) inside = true;
    if (to && TagIs(band, to)) inside = false;
    if (!inside || !spans[i].present || !BandInGeometry(band, geometry)) continue;
    if (extendedBandsOnly && !band.extendedOnly) continue;
    AppendBand(rows, band, spans[i], geometry, pick);
  }
  return rows;
}

std::vector<PrintRow> Signature(SignaturePlace place) {
  std::vector<PrintRow> rows;
  const int origin = SignatureOrigin(place);
  for (const SignatureRow& s : SignatureRows()) {
    rows.push_back(PrintRow{s.id, s.x, static_cast<std::int16_t>(origin - s.dy), kAlignLeft,
                            static_cast<std::uint16_t>(s.side)});
  }
  return rows;
}

std::vector<PrintRow> Build(PrintTable table) {
  switch (table) {
    case PrintTable::Page1: return Rows(Geometry::Page1, nullptr, nullptr, Pick::All);
    case PrintTable::Page2Top: return Rows(Geometry::Page2Standard, nullptr, "l900", Pick::All);
    case PrintTable::Page2Standard:
      return Rows(Geometry::Page2Standard, "l900", "l1400", Pick::AllButLoanLines);
    case PrintTable::Page2Extended: {
      std::vector<PrintRow> rows = Rows(Geometry::Page2Extended, "l812", "l900", Pick::All, true);
      std::vector<PrintRow> rest =
          Rows(Geometry::Page2Extended, "l900", "l1400", Pick::AllButLoanLines);
      rows.insert(rows.end(), rest.begin(), rest.end());
      return rows;
    }
    case PrintTable::Page2TotalsStandard:
      return Rows(Geometry::Page2Standard, "l1400", nullptr, Pick::All);
    case PrintTable::Page2TotalsExtended:
      return Rows(Geometry::Page2Extended, "l1400", nullptr, Pick::All);
    case PrintTable::LoanLinesStandard:
      return Rows(Geometry::Page2Standard, "l1107", "l1400", Pick::LoanLines);
    case PrintTable::LoanLinesExtended:
      return Rows(Geometry::Page2Extended, "l1107", "l1400", Pick::LoanLines);
    case PrintTable::SignatureStandard: return Signature(SignaturePlace::Page2Standard);
    case PrintTable::SignatureExtended: return Signature(SignaturePlace::Page2Extended);
    case PrintTable::SignaturePage3: return Signature(SignaturePlace::Page3);
  }
  return {};
}

}  // namespace

const std::vector<PrintRow>& PrintRows(PrintTable table) {
  static const std::vector<PrintRow> tables[kPrintTableCount] = {
      Build(PrintTable::Page1),
      Build(PrintTable::Page2Top),
      Build(PrintTable::Page2Standard),
      Build(PrintTable::Page2Extended),
      Build(PrintTable::Page2TotalsStandard),
      Build(PrintTable::Page2TotalsExtended),
      Build(PrintTable::LoanLinesStandard),
      Build(PrintTable::LoanLinesExtended),
      Build(PrintTable::SignatureStandard),
      Build(PrintTable::SignatureExtended),
      Build(PrintTable::SignaturePage3)};
  return tables[static_cast<int>(table)];
}

const char* PrintTableName(PrintTable table) {
  static const char* const kNames[kPrintTableCount] = {"kHudPage1",
                                                       "kHudPage2Top",
                                                       "kHudPage2Standard",
                                                       "kHudPage2Extended",
                                                       "kHudPage2TotalsStandard",
                                                       "kHudPage2TotalsExtended",
                                                       "kHudLoanLinesStandard",
                                                       "kHudLoanLinesExtended",
                                                       "kHudSignatureStandard",
                                                       "kHudSignatureExtended",
                                                       "kHudSignaturePage3"};
  return kNames[static_cast<int>(table)];
}

}  // namespace hudform
