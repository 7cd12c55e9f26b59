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

#include "hud_field_names.h"

#include <initializer_list>

namespace {

/* Fields by the form's names for them (see recalc_dispatch.cpp): num:: their numbers in their
   tables, id:: the statement's ids to repaint. */
namespace id = field_id;
namespace num = field_number;

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

constexpr FieldRef kPA700{kExpense1Table, num::kPA700}, kPC700{kExpense1Table, num::kPC700},
    kA700{kExpense1Table, num::kA700}, kA701{kExpense1Table, num::kA701},
    kA702{kExpense1Table, num::kA702}, kA703B{kExpense1Table, num::kA703B},
    kA703S{kExpense1Table, num::kA703S}, kA704B{kExpense1Table, num::kA704B},
    kA704S{kExpense1Table, num::kA704S}, kA506{kSummary2Table, num::kA506};

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

constexpr FieldRef kA202{kSummary2Table, num::kA202};

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
      (static_cast<long double>(toDate) - static_cast<long double>(fromDate)) * amount / periodDays;
  return RoundToCents(static_cast<double>(share));
}

void Prorate106(RecalcView& view) {
  ProrateLine(view, kSummary1Table, num::kDB106, num::kA106,
              {id::kA106_Line106, id::kA106_Line406});
}
void Prorate107(RecalcView& view) {
  ProrateLine(view, kSummary1Table, num::kDB107, num::kA107,
              {id::kA107_Line107, id::kA107_Line407});
}
void Prorate108(RecalcView& view) {
  ProrateLine(view, kSummary1Table, num::kDB108, num::kA108,
              {id::kA108_Line108, id::kA108_Line408});
}
void Prorate210(RecalcView& view) {
  ProrateLine(view, kSummary2Table, num::kDB210, num::kA210,
              {id::kA210_Line210, id::kA210_Line510});
}
void Prorate211(RecalcView& view) {
  ProrateLine(view, kSummary2Table, num::kDB211, num::kA211,
              {id::kA211_Line211, id::kA211_Line511});
}
void Prorate212(RecalcView& view) {
  ProrateLine(view, kSummary2Table, num::kDB212, num::kA212,
              {id::kA212_Line212, id::kA212_Line512});
}

void Total120(RecalcView& view) {
  ScriptDecimal total =
      Plus(SumAtCents(view, kSummary1Table,
                      {num::kA101, num::kA102, num::kA104, num::kA105, num::kA106, num::kA107,
                       num::kA108, num::kA109, num::kA110, num::kA111, num::kA112}),
           Cents(view, {kExpense4Table, num::kA1400B}));
  Store(view, {kSummary1Table, num::kA120}, total);
  Repaint(view, {id::kA120_Line120, id::kA120_Line301});
}

void Total420(RecalcView& view) {
  Store(view, {kSummary1Table, num::kA420},
        SumAtCents(view, kSummary1Table,
                   {num::kA101, num::kA102, num::kA403, num::kA404, num::kA405, num::kA106,
                    num::kA107, num::kA108, num::kA109, num::kA110, num::kA111, num::kA112}));
  Repaint(view, {id::kA420_Line420, id::kA420_Line601});
}

void Total220(RecalcView& view) {
  Store(view, {kSummary2Table, num::kA220},
        SumAtCents(
            view, kSummary2Table,
            {num::kA201, num::kA202, num::kA203, num::kA204, num::kA205, num::kA206, num::kA207,
             num::kA208, num::kA209, num::kA210, num::kA211, num::kA212, num::kA213, num::kA214,
             num::kA215, num::kA216, num::kA217, num::kA218, num::kA219}));
  Repaint(view, {id::kA220_Line220, id::kA220_Line302});
}

void Total520(RecalcView& view) {
  ScriptDecimal total =
      Plus(SumAtCents(view, kSummary2Table,
                      {num::kA501, num::kA203, num::kA504, num::kA505, num::kA506, num::kA508,
                       num::kA209, num::kA210, num::kA211, num::kA212, num::kA213, num::kA214,
                       num::kA215, num::kA216, num::kA217, num::kA218, num::kA219}),
           Cents(view, {kExpense4Table, num::kA1400S}));
  Store(view, {kSummary2Table, num::kA520}, total);
  Repaint(view, {id::kA520_Line520, id::kA520_Line602});
}

void Total303(RecalcView& view) {
  Store(
      view, {kSummary2Table, num::kA303},
      Minus(Cents(view, {kSummary1Table, num::kA120}), Cents(view, {kSummary2Table, num::kA220})));
  Repaint(view, {id::kA303});
}

void Total603(RecalcView& view) {
  Store(
      view, {kSummary2Table, num::kA603},
      Minus(Cents(view, {kSummary1Table, num::kA420}), Cents(view, {kSummary2Table, num::kA520})));
  Repaint(view, {id::kA603});
}

