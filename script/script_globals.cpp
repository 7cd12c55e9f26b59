/*
** The program-wide list of built-in script variables.
*/
#include "script/script_globals.h"

#include <cstring>

TVariableList gScriptGlobals;

namespace {

void AddBuiltIn(const char* name, TVariableType type) {
  TVariableNode node;
  std::strncpy(node.name, name, kScriptNameSize - 1);
  node.type = type;
  gScriptGlobals.Add(node);  // strings start empty, the number at zero
}

}  // namespace

void RegisterScriptGlobals() {
  if (!gScriptGlobals.IsEmpty()) return;
  AddBuiltIn("AcctType$", kVariableString);
  AddBuiltIn("AcctName$", kVariableString);
  AddBuiltIn("AcctDesc$", kVariableString);
  AddBuiltIn("AcctAmount", kVariableNumber);
}
