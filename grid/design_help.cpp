/*
** Help of the design-time dialogs: the help file is named by its full path in the library's
** directory, since the program hosting the library lives elsewhere.
*/
#include "grid/design_help.h"

#include "grid/library_state.h"

#include <string>

void OpenTesselHelp(HWND owner, const char* keyword) {
  char module[1024] = "";
  GetModuleFileName(gTesselModule, module, sizeof module);
  std::string path = module;
  size_t slash = path.find_last_of('\\');
  path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "Tessel.hlp";
  WinHelp(owner, path.c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword));
}
