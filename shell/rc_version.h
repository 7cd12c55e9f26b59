/*
** ProjectRCVersion: the strings of a module's version resource, read once, for the About
** box. Every getter answers false when the module has no version data or lacks the string.
*/
#ifndef ZARNE_SHELL_RC_VERSION_H
#define ZARNE_SHELL_RC_VERSION_H

#include "platform/kernel/wintypes.h"

class ProjectRCVersion {
 public:
  explicit ProjectRCVersion(HINSTANCE module);
  virtual ~ProjectRCVersion();
  ProjectRCVersion(const ProjectRCVersion&) = delete;
  ProjectRCVersion& operator=(const ProjectRCVersion&) = delete;

  bool GetCompanyName(const char** text);
  bool GetProductName(const char** text);
  bool GetProductVersion(const char** text);
  bool GetLegalCopyright(const char** text);

 private:
  bool GetString(const char* name, const char** text);

  /* The first translation value: language in the high half, code page in the low half. */
  const DWORD* translation_ = nullptr;
  /* The owned copy of the version resource, or null when it could not be read. */
  BYTE* data_ = nullptr;
};

#endif
