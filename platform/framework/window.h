/*
** TWindow: a window object behind an HWND, the base of every window, frame, dialog and
** control of the framework. It holds the attributes the window is created with, its title,
** parent and children (in creation order), routes the window's messages through its response
** table, paints through Paint, closes through CanClose, and moves control values through
** transfer buffers.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_WINDOW_H
#define ZARNE_PLATFORM_FRAMEWORK_WINDOW_H

#include "platform/framework/dc.h"
#include "platform/framework/module.h"
#include "platform/framework/response_table.h"
#include "platform/user/window_types.h"

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

class TApplication;
class TScroller;

/* A resource named by number or by text. */
class TResId {
 public:
  TResId() : id_(nullptr) {}
  TResId(int number) : id_(MAKEINTRESOURCE(number)) {}
  TResId(const char* name) : id_(name) {}
  operator LPCSTR() const { return id_; }
  bool IsNull() const { return id_ == nullptr; }
  bool IsNumber() const { return id_ && IS_INTRESOURCE(id_); }
  int Number() const { return IsNumber() ? static_cast<int>(reinterpret_cast<ULONG_PTR>(id_)) : 0; }

 private:
  LPCSTR id_;
};

struct TWindowAttr {
  DWORD Style;
  DWORD ExStyle;
  int X;
  int Y;
  int W;
  int H;
  TResId Menu;
  int Id;
  LPVOID Param;
  TResId AccelTable;
};

enum TTransferDirection { tdGetData = 0, tdSetData = 1, tdSizeData = 2 };

/* Window flags */
enum {
  wfAlias = 0x0001,         // the object wraps a window it did not create
  wfAutoCreate = 0x0002,    // created with its parent's window
  wfFromResource = 0x0004,  // a control of a dialog template, found by id
  wfMainWindow = 0x0008,
  wfModalWindow = 0x0010,
  wfDeleteOnClose = 0x0020,   // deleted by the framework once its window is gone
  wfTransfer = 0x0040,        // takes part in its parent's data transfer
  wfPredefinedClass = 0x0080  // a system class (edit, button ...), subclassed after creation
};

class TWindow : public TEventHandler {
 public:
  TWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  ~TWindow() override;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  TWindowAttr Attr;
  HWND HWindow = nullptr;
  char* Title = nullptr;
  TWindow* Parent = nullptr;
  TScroller* Scroller = nullptr;

  operator HWND() const { return HWindow; }
  HWND GetHandle() const { return HWindow; }

  /* Life cycle */
  virtual bool Create();
  virtual void SetupWindow();
  virtual void CleanupWindow();
  virtual bool CanClose();
  virtual void CloseWindow(int retVal = 0);
  virtual void Destroy(int retVal = 0);
  virtual bool Register();
  virtual const char* GetClassName();
  virtual void GetWindowClass(WNDCLASS& wndClass);
  virtual void Paint(TDC& dc, bool erase, TRect& rect);

  /* Data transfer: the window's children in creation order move their values to and from
     the transfer buffer; Transfer is one control's share (0 when it takes no part). */
  virtual void TransferData(TTransferDirection direction);
  virtual UINT Transfer(void* buffer, TTransferDirection direction);
  /* A buffer of unknown size (0) is not checked; a typed record declares its own size. */
  void SetTransferBuffer(void* buffer, UINT size = 0);
  template <class T, std::enable_if_t<std::is_class_v<T>, int> = 0>
  void SetTransferBuffer(T* record) {
    SetTransferBuffer(static_cast<void*>(record), sizeof(T));
  }
  UINT GetTransferBufferSize() const { return transferBufferSize_; }
  void* GetTransferBuffer() const { return transferBuffer_; }
  void EnableTransfer() { SetFlag(wfTransfer); }
  void DisableTransfer() { ClearFlag(wfTransfer); }

  /* Flags */
  void SetFlag(UINT flag) { flags_ |= flag; }
  void ClearFlag(UINT flag) { flags_ &= ~flag; }
  bool IsFlagSet(UINT flag) const { return (flags_ & flag) != 0; }
  void EnableAutoCreate() { SetFlag(wfAutoCreate); }
  void DisableAutoCreate() { ClearFlag(wfAutoCreate); }

