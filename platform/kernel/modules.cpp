/*
** LoadLibrary and its family over the dynamic loader. A table of the libraries loaded
** through LoadLibrary keeps their loader handles and reference counts, so that
** DllMain sees exactly one attach and one detach. The test variables are read at each call,
** so a test may set them for part of its run.
*/
#include "platform/kernel/modules.h"

#include "platform/kernel/last_error.h"
#include "platform/kernel/module_identity.h"
#include "platform/kernel/paths.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

typedef BOOL (*DllEntry)(HINSTANCE, DWORD, LPVOID);

struct LoadedLibrary {
  void* loader_handle;
  int references;
};

// Owner: platform/kernel.
std::recursive_mutex gModulesMutex;
std::map<HMODULE, LoadedLibrary> gLoaded;

std::vector<ModuleUnloadObserver>& UnloadObservers() {
  static std::vector<ModuleUnloadObserver> observers;
  return observers;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return text;
}

std::string BaseName(const char* name) {
  const char* base = name;
  for (const char* p = name; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
  }
  return base;
}

std::string StripSuffix(std::string name, const char* suffix) {
  const size_t length = std::strlen(suffix);
  if (name.size() > length && name.compare(name.size() - length, length, suffix) == 0)
    name.resize(name.size() - length);
  return name;
}

HMODULE ModuleOfLoaderHandle(void* loader_handle) {
  struct link_map* map = nullptr;
  if (dlinfo(loader_handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  return ModuleFromAddress(map->l_ld);
}

// The symbol only when the module itself defines it, not one of its dependencies.
void* OwnSymbol(void* loader_handle, HMODULE module, const char* name) {
  void* symbol = dlsym(loader_handle, name);
  return symbol && ModuleFromAddress(symbol) == module ? symbol : nullptr;
}

/* A library name as compared: its base name in lower case, without ".dll". */
std::string LibraryStem(const char* name) {
  return StripSuffix(LowerAscii(BaseName(name)), ".dll");
}

bool IsHiddenLibrary(const std::string& stem) {
  const char* hidden = std::getenv("ZARNE_HIDDEN_LIBRARIES");
  if (!hidden) return false;
  std::string list = hidden;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find_first_of(",:; ", start);
    if (end == std::string::npos) end = list.size();
    std::string entry = list.substr(start, end - start);
    if (!entry.empty() && LibraryStem(entry.c_str()) == stem) return true;
    start = end + 1;
  }
  return false;
}

bool IsProgramName(const char* name) {
  const std::string program = ModuleHostPath(MainProgramModule());
  const std::string wanted = StripSuffix(LowerAscii(BaseName(name)), ".exe");
  return !wanted.empty() && wanted == LowerAscii(BaseName(program.c_str()));
}

}  // namespace

std::string LibraryHostPath(const char* library_name) {
  if (!library_name || !*library_name) return {};
  if (library_name[0] == '/') return library_name;
  const std::string stem = LibraryStem(library_name);
  if (IsHiddenLibrary(stem)) return {};
  const std::string file = "lib" + stem + ".so";
  if (const char* first = std::getenv("ZARNE_LIBRARY_DIR"); first && *first) {
    const std::string in_first = std::string(first) + "/" + file;
    if (FileExists(in_first)) return in_first;
  }
  const std::string beside_program = DirectoryOf(ModuleHostPath(MainProgramModule())) + "/" + file;
  if (FileExists(beside_program)) return beside_program;
  const HMODULE kernel = ModuleFromAddress(reinterpret_cast<const void*>(&LibraryHostPath));
  const std::string beside_kernel = DirectoryOf(ModuleHostPath(kernel)) + "/" + file;
  return FileExists(beside_kernel) ? beside_kernel : beside_program;
}

HMODULE LoadLibrary(LPCSTR library_name) {
  const std::string path = LibraryHostPath(library_name);
  void* loader_handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!loader_handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const HMODULE module = ModuleOfLoaderHandle(loader_handle);
  std::lock_guard<std::recursive_mutex> lock(gModulesMutex);
  if (auto it = gLoaded.find(module); it != gLoaded.end()) {
    ++it->second.references;
    return module;
  }
  gLoaded[module] = LoadedLibrary{loader_handle, 1};
  if (auto entry = reinterpret_cast<DllEntry>(OwnSymbol(loader_handle, module, "DllMain"))) {
    if (!entry(module, DLL_PROCESS_ATTACH, nullptr)) {
      gLoaded.erase(module);
      dlclose(loader_handle);
      SetLastError(ERROR_DLL_INIT_FAILED);
      return nullptr;
    }
  }
  return module;
}

BOOL FreeLibrary(HMODULE module) {
  std::lock_guard<std::recursive_mutex> lock(gModulesMutex);
  const auto it = gLoaded.find(module);
  if (it == gLoaded.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  void* loader_handle = it->second.loader_handle;
  if (--it->second.references == 0) {
    gLoaded.erase(it);
    if (auto entry = reinterpret_cast<DllEntry>(OwnSymbol(loader_handle, module, "DllMain")))
      entry(module, DLL_PROCESS_DETACH, nullptr);
    for (ModuleUnloadObserver observer : UnloadObservers()) observer(module);
  }
  dlclose(loader_handle);
  return TRUE;
}

void AddModuleUnloadObserver(ModuleUnloadObserver observer) {
  std::lock_guard<std::recursive_mutex> lock(gModulesMutex);
  if (observer) UnloadObservers().push_back(observer);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR export_name) {
  if (!export_name || IS_INTRESOURCE(export_name)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (!module) module = MainProgramModule();
  void* loader_handle = nullptr;
  {
    std::lock_guard<std::recursive_mutex> lock(gModulesMutex);
    if (const auto it = gLoaded.find(module); it != gLoaded.end())
      loader_handle = it->second.loader_handle;
  }
  bool borrowed = false;
  if (!loader_handle) {
    const std::string path = module == MainProgramModule() ? std::string() : ModuleHostPath(module);
    if (module != MainProgramModule() && path.empty()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    loader_handle = dlopen(path.empty() ? nullptr : path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    borrowed = loader_handle != nullptr;
  }
  void* symbol = loader_handle ? OwnSymbol(loader_handle, module, export_name) : nullptr;
  if (borrowed) dlclose(loader_handle);
  if (!symbol) SetLastError(ERROR_PROC_NOT_FOUND);
  return reinterpret_cast<FARPROC>(symbol);
}

HMODULE GetModuleHandle(LPCSTR module_name) {
  if (!module_name || IsProgramName(module_name)) return MainProgramModule();
  const std::string path = LibraryHostPath(module_name);
  void* loader_handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!loader_handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const HMODULE module = ModuleOfLoaderHandle(loader_handle);
  dlclose(loader_handle);
  return module;
}

DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size) {
  const std::string host = ModuleHostPath(module ? module : MainProgramModule());
  if (host.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::string windows = WindowsPathFromHostPath(host);
  if (windows.size() < size) {
    std::memcpy(buffer, windows.c_str(), windows.size() + 1);
    return static_cast<DWORD>(windows.size());
  }
  std::memcpy(buffer, windows.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
