/*
** The MDI frame, client and child over the windowing layer's MDI client class.
*/
#include "platform/framework/mdi.h"

#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <cstring>
#include <strings.h>

/* ---- client ---- */

TMDIClient::TMDIClient(TModule* module) : TWindow(nullptr, nullptr, module) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
  Attr.X = Attr.Y = Attr.W = Attr.H = 0;
  Attr.Id = 0xFFFE;
}

bool TMDIClient::Create() {
  if (HWindow) return true;
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = WindowMenu;
  ccs.idFirstChild = 0xFF00;
  Attr.Param = &ccs;
  bool created = TWindow::Create();
  Attr.Param = nullptr;
  return created;
}

TMDIChild* TMDIClient::GetActiveMDIChild() {
  if (!HWindow) return nullptr;
  auto active = reinterpret_cast<HWND>(::SendMessage(HWindow, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TMDIChild*>(TWindow::FromHandle(active));
}

bool TMDIClient::CloseChildren() {
  if (!CanClose()) return false;
  std::vector<TWindow*> children(Children());
  for (TWindow* child : children)
    if (child->HWindow && dynamic_cast<TMDIChild*>(child)) child->Destroy();
  return true;
}

void TMDIClient::CascadeChildren() { SendMessage(WM_MDICASCADE, 0); }
void TMDIClient::TileChildren(int tile) { SendMessage(WM_MDITILE, static_cast<WPARAM>(tile)); }
void TMDIClient::ArrangeIcons() { SendMessage(WM_MDIICONARRANGE); }

void TMDIClient::CmCreateChild() {
  if (TMDIChild* child = InitChild()) child->Create();
}

void TMDIClient::SendToFocusedEdit(UINT message) {
  HWND focus = ::GetFocus();
  if (!focus) return;
  char className[16] = "";
  ::GetClassName(focus, className, sizeof className);
  if (strcasecmp(className, "edit") == 0) ::SendMessage(focus, message, 0, 0);
}

DEFINE_RESPONSE_TABLE1(TMDIClient, TWindow)
EV_COMMAND(CM_CASCADECHILDREN, CmCascadeChildren), EV_COMMAND(CM_TILECHILDREN, CmTileChildren),
    EV_COMMAND(CM_TILECHILDRENHORIZ, CmTileChildrenHoriz),
    EV_COMMAND(CM_ARRANGEICONS, CmArrangeIcons), EV_COMMAND(CM_CLOSECHILDREN, CmCloseChildren),
    EV_COMMAND(CM_CREATECHILD, CmCreateChild), EV_COMMAND(CM_EDITCUT, CmEditCut),
    EV_COMMAND(CM_EDITCOPY, CmEditCopy), EV_COMMAND(CM_EDITPASTE, CmEditPaste),
    EV_COMMAND_ENABLE(CM_CASCADECHILDREN, CeChildrenPresent),
    EV_COMMAND_ENABLE(CM_TILECHILDREN, CeChildrenPresent),
    EV_COMMAND_ENABLE(CM_ARRANGEICONS, CeChildrenPresent),
    EV_COMMAND_ENABLE(CM_CLOSECHILDREN, CeChildrenPresent), END_RESPONSE_TABLE;

/* ---- frame ---- */

TMDIFrame::TMDIFrame(const char* title, TResId menuResId, TMDIClient& clientWnd, TModule* module)
    : TDecoratedFrame(nullptr, title, &clientWnd, false, module) {
  if (!menuResId.IsNull()) Attr.Menu = menuResId;
}

LRESULT TMDIFrame::DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!HWindow) return 0;
  HWND client = ClientWnd ? ClientWnd->HWindow : nullptr;
  // The decorations, not the MDI client, decide where the client goes.
  if (msg == WM_SIZE) return DefWindowProc(HWindow, msg, wParam, lParam);
  return DefFrameProc(HWindow, client, msg, wParam, lParam);
}

HWND TMDIFrame::GetCommandTarget() {
  TMDIClient* client = GetClientWindow();
  if (client && client->HWindow) {
    if (TMDIChild* child = client->GetActiveMDIChild()) return child->GetCommandTarget();
    return client->HWindow;
  }
  return TDecoratedFrame::GetCommandTarget();
}

bool TMDIFrame::PreProcessMsg(MSG& msg) {
  TMDIClient* client = GetClientWindow();
  if (client && client->HWindow && TranslateMDISysAccel(client->HWindow, &msg)) return true;
  return TDecoratedFrame::PreProcessMsg(msg);
}

TDecoratedMDIFrame::TDecoratedMDIFrame(const char* title, TResId menuResId, TMDIClient& clientWnd,
                                       bool, TModule* module)
    : TMDIFrame(title, menuResId, clientWnd, module) {}

/* ---- child ---- */

TMDIChild::TMDIChild(TMDIClient& parent, const char* title, TWindow* clientWnd, bool,
                     TModule* module)
    : TFrameWindow(&parent, title, clientWnd, false, module) {
  Attr.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_CAPTION |
               WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
  Attr.X = Attr.Y = Attr.W = Attr.H = CW_USEDEFAULT;
  // A child the user closes is deleted by the framework once its window is gone.
  SetFlag(wfDeleteOnClose);
}

bool TMDIChild::Create() {
  if (HWindow) return true;
  if (!Parent || !Parent->HWindow || !Register()) return false;
  MDICREATESTRUCT mcs{};
  mcs.szClass = GetClassName();
  mcs.szTitle = Title ? Title : "";
  mcs.hOwner = *GetModule();
  mcs.x = Attr.X;
  mcs.y = Attr.Y;
  mcs.cx = Attr.W;
  mcs.cy = Attr.H;
  mcs.style = Attr.Style;
  mcs.lParam = reinterpret_cast<LPARAM>(Attr.Param);
  HWND created = CreateBound([&] {
    return reinterpret_cast<HWND>(
        Parent->SendMessage(WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  });
  if (!created) return false;
  ApplyIcons();
  return true;
}

void TMDIChild::Destroy(int) {
  if (!HWindow) return;
  if (Parent && Parent->HWindow)
    Parent->SendMessage(WM_MDIDESTROY, reinterpret_cast<WPARAM>(HWindow));
  else ::DestroyWindow(HWindow);
}

HWND TMDIChild::GetCommandTarget() { return TFrameWindow::GetCommandTarget(); }

LRESULT TMDIChild::DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!HWindow) return 0;
  return DefMDIChildProc(HWindow, msg, wParam, lParam);
}

void TMDIChild::EvMDIActivate(HWND hWndActivated, HWND hWndDeactivated) {
  DefaultProcessing();
  // The client window hears of its child's activation too (a view saves when it loses it).
  if (ClientWnd && ClientWnd->HWindow)
    ClientWnd->HandleMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndDeactivated),
                             reinterpret_cast<LPARAM>(hWndActivated));
}

DEFINE_RESPONSE_TABLE1(TMDIChild, TFrameWindow)
EV_WM_MDIACTIVATE, END_RESPONSE_TABLE;
