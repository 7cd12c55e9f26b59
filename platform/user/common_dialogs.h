/*
** The common dialogs: choosing files to open or save, and choosing and setting up a
** printer. Paths cross in both directions as Windows paths ("C:\ZARNE\A.BND"), mapped to
** the host's folders as every path of the system is. Each dialog asks a presenter: a Qt
** dialog by default, or the test harness, which answers without a window.
*/
#ifndef ZARNE_PLATFORM_USER_COMMON_DIALOGS_H
#define ZARNE_PLATFORM_USER_COMMON_DIALOGS_H

#include "platform/gdi/gdi_print.h"
#include "platform/user/window_types.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPPRINTHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPSETUPHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // "text\0pattern\0...\0\0", or "text|pattern|...|"
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // 1-based
  LPSTR lpstrFile;     // in: initial name; out: the choice
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} OPENFILENAMEA, OPENFILENAME, *LPOPENFILENAME;

#define OFN_READONLY             0x00000001
#define OFN_OVERWRITEPROMPT      0x00000002
#define OFN_HIDEREADONLY         0x00000004
#define OFN_NOCHANGEDIR          0x00000008
#define OFN_SHOWHELP             0x00000010
#define OFN_ENABLEHOOK           0x00000020
#define OFN_ENABLETEMPLATE       0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE           0x00000100
#define OFN_ALLOWMULTISELECT     0x00000200
#define OFN_EXTENSIONDIFFERENT   0x00000400
#define OFN_PATHMUSTEXIST        0x00000800
#define OFN_FILEMUSTEXIST        0x00001000
#define OFN_CREATEPROMPT         0x00002000
#define OFN_SHAREAWARE           0x00004000
#define OFN_NOREADONLYRETURN     0x00008000
#define OFN_NOTESTFILECREATE     0x00010000
#define OFN_EXPLORER             0x00080000
#define OFN_NODEREFERENCELINKS   0x00100000
#define OFN_LONGNAMES            0x00200000

typedef struct tagPDA {
  DWORD lStructSize;
  HWND hwndOwner;
  HGLOBAL hDevMode;   // moveable block holding a DEVMODE
  HGLOBAL hDevNames;  // moveable block holding a DEVNAMES and its texts
  HDC hDC;
  DWORD Flags;
  WORD nFromPage;
  WORD nToPage;
  WORD nMinPage;
  WORD nMaxPage;
  WORD nCopies;
  HINSTANCE hInstance;
  LPARAM lCustData;
  LPPRINTHOOKPROC lpfnPrintHook;
  LPSETUPHOOKPROC lpfnSetupHook;
  LPCSTR lpPrintTemplateName;
  LPCSTR lpSetupTemplateName;
  HGLOBAL hPrintTemplate;
  HGLOBAL hSetupTemplate;
} PRINTDLGA, PRINTDLG, *LPPRINTDLG;

#define PD_ALLPAGES                   0x00000000
#define PD_SELECTION                  0x00000001
#define PD_PAGENUMS                   0x00000002
#define PD_NOSELECTION                0x00000004
#define PD_NOPAGENUMS                 0x00000008
#define PD_COLLATE                    0x00000010
#define PD_PRINTTOFILE                0x00000020
#define PD_PRINTSETUP                 0x00000040
#define PD_NOWARNING                  0x00000080
#define PD_RETURNDC                   0x00000100
#define PD_RETURNIC                   0x00000200
#define PD_RETURNDEFAULT              0x00000400
#define PD_SHOWHELP                   0x00000800
#define PD_ENABLEPRINTHOOK            0x00001000
#define PD_ENABLESETUPHOOK            0x00002000
#define PD_ENABLEPRINTTEMPLATE        0x00004000
#define PD_ENABLESETUPTEMPLATE        0x00008000
#define PD_ENABLEPRINTTEMPLATEHANDLE  0x00010000
#define PD_ENABLESETUPTEMPLATEHANDLE  0x00020000
#define PD_USEDEVMODECOPIES           0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define PD_DISABLEPRINTTOFILE         0x00080000
#define PD_HIDEPRINTTOFILE            0x00100000
#define PD_NONETWORKBUTTON            0x00200000

