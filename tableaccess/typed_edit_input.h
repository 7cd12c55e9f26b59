/*
** What the four typed edit boxes share: the filtering of one key and of pasted text by a
** box's key rule, the beeps of a refusal, the refusal of a text that stands for no value,
** the formatting rectangle they all use, and the reading of a box's text for transfer.
*/
#ifndef ZARNE_TABLEACCESS_TYPED_EDIT_INPUT_H
#define ZARNE_TABLEACCESS_TYPED_EDIT_INPUT_H

#include "tableaccess/typed_edits.h"

#include <string>

/* The rule's verdict for the key at the box's current selection; a refusal beeps. True when
** the key is to go on to the edit control. */
bool AdmitKey(TEdit& box, TKeyRule rule, UINT key);

/* Pasted text is taken as if typed one character after another (up to its first line end):
** true when every character passes, so the paste may go ahead; otherwise the box beeps as
** for the first refused character and nothing is pasted. */
bool AdmitPaste(TEdit& box, TKeyRule rule);

/* Shift+Insert is the keyboard's paste: it is turned into WM_PASTE so that it meets the same
** check. True when the key was used up this way. */
bool PasteKeyTakenOver(TEdit& box, UINT key);

/* The formatting rectangle: the client rectangle with its bottom 8 pixels lower. */
void LowerFormattingRect(TEdit& box);

/* The box's text as the transfer reads it: at most 38 characters. */
std::string TransferText(const TEdit& box);

/* Refuses a text that stands for no value with the validator's message, the focus kept on
** the box. A disabled box is never refused (the user could not mend it). */
bool RefuseUnlessValue(TEdit& box, bool isValue);

#endif
