/*
** File Print of the statement window: the print options asked when the options say so, then
** the statement printed on the statement printer with the print dialog shown first.
*/
#include "statement/respa_window.h"

#include "statement/field_engine.h"
#include "statement/hud1_options.h"
#include "statement/hud1_print_options.h"
#include "statement/hud1_printout.h"
#include "tableaccess/printer_settings.h"

#include <cstdio>

namespace {
constexpr int kPrivacyBuyerOnly = 1;
constexpr int kPrivacySellerOnly = 2;
}  // namespace

void RespaWindow::CmFilePrint() {
  if (!records[kBuyerTable]) return;
  // A value typed and not yet committed is printed, not lost.
  CommitFieldEdit(this);
  THUDPrintOptionsXfer choices;
  choices.privacy = gHud1Options.Privacy;
  choices.signaturesPage3 = gHud1Options.SigPage3 != 0;
  choices.dateSignatures = gHud1Options.DateSig != 0;
  SignatureDateText(this, choices.dateText, sizeof choices.dateText);
  if (gHud1Options.PrintOptions) {
    THUDPrintOptions dialog(this, choices);
    if (dialog.Execute() != IDOK) return;
  }

  TPrinter printer;
  printer.GetSetup() = gStatementPrintData;
  THUDPrintout printout("HUD-1", this);
  printout.privacyOn =
      choices.privacy == kPrivacyBuyerOnly || choices.privacy == kPrivacySellerOnly;
  printout.printBorrower = choices.privacy == kPrivacyBuyerOnly;
  printout.printSeller = choices.privacy == kPrivacySellerOnly;
  printout.separateSignaturePage = choices.signaturesPage3 != 0;
  printout.dateSignatures = choices.dateSignatures != 0;
  printout.gdiLines = gHud1Options.GDILines != 0;
  std::snprintf(printout.dateText, sizeof printout.dateText, "%s", choices.dateText);
  printer.Print(this, printout, true);
}
