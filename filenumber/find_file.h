/*
** TFindFile: the lookup of closing files by a buyer's or seller's name, the lender's name
** or the property's legal description, or the listing of every file number. It fills the
** file-number dialog's list with the numbers of the matching files.
*/
#ifndef ZARNE_FILENUMBER_FIND_FILE_H
#define ZARNE_FILENUMBER_FIND_FILE_H

#include "platform/framework/dialog.h"

class TComboBox;
class TEdit;
class TCheckBox;
class TStatic;
class TListBox;

class TFindFile : public TDialog {
 public:
  TFindFile(TWindow* parent, TResId resId, TModule* module = nullptr);

  void SetupWindow() override;
  void CmListAll();
  void CmOk() override;

  /* 1 after OK when every number was listed. */
  long listAll = 0;
  /* The list the numbers go to, set by the creator. */
  TListBox* targetList = nullptr;

 private:
  TComboBox* kind_;
  TEdit* findText_;
  TCheckBox* listAllBox_;
  TStatic* lookupLabel_;
  TStatic* findLabel_;

  DECLARE_RESPONSE_TABLE(TFindFile);
};

/* Whether the upper-cased text holds the upper-cased find text (Windows-1252 letters). */
bool FindTextMatches(const char* upperFindText, char* text);

#endif
