/*
** The repair utility's program entry.
*/
#include "platform/kernel/files.h"
#include "rebuild/zarne_fix_app.h"

int OwlMain(int, char*[]) {
  SetHandleCount(80);
  ZarneFixApp* app = new ZarneFixApp;
  int result = app->Run();
  delete app;
  return result;
}
