/*
** Printing: printer DCs named by device, driver and port with a device-mode record, the
** document calls (StartDoc ... EndDoc), the printers of the machine and their defaults.
**
** The device "PDF" (driver "winspool", port "PDF:") is always offered and is the default
** printer when the machine has none. It writes each document to "<document name>-<n>.pdf",
** n the first number not yet used, in the private directory: [System] DirPrivate of
** zarne.ini (a Windows path), or C:\Zarne\Private when that is empty, mapped below
** $ZARNE_ROOT as every Windows path is. DOCINFO.lpszOutput, when given, names the file
** instead (a Windows path or a host path). Printers of the machine are reached through Qt and
** listed with driver "winspool" and port "CUPS:".
**
** Copies (the mode's dmCopies with DM_COPIES) are made by the device from one pass of the
** program's pages: a real printer is given the count; the PDF device writes the pages again,
** the whole document per copy when dmCollate says so (the default), else each page in turn.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PRINT_H
#define ZARNE_PLATFORM_GDI_GDI_PRINT_H

#include "platform/gdi/gdi_types.h"

#include <string>
#include <vector>

#define CCHDEVICENAME 32
#define CCHFORMNAME   32

/*
** The device-mode record, stored byte for byte in the printer-settings files, so its layout
** is fixed (little-endian, no padding):
**   offset   0  dmDeviceName[32]     offset  60  dmColor, dmDuplex, dmYResolution,
**   offset  32  dmSpecVersion (u16)              dmTTOption, dmCollate (5 x i16)
**   offset  34  dmDriverVersion (u16) offset  70  dmFormName[32]
**   offset  36  dmSize (u16)         offset 102  dmLogPixels (u16)
**   offset  38  dmDriverExtra (u16)  offset 104  dmBitsPerPel, dmPelsWidth, dmPelsHeight,
**   offset  40  dmFields (u32)                    dmDisplayFlags, dmDisplayFrequency (5 x u32)
**   offset  44  dmOrientation, dmPaperSize, dmPaperLength, dmPaperWidth, dmScale, dmCopies,
**               dmDefaultSource, dmPrintQuality (8 x i16)
**   offset 124  dmICMMethod, dmICMIntent, dmMediaType, dmDitherType, dmReserved1,
**               dmReserved2, dmPanningWidth, dmPanningHeight (8 x u32)
** 156 bytes in all (dmSize), followed in a settings file by dmDriverExtra bytes of driver
** data; this layer writes none and ignores any it is given.
*/
#pragma pack(push, 1)
typedef struct _devicemodeA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  SHORT dmOrientation;
  SHORT dmPaperSize;
  SHORT dmPaperLength;  // tenths of a millimetre
  SHORT dmPaperWidth;
  SHORT dmScale;
  SHORT dmCopies;
  SHORT dmDefaultSource;
  SHORT dmPrintQuality;  // dots per inch, or a negative DMRES_ value
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
} DEVMODEA, DEVMODE, *LPDEVMODE;
#pragma pack(pop)
static_assert(sizeof(DEVMODE) == 156, "DEVMODE keeps its stored 156-byte layout");

#define DM_SPECVERSION   0x0401
#define DM_ORIENTATION   0x00000001
#define DM_PAPERSIZE     0x00000002
#define DM_PAPERLENGTH   0x00000004
#define DM_PAPERWIDTH    0x00000008
#define DM_SCALE         0x00000010
#define DM_COPIES        0x00000100
#define DM_DEFAULTSOURCE 0x00000200
#define DM_PRINTQUALITY  0x00000400
#define DM_COLOR         0x00000800
#define DM_DUPLEX        0x00001000
#define DM_YRESOLUTION   0x00002000
#define DM_TTOPTION      0x00004000
#define DM_COLLATE       0x00008000
#define DM_FORMNAME      0x00010000

#define DMORIENT_PORTRAIT  1
#define DMORIENT_LANDSCAPE 2
#define DMPAPER_LETTER     1
#define DMPAPER_TABLOID    3
#define DMPAPER_LEGAL      5
#define DMPAPER_EXECUTIVE  7
#define DMPAPER_A4         9
#define DMPAPER_A5         11
#define DMPAPER_ENV_10     20
#define DMCOLOR_MONOCHROME 1
#define DMCOLOR_COLOR      2
#define DMDUP_SIMPLEX      1
#define DMDUP_VERTICAL     2
#define DMDUP_HORIZONTAL   3
#define DMCOLLATE_FALSE    0
#define DMCOLLATE_TRUE     1
#define DMBIN_AUTO         7

typedef struct _DOCINFOA {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;
  LPCSTR lpszDatatype;
  DWORD fwType;
} DOCINFOA, DOCINFO, *LPDOCINFO;

typedef BOOL(CALLBACK* ABORTPROC)(HDC dc, int error);

/* Print-job failures. */
#define SP_ERROR       (-1)
#define SP_APPABORT    (-2)
#define SP_USERABORT   (-3)
#define SP_OUTOFDISK   (-4)
#define SP_OUTOFMEMORY (-5)

/* Escapes. */
#define NEWFRAME          1
#define ABORTDOC          2
#define QUERYESCSUPPORT   8
#define SETABORTPROC      9
#define STARTDOC          10
#define ENDDOC            11
#define GETPHYSPAGESIZE   12
#define GETPRINTINGOFFSET 13

/* A printer DC (or, for driver "DISPLAY", a screen information DC); NULL for a device that
   does not exist. A null device mode means the printer's defaults. */
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODE* mode);
#define CreateDC CreateDCA
/* An information context: answers capabilities and metrics like the DC it stands for. */
HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODE* mode);
#define CreateIC CreateICA

/* The print job id (> 0), or SP_ERROR. */
int StartDocA(HDC dc, const DOCINFOA* info);
#define StartDoc StartDocA
int StartPage(HDC dc);
/* > 0; SP_APPABORT when the abort procedure answered FALSE (the job is then abandoned).
   The DC's attributes (mapping mode, objects, colours) carry over from page to page. */
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);
int SetAbortProc(HDC dc, ABORTPROC proc);
int Escape(HDC dc, int escape, int inputSize, LPCSTR input, LPVOID output);

/* The printers offered to the print dialogs. */
struct GdiPrinter {
  std::string device;
  std::string driver;
  std::string port;
};
/* The machine's printers, then "PDF". */
std::vector<GdiPrinter> GdiListPrinters();
/* The machine's default printer, or "PDF" when it has none. */
GdiPrinter GdiDefaultPrinter();
/* Fills a device-mode record with a printer's defaults; FALSE for an unknown device. */
BOOL GdiDefaultDevMode(LPCSTR device, DEVMODE* mode);
/* The host directory where the "PDF" device writes documents (created when missing). */
std::string GdiPdfOutputDirectory();
/* The host path of the file a printer DC's current or last document went to ("" if none). */
std::string GdiPrintOutputPath(HDC dc);

/* Test hook: the nth document started on the PDF device from now on (1 = the next) fails at
** StartDoc, at the StartPage of the given page (1 = the first), or at EndDoc; the failed
** document leaves no file. nth 0 clears a hook not yet used. */
enum GdiPrintFailurePoint { kPrintFailsAtStartDoc, kPrintFailsAtPage, kPrintFailsAtEndDoc };
void GdiFailPdfPrintJob(int nth, GdiPrintFailurePoint at, int page = 1);

#endif
