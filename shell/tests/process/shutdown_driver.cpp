/*
** A second program for the shutdown tests: zarne32's application, which once its start-up
** has run opens two closing files, changes a value in the first and types a value into the
** second one's edit line, says "ready" on its standard output and then runs the program's
** own message loop until it ends.
**   shell_shutdown_driver            waits for a signal (SIGTERM or SIGHUP from the test)
**   shell_shutdown_driver keys       then chooses File|Exit itself by keys, from the loop
**   shell_shutdown_driver close      then closes the frame as the desktop's close button does
** After the loop it prints whether the tables were closed and exits with the loop's code.
*/
#include "filenumber/file_windows.h"
#include "platform/framework/mdi.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstdio>
#include <string>

namespace {

std::string gMode;

void CALLBACK EndFromTheLoop(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND frame = TApplication::Current()->GetMainWindow()->HWindow;
  if (gMode == "close") {
    PostMessage(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  SetFocus(frame);
  PressKey('F', Qt::AltModifier);
  PressKey('X');
}

class DrivenApp : public ZarneApp {
 public:
  void InitInstance() override {
    ZarneApp::InitInstance();
    if (!StartedUp()) return;
    auto* client = static_cast<ZarneMDIClient*>(GetMainWindow()->GetClientWindow());
    OpenFileWindow(client, "X1");
    TMDIChild* first = FindFileWindow(client, "X1");
    OpenFileWindow(client, "X2");
    TMDIChild* second = FindFileWindow(client, "X2");
    if (!first || !second) {
      std::puts("no windows");
      std::fflush(stdout);
      return;
    }
    dynamic_cast<RespaWindow*>(first->GetClientWindow())->records[0]->SetString(12, "Second Buyer");
    auto* view = dynamic_cast<RespaWindow*>(second->GetClientWindow());
    MSG pending;
    while (PeekMessage(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&pending);
    SetFocus(view->editLine->HWindow);
    TypeText("Typed Before Exit");
    if (!gMode.empty()) SetTimer(nullptr, 0, 50, EndFromTheLoop);
    std::puts("ready");
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1) gMode = argv[1];
  auto* app = new DrivenApp;
  int result = app->Run();
  bool closed = gAccountRecord == nullptr && gBankRecord == nullptr;
  for (TPXTable* table : gTables) closed = closed && table == nullptr;
  // Asked again, as a logout after File|Exit would: nothing is closed twice.
  bool again = app->CanClose();
  delete app;
  std::printf("tables %s, asked again %s\n", closed ? "closed" : "open",
              again ? "agreed" : "refused");
  return result;
}
