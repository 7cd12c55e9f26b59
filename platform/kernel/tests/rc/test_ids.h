/* Ids and grid names shared by the resource test scripts. Like any C header it may carry
   declarations, which the resource compiler skips. */
#ifndef RC_TEST_IDS_H
#define RC_TEST_IDS_H

#define IDS_GREETING  300
#define IDS_ESCAPES   301
#define IDS_CONTINUED 302
#define IDS_EXTRA     298
#define IDD_ENTRY     400
#define IDD_PLAIN     401
#define IDM_MAIN      500
#define IDA_MAIN      500
#define CM_OPEN       24332
#define CM_EXIT       24310
#define IDC_NAME      101
#define IDC_GRID      (IDC_NAME + 100)

#ifndef TSCS_EDIT
#define TSCS_EDIT   0x0004
#define TSCS_LEFT   0x0000
#define TSCS_RIGHT  0x0080
#define TST_ZSTRING 0x87
#define TST_REAL8   0x85
#endif

int RcTestIdsAreNotCode(void);

#endif
