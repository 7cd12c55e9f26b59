/*
** TFrameWindow and TDecoratedFrame: client placement, command routing, idle work.
*/
#include "platform/framework/frame.h"

#include "platform/framework/application.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool,
                           TModule* module)
    : TWindow(parent, title, module) {
  if (!parent) Attr.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  SetClientWindow(clientWnd);
}

TWindow* TFrameWindow::SetClientWindow(TWindow* clientWnd) {
  TWindow* old = ClientWnd;
  ClientWnd = clientWnd;
  if (clientWnd) {
    clientWnd->SetParent(this);
    clientWnd->Attr.Style |= WS_CHILD | WS_VISIBLE;
    clientWnd->Attr.Style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME);
    clientWnd->SetFlag(wfAutoCreate);
    if (HWindow && !clientWnd->HWindow) clientWnd->Create();
    if (HWindow) Layout();
  }
  return old;
}

void TFrameWindow::SetupWindow() {
  TWindow::SetupWindow();
  Layout();
}

void TFrameWindow::Layout() {
  if (!HWindow || !ClientWnd || !ClientWnd->HWindow) return;
  TRect r = GetClientRect();
  ClientWnd->MoveWindow(r.left, r.top, r.Width(), r.Height(), true);
}

void TFrameWindow::EvSize(UINT sizeType, TSize& size) {
  TWindow::EvSize(sizeType, size);
  Layout();
}

void TFrameWindow::EvSetFocus(HWND lostFocus) {
  if (ClientWnd && ClientWnd->HWindow) ClientWnd->SetFocus();
  else TWindow::EvSetFocus(lostFocus);
}

bool TFrameWindow::PreProcessMsg(MSG& msg) { return TWindow::PreProcessMsg(msg); }

HWND TFrameWindow::GetCommandTarget() {
  HWND focus = ::GetFocus();
  if (ClientWnd && ClientWnd->HWindow) {
    if (focus && (focus == ClientWnd->HWindow || ::IsChild(ClientWnd->HWindow, focus)))
      return focus;
    return ClientWnd->HWindow;
  }
  if (focus && ::IsChild(HWindow, focus)) return focus;
  return HWindow;
}

std::vector<TWindow*> TFrameWindow::CommandChain() {
  std::vector<TWindow*> chain;
  for (HWND h = GetCommandTarget(); h && h != HWindow; h = ::GetParent(h))
    if (TWindow* w = TWindow::FromHandle(h)) chain.push_back(w);
  return chain;
}

LRESULT TFrameWindow::EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) {
  if (hWndCtl) return TWindow::EvCommand(id, hWndCtl, notifyCode);
  // Menu, accelerator and control-bar commands: the focus chain first, then the frame, then
  // the application.
  TEventArgs args{WM_COMMAND, MAKEWPARAM(id, notifyCode), 0};
  TEventKey key{TEntryKind::Command, 0, id, 0};
  for (TWindow* w : CommandChain()) {
    if (w->IsFlagSet(wfPredefinedClass) && !w->FindEntry(key)) continue;
    if (w->Dispatch(key, args)) return 0;
  }
  if (Dispatch(key, args)) return 0;
  if (TApplication* app = GetApplication();
      app && IsFlagSet(wfMainWindow) && app->Dispatch(key, args))
    return 0;
  return DefaultProcessing();
}

void TFrameWindow::EvCommandEnable(TCommandEnabler& enabler) {
  TEventArgs args{WM_COMMAND, enabler.GetId(), reinterpret_cast<LPARAM>(&enabler)};
  TEventKey enableKey{TEntryKind::CommandEnable, 0, enabler.GetId(), 0};
  TEventKey commandKey{TEntryKind::Command, 0, enabler.GetId(), 0};
  std::vector<TWindow*> chain = CommandChain();
  chain.push_back(this);
  bool handlerFound = false;
  for (TWindow* w : chain) {
    if (w->Dispatch(enableKey, args) && enabler.WasHandled()) return;
    if (w->FindEntry(commandKey)) {
      handlerFound = true;
      break;
    }
  }
  TApplication* app = GetApplication();
  if (!handlerFound && app && IsFlagSet(wfMainWindow)) {
    if (app->Dispatch(enableKey, args) && enabler.WasHandled()) return;
    handlerFound = app->FindEntry(commandKey) != nullptr;
  }
  // A command nobody on the way handles cannot be chosen.
  enabler.Enable(handlerFound);
}

void TFrameWindow::IdleAction() {}

void TFrameWindow::EvEnterIdle(UINT source, HWND hWndDlg) {
  IdleAction();
  TWindow::EvEnterIdle(source, hWndDlg);
}

/* Exit closes the program: chosen while an MDI child (itself a frame) has the focus, it must
   not close only that child. */
void TFrameWindow::CmExit() {
  TApplication* app = GetApplication();
  TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
  if (main && main != this && !IsFlagSet(wfMainWindow)) main->CloseWindow();
  else CloseWindow();
}

void TFrameWindow::EvParentNotify(UINT event, LPARAM childHandleOrPoint, UINT childId) {
  // A view that closes itself (File Close on the view) takes its frame with it; the close is
  // posted so the view's own destruction finishes first.
  if (event == WM_DESTROY && ClientWnd && ClientWnd->HWindow &&
      reinterpret_cast<HWND>(childHandleOrPoint) == ClientWnd->HWindow)
    PostMessage(WM_CLOSE);
  TWindow::EvParentNotify(event, childHandleOrPoint, childId);
}

DEFINE_RESPONSE_TABLE1(TFrameWindow, TWindow)
EV_WM_SIZE, EV_WM_SETFOCUS, EV_WM_ENTERIDLE, EV_WM_PARENTNOTIFY,
    EV_COMMAND(CM_EXIT, CmExit), END_RESPONSE_TABLE;

/* ---- decorated frame ---- */

TDecoratedFrame::TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd, bool,
                                 TModule* module)
    : TFrameWindow(parent, title, clientWnd, false, module) {}

void TDecoratedFrame::Insert(TWindow& decoration, TLocation location) {
  decoration.SetParent(this);
  decoration.Attr.Style |= WS_CHILD | WS_VISIBLE;
  decoration.SetFlag(wfAutoCreate);
  decorations_.push_back({&decoration, location});
  if (HWindow && !decoration.HWindow) decoration.Create();
  Layout();
}

void TDecoratedFrame::Layout() {
  if (!HWindow) return;
  TRect r = GetClientRect();
  for (const Decoration& d : decorations_) {
    if (!d.window->HWindow) continue;
    int h = d.window->Attr.H;
    if (d.location == Top) {
      d.window->MoveWindow(r.left, r.top, r.Width(), h, true);
      r.top += h;
    } else {
      d.window->MoveWindow(r.left, r.bottom - h, r.Width(), h, true);
      r.bottom -= h;
    }
  }
  if (ClientWnd && ClientWnd->HWindow)
    ClientWnd->MoveWindow(r.left, r.top, r.Width(), std::max(0, r.Height()), true);
}

void TDecoratedFrame::IdleAction() {
  for (const Decoration& d : decorations_)
    if (d.window->HWindow) d.window->HandleMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
}
