/*
** TApplication: the program's application object: its module, its main window, start-up
** (InitInstance, InitMainWindow), the message loop (Run), shutdown (CanClose), and its own
** response table for commands no window takes. The program's entry is OwlMain, which the
** deliverable defines and main calls.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_APPLICATION_H
#define ZARNE_PLATFORM_FRAMEWORK_APPLICATION_H

#include "platform/framework/module.h"
#include "platform/framework/response_table.h"
#include "platform/framework/window.h"
#include "platform/user/window_styles.h"

class TFrameWindow;

/* The program's entry, defined by each program. */
int OwlMain(int argc, char* argv[]);

class TApplication : public TModule, public TEventHandler {
 public:
  explicit TApplication(const char* name = nullptr);
  ~TApplication() override;

  /* The one application object of the program (null before it is made and after it ends). */
  static TApplication* Current();

  /* Start-up: InitApplication (once), then InitInstance; then the message loop. Answers the
     loop's exit code. From here on SIGTERM, SIGHUP and the desktop session's end post
     WM_CLOSE to the main window (the road of File|Exit); the same signal again ends at once. */
  virtual int Run();
  virtual void InitApplication() {}
  /* Makes the main window (InitMainWindow), creates it and shows it with nCmdShow. */
  virtual void InitInstance();
  /* Makes the main window; the base makes a plain frame titled with the application name. */
  virtual void InitMainWindow();
  virtual bool CanClose();
  virtual int MessageLoop();
  /* Handles a message before it is dispatched (accelerators, modeless dialogs); true when
     it was used up. */
  virtual bool ProcessAppMsg(MSG& msg);

  TFrameWindow* GetMainWindow() const { return MainWindow; }
  /* Makes the frame the main window (closing it ends the program); answers the previous one. */
  TFrameWindow* SetMainWindow(TFrameWindow* window);

  /* The three-dimensional look and the custom-control classes: accepted, nothing changes. */
  void EnableCtl3d(bool enable = true);
  void EnableBWCC(bool enable = true);
  bool Ctl3dEnabled() const { return ctl3d_; }
  bool BWCCEnabled() const { return bwcc_; }

  /* The exit command: closes the main window (asking CanClose first). */
  void CmExit();

  /* How the main window is first shown (SW_SHOWNORMAL unless set otherwise). */
  int nCmdShow = SW_SHOWNORMAL;

  /* Windows whose object is to be deleted once their window is gone (MDI children closed by
     the user); deleted between messages and when the application ends. */
  static void Condemn(TWindow* window);
  static void Forget(TWindow* window);
  static void DeleteCondemned();

 protected:
  TFrameWindow* MainWindow = nullptr;

 private:
  bool ctl3d_ = false;
  bool bwcc_ = false;
};

#endif
