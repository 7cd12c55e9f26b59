/*
** The list of the system classes, each registered by its own control's file.
*/
#include "platform/user/system_classes.h"

#include "platform/user/button_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/dialog_state.h"
#include "platform/user/edit_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/mdi_client.h"
#include "platform/user/scrollbar_control.h"
#include "platform/user/static_control.h"

void RegisterSystemClasses() {
  RegisterEditClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
  RegisterScrollBarClass();
  RegisterMdiClientClass();
  RegisterDialogClass();
  RegisterButtonClass();
  RegisterStaticClass();
}
