/*
** Menus from a module's compiled menu resources.
*/
#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"

#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"

namespace {

using resource_format::MenuItemTemplate;

/* Fills `menu` with the items; false (the caller destroys the menu) on a pop-up failure. */
bool AddItems(HMENU menu, const std::vector<MenuItemTemplate>& items) {
  for (const MenuItemTemplate& item : items) {
    UINT state = item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_HELP);
    if (item.IsPopup()) {
      HMENU popup = CreatePopupMenu();
      if (!AddItems(popup, item.items) ||
          !AppendMenu(menu, state | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      item.text.c_str())) {
        DestroyMenu(popup);
        return false;
      }
    } else if (item.IsSeparator() || (item.flags & resource_format::kMenuItemSeparator)) {
      AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenu(menu, state | MF_STRING, item.id, item.text.c_str());
    }
  }
  return true;
}

}  // namespace

HMENU LoadMenu(HINSTANCE instance, LPCSTR name) {
  HRSRC found = FindResource(instance, name, RT_MENU);
  if (!found) return nullptr;
  const void* data = LockResource(LoadResource(instance, found));
  DWORD size = SizeofResource(instance, found);
  std::vector<MenuItemTemplate> items;
  if (!data || !resource_format::ParseMenuTemplate(data, size, &items)) return nullptr;
  HMENU menu = CreateMenu();
  if (!AddItems(menu, items)) {
    DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}
