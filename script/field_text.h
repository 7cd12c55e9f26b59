/*
** A data field's value as text by its name, as DDE replies, templates and the printout ask
** for it: "^" upper-cases the answer, "*" asks for a long date, "!" for an amount or date in
** words. Besides the fields of both data-field lists there are the pseudo-fields "Grantee",
** "Grantor", "Buyer", "Seller" and "TitleText".
*/
#ifndef ZARNE_SCRIPT_FIELD_TEXT_H
#define ZARNE_SCRIPT_FIELD_TEXT_H

#include "script/script_field_binding.h"

/* The text of the title item the DDE client last selected; empty when none. It always
   exists, so "TitleText" without a DDE client reads empty text. */
constexpr unsigned kTitleTextSize = 16384;
// Owner: script.
extern char gTitleText[kTitleTextSize];

/* 1 when the name was found, then out holds its text; 0 otherwise, with out untouched (but
   emptied when there is no view). Nothing is written for a null out or a size below 2. */
int GetFieldText(TScriptFieldBinding* view, const char* name, char* out, unsigned size);

#endif
