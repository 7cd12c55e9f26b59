/*
** The built-in rules: prorations, section totals and balances, the commission of line 700,
** loan charges and interest, reserves, recording splits, column sums and line 1400.
*/
#include "statement/recalc_rules.h"

#include "platform/user/message_box.h"
#include "statement/recalc_amounts.h"
#include "tableaccess/px_record.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/value_forms.h"

#include <initializer_list>

namespace {


/* One stored field: a table index and a 1-based field number. */
struct FieldRef {
  int table;
  int field;
};

double ReadDouble(RecalcView& view, FieldRef ref) {
  double value = 0;
  if (TPXRecord* record = view.Record(ref.table)) record->GetDouble(ref.field, value);
  return value;
}

LONG ReadLong(RecalcView& view, FieldRef ref, LONG missing = 0) {
  LONG value = missing;
  if (TPXRecord* record = view.Record(ref.table)) record->GetLong(ref.field, value);
  return value;
}

ScriptDecimal Cents(RecalcView& view, FieldRef ref) { return AtCents(ReadDouble(view, ref)); }

void StoreDouble(RecalcView& view, FieldRef ref, double value) {
  if (TPXRecord* record = view.Record(ref.table)) record->SetDouble(ref.field, value);
}

void Store(RecalcView& view, FieldRef ref, const ScriptDecimal& value) {
  StoreDouble(view, ref, value.ToDouble());
}

void Repaint(RecalcView& view, std::initializer_list<int> ids) {
  for (int id : ids) view.RepaintFieldById(id);
}

ScriptDecimal SumAtCents(RecalcView& view, int table, std::initializer_list<int> fields) {
  ScriptDecimal sum;
  for (int field : fields) sum = Plus(sum, Cents(view, {table, field}));
  return sum;
}

void ShowCommissionTooLow(RecalcView& view) {
  MessageBox(view.BoxOwner(), ResourceString(kCommissionTooLowText).text,
             ResourceString(kZarneMessageCaption).text, MB_ICONEXCLAMATION | MB_OK);
}

/* ---- Prorations ------------------------------------------------------------------------ */

/* The fields of one proration line: begin, end, amount, days (consecutive) and result. */
void ProrateLine(RecalcView& view, int table, int firstField, int resultField,
                 std::initializer_list<int> repaints) {
  LONG from = ReadLong(view, {table, firstField}, kBlankDate);
  LONG to = ReadLong(view, {table, firstField + 1}, kBlankDate);
  double amount = ReadDouble(view, {table, firstField + 2});
  LONG days = ReadLong(view, {table, firstField + 3});
  StoreDouble(view, {table, resultField}, ProrateAmount(amount, from, to, days));
  Repaint(view, repaints);
}

/* ---- Line 700 -------------------------------------------------------------------------- */

constexpr FieldRef kPA700{kExpense1Table, 2}, kPC700{kExpense1Table, 3}, kA700{kExpense1Table, 4},
    kA701{kExpense1Table, 5}, kA702{kExpense1Table, 7}, kA703B{kExpense1Table, 9},
    kA703S{kExpense1Table, 10}, kA704B{kExpense1Table, 13}, kA704S{kExpense1Table, 14},
    kA506{kSummary2Table, 15};

/* The parts of a total commission: half (rounded half up) and the rest. */
void StoreCommissionParts(RecalcView& view, const ScriptDecimal& total) {
  ScriptDecimal first = RoundedHalfUp(Times(total, ScriptDecimal{5, -1}));
  Store(view, kA701, first);
  Store(view, kA702, Minus(total, first));
}

/* Line 703: the commission less the deposit the seller's side holds (line 506). A deposit
   above the commission is refused and leaves line 703 as it was; true when stored. */
bool StoreLine703(RecalcView& view, const ScriptDecimal& total) {
  ScriptDecimal deposit = Cents(view, kA506);
  if (ScriptDecimal::Compare(deposit, total) > 0) {
    ShowCommissionTooLow(view);
    return false;
  }
  Store(view, kA703S, Minus(total, deposit));
  Store(view, kA703B, ScriptDecimal{});
  return true;
}

/* ---- Lines 801 and 802 ------------------------------------------------------------------ */

constexpr FieldRef kA202{kSummary2Table, 4};

void ComputeLoanCharge(RecalcView& view, int rateField, int borrowerField,
                       std::initializer_list<int> repaints) {
  ScriptDecimal charge = RoundedHalfUp(
      Times(Cents(view, kA202), PercentFactor(ReadDouble(view, {kExpense1Table, rateField}))));
  Store(view, {kExpense1Table, borrowerField}, charge);
  Store(view, {kExpense1Table, borrowerField + 1}, ScriptDecimal{});
  Repaint(view, repaints);
}

/* ---- Reserves ---------------------------------------------------------------------------- */

void ComputeReserve(RecalcView& view, int monthsField, int borrowerField, int sellerField,
                    std::initializer_list<int> repaints) {
  LONG months = ReadLong(view, {kExpense2Table, monthsField});
  ScriptDecimal monthly = Cents(view, {kExpense2Table, monthsField + 1});
  Store(view, {kExpense2Table, borrowerField}, Times(ScriptDecimal::FromLong(months), monthly));
  Store(view, {kExtraTable, sellerField}, ScriptDecimal{});
  Repaint(view, repaints);
}

/* ---- Recording splits -------------------------------------------------------------------- */

struct SplitComponent {
  int amountField;  // the paid-by letter is the next field
  int paidById;
};

void SplitRecording(RecalcView& view, std::initializer_list<SplitComponent> components,
                    int borrowerField, std::initializer_list<int> repaints) {
  TPXRecord* record = view.Record(kExpense4Table);
  if (!record) return;
  ScriptDecimal borrower, seller;
  for (const SplitComponent& c : components) {
    double amount = 0;
    record->GetDouble(c.amountField, amount);
    char paidBy[2] = "";
    record->GetString(c.amountField + 1, paidBy, sizeof paidBy);
    if (paidBy[0] == 'S') {
      seller = Plus(seller, AtCents(amount));
    } else if (paidBy[0] == '/') {
      // The halves come from the double, never from the cents value: the seller's part
      // is what the double half leaves.
      ScriptDecimal half = AtCents(amount * 0.5);
      borrower = Plus(borrower, half);
      seller = Plus(seller, AtCents(amount - half.ToDouble()));
    } else {
      borrower = Plus(borrower, AtCents(amount));
      if (paidBy[0] != 'B') {
        record->SetString(c.amountField + 1, "B");
        view.RepaintFieldById(c.paidById);
      }
    }
  }
  Store(view, {kExpense4Table, borrowerField}, borrower);
  Store(view, {kExpense4Table, borrowerField + 1}, seller);
  Repaint(view, repaints);
}

/* ---- Column sums ------------------------------------------------------------------------- */

void SetSubtotal(RecalcView& view, int which, int table, std::initializer_list<int> fields) {
  view.Subtotal(which) = SumAtCents(view, table, fields);
}

/* Line 1400 of one column: line 703 and line 704 of that column, then its six subtotals. */
void StoreLine1400(RecalcView& view, FieldRef line703, FieldRef line704, int firstSubtotal,
                   FieldRef result, std::initializer_list<int> repaints) {
  ScriptDecimal total = Plus(Cents(view, line703), Cents(view, line704));
  for (int which = firstSubtotal; which < kSubtotalCount; which += 2)
    total = Plus(total, view.Subtotal(which));
  Store(view, result, total);
  Repaint(view, repaints);
}

}  // namespace

