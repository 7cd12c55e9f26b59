/*
** Finding the statement window in front.
*/
#include "statement/active_window.h"

#include "platform/framework/mdi.h"
#include "statement/respa_window.h"

RespaWindow* GetActiveRespaWindow(TMDIClient* client) {
  if (!client) return nullptr;
  TMDIChild* child = client->GetActiveMDIChild();
  if (!child) return nullptr;
  RespaWindow* view = dynamic_cast<RespaWindow*>(child->GetClientWindow());
  return view && !view->IsClosing() ? view : nullptr;
}
