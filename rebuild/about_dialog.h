/*
** ZarneFixAboutDlg: the About box, showing the product name and version and the copyright
** from the program's own version data over its template's texts.
*/
#ifndef ZARNE_REBUILD_ABOUT_DIALOG_H
#define ZARNE_REBUILD_ABOUT_DIALOG_H

#include "platform/framework/dialog.h"

class ZarneFixAboutDlg : public TDialog {
 public:
  ZarneFixAboutDlg(TWindow* parent, TResId resId, TModule* module = nullptr);
  void SetupWindow() override;
};

#endif
