/*
** TExport1099: the 1099 export dialog. It chooses closing files by closing year, by a range
** of closing dates or by a range of file numbers, names the export file, and on OK writes
** one tab-delimited line per chosen file: the first seller's name, tax id and address, the
** file number, closing date, two statement amounts and the property address.
*/
#ifndef ZARNE_ACCOUNTING_EXPORT_1099_H
#define ZARNE_ACCOUNTING_EXPORT_1099_H

#include "platform/framework/dialog.h"

#include <string>

class TEdit;
class TRadioButton;
class TStatic;
class TWWDate;
class TWWInteger;
class TPXTable;

constexpr int kExport1099Template = 20990;

class TExport1099 : public TDialog {
 public:
  TExport1099(TWindow* parent, TResId resId = kExport1099Template, TModule* module = nullptr);
  void SetupWindow() override;

 protected:
  void CmOk() override;
  void CmSelectByYear();
  void CmSelectByDate();
  void CmSelectByFile();
  void CmBrowse();

 private:
  /* The file name, checked and its directory made; empty when the export must stop. */
  std::string ExportPath();
  /* The query text of the chosen selection; empty when it was refused (after its box). */
  std::string SelectionQuery();
  std::string YearQuery();
  std::string DateQuery();
  std::string FileQuery();
  /* Writes the lines of the answer; false after a write error (its box shown). */
  bool WriteLines(TPXTable& answer, class TWWFile& file, const char* path);
  void EnableSelection(bool year, bool dates, bool files);

  TRadioButton* ByYear;
  TWWInteger* Year;
  TRadioButton* ByDate;
  TWWDate* FirstDate;
  TWWDate* LastDate;
  TStatic* DateThrough;
  TRadioButton* ByFile;
  TEdit* FirstFile;
  TEdit* LastFile;
  TStatic* FileThrough;
  TEdit* FileName;

  DECLARE_RESPONSE_TABLE(TExport1099);
};

/* A seam for tests: when set, the selection query answers nothing, as a failed query does. */
// Owner: accounting.
extern bool gFailExportQueryForTest;

#endif
