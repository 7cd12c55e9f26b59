/*
** TBankEditor: the "Bank Editor" dialog over the twenty BANK records (keys 0 to 19): their
** names and the reconciliation figures kept with each. The user steps from key to key with
** "<" and ">"; OK writes back only what was changed, record by record under a lock, so that
** figures another station's reconciliation wrote meanwhile survive.
*/
#ifndef ZARNE_ACCOUNTING_BANK_EDITOR_H
#define ZARNE_ACCOUNTING_BANK_EDITOR_H

#include "platform/framework/dialog.h"

#include <string>

class TEdit;
class TStatic;
class TWWDate;
class TWWMoney;

constexpr int kBankEditorTemplate = 20980;
constexpr int kBankKeyCount = 20;

/* One BANK record as the editor holds it. */
struct TBankEntry {
  char AccountName[41];
  char BankName[41];
  char AccountNumber[21];
  LONG LastCloseDate;  // date numbers, blank kBlankDate
  LONG LastBalanceDate;
  double LastBeginBalance;
  double LastEndBalance;
};

class TBankEditor : public TDialog {
 public:
  TBankEditor(TWindow* parent, TResId resId = kBankEditorTemplate, TModule* module = nullptr);
  ~TBankEditor() override;
  void SetupWindow() override;

  /* The working copy, index = key number, and the entry shown. */
  TBankEntry Banks[kBankKeyCount];
  int CurrentKey = 0;

 protected:
  void CmOk() override;
  void CmNext();
  void CmPrevious();

 private:
  /* Reads each key's record by an equal search on its key; a missing key gives an empty
     entry (empty texts, blank dates, zero balances). */
  void ReadBanks();
  void ShowEntry();
  void StoreEntry();
  /* Moves the current key's entry into the controls (tdSetData) or back (tdGetData). */
  void TransferEntry(TTransferDirection direction);
  /* Writes the changed fields of one key; false when it was not saved (the table layer has
     shown why). */
  bool SaveKey(int key);
  /* "3, 5" for the keys whose save failed. */
  static std::string KeyList(const bool* failed);

  /* The entries as read (or as last saved), to tell what the user changed. */
  TBankEntry Stored[kBankKeyCount];
  bool Present[kBankKeyCount];

  TStatic* KeyNumber;
  TEdit* AccountName;
  TEdit* BankName;
  TEdit* AccountNumber;
  TWWDate* LastCloseDate;
  TWWDate* LastBalanceDate;
  TWWMoney* LastBeginBalance;
  TWWMoney* LastEndBalance;

  DECLARE_RESPONSE_TABLE(TBankEditor);
};

#endif
