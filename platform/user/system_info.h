/*
** System values: metrics of the screen and of window parts (fixed at 96 dpi), system colours,
** dialog base units, the version and the warning beep.
*/
#ifndef ZARNE_PLATFORM_USER_SYSTEM_INFO_H
#define ZARNE_PLATFORM_USER_SYSTEM_INFO_H

#include "platform/kernel/wintypes.h"

#define SM_CXSCREEN      0
#define SM_CYSCREEN      1
#define SM_CXVSCROLL     2
#define SM_CYHSCROLL     3
#define SM_CYCAPTION     4
#define SM_CXBORDER      5
#define SM_CYBORDER      6
#define SM_CXDLGFRAME    7
#define SM_CYDLGFRAME    8
#define SM_CYVTHUMB      9
#define SM_CXHTHUMB      10
#define SM_CXICON        11
#define SM_CYICON        12
#define SM_CXCURSOR      13
#define SM_CYCURSOR      14
#define SM_CYMENU        15
#define SM_CXFULLSCREEN  16
#define SM_CYFULLSCREEN  17
#define SM_MOUSEPRESENT  19
#define SM_CYVSCROLL     20
#define SM_CXHSCROLL     21
#define SM_DEBUG         22
#define SM_SWAPBUTTON    23
#define SM_CXMIN         28
#define SM_CYMIN         29
#define SM_CXSIZE        30
#define SM_CYSIZE        31
#define SM_CXFRAME       32
#define SM_CYFRAME       33
#define SM_CXMINTRACK    34
#define SM_CYMINTRACK    35
#define SM_CXDOUBLECLK   36
#define SM_CYDOUBLECLK   37
#define SM_CXICONSPACING 38
#define SM_CYICONSPACING 39
#define SM_CMOUSEBUTTONS 43
#define SM_CXEDGE        45
#define SM_CYEDGE        46
#define SM_CXSMICON      49
#define SM_CYSMICON      50
#define SM_CYSMCAPTION   51
#define SM_CXMINIMIZED   57
#define SM_CYMINIMIZED   58
#define SM_CXMAXIMIZED   61
#define SM_CYMAXIMIZED   62
#define SM_CXFIXEDFRAME  SM_CXDLGFRAME
#define SM_CYFIXEDFRAME  SM_CYDLGFRAME
#define SM_CXSIZEFRAME   SM_CXFRAME
#define SM_CYSIZEFRAME   SM_CYFRAME

#define COLOR_SCROLLBAR           0
#define COLOR_BACKGROUND          1
#define COLOR_ACTIVECAPTION       2
#define COLOR_INACTIVECAPTION     3
#define COLOR_MENU                4
#define COLOR_WINDOW              5
#define COLOR_WINDOWFRAME         6
#define COLOR_MENUTEXT            7
#define COLOR_WINDOWTEXT          8
#define COLOR_CAPTIONTEXT         9
#define COLOR_ACTIVEBORDER        10
#define COLOR_INACTIVEBORDER      11
#define COLOR_APPWORKSPACE        12
#define COLOR_HIGHLIGHT           13
#define COLOR_HIGHLIGHTTEXT       14
#define COLOR_BTNFACE             15
#define COLOR_BTNSHADOW           16
#define COLOR_GRAYTEXT            17
#define COLOR_BTNTEXT             18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT        20
#define COLOR_3DDKSHADOW          21
#define COLOR_3DLIGHT             22
#define COLOR_INFOTEXT            23
#define COLOR_INFOBK              24
#define COLOR_3DFACE              COLOR_BTNFACE
#define COLOR_3DSHADOW            COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT         COLOR_BTNHIGHLIGHT

int GetSystemMetrics(int index);
/* The classic colour scheme; 0 for an unknown index. */
DWORD GetSysColor(int index);
/* Width in the low word, height in the high word, of the system font's average character. */
LONG GetDialogBaseUnits();
DWORD GetVersion();
BOOL MessageBeep(UINT type);
/* How many times MessageBeep has sounded: lets tests see a refused keystroke. */
int MessageBeepCount();
/* The type the last MessageBeep was given (MB_OK for the default beep, 0xFFFFFFFF for the
   simple one): lets tests tell the two apart. */
UINT LastMessageBeepType();

#endif
