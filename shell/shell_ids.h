/*
** The main program's numbers: menu commands, resources (menus, dialogs, icons, bitmaps) and
** the string-table texts the shell shows. The .rc scripts carry the same numbers, so this
** header holds #define lines only.
*/
#ifndef ZARNE_SHELL_SHELL_IDS_H
#define ZARNE_SHELL_SHELL_IDS_H

#include "filenumber/file_number_ids.h"

/* File menu */
#define CM_FILENEW           24331
#define CM_FILEOPEN          24332
#define CM_FILESAVE          24333
#define CM_FILESAVEAS        24334
#define CM_FILEPRINT         24337
#define CM_FILECLOSE         24339
#define CM_FILEMERGE         1
#define CM_FILEDELETE        2
#define CM_PRINTSETUPHUD1    3
#define CM_PRINTSETUPREPORTS 13
#define CM_PRINTSETUPCHECKS  14
#define CM_FILETRACKING      9070

/* Parties and title */
#define CM_BUYERS          4
#define CM_SELLERS         5
#define CM_LENDER          6
#define CM_SETTLEMENTAGENT 7
#define CM_PROPERTY        8
#define CM_SCHEDULEA       9
#define CM_REQUIREMENTS    10
#define CM_EXCEPTIONS      11

/* Accounting, options, tools */
#define CM_DISBURSE       102
#define CM_DEFAULTVALUES  103
#define CM_POSTDEPOSITS   108
#define CM_ADJUSTMENTS    111
#define CM_RECONCILE      112
#define CM_CHECKFORM      113
#define CM_BANKEDITOR     114
#define CM_ACCOUNTEDITOR  115
#define CM_CHECKREGISTER  116
#define CM_LEDGER         117
#define CM_FILEBALANCE    118
#define CM_HUD1OPTIONS    119
#define CM_DEFAULTACCOUNT 120
#define CM_EXPORT1099     17
#define CM_AMORTIZATION   19

/* Help */
#define CM_HELPUSING           2001
#define CM_HELPWPTEMPLATES     12
#define CM_HELPDATAFIELDS      15
#define CM_HELPZBASIC          16
#define CM_HELPTITLESTANDARDS  109
#define CM_HELPHUDINSTRUCTIONS 110
#define CM_HELPABOUT           2009

/* Resources */
#define IDM_ZARNE       100   // menu and accelerator table of the frame
#define IDI_FRAME       1001  // frame icons, large and small
#define IDI_FRAME_SMALL 1002
#define IDI_FILE        1004  // statement-window icons, large and small
#define IDI_FILE_SMALL  1005
#define IDD_SPLASH      1000
#define IDD_ABOUT       22000
#define IDB_STATEMENT   19000  // the statement window's background pattern
#define IDB_LOGO        450    // the picture button of the splash and About boxes
#define IDB_LOGO_FACE   1450   // its face: a picture button shows the bitmap numbered id + 1000

/* Strings */
#define IDS_SYSTEM_ERROR   1002
#define IDS_NO_GRID        1008
#define IDS_NO_STMLAY      1009
#define IDS_NO_EXPORT      1010
#define IDS_NO_AUXLAY      1011
#define IDS_OPENING        1012
#define IDS_CREATING       1013
#define IDS_INSERTING_BANK 1014
#define IDS_RESPA_LIST     1015
#define IDS_OTHER_LIST     1016

#endif