/* The printer's names: offsets (in bytes from the record's start) of the driver, device and
** port texts that follow it, each NUL-terminated; wDefault is DN_DEFAULTPRN for the
** default printer. The printer-settings files keep the same header. */
typedef struct tagDEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
static_assert(sizeof(DEVNAMES) == 8, "DEVNAMES keeps its stored 8-byte header");
#define DN_DEFAULTPRN 0x0001

/* CommDlgExtendedError */
#define CDERR_DIALOGFAILURE   0xFFFF
#define CDERR_STRUCTSIZE      0x0001
#define CDERR_INITIALIZATION  0x0002
#define CDERR_MEMALLOCFAILURE 0x0009
#define CDERR_MEMLOCKFAILURE  0x000A
#define PDERR_SETUPFAILURE    0x1001
#define PDERR_RETDEFFAILURE   0x1003
#define PDERR_NODEVICES       0x1007
#define PDERR_NODEFAULTPRN    0x1008
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_PRINTERNOTFOUND 0x100B
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL  0x3003

/*
** GetOpenFileName / GetSaveFileName answer TRUE with the choice in lpstrFile: a full
** Windows path; with OFN_ALLOWMULTISELECT and more than one file, the directory, then each
** name, NUL-separated, with a second NUL at the end (nFileOffset then points at the first
** name). nFileOffset, nFileExtension, lpstrFileTitle and nFilterIndex are filled. FALSE
** when cancelled (CommDlgExtendedError 0) or on failure (its code; a too small lpstrFile
** holds the needed size in its first two bytes). lpstrDefExt is added to a name without an
** extension. OFN_FILEMUSTEXIST / OFN_PATHMUSTEXIST refuse missing files / folders with a
** message box and ask again; OFN_OVERWRITEPROMPT asks before an existing file is chosen
** for saving. Unless OFN_NOCHANGEDIR, the current directory becomes the chosen folder.
*/
BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);
/*
** PrintDlg: printing (page range, copies) or, with PD_PRINTSETUP, printer set-up
** (printer, orientation, paper). hDevNames / hDevMode come in (the printer shown first, or
** NULL for the default) and go out as new or reused moveable blocks. PD_RETURNDEFAULT
** fills them with the default printer without any dialog; both must then come in NULL.
** PD_RETURNDC / PD_RETURNIC also create hDC for the chosen printer.
*/
BOOL PrintDlg(LPPRINTDLG pd);
DWORD CommDlgExtendedError();

#define GetOpenFileNameA GetOpenFileName
#define GetSaveFileNameA GetSaveFileName
#define PrintDlgA        PrintDlg

/* What a file dialog asks: paths are Windows paths. */
struct FileDialogRequest {
  HWND owner = nullptr;
  bool save = false;
  std::string title;
  std::string initialDirectory;  // full Windows path
  std::string initialName;       // the name the caller put in lpstrFile, if any
  std::vector<std::pair<std::string, std::string>> filters;  // text, patterns ("*.BND;*.B1A")
  int filterIndex = 1;                                       // 1-based
  std::string defaultExtension;
  DWORD flags = 0;
};
/* The answer: the chosen files as full paths (Windows or host form), and the filter used. */
struct FileDialogAnswer {
  bool accepted = false;
  std::vector<std::string> files;
  int filterIndex = 0;  // 0: unchanged
};
using FileDialogPresenter = std::function<FileDialogAnswer(const FileDialogRequest&)>;
/* Installs a presenter (an empty one restores the Qt dialog); answers the previous one. */
FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);

/* What a print dialog asks, and what it answers: the printer by device name, its device
** mode (orientation, paper, copies), and for printing the page range. */
struct PrintDialogRequest {
  HWND owner = nullptr;
  bool setup = false;
  std::string device;
  DEVMODE mode{};
  DWORD flags = 0;
  WORD fromPage = 0, toPage = 0, minPage = 0, maxPage = 0, copies = 1;
};
struct PrintDialogAnswer {
  bool accepted = false;
  std::string device;
  DEVMODE mode{};
  DWORD flags = 0;  // PD_PAGENUMS, PD_SELECTION, PD_COLLATE, PD_PRINTTOFILE as chosen
  WORD fromPage = 0, toPage = 0, copies = 1;
};
using PrintDialogPresenter = std::function<PrintDialogAnswer(const PrintDialogRequest&)>;
PrintDialogPresenter SetPrintDialogPresenter(PrintDialogPresenter presenter);

#endif
