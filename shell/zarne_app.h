/*
** ZarneApp: the main program's application object. It runs the start-up sequence (engine,
** directories, tables, field lists, scripts, bank lists) behind a splash window, builds the
** MDI frame, answers the help and About commands, and at shutdown closes what start-up
** opened, once, and only after every window agreed to close.
*/
#ifndef ZARNE_SHELL_ZARNE_APP_H
#define ZARNE_SHELL_ZARNE_APP_H

#include "platform/framework/application.h"

class TZarneSplash;

class ZarneApp : public TApplication {
 public:
  ZarneApp();
  ~ZarneApp() override;

  bool CanClose() override;
  void InitInstance() override;
  void InitMainWindow() override;

  void CmHelpUsing();
  void CmHelpWpTemplates();
  void CmHelpZBasic();
  void CmHelpDataFields();
  void CmHelpTitleStandards();
  void CmHelpHudInstructions();
  void CmHelpAbout();

  /* Set by the help commands when the help engine accepted a call. */
  bool helpUsed = false;
  /* The splash window while start-up runs. */
  TZarneSplash* splash = nullptr;

  /* Whether start-up ran to its end (the frame is shown and the tables are open). */
  bool StartedUp() const { return startedUp_; }

 private:
  /* Start-up steps after the main window exists; false when a step was fatal. */
  bool RunStartUp();
  void ShowStatus(const char* text);
  void ShowStatus(UINT stringId, const char* argument);
  void ShowStatus(UINT stringId, int argument);
  bool OpenSharedTables();
  void EnsureBankRecords(bool bankIsNew);
  void ReadDefaultAccount();
  void RemoveSplash();
  /* Ends start-up before the frame is shown: the loop ends at once with 0. */
  void FatalExit();
  /* Unlocks and frees the records of every open file. */
  void ReleaseOpenFiles();
  /* Closes the tables, the engine and the grid library. */
  void TearDown();
  void OpenHelp(const char* fileName);

  bool startedUp_ = false;
  bool tornDown_ = false;

  DECLARE_RESPONSE_TABLE(ZarneApp);
};

#endif