double ProrateAmount(double amount, LONG fromDate, LONG toDate, LONG periodDays) {
  if (fromDate == kBlankDate || toDate == kBlankDate || periodDays == 0) return 0;
  long double share =
      (static_cast<long double>(toDate) - static_cast<long double>(fromDate)) * amount /
      periodDays;
  return RoundToCents(static_cast<double>(share));
}

void Prorate106(RecalcView& view) { ProrateLine(view, kSummary1Table, 15, 19, {224, 256}); }
void Prorate107(RecalcView& view) { ProrateLine(view, kSummary1Table, 20, 24, {229, 261}); }
void Prorate108(RecalcView& view) { ProrateLine(view, kSummary1Table, 25, 29, {234, 266}); }
void Prorate210(RecalcView& view) { ProrateLine(view, kSummary2Table, 28, 32, {295, 341}); }
void Prorate211(RecalcView& view) { ProrateLine(view, kSummary2Table, 33, 37, {300, 346}); }
void Prorate212(RecalcView& view) { ProrateLine(view, kSummary2Table, 38, 42, {305, 351}); }

void Total120(RecalcView& view) {
  ScriptDecimal total =
      Plus(SumAtCents(view, kSummary1Table, {3, 4, 8, 12, 19, 24, 29, 31, 33, 35, 37}),
           Cents(view, {kExpense4Table, 49}));
  Store(view, {kSummary1Table, 38}, total);
  Repaint(view, {243, 321});
}

