/*
** The message numbers of the standard controls the framework's control objects send (list
** box, combo box, button). They come from the windowing layer's control headers; the combo
** box's numbers, whose header may not be there yet, are given here with the original
** platform's values so the control objects speak the same interface either way.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_CONTROL_CODES_H
#define ZARNE_PLATFORM_FRAMEWORK_CONTROL_CODES_H

#include "platform/user/button_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/static_control.h"
#if __has_include("platform/user/combobox_control.h")
#include "platform/user/combobox_control.h"
#endif

#ifndef CB_ADDSTRING
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_FINDSTRINGEXACT 0x0158
#define CB_ERR (-1)
#endif

#endif
