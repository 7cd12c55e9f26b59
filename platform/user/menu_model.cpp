/*
** Menus as data: the handle table and the item calls (append, insert, modify, delete,
** enable, check, read back). Handles are never reused, so a stale HMENU reaches nothing.
*/
#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct MenuTable {
  std::map<uintptr_t, MenuObject> menus;
  uintptr_t next = 0x20010;
};

MenuTable& Menus() {
  static MenuTable table;
  return table;
}

HMENU NewMenu(bool popup) {
  MenuTable& table = Menus();
  uintptr_t value = table.next;
  table.next += 4;
  table.menus[value].popup = popup;
  return reinterpret_cast<HMENU>(value);
}

/* What a caller's flags make of an item: kind, state, id, pop-up and text. */
bool BuildItem(UINT flags, UINT_PTR item, LPCSTR text, MenuItem* out) {
  MenuItem built;
  built.flags = flags & ~(MF_BYPOSITION | MF_CHANGE | MF_APPEND | MF_DELETE | MF_REMOVE);
  if (flags & MF_POPUP) {
    HMENU popup = reinterpret_cast<HMENU>(item);
    if (!FindMenuObject(popup)) return false;
    built.popup = popup;
  } else {
    built.id = static_cast<UINT>(item & 0xFFFF);
  }
  if (flags & MF_SEPARATOR) {
    built.id = 0;
    built.popup = nullptr;
  } else if (!(flags & (MF_BITMAP | MF_OWNERDRAW)) && text) {
    built.text = text;
  }
  *out = std::move(built);
  return true;
}

MenuItem* SearchByCommand(HMENU menu, UINT id, HMENU* owner, int* index, int depth) {
  MenuObject* object = FindMenuObject(menu);
  if (!object || depth > 16) return nullptr;  // menus cannot nest deeper than this in practice
  for (size_t i = 0; i < object->items.size(); ++i) {
    MenuItem& item = object->items[i];
    if (item.IsPopup()) {
      if (MenuItem* found = SearchByCommand(item.popup, id, owner, index, depth + 1)) return found;
    } else if (!item.IsSeparator() && item.id == id) {
      if (owner) *owner = menu;
      if (index) *index = static_cast<int>(i);
      return &item;
    }
  }
  return nullptr;
}

/* Whether `target` is `from` or lies inside it: such a pop-up would make a cycle. */
bool Reaches(HMENU from, HMENU target, int depth) {
  if (from == target) return true;
  MenuObject* object = FindMenuObject(from);
  if (!object || depth > 16) return false;
  for (const MenuItem& item : object->items)
    if (item.IsPopup() && Reaches(item.popup, target, depth + 1)) return true;
  return false;
}

/* An item the menu may hold: a pop-up must not contain the menu it is put into. */
bool Fits(HMENU menu, const MenuItem& item) {
  return !item.IsPopup() || !Reaches(item.popup, menu, 0);
}

void DestroyMenuTree(HMENU menu, int depth) {
  auto it = Menus().menus.find(reinterpret_cast<uintptr_t>(menu));
  if (it == Menus().menus.end() || depth > 16) return;
  std::vector<MenuItem> items = std::move(it->second.items);
  Menus().menus.erase(it);
  for (const MenuItem& item : items)
    if (item.IsPopup()) DestroyMenuTree(item.popup, depth + 1);
}

BOOL RemoveItem(HMENU menu, UINT position, UINT flags, bool destroyPopup) {
  HMENU holder = nullptr;
  int index = -1;
  if (!FindMenuItem(menu, position, flags, &holder, &index)) return FALSE;
  MenuObject* object = FindMenuObject(holder);
  MenuItem removed = object->items[index];
  object->items.erase(object->items.begin() + index);
  if (destroyPopup && removed.IsPopup()) DestroyMenuTree(removed.popup, 0);
  NoteMenuChanged(holder);
  return TRUE;
}

}  // namespace

MenuObject* FindMenuObject(HMENU menu) {
  auto it = Menus().menus.find(reinterpret_cast<uintptr_t>(menu));
  return it == Menus().menus.end() ? nullptr : &it->second;
}

