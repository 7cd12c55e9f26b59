/*
** Splitting an item-set file (*.B1A, *.B1B, *.B2) into title items. A file is plain text;
** items are separated by two blank lines (CR LF CR LF CR LF). Each item comes out in stored
** form: CR LF packed to 0x0B, TAB and 0x0B kept, other control characters dropped, bytes
** 0x80-0xFF kept, at most 16382 characters (a longer run goes on as the next item).
*/
#ifndef ZARNE_CLOSINGFILE_TITLE_ITEM_SPLIT_H
#define ZARNE_CLOSINGFILE_TITLE_ITEM_SPLIT_H

#include <cstddef>

/* The most an item collects from the file. */
constexpr size_t kTitleItemCollectLimit = 16382;

/* Collects the next item of text[0, length) from position `at` into item (room for
   kTitleItemCollectLimit characters and the terminator), moving `at` past it. False when
   only white space and control characters are left. */
bool NextTitleItem(const char* text, size_t length, size_t& at, char* item);

/* Removes trailing TAB, LF, VT, FF, CR and spaces. */
void TrimTitleItem(char* item);

#endif
