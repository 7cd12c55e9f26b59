/*
** The numbers of the file-number dialog and the lookup: their dialog templates and the
** string-table texts they show. The main program's .rc scripts carry the same numbers (the
** shell's id header includes this one), so this header holds #define lines only.
*/
#ifndef ZARNE_FILENUMBER_FILE_NUMBER_IDS_H
#define ZARNE_FILENUMBER_FILE_NUMBER_IDS_H

/* Dialog templates */
#define IDD_FILEDLG  20000
#define IDD_FINDFILE 20040

/* Strings */
#define IDS_NEW_FILE         1017
#define IDS_OPEN_FILE        1018
#define IDS_SAVE_FILE_AS     1019
#define IDS_MERGE_FILE       1020
#define IDS_DELETE_FILE      1021
#define IDS_ZARNE_MESSAGE    1023
#define IDS_NO_NUMBER        1024
#define IDS_OVERWRITE        1025
#define IDS_NOT_EXIST        1026
#define IDS_NOT_CLOSING_FILE 1027
#define IDS_RESERVED         1028
#define IDS_NO_FIND_TEXT     1044

#endif
