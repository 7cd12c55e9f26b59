/*
** Finding and counting the open closing files among the MDI client's children.
*/
#include "filenumber/file_windows.h"

#include "platform/framework/mdi.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <cstring>

namespace {
constexpr int kTitleSize = 81;  // titles are read up to 80 characters

/* Calls visit for every child with an open view, in opening order, until it answers true. */
template <class Visit>
TMDIChild* WalkOpenFiles(TMDIClient* client, Visit visit) {
  // With no active child there is no open file (the ring of children starts there).
  if (!client || !client->HWindow || !client->GetActiveMDIChild()) return nullptr;
  for (TWindow* window : client->Children()) {
    auto* child = dynamic_cast<TMDIChild*>(window);
    if (child && HoldsOpenView(child) && visit(child)) return child;
  }
  return nullptr;
}
}  // namespace

/* A view that let go of its file hides itself until its child's close arrives. */
bool HoldsOpenView(TMDIChild* child) {
  if (!child || !child->HWindow) return false;
  TWindow* view = child->GetClientWindow();
  return view && view->HWindow && (::GetWindowLong(view->HWindow, GWL_STYLE) & WS_VISIBLE) != 0;
}

TMDIChild* FindFileWindow(TMDIClient* client, const char* fileNumber) {
  return WalkOpenFiles(client, [fileNumber](TMDIChild* child) {
    char title[kTitleSize];
    child->GetWindowText(title, sizeof title);
    return std::strcmp(title, fileNumber) == 0;
  });
}

int CountFileWindows(TMDIClient* client) {
  int count = 0;
  WalkOpenFiles(client, [&count](TMDIChild*) {
    ++count;
    return false;
  });
  return count;
}

TMDIChild* EarliestFileWindow(TMDIClient* client) {
  return WalkOpenFiles(client, [](TMDIChild*) { return true; });
}
