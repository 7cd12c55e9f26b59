/*
** THUDPrintOptions: the "HUD-1 Print Options" dialog asked before a statement printout when
** the options say so. It shows and reads its own buttons; its answers serve one printout and
** are never written to zarne.ini.
*/
#ifndef ZARNE_STATEMENT_HUD1_PRINT_OPTIONS_H
#define ZARNE_STATEMENT_HUD1_PRINT_OPTIONS_H

#include "platform/framework/dialog.h"
#include "statement/hud1_printout.h"

constexpr int IDD_HUD1_PRINT_OPTIONS = 20032;
/* The controls, shared with the options sheet's Print page. */
constexpr int IDC_PRINT_BOTH = 201;
constexpr int IDC_PRINT_BUYER = 103;
constexpr int IDC_PRINT_SELLER = 104;
constexpr int IDC_SIGNATURES_PAGE3 = 317;
constexpr int IDC_DATE_SIGNATURES = 423;
constexpr int IDC_SIGNATURE_DATE = 239;

/* The dialog's fields, in order. */
struct THUDPrintOptionsXfer {
  LONG privacy = 0;  // 0 both columns, 1 buyer only, 2 seller only
  DWORD dateSignatures = 1;
  DWORD signaturesPage3 = 0;
  char dateText[kHudDateTextSize] = {};
};

class THUDPrintOptions : public TDialog {
 public:
  THUDPrintOptions(TWindow* parent, THUDPrintOptionsXfer& choices, TModule* module = nullptr);
  void SetupWindow() override;
  void CmOk() override;

 private:
  THUDPrintOptionsXfer& choices_;
  DECLARE_RESPONSE_TABLE(THUDPrintOptions);
};

/* The radio button of a privacy value (201 for 0 or any other value), and back. */
int PrivacyButton(int privacy);
int CheckedPrivacy(HWND dialog);

#endif
