/*
** TRequirements: the "Requirements" dialog of the open closing file, with its two lists, the
** recording requirements (type "1A") and the other requirements (type "1B").
*/
#ifndef ZARNE_CLOSINGFILE_REQUIREMENTS_DIALOG_H
#define ZARNE_CLOSINGFILE_REQUIREMENTS_DIALOG_H

#include "closingfile/title_item_lists.h"

constexpr int kRequirementsTemplate = 20700;

class TRequirements : public TTitleItemsDialog {
 public:
  TRequirements(TClosingFileView* view, TResId resId = kRequirementsTemplate,
                TModule* module = nullptr);

 private:
  void CmLoadRecording() { LoadTitleItems(0); }
  void CmAddRecording() { AddTitleItem(0); }
  void CmModifyRecording() { ModifyTitleItem(0); }
  void CmDeleteRecording() { DeleteTitleItem(0); }
  void EvRecordingKey() { MoveTitleItem(0); }
  void CmLoadOther() { LoadTitleItems(1); }
  void CmAddOther() { AddTitleItem(1); }
  void CmModifyOther() { ModifyTitleItem(1); }
  void CmDeleteOther() { DeleteTitleItem(1); }
  void EvOtherKey() { MoveTitleItem(1); }

  DECLARE_RESPONSE_TABLE(TRequirements);
};

#endif
