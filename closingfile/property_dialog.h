/*
** The property dialog: address, county, property id, the tax year and the legal description
** over a TPropertyXfer the command hands it; its Legal Description button loads a saved
** description and merges the open file's values into it.
*/
#ifndef ZARNE_CLOSINGFILE_PROPERTY_DIALOG_H
#define ZARNE_CLOSINGFILE_PROPERTY_DIALOG_H

#include "platform/framework/dialog.h"

class TClosingFileView;
class TEdit;

constexpr int kPropertyTemplate = 20500;
constexpr int kLegalDescriptionButtonId = 112;
constexpr int kLegalDescriptionEditId = 180;
constexpr UINT kLegalFilterString = 1050;

class TProperty : public TDialog {
 public:
  TProperty(TClosingFileView* view, TResId resId = kPropertyTemplate, TModule* module = nullptr);
  void CmLegalDescription();

 private:
  /* The chosen file's first 16383 bytes, up to a NUL; false (after saying so) when it could
     not be read. */
  bool ReadLegalFile(const char* path, char* buffer);

  TClosingFileView* view_;
  TEdit* legal_;

  DECLARE_RESPONSE_TABLE(TProperty);
};

#endif
