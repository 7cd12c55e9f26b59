/*
** The dispatch table of the built-in rules and RecalcForField over it.
*/
#include "statement/recalc_dispatch.h"

#include "statement/recalc_field_scripts.h"
#include "statement/recalc_rules.h"
#include "tableaccess/field_list.h"

#include "hud_field_names.h"

#include <array>

#define RULE(name) \
  RecalcRule { #name, name }

namespace {

/* Fields by the form's names for them: A101 is line 101's amount, DB106 and PA106DAYS the
   first and last of line 106's proration fields; a field both columns show carries its line. */
namespace id = field_id;

using Rules = std::vector<RecalcRule>;
using Ids = std::vector<FieldIdSpan>;

/* Single ids as spans of one. */
Ids Each(std::initializer_list<int> ids) {
  Ids spans;
  for (int id : ids) spans.push_back({id, id});
  return spans;
}

Rules Then(Rules head, const Rules& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

const Rules& BorrowerTail() {
  static const Rules tail{RULE(Total1400B), RULE(Total120), RULE(Total303)};
  return tail;
}
const Rules& SellerTail() {
  static const Rules tail{RULE(Total1400S), RULE(Total520), RULE(Total603)};
  return tail;
}
const Rules& ReserveTail() {
  static const Rules tail{RULE(Sum1000B), RULE(Sum1000S),   RULE(Total1400B), RULE(Total120),
                          RULE(Total303), RULE(Total1400S), RULE(Total520),   RULE(Total603)};
  return tail;
}
const Rules& RecordingTail() {
  static const Rules tail{RULE(Sum1200B), RULE(Sum1200S), RULE(Total1400B), RULE(Total1400S),
                          RULE(Total120), RULE(Total420), RULE(Total220),   RULE(Total520),
                          RULE(Total303), RULE(Total603)};
  return tail;
}
const Rules& LineTotals100() {
  static const Rules rules{RULE(Total120), RULE(Total420), RULE(Total303), RULE(Total603)};
  return rules;
}
const Rules& LineTotals200() {
  static const Rules rules{RULE(Total220), RULE(Total520), RULE(Total303), RULE(Total603)};
  return rules;
}
const Rules& Commission1400() {
  static const Rules rules{RULE(Total1400B), RULE(Total1400S), RULE(Total120),
                           RULE(Total520),   RULE(Total303),   RULE(Total603)};
  return rules;
}
const Rules& LoanChargeTail() {
  static const Rules rules =
      Then(Then({RULE(Sum800B)}, BorrowerTail()), Then({RULE(Sum800S)}, SellerTail()));
  return rules;
}

std::vector<DispatchRow> BuildRows() {
  return {
      {Each({id::kA101_Line101, id::kA102_Line102, id::kA106_Line106, id::kA107_Line107,
             id::kA108_Line108, id::kA109_Line109, id::kA110_Line110, id::kA111_Line111,
             id::kA112_Line112, id::kA101_Line401, id::kA102_Line402, id::kA106_Line406,
             id::kA107_Line407, id::kA108_Line408, id::kA109_Line409, id::kA110_Line410,
             id::kA111_Line411, id::kA112_Line412}),
       LineTotals100()},
      {Each({id::kA104, id::kA105}), {RULE(Total120), RULE(Total303)}},
      {{{id::kDB106_Line106, id::kPA106DAYS_Line106}, {id::kDB106_Line406, id::kPA106DAYS_Line406}},
       Then({RULE(Prorate106)}, LineTotals100())},
      {{{id::kDB107_Line107, id::kPA107DAYS_Line107}, {id::kDB107_Line407, id::kPA107DAYS_Line407}},
       Then({RULE(Prorate107)}, LineTotals100())},
      {{{id::kDB108_Line108, id::kPA108DAYS_Line108}, {id::kDB108_Line408, id::kPA108DAYS_Line408}},
       Then({RULE(Prorate108)}, LineTotals100())},
      {Each({id::kA403, id::kA404, id::kA405}), {RULE(Total420), RULE(Total603)}},
      {Each({id::kA201}), {RULE(Compute507), RULE(Total220), RULE(Total303)}},
      {Each({id::kA202}),
       {RULE(Compute801), RULE(Compute802), RULE(Sum800B), RULE(Total1400B), RULE(Total120),
        RULE(Total220), RULE(Total303), RULE(Sum800S), RULE(Total1400S), RULE(Total520),
        RULE(Total603)}},
      {Each({id::kA203_Line203, id::kA209_Line209, id::kA210_Line210, id::kA211_Line211,
             id::kA212_Line212, id::kA213_Line213, id::kA214_Line214, id::kA215_Line215,
             id::kA216_Line216, id::kA217_Line217, id::kA218_Line218, id::kA219_Line219,
             id::kA203_Line503, id::kA209_Line509, id::kA210_Line510, id::kA211_Line511,
             id::kA212_Line512, id::kA213_Line513, id::kA214_Line514, id::kA215_Line515,
             id::kA216_Line516, id::kA217_Line517, id::kA218_Line518, id::kA219_Line519}),
       LineTotals200()},
      {Each({id::kA204, id::kA205, id::kA206, id::kA207, id::kA208}),
       {RULE(Total220), RULE(Total303)}},
      {{{id::kDB210_Line210, id::kPA210DAYS_Line210}, {id::kDB210_Line510, id::kPA210DAYS_Line510}},
       Then({RULE(Prorate210)}, LineTotals200())},
      {{{id::kDB211_Line211, id::kPA211DAYS_Line211}, {id::kDB211_Line511, id::kPA211DAYS_Line511}},
       Then({RULE(Prorate211)}, LineTotals200())},
      {{{id::kDB212_Line212, id::kPA212DAYS_Line212}, {id::kDB212_Line512, id::kPA212DAYS_Line512}},
       Then({RULE(Prorate212)}, LineTotals200())},
      {Each({id::kA501}), {RULE(Compute507), RULE(Total520), RULE(Total603)}},
      {{{id::kA504, id::kA505}, {id::kA508, id::kA508}}, {RULE(Total520), RULE(Total603)}},
      {Each({id::kA506_Line506, id::kA506_Line703}),
       Then({RULE(Compute703), RULE(Compute507)}, Commission1400())},
      {{{id::kPA700, id::kPC700}}, Then({RULE(ComputeCommission)}, Commission1400())},
      {Each({id::kA700}), Then({RULE(SplitCommission)}, Commission1400())},
      {Each({id::kA701}), {RULE(Split701)}},
      {Each({id::kA702}), {RULE(Split702)}},
      {Each({id::kA703B, id::kA704B}), BorrowerTail()},
      {Each({id::kA703S, id::kA704S}), SellerTail()},
      {Each({id::kA801B, id::kA802B, id::kA803B, id::kA804B, id::kA805B, id::kA806B, id::kA807B,
             id::kA808B, id::kA809B, id::kA810B, id::kA811B, id::kA812B, id::kA813B, id::kA814B,
             id::kA815B, id::kA816B, id::kA817B, id::kA818B, id::kA819B, id::kA820B}),
       Then({RULE(Sum800B)}, BorrowerTail())},
      {Each({id::kA801S, id::kA802S, id::kA803S, id::kA804S, id::kA805S, id::kA806S, id::kA807S,
             id::kA808S, id::kA809S, id::kA810S, id::kA811S, id::kA812S, id::kA813S, id::kA814S,
             id::kA815S, id::kA816S, id::kA817S, id::kA818S, id::kA819S, id::kA820S}),
       Then({RULE(Sum800S)}, SellerTail())},
      {{{id::kDB901, id::kPD901}},
       {RULE(Compute901), RULE(Sum900B), RULE(Sum900S), RULE(Total1400B), RULE(Total1400S),
        RULE(Total120), RULE(Total303), RULE(Total520), RULE(Total603)}},
      {Each({id::kA901B, id::kA902B, id::kA903B, id::kA904B, id::kA905B, id::kA906B}),
       Then({RULE(Sum900B)}, BorrowerTail())},
      {Each({id::kA901S, id::kA902S, id::kA903S, id::kA904S, id::kA905S, id::kA906S}),
       Then({RULE(Sum900S)}, SellerTail())},
      {{{id::kM1001, id::kPA1001}}, Then({RULE(Reserve1001)}, ReserveTail())},
      {{{id::kM1002, id::kPA1002}}, Then({RULE(Reserve1002)}, ReserveTail())},
      {{{id::kM1003, id::kPA1003}}, Then({RULE(Reserve1003)}, ReserveTail())},
      {{{id::kM1004, id::kPA1004}}, Then({RULE(Reserve1004)}, ReserveTail())},
      {{{id::kM1005, id::kPA1005}}, Then({RULE(Reserve1005)}, ReserveTail())},
      {{{id::kM1006, id::kPA1006}}, Then({RULE(Reserve1006)}, ReserveTail())},
      {{{id::kM1007, id::kPA1007}}, Then({RULE(Reserve1007)}, ReserveTail())},
      {{{id::kM1008, id::kPA1008}}, Then({RULE(Reserve1008)}, ReserveTail())},
      {Each({id::kA1001B, id::kA1002B, id::kA1003B, id::kA1004B, id::kA1005B, id::kA1006B,
             id::kA1007B, id::kA1008B, id::kA1009B}),
       Then({RULE(Sum1000B)}, BorrowerTail())},
      {{{id::kA1001S, id::kA1008S}, {id::kA1009S, id::kA1009S}},
       Then({RULE(Sum1000S)}, SellerTail())},
      {Each({id::kA1101B, id::kA1102B, id::kA1103B, id::kA1104B, id::kA1105B, id::kA1106B,
             id::kA1107B, id::kA1108B, id::kA1111B, id::kA1112B, id::kA1113B, id::kA1114B,
             id::kA1115B}),
       Then({RULE(Sum1100B)}, BorrowerTail())},
      {Each({id::kA1101S, id::kA1102S, id::kA1103S, id::kA1104S, id::kA1105S, id::kA1106S,
             id::kA1107S, id::kA1108S, id::kA1111S, id::kA1112S, id::kA1113S, id::kA1114S,
             id::kA1115S}),
       Then({RULE(Sum1100S)}, SellerTail())},
      {{{id::kA1201D, id::kP1201R}}, Then({RULE(Split1201)}, RecordingTail())},
      {{{id::kA1202D, id::kP1202M}}, Then({RULE(Split1202)}, RecordingTail())},
      {{{id::kA1203D, id::kP1203M}}, Then({RULE(Split1203)}, RecordingTail())},
      {Each({id::kA1204B, id::kA1205B, id::kA1206B, id::kA1207B}),
       Then({RULE(Sum1200B)}, BorrowerTail())},
      {Each({id::kA1204S, id::kA1205S, id::kA1206S, id::kA1207S}),
       Then({RULE(Sum1200S)}, SellerTail())},
      {Each({id::kA1301B, id::kA1302B, id::kA1303B, id::kA1304B, id::kA1305B, id::kA1306B,
             id::kA1307B, id::kA1308B, id::kA1309B, id::kA1310B}),
       Then({RULE(Sum1300B)}, BorrowerTail())},
      {Each({id::kA1301S, id::kA1302S, id::kA1303S, id::kA1304S, id::kA1305S, id::kA1306S,
             id::kA1307S, id::kA1308S, id::kA1309S, id::kA1310S}),
       Then({RULE(Sum1300S)}, SellerTail())},
      {Each({id::kPC801}), Then({RULE(Compute801)}, LoanChargeTail())},
      {Each({id::kPC802}), Then({RULE(Compute802)}, LoanChargeTail())},
  };
}

/* The lowest and highest ids a row may name; outside them no field has a rule. */
constexpr int kFirstRuleId = 209;
constexpr int kLastRuleId = 639;

/* Row by field id, filled once from the rows. */
const std::array<const DispatchRow*, kLastRuleId + 1>& RowsById() {
  static const std::array<const DispatchRow*, kLastRuleId + 1> byId = [] {
    std::array<const DispatchRow*, kLastRuleId + 1> table{};
    for (const DispatchRow& row : RecalcDispatchRows())
      for (const FieldIdSpan& span : row.ids)
        for (int id = span.first; id <= span.last; ++id) table[id] = &row;
    return table;
  }();
  return byId;
}

}  // namespace

const std::vector<DispatchRow>& RecalcDispatchRows() {
  static const std::vector<DispatchRow> rows = BuildRows();
  return rows;
}

const DispatchRow* DispatchRowForId(int fieldId) {
  if (fieldId < kFirstRuleId || fieldId > kLastRuleId) return nullptr;
  return RowsById()[fieldId];
}

const std::vector<RecalcRule>& RecalcAllRules() {
  static const Rules rules{RULE(Sum800B),    RULE(Sum800S),   RULE(Sum900B),   RULE(Sum900S),
                           RULE(Sum1000B),   RULE(Sum1000S),  RULE(Sum1100B),  RULE(Sum1100S),
                           RULE(Split1201),  RULE(Split1202), RULE(Split1203), RULE(Sum1200B),
                           RULE(Sum1200S),   RULE(Sum1300B),  RULE(Sum1300S),  RULE(Total1400B),
                           RULE(Total1400S), RULE(Total120),  RULE(Total420),  RULE(Total220),
                           RULE(Total520),   RULE(Total303),  RULE(Total603)};
  return rules;
}

void RecalcAll(RecalcView& view) {
  for (const RecalcRule& rule : RecalcAllRules()) rule.run(view);
}

void RunRulesForFieldId(RecalcView& view, int fieldId) {
  if (const DispatchRow* row = DispatchRowForId(fieldId))
    for (const RecalcRule& rule : row->rules) rule.run(view);
}

void RecalcForField(RecalcView& view, const TFieldNode* field) {
  if (!field) return;
  if (RunFieldScript(view, field)) return;
  RunRulesForFieldId(view, field->fieldId);
}
