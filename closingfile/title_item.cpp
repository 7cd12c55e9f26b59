/*
** The item dialog TTINewMod, the policy letters and the grid row of a title item.
*/
#include "closingfile/title_item.h"

#include "platform/framework/controls.h"
#include "platform/framework/edit.h"

#include <cstring>

void PolicyToRadios(const char* letter, TTINewModXfer& xfer) {
  xfer.Both = xfer.Owner = xfer.Loan = 0;
  if (letter == nullptr || letter[0] == '\0' || letter[1] != '\0') return;
  if (letter[0] == 'B') xfer.Both = 1;
  if (letter[0] == 'O') xfer.Owner = 1;
  if (letter[0] == 'L') xfer.Loan = 1;
}

char PolicyFromRadios(const TTINewModXfer& xfer) {
  if (xfer.Owner) return 'O';
  if (xfer.Loan) return 'L';
  return 'B';
}

void BuildTitleRow(TTitleItemRow& row, const char* packedText, double seq, const char* policy) {
  std::memset(&row, 0, sizeof row);
  std::strncpy(row.Text, packedText ? packedText : "", kTitleRowTextSize - 1);
  row.Seq = seq;
  row.Policy[0] = policy ? policy[0] : '\0';
}

TTINewMod::TTINewMod(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  // The radio buttons move 32 bits each, as the transfer record holds them.
  Both = new TRadioButton(this, kBothRadio, tw32Bit);
  Owner = new TRadioButton(this, kOwnerRadio, tw32Bit);
  Loan = new TRadioButton(this, kLoanRadio, tw32Bit);
  Text = new TEdit(this, kTitleTextEdit, kTitleTextLimit);
}

void TTINewMod::SetupWindow() {
  TDialog::SetupWindow();
  if (!DeleteMode) return;
  Both->EnableWindow(false);
  Owner->EnableWindow(false);
  Loan->EnableWindow(false);
  Text->EnableWindow(false);
}
