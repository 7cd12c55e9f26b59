/*
** TWindow: creation, the binding of HWNDs to objects, message routing through response
** tables, the default handlers, the window tree, and data transfer.
*/
#include "platform/framework/window.h"

#include "platform/framework/application.h"
#include "platform/framework/scroller.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/resources.h"
#include "platform/user/accelerators.h"
#include "platform/user/input.h"
#include "platform/user/menu_calls.h"
#include "platform/user/message_box.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {

/* Which object each window handle is bound to. Every message to a bound window asks, and a
   run of them (a list's fill) asks about one window: the last answer is kept at hand. */
class BindingTable {
 public:
  TWindow* Find(HWND hwnd) {
    if (hwnd && hwnd == lastHandle_) return lastWindow_;
    auto it = map_.find(hwnd);
    if (it == map_.end()) return nullptr;
    lastHandle_ = hwnd;
    lastWindow_ = it->second;
    return lastWindow_;
  }
  void Bind(HWND hwnd, TWindow* window) {
    map_[hwnd] = window;
    if (hwnd == lastHandle_) lastWindow_ = window;
  }
  void Unbind(HWND hwnd) {
    map_.erase(hwnd);
    if (hwnd == lastHandle_) {
      lastHandle_ = nullptr;
      lastWindow_ = nullptr;
    }
  }

 private:
  std::unordered_map<HWND, TWindow*> map_;
  HWND lastHandle_ = nullptr;
  TWindow* lastWindow_ = nullptr;
};

BindingTable& Bindings() {
  static BindingTable bindings;
  return bindings;
}

// The object whose window is being created: its first message binds the new HWND to it.
// Owner: platform/framework.
TWindow* gCreating = nullptr;

char* CopyText(const char* text) {
  if (!text) return nullptr;
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}

}  // namespace

void ReportFrameworkError(HWND owner, const char* caption, const char* text) {
  ::MessageBox(owner ? owner : GetFocus(), text, caption, MB_OK | MB_ICONSTOP);
}

int TWindow::MessageBox(const char* text, const char* caption, UINT type) {
  if (!caption) {
    TApplication* application = GetApplication();
    caption = application ? application->GetName() : "";
  }
  return ::MessageBox(HWindow, text, caption, type);
}

int TWindow::MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return ::MessageBox(owner, text, caption, type);
}

TWindow::TWindow(TWindow* parent, const char* title, TModule* module)
    : Attr{},
      Title(CopyText(title)),
      Parent(parent),
      module_(module ? module : (parent ? parent->GetModule() : nullptr)) {
  if (!module_)
    module_ = GetApplication() ? static_cast<TModule*>(GetApplication()) : &GetProgramModule();
  Attr.Style = parent ? (WS_CHILD | WS_VISIBLE) : WS_OVERLAPPEDWINDOW;
  Attr.X = Attr.Y = Attr.W = Attr.H = parent ? 0 : CW_USEDEFAULT;
  if (parent) {
    parent->AddChild(this);
    SetFlag(wfAutoCreate);
  }
}