void Compute507(RecalcView& view) {
  ScriptDecimal balance =
      Minus(Minus(Cents(view, {kSummary2Table, num::kA201}), Cents(view, kA506)),
            Cents(view, {kSummary2Table, num::kA501}));
  Store(view, {kSummary2Table, num::kA507}, balance);
  Repaint(view, {id::kA507});
}

void ComputeCommission(RecalcView& view) {
  ScriptDecimal total =
      RoundedHalfUp(Times(Cents(view, kPA700), PercentFactor(ReadDouble(view, kPC700))));
  Store(view, kA700, total);
  StoreCommissionParts(view, total);
  StoreLine703(view, total);
  Repaint(view, {id::kA700, id::kA701, id::kA702, id::kA703B, id::kA703S});
}

void SplitCommission(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700);
  StoreCommissionParts(view, total);
  StoreLine703(view, total);
  Repaint(view, {id::kA701, id::kA702, id::kA703B, id::kA703S});
}

void Split701(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700), part = Cents(view, kA701);
  if (ScriptDecimal::Compare(part, total) > 0) {
    ShowCommissionTooLow(view);
    Repaint(view, {id::kA701});
    return;
  }
  Store(view, kA702, Minus(total, part));
  Repaint(view, {id::kA702});
}

void Split702(RecalcView& view) {
  ScriptDecimal total = Cents(view, kA700), part = Cents(view, kA702);
  if (ScriptDecimal::Compare(part, total) > 0) {
    ShowCommissionTooLow(view);
    Repaint(view, {id::kA702});
    return;
  }
  Store(view, kA701, Minus(total, part));
  Repaint(view, {id::kA701});
}

void Compute703(RecalcView& view) {
  if (StoreLine703(view, Cents(view, kA700)))
    Repaint(view, {id::kA703B, id::kA703S, id::kA506_Line703, id::kA506_Line506});
  else Repaint(view, {id::kA506_Line703});
}

void Compute801(RecalcView& view) {
  ComputeLoanCharge(view, num::kPC801, num::kA801B, {id::kA801B, id::kA801S});
}
void Compute802(RecalcView& view) {
  ComputeLoanCharge(view, num::kPC802, num::kA802B, {id::kA802B, id::kA802S});
}

void Compute901(RecalcView& view) {
  LONG from = ReadLong(view, {kExpense2Table, num::kDB901}, kBlankDate);
  LONG to = ReadLong(view, {kExpense2Table, num::kDE901}, kBlankDate);
  // With either date blank there is no period: 0 days.
  int64_t days = (from == kBlankDate || to == kBlankDate)
                     ? 0
                     : static_cast<int64_t>(to) - static_cast<int64_t>(from);
  ScriptDecimal perDay = AtPercentPlaces(ReadDouble(view, {kExpense2Table, num::kPD901}));
  Store(view, {kExpense2Table, num::kA901B}, Times(ScriptDecimal::FromLong(days), perDay));
  Store(view, {kExpense2Table, num::kA901S}, ScriptDecimal{});
  Repaint(view, {id::kA901B, id::kA901S});
}

void Reserve1001(RecalcView& view) {
  ComputeReserve(view, num::kM1001, num::kA1001B, num::kA1001S, {id::kA1001S, id::kA1001B});
}
void Reserve1002(RecalcView& view) {
  ComputeReserve(view, num::kM1002, num::kA1002B, num::kA1002S, {id::kA1002S, id::kA1002B});
}
void Reserve1003(RecalcView& view) {
  ComputeReserve(view, num::kM1003, num::kA1003B, num::kA1003S, {id::kA1003S, id::kA1003B});
}
void Reserve1004(RecalcView& view) {
  ComputeReserve(view, num::kM1004, num::kA1004B, num::kA1004S, {id::kA1004S, id::kA1004B});
}
void Reserve1005(RecalcView& view) {
  ComputeReserve(view, num::kM1005, num::kA1005B, num::kA1005S, {id::kA1005S, id::kA1005B});
}
void Reserve1006(RecalcView& view) {
  ComputeReserve(view, num::kM1006, num::kA1006B, num::kA1006S, {id::kA1006S, id::kA1006B});
}
void Reserve1007(RecalcView& view) {
  ComputeReserve(view, num::kM1007, num::kA1007B, num::kA1007S, {id::kA1007S, id::kA1007B});
}
void Reserve1008(RecalcView& view) {
  ComputeReserve(view, num::kM1008, num::kA1008B, num::kA1008S, {id::kA1008S, id::kA1008B});
}

void Split1201(RecalcView& view) {
  SplitRecording(
      view, {{num::kA1201D, id::kP1201D}, {num::kA1201M, id::kP1201M}, {num::kA1201R, id::kP1201R}},
      num::kA1201B, {id::kA1201B, id::kA1201S});
}
void Split1202(RecalcView& view) {
  SplitRecording(view, {{num::kA1202D, id::kP1202D}, {num::kA1202M, id::kP1202M}}, num::kA1202B,
                 {id::kA1202B, id::kA1202S});
}
void Split1203(RecalcView& view) {
  SplitRecording(view, {{num::kA1203D, id::kP1203D}, {num::kA1203M, id::kP1203M}}, num::kA1203B,
                 {id::kA1203B, id::kA1203S});
}

