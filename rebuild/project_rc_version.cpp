/*
** Reading a module file's version data for the About box.
*/
#include "rebuild/project_rc_version.h"

#include "platform/kernel/modules.h"
#include "platform/kernel/version.h"
#include "platform/user/oem_text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

/* The module's whole file name, however deep the install: a cut name names no file. */
std::string ModuleFileName(HINSTANCE module) {
  std::vector<char> buffer(260);
  for (;;) {
    DWORD length = GetModuleFileName(module, buffer.data(), DWORD(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size() - 1) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

ProjectRCVersion::ProjectRCVersion(HINSTANCE module) {
  std::string name = ModuleFileName(module);
  if (name.empty()) return;
  OemToAnsi(name.data(), name.data());
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSize(name.c_str(), &handle);
  if (size == 0) return;
  std::unique_ptr<BYTE[]> data(new BYTE[size]);
  if (!GetFileVersionInfo(name.c_str(), handle, size, data.get())) return;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValue(data.get(), "\\VarFileInfo\\Translation", &value, &length) ||
      length < sizeof(DWORD)) {
    return;
  }
  DWORD* first = static_cast<DWORD*>(value);
  // Stored as the language word then the code-page word; "%08lx" must print the language
  // first, so the halves change places.
  *first = (*first << 16) | (*first >> 16);
  data_ = std::move(data);
  translation_ = first;
}

bool ProjectRCVersion::GetValue(const char* key, const char*& value) const {
  if (!data_ || !translation_) return false;
  char path[128];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%08lx\\%s",
                static_cast<unsigned long>(*translation_), key);
  void* found = nullptr;
  UINT length = 0;
  if (!VerQueryValue(data_.get(), path, &found, &length) || !found) return false;
  value = static_cast<const char*>(found);
  return true;
}
