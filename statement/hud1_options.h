/*
** The eight statement options of zarne.ini [HUD1Options]: how statement windows open and
** how the statement prints. Read once when the MDI client is built; a missing or
** out-of-range value is replaced by its default; the defaults are written back together
** once the eight are read.
*/
#ifndef ZARNE_STATEMENT_HUD1_OPTIONS_H
#define ZARNE_STATEMENT_HUD1_OPTIONS_H

#include "platform/kernel/wintypes.h"

struct THud1Options {
  SHORT AutoClose;     // opening past MaxWindows closes the earliest window
  SHORT Maximize;      // new statement windows open maximized
  SHORT MaxWindows;    // most statement windows open at once, 1..3
  SHORT Privacy;       // 0 both columns, 1 buyer only, 2 seller only
  SHORT PrintOptions;  // ask the print options before each printout
  SHORT SigPage3;      // signatures on a third page
  SHORT GDILines;      // draw the form's lines when printing
  SHORT DateSig;       // print the signature date
};

// Owner: statement.
extern THud1Options gHud1Options;

/* Reads the eight keys into gHud1Options, repairing and writing back what needs it. */
void ReadHud1Options();
/* Writes one key's value as decimal text. */
void WriteHud1Option(const char* key, SHORT value);

#endif
