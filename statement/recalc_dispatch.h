/*
** Which built-in rules follow a change of which statement field: the dispatch kept as data
** (spans of field ids to rule sequences) so it can be walked, and the entry points the edit
** commit, the script write-back, the DDE poke and the Schedule A command call.
*/
#ifndef ZARNE_STATEMENT_RECALC_DISPATCH_H
#define ZARNE_STATEMENT_RECALC_DISPATCH_H

#include "statement/recalc_view.h"

#include <vector>

struct TFieldNode;

struct RecalcRule {
  const char* name;
  void (*run)(RecalcView& view);
};

struct FieldIdSpan {
  int first;
  int last;
};

struct DispatchRow {
  std::vector<FieldIdSpan> ids;
  std::vector<RecalcRule> rules;
};

/* Every row, in the order of the statement's lines. */
const std::vector<DispatchRow>& RecalcDispatchRows();
/* The row of a field id, or null when the id has no built-in rule. */
const DispatchRow* DispatchRowForId(int fieldId);
/* The rules RecalcAll runs, in order. */
const std::vector<RecalcRule>& RecalcAllRules();

/* The field's script when one is loaded (then RecalcAll), else its row's rules. */
void RecalcForField(RecalcView& view, const TFieldNode* field);
/* Every column sum, the three recording splits and every total. */
void RecalcAll(RecalcView& view);
/* Runs the rules of a field id's row, if it has one. */
void RunRulesForFieldId(RecalcView& view, int fieldId);

#endif
