/*
** The repair utility's engine error boxes: the error number, the engine's text and the
** context texts of the last failure, each in a stop box owned by the focus window.
*/
#ifndef ZARNE_REBUILD_REPORT_BDE_ERROR_H
#define ZARNE_REBUILD_REPORT_BDE_ERROR_H

#include "platform/kernel/wintypes.h"

#include <string>

/* Shows nothing when the low 16 bits of code are 0. */
void ReportBdeErrorDetail(DWORD code);

/* A box of the utility's own, owned by the focus window. */
void ShowFixBox(const std::string& text, const char* caption, UINT type);

#endif
