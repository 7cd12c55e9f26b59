/*
** The engine session (start, private and working directories, end) and the error boxes.
*/
#include "tableaccess/engine_session.h"

#include "tableaccess/bounded_text.h"
#include "platform/user/message_box.h"
#include "tableaccess/system_boxes.h"

#include <cstring>

WORD gLastDbResult = 0;
EngineDatabase gDatabase = nullptr;

namespace {

constexpr const char* kErrorCaption = "Database Error";
constexpr const char* kContextCaption = "Error Context";
constexpr UINT kErrorBoxStyle = MB_ICONSTOP | MB_OK;
/* The engine's messages and the shown context text fit in this many bytes. */
constexpr size_t kMessageSize = 128;

void ShowErrorBox(LPCSTR text, LPCSTR caption) {
  MessageBox(FocusOwner(), text, caption, kErrorBoxStyle);
}

}  // namespace

EngineResult PXStore(EngineResult result) {
  gLastDbResult = result;
  return result;
}

bool PXCheck(EngineResult result) {
  if (PXStore(result) == ENGINE_OK) return true;
  ReportBdeError();
  return false;
}

void PXInit() {
  if (!PXCheck(EngineInit(ENGINE_VERSION, nullptr))) return;
  PXCheck(EngineSetPrivateDir("C:\\"));
}

void PXSetPrivateDir(LPCSTR directory) { PXCheck(EngineSetPrivateDir(directory)); }

void PXOpenDatabase() {
  PXCheck(EngineOpenDatabase(nullptr, nullptr, 0, ENGINE_SHARE_SHARED, nullptr, 0, nullptr, nullptr,
                             &gDatabase));
}

void PXSetDirectory(LPCSTR directory) { PXCheck(EngineSetDirectory(gDatabase, directory)); }

void PXExit() { PXCheck(EngineExit()); }

void FormatErrorContext(const EngineErrorInfo& info, LPSTR text, size_t size) {
  /* Four long context texts do not fit; what does not fit is cut, keeping the first ones. */
  BoundedText joined(text, size);
  for (const auto& entry : info.context) {
    size_t length = strnlen(entry, sizeof entry);
    if (length == 0) continue;
    joined.Append(entry, length);
    joined.Append("; ");
  }
  if (joined.Length() == 0) joined.Append("None");
}

void ReportBdeError() {
  EngineErrorInfo info{};
  EngineGetErrorInfo(TRUE, &info);
  info.message[sizeof info.message - 1] = '\0';
  ShowErrorBox(info.message, kErrorCaption);

  char context[kMessageSize];
  FormatErrorContext(info, context, sizeof context);
  ShowErrorBox(context, kContextCaption);
}

void ReportBdeErrorCode(WORD code) {
  char message[kMessageSize] = {};
  EngineGetErrorText(code, message);
  message[sizeof message - 1] = '\0';
  ShowErrorBox(message, kErrorCaption);
}

void ReportDbMessage(LPCSTR text) { ShowErrorBox(text, kErrorCaption); }
