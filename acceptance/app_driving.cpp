/*
** zarne32's application driven by keys from a program of its own.
*/
#include "acceptance/app_driving.h"

#include "filenumber/file_windows.h"
#include "platform/framework/frame.h"
#include "platform/framework/mdi.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"

void PumpApp(ZarneApp& app) {
  MSG msg;
  for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) continue;
    if (app.ProcessAppMsg(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  TApplication::DeleteCondemned();
}

void FileMenuByKeys(ZarneApp& app, char letter) {
  SetFocus(app.GetMainWindow()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey(letter);
  PumpApp(app);
}

RespaWindow* FileCommandByKeys(ZarneApp& app, char letter, const std::string& number) {
  {
    DialogDriver driver;
    driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
      SetFocus(FindControl(dialog, 101));
      TypeIntoDialog(dialog, number);
      PressDialogKey(dialog, VK_RETURN);
      if (IsWindowVisible(dialog)) PressButton(dialog, IDCANCEL);
    });
    FileMenuByKeys(app, letter);
  }
  auto* client = static_cast<ZarneMDIClient*>(app.GetMainWindow()->GetClientWindow());
  TMDIChild* child = FindFileWindow(client, number.c_str());
  return child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr;
}
