/*
** Inside the common dialogs: the last failure code and the Qt presenters.
*/
#ifndef ZARNE_PLATFORM_USER_COMMON_DIALOGS_INTERNAL_H
#define ZARNE_PLATFORM_USER_COMMON_DIALOGS_INTERNAL_H

#include "platform/user/common_dialogs.h"

void SetCommDlgError(DWORD code);

/* The default presenters: Qt dialogs over the mapped host folders and the printer list. */
FileDialogAnswer PresentQtFileDialog(const FileDialogRequest& request);
PrintDialogAnswer PresentQtPrintDialog(const PrintDialogRequest& request);

/* The Qt widget a dialog of this owner window sits on, or NULL. */
class QWidget;
QWidget* OwnerWidget(HWND owner);

#endif