TWindow::~TWindow() {
  if (HWindow) {
    HWND hwnd = HWindow;
    DetachHandle();
    if (!IsFlagSet(wfAlias) && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  }
  std::vector<TWindow*> children(children_);
  for (auto it = children.rbegin(); it != children.rend(); ++it) delete *it;
  if (Parent) Parent->RemoveChild(this);
  TApplication::Forget(this);
  delete Scroller;
  delete[] Title;
  // Each load is this window's own icon (the system's shared ones survive DestroyIcon);
  // kept, a document window opened and closed all day would leave two icons behind each time.
  if (icon_) ::DestroyIcon(icon_);
  if (iconSm_) ::DestroyIcon(iconSm_);
}

void TWindow::AddChild(TWindow* child) { children_.push_back(child); }

void TWindow::RemoveChild(TWindow* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TWindow::SetParent(TWindow* newParent) {
  if (Parent == newParent) return;
  if (Parent) Parent->RemoveChild(this);
  Parent = newParent;
  if (Parent) Parent->AddChild(this);
  if (HWindow) ::SetParent(HWindow, Parent ? Parent->HWindow : nullptr);
}

HWND TWindow::GetParent() const {
  return HWindow ? ::GetParent(HWindow) : (Parent ? Parent->HWindow : nullptr);
}

TWindow* TWindow::ChildWithId(int id) const {
  for (TWindow* child : children_)
    if (child->Attr.Id == id) return child;
  return nullptr;
}

TApplication* TWindow::GetApplication() const { return TApplication::Current(); }

/* ---- binding ---- */

TWindow* TWindow::FromHandle(HWND hwnd) { return Bindings().Find(hwnd); }

bool TWindow::AttachHandle(HWND hwnd) {
  if (!::IsWindow(hwnd)) return false;
  HWindow = hwnd;
  Bindings().Bind(hwnd, this);
  auto current = reinterpret_cast<WNDPROC>(GetWindowLong(hwnd, GWL_WNDPROC));
  if (current != FrameworkWindowProc) {
    previousProc_ = current;
    SetWindowLong(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc));
  }
  Attr.Id = GetDlgCtrlID(hwnd);
  return true;
}

void TWindow::DetachHandle() {
  if (!HWindow) return;
  if (previousProc_ && ::IsWindow(HWindow))
    SetWindowLong(HWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  Bindings().Unbind(HWindow);
  HWindow = nullptr;
  previousProc_ = nullptr;
}

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* window = TWindow::FromHandle(hwnd);
  if (!window && gCreating && !gCreating->HWindow) {
    window = gCreating;
    window->HWindow = hwnd;
    Bindings().Bind(hwnd, window);
  }
  if (!window) return DefWindowProc(hwnd, msg, wParam, lParam);
  LRESULT result = window->WindowProc(msg, wParam, lParam);
  if (msg == WM_NCDESTROY && window->HWindow == hwnd) {
    Bindings().Unbind(hwnd);
    window->HWindow = nullptr;
    window->previousProc_ = nullptr;
    if (window->IsFlagSet(wfDeleteOnClose)) TApplication::Condemn(window);
  }
  return result;
}

/* ---- creation ---- */

const char* TWindow::GetClassName() { return "ZarneWindow"; }

void TWindow::GetWindowClass(WNDCLASS& wc) {
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameworkWindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = *GetModule();
  wc.hIcon = nullptr;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = GetClassName();
}

bool TWindow::Register() {
  WNDCLASS existing{};
  if (GetClassInfo(*GetModule(), GetClassName(), &existing)) return true;
  WNDCLASS wc{};
  GetWindowClass(wc);
  return RegisterClass(&wc) != 0;
}

bool TWindow::Create() {
  if (HWindow) return true;
  if (IsFlagSet(wfFromResource)) {
    // A template control already exists: bind to it instead of making a window.
    HWND control = Parent ? ::GetDlgItem(Parent->HWindow, Attr.Id) : nullptr;
    if (!control || !AttachHandle(control)) return false;
    SetFlag(wfPredefinedClass);
    PerformSetupAndTransfer();
    return true;
  }
  if (!Register()) {
    char text[160];
    std::snprintf(text, sizeof text, "Window class \"%s\" could not be registered.",
                  GetClassName());
    ReportFrameworkError(Parent ? Parent->HWindow : nullptr, "Window Error", text);
    return false;
  }
  HWND parentHandle = Parent ? Parent->HWindow : nullptr;
  HMENU menuOrId = nullptr;
  if (Attr.Style & WS_CHILD) menuOrId = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(Attr.Id));
  else if (!Attr.Menu.IsNull()) menuOrId = LoadMenu(*GetModule(), Attr.Menu);
  HWND hwnd = CreateBound([&] {
    return CreateWindowEx(Attr.ExStyle, GetClassName(), Title, Attr.Style, Attr.X, Attr.Y, Attr.W,
                          Attr.H, parentHandle, menuOrId, *GetModule(), Attr.Param);
  });
  if (!hwnd) return false;
  if (!HWindow) {
    // A window of a system class never passed through our procedure: route it here now.
    AttachHandle(hwnd);
    SetFlag(wfPredefinedClass);
    PerformSetupAndTransfer();
  }
  if (!Attr.AccelTable.IsNull() && !accel_)
    accel_ = LoadAccelerators(*GetModule(), Attr.AccelTable);
  ApplyIcons();
  return true;
}

