/*
** Paths as messages show them to the user.
*/
#ifndef ZARNE_PLATFORM_KERNEL_MESSAGE_PATHS_H
#define ZARNE_PLATFORM_KERNEL_MESSAGE_PATHS_H

#include <string>

/* One outside the program's drives (a host path, or its Z: form) as the desktop's own path,
   which the user can open there; any other in its full Windows form. Empty for a null or
   empty path. */
std::string PathForMessages(const char* path);

#endif
