/*
** THiddenFileList: the directory listing is asked of the list box itself (LB_DIR), which
** leaves the process's current directory where it was.
*/
#include "tableaccess/hidden_file_list.h"

#include "platform/kernel/string_calls.h"
#include "platform/user/listbox_control.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {

void CopyText(char (&destination)[THiddenFileList::kTextSize], LPCSTR source) {
  lstrcpyn(destination, source ? source : "", THiddenFileList::kTextSize);
}

}  // namespace

THiddenFileList::THiddenFileList(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module), listBox_(new TListBox(this, kHiddenFileListBox, module)) {
  path_[0] = '\0';
  directory_[0] = '\0';
  CopyText(namePattern_, "*");
  CopyText(extension_, "*");
}

void THiddenFileList::SetDirectory(LPCSTR directory) { CopyText(directory_, directory); }
void THiddenFileList::SetNamePattern(LPCSTR pattern) { CopyText(namePattern_, pattern); }
void THiddenFileList::SetExtension(LPCSTR extension) { CopyText(extension_, extension); }

void THiddenFileList::SetupWindow() {
  TDialog::SetupWindow();
  listBox_->ClearList();
  // Built at full length first: a path cut to fit the buffer would name another pattern
  // (or another directory), so one that does not fit lists nothing.
  char full[3 * kTextSize + 4];
  BuildPath(full, directory_, namePattern_, extension_, sizeof full);
  if (std::strlen(full) >= sizeof path_) {
    path_[0] = '\0';
    return;
  }
  std::strcpy(path_, full);
  listBox_->SendMessage(LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(path_));
}
