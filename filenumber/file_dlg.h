/*
** TFileDlg: the file-number dialog. It lists every closing file's number in key order,
** shows the buyers and sellers of the number typed or picked, lets TFindFile narrow the
** list, and on OK leaves the chosen number in gFileNumber after the checks of its mode.
** Modes that take a lock hold it on the file's BUYER record until the dialog is deleted.
*/
#ifndef ZARNE_FILENUMBER_FILE_DLG_H
#define ZARNE_FILENUMBER_FILE_DLG_H

#include "filenumber/listed_numbers.h"
#include "platform/framework/dialog.h"

#include <string>
#include <vector>

class TEdit;
class TListBox;
class TStatic;
class TButton;
class TPXRecord;

/* The seven modes: who runs the dialog. */
enum TFileDlgMode {
  kFileDlgPostDeposits = 0,
  kFileDlgNew = 1,
  kFileDlgOpen = 2,
  kFileDlgSaveAs = 3,
  kFileDlgMerge = 4,
  kFileDlgDelete = 5,
  kFileDlgDisburse = 6,
};

class TFileDlg : public TDialog {
 public:
  TFileDlg(TWindow* parent, TResId resId, TModule* module = nullptr);
  ~TFileDlg() override;

  void SetupWindow() override;
  void CmOk() override;
  void EvEditChange();
  void EvListSelChange();
  void CmFind();
  void FillFileList();
  void ShowParties(const char* fileNumber);

  long mode = 0;
  long checkEmpty = 0;
  long checkOverwrite = 0;
  long mustExist = 0;
  long askNotClosingFile = 0;
  long lockBuyer = 0;

 private:
  void ApplyMode();
  /* A box under "Zarne Message" whose text is the string formatted with gFileNumber. */
  int NumberBox(UINT stringId, UINT type);
  bool LockAcceptedNumber();
  void ReleaseLock();
  /* Puts the text in the static unless it shows that text already (a set text is drawn
     again, whether it changed or not). */
  static void ShowText(TStatic* control, const char* text);

  TPXRecord* buyer_;
  TPXRecord* seller_;
  TEdit* numberEdit_;
  TListBox* numberList_;
  TStatic* buyerNames_;
  TStatic* sellerNames_;
  TStatic* findLabel_;
  /* The numbers in the list: a typed number is found by a search, not by asking the list
     item after item. */
  TListedNumbers listed_;
  /* Counts the edit's change notices, so a pick from the list can tell whether the notice
     of the number it put in the edit has shown that number's parties already. */
  unsigned long editChanges_ = 0;
  /* The number whose BUYER record this dialog locked; empty when it holds no lock. */
  char lockedNumber_[16] = "";

  DECLARE_RESPONSE_TABLE(TFileDlg);
};

#endif
