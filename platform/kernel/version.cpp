/*
** The version calls over the resource registry: the version data of a loaded module is its
** RT_VERSION resource, copied as it is; VerQueryValue walks the copy's nodes.
*/
#include "platform/kernel/version.h"

#include "platform/kernel/module_identity.h"
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resource_registry.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using resource_format::ResourceKey;
using resource_format::VersionNode;

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// A module file's name without directory and platform dressing: "C:\ZARNE\zarne32.exe",
// "/build/bin/zarne32" and "Z:\build\bin\zarne32" give "ZARNE32"; "libvgrd32.so" and
// "vgrd32.dll" give "VGRD32", as LoadLibrary("vgrd32.dll") loads libvgrd32.so.
std::string ModuleStem(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  std::string name = Upper(slash == std::string::npos ? path : path.substr(slash + 1));
  auto endsWith = [&](const char* suffix) {
    size_t length = std::strlen(suffix);
    return name.size() > length && name.compare(name.size() - length, length, suffix) == 0;
  };
  if (endsWith(".SO")) {
    name.resize(name.size() - 3);
    if (name.size() > 3 && name.compare(0, 3, "LIB") == 0) name.erase(0, 3);
  } else if (endsWith(".EXE") || endsWith(".DLL")) {
    name.resize(name.size() - 4);
  }
  return name;
}

// Host paths are compared after resolving links and dots, as the loader may name a file
// differently from the caller.
std::string CanonicalHostPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

HMODULE ModuleNamedBy(const std::string& fileName) {
  if (fileName.empty()) return nullptr;
  const bool hostPath = fileName[0] == '/';
  for (HMODULE module : ModulesWithResources()) {
    std::string modulePath = ModuleHostPath(module);
    if (modulePath.empty()) continue;
    if (hostPath ? CanonicalHostPath(fileName) == CanonicalHostPath(modulePath)
                 : ModuleStem(fileName) == ModuleStem(modulePath))
      return module;
  }
  return nullptr;
}

const RegisteredResource* VersionResourceOf(LPCSTR fileName) {
  if (!fileName) return nullptr;
  HMODULE module = ModuleNamedBy(fileName);
  if (!module) return nullptr;
  // The platform's resource compiler numbers the version resource 1 (VS_VERSION_INFO).
  const RegisteredResource* resource = FindRegisteredResource(
      module, ResourceKey::Ordinal(resource_format::kTypeVersion), ResourceKey::Ordinal(1));
  VersionNode root;
  if (!resource ||
      !resource_format::ReadVersionNode(resource->entry.data, resource->entry.size, &root))
    return nullptr;
  return resource;
}

}  // namespace

DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle) {
  if (handle) *handle = 0;
  const RegisteredResource* resource = VersionResourceOf(fileName);
  return resource ? resource->entry.size : 0;
}

BOOL GetFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data) {
  const RegisteredResource* resource = VersionResourceOf(fileName);
  if (!resource || !data || length < resource->entry.size) return FALSE;
  std::memcpy(data, resource->entry.data, resource->entry.size);
  return TRUE;
}

BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, UINT* length) {
  if (!block || !subBlock || !value || !length) return FALSE;
  const BYTE* bytes = static_cast<const BYTE*>(block);
  VersionNode node;
  // The block carries its own length in its first word.
  size_t total = bytes[0] | (bytes[1] << 8);
  if (!resource_format::ReadVersionNode(bytes, total, &node)) return FALSE;
  std::string path(subBlock);
  size_t position = 0;
  while (position < path.size()) {
    size_t start = path.find_first_not_of('\\', position);
    if (start == std::string::npos) break;
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string key = Upper(path.substr(start, end - start));
    std::vector<VersionNode> children;
    if (!resource_format::ReadVersionChildren(node, &children)) return FALSE;
    bool found = false;
    for (const VersionNode& child : children) {
      if (Upper(child.key) == key) {
        node = child;
        found = true;
        break;
      }
    }
    if (!found) return FALSE;
    position = end;
  }
  *value = const_cast<BYTE*>(node.value);
  *length = node.valueLength;
  return TRUE;
}
