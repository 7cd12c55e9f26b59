/*
** The windowing platform interface in one include: windows, messages, painting, input,
** scroll bars, caret, clipboard, message boxes and system values.
*/
#ifndef ZARNE_PLATFORM_USER_WINUSER_H
#define ZARNE_PLATFORM_USER_WINUSER_H

#include "platform/kernel/wintypes.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_types.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/rectangles.h"
#include "platform/user/input.h"
#include "platform/user/scroll_bars.h"
#include "platform/user/caret.h"
#include "platform/user/clipboard.h"
#include "platform/user/system_info.h"
#include "platform/user/edit_control.h"
#include "platform/user/message_box.h"
#include "platform/user/menu_calls.h"
#include "platform/user/accelerators.h"
#include "platform/user/mdi_client.h"
#include "platform/user/common_dialogs.h"
#include "platform/user/win_help.h"

#include "platform/user/dialog_manager.h"
#include "platform/user/button_control.h"
#include "platform/user/static_control.h"

#include "platform/user/listbox_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/scrollbar_control.h"

#endif
