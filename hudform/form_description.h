/*
** The one description of the HUD-1 form (Rev 3/86) that everything else is made from: its
** bands (the horizontal strips of the form, top to bottom, page 1 then page 2), the cells of
** each band (printed captions, statement fields and the printout's special rows), the boxes
** drawn around the sections, and the signature block. The screen form, the printed
** backgrounds, the statement field layout and the printout's position tables are all
** derived from it, so a box and the field inside it can never drift apart.
**
** Horizontal positions are in form units, the printed page's logical x (0 to 7950 across);
** the screen form uses the same positions at 3/20 scale. Vertical positions are given per
** geometry: screen pixels downward from 0, or print units downward from 0 into negatives.
*/
#ifndef ZARNE_HUDFORM_FORM_DESCRIPTION_H
#define ZARNE_HUDFORM_FORM_DESCRIPTION_H

#include "catalogue/shared_tables.h"

#include <cstdint>
#include <vector>

namespace hudform {

/* The closing file's tables in the statement window's record order. */
using Table = SharedTable;

constexpr int kPrintPageWidth = 7950;  // logical units across every printed page
constexpr int kFormRight = 7900;       // right edge of the drawn form
inline int ScreenX(int formX) { return formX * 3 / 20; }

/* Where a band or cell appears. */
enum class Shown : std::uint8_t { Both, ScreenOnly, PrintOnly };
enum class Align : std::uint8_t { Left, Right, Center };
/* The printout's privacy classes. */
enum class Side : std::uint8_t { Both = 0, Borrower = 1, Seller = 2 };
enum class Style : std::uint8_t { Normal, Bold, Small, Heading, Title };
enum class Page : std::uint8_t { One, Two };
enum class CellKind : std::uint8_t { Caption, Field, Special };

struct Cell {
  CellKind kind;
  Shown shown;
  std::int16_t x0, x1;  // form units
  Align align;
  Side side;
  Style style;
  std::int16_t id;         // statement field id (fields), 0 otherwise
  std::int16_t printCode;  // the printout's special code (negative), 0 to print the id itself
  std::uint8_t table;      // fields: the table and field number holding the value
  std::uint8_t fieldNumber;
  std::int16_t printDy;  // the text's top below the band's top, print units
  const char* text;      // captions
};

struct Band {
  Page page;
  Shown shown;
  bool extendedOnly;  // page 2 lines that only the extended layout has
  bool ruleBelow;     // a line under the band across its boxes
  std::int16_t screenHeight;
  std::int16_t printWeight;  // share of the print height between two fixed positions
  const char* tag;           // names the bands that print positions are fixed to
  std::vector<Cell> cells;
};

/* A drawn rectangle from the top of one band to the bottom of another. */
struct Box {
  Page page;
  int firstBand;
  int lastBand;
  std::int16_t x0, x1;
};

struct FormDescription {
  std::vector<Band> bands;
  std::vector<Box> boxes;
};

const FormDescription& Form();

/* ---- Geometries --------------------------------------------------------------------- */

enum class Geometry : std::uint8_t { Screen, Page1, Page2Standard, Page2Extended };

/* A band's vertical extent in one geometry; absent bands have present == false. Screen:
   top < bottom in pixels. Print: top > bottom, 0 at the page's top edge. */
struct Span {
  int top = 0;
  int bottom = 0;
  bool present = false;
};

const std::vector<Span>& BandSpans(Geometry geometry);
bool BandInGeometry(const Band& band, Geometry geometry);
bool CellInGeometry(const Cell& cell, Geometry geometry);

/* The whole screen form: page 1 above page 2 in the extended layout. */
int ScreenFormWidth();
int ScreenFormHeight();

/* The print heights of page 2 (standard, extended) with and without the signature block. */
int PrintPageHeight(Geometry geometry, bool withSignatureBlock);

/* ---- The signature block ------------------------------------------------------------ */

enum class SignaturePlace : std::uint8_t { Page2Standard, Page2Extended, Page3 };

/* The y of the first name row. */
int SignatureOrigin(SignaturePlace place);

struct SignatureRow {
  std::int16_t id;
  std::int16_t x;
  std::int16_t dy;  // below the origin
  Side side;
};
/* Borrowers' names, sellers' names, then the settlement date. */
const std::vector<SignatureRow>& SignatureRows();
/* Name rows follow each other at this pitch; the settlement agent's date row lies lower. */
constexpr int kSignaturePitch = 280;
constexpr int kSignatureAgentDy = 1250;
/* The block's extent above and below its origin, for its box. */
constexpr int kSignatureTopAbove = 580;
constexpr int kSignatureBottomBelow = 1720;

}  // namespace hudform

#endif
