/*
** The program's picture on button 450 of the splash and About boxes: a plain bitmap button
** given bitmap 450 of the program's resources. The dialog keeps the bitmap until it goes.
*/
#ifndef ZARNE_SHELL_LOGO_PICTURE_H
#define ZARNE_SHELL_LOGO_PICTURE_H

#include "platform/framework/dialog.h"

class LogoPicture {
 public:
  LogoPicture() = default;
  ~LogoPicture();
  LogoPicture(const LogoPicture&) = delete;
  LogoPicture& operator=(const LogoPicture&) = delete;
  /* Puts the picture on the dialog's button 450. */
  void Show(TDialog& dialog);

 private:
  HBITMAP bitmap_ = nullptr;
};

#endif
