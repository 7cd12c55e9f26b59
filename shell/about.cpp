/*
** The About box's set-up from the version strings.
*/
#include "shell/about.h"

#include "platform/user/window_manager.h"
#include "shell/rc_version.h"

#include <string>

namespace {
constexpr int kVersionText = 22001;
constexpr int kCopyrightText = 22002;
constexpr int kCompanyText = 22004;
}  // namespace

ZarneAboutDlg::ZarneAboutDlg(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {}

ZarneAboutDlg::~ZarneAboutDlg() = default;

void ZarneAboutDlg::SetupWindow() {
  TDialog::SetupWindow();
  ProjectRCVersion version(versionModule ? versionModule : GetModule()->GetInstance());
  const char* text = nullptr;
  if (version.GetProductVersion(&text)) {
    char label[64] = "";
    ::GetWindowText(GetDlgItem(kVersionText), label, sizeof label);
    std::string line = std::string(label) + " " + text;
    ::SetWindowText(GetDlgItem(kVersionText), line.c_str());
  }
  if (version.GetLegalCopyright(&text)) ::SetWindowText(GetDlgItem(kCopyrightText), text);
  if (version.GetCompanyName(&text)) ::SetWindowText(GetDlgItem(kCompanyText), text);
}
