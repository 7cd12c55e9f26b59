/*
** The numeric vocabulary of window messages: message numbers, notification codes and the
** codes that travel in their parameters. Values are those of the original platform, because
** the system's code stores and compares them as numbers (WM_USER+n, WM_COMMAND codes).
*/
#ifndef ZARNE_PLATFORM_USER_WINDOW_MESSAGES_H
#define ZARNE_PLATFORM_USER_WINDOW_MESSAGES_H

/* Window messages */
#define WM_NULL                   0x0000
#define WM_CREATE                 0x0001
#define WM_DESTROY                0x0002
#define WM_MOVE                   0x0003
#define WM_SIZE                   0x0005
#define WM_ACTIVATE               0x0006
#define WM_SETFOCUS               0x0007
#define WM_KILLFOCUS              0x0008
#define WM_ENABLE                 0x000A
#define WM_SETREDRAW              0x000B
#define WM_SETTEXT                0x000C
#define WM_GETTEXT                0x000D
#define WM_GETTEXTLENGTH          0x000E
#define WM_PAINT                  0x000F
#define WM_CLOSE                  0x0010
#define WM_QUERYENDSESSION        0x0011
#define WM_QUIT                   0x0012
#define WM_ERASEBKGND             0x0014
#define WM_SYSCOLORCHANGE         0x0015
#define WM_ENDSESSION             0x0016
#define WM_SHOWWINDOW             0x0018
#define WM_CTLCOLOR               0x0019
#define WM_WININICHANGE           0x001A
#define WM_ACTIVATEAPP            0x001C
#define WM_FONTCHANGE             0x001D
#define WM_CANCELMODE             0x001F
#define WM_SETCURSOR              0x0020
#define WM_MOUSEACTIVATE          0x0021
#define WM_CHILDACTIVATE          0x0022
#define WM_GETMINMAXINFO          0x0024
#define WM_NEXTDLGCTL             0x0028
#define WM_DRAWITEM               0x002B
#define WM_MEASUREITEM            0x002C
#define WM_DELETEITEM             0x002D
#define WM_VKEYTOITEM             0x002E
#define WM_CHARTOITEM             0x002F
#define WM_SETFONT                0x0030
#define WM_GETFONT                0x0031
#define WM_COMPAREITEM            0x0039
#define WM_WINDOWPOSCHANGING      0x0046
#define WM_WINDOWPOSCHANGED       0x0047
#define WM_NOTIFY                 0x004E
#define WM_HELP                   0x0053
#define WM_CONTEXTMENU            0x007B
#define WM_STYLECHANGING          0x007C
#define WM_STYLECHANGED           0x007D
#define WM_GETICON                0x007F
#define WM_SETICON                0x0080
#define WM_NCCREATE               0x0081
#define WM_NCDESTROY              0x0082
#define WM_NCCALCSIZE             0x0083
#define WM_NCHITTEST              0x0084
#define WM_NCPAINT                0x0085
#define WM_NCACTIVATE             0x0086
#define WM_GETDLGCODE             0x0087
#define WM_NCMOUSEMOVE            0x00A0
#define WM_NCLBUTTONDOWN          0x00A1
#define WM_NCLBUTTONUP            0x00A2
#define WM_NCLBUTTONDBLCLK        0x00A3
#define WM_KEYFIRST               0x0100
#define WM_KEYDOWN                0x0100
#define WM_KEYUP                  0x0101
#define WM_CHAR                   0x0102
#define WM_DEADCHAR               0x0103
#define WM_SYSKEYDOWN             0x0104
#define WM_SYSKEYUP               0x0105
#define WM_SYSCHAR                0x0106
#define WM_SYSDEADCHAR            0x0107
#define WM_KEYLAST                0x0108
#define WM_INITDIALOG             0x0110
#define WM_COMMAND                0x0111
#define WM_SYSCOMMAND             0x0112
#define WM_TIMER                  0x0113
#define WM_HSCROLL                0x0114
#define WM_VSCROLL                0x0115
#define WM_INITMENU               0x0116
#define WM_INITMENUPOPUP          0x0117
#define WM_MENUSELECT             0x011F
#define WM_MENUCHAR               0x0120
#define WM_ENTERIDLE              0x0121
#define WM_CTLCOLORMSGBOX         0x0132
#define WM_CTLCOLOREDIT           0x0133
#define WM_CTLCOLORLISTBOX        0x0134
#define WM_CTLCOLORBTN            0x0135
#define WM_CTLCOLORDLG            0x0136
#define WM_CTLCOLORSCROLLBAR      0x0137
#define WM_CTLCOLORSTATIC         0x0138
#define WM_MOUSEFIRST             0x0200
#define WM_MOUSEMOVE              0x0200
#define WM_LBUTTONDOWN            0x0201
#define WM_LBUTTONUP              0x0202
#define WM_LBUTTONDBLCLK          0x0203
#define WM_RBUTTONDOWN            0x0204
#define WM_RBUTTONUP              0x0205
#define WM_RBUTTONDBLCLK          0x0206
#define WM_MBUTTONDOWN            0x0207
#define WM_MBUTTONUP              0x0208
#define WM_MBUTTONDBLCLK          0x0209
#define WM_MOUSEWHEEL             0x020A
#define WM_MOUSEHWHEEL            0x020E
#define WM_MOUSELAST              0x020E
#define WHEEL_DELTA               120
#define GET_WHEEL_DELTA_WPARAM(w) ((short)HIWORD(w))
#define WM_PARENTNOTIFY           0x0210
#define WM_ENTERMENULOOP          0x0211
#define WM_EXITMENULOOP           0x0212
#define WM_CAPTURECHANGED         0x0215
#define WM_MDICREATE              0x0220
#define WM_MDIDESTROY             0x0221
#define WM_MDIACTIVATE            0x0222
#define WM_MDIRESTORE             0x0223
#define WM_MDINEXT                0x0224
#define WM_MDIMAXIMIZE            0x0225
#define WM_MDITILE                0x0226
#define WM_MDICASCADE             0x0227
#define WM_MDIICONARRANGE         0x0228
#define WM_MDIGETACTIVE           0x0229
#define WM_MDISETMENU             0x0230
#define WM_ENTERSIZEMOVE          0x0231
#define WM_EXITSIZEMOVE           0x0232
#define WM_MDIREFRESHMENU         0x0234
#define WM_CUT                    0x0300
#define WM_COPY                   0x0301
#define WM_PASTE                  0x0302
#define WM_CLEAR                  0x0303
#define WM_UNDO                   0x0304
#define WM_DESTROYCLIPBOARD       0x0307
#define WM_USER                   0x0400
#define WM_APP                    0x8000

