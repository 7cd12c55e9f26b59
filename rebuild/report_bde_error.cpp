/*
** The engine error boxes of the repair utility.
*/
#include "rebuild/report_bde_error.h"

#include "platform/engine/engine.h"
#include "platform/user/winuser.h"

#include <cstdio>
#include <cstring>

void ShowFixBox(const std::string& text, const char* caption, UINT type) {
  MessageBox(GetFocus(), text.c_str(), caption, type);
}

void ReportBdeErrorDetail(DWORD code) {
  const WORD result = WORD(code & 0xFFFF);
  if (result == 0) return;
  char number[32];
  std::snprintf(number, sizeof number, "Error No.: %u", unsigned(result));
  ShowFixBox(number, "Database Error", MB_OK | MB_ICONSTOP);

  char text[256] = {};
  EngineGetErrorText(result, text);
  ShowFixBox(text, "Database Error", MB_OK | MB_ICONSTOP);

  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  std::string context;
  for (const auto& item : info.context) {
    // Each text is cut to its slot; a full slot has no terminator of its own.
    std::string one(item, strnlen(item, sizeof item));
    if (!one.empty()) context += one + "; ";
  }
  ShowFixBox(context.empty() ? "None" : context, "Error Context", MB_OK | MB_ICONSTOP);
}
