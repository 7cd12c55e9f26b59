/*
** TExceptions: the "Exceptions" dialog of the open closing file: its one list of title
** insurance exceptions (type "2").
*/
#ifndef ZARNE_CLOSINGFILE_EXCEPTIONS_DIALOG_H
#define ZARNE_CLOSINGFILE_EXCEPTIONS_DIALOG_H

#include "closingfile/title_item_lists.h"

constexpr int kExceptionsTemplate = 20800;

class TExceptions : public TTitleItemsDialog {
 public:
  TExceptions(TClosingFileView* view, TResId resId = kExceptionsTemplate,
              TModule* module = nullptr);

 private:
  void CmLoad() { LoadTitleItems(0); }
  void CmAdd() { AddTitleItem(0); }
  void CmModify() { ModifyTitleItem(0); }
  void CmDelete() { DeleteTitleItem(0); }
  void EvKey() { MoveTitleItem(0); }

  DECLARE_RESPONSE_TABLE(TExceptions);
};

#endif
