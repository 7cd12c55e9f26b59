/*
** The print options dialog: the privacy copy, the signature page and the signature date of
** one printout.
*/
#include "statement/hud1_print_options.h"

#include "platform/user/button_control.h"
#include "platform/user/dialog_manager.h"
#include "tableaccess/typed_edits.h"

#include <cstring>

namespace {
constexpr UINT kDateEditLimit = 11;  // a date edit of 10 characters
constexpr int kDateTextLimit = 13;
}  // namespace

int PrivacyButton(int privacy) {
  if (privacy == 1) return IDC_PRINT_BUYER;
  if (privacy == 2) return IDC_PRINT_SELLER;
  return IDC_PRINT_BOTH;
}

int CheckedPrivacy(HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_PRINT_BOTH) == BST_CHECKED) return 0;
  if (IsDlgButtonChecked(dialog, IDC_PRINT_BUYER) == BST_CHECKED) return 1;
  return 2;
}

THUDPrintOptions::THUDPrintOptions(TWindow* parent, THUDPrintOptionsXfer& choices, TModule* module)
    : TDialog(parent, IDD_HUD1_PRINT_OPTIONS, module), choices_(choices) {
  new TWWDate(this, IDC_SIGNATURE_DATE, kDateEditLimit);
}

void THUDPrintOptions::SetupWindow() {
  TDialog::SetupWindow();
  CheckDlgButton(HWindow, PrivacyButton(choices_.privacy), BST_CHECKED);
  CheckDlgButton(HWindow, IDC_SIGNATURES_PAGE3,
                 choices_.signaturesPage3 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(HWindow, IDC_DATE_SIGNATURES,
                 choices_.dateSignatures ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemText(HWindow, IDC_SIGNATURE_DATE, choices_.dateText);
}

void THUDPrintOptions::CmOk() {
  if (!CanClose()) return;
  choices_.privacy = CheckedPrivacy(HWindow);
  choices_.signaturesPage3 = IsDlgButtonChecked(HWindow, IDC_SIGNATURES_PAGE3) == BST_CHECKED;
  choices_.dateSignatures = IsDlgButtonChecked(HWindow, IDC_DATE_SIGNATURES) == BST_CHECKED;
  choices_.dateText[0] = '\0';
  if (choices_.dateSignatures)
    GetDlgItemText(HWindow, IDC_SIGNATURE_DATE, choices_.dateText, kDateTextLimit + 1);
  Destroy(IDOK);
}

DEFINE_RESPONSE_TABLE1(THUDPrintOptions, TDialog)
EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;