void Total420(RecalcView& view) {
  Store(view, {kSummary1Table, 39},
        SumAtCents(view, kSummary1Table, {3, 4, 6, 10, 14, 19, 24, 29, 31, 33, 35, 37}));
  Repaint(view, {275, 367});
}

void Total220(RecalcView& view) {
  Store(view, {kSummary2Table, 57},
        SumAtCents(view, kSummary2Table,
                   {2, 4, 5, 7, 10, 13, 17, 21, 25, 32, 37, 42, 44, 46, 48, 50, 52, 54, 56}));
  Repaint(view, {320, 322});
}

void Total520(RecalcView& view) {
  ScriptDecimal total =
      Plus(SumAtCents(view, kSummary2Table,
                      {3, 5, 8, 11, 15, 23, 25, 32, 37, 42, 44, 46, 48, 50, 52, 54, 56}),
           Cents(view, {kExpense4Table, 50}));
  Store(view, {kSummary2Table, 58}, total);
  Repaint(view, {366, 368});
}

void Total303(RecalcView& view) {
  Store(view, {kSummary2Table, 59},
        Minus(Cents(view, {kSummary1Table, 38}), Cents(view, {kSummary2Table, 57})));
  Repaint(view, {323});
}

void Total603(RecalcView& view) {
  Store(view, {kSummary2Table, 60},
        Minus(Cents(view, {kSummary1Table, 39}), Cents(view, {kSummary2Table, 58})));
  Repaint(view, {369});
}

void Compute507(RecalcView& view) {
  ScriptDecimal balance = Minus(Minus(Cents(view, {kSummary2Table, 2}), Cents(view, kA506)),
                                Cents(view, {kSummary2Table, 3}));
  Store(view, {kSummary2Table, 19}, balance);
  Repaint(view, {332});
}

void ComputeCommission(RecalcView& view) {
  ScriptDecimal total =
      RoundedHalfUp(Times(Cents(view, kPA700), PercentFactor(ReadDouble(view, kPC700))));
  Store(view, kA700, total);
  StoreCommissionParts(view, total);
  StoreLine703(view, total);
  Repaint(view, {372, 373, 375, 377, 378});
}

void SplitCommission(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700);
  StoreCommissionParts(view, total);
  StoreLine703(view, total);
  Repaint(view, {373, 375, 377, 378});
}

void Split701(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700), part = Cents(view, kA701);
  if (ScriptDecimal::Compare(part, total) > 0) {
    ShowCommissionTooLow(view);
    Repaint(view, {373});
    return;
  }
  Store(view, kA702, Minus(total, part));
  Repaint(view, {375});
}

void Split702(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700), part = Cents(view, kA702);
  if (ScriptDecimal::Compare(part, total) > 0) {
    ShowCommissionTooLow(view);
    Repaint(view, {375});
    return;
  }
  Store(view, kA701, Minus(total, part));
  Repaint(view, {373});
}

void Compute703(RecalcView& view) {
  if (StoreLine703(view, Cents(view, kA700)))
    Repaint(view, {377, 378, 380, 330});
  else
    Repaint(view, {380});
}

void Compute801(RecalcView& view) { ComputeLoanCharge(view, 55, 16, {384, 385}); }
void Compute802(RecalcView& view) { ComputeLoanCharge(view, 56, 19, {387, 388}); }

void Compute901(RecalcView& view) {
  LONG from = ReadLong(view, {kExpense2Table, 2}, kBlankDate);
  LONG to = ReadLong(view, {kExpense2Table, 3}, kBlankDate);
  // With either date blank there is no period: 0 days.
  int64_t days = (from == kBlankDate || to == kBlankDate)
                     ? 0
                     : static_cast<int64_t>(to) - static_cast<int64_t>(from);
  ScriptDecimal perDay = AtPercentPlaces(ReadDouble(view, {kExpense2Table, 4}));
  Store(view, {kExpense2Table, 5}, Times(ScriptDecimal::FromLong(days), perDay));
  Store(view, {kExpense2Table, 6}, ScriptDecimal{});
  Repaint(view, {426, 427});
}

