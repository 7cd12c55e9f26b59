/*
** Qt keys to virtual-key codes and back, and the characters a key produces, for a US
** keyboard layout as the system's key handling expects.
*/
#ifndef ZARNE_PLATFORM_USER_KEY_MAPPING_H
#define ZARNE_PLATFORM_USER_KEY_MAPPING_H

#include "platform/kernel/wintypes.h"

#include <Qt>

/* 0 when the key has no virtual-key code. */
int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);
/* The Qt key of a virtual-key code, Qt::Key_unknown when none. */
int QtKeyFromVirtualKey(int virtualKey);
/* Whether a key is on the extended part of the keyboard (arrows, Insert, Delete, ...). */
bool IsExtendedKey(int virtualKey);
/* The character a virtual key makes with these shift/control states, 0 when none
** (used when a key message did not come from a real key event). */
int CharFromVirtualKey(int virtualKey, bool shift, bool control, bool capsLock);

#endif
