/*
** The printers behind printer DCs: finding one by device name and setting it up from a
** device-mode record, and naming the files the "PDF" device writes. Private to the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PRINTERS_H
#define ZARNE_PLATFORM_GDI_GDI_PRINTERS_H

#include "platform/gdi/gdi_print.h"

#include <memory>
#include <string>

class QPrinter;

namespace zarne::gdi {

/* A QPrinter for the device set up from the record (null: the device's defaults); null for
   an unknown device. *pdf tells whether it is the "PDF" device. */
std::unique_ptr<QPrinter> MakePrinter(const char* device, const DEVMODE* mode, bool* pdf);

/* "<directory>/<document name>-<n>.pdf" with the first n not yet used; the name is made safe
   for a file name. Empty when the directory cannot be made. */
std::string NextPdfOutputPath(const std::string& documentName);

}  // namespace zarne::gdi

#endif
