/*
** The string calls of the kernel on Windows-1252 text: lstrlen, lstrcpy, lstrcpyn,
** lstrcat, and the two comparisons lstrcmp / lstrcmpi that sorted lists, reports and
** script conditions rely on.
**
** A null pointer never crashes these calls: lstrlen(NULL) is 0, the copy calls answer
** NULL, and a null string compares below any other string (two nulls are equal).
**
** Collation (the "word sort" of the original platform), compared level by level; a later
** level counts only when every earlier one is equal:
**   1. Letters by alphabet, ignoring case and accents (a < B < c); an accented letter
**      sorts with its base letter (e, é, ê together), the ligatures Æ, Œ and ß as the two
**      letters ae, oe and ss; thorn and micro sign sort after z. Digits (with the
**      superscripts 1, 2, 3) sort before letters, and space and the other punctuation and
**      symbols before digits, in the order of their byte values. The hyphen, the
**      apostrophe, the soft hyphen and control characters are skipped at this level, so
**      "co-op" sorts beside "coop" and "O'Neil" beside "Oneil". A string that is a prefix
**      of another sorts first.
**   2. Accents: the unaccented letter first.
**   3. Case (lstrcmp only): lower case before upper case at the first difference, so
**      "abc" < "Abc" < "abd".
**   4. The skipped characters: a string with fewer of them first ("coop" < "co-op").
**   5. Last the bytes themselves (for lstrcmpi after upper-casing), so lstrcmp answers 0
**      only for identical strings and lstrcmpi only for strings equal but for case.
** Results are -1, 0 or 1.
*/
#ifndef ZARNE_PLATFORM_KERNEL_STRING_CALLS_H
#define ZARNE_PLATFORM_KERNEL_STRING_CALLS_H

#include "platform/kernel/wintypes.h"

int lstrlen(LPCSTR text);
LPSTR lstrcpy(LPSTR destination, LPCSTR source);
/* Copies at most max_count - 1 characters and always terminates (max_count > 0). */
LPSTR lstrcpyn(LPSTR destination, LPCSTR source, int max_count);
LPSTR lstrcat(LPSTR destination, LPCSTR source);
int lstrcmp(LPCSTR first, LPCSTR second);
int lstrcmpi(LPCSTR first, LPCSTR second);

#define lstrlenA  lstrlen
#define lstrcpyA  lstrcpy
#define lstrcpynA lstrcpyn
#define lstrcatA  lstrcat
#define lstrcmpA  lstrcmp
#define lstrcmpiA lstrcmpi

#endif
