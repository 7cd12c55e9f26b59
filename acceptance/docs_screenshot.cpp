/*
** Takes the documentation's picture of the statement window: zarne32's application on a
** fresh data root (the first start's question answered Yes), File New by keys, the office
** day's purchase typed into the statement, File Save, then the main window written as a
** PNG. Run by tools/docs-screenshot under Xvfb, so the picture is what a desktop shows.
**   office_docs_screenshot OUTPUT.png
*/
#include "acceptance/statement_typing.h"
#include "platform/framework/frame.h"
#include "platform/framework/mdi.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/screenshot.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/winuser.h"
#include "shell/file_windows.h"
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"

#include <cstdio>
#include <memory>

namespace {

void Pump(ZarneApp& app) {
  MSG msg;
  for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) continue;
    if (app.ProcessAppMsg(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  TApplication::DeleteCondemned();
}

void FileMenu(ZarneApp& app, char letter) {
  SetFocus(app.GetMainWindow()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey(letter);
  Pump(app);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: office_docs_screenshot OUTPUT.png\n");
    return 2;
  }
  EnsureTestApplication();
  ScriptedMessageBoxes boxes;  // the first start's question: its default, Yes
  auto app = std::make_unique<ZarneApp>();
  app->InitInstance();
  Pump(*app);
  if (!app->StartedUp()) {
    std::fprintf(stderr, "office_docs_screenshot: the program did not start\n");
    return 1;
  }
  const char* number = "2026-0417";
  {
    DialogDriver driver;
    driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
      SetFocus(FindControl(dialog, 101));
      TypeIntoDialog(dialog, number);
      PressDialogKey(dialog, VK_RETURN);
    });
    FileMenu(*app, 'N');
  }
  auto* client = static_cast<ZarneMDIClient*>(app->GetMainWindow()->GetClientWindow());
  TMDIChild* child = FindFileWindow(client, number);
  auto* view = child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr;
  if (!view) {
    std::fprintf(stderr, "office_docs_screenshot: File New opened no statement\n");
    return 1;
  }
  bool typed = true;
  for (int i = 0; i < kPurchaseTypedCount; ++i)
    typed = TypeIntoStatementField(view, kPurchaseTyped[i].id, kPurchaseTyped[i].text) && typed;
  for (int i = 0; i < kPurchaseChosenCount; ++i)
    typed = ChooseInStatementField(view, kPurchaseChosen[i].id, kPurchaseChosen[i].entry) && typed;
  FileMenu(*app, 'S');
  // The top of the statement, with the parties in view.
  ClickStatementField(view, 102);
  Pump(*app);
  bool saved = SaveWindowScreenshot(app->GetMainWindow()->HWindow, argv[1]);
  app->GetMainWindow()->CloseWindow();
  Pump(*app);
  app.reset();
  if (!typed) std::fprintf(stderr, "office_docs_screenshot: some values could not be typed\n");
  if (!saved) std::fprintf(stderr, "office_docs_screenshot: cannot write %s\n", argv[1]);
  return typed && saved ? 0 : 1;
}
