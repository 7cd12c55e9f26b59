/*
** TZarneSplash: the window that stays up during start-up and carries its progress text in
** its status line.
*/
#ifndef ZARNE_SHELL_SPLASH_H
#define ZARNE_SHELL_SPLASH_H

#include "platform/framework/dialog.h"

class TStatic;

class TZarneSplash : public TDialog {
 public:
  TZarneSplash(TWindow* parent, TResId resId, TModule* module = nullptr);
  /* Shows the text in the status line and paints it at once (start-up runs no loop). */
  void SetStatus(const char* text);

  TStatic* status;
};

#endif
