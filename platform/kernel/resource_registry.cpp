/*
** The resource registry: a list of registered resources guarded by one lock. Modules register
** from static initialisers, which may run on any thread that loads a library.
*/
#include "platform/kernel/resource_registry.h"

#include <algorithm>
#include <list>
#include <mutex>

using resource_format::BlobEntry;
using resource_format::ResourceKey;

namespace {

struct Registry {
  std::mutex lock;
  std::list<RegisteredResource> resources;  // a list keeps each entry at its address
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: unloads may run after exit
  return *registry;
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
           return upper(x) == upper(y);
         });
}

bool SameKey(const ResourceKey& a, const ResourceKey& b) {
  if (a.kind != b.kind) return false;
  return a.IsOrdinal() ? a.id == b.id : SameText(a.name, b.name);
}

}  // namespace

bool RegisterModuleResources(HMODULE module, const void* blob, size_t size) {
  std::vector<BlobEntry> entries;
  if (!module || !resource_format::ReadBlobDirectory(blob, size, &entries)) return false;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  for (auto& entry : entries) registry.resources.push_back({module, blob, std::move(entry)});
  return true;
}

void UnregisterModuleResources(HMODULE module, const void* blob) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.resources.remove_if([&](const RegisteredResource& resource) {
    return resource.module == module && resource.blob == blob;
  });
}

const RegisteredResource* FindRegisteredResource(HMODULE module, const ResourceKey& type,
                                                 const ResourceKey& name) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  for (const auto& resource : registry.resources) {
    if (resource.module == module && SameKey(resource.entry.type, type) &&
        SameKey(resource.entry.name, name))
      return &resource;
  }
  return nullptr;
}

std::vector<const RegisteredResource*> FindAllRegisteredResources(HMODULE module,
                                                                  const ResourceKey& type,
                                                                  const ResourceKey& name) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  std::vector<const RegisteredResource*> found;
  for (const auto& resource : registry.resources) {
    if (resource.module == module && SameKey(resource.entry.type, type) &&
        SameKey(resource.entry.name, name))
      found.push_back(&resource);
  }
  return found;
}

bool IsRegisteredResource(const void* candidate) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  return std::any_of(registry.resources.begin(), registry.resources.end(),
                     [&](const RegisteredResource& resource) { return &resource == candidate; });
}

std::vector<HMODULE> ModulesWithResources() {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  std::vector<HMODULE> modules;
  for (const auto& resource : registry.resources) {
    if (std::find(modules.begin(), modules.end(), resource.module) == modules.end())
      modules.push_back(resource.module);
  }
  return modules;
}
