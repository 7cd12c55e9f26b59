/*
** The About box of the repair utility.
*/
#include "rebuild/about_dialog.h"

#include "platform/framework/application.h"
#include "rebuild/project_rc_version.h"
#include "rebuild/rebuild_ids.h"

#include <cstdio>

ZarneFixAboutDlg::ZarneFixAboutDlg(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {}

void ZarneFixAboutDlg::SetupWindow() {
  TDialog::SetupWindow();
  TApplication* app = GetApplication();
  ProjectRCVersion version(app ? app->GetInstance() : GetProgramModule().GetInstance());

  const char* name = nullptr;
  const char* number = nullptr;
  if (version.GetProductName(name) && version.GetProductVersion(number)) {
    char word[128] = {};
    GetDlgItemText(HWindow, kAboutVersion, word, sizeof word);
    char line[256];
    std::snprintf(line, sizeof line, "%s %s %s", name, word, number);
    SetDlgItemText(HWindow, kAboutVersion, line);
  }
  const char* copyright = nullptr;
  if (version.GetLegalCopyright(copyright)) SetDlgItemText(HWindow, kAboutCopyright, copyright);
  const char* special = nullptr;
  if (version.GetSpecialBuild(special)) SetDlgItemText(HWindow, kAboutSpecialBuild, special);
}
