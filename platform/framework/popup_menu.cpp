/*
** TPopupMenu over the menu calls.
*/
#include "platform/framework/popup_menu.h"

TPopupMenu::TPopupMenu() : menu_(CreatePopupMenu()) {}

TPopupMenu::~TPopupMenu() {
  if (menu_) DestroyMenu(menu_);
}

bool TPopupMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  return menu_ && ::AppendMenu(menu_, flags, id, text);
}

int TPopupMenu::GetMenuItemCount() const { return menu_ ? ::GetMenuItemCount(menu_) : 0; }

int TPopupMenu::TrackPopupMenu(UINT flags, const TPoint& point, HWND owner) {
  return menu_ ? ::TrackPopupMenu(menu_, flags, point.x, point.y, 0, owner, nullptr) : 0;
}
