/*
** The office's default values for a new closing file, from zarne.ini [DefaultValues]: the
** settlement agent, the county and tax year, the proration day counts and who pays the
** recording charges. A missing value gets its default, written back at once.
*/
#ifndef ZARNE_STATEMENT_DEFAULT_VALUES_H
#define ZARNE_STATEMENT_DEFAULT_VALUES_H

class RespaWindow;

/* Fills the buffer of the record the window has just created for table index; only SAGENT,
   PROPERTY, SUMMARY1, SUMMARY2 and EXPENSE4 receive values. */
void ApplyDefaultValues(RespaWindow* view, int tableIndex);

#endif
