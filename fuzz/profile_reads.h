/*
** For targets that hand the profile calls a file per input: the profile reader keeps the
** lines of the file it read last, so an input would end holding memory sized by its own
** bytes, and the fuzzer would take that for a possible leak (running the input again and
** searching the heap). Emptying the file and reading it once more leaves nothing kept. The
** file is emptied, not removed: the next input is written into the same file, which the
** reader still holds open, where a new file would be opened and looked at again.
*/
#ifndef ZARNE_FUZZ_PROFILE_READS_H
#define ZARNE_FUZZ_PROFILE_READS_H

#include "platform/kernel/profile.h"

#include <string>
#include <unistd.h>

/* Empties the profile file (a host path, or a name in the profile directory at host_path)
   and reads it once, with `name` as the profile calls name it. */
inline void ForgetFile(const std::string& host_path, const char* name = nullptr) {
  // A missing file leaves nothing to empty.
  (void)::truncate(host_path.c_str(), 0);
  char none[2];
  GetPrivateProfileString(nullptr, nullptr, "", none, sizeof none, name ? name : host_path.c_str());
}

#endif