/* WM_SIZE wParam */
#define SIZE_RESTORED  0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

/* WM_ACTIVATE wParam */
#define WA_INACTIVE    0
#define WA_ACTIVE      1
#define WA_CLICKACTIVE 2

/* WM_MOUSEACTIVATE results */
#define MA_ACTIVATE         1
#define MA_ACTIVATEANDEAT   2
#define MA_NOACTIVATE       3
#define MA_NOACTIVATEANDEAT 4

/* WM_NCHITTEST results */
#define HTERROR       (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE     0
#define HTCLIENT      1
#define HTCAPTION     2
#define HTSYSMENU     3
#define HTMENU        5
#define HTHSCROLL     6
#define HTVSCROLL     7
#define HTMINBUTTON   8
#define HTMAXBUTTON   9
#define HTLEFT        10
#define HTRIGHT       11
#define HTTOP         12
#define HTTOPLEFT     13
#define HTTOPRIGHT    14
#define HTBOTTOM      15
#define HTBOTTOMLEFT  16
#define HTBOTTOMRIGHT 17
#define HTBORDER      18

/* WM_NCCALCSIZE result flags */
#define WVR_ALIGNTOP 0x0010
#define WVR_REDRAW   0x0300

/* WM_GETDLGCODE results */
#define DLGC_WANTARROWS      0x0001
#define DLGC_WANTTAB         0x0002
#define DLGC_WANTALLKEYS     0x0004
#define DLGC_WANTMESSAGE     0x0004
#define DLGC_HASSETSEL       0x0008
#define DLGC_DEFPUSHBUTTON   0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON     0x0040
#define DLGC_WANTCHARS       0x0080
#define DLGC_STATIC          0x0100
#define DLGC_BUTTON          0x2000

/* Scroll bar codes (WM_HSCROLL, WM_VSCROLL) and bars */
#define SB_LINEUP        0
#define SB_LINELEFT      0
#define SB_LINEDOWN      1
#define SB_LINERIGHT     1
#define SB_PAGEUP        2
#define SB_PAGELEFT      2
#define SB_PAGEDOWN      3
#define SB_PAGERIGHT     3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK    5
#define SB_TOP           6
#define SB_LEFT          6
#define SB_BOTTOM        7
#define SB_RIGHT         7
#define SB_ENDSCROLL     8
#define SB_HORZ          0
#define SB_VERT          1
#define SB_CTL           2
#define SB_BOTH          3

/* WM_SYSCOMMAND codes */
#define SC_SIZE       0xF000
#define SC_MOVE       0xF010
#define SC_MINIMIZE   0xF020
#define SC_MAXIMIZE   0xF030
#define SC_NEXTWINDOW 0xF040
#define SC_CLOSE      0xF060
#define SC_RESTORE    0xF120

/* Message filters of WM_ENTERIDLE */
#define MSGF_DIALOGBOX 0
#define MSGF_MENU      2

/* Edit control messages */
#define EM_GETSEL          0x00B0
#define EM_SETSEL          0x00B1
#define EM_GETRECT         0x00B2
#define EM_SCROLLCARET     0x00B7
#define EM_GETMODIFY       0x00B8
#define EM_SETMODIFY       0x00B9
#define EM_GETLINECOUNT    0x00BA
#define EM_LINEINDEX       0x00BB
#define EM_LINELENGTH      0x00C1
#define EM_REPLACESEL      0x00C2
#define EM_GETLINE         0x00C4
#define EM_LIMITTEXT       0x00C5
#define EM_SETLIMITTEXT    EM_LIMITTEXT
#define EM_CANUNDO         0x00C6
#define EM_UNDO            0x00C7
#define EM_LINEFROMCHAR    0x00C9
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_SETREADONLY     0x00CF
#define EM_GETLIMITTEXT    0x00D5

/* Edit control notifications (high word of WM_COMMAND's wParam) */
#define EN_SETFOCUS  0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE    0x0300
#define EN_UPDATE    0x0400
#define EN_ERRSPACE  0x0500
#define EN_MAXTEXT   0x0501
#define EN_HSCROLL   0x0601
#define EN_VSCROLL   0x0602

#endif