MenuItem* FindMenuItem(HMENU menu, UINT item, UINT flags, HMENU* owner, int* index) {
  MenuObject* object = FindMenuObject(menu);
  if (!object) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= object->items.size()) return nullptr;
    if (owner) *owner = menu;
    if (index) *index = static_cast<int>(item);
    return &object->items[item];
  }
  return SearchByCommand(menu, item & 0xFFFF, owner, index, 0);
}

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FindMenuObject(menu)) return FALSE;
  HWND bar = WindowOfMenuBar(menu);
  DestroyMenuTree(menu, 0);
  if (bar) SetMenu(bar, nullptr);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenuObject(menu) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCSTR text) {
  MenuObject* object = FindMenuObject(menu);
  MenuItem built;
  if (!object || !BuildItem(flags, item, text, &built) || !Fits(menu, built)) return FALSE;
  object->items.push_back(std::move(built));
  NoteMenuChanged(menu);
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR text) {
  MenuItem built;
  if (!FindMenuObject(menu) || !BuildItem(flags, item, text, &built) || !Fits(menu, built))
    return FALSE;
  HMENU holder = menu;
  int index = -1;
  if (flags & MF_BYPOSITION) {
    MenuObject* object = FindMenuObject(menu);
    // A position past the end (conventionally -1) appends.
    index = position >= object->items.size() ? static_cast<int>(object->items.size())
                                             : static_cast<int>(position);
  } else if (!FindMenuItem(menu, position, flags, &holder, &index)) {
    return FALSE;
  }
  MenuObject* object = FindMenuObject(holder);
  object->items.insert(object->items.begin() + index, std::move(built));
  NoteMenuChanged(holder);
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR text) {
  HMENU holder = nullptr;
  MenuItem* target = FindMenuItem(menu, position, flags, &holder);
  MenuItem built;
  if (!target || !BuildItem(flags, item, text, &built) || !Fits(holder, built)) return FALSE;
  // A pop-up replaced by something else is destroyed, as the platform does.
  if (target->IsPopup() && target->popup != built.popup) DestroyMenuTree(target->popup, 0);
  target = FindMenuItem(menu, position, flags, &holder);
  if (!target) return FALSE;
  *target = std::move(built);
  NoteMenuChanged(holder);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return RemoveItem(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return RemoveItem(menu, position, flags, false);
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  HMENU holder = nullptr;
  MenuItem* target = FindMenuItem(menu, item, flags, &holder);
  if (!target) return static_cast<UINT>(-1);
  UINT previous = target->flags & (MF_GRAYED | MF_DISABLED);
  target->flags =
      (target->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  NoteMenuChanged(holder);
  return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  HMENU holder = nullptr;
  MenuItem* target = FindMenuItem(menu, item, flags, &holder);
  if (!target) return static_cast<DWORD>(-1);
  DWORD previous = target->flags & MF_CHECKED;
  target->flags = (target->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  NoteMenuChanged(holder);
  return previous;
}

int GetMenuItemCount(HMENU menu) {
  MenuObject* object = FindMenuObject(menu);
  return object ? static_cast<int>(object->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuObject* object = FindMenuObject(menu);
  if (!object || position < 0 || position >= static_cast<int>(object->items.size()))
    return static_cast<UINT>(-1);
  const MenuItem& item = object->items[position];
  return item.IsPopup() ? static_cast<UINT>(-1) : item.id;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  MenuItem* target = FindMenuItem(menu, item, flags);
  if (!target) return 0;
  int length = static_cast<int>(target->text.size());
  if (!buffer || size <= 0) return length;
  length = std::min(length, size - 1);
  std::memcpy(buffer, target->text.data(), length);
  buffer[length] = 0;
  return length;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* target = FindMenuItem(menu, item, flags);
  if (!target) return static_cast<UINT>(-1);
  UINT state = target->flags & 0xFF;
  if (target->IsSeparator()) state |= MF_SEPARATOR;
  if (target->IsPopup()) {
    MenuObject* popup = FindMenuObject(target->popup);
    UINT count = popup ? static_cast<UINT>(popup->items.size()) : 0;
    state = (state | MF_POPUP) | (std::min<UINT>(count, 0xFF) << 8);
  }
  return state;
}

HMENU GetSubMenu(HMENU menu, int position) {
  MenuObject* object = FindMenuObject(menu);
  if (!object || position < 0 || position >= static_cast<int>(object->items.size())) return nullptr;
  return object->items[position].popup;
}
