/*
** TModule over the kernel's module and resource calls.
*/
#include "platform/framework/module.h"

#include "platform/kernel/modules.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/resources.h"
#include "platform/user/menu_calls.h"

TModule::TModule(const char* name, HINSTANCE instance)
    : name_(name ? name : ""), instance_(instance ? instance : GetModuleHandle(nullptr)) {}

int TModule::LoadString(UINT id, char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  return ::LoadString(instance_, id, buffer, size);
}

std::string TModule::LoadString(UINT id) const {
  char text[1024];
  int length = ::LoadString(instance_, id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

HRSRC TModule::FindResource(LPCSTR name, LPCSTR type) const {
  return ::FindResource(instance_, name, type);
}
HBITMAP TModule::LoadBitmap(LPCSTR name) const { return ::LoadBitmap(instance_, name); }
HICON TModule::LoadIcon(LPCSTR name) const { return ::LoadIcon(instance_, name); }
HMENU TModule::LoadMenu(LPCSTR name) const { return ::LoadMenu(instance_, name); }
HACCEL TModule::LoadAccelerators(LPCSTR name) const { return ::LoadAccelerators(instance_, name); }

std::string TModule::GetModuleFileName() const {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileName(instance_, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

TModule& GetProgramModule() {
  static TModule program("program", nullptr);
  return program;
}
