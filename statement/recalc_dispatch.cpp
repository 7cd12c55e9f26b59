/*
** The dispatch table of the built-in rules and RecalcForField over it.
*/
#include "statement/recalc_dispatch.h"

#include "statement/recalc_field_scripts.h"
#include "statement/recalc_rules.h"
#include "tableaccess/field_list.h"

#include <array>

#define RULE(name) RecalcRule{#name, name}

namespace {

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
  static const Rules tail{RULE(Sum1000B),   RULE(Sum1000S), RULE(Total1400B), RULE(Total120),
                          RULE(Total303),   RULE(Total1400S), RULE(Total520), RULE(Total603)};
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
  static const Rules rules = Then(Then({RULE(Sum800B)}, BorrowerTail()),
                                  Then({RULE(Sum800S)}, SellerTail()));
  return rules;
}

std::vector<DispatchRow> BuildRows() {
  return {
      {Each({213, 214, 224, 229, 234, 236, 238, 240, 242, 244, 245, 256, 261, 266, 268, 270, 272,
             274}),
       LineTotals100()},
      {Each({217, 219}), {RULE(Total120), RULE(Total303)}},
      {{{220, 223}, {252, 255}}, Then({RULE(Prorate106)}, LineTotals100())},
      {{{225, 228}, {257, 260}}, Then({RULE(Prorate107)}, LineTotals100())},
      {{{230, 233}, {262, 265}}, Then({RULE(Prorate108)}, LineTotals100())},
      {Each({247, 249, 251}), {RULE(Total420), RULE(Total603)}},
      {Each({276}), {RULE(Compute507), RULE(Total220), RULE(Total303)}},
      {Each({277}),
       {RULE(Compute801), RULE(Compute802), RULE(Sum800B), RULE(Total1400B), RULE(Total120),
        RULE(Total220), RULE(Total303), RULE(Sum800S), RULE(Total1400S), RULE(Total520),
        RULE(Total603)}},
      {Each({278, 290, 295, 300, 305, 307, 309, 311, 313, 315, 317, 319, 326, 336, 341, 346, 351,
             353, 355, 357, 359, 361, 363, 365}),
       LineTotals200()},
      {Each({280, 282, 284, 286, 288}), {RULE(Total220), RULE(Total303)}},
      {{{291, 294}, {337, 340}}, Then({RULE(Prorate210)}, LineTotals200())},
      {{{296, 299}, {342, 345}}, Then({RULE(Prorate211)}, LineTotals200())},
      {{{301, 304}, {347, 350}}, Then({RULE(Prorate212)}, LineTotals200())},
      {Each({324}), {RULE(Compute507), RULE(Total520), RULE(Total603)}},
      {{{327, 328}, {334, 334}}, {RULE(Total520), RULE(Total603)}},
      {Each({330, 380}),
       Then({RULE(Compute703), RULE(Compute507)}, Commission1400())},
      {{{370, 371}}, Then({RULE(ComputeCommission)}, Commission1400())},
      {Each({372}), Then({RULE(SplitCommission)}, Commission1400())},
      {Each({373}), {RULE(Split701)}},
      {Each({375}), {RULE(Split702)}},
      {Each({377, 209}), BorrowerTail()},
      {Each({378, 210}), SellerTail()},
      {Each({384, 387, 391, 395, 398, 402, 405, 409, 413, 417, 421, 579, 583, 587, 591, 595, 599,
             603, 607, 611}),
       Then({RULE(Sum800B)}, BorrowerTail())},
      {Each({385, 388, 392, 396, 399, 403, 406, 410, 414, 418, 422, 580, 584, 588, 592, 596, 600,
             604, 608, 612}),
       Then({RULE(Sum800S)}, SellerTail())},
      {{{423, 425}},
       {RULE(Compute901), RULE(Sum900B), RULE(Sum900S), RULE(Total1400B), RULE(Total1400S),
        RULE(Total120), RULE(Total303), RULE(Total520), RULE(Total603)}},
      {Each({426, 430, 434, 438, 441, 614}), Then({RULE(Sum900B)}, BorrowerTail())},
      {Each({427, 431, 435, 439, 442, 615}), Then({RULE(Sum900S)}, SellerTail())},
      {{{443, 444}}, Then({RULE(Reserve1001)}, ReserveTail())},
      {{{446, 447}}, Then({RULE(Reserve1002)}, ReserveTail())},
      {{{449, 450}}, Then({RULE(Reserve1003)}, ReserveTail())},
      {{{452, 453}}, Then({RULE(Reserve1004)}, ReserveTail())},
      {{{455, 456}}, Then({RULE(Reserve1005)}, ReserveTail())},
      {{{458, 459}}, Then({RULE(Reserve1006)}, ReserveTail())},
      {{{462, 463}}, Then({RULE(Reserve1007)}, ReserveTail())},
      {{{466, 467}}, Then({RULE(Reserve1008)}, ReserveTail())},
      {Each({445, 448, 451, 454, 457, 460, 464, 468, 617}),
       Then({RULE(Sum1000B)}, BorrowerTail())},
      {{{563, 570}, {618, 618}}, Then({RULE(Sum1000S)}, SellerTail())},
      {Each({470, 473, 476, 479, 482, 485, 489, 493, 500, 503, 506, 620, 623}),
       Then({RULE(Sum1100B)}, BorrowerTail())},
      {Each({471, 474, 477, 480, 483, 486, 490, 494, 501, 504, 507, 621, 624}),
       Then({RULE(Sum1100S)}, SellerTail())},
      {{{508, 513}}, Then({RULE(Split1201)}, RecordingTail())},
      {{{516, 519}}, Then({RULE(Split1202)}, RecordingTail())},
      {{{522, 525}}, Then({RULE(Split1203)}, RecordingTail())},
      {Each({529, 532, 626, 629}), Then({RULE(Sum1200B)}, BorrowerTail())},
      {Each({530, 533, 627, 630}), Then({RULE(Sum1200S)}, SellerTail())},
      {Each({535, 538, 541, 544, 547, 550, 553, 632, 635, 638}),
       Then({RULE(Sum1300B)}, BorrowerTail())},
      {Each({536, 539, 542, 545, 548, 551, 554, 633, 636, 639}),
       Then({RULE(Sum1300S)}, SellerTail())},
      {Each({557}), Then({RULE(Compute801)}, LoanChargeTail())},
      {Each({558}), Then({RULE(Compute802)}, LoanChargeTail())},
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
  static const Rules rules{
      RULE(Sum800B),   RULE(Sum800S),   RULE(Sum900B),    RULE(Sum900S),    RULE(Sum1000B),
      RULE(Sum1000S),  RULE(Sum1100B),  RULE(Sum1100S),   RULE(Split1201),  RULE(Split1202),
      RULE(Split1203), RULE(Sum1200B),  RULE(Sum1200S),   RULE(Sum1300B),   RULE(Sum1300S),
      RULE(Total1400B), RULE(Total1400S), RULE(Total120), RULE(Total420),   RULE(Total220),
      RULE(Total520),  RULE(Total303),  RULE(Total603)};
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
