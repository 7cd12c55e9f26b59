/*
** The records a dialog editor exchanges with a library of custom controls: the control's
** description (CustomControlInfoA fills it), the style record its style function edits, and
** the named style flags the editor lists. Native pointers stand where the originals held
** 32-bit ones.
*/
#ifndef ZARNE_PLATFORM_USER_CUSTOM_CONTROLS_H
#define ZARNE_PLATFORM_USER_CUSTOM_CONTROLS_H

#include "platform/user/window_types.h"

#ifndef ZARNE_LANGID_DEFINED
#define ZARNE_LANGID_DEFINED
typedef WORD LANGID;
#endif

#define CCHCCCLASS 32
#define CCHCCDESC  32
#define CCHCCTEXT  256
#define CCF_NOTEXT 1

typedef struct tagCCSTYLEA {
  DWORD flStyle;
  DWORD flExtStyle;
  CHAR szText[CCHCCTEXT];
  LANGID lgid;
  WORD wReserved1;
} CCSTYLEA, *LPCCSTYLEA;

typedef struct tagCCSTYLEFLAGA {
  DWORD flStyle;
  DWORD flStyleMask;
  LPSTR pszStyle;
} CCSTYLEFLAGA, *LPCCSTYLEFLAGA;

typedef BOOL(CALLBACK* LPFNCCSTYLEA)(HWND parent, LPCCSTYLEA style);
typedef INT(CALLBACK* LPFNCCSIZETOTEXTA)(DWORD style, DWORD extendedStyle, HFONT font, LPSTR text);

typedef struct tagCCINFOA {
  CHAR szClass[CCHCCCLASS];
  DWORD flOptions;
  CHAR szDesc[CCHCCDESC];
  UINT cxDefault;
  UINT cyDefault;
  DWORD flStyleDefault;
  DWORD flExtStyleDefault;
  DWORD flCtrlTypeMask;
  CHAR szTextDefault[CCHCCTEXT];
  INT cStyleFlags;
  LPCCSTYLEFLAGA aStyleFlags;
  LPFNCCSTYLEA lpfnStyle;
  LPFNCCSIZETOTEXTA lpfnSizeToText;
  DWORD dwReserved1;
  DWORD dwReserved2;
} CCINFOA, *LPCCINFOA;

typedef UINT(CALLBACK* LPFNCCINFOA)(LPCCINFOA info);

#endif
