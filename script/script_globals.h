/*
** The built-in script variables shared by every script and every interpreter:
** AcctType$, AcctName$, AcctDesc$ (texts) and AcctAmount (a number). Bundle scripts leave
** one posting in them per step; they keep their values between runs.
*/
#ifndef ZARNE_SCRIPT_SCRIPT_GLOBALS_H
#define ZARNE_SCRIPT_SCRIPT_GLOBALS_H

#include "script/script_variables.h"

// Owner: script.
extern TVariableList gScriptGlobals;

/* Adds the four built-ins when the list is empty; otherwise does nothing. */
void RegisterScriptGlobals();

#endif
