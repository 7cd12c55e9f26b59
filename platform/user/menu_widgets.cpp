/*
** Qt menus made from the menu model.
*/
#include "platform/user/menu_widgets.h"

#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"
#include "platform/user/message_queue.h"
#include "platform/user/text_1252.h"

#include <QAction>
#include <QMenu>

namespace {

void AddCommand(QMenu* qtMenu, const MenuItem& item, const MenuCommandSink& sink) {
  QAction* action = qtMenu->addAction(DecodeWindows1252(item.text));
  action->setEnabled((item.flags & (MF_GRAYED | MF_DISABLED)) == 0);
  if (item.flags & MF_CHECKED) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  UINT id = item.id;
  QObject::connect(action, &QAction::triggered, qtMenu, [sink, id]() { sink(id); });
}

}  // namespace

QMenu* MakeSelfFillingMenu(QWidget* parent, HMENU popup, int position, HWND owner,
                           const MenuCommandSink& sink, std::function<void()> beforeOpen) {
  auto* qtMenu = new QMenu(parent);
  QObject::connect(qtMenu, &QMenu::aboutToShow, qtMenu,
                   [qtMenu, popup, position, owner, sink, beforeOpen]() {
                     if (beforeOpen) beforeOpen();
                     SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                                 MAKELPARAM(position, FALSE));
                     FillQtMenu(qtMenu, popup, owner, sink);
                   });
  return qtMenu;
}

void FillQtMenu(QMenu* qtMenu, HMENU menu, HWND owner, const MenuCommandSink& sink) {
  qtMenu->clear();
  for (QMenu* old : qtMenu->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
    old->deleteLater();  // the submenus of the previous filling
  MenuObject* object = FindMenuObject(menu);
  if (!object) return;
  // A copy: a handler reached from here may change the menu.
  std::vector<MenuItem> items = object->items;
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (item.IsSeparator()) {
      qtMenu->addSeparator();
    } else if (item.IsPopup()) {
      QMenu* sub = MakeSelfFillingMenu(qtMenu, item.popup, static_cast<int>(i), owner, sink);
      sub->setTitle(DecodeWindows1252(item.text));
      sub->setEnabled((item.flags & (MF_GRAYED | MF_DISABLED)) == 0);
      qtMenu->addMenu(sub);
    } else {
      AddCommand(qtMenu, item, sink);
    }
  }
}
