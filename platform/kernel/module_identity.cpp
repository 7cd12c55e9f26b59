/*
** Module identity over the dynamic loader: a module's handle is the base address the loader
** reports for it, so every piece of the platform agrees on one handle per module.
*/
#include "platform/kernel/module_identity.h"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>

HMODULE ModuleFromAddress(const void* address) {
  Dl_info info{};
  if (!address || dladdr(address, &info) == 0) return nullptr;
  return reinterpret_cast<HMODULE>(info.dli_fbase);
}

namespace {

struct BaseSearch {
  const void* base;
  std::string path;
  bool first;
};

// dl_iterate_phdr reports the program itself first with an empty name.
int FindMainProgram(struct dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<BaseSearch*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    if (info->dlpi_phdr[i].p_type == PT_LOAD) {
      search->base = reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
      return 1;
    }
  }
  return 1;
}

}  // namespace

HMODULE MainProgramModule() {
  static HMODULE module = [] {
    BaseSearch search{nullptr, {}, true};
    dl_iterate_phdr(FindMainProgram, &search);
    return ModuleFromAddress(search.base);
  }();
  return module;
}

std::string ModuleHostPath(HMODULE module) {
  if (!module) return {};
  if (module == MainProgramModule()) {
    char path[PATH_MAX];
    char* resolved = realpath("/proc/self/exe", path);
    return resolved ? std::string(resolved) : std::string();
  }
  Dl_info info{};
  if (dladdr(module, &info) == 0 || !info.dli_fname) return {};
  if (info.dli_fbase != static_cast<void*>(module)) return {};
  return info.dli_fname;
}
