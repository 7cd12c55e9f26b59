/*
** The message numbers of the standard controls the framework's control objects send (list
** box, combo box, button, static), from the windowing layer's control headers.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_CONTROL_CODES_H
#define ZARNE_PLATFORM_FRAMEWORK_CONTROL_CODES_H

#include "platform/user/button_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/static_control.h"

#endif
