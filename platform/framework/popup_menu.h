/*
** TPopupMenu: a pop-up menu built in code and tracked at a screen point for a window; the
** chosen command reaches the window as WM_COMMAND. The menu is destroyed with the object.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_POPUP_MENU_H
#define ZARNE_PLATFORM_FRAMEWORK_POPUP_MENU_H

#include "platform/framework/geometry.h"
#include "platform/user/menu_calls.h"

class TPopupMenu {
 public:
  TPopupMenu();
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  operator HMENU() const { return menu_; }
  bool AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  int GetMenuItemCount() const;
  /* Shows the menu at the screen point for the owner; answers what TrackPopupMenu answers. */
  int TrackPopupMenu(UINT flags, const TPoint& point, HWND owner);

 private:
  HMENU menu_;
};

#endif
