/*
** Bundle scripts run step by step: each run of the interpreter up to an `end` is one step,
** and a step that leaves a positive amount in AcctAmount, rounded to whole cents, asks for
** one entry: a deposit when AcctType$ is "D", else a check, with AcctName$ and AcctDesc$ cut
** to their 60 characters. A step stopped by a script error asks for nothing and ends its
** file, since its variables are half computed; the end of the text without a final `end`
** is a finished step.
*/
#ifndef ZARNE_ACCOUNTING_BUNDLE_STEPS_H
#define ZARNE_ACCOUNTING_BUNDLE_STEPS_H

#include "script/script_decimal.h"

#include <functional>
#include <string>

class TZBasic;
struct TVariableNode;

/* The four built-in variables a step leaves its posting in. */
struct TBundleOutputs {
  TVariableNode* type = nullptr;
  TVariableNode* name = nullptr;
  TVariableNode* description = nullptr;
  TVariableNode* amount = nullptr;
};

/* The built-ins from the program's script globals; false when one is missing. */
bool FindBundleOutputs(TBundleOutputs* out);

/* What one step asks to be entered. */
struct TBundleEntry {
  bool deposit = false;
  std::string payee;        // at most 60 characters
  std::string description;  // at most 60 characters
  ScriptDecimal cents;      // the amount rounded to whole cents, above 0
};

/* Runs the file's text (NUL-terminated) step by step with the interpreter, calling make for
   each entry a step asks for, in order. */
void RunBundleSteps(TZBasic& interpreter, const char* text, const TBundleOutputs& out,
                    const std::function<void(const TBundleEntry&)>& make);

#endif
