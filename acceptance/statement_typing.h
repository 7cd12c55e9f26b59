/*
** A user's typing into the statement window, shared by the office day and the program that
** takes the documentation's picture: a field clicked (scrolled into view first), its text
** typed over and left by Tab; a choice field's entry picked by arrow keys; and the purchase
** the office types on its day.
*/
#ifndef ZARNE_ACCEPTANCE_STATEMENT_TYPING_H
#define ZARNE_ACCEPTANCE_STATEMENT_TYPING_H

#include <string>

class RespaWindow;

/* Clicks the field; false when the click did not make it the current field. */
bool ClickStatementField(RespaWindow* view, int id);
/* Clicks, types the text over the field's contents and presses Tab. */
bool TypeIntoStatementField(RespaWindow* view, int id, const std::string& text);
/* Clicks a choice field and picks the entry by Home, Down arrows and Tab; on failure says why. */
bool ChooseInStatementField(RespaWindow* view, int id, const std::string& entry,
                            std::string* why = nullptr);

/* One value of the purchase as it is typed. */
struct TypedValue {
  int id;
  const char* text;
};
struct ChosenValue {
  int id;
  const char* entry;
};
/* The purchase with a new loan (see office_day_figures.py for the same inputs). */
extern const TypedValue kPurchaseTyped[];
extern const int kPurchaseTypedCount;
extern const ChosenValue kPurchaseChosen[];
extern const int kPurchaseChosenCount;

#endif
