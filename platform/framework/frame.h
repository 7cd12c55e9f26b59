/*
** Frames: TFrameWindow, a top-level window with a client window that fills it, a menu and
** accelerators, and the routing of menu commands: a command goes first to the focus window
** (when it lies in the client) or to the client, then up through their parents to the
** frame, then to the application. TDecoratedFrame adds decorations (the control bar) along
** its top, the client below them.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_FRAME_H
#define ZARNE_PLATFORM_FRAMEWORK_FRAME_H

#include "platform/framework/window.h"

#include <vector>

/* Framework command ids of the original library, as the menus and the control bar carry them. */
#define CM_EXIT              24310
#define CM_EDITCUT           24322
#define CM_EDITCOPY          24323
#define CM_EDITPASTE         24324
#define CM_EDITDELETE        24325
#define CM_EDITCLEAR         24326
#define CM_EDITUNDO          24321
#define CM_CASCADECHILDREN   24361
#define CM_TILECHILDREN      24362
#define CM_TILECHILDRENHORIZ 24363
#define CM_ARRANGEICONS      24364
#define CM_CLOSECHILDREN     24365
#define CM_CREATECHILD       24366

/* A menu to assign to a frame, named by its resource. */
class TMenuDescr {
 public:
  explicit TMenuDescr(TResId menu, TModule* module = nullptr) : menu_(menu), module_(module) {}
  TResId GetId() const { return menu_; }
  TModule* GetModule() const { return module_; }

 private:
  TResId menu_;
  TModule* module_;
};

class TFrameWindow : public TWindow {
 public:
  TFrameWindow(TWindow* parent, const char* title = nullptr, TWindow* clientWnd = nullptr,
               bool shrinkToClient = false, TModule* module = nullptr);

  TWindow* GetClientWindow() const { return ClientWnd; }
  /* Replaces the client (the old one is returned, not deleted). */
  virtual TWindow* SetClientWindow(TWindow* clientWnd);
  void SetMenuDescr(const TMenuDescr& descr) { AssignMenu(descr.GetId()); }

  void SetupWindow() override;
  bool PreProcessMsg(MSG& msg) override;
  HWND GetCommandTarget() override;
  LRESULT EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) override;
  void EvCommandEnable(TCommandEnabler& enabler) override;
  void EvSize(UINT sizeType, TSize& size) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvEnterIdle(UINT source, HWND hWndDlg) override;
  /* A frame whose client window is destroyed closes itself. */
  void EvParentNotify(UINT event, LPARAM childHandleOrPoint, UINT childId) override;

  /* What the frame does between messages and while menus and dialogs wait: command
     enabling of its decorations. */
  virtual void IdleAction();
  void CmExit();

 protected:
  /* Places the client (and decorations) in the client area. */
  virtual void Layout();
  TWindow* ClientWnd = nullptr;

 private:
  /* The windows a command passes through, from the target up to (not including) the frame. */
  std::vector<TWindow*> CommandChain();

  DECLARE_RESPONSE_TABLE(TFrameWindow);
};

/* A frame with decorations (the control bar) along its top; the client below them. */
class TDecoratedFrame : public TFrameWindow {
 public:
  enum TLocation { Top, Bottom };
  TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd,
                  bool trackMenuSelection = false, TModule* module = nullptr);
  /* Adds a decoration (its window becomes a child of the frame). */
  virtual void Insert(TWindow& decoration, TLocation location = Top);
  void IdleAction() override;

 protected:
  void Layout() override;

 private:
  struct Decoration {
    TWindow* window;
    TLocation location;
  };
  std::vector<Decoration> decorations_;
};

#endif
