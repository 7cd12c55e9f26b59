/*
** The fuzz targets' fields and their starting values.
*/
#include "fuzz/fuzz_binding.h"

#include "tableaccess/field_list.h"

#include <iterator>

namespace {

const FakeField kFields[] = {
    {"Buyer", kFieldKindText, true, "Ann Smith", 0, 0},
    {"Terms", kFieldKindChoice, true, "Cash", 0, 0},
    {"A101", kFieldKindMoney, true, "", 1234.56, 0},
    {"Count", kFieldKindWhole, true, "", 0, 3},
    {"Rate", kFieldKindDecimal, true, "", 0.0625, 0},
    {"Rate2", kFieldKindDecimal2, true, "", 12.5, 0},
    {"CDATE", kFieldKindDate, true, "", 0, 730657},
    {"Shown", kFieldKindShownText, true, "as shown", 0, 0},
    {"Lender", kFieldKindText, false, "First Bank", 0, 0},
    {"L201", kFieldKindMoney, false, "", -0.01, 0},
};

}  // namespace

void FuzzBinding::Install() {
  for (const FakeField& field : kFields) Add(field);
  buyers = "Ann Smith and Bob Smith";
}

void FuzzBinding::Restore() {
  for (const FakeField& field : kFields) Field(field.name) = field;
  formatModes.clear();
}
