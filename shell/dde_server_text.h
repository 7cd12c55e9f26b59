/*
** What the DDE server makes of a client's texts before it touches a window: the execute
** commands of the title-item walk, and a poked text turned into the value a field's display
** kind stores, or refused. Nothing here reaches a window or a table, so it can be checked
** (and fuzzed) on its own.
*/
#ifndef ZARNE_SHELL_DDE_SERVER_TEXT_H
#define ZARNE_SHELL_DDE_SERVER_TEXT_H

#include "platform/kernel/wintypes.h"

#include <string>

struct TFieldNode;

/* An execute text is read up to this many characters (a terminator follows). */
constexpr unsigned kExecuteTextLength = 1023;

/* One of the thirteen execute commands. */
struct TTitleCommand {
  bool next = false;        // "GetNextTI": continue the walk
  const char* type = "";    // "1A", "1B" or "2" for a first-item command
  const char* policy = "";  // "B", "O", "L", or "" with allPolicies
  bool allPolicies = false;
};

/* False for a text that is none of the thirteen commands (compared case-sensitively). */
bool ReadTitleCommand(const char* text, TTitleCommand* command);

/* How many bytes of a poke's data the field's display kind reads; 0 when the kind takes
   no poke. A text field reads its text limit. */
unsigned PokeTextLength(const TFieldNode& field);

/* The value a poke stores, by the field's display kind. */
struct TPokeValue {
  enum Kind { kString, kDouble, kLong } kind = kString;
  std::string text;
  double number = 0;
  LONG whole = 0;
};

/* Converts a poked text (already cut to PokeTextLength and terminated) for the field;
   false when the text is refused and nothing may be written. */
bool ConvertPokeText(const TFieldNode& field, const char* text, TPokeValue* value);

#endif
