/*
** TFileDlg: the file-number dialog. It lists every closing file's number in key order,
** shows the buyers and sellers of the number typed or picked, lets TFindFile narrow the
** list, and on OK leaves the chosen number in gFileNumber after the checks of its mode.
** Modes that take a lock hold it on the file's BUYER record until the dialog is deleted.
*/
#ifndef ZARNE_FILENUMBER_FILE_DLG_H
#define ZARNE_FILENUMBER_FILE_DLG_H

#include "platform/framework/dialog.h"

#include <string>
#include <utility>
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
  /* Learns the numbers the list now holds, sorted, for the search of a typed number. */
  void LearnListed(std::vector<std::string> numbers);
  /* The list index of exactly that number, or -1. */
  int ListedIndex(const char* number) const;

  TPXRecord* buyer_;
  TPXRecord* seller_;
  TEdit* numberEdit_;
  TListBox* numberList_;
  TStatic* buyerNames_;
  TStatic* sellerNames_;
  TStatic* findLabel_;
  /* The numbers in the list with their list indexes, ordered by number: a typed number is
     found by a binary search, not by asking the list item after item. */
  std::vector<std::pair<std::string, int>> listed_;
  /* Counts the edit's change notices, so a pick from the list can tell whether the notice
     of the number it put in the edit has shown that number's parties already. */
  unsigned long editChanges_ = 0;
  /* The number whose BUYER record this dialog locked; empty when it holds no lock. */
  char lockedNumber_[16] = "";

  DECLARE_RESPONSE_TABLE(TFileDlg);
};

#endif
