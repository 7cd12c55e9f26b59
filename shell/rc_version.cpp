/*
** Reading a module's version strings.
*/
#include "shell/rc_version.h"

#include "platform/kernel/format.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/version.h"

ProjectRCVersion::ProjectRCVersion(HINSTANCE module) {
  char fileName[256];
  if (::GetModuleFileName(module, fileName, sizeof fileName) == 0) return;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSize(fileName, &handle);
  if (size == 0) return;
  data_ = new BYTE[size];
  void* value = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfo(fileName, handle, size, data_) ||
      !VerQueryValue(data_, "\\VarFileInfo\\Translation", &value, &length) ||
      length < sizeof(DWORD)) {
    delete[] data_;
    data_ = nullptr;
    return;
  }
  translation_ = static_cast<const DWORD*>(value);
}

ProjectRCVersion::~ProjectRCVersion() { delete[] data_; }

bool ProjectRCVersion::GetString(const char* name, const char** text) {
  if (!data_ || !translation_) return false;
  char path[128];
  wsprintf(path, "\\StringFileInfo\\%08lx\\%s", static_cast<unsigned long>(*translation_), name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValue(data_, path, &value, &length) || !value) return false;
  *text = static_cast<const char*>(value);
  return true;
}

bool ProjectRCVersion::GetCompanyName(const char** text) { return GetString("CompanyName", text); }
bool ProjectRCVersion::GetProductName(const char** text) { return GetString("ProductName", text); }
bool ProjectRCVersion::GetProductVersion(const char** text) {
  return GetString("ProductVersion", text);
}
bool ProjectRCVersion::GetLegalCopyright(const char** text) {
  return GetString("LegalCopyright", text);
}
