/*
** Printer device contexts and print jobs (filled in with the printing calls).
*/
#include "platform/gdi/gdi_internal.h"

namespace zarne::gdi {

QPainter* PrintJobPainter(DeviceContext& dc) { return nullptr; }

int PrinterDeviceCaps(DeviceContext& dc, int index) { return 0; }

void AbortPrintJob(DeviceContext& dc) {}

}  // namespace zarne::gdi
