/*
** THiddenFileList: a dialog that is never shown, whose list box serves as a directory
** lister. The caller sets the directory and the extension (and, if it likes, the name
** pattern), creates the window, and reads the matching plain file names out of the list box.
*/
#ifndef ZARNE_TABLEACCESS_HIDDEN_FILE_LIST_H
#define ZARNE_TABLEACCESS_HIDDEN_FILE_LIST_H

#include "platform/framework/dialog.h"
#include "platform/framework/list_controls.h"

/* The template of the hidden list in the main program's resources. */
constexpr int kHiddenFileListTemplate = 15200;
/* Its list box. */
constexpr int kHiddenFileListBox = 102;

class THiddenFileList : public TDialog {
 public:
  static constexpr int kTextSize = 256;
  static constexpr int kPathSize = 260;

  THiddenFileList(TWindow* parent, TResId resId, TModule* module = nullptr);

  /* Texts longer than 255 characters are cut; a null text counts as empty. */
  void SetDirectory(LPCSTR directory);
  void SetNamePattern(LPCSTR pattern);
  void SetExtension(LPCSTR extension);
  LPCSTR Directory() const { return directory_; }
  LPCSTR NamePattern() const { return namePattern_; }
  LPCSTR Extension() const { return extension_; }
  /* The pattern listed at the last set-up: directory\pattern.extension. */
  LPCSTR Path() const { return path_; }

  /* The names found at set-up, in name order. */
  TListBox* ListBox() const { return listBox_; }

  /* Fills the list box with the plain files that match the path. */
  void SetupWindow() override;

 private:
  TListBox* listBox_;  // a child of the dialog, deleted with it
  char path_[kPathSize];
  char directory_[kTextSize];
  char namePattern_[kTextSize];
  char extension_[kTextSize];
};

#endif
