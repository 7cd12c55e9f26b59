/*
** Window classes. A class registered by a module is found for windows created with that
** module's instance; CS_GLOBALCLASS classes and the system classes are found from any module.
** Names compare without regard to case, as on the original platform. When a library is
** unloaded, the classes it registered (by its instance, or with a procedure inside it) that no
** window uses any more go with it, so loading it again registers them afresh.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_class.h"

#include "platform/kernel/module_identity.h"
#include "platform/kernel/modules.h"
#include "platform/user/window_object.h"
#include "platform/user/system_classes.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct ClassTable {
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;
};

ClassTable& Classes() {
  static ClassTable table;
  return table;
}

std::string Lowered(const std::string& text) {
  std::string out = text;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool Matches(const WindowClass& cls, LPCSTR name) {
  if (IS_INTRESOURCE(name)) return cls.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
  return Lowered(cls.name) == Lowered(name);
}

bool IsGlobal(const WindowClass& cls) {
  return cls.system || (cls.record.style & CS_GLOBALCLASS) != 0;
}

/* A class of this exact module, not counting global and system classes. */
std::shared_ptr<WindowClass> FindLocalClass(LPCSTR name, HINSTANCE instance) {
  for (auto& cls : Classes().classes)
    if (!IsGlobal(*cls) && cls->record.hInstance == instance && Matches(*cls, name)) return cls;
  return nullptr;
}

void RemoveClassesOfModule(HMODULE module) {
  std::erase_if(Classes().classes, [module](const std::shared_ptr<WindowClass>& cls) {
    if (cls->system || cls->windowCount > 0) return false;
    return cls->record.hInstance == module ||
           ModuleFromAddress(reinterpret_cast<const void*>(cls->record.lpfnWndProc)) == module;
  });
}

const bool gFollowsModuleUnloads = (AddModuleUnloadObserver(RemoveClassesOfModule), true);

}  // namespace

std::shared_ptr<WindowClass> FindWindowClass(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  if (auto local = FindLocalClass(name, instance)) return local;
  for (auto& cls : Classes().classes)
    if (IsGlobal(*cls) && !cls->system && Matches(*cls, name)) return cls;
  for (auto& cls : Classes().classes)
    if (cls->system && Matches(*cls, name)) return cls;
  // The framework and the libraries pass their own instance handles about freely; a class
  // of another module of this program is still better than failing the creation.
  for (auto& cls : Classes().classes)
    if (Matches(*cls, name)) return cls;
  return nullptr;
}

/* Registers a system class (edit, ...): marked so that it is found from every module. */
ATOM RegisterSystemClass(const WNDCLASS* wc) {
  ATOM atom = RegisterClass(wc);
  if (atom) {
    for (auto& cls : Classes().classes)
      if (cls->atom == atom) cls->system = true;
  }
  return atom;
}

ATOM RegisterClass(const WNDCLASS* wc) {
  EnsureSystemClasses();  // the system classes come first, whoever registers first
  if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
      !*wc->lpszClassName || wc->cbWndExtra < 0 || wc->cbClsExtra < 0)
    return 0;
  for (auto& cls : Classes().classes) {
    if (!Matches(*cls, wc->lpszClassName) || cls->system) continue;
    bool clash = (IsGlobal(*cls) && (wc->style & CS_GLOBALCLASS)) ||
                 (!IsGlobal(*cls) && cls->record.hInstance == wc->hInstance);
    if (clash) return 0;
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->record = *wc;
  cls->record.lpszClassName = cls->name.c_str();
  cls->record.lpszMenuName = nullptr;  // menus by name are not kept past the call
  cls->atom = Classes().nextAtom++;
  Classes().classes.push_back(cls);
  return cls->atom;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc) {
  if (!wc) return FALSE;
  EnsureSystemClasses();
  auto cls = FindWindowClass(className, instance);
  if (!cls) return FALSE;
  *wc = cls->record;
  wc->lpszClassName = className;
  return TRUE;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE instance) {
  auto& list = Classes().classes;
  for (auto it = list.begin(); it != list.end(); ++it) {
    WindowClass& cls = **it;
    if (cls.system || !Matches(cls, className)) continue;
    if (!IsGlobal(cls) && cls.record.hInstance != instance) continue;
    if (cls.windowCount > 0) return FALSE;
    list.erase(it);
    return TRUE;
  }
  return FALSE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsClassName(hwnd, buffer, size);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !buffer || size <= 0) return 0;
  int length = std::min<int>(static_cast<int>(window->windowClass->name.size()), size - 1);
  std::memcpy(buffer, window->windowClass->name.data(), length);
  buffer[length] = 0;
  return length;
}