  /* Tree */
  TWindow* GetParentO() const { return Parent; }
  HWND GetParent() const;
  void SetParent(TWindow* newParent);
  const std::vector<TWindow*>& Children() const { return children_; }
  TWindow* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TWindow* ChildWithId(int id) const;
  int NumChildren() const { return static_cast<int>(children_.size()); }
  int GetId() const { return Attr.Id; }
  TApplication* GetApplication() const;
  /* A box owned by this window. A null caption shows the application's name; an empty one
     shows no caption. type is MB_OK (0) unless given. */
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = 0);
  /* The free MessageBox with its own caption rule, so calls written for it inside window
     classes keep meaning what they meant. */
  int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
  TModule* GetModule() const { return module_; }
  void SetModule(TModule* module) { module_ = module; }

  /* Messages */
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT HandleMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  HWND GetDlgItem(int id) const;
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  /* The default handling of the message being dispatched now. */
  LRESULT DefaultProcessing();
  /* Routes a message through this window's response table, or to the default handling. */
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  /* Commands: what the window does with WM_COMMAND; frames route menu commands through the
     focus chain. */
  virtual LRESULT EvCommand(UINT id, HWND hWndCtl, UINT notifyCode);
  virtual void EvCommandEnable(TCommandEnabler& enabler);
  /* A look at a message before it is dispatched: true when the window used it up (a key of
     its accelerator table, a dialog's navigation key). */
  virtual bool PreProcessMsg(MSG& msg);
  /* The window to start command routing at (the frame's client or the focus). */
  virtual HWND GetCommandTarget();

  /* State */
  void SetCaption(const char* title);
  int GetWindowText(char* buffer, int size) const;
  std::string GetWindowText() const;
  void SetWindowText(const char* text);
  int GetWindowTextLength() const;
  bool Show(int cmdShow);
  bool ShowWindow(int cmdShow) { return Show(cmdShow); }
  bool IsWindow() const;
  bool IsWindowVisible() const;
  bool IsWindowEnabled() const;
  bool EnableWindow(bool enable);
  HWND SetFocus();
  void Invalidate(bool erase = true);
  void InvalidateRect(const TRect& rect, bool erase = true);
  void UpdateWindow();
  TRect GetClientRect() const;
  TRect GetWindowRect() const;
  bool MoveWindow(int x, int y, int w, int h, bool repaint = false);
  bool MoveWindow(const TRect& r, bool repaint = false) {
    return MoveWindow(r.left, r.top, r.Width(), r.Height(), repaint);
  }
  bool SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags);
  bool IsZoomed() const;
  bool IsIconic() const;
  void SetBkgndColor(const TColor& color) {
    bkgndColor_ = color;
    hasBkgndColor_ = true;
  }
  void AssignMenu(TResId menu);
  void SetAcceleratorTable(TResId accel) { Attr.AccelTable = accel; }
  HACCEL GetAccelerators() const { return accel_; }
  void SetIcon(TModule* module, TResId icon);
  void SetIconSm(TModule* module, TResId icon);

  /* Message handlers with the default handling, for derived handlers to call. */
  virtual LRESULT EvCreate(CREATESTRUCT& cs);
  virtual void EvDestroy();
  virtual void EvClose();
  virtual void EvPaint();
  virtual void EvSize(UINT sizeType, TSize& size);
  virtual void EvMove(TPoint& origin);
  virtual void EvSetFocus(HWND lostFocus);
  virtual void EvKillFocus(HWND getFocus);
  virtual void EvChar(UINT key, UINT repeatCount, UINT flags);
  virtual void EvKeyDown(UINT key, UINT repeatCount, UINT flags);
  virtual void EvKeyUp(UINT key, UINT repeatCount, UINT flags);
  virtual void EvLButtonDown(UINT modKeys, TPoint& point);
  virtual void EvLButtonUp(UINT modKeys, TPoint& point);
  virtual void EvLButtonDblClk(UINT modKeys, TPoint& point);
  virtual void EvRButtonDown(UINT modKeys, TPoint& point);
  virtual void EvRButtonUp(UINT modKeys, TPoint& point);
  virtual void EvMouseMove(UINT modKeys, TPoint& point);
  virtual void EvHScroll(UINT scrollCode, int thumbPos, HWND hWndCtl);
  virtual void EvVScroll(UINT scrollCode, int thumbPos, HWND hWndCtl);
  virtual void EvTimer(UINT timerId);
  virtual void EvEnterIdle(UINT source, HWND hWndDlg);
  virtual void EvMDIActivate(HWND hWndActivated, HWND hWndDeactivated);
  virtual void EvSysCommand(UINT cmdType, TPoint& point);
  virtual UINT EvGetDlgCode(MSG* msg);
  virtual LRESULT EvEraseBkgnd(HDC dc);
  virtual void EvShowWindow(bool show, UINT status);
  virtual void EvActivate(UINT active, bool minimized, HWND other);
  virtual HBRUSH EvCtlColor(HDC dc, HWND hWndChild, UINT ctlType);
  /* Owner drawing: the base hands it to the control object that is to be drawn. */
  virtual void EvDrawItem(UINT ctrlId, DRAWITEMSTRUCT& drawInfo);
  virtual void EvInitMenuPopup(HMENU popup, UINT index, bool sysMenu);
  /* An owner-drawn control's drawing, called through its parent's WM_DRAWITEM. */
  virtual void DrawItem(DRAWITEMSTRUCT& drawInfo);
  virtual bool EvQueryEndSession();
  /* A child window was created or destroyed (lParam its handle), or clicked (lParam the point). */
  virtual void EvParentNotify(UINT event, LPARAM childHandleOrPoint, UINT childId);

  /* Binding of HWNDs to objects. */
  static TWindow* FromHandle(HWND hwnd);
  /* Binds this object to a window made elsewhere (a template control, a dialog) and routes
     its messages here; false when the window does not exist. */
  bool AttachHandle(HWND hwnd);
  void DetachHandle();

 protected:
  /* SetupWindow, then the transfer into the controls when a buffer is set. */
  virtual void PerformSetupAndTransfer();
  /* Runs a call that creates this object's window (CreateWindowEx, WM_MDICREATE ...) so that
     the new window's first message binds it to this object. */
  HWND CreateBound(const std::function<HWND()>& make);
  /* Sends the icons given with SetIcon and SetIconSm to the window. */
  void ApplyIcons();
  /* Holds a newly loaded icon in place of the one before, which is freed. */
  void ReplaceIcon(HICON& held, WPARAM size, HICON loaded);
  /* Creates the children marked for automatic creation, and binds template controls. */
  bool CreateChildren();
  /* The procedure a window of a system class had before it was routed here. */
  WNDPROC PreviousProc() const { return previousProc_; }
  /* The default handling of a message: the system class's own procedure for a routed system
     window, DefWindowProc otherwise; MDI frames and children have their own. */
  virtual LRESULT DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend class TWindowBinding;
  void AddChild(TWindow* child);
  void RemoveChild(TWindow* child);
  LRESULT DispatchChildNotify(UINT id, HWND hWndCtl, UINT notifyCode);

  std::vector<TWindow*> children_;
  TModule* module_;
  UINT flags_ = 0;
  void* transferBuffer_ = nullptr;
  UINT transferBufferSize_ = 0;
  WNDPROC previousProc_ = nullptr;
  TEventArgs* currentEvent_ = nullptr;
  TColor bkgndColor_;
  bool hasBkgndColor_ = false;
  HACCEL accel_ = nullptr;
  HICON icon_ = nullptr;
  HICON iconSm_ = nullptr;

  DECLARE_RESPONSE_TABLE(TWindow);
};

/* A checked downcast between framework classes: null when the object is of another class. */
#define TYPESAFE_DOWNCAST(object, toClass) dynamic_cast<toClass*>(object)

/* The procedure of every window class the framework registers. */
LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* Report of a framework failure (bad resource, short transfer buffer, printer error): a box
   captioned caption, owner the focus window, stop icon. */
void ReportFrameworkError(HWND owner, const char* caption, const char* text);

#endif
