/*
** TApplication: start-up, the message loop and shutdown (also when a signal or the session's
** end asks for it).
*/
#include "platform/framework/application.h"

#include "platform/framework/frame.h"
#include "platform/framework/termination.h"
#include "platform/kernel/heap_policy.h"
#include "platform/user/accelerators.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/message_queue.h"
#include "platform/user/program_name.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <vector>

namespace {
// Owner: platform/framework.
TApplication* gApplication = nullptr;

HWND CurrentMainWindow() {
  TFrameWindow* main = gApplication ? gApplication->GetMainWindow() : nullptr;
  return main ? main->HWindow : nullptr;
}

std::vector<TWindow*>& Condemned() {
  static std::vector<TWindow*> condemned;
  return condemned;
}
}  // namespace

TApplication::TApplication(const char* name) : TModule(name, nullptr) {
  SettleHeapPolicy();  // before the windows' and tables' blocks are taken
  if (!gApplication) {
    gApplication = this;
    SetProgramName(name);
  }
}

TApplication::~TApplication() {
  DeleteCondemned();
  delete MainWindow;
  MainWindow = nullptr;
  if (gApplication == this) gApplication = nullptr;
}

TApplication* TApplication::Current() { return gApplication; }

TFrameWindow* TApplication::SetMainWindow(TFrameWindow* window) {
  TFrameWindow* previous = MainWindow;
  if (previous) previous->ClearFlag(wfMainWindow);
  MainWindow = window;
  if (window) window->SetFlag(wfMainWindow);
  return previous;
}

void TApplication::InitMainWindow() { SetMainWindow(new TFrameWindow(nullptr, GetName())); }

void TApplication::InitInstance() {
  InitMainWindow();
  if (!MainWindow) return;
  MainWindow->SetFlag(wfMainWindow);
  if (MainWindow->Create()) MainWindow->Show(nCmdShow);
}

int TApplication::Run() {
  CatchTerminationSignals();
  InitApplication();
  InitInstance();
  WatchForTermination(CurrentMainWindow);
  if (!MainWindow || !MainWindow->HWindow) {
    // Nothing to run: start-up failed before the main window existed, or ended the program.
    MSG pending;
    while (PeekMessage(&pending, nullptr, 0, 0, PM_REMOVE)) {
      if (pending.message == WM_QUIT) return static_cast<int>(pending.wParam);
      TranslateMessage(&pending);
      DispatchMessage(&pending);
    }
    return 0;
  }
  return MessageLoop();
}

bool TApplication::CanClose() {
  return !MainWindow || !MainWindow->HWindow || MainWindow->CanClose();
}

bool TApplication::ProcessAppMsg(MSG& msg) {
  // Each framework window from the message's window up to its top-level window may use the
  // message first: dialogs their keyboard navigation, frames their accelerators.
  for (HWND w = msg.hwnd; w; w = ::GetParent(w)) {
    TWindow* object = TWindow::FromHandle(w);
    if (object && object->PreProcessMsg(msg)) return true;
  }
  return false;
}

int TApplication::MessageLoop() {
  MSG msg{};
  for (;;) {
    DeleteCondemned();
    // Idle work (command enabling of the control bar) once the queue has run dry.
    MSG peek;
    if (MainWindow && MainWindow->HWindow && !PeekMessage(&peek, nullptr, 0, 0, PM_NOREMOVE))
      MainWindow->IdleAction();
    BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (!ProcessAppMsg(msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  DeleteCondemned();
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

void TApplication::CmExit() {
  if (MainWindow && MainWindow->HWindow) MainWindow->CloseWindow();
}

void TApplication::EnableCtl3d(bool enable) {
  ctl3d_ = enable;
  ::EnableCtl3d(enable);
}

void TApplication::EnableBWCC(bool enable) {
  bwcc_ = enable;
  ::EnableBWCC(enable);
}

void TApplication::Condemn(TWindow* window) {
  auto& list = Condemned();
  if (std::find(list.begin(), list.end(), window) == list.end()) list.push_back(window);
}

void TApplication::Forget(TWindow* window) {
  auto& list = Condemned();
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

void TApplication::DeleteCondemned() {
  auto& list = Condemned();
  while (!list.empty()) {
    TWindow* window = list.back();
    list.pop_back();
    delete window;  // its destructor forgets it again; harmless
  }
}
