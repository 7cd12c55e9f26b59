/*
** A second program for the office day: zrnfix32's application, which once started rebuilds
** the table named on its command line as its user does (File|Rebuild..., the table picked in
** the list by arrow keys, Enter), answers every box with its default button and prints the
** box's text, then closes as Exit does. It prints "rebuild ran" when the dialog opened.
**   office_rebuild_driver TABLE
*/
#include "platform/framework/frame.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/winuser.h"
#include "rebuild/zarne_fix_app.h"

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: office_rebuild_driver TABLE\n");
    return 2;
  }
  const std::string table = argv[1];
  EnsureTestApplication();
  ScriptedMessageBoxes boxes;
  DialogDriver driver;
  auto app = std::make_unique<ZarneFixApp>();
  app->InitInstance();
  if (!app->GetMainWindow() || !app->GetMainWindow()->HWindow) {
    std::puts("no window");
    return 1;
  }
  SetFocus(app->GetMainWindow()->HWindow);
  ProcessPendingMessages();
  bool picked = false;
  driver.OnDialog(1001, [&](HWND dialog) {
    HWND list = FindControl(dialog, 398);
    int index = static_cast<int>(
        SendMessage(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(table.c_str())));
    if (index < 0) {
      PressDialogKey(dialog, VK_ESCAPE);
      return;
    }
    picked = true;
    PressDialogKey(dialog, VK_HOME);
    for (int i = 0; i < index; ++i) PressDialogKey(dialog, VK_DOWN);
    PressDialogKey(dialog, VK_RETURN);
  });
  PressKey('F', Qt::AltModifier);
  PressKey(VK_RETURN);
  ProcessPendingMessages();
  if (driver.Pending() == 0) std::puts(picked ? "rebuild ran" : "no such table");
  for (const MessageBoxRequest& box : boxes.Shown()) std::printf("box: %s\n", box.text.c_str());
  bool closed = app->CanClose();
  if (closed && app->GetMainWindow() && app->GetMainWindow()->HWindow)
    app->GetMainWindow()->Destroy();
  ProcessPendingMessages();
  app.reset();
  return closed ? 0 : 1;
}
