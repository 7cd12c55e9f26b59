/*
** The Rebuild dialog: the table names in a sorted list, the first selected.
*/
#include "rebuild/rebuild_dialog.h"

#include "platform/user/winuser.h"
#include "rebuild/rebuild_catalog.h"
#include "rebuild/rebuild_ids.h"

#include <cstring>

DEFINE_RESPONSE_TABLE1(TRebuild, TDialog)
EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TRebuild::TRebuild(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {}

void TRebuild::SetupWindow() {
  TDialog::SetupWindow();
  for (const RebuildEntry& entry : kRebuildCatalog) {
    SendDlgItemMessage(kRebuildTableList, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(entry.tableName));
  }
  SendDlgItemMessage(kRebuildTableList, LB_SETCURSEL, 0);
}

void TRebuild::CmOk() {
  name_[0] = '\0';
  LRESULT selected = SendDlgItemMessage(kRebuildTableList, LB_GETCURSEL);
  if (selected != LB_ERR) {
    LRESULT length = SendDlgItemMessage(kRebuildTableList, LB_GETTEXTLEN, WPARAM(selected));
    if (length != LB_ERR && length < LRESULT(sizeof name_)) {
      SendDlgItemMessage(kRebuildTableList, LB_GETTEXT, WPARAM(selected),
                         reinterpret_cast<LPARAM>(name_));
    }
  }
  TDialog::CmOk();
}
