/*
** The two floating controls of the statement window, laid over the current field: the edit
** line (TOneEdit) and the choice list (TOneLBox). Both turn Tab, Shift+Tab, Page Up and
** Page Down into the window's field moves; the edit line checks each typed character with
** its field's validator, and hands double and right clicks to the window.
*/
#ifndef ZARNE_STATEMENT_ONE_CONTROLS_H
#define ZARNE_STATEMENT_ONE_CONTROLS_H

#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"

class TOneEdit : public TEdit {
 public:
  TOneEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit,
           bool multiline);

  /* The validator of the field being edited (owned; null for none). */
  void ReplaceValidator(TValidator* validator);
  /* Refusals belong to the commit, which shows its own box; closing is never held up. */
  bool CanClose() override { return true; }

  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;
  void EvChar(UINT key, UINT repeatCount, UINT flags) override;
  void EvRButtonDown(UINT modKeys, TPoint& point) override;
  void EvLButtonDblClk(UINT modKeys, TPoint& point) override;

 private:
  /* Types one character with the default handling and lets the validator judge the
     result; a refused character leaves text and selection as they were. */
  void TypeCheckedCharacter();

  DECLARE_RESPONSE_TABLE(TOneEdit);
};

class TOneLBox : public TListBox {
 public:
  TOneLBox(TWindow* parent, int id, int x, int y, int w, int h);

  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;

 private:
  DECLARE_RESPONSE_TABLE(TOneLBox);
};

#endif
