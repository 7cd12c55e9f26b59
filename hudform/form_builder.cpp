/*
** The form builder: bands, cells and boxes appended to a form description.
*/
#include "hudform/form_builder.h"

namespace hudform {

namespace {

Cell MakeCell(CellKind kind, int x0, int x1) {
  Cell cell{};
  cell.kind = kind;
  cell.shown = Shown::Both;
  cell.x0 = static_cast<std::int16_t>(x0);
  cell.x1 = static_cast<std::int16_t>(x1);
  cell.align = Align::Left;
  cell.side = Side::Both;
  cell.style = Style::Normal;
  cell.printDy = kValueDy;
  return cell;
}

Cell FieldCell(int x0, int x1, int id, Table table, int fieldNumber) {
  Cell cell = MakeCell(CellKind::Field, x0, x1);
  cell.id = static_cast<std::int16_t>(id);
  cell.table = table;
  cell.fieldNumber = static_cast<std::uint8_t>(fieldNumber);
  return cell;
}

}  // namespace

int FormBuilder::Line(Page page, const char* tag, int screenHeight, int printWeight, Shown shown) {
  Band band{};
  band.page = page;
  band.shown = shown;
  band.screenHeight = static_cast<std::int16_t>(screenHeight);
  band.printWeight = static_cast<std::int16_t>(printWeight);
  band.tag = tag;
  form_.bands.push_back(band);
  return CurrentIndex();
}

void FormBuilder::Caption(int x0, int x1, const char* text, Style style, Shown shown, Align align) {
  Cell cell = MakeCell(CellKind::Caption, x0, x1);
  cell.text = text;
  cell.style = style;
  cell.shown = shown;
  cell.align = align;
  cell.printDy = kCaptionDy;
  Add(cell);
}

void FormBuilder::Text(int x0, int x1, int id, Table table, int fieldNumber, Side side,
                       Shown shown) {
  Cell cell = FieldCell(x0, x1, id, table, fieldNumber);
  cell.side = side;
  cell.shown = shown;
  Add(cell);
}

void FormBuilder::Money(int x0, int x1, int id, Table table, int fieldNumber, Side side,
                        Shown shown) {
  Cell cell = FieldCell(x0, x1, id, table, fieldNumber);
  cell.align = Align::Right;
  cell.side = side;
  cell.shown = shown;
  Add(cell);
}

void FormBuilder::Centred(int x0, int x1, int id, Table table, int fieldNumber, int printDy) {
  Cell cell = FieldCell(x0, x1, id, table, fieldNumber);
  cell.align = Align::Center;
  cell.printDy = static_cast<std::int16_t>(printDy);
  Add(cell);
}

void FormBuilder::Poc(int x0, int x1, int id, Table table, int fieldNumber, int printCode) {
  Cell cell = FieldCell(x0, x1, id, table, fieldNumber);
  cell.printCode = static_cast<std::int16_t>(printCode);
  Add(cell);
  Caption(x1, x1 + 280, "p.o.c.", Style::Small, Shown::ScreenOnly);
}

void FormBuilder::Special(int x0, int x1, int printCode, Side side, Align align) {
  Cell cell = MakeCell(CellKind::Special, x0, x1);
  cell.shown = Shown::PrintOnly;
  cell.printCode = static_cast<std::int16_t>(printCode);
  cell.side = side;
  cell.align = align;
  Add(cell);
}

void FormBuilder::AddBox(Page page, int firstBand, int lastBand, int x0, int x1) {
  form_.boxes.push_back(hudform::Box{page, firstBand, lastBand, static_cast<std::int16_t>(x0),
                                     static_cast<std::int16_t>(x1)});
}

}  // namespace hudform