void Reserve1001(RecalcView& view) { ComputeReserve(view, 22, 24, 6, {563, 445}); }
void Reserve1002(RecalcView& view) { ComputeReserve(view, 25, 27, 7, {564, 448}); }
void Reserve1003(RecalcView& view) { ComputeReserve(view, 28, 30, 8, {565, 451}); }
void Reserve1004(RecalcView& view) { ComputeReserve(view, 31, 33, 9, {566, 454}); }
void Reserve1005(RecalcView& view) { ComputeReserve(view, 34, 36, 10, {567, 457}); }
void Reserve1006(RecalcView& view) { ComputeReserve(view, 37, 39, 11, {568, 460}); }
void Reserve1007(RecalcView& view) { ComputeReserve(view, 41, 43, 12, {569, 464}); }
void Reserve1008(RecalcView& view) { ComputeReserve(view, 45, 47, 13, {570, 468}); }

void Split1201(RecalcView& view) {
  SplitRecording(view, {{2, 509}, {4, 511}, {6, 513}}, 8, {514, 515});
}
void Split1202(RecalcView& view) { SplitRecording(view, {{10, 517}, {12, 519}}, 14, {520, 521}); }
void Split1203(RecalcView& view) { SplitRecording(view, {{16, 523}, {18, 525}}, 20, {526, 527}); }

void Sum800B(RecalcView& view) {
  SetSubtotal(view, kSub800B, kExpense1Table,
              {16, 19, 23, 27, 30, 34, 37, 41, 45, 49, 53, 59, 63, 67, 71, 75, 79, 83, 87, 91});
}
void Sum800S(RecalcView& view) {
  SetSubtotal(view, kSub800S, kExpense1Table,
              {17, 20, 24, 28, 31, 35, 38, 42, 46, 50, 54, 60, 64, 68, 72, 76, 80, 84, 88, 92});
}
void Sum900B(RecalcView& view) { SetSubtotal(view, kSub900B, kExpense2Table, {5, 9, 13, 17, 20, 49}); }
void Sum900S(RecalcView& view) {
  SetSubtotal(view, kSub900S, kExpense2Table, {6, 10, 14, 18, 21, 50});
}
void Sum1000B(RecalcView& view) {
  SetSubtotal(view, kSub1000B, kExpense2Table, {24, 27, 30, 33, 36, 39, 43, 47, 52});
}
void Sum1000S(RecalcView& view) {
  SetSubtotal(view, kSub1000S, kExtraTable, {6, 7, 8, 9, 10, 11, 12, 13, 14});
}
void Sum1100B(RecalcView& view) {
  SetSubtotal(view, kSub1100B, kExpense3Table, {3, 6, 9, 12, 15, 18, 22, 26, 33, 36, 39, 42, 45});
}
void Sum1100S(RecalcView& view) {
  SetSubtotal(view, kSub1100S, kExpense3Table, {4, 7, 10, 13, 16, 19, 23, 27, 34, 37, 40, 43, 46});
}
void Sum1200B(RecalcView& view) {
  SetSubtotal(view, kSub1200B, kExpense4Table, {8, 14, 20, 23, 26, 52, 55});
}
void Sum1200S(RecalcView& view) {
  SetSubtotal(view, kSub1200S, kExpense4Table, {9, 15, 21, 24, 27, 53, 56});
}
void Sum1300B(RecalcView& view) {
  SetSubtotal(view, kSub1300B, kExpense4Table, {29, 32, 35, 38, 41, 44, 47, 58, 61, 64});
}
void Sum1300S(RecalcView& view) {
  SetSubtotal(view, kSub1300S, kExpense4Table, {30, 33, 36, 39, 42, 45, 48, 59, 62, 65});
}

void Total1400B(RecalcView& view) {
  StoreLine1400(view, kA703B, kA704B, kSub800B, {kExpense4Table, 49}, {555, 215});
}
void Total1400S(RecalcView& view) {
  StoreLine1400(view, kA703S, kA704S, kSub800S, {kExpense4Table, 50}, {556, 325});
}
