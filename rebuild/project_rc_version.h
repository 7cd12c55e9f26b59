/*
** ProjectRCVersion: the version data of a module's file and the values the About box shows
** from it, looked up in the string block its first translation names.
*/
#ifndef ZARNE_REBUILD_PROJECT_RC_VERSION_H
#define ZARNE_REBUILD_PROJECT_RC_VERSION_H

#include "platform/kernel/wintypes.h"

#include <memory>

class ProjectRCVersion {
 public:
  explicit ProjectRCVersion(HINSTANCE module);

  /* Each answers the value (pointing into the version data) when the data holds it. */
  bool GetProductName(const char*& value) const { return GetValue("ProductName", value); }
  bool GetProductVersion(const char*& value) const { return GetValue("ProductVersion", value); }
  bool GetLegalCopyright(const char*& value) const { return GetValue("LegalCopyright", value); }
  bool GetSpecialBuild(const char*& value) const { return GetValue("SpecialBuild", value); }

 private:
  bool GetValue(const char* key, const char*& value) const;

  std::unique_ptr<BYTE[]> data_;  // null when the file has no version data
  DWORD* translation_ = nullptr;  // its first entry, halves swapped: language first
};

#endif
