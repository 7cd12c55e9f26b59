/*
** The resource calls over the resource registry. Handles are the registry's own entries
** (HRSRC, HACCEL) or the resource's bytes (the HGLOBAL of LoadResource), so nothing is
** allocated and nothing needs freeing.
*/
#include "platform/kernel/resources.h"

#include "platform/kernel/module_identity.h"
#include "platform/kernel/resource_registry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using resource_format::ResourceKey;

namespace {

HMODULE ModuleOrProgram(HMODULE module) { return module ? module : MainProgramModule(); }

// A name or type argument as a registry key: an ordinal, "#<number>", or an upper-cased name.
ResourceKey KeyFromArgument(LPCSTR argument) {
  if (IS_INTRESOURCE(argument))
    return ResourceKey::Ordinal(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument)));
  if (argument[0] == '#') {
    char* end = nullptr;
    unsigned long value = std::strtoul(argument + 1, &end, 10);
    if (end != argument + 1 && *end == '\0' && value <= 0xFFFF)
      return ResourceKey::Ordinal(static_cast<WORD>(value));
  }
  std::string name(argument);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return ResourceKey::Named(std::move(name));
}

const RegisteredResource* AsRegistered(const void* handle) {
  return handle && IsRegisteredResource(handle) ? static_cast<const RegisteredResource*>(handle)
                                                : nullptr;
}

}  // namespace

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) return nullptr;
  const RegisteredResource* found =
      FindRegisteredResource(ModuleOrProgram(module), KeyFromArgument(type), KeyFromArgument(name));
  return reinterpret_cast<HRSRC>(const_cast<RegisteredResource*>(found));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const RegisteredResource* found = AsRegistered(resource);
  if (!found) return nullptr;
  return const_cast<BYTE*>(found->entry.data);
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const RegisteredResource* found = AsRegistered(resource);
  return found ? found->entry.size : 0;
}

BOOL FreeResource(HGLOBAL loaded) { return FALSE; }

int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  const ResourceKey type = ResourceKey::Ordinal(resource_format::kTypeString);
  const ResourceKey block = ResourceKey::Ordinal(resource_format::StringBlockOrdinal(id));
  // Several .rc files of one module may each carry part of a block: take the first that has it.
  for (const RegisteredResource* resource :
       FindAllRegisteredResources(ModuleOrProgram(instance), type, block)) {
    const char* text = nullptr;
    WORD length = 0;
    if (!resource_format::StringBlockEntry(resource->entry.data, resource->entry.size,
                                           resource_format::StringBlockSlot(id), &text, &length) ||
        length == 0)
      continue;
    int copied = std::min<int>(length, size - 1);
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    return copied;
  }
  return 0;
}

HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name) {
  return reinterpret_cast<HACCEL>(FindResource(instance, name, RT_ACCELERATOR));
}

int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count) {
  const RegisteredResource* found = AsRegistered(table);
  std::vector<resource_format::AcceleratorEntry> parsed;
  if (!found ||
      !resource_format::ParseAcceleratorTable(found->entry.data, found->entry.size, &parsed))
    return 0;
  if (!entries) return static_cast<int>(parsed.size());
  int copied = std::min<int>(std::max(count, 0), static_cast<int>(parsed.size()));
  for (int i = 0; i < copied; ++i) {
    entries[i].fVirt = static_cast<BYTE>(parsed[i].flags);
    entries[i].key = parsed[i].key;
    entries[i].cmd = parsed[i].command;
  }
  return copied;
}
