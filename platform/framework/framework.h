/*
** The application framework in one include: application and module, windows and response
** tables, frames and MDI, dialogs and controls with transfer, validators, control bar,
** property sheets, printing, common-dialog wrappers, pop-up menus and drawing wrappers.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_FRAMEWORK_H
#define ZARNE_PLATFORM_FRAMEWORK_FRAMEWORK_H

#include "platform/framework/application.h"
#include "platform/framework/control_bar.h"
#include "platform/framework/controls.h"
#include "platform/framework/dc.h"
#include "platform/framework/dialog.h"
#include "platform/framework/edit.h"
#include "platform/framework/file_dialogs.h"
#include "platform/framework/frame.h"
#include "platform/framework/gdi_objects.h"
#include "platform/framework/geometry.h"
#include "platform/framework/list_controls.h"
#include "platform/framework/list_data.h"
#include "platform/framework/mdi.h"
#include "platform/framework/module.h"
#include "platform/framework/popup_menu.h"
#include "platform/framework/print_data.h"
#include "platform/framework/print_dialog.h"
#include "platform/framework/printer.h"
#include "platform/framework/property_sheet.h"
#include "platform/framework/response_table.h"
#include "platform/framework/scroller.h"
#include "platform/framework/validator.h"
#include "platform/framework/window.h"

#endif