HWND TWindow::CreateBound(const std::function<HWND()>& make) {
  TWindow* outer = gCreating;
  gCreating = this;
  HWND hwnd = make();
  gCreating = outer;
  return hwnd;
}

void TWindow::ApplyIcons() {
  if (icon_) SendMessage(WM_SETICON, 1, reinterpret_cast<LPARAM>(icon_));
  if (iconSm_) SendMessage(WM_SETICON, 0, reinterpret_cast<LPARAM>(iconSm_));
}

void TWindow::PerformSetupAndTransfer() {
  SetupWindow();
  if (transferBuffer_) TransferData(tdSetData);
}

void TWindow::SetupWindow() {
  if (Scroller) Scroller->SetSBarRange();
  CreateChildren();
}

bool TWindow::CreateChildren() {
  bool allCreated = true;
  std::vector<TWindow*> children(children_);
  for (TWindow* child : children) {
    if (child->HWindow || !(child->IsFlagSet(wfAutoCreate) || child->IsFlagSet(wfFromResource)))
      continue;
    if (!child->Create()) allCreated = false;
  }
  return allCreated;
}

void TWindow::CleanupWindow() {}

bool TWindow::CanClose() {
  std::vector<TWindow*> children(children_);
  for (TWindow* child : children)
    if (child->HWindow && !child->CanClose()) return false;
  return true;
}

void TWindow::CloseWindow(int retVal) {
  bool willClose =
      IsFlagSet(wfMainWindow) && GetApplication() ? GetApplication()->CanClose() : CanClose();
  if (willClose) Destroy(retVal);
}

void TWindow::Destroy(int) {
  if (!HWindow) return;
  if (IsFlagSet(wfAlias)) {
    DetachHandle();
    return;
  }
  ::DestroyWindow(HWindow);
}

/* ---- messages ---- */

LRESULT TWindow::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HWindow ? ::SendMessage(HWindow, msg, wParam, lParam) : 0;
}

BOOL TWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HWindow ? ::PostMessage(HWindow, msg, wParam, lParam) : FALSE;
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return WindowProc(msg, wParam, lParam);
}

HWND TWindow::GetDlgItem(int id) const { return HWindow ? ::GetDlgItem(HWindow, id) : nullptr; }

LRESULT TWindow::SendDlgItemMessage(int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(id);
  return item ? ::SendMessage(item, msg, wParam, lParam) : 0;
}

LRESULT TWindow::DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!HWindow) return 0;
  if (previousProc_) return CallWindowProc(previousProc_, HWindow, msg, wParam, lParam);
  return DefWindowProc(HWindow, msg, wParam, lParam);
}

LRESULT TWindow::DefaultProcessing() {
  if (!currentEvent_) return 0;
  return DefWindowProcFor(currentEvent_->message, currentEvent_->wParam, currentEvent_->lParam);
}

LRESULT TWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  TEventArgs args{msg, wParam, lParam};
  TEventArgs* outer = currentEvent_;
  currentEvent_ = &args;
  if (msg == WM_DESTROY) CleanupWindow();
  LRESULT result = 0;
  if (msg == WM_COMMAND) {
    result = EvCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
  } else if (!Dispatch(TEventKey{TEntryKind::Message, msg, 0, 0}, args, &result)) {
    result = DefaultProcessing();
  }
  if (msg == WM_DESTROY && IsFlagSet(wfMainWindow)) PostQuitMessage(0);
  currentEvent_ = outer;
  return result;
}

