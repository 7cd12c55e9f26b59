/*
** Template merge: a copy of a template text (a legal description, a requirement or an
** exception) with its markers replaced. "|name|" is a data field's text (with the prefixes
** of GetFieldText), "|?prompt|" is what the user answers to the prompt, and "||" outside a
** marker is one "|".
*/
#ifndef ZARNE_SCRIPT_TEMPLATE_MERGE_H
#define ZARNE_SCRIPT_TEMPLATE_MERGE_H

#include "script/script_field_binding.h"

class TWindow;

/* Writes at most size - 1 characters and a terminator into out (nothing for a size below
   2); the source is left as it is. A marker left open drops the rest of the source. The
   prompt dialog is owned by parent and captioned caption; a prompt not answered with OK
   stands as "____". */
void MergeTemplateText(TWindow* parent, TScriptFieldBinding* view, const char* caption,
                       const char* source, char* out, unsigned size);

/* Fuzzing only: answers the prompts in place of the dialog, given the prompt as the dialog
   would show it; true with the answer written (terminated within size) stands for OK. Null
   brings the dialog back. */
using TPromptAnswerer = bool (*)(const char* prompt, char* answer, unsigned size);
void SetPromptAnswerer(TPromptAnswerer answerer);

#endif
