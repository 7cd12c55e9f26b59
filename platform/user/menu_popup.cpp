/*
** Pop-up menus tracked at a point (context menus). The choice comes from a chooser: a Qt
** menu run modally by default, or the test harness's own.
*/
#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"
#include "platform/user/menu_widgets.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

namespace {

UINT ChooseWithQtMenu(HMENU menu, int x, int y, HWND owner) {
  UINT chosen = 0;
  QMenu qtMenu;
  FillQtMenu(&qtMenu, menu, owner, [&chosen](UINT id) { chosen = id; });
  qtMenu.exec(QPoint(x, y));
  return chosen;
}

PopupMenuChooser& Chooser() {
  static PopupMenuChooser chooser = ChooseWithQtMenu;
  return chooser;
}

}  // namespace

PopupMenuChooser SetPopupMenuChooser(PopupMenuChooser chooser) {
  PopupMenuChooser previous = Chooser();
  Chooser() = chooser ? std::move(chooser) : PopupMenuChooser(ChooseWithQtMenu);
  return previous;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!FindMenuObject(menu) || !IsWindow(owner)) return FALSE;
  if (!(flags & TPM_NONOTIFY)) {
    SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    if (!IsMenu(menu) || !IsWindow(owner)) return FALSE;
  }
  UINT chosen = Chooser()(menu, x, y, owner);
  if (chosen) {
    // Only an enabled command of this menu counts.
    UINT state = GetMenuState(menu, chosen, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED | MF_POPUP)))
      chosen = 0;
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && !(flags & TPM_NONOTIFY) && IsWindow(owner))
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}
