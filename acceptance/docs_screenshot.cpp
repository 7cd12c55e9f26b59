/*
** Takes the documentation's picture of the statement window: zarne32's application on a
** fresh data root (the first start's question answered Yes), File New by keys, the office
** day's purchase typed into the statement, File Save, then the main window written as a
** PNG. Run by tools/docs-screenshot under Xvfb, so the picture is what a desktop shows.
**   office_docs_screenshot OUTPUT.png
*/
#include "acceptance/app_driving.h"
#include "acceptance/statement_typing.h"
#include "filenumber/file_windows.h"
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
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: office_docs_screenshot OUTPUT.png\n");
    return 2;
  }
  EnsureTestApplication();
  ScriptedMessageBoxes boxes;  // the first start's question: its default, Yes
  auto app = std::make_unique<ZarneApp>();
  app->InitInstance();
  PumpApp(*app);
  if (!app->StartedUp()) {
    std::fprintf(stderr, "office_docs_screenshot: the program did not start\n");
    return 1;
  }
  RespaWindow* view = FileCommandByKeys(*app, 'N', "2026-0417");
  if (!view) {
    std::fprintf(stderr, "office_docs_screenshot: File New opened no statement\n");
    return 1;
  }
  bool typed = true;
  for (int i = 0; i < kPurchaseTypedCount; ++i)
    typed = TypeIntoStatementField(view, kPurchaseTyped[i].id, kPurchaseTyped[i].text) && typed;
  for (int i = 0; i < kPurchaseChosenCount; ++i)
    typed = ChooseInStatementField(view, kPurchaseChosen[i].id, kPurchaseChosen[i].entry) && typed;
  FileMenuByKeys(*app, 'S');
  // The top of the statement, with the parties in view.
  ClickStatementField(view, 102);
  PumpApp(*app);
  bool saved = SaveWindowScreenshot(app->GetMainWindow()->HWindow, argv[1]);
  app->GetMainWindow()->CloseWindow();
  PumpApp(*app);
  app.reset();
  if (!typed) std::fprintf(stderr, "office_docs_screenshot: some values could not be typed\n");
  if (!saved) std::fprintf(stderr, "office_docs_screenshot: cannot write %s\n", argv[1]);
  return typed && saved ? 0 : 1;
}
