/*
** The drawing layer's recording DC, and the recording of a window's own paints, offered to
** tests with the rest of the harness.
*/
#ifndef ZARNE_PLATFORM_TESTING_RECORDING_DC_H
#define ZARNE_PLATFORM_TESTING_RECORDING_DC_H

#include "platform/gdi/gdi_recording.h"
#include "platform/user/paint_recording.h"

#endif