void Sum800B(RecalcView& view) {
  SetSubtotal(
      view, kSub800B, kExpense1Table,
      {num::kA801B, num::kA802B, num::kA803B, num::kA804B, num::kA805B, num::kA806B, num::kA807B,
       num::kA808B, num::kA809B, num::kA810B, num::kA811B, num::kA812B, num::kA813B, num::kA814B,
       num::kA815B, num::kA816B, num::kA817B, num::kA818B, num::kA819B, num::kA820B});
}
void Sum800S(RecalcView& view) {
  SetSubtotal(
      view, kSub800S, kExpense1Table,
      {num::kA801S, num::kA802S, num::kA803S, num::kA804S, num::kA805S, num::kA806S, num::kA807S,
       num::kA808S, num::kA809S, num::kA810S, num::kA811S, num::kA812S, num::kA813S, num::kA814S,
       num::kA815S, num::kA816S, num::kA817S, num::kA818S, num::kA819S, num::kA820S});
}
void Sum900B(RecalcView& view) {
  SetSubtotal(view, kSub900B, kExpense2Table,
              {num::kA901B, num::kA902B, num::kA903B, num::kA904B, num::kA905B, num::kA906B});
}
void Sum900S(RecalcView& view) {
  SetSubtotal(view, kSub900S, kExpense2Table,
              {num::kA901S, num::kA902S, num::kA903S, num::kA904S, num::kA905S, num::kA906S});
}
void Sum1000B(RecalcView& view) {
  SetSubtotal(view, kSub1000B, kExpense2Table,
              {num::kA1001B, num::kA1002B, num::kA1003B, num::kA1004B, num::kA1005B, num::kA1006B,
               num::kA1007B, num::kA1008B, num::kA1009B});
}
void Sum1000S(RecalcView& view) {
  SetSubtotal(view, kSub1000S, kExtraTable,
              {num::kA1001S, num::kA1002S, num::kA1003S, num::kA1004S, num::kA1005S, num::kA1006S,
               num::kA1007S, num::kA1008S, num::kA1009S});
}
void Sum1100B(RecalcView& view) {
  SetSubtotal(view, kSub1100B, kExpense3Table,
              {num::kA1101B, num::kA1102B, num::kA1103B, num::kA1104B, num::kA1105B, num::kA1106B,
               num::kA1107B, num::kA1108B, num::kA1111B, num::kA1112B, num::kA1113B, num::kA1114B,
               num::kA1115B});
}
void Sum1100S(RecalcView& view) {
  SetSubtotal(view, kSub1100S, kExpense3Table,
              {num::kA1101S, num::kA1102S, num::kA1103S, num::kA1104S, num::kA1105S, num::kA1106S,
               num::kA1107S, num::kA1108S, num::kA1111S, num::kA1112S, num::kA1113S, num::kA1114S,
               num::kA1115S});
}
void Sum1200B(RecalcView& view) {
  SetSubtotal(view, kSub1200B, kExpense4Table,
              {num::kA1201B, num::kA1202B, num::kA1203B, num::kA1204B, num::kA1205B, num::kA1206B,
               num::kA1207B});
}
void Sum1200S(RecalcView& view) {
  SetSubtotal(view, kSub1200S, kExpense4Table,
              {num::kA1201S, num::kA1202S, num::kA1203S, num::kA1204S, num::kA1205S, num::kA1206S,
               num::kA1207S});
}
void Sum1300B(RecalcView& view) {
  SetSubtotal(view, kSub1300B, kExpense4Table,
              {num::kA1301B, num::kA1302B, num::kA1303B, num::kA1304B, num::kA1305B, num::kA1306B,
               num::kA1307B, num::kA1308B, num::kA1309B, num::kA1310B});
}
void Sum1300S(RecalcView& view) {
  SetSubtotal(view, kSub1300S, kExpense4Table,
              {num::kA1301S, num::kA1302S, num::kA1303S, num::kA1304S, num::kA1305S, num::kA1306S,
               num::kA1307S, num::kA1308S, num::kA1309S, num::kA1310S});
}

void Total1400B(RecalcView& view) {
  StoreLine1400(view, kA703B, kA704B, kSub800B, {kExpense4Table, num::kA1400B},
                {id::kA1400B_Line1400, id::kA1400B_Line103});
}
void Total1400S(RecalcView& view) {
  StoreLine1400(view, kA703S, kA704S, kSub800S, {kExpense4Table, num::kA1400S},
                {id::kA1400S_Line1400, id::kA1400S_Line502});
}
