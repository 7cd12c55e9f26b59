/*
** The table of every loaded module's compiled resources. Each resource blob that the resource
** compiler generates registers itself, under the module that contains it, when that module is
** loaded, and withdraws when it is unloaded; the resource and version calls look resources up
** here.
*/
#ifndef ZARNE_PLATFORM_KERNEL_RESOURCE_REGISTRY_H
#define ZARNE_PLATFORM_KERNEL_RESOURCE_REGISTRY_H

#include "platform/kernel/resource_formats.h"

#include <vector>

/* Adds a blob's resources to the module; false (and nothing added) when the blob is damaged.
** When two blobs of one module hold the same type and name, the first registered answers
** FindResource; LoadString still looks through every string block of that number. */
bool RegisterModuleResources(HMODULE module, const void* blob, size_t size);

/* Withdraws what the blob added; called when the module that holds it is unloaded. */
void UnregisterModuleResources(HMODULE module, const void* blob);

/* One registered resource. Entries stay at their address while their blob is registered, so
** an HRSRC can point at one. */
struct RegisteredResource {
  HMODULE module;
  const void* blob;
  resource_format::BlobEntry entry;
};

/* The first resource of the module with that type and name (names compared without case). */
const RegisteredResource* FindRegisteredResource(HMODULE module,
                                                 const resource_format::ResourceKey& type,
                                                 const resource_format::ResourceKey& name);

/* Every resource of the module with that type and name, in registration order. */
std::vector<const RegisteredResource*> FindAllRegisteredResources(
    HMODULE module, const resource_format::ResourceKey& type,
    const resource_format::ResourceKey& name);

/* True when the pointer is one of the registry's live entries. */
bool IsRegisteredResource(const void* candidate);

/* The modules that have registered resources. */
std::vector<HMODULE> ModulesWithResources();

#endif
