/*
** SplitPersonName: a person's name as written ("John A. Smith Jr.", "Mary Jones") split into
** first names and last name, a generational or professional suffix kept with the first names.
*/
#ifndef ZARNE_ACCOUNTING_PERSON_NAME_H
#define ZARNE_ACCOUNTING_PERSON_NAME_H

/* Both outputs must hold at least as many bytes as the name (with its terminator). */
void SplitPersonName(const char* name, char* firstNames, char* lastName);

#endif