LRESULT TWindow::EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) {
  if (hWndCtl) return DispatchChildNotify(id, hWndCtl, notifyCode);
  TEventArgs args = currentEvent_ ? *currentEvent_ : TEventArgs{WM_COMMAND, id, 0};
  if (Dispatch(TEventKey{TEntryKind::Command, 0, id, 0}, args)) return 0;
  return DefaultProcessing();
}

LRESULT TWindow::DispatchChildNotify(UINT id, HWND hWndCtl, UINT notifyCode) {
  TEventArgs args = currentEvent_ ? *currentEvent_
                                  : TEventArgs{WM_COMMAND, MAKEWPARAM(id, notifyCode),
                                               reinterpret_cast<LPARAM>(hWndCtl)};
  TWindow* child = FromHandle(hWndCtl);
  if (child && child != this &&
      child->Dispatch(TEventKey{TEntryKind::NotifyAtChild, 0, 0, notifyCode}, args))
    return 0;
  if (Dispatch(TEventKey{TEntryKind::ChildNotify, 0, id, notifyCode}, args)) return 0;
  if (Dispatch(TEventKey{TEntryKind::ChildNotifyAll, 0, id, 0}, args)) return 0;
  // A push button's click is a command by the button's id (OK, Cancel, ...).
  if (notifyCode == 0 && Dispatch(TEventKey{TEntryKind::Command, 0, id, 0}, args)) return 0;
  return DefaultProcessing();
}

void TWindow::EvCommandEnable(TCommandEnabler& enabler) {
  TEventArgs args{WM_COMMAND, enabler.GetId(), reinterpret_cast<LPARAM>(&enabler)};
  Dispatch(TEventKey{TEntryKind::CommandEnable, 0, enabler.GetId(), 0}, args);
}

HWND TWindow::GetCommandTarget() { return HWindow; }

bool TWindow::PreProcessMsg(MSG& msg) {
  if (!accel_ || !HWindow) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
      msg.message != WM_SYSCHAR)
    return false;
  return TranslateAccelerator(HWindow, accel_, &msg) != 0;
}

/* ---- state ---- */

void TWindow::SetCaption(const char* title) {
  if (title != Title) {
    delete[] Title;
    Title = CopyText(title);
  }
  if (HWindow) ::SetWindowText(HWindow, Title ? Title : "");
}

int TWindow::GetWindowText(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  return HWindow ? ::GetWindowText(HWindow, buffer, size) : 0;
}

std::string TWindow::GetWindowText() const {
  int length = GetWindowTextLength();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowText(text.data(), length + 1);
  text.resize(static_cast<size_t>(got));
  return text;
}

void TWindow::SetWindowText(const char* text) {
  if (HWindow) ::SetWindowText(HWindow, text ? text : "");
}

int TWindow::GetWindowTextLength() const { return HWindow ? ::GetWindowTextLength(HWindow) : 0; }

bool TWindow::Show(int cmdShow) { return HWindow && ::ShowWindow(HWindow, cmdShow); }
bool TWindow::IsWindow() const { return HWindow && ::IsWindow(HWindow); }
bool TWindow::IsWindowVisible() const { return HWindow && ::IsWindowVisible(HWindow); }
bool TWindow::IsWindowEnabled() const { return HWindow && ::IsWindowEnabled(HWindow); }
bool TWindow::EnableWindow(bool enable) { return HWindow && ::EnableWindow(HWindow, enable); }
HWND TWindow::SetFocus() { return HWindow ? ::SetFocus(HWindow) : nullptr; }
void TWindow::Invalidate(bool erase) {
  if (HWindow) ::InvalidateRect(HWindow, nullptr, erase);
}
void TWindow::InvalidateRect(const TRect& rect, bool erase) {
  if (HWindow) ::InvalidateRect(HWindow, &rect, erase);
}
void TWindow::UpdateWindow() {
  if (HWindow) ::UpdateWindow(HWindow);
}
bool TWindow::IsZoomed() const { return HWindow && ::IsZoomed(HWindow); }
bool TWindow::IsIconic() const { return HWindow && ::IsIconic(HWindow); }

