/*
** The parties of the open file: TBuyers and TSellers (the four parties of one side and its
** estate phrase, with a preview of the grantee or grantor text) and TBuyerSeller (one party,
** with a preview of its signature block). Buyers and sellers share one implementation; only
** the record, the tax-id fields, the captions and the join of names differ by side.
*/
#ifndef ZARNE_CLOSINGFILE_PARTY_DIALOGS_H
#define ZARNE_CLOSINGFILE_PARTY_DIALOGS_H

#include "platform/framework/dialog.h"

class TClosingFileView;
class TComboBox;
class TEdit;
class TStatic;

constexpr int kEstatePhraseCount = 6;
// Owner: closingfile.
extern const char* const kEstatePhrases[kEstatePhraseCount];

/* Templates and the controls the callers and tests reach. */
constexpr int kBuyersTemplate = 20100;
constexpr int kBuyerSellerTemplate = 20101;
constexpr int kSellersTemplate = 20200;
constexpr int kEstateComboId = 101;
constexpr int kPartyPreviewId = 401;
constexpr int kFirstPartyButtonId = 501;

/* The estate box holds 75 characters; its limit counts the terminator. */
constexpr unsigned kEstateTextLimit = 76;
/* The preview takes at most 70 characters of the estate. */
constexpr unsigned kEstatePreviewLength = 70;

/* The side a parties dialog works on. */
enum class TPartySide { Buyer, Seller };

/* One party: eleven edits over gBuyerSellerXfer and the signature-block preview. */
class TBuyerSeller : public TDialog {
 public:
  TBuyerSeller(TWindow* parent, TResId resId = kBuyerSellerTemplate, TModule* module = nullptr);
  void SetupWindow() override;
  void UpdateSignature();

 private:
  TEdit* name_;
  TEdit* suffix_;
  TEdit* sig1_;
  TEdit* sig1Title_;
  TEdit* sig2_;
  TEdit* sig2Title_;
  TStatic* preview_[7];

  DECLARE_RESPONSE_TABLE(TBuyerSeller);
};

/* What TBuyers and TSellers share. */
class TPartiesDialog : public TDialog {
 public:
  TPartiesDialog(TClosingFileView* view, TPartySide side, TResId resId, TModule* module);
  void SetupWindow() override;

 protected:
  /* The party dialog on party 1..4; its OK writes into the view's records. */
  void EditParty(int party);
  /* The preview: the joined names and the estate, from the selected item or the edit. */
  void UpdatePreview(bool fromSelection);
  void StoreEstate();

 private:
  void ShowStoredEstate();

  TClosingFileView* view_;
  TPartySide side_;
  TComboBox* estate_;
  TStatic* preview_;
};

class TBuyers : public TPartiesDialog {
 public:
  TBuyers(TClosingFileView* view, TResId resId = kBuyersTemplate, TModule* module = nullptr);
  void CmBuyer1() { EditParty(1); }
  void CmBuyer2() { EditParty(2); }
  void CmBuyer3() { EditParty(3); }
  void CmBuyer4() { EditParty(4); }
  void UpdateGrantee(bool fromSelection) { UpdatePreview(fromSelection); }
  void UpdateGranteeFromEdit() { UpdateGrantee(false); }
  void UpdateGranteeFromSelection() { UpdateGrantee(true); }
  void CmOk() override;

  DECLARE_RESPONSE_TABLE(TBuyers);
};

class TSellers : public TPartiesDialog {
 public:
  TSellers(TClosingFileView* view, TResId resId = kSellersTemplate, TModule* module = nullptr);
  void CmSeller1() { EditParty(1); }
  void CmSeller2() { EditParty(2); }
  void CmSeller3() { EditParty(3); }
  void CmSeller4() { EditParty(4); }
  void UpdateGrantor(bool fromSelection) { UpdatePreview(fromSelection); }
  void UpdateGrantorFromEdit() { UpdateGrantor(false); }
  void UpdateGrantorFromSelection() { UpdateGrantor(true); }
  void CmOk() override;

  DECLARE_RESPONSE_TABLE(TSellers);
};

#endif
