/*
** TInputTxt: the prompt dialog of template merges. It shows the prompt of a "?" marker and
** takes the answer; both travel in one program-wide transfer record.
*/
#ifndef ZARNE_SCRIPT_INPUT_TXT_H
#define ZARNE_SCRIPT_INPUT_TXT_H

#include "platform/framework/dialog.h"

constexpr int kInputTxtTemplate = 20904;
constexpr int kInputTxtPrompt = 901;
constexpr int kInputTxtAnswer = 180;
/* Each text holds 254 characters and its terminator. */
constexpr int kInputTxtTextSize = 255;

#pragma pack(push, 1)
struct TInputTxtXfer {
  char answer[kInputTxtTextSize];
  char prompt[kInputTxtTextSize];
};
#pragma pack(pop)

// Owner: script.
extern TInputTxtXfer gInputTxtXfer;

class TInputTxt : public TDialog {
 public:
  TInputTxt(TWindow* parent, const char* caption);

 private:
  void SetupWindow() override;

  const char* caption_;
};

#endif
