/*
** The creation library's error box. The library is its own deliverable, so it shows engine
** failures itself, the same way the main program does: the message first, then where it
** happened.
*/
#include "catalogue/table_error_box.h"

#include "platform/engine/engine.h"
#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"

#include <string>

namespace {

/* Each non-empty context text followed by "; "; "None" when there is none. */
std::string JoinedContext(const EngineErrorInfo& info) {
  std::string joined;
  for (const char* context : info.context) {
    if (context[0] == '\0') continue;
    joined += context;
    joined += "; ";
  }
  return joined.empty() ? "None" : joined;
}

}  // namespace

void ShowEngineErrorBox() {
  EngineErrorInfo info{};
  // When even this fails, the boxes still appear, with an empty message and "None".
  EngineGetErrorInfo(TRUE, &info);
  info.message[sizeof info.message - 1] = '\0';
  for (char* context : info.context) context[sizeof info.context[0] - 1] = '\0';
  MessageBox(GetFocus(), info.message, "Database Error", MB_OK | MB_ICONSTOP);
  MessageBox(GetFocus(), JoinedContext(info).c_str(), "Error Context", MB_OK | MB_ICONSTOP);
}