TRect TWindow::GetClientRect() const {
  TRect r;
  if (HWindow) ::GetClientRect(HWindow, &r);
  return r;
}

TRect TWindow::GetWindowRect() const {
  TRect r;
  if (HWindow) ::GetWindowRect(HWindow, &r);
  return r;
}

bool TWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  if (!HWindow) {
    Attr.X = x;
    Attr.Y = y;
    Attr.W = w;
    Attr.H = h;
    return true;
  }
  return ::MoveWindow(HWindow, x, y, w, h, repaint);
}

bool TWindow::SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags) {
  return HWindow && ::SetWindowPos(HWindow, after, x, y, w, h, flags);
}

void TWindow::AssignMenu(TResId menu) {
  Attr.Menu = menu;
  if (HWindow && !menu.IsNull()) {
    HMENU old = ::GetMenu(HWindow);
    HMENU loaded = LoadMenu(*GetModule(), menu);
    if (loaded && ::SetMenu(HWindow, loaded) && old) DestroyMenu(old);
  }
}

void TWindow::SetIcon(TModule* module, TResId icon) {
  ReplaceIcon(icon_, 1,
              LoadIcon(module ? module->GetInstance() : GetModule()->GetInstance(), icon));
}

void TWindow::SetIconSm(TModule* module, TResId icon) {
  ReplaceIcon(iconSm_, 0,
              LoadIcon(module ? module->GetInstance() : GetModule()->GetInstance(), icon));
}

void TWindow::ReplaceIcon(HICON& held, WPARAM size, HICON loaded) {
  HICON old = held;
  held = loaded;
  if (HWindow && held) SendMessage(WM_SETICON, size, reinterpret_cast<LPARAM>(held));
  if (old && old != held) ::DestroyIcon(old);
}

/* ---- transfer ---- */

void TWindow::SetTransferBuffer(void* buffer, UINT size) {
  transferBuffer_ = buffer;
  transferBufferSize_ = size;
}

UINT TWindow::Transfer(void*, TTransferDirection) { return 0; }

void TWindow::TransferData(TTransferDirection direction) {
  if (!transferBuffer_) return;
  // The whole share of the controls is measured first, so a buffer declared too short is
  // refused before a single byte is written past it.
  UINT needed = 0;
  for (TWindow* child : children_)
    if (child->IsFlagSet(wfTransfer)) needed += child->Transfer(nullptr, tdSizeData);
  if (direction == tdSizeData) return;
  if (transferBufferSize_ && needed > transferBufferSize_) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "The transfer buffer holds %u bytes, but the controls of this window need %u. "
                  "No data was transferred.",
                  transferBufferSize_, needed);
    ReportFrameworkError(HWindow, "Transfer Error", text);
    return;
  }
  auto* at = static_cast<char*>(transferBuffer_);
  for (TWindow* child : children_)
    if (child->IsFlagSet(wfTransfer)) at += child->Transfer(at, direction);
}

/* ---- default handlers ---- */

LRESULT TWindow::EvCreate(CREATESTRUCT&) {
  PerformSetupAndTransfer();
  return DefaultProcessing();
}

void TWindow::EvDestroy() { DefaultProcessing(); }

void TWindow::EvClose() {
  if (IsFlagSet(wfAlias) || IsFlagSet(wfPredefinedClass)) DefaultProcessing();
  else CloseWindow();
}

void TWindow::EvPaint() {
  // A window of a system class (control, dialog) paints itself.
  if (IsFlagSet(wfPredefinedClass) || previousProc_) {
    DefaultProcessing();
    return;
  }
  TPaintDC dc(HWindow);
  TRect rect(dc.Ps.rcPaint);
  if (Scroller) Scroller->BeginView(dc, rect);
  Paint(dc, dc.Ps.fErase != 0, rect);
  if (Scroller) Scroller->EndView();
}

void TWindow::Paint(TDC&, bool, TRect&) {}

