/*
** The multiple-document interface: TMDIFrame (and TDecoratedMDIFrame, with a control bar)
** holding a TMDIClient, whose TMDIChild windows each hold a client window of their own. The
** client takes the window commands (cascade, tile, arrange, close all) and hands the
** clipboard commands to the focused edit control; a menu command reaches the active child's
** client window first.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_MDI_H
#define ZARNE_PLATFORM_FRAMEWORK_MDI_H

#include "platform/framework/frame.h"
#include "platform/user/mdi_client.h"

class TMDIChild;

class TMDIClient : public TWindow {
 public:
  explicit TMDIClient(TModule* module = nullptr);
  const char* GetClassName() override { return "MDICLIENT"; }
  bool Create() override;

  /* The active child, or null. */
  virtual TMDIChild* GetActiveMDIChild();
  /* Closes every child when all agree (CanClose); false when one refused. */
  virtual bool CloseChildren();
  virtual void CascadeChildren();
  virtual void TileChildren(int tile = MDITILE_VERTICAL);
  virtual void ArrangeIcons();
  /* Makes a child for CM_CREATECHILD; the base makes none. */
  virtual TMDIChild* InitChild() { return nullptr; }

  void CmCascadeChildren() { CascadeChildren(); }
  void CmTileChildren() { TileChildren(MDITILE_VERTICAL); }
  void CmTileChildrenHoriz() { TileChildren(MDITILE_HORIZONTAL); }
  void CmArrangeIcons() { ArrangeIcons(); }
  void CmCloseChildren() { CloseChildren(); }
  void CmCreateChild();
  void CmEditCut() { SendToFocusedEdit(WM_CUT); }
  void CmEditCopy() { SendToFocusedEdit(WM_COPY); }
  void CmEditPaste() { SendToFocusedEdit(WM_PASTE); }
  void CeChildrenPresent(TCommandEnabler& ce) { ce.Enable(GetActiveMDIChild() != nullptr); }

  /* The frame's window menu, listing the children; set before the client is created. */
  HMENU WindowMenu = nullptr;

 private:
  void SendToFocusedEdit(UINT message);

  DECLARE_RESPONSE_TABLE(TMDIClient);
};

class TMDIFrame : public TDecoratedFrame {
 public:
  TMDIFrame(const char* title, TResId menuResId, TMDIClient& clientWnd = *new TMDIClient,
            TModule* module = nullptr);
  TMDIClient* GetClientWindow() const { return static_cast<TMDIClient*>(ClientWnd); }
  HWND GetCommandTarget() override;
  bool PreProcessMsg(MSG& msg) override;

 protected:
  LRESULT DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

/* An MDI frame with decorations: the control bar along its top, the MDI client below. */
class TDecoratedMDIFrame : public TMDIFrame {
 public:
  TDecoratedMDIFrame(const char* title, TResId menuResId, TMDIClient& clientWnd = *new TMDIClient,
                     bool trackMenuSelection = false, TModule* module = nullptr);
};

class TMDIChild : public TFrameWindow {
 public:
  TMDIChild(TMDIClient& parent, const char* title = nullptr, TWindow* clientWnd = nullptr,
            bool shrinkToClient = false, TModule* module = nullptr);
  const char* GetClassName() override { return "ZarneMDIChild"; }
  bool Create() override;
  void Destroy(int retVal = 0) override;
  HWND GetCommandTarget() override;
  void EvMDIActivate(HWND hWndActivated, HWND hWndDeactivated) override;

 protected:
  LRESULT DefWindowProcFor(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  DECLARE_RESPONSE_TABLE(TMDIChild);
};

#endif
