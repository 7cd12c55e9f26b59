/*
** The three printer-settings files (statement, reports, checks) and the program-wide print
** data they fill. A file remembers the printer's driver, device and port names and its
** device-mode record: a DEVNAMES-style header of four 16-bit offsets (the fourth the offset
** of the device mode, 0 for none), the three names each followed by two zero bytes, then
** the device mode with its driver-extra bytes.
*/
#ifndef ZARNE_TABLEACCESS_PRINTER_SETTINGS_H
#define ZARNE_TABLEACCESS_PRINTER_SETTINGS_H

#include "platform/framework/print_data.h"

#include <string>

class TWindow;

/* The kinds of printer settings, each with its own file in the printer directory. */
constexpr int kStatementPrinterSettings = 0;  // stmtbg32.dat
constexpr int kReportPrinterSettings = 1;     // prnrpt32.dat
constexpr int kCheckPrinterSettings = 2;      // prnchk32.dat

/* The print data of the statement, check and report printers, loaded when the main
   window's client is set up and changed by the Printer Setup commands. */
// Owner: tableaccess.
extern TPrintDialogData gStatementPrintData;
extern TPrintDialogData gCheckPrintData;
extern TPrintDialogData gReportPrintData;

/* The file of a kind: [System] DirPrinters of zarne.ini + "\stmtbg32.dat", "\prnrpt32.dat"
   or "\prnchk32.dat"; empty for another kind. */
std::string PrinterSettingsPath(int kind);

/* Fills data's device names and device mode from the kind's file. A missing file, or one
   whose contents do not hold together, is replaced by the default printer (asked of the
   print dialog without showing it, owned by parent) and written at once. Another kind
   does nothing. */
void LoadPrinterSettings(TWindow* parent, int kind, TPrintDialogData& data);

/* Writes data's driver, device and port names and device mode into the kind's file; false
   when another kind is given or the file could not be opened or written. */
bool SavePrinterSettings(int kind, const TPrintDialogData& data);

#endif
