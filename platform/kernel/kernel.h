/*
** The kernel calls of the platform layer in one include: files, paths, profile files,
** global memory, modules, time, text and formatting. (Resources and version data have
** their own headers.)
*/
#ifndef ZARNE_PLATFORM_KERNEL_KERNEL_H
#define ZARNE_PLATFORM_KERNEL_KERNEL_H

#include "platform/kernel/wintypes.h"
#include "platform/kernel/files.h"
#include "platform/kernel/format.h"
#include "platform/kernel/global_memory.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/local_time.h"
#include "platform/kernel/module_identity.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/path_split.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"

#endif
