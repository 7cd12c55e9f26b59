/*
** The small vocabulary the form's data is written in: open a band, put captions, fields and
** special rows into it, and close boxes over a run of bands. Only form_description.cpp uses it.
*/
#ifndef ZARNE_HUDFORM_FORM_BUILDER_H
#define ZARNE_HUDFORM_FORM_BUILDER_H

#include "hudform/form_description.h"

namespace hudform {

/* Default band heights: screen pixels and print weight. */
constexpr int kLineHeight = 24;
constexpr int kLineWeight = 10;
/* Where text sits below a band's top on paper. */
constexpr int kValueDy = 20;
constexpr int kCaptionDy = 30;

class FormBuilder {
 public:
  explicit FormBuilder(FormDescription& form) : form_(form) {}

  /* Opens a band; answers its index. */
  int Line(Page page, const char* tag = nullptr, int screenHeight = kLineHeight,
           int printWeight = kLineWeight, Shown shown = Shown::Both);
  int ScreenLine(Page page) { return Line(page, nullptr, kLineHeight, 0, Shown::ScreenOnly); }
  int PrintLine(Page page, int weight = kLineWeight, const char* tag = nullptr) {
    return Line(page, tag, 0, weight, Shown::PrintOnly);
  }
  /* The current band belongs to the extended layout only / has a rule under it. */
  void Extended() { Current().extendedOnly = true; }
  void Rule() { Current().ruleBelow = true; }

  void Caption(int x0, int x1, const char* text, Style style = Style::Normal,
               Shown shown = Shown::Both, Align align = Align::Left);
  void Text(int x0, int x1, int id, Table table, int fieldNumber, Side side = Side::Both,
            Shown shown = Shown::Both);
  void Money(int x0, int x1, int id, Table table, int fieldNumber, Side side = Side::Both,
             Shown shown = Shown::Both);
  void Centred(int x0, int x1, int id, Table table, int fieldNumber, int printDy);
  /* A paid-outside-closing amount: a field on screen, a special row on paper. */
  void Poc(int x0, int x1, int id, Table table, int fieldNumber, int printCode);
  /* A printout special row with no field of its own. */
  void Special(int x0, int x1, int printCode, Side side = Side::Both, Align align = Align::Left);
  /* Fixes a field's print position below the band's top. */
  void SetPrintDy(int dy) {
    form_.bands.back().cells.back().printDy = static_cast<std::int16_t>(dy);
  }

  int CurrentIndex() const { return static_cast<int>(form_.bands.size()) - 1; }
  void AddBox(Page page, int firstBand, int lastBand, int x0, int x1);

 private:
  Band& Current() { return form_.bands.back(); }
  void Add(Cell cell) { Current().cells.push_back(cell); }
  FormDescription& form_;
};

}  // namespace hudform

#endif
