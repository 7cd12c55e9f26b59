/*
** Loading and showing the reconciliation's boxes.
*/
#include "accounting/reconcile_strings.h"

#include "platform/user/message_box.h"
#include "platform/user/winuser.h"

#include <cstdio>

std::string ReconcileText(UINT id) {
  char text[512] = "";
  LoadString(nullptr, id, text, sizeof text);
  return text;
}

std::string ReconcileText(UINT id, const char* argument) {
  char text[768];
  std::snprintf(text, sizeof text, ReconcileText(id).c_str(), argument);
  return text;
}

std::string ReconcileText(UINT id, int argument) {
  char text[768];
  std::snprintf(text, sizeof text, ReconcileText(id).c_str(), argument);
  return text;
}

int ShowReconcileBox(HWND owner, const std::string& text, UINT type) {
  return MessageBox(owner, text.c_str(), ReconcileText(1023).c_str(), type);
}
