/*
** ZarneAboutDlg: the About box, showing the program's version, copyright and company from
** its version resource.
*/
#ifndef ZARNE_SHELL_ABOUT_H
#define ZARNE_SHELL_ABOUT_H

#include "platform/framework/dialog.h"

class ZarneAboutDlg : public TDialog {
 public:
  ZarneAboutDlg(TWindow* parent, TResId resId, TModule* module = nullptr);
  ~ZarneAboutDlg() override;
  void SetupWindow() override;

  /* The module whose version resource is shown; the running program unless set. */
  HINSTANCE versionModule = nullptr;
};

#endif
