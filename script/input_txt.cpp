/*
** The prompt dialog. The answer's edit comes first in the transfer record, the prompt's
** static second; the static takes part so that it shows the prompt.
*/
#include "script/input_txt.h"

#include "platform/framework/edit.h"

TInputTxtXfer gInputTxtXfer = {};

TInputTxt::TInputTxt(TWindow* parent, const char* caption)
    : TDialog(parent, kInputTxtTemplate), caption_(caption) {
  new TEdit(this, kInputTxtAnswer, kInputTxtTextSize);
  TStatic* prompt = new TStatic(this, kInputTxtPrompt, kInputTxtTextSize);
  prompt->EnableTransfer();
  SetTransferBuffer(&gInputTxtXfer);
}

void TInputTxt::SetupWindow() {
  TDialog::SetupWindow();
  if (caption_) SetCaption(caption_);
}