void TWindow::EvSize(UINT, TSize&) {
  if (Scroller && !IsIconic()) Scroller->SetPageSize();
  DefaultProcessing();
}

void TWindow::EvHScroll(UINT scrollCode, int thumbPos, HWND hWndCtl) {
  if (Scroller && !hWndCtl) Scroller->HScroll(scrollCode, thumbPos);
  else DefaultProcessing();
}

void TWindow::EvVScroll(UINT scrollCode, int thumbPos, HWND hWndCtl) {
  if (Scroller && !hWndCtl) Scroller->VScroll(scrollCode, thumbPos);
  else DefaultProcessing();
}

LRESULT TWindow::EvEraseBkgnd(HDC dc) {
  if (!hasBkgndColor_ || IsFlagSet(wfPredefinedClass) || previousProc_) return DefaultProcessing();
  TBrush brush(bkgndColor_);
  TRect r = GetClientRect();
  ::FillRect(dc, &r, brush);
  return TRUE;
}

void TWindow::EvMove(TPoint&) { DefaultProcessing(); }
void TWindow::EvSetFocus(HWND) { DefaultProcessing(); }
void TWindow::EvKillFocus(HWND) { DefaultProcessing(); }
void TWindow::EvChar(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvKeyDown(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvKeyUp(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvLButtonDown(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonUp(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonDblClk(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonDown(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonUp(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvMouseMove(UINT, TPoint&) { DefaultProcessing(); }
void TWindow::EvTimer(UINT) { DefaultProcessing(); }
void TWindow::EvEnterIdle(UINT, HWND) { DefaultProcessing(); }
void TWindow::EvMDIActivate(HWND, HWND) { DefaultProcessing(); }
void TWindow::EvSysCommand(UINT, TPoint&) { DefaultProcessing(); }
UINT TWindow::EvGetDlgCode(MSG*) { return static_cast<UINT>(DefaultProcessing()); }
void TWindow::EvShowWindow(bool, UINT) { DefaultProcessing(); }
void TWindow::EvActivate(UINT, bool, HWND) { DefaultProcessing(); }
HBRUSH TWindow::EvCtlColor(HDC, HWND, UINT) {
  return reinterpret_cast<HBRUSH>(DefaultProcessing());
}
void TWindow::EvParentNotify(UINT, LPARAM, UINT) { DefaultProcessing(); }

void TWindow::EvDrawItem(UINT, DRAWITEMSTRUCT& drawInfo) {
  TWindow* control = FromHandle(drawInfo.hwndItem);
  if (control && control != this) control->DrawItem(drawInfo);
  else DefaultProcessing();
}

void TWindow::DrawItem(DRAWITEMSTRUCT&) {}
bool TWindow::EvQueryEndSession() {
  if (IsFlagSet(wfPredefinedClass)) return DefaultProcessing() != 0;
  return GetApplication() ? GetApplication()->CanClose() : CanClose();
}

void TWindow::EvInitMenuPopup(HMENU popup, UINT, bool sysMenu) {
  if (sysMenu || !popup || IsFlagSet(wfPredefinedClass)) {
    DefaultProcessing();
    return;
  }
  // Each command item of the menu asks the command chain whether it is enabled.
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    TCommandEnabler enabler(id);
    EvCommandEnable(enabler);
    if (!enabler.WasHandled()) continue;
    EnableMenuItem(popup, id, MF_BYCOMMAND | (enabler.IsEnabled() ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(popup, id, MF_BYCOMMAND | (enabler.GetCheck() ? MF_CHECKED : MF_UNCHECKED));
  }
}

DEFINE_RESPONSE_TABLE1(TWindow, TEventHandler)
EV_WM_CREATE, EV_WM_CLOSE, EV_WM_DESTROY, EV_WM_PAINT, EV_WM_SIZE, EV_WM_HSCROLL, EV_WM_VSCROLL,
    EV_WM_ERASEBKGND, EV_WM_QUERYENDSESSION, EV_WM_INITMENUPOPUP, EV_WM_DRAWITEM,
    END_RESPONSE_TABLE;
