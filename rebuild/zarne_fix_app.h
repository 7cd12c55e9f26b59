/*
** ZarneFixApp: the repair utility's application object. It starts the database engine and
** opens the one database after its frame is shown, ends both when the program may close,
** and answers the menu's Rebuild, About and Exit commands.
*/
#ifndef ZARNE_REBUILD_ZARNE_FIX_APP_H
#define ZARNE_REBUILD_ZARNE_FIX_APP_H

#include "platform/engine/engine.h"
#include "platform/framework/application.h"

class ZarneFixApp : public TApplication {
 public:
  ZarneFixApp();
  ~ZarneFixApp() override;

  void InitMainWindow() override;
  void InitInstance() override;
  bool CanClose() override;

  void CmRebuild();
  void CmHelpAbout();

  EngineDatabase Database() const { return database_; }
  bool EngineStarted() const { return engineStarted_; }

 private:
  EngineDatabase database_ = nullptr;
  bool engineStarted_ = false;

  DECLARE_RESPONSE_TABLE(ZarneFixApp);
};

#endif
