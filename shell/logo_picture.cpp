/*
** The picture button of the splash and About boxes.
*/
#include "shell/logo_picture.h"

#include "platform/user/button_control.h"
#include "shell/shell_ids.h"

LogoPicture::~LogoPicture() {
  if (bitmap_) DeleteObject(bitmap_);
}

void LogoPicture::Show(TDialog& dialog) {
  if (!bitmap_) bitmap_ = dialog.GetModule()->LoadBitmap(MAKEINTRESOURCE(IDB_LOGO));
  if (bitmap_) dialog.SendDlgItemMessage(IDB_LOGO, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_));
}
