/*
** The checks printer: one copy, all pages, after the stored settings and after the dialog.
*/
#include "accounting/check_printer.h"

#include "tableaccess/printer_settings.h"

#include <climits>

TCheckPrinter::TCheckPrinter() {
  Data->SetDevNames(gCheckPrintData.GetDriverName(), gCheckPrintData.GetDeviceName(),
                    gCheckPrintData.GetOutputName());
  Data->SetDevMode(gCheckPrintData.GetDevMode());
  Data->Flags = gCheckPrintData.Flags;
  Data->FromPage = gCheckPrintData.FromPage;
  Data->ToPage = gCheckPrintData.ToPage;
  ForceOneCopyOfAllPages();
}

void TCheckPrinter::ForceOneCopyOfAllPages() {
  Data->Copies = 1;
  Data->Flags &= ~static_cast<DWORD>(PD_PAGENUMS | PD_SELECTION);
  if (DEVMODE* mode = Data->GetDevMode()) mode->dmCopies = 1;
}

bool TCheckPrinter::ExecPrintDialog(TWindow* parent) {
  Data->Flags |= kCheckPrintDialogFlags;
  Data->Flags &= ~static_cast<DWORD>(PD_PAGENUMS | PD_SELECTION);
  const bool chosen = TPrinter::ExecPrintDialog(parent);
  ForceOneCopyOfAllPages();
  return chosen;
}

bool TCheckPrinter::Choose(TWindow* parent) {
  // The range a check printout offers: any page count, no selection.
  Data->MinPage = 1;
  Data->MaxPage = INT_MAX;
  return ExecPrintDialog(parent);
}
