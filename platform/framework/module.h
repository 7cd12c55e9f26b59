/*
** TModule: one module (the program or a shared library) as the framework sees it: its
** instance handle, its name, and the resources it carries (strings, bitmaps, icons, menus,
** accelerators, dialog templates).
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_MODULE_H
#define ZARNE_PLATFORM_FRAMEWORK_MODULE_H

#include "platform/gdi/gdi.h"
#include "platform/kernel/wintypes.h"

#include <string>

class TModule {
 public:
  /* The module of that instance handle; a null handle means the running program. */
  explicit TModule(const char* name = nullptr, HINSTANCE instance = nullptr);
  virtual ~TModule() = default;
  TModule(const TModule&) = delete;
  TModule& operator=(const TModule&) = delete;

  HINSTANCE GetInstance() const { return instance_; }
  operator HINSTANCE() const { return instance_; }
  const char* GetName() const { return name_.c_str(); }
  void SetName(const char* name) { name_ = name ? name : ""; }

  /* String `id` of the string table into the buffer (at most size - 1 characters); 0 when
     the module has no such string. */
  int LoadString(UINT id, char* buffer, int size) const;
  /* The same as a text; empty when missing. */
  std::string LoadString(UINT id) const;
  /* The module's resources by number or name; null when it has none of that kind. (The
     drawing header is included first, so these names match its A-suffixed calls.) */
  HRSRC FindResource(LPCSTR name, LPCSTR type) const;
  HBITMAP LoadBitmap(LPCSTR name) const;
  HICON LoadIcon(LPCSTR name) const;
  HMENU LoadMenu(LPCSTR name) const;
  HACCEL LoadAccelerators(LPCSTR name) const;
  /* The module file's full name. */
  std::string GetModuleFileName() const;

 private:
  std::string name_;
  HINSTANCE instance_;
};

/* The running program's module, the default for windows and dialogs given none. */
TModule& GetProgramModule();

#endif
