/*
** The check-form file chkform.dat: the 64 positions of the office's check layout, kept as
** exactly 128 bytes of signed 16-bit little-endian values; -1000 marks a value as unset.
*/
#ifndef ZARNE_TABLEACCESS_CHECK_FORM_SETTINGS_H
#define ZARNE_TABLEACCESS_CHECK_FORM_SETTINGS_H

#include "platform/kernel/wintypes.h"

constexpr int kCheckFormValueCount = 64;
constexpr int kCheckFormFileSize = 128;
constexpr short kCheckFormUnset = -1000;

/* The program-wide check layout, read at start-up and written by the check-form editor. */
// Owner: tableaccess.
extern short gCheckFormLayout[kCheckFormValueCount];

/* Reads the values from path (created when missing). A file of any size but 128 bytes is
   reset: every value unset, and the file rewritten as exactly 128 bytes. */
void ReadCheckFormSettings(short values[kCheckFormValueCount], LPCSTR path);

/* Writes the 128 bytes from the start of the file, which then ends there. */
void WriteCheckFormSettings(const short values[kCheckFormValueCount], LPCSTR path);

#endif
