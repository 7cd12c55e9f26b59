/*
** Design-host detection: which dialog editor, if any, owns the program a grid lives in,
** told from the base name of the top-level window's module. The list names this project's
** own host programs in the order that fixes their kinds.
*/
#include "grid/design_host.h"

#include "grid/design_services.h"
#include "platform/kernel/kernel.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

struct HostName {
  const char* name;
  int kind;
};

// Kind 4 first, then 1, 2 and the four of kind 3; the last entry is told by the window text.
const HostName kHosts[] = {
    {"TSHOST4", 4},  {"TSHOST1", 1},  {"TSDESIGN", 2}, {"TSHOST3A", 3},
    {"TSHOST3B", 3}, {"TSHOST3C", 3}, {"TSHOST3D", 3},
};
const char kLastHost[] = "TSHOSTST";

HWND TopLevelWindow(HWND window) {
  for (HWND parent = GetParent(window); parent; parent = GetParent(parent)) window = parent;
  return window;
}

}  // namespace

bool EqualNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::toupper(static_cast<unsigned char>(*a)) !=
        std::toupper(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

std::string ModuleBaseName(const char* path) {
  const char* base = std::strrchr(path, '\\');
  if (!base) base = std::strrchr(path, ':');
  base = base ? base + 1 : path;
  std::string name(base, std::strcspn(base, "."));
  if (name.size() > 8) name.resize(8);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

bool SameClass(HWND window, const char* className, bool ignoreCase) {
  char name[64] = "";
  GetClassName(window, name, sizeof name);
  return ignoreCase ? EqualNoCase(name, className) : std::strcmp(name, className) == 0;
}

extern "C" int GetDesignHost(HWND grid) {
  if (!grid) return 0;
  HWND top = TopLevelWindow(grid);
  auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtr(top, GWL_HINSTANCE));
  if (!module) return 0;
  // The whole path: folders here often hold full stops, so only the base name is cut.
  char path[1024] = "";
  if (!GetModuleFileName(module, path, sizeof path)) return 0;
  std::string name = ModuleBaseName(path);
  for (const HostName& host : kHosts)
    if (EqualNoCase(name.c_str(), host.name)) return host.kind;
  if (!EqualNoCase(name.c_str(), kLastHost)) return 0;
  char text[79] = "";
  GetWindowText(grid, text, sizeof text);
  return std::strcmp(text, "STDesignTessel") == 0 ? 3 : 0;
}
