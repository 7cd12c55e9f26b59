/*
** The splash window and its status line.
*/
#include "shell/splash.h"

#include "platform/framework/controls.h"

namespace {
constexpr int kStatusLine = 101;
constexpr int kStatusLimit = 40;
}  // namespace

TZarneSplash::TZarneSplash(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module), status(new TStatic(this, kStatusLine, kStatusLimit)) {}

void TZarneSplash::SetStatus(const char* text) {
  if (!status->HWindow) return;
  status->SetText(text);
  status->UpdateWindow();
}
