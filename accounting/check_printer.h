/*
** TCheckPrinter: the checks printer of a check run or a test check, set up from the program-
** wide check printer settings. Whatever the stored device mode or the print dialog asks, it
** prints one copy of every page: a second copy would print a check number twice, and a page
** range could leave a check recorded Printed that never printed.
*/
#ifndef ZARNE_ACCOUNTING_CHECK_PRINTER_H
#define ZARNE_ACCOUNTING_CHECK_PRINTER_H

#include "platform/framework/printer.h"

/* The print dialog's flags for checks: no selection, no page numbers, no print to file. */
constexpr DWORD kCheckPrintDialogFlags = PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE;

class TCheckPrinter : public TPrinter {
 public:
  /* The names and device mode of gCheckPrintData, held to one copy. */
  TCheckPrinter();

  /* The print dialog for a run, shown once before its first check; false when cancelled. */
  bool Choose(TWindow* parent);

 protected:
  bool ExecPrintDialog(TWindow* parent) override;

 private:
  void ForceOneCopyOfAllPages();
};

#endif
