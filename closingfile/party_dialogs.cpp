/*
** The buyers', sellers' and party dialogs. They work on the view's own records: a party's OK
** writes into the BUYER or SELLER and SAGENT buffers at once, the side's OK stores the estate
** phrase and posts the side's record; the statement window's command saves the rest.
*/
#include "closingfile/party_dialogs.h"

#include "catalogue/shared_tables.h"
#include "closingfile/closing_file_view.h"
#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "platform/user/window_styles.h"
#include "platform/framework/list_controls.h"
#include "tableaccess/px_record.h"

#include <cstdio>
#include <cstring>
#include <string>

const char* const kEstatePhrases[kEstatePhraseCount] = {
    "joint tenants with right of survivorship",
    "tenants in common",
    "tenants by the entirety",
    "husband and wife",
    "an unmarried man",
    "an unmarried woman",
};

namespace {

constexpr int kEstateField = 42;
constexpr int kStoredEstateSize = 255;
constexpr int kPartyNameReadSize = 128;

/* The preview statics 111-117, in that order. */
constexpr int kPartyLine = 0, kBy1 = 1, kLine1 = 2, kSigner1 = 3, kBy2 = 4, kLine2 = 5,
              kSigner2 = 6;

/* One party's field (offset from the party's first field) and its place in the record. */
struct PartyPart {
  int offset;
  char* text;
  size_t size;
};

/* The ten record fields b .. b+9 of a party, by the record's order. */
void PartyParts(TBuyerSellerXfer& x, PartyPart (&parts)[10]) {
  PartyPart list[10] = {
      {0, x.name, sizeof x.name},     {1, x.suffix, sizeof x.suffix},
      {2, x.sig1, sizeof x.sig1},     {3, x.sig1Title, sizeof x.sig1Title},
      {4, x.sig2, sizeof x.sig2},     {5, x.sig2Title, sizeof x.sig2Title},
      {6, x.street, sizeof x.street}, {7, x.city, sizeof x.city},
      {8, x.state, sizeof x.state},   {9, x.zip, sizeof x.zip},
  };
  std::memcpy(parts, list, sizeof list);
}

int FirstPartyField(int party) { return 2 + 10 * (party - 1); }

int TaxIdField(TPartySide side, int party) {
  return side == TPartySide::Buyer ? 11 + party : 7 + party;
}

std::string WithComma(std::string text, const std::string& tail) {
  if (!tail.empty()) text += ", " + tail;
  return text;
}

}  // namespace

/* ---- TBuyerSeller ---------------------------------------------------------------------- */

DEFINE_RESPONSE_TABLE1(TBuyerSeller, TDialog)
EV_EN_CHANGE(101, UpdateSignature), EV_EN_CHANGE(103, UpdateSignature),
    EV_EN_CHANGE(104, UpdateSignature), EV_EN_CHANGE(105, UpdateSignature),
    EV_EN_CHANGE(106, UpdateSignature), EV_EN_CHANGE(102, UpdateSignature), END_RESPONSE_TABLE;

TBuyerSeller::TBuyerSeller(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  // Made in the order of the transfer record's arrays.
  new TEdit(this, 108, sizeof gBuyerSellerXfer.city);
  name_ = new TEdit(this, 101, sizeof gBuyerSellerXfer.name);
  sig1_ = new TEdit(this, 103, sizeof gBuyerSellerXfer.sig1);
  sig1Title_ = new TEdit(this, 104, sizeof gBuyerSellerXfer.sig1Title);
  sig2_ = new TEdit(this, 105, sizeof gBuyerSellerXfer.sig2);
  sig2Title_ = new TEdit(this, 106, sizeof gBuyerSellerXfer.sig2Title);
  new TEdit(this, 109, sizeof gBuyerSellerXfer.state);
  new TEdit(this, 107, sizeof gBuyerSellerXfer.street);
  suffix_ = new TEdit(this, 102, sizeof gBuyerSellerXfer.suffix);
  new TEdit(this, 110, sizeof gBuyerSellerXfer.zip);
  new TEdit(this, 118, sizeof gBuyerSellerXfer.taxId);
  for (int i = 0; i < 7; ++i) preview_[i] = new TStatic(this, 111 + i);
  SetTransferBuffer(&gBuyerSellerXfer);
}

void TBuyerSeller::SetupWindow() {
  TDialog::SetupWindow();
  UpdateSignature();
}

void TBuyerSeller::UpdateSignature() {
  if (!HWindow) return;
  char buffer[kPartyNameReadSize];
  name_->GetText(buffer, sizeof buffer);
  std::string name = buffer;
  std::string sig1 = sig1_->GetText();
  if (sig1.empty()) {
    // Signing in person: the name alone under the line.
    preview_[kBy1]->Show(SW_HIDE);
    preview_[kBy2]->Show(SW_HIDE);
    preview_[kLine2]->Show(SW_HIDE);
    preview_[kPartyLine]->Clear();
    preview_[kSigner2]->Clear();
    preview_[kLine1]->Show(SW_SHOW);
    preview_[kSigner1]->SetText(name.c_str());
    return;
  }
  preview_[kPartyLine]->SetText(WithComma(name, suffix_->GetText()).c_str());
  preview_[kBy1]->Show(SW_SHOW);
  preview_[kLine1]->Show(SW_SHOW);
  preview_[kSigner1]->SetText(WithComma(sig1, sig1Title_->GetText()).c_str());
  std::string sig2 = sig2_->GetText();
  if (sig2.empty()) {
    preview_[kBy2]->Show(SW_HIDE);
    preview_[kLine2]->Show(SW_HIDE);
    preview_[kSigner2]->Clear();
    return;
  }
  preview_[kBy2]->Show(SW_SHOW);
  preview_[kLine2]->Show(SW_SHOW);
  preview_[kSigner2]->SetText(WithComma(sig2, sig2Title_->GetText()).c_str());
}

/* ---- TBuyers and TSellers -------------------------------------------------------------- */

TPartiesDialog::TPartiesDialog(TClosingFileView* view, TPartySide side, TResId resId,
                               TModule* module)
    : TDialog(view->FileWindow(), resId, module), view_(view), side_(side) {
  estate_ = new TComboBox(this, kEstateComboId, kEstateTextLimit);
  preview_ = new TStatic(this, kPartyPreviewId, kClosingFilePartyTextSize);
}

void TPartiesDialog::SetupWindow() {
  TDialog::SetupWindow();
  for (const char* phrase : kEstatePhrases) estate_->AddString(phrase);
  ShowStoredEstate();
  UpdatePreview(false);
}

/* An empty text never goes to the prefix search, whose empty prefix would pick the first
   phrase; a text a phrase begins with becomes that phrase; any other shows as it is. */
void TPartiesDialog::ShowStoredEstate() {
  int table = side_ == TPartySide::Buyer ? kBuyerTable : kSellerTable;
  char stored[kStoredEstateSize] = "";
  if (TPXRecord* record = view_->FileRecord(table))
    record->GetString(kEstateField, stored, sizeof stored);
  if (!stored[0]) return;
  if (estate_->SetSelString(stored) >= 0) return;
  estate_->SetText(stored);
  estate_->SetEditSel(0, -1);
}

void TPartiesDialog::UpdatePreview(bool fromSelection) {
  char names[kClosingFilePartyTextSize] = "";
  if (side_ == TPartySide::Buyer) view_->JoinBuyerNames(names);
  else view_->JoinSellerNames(names);
  // On a selection change the edit part still holds the previous text.
  std::string estate;
  int index = fromSelection ? estate_->GetSelIndex() : -1;
  estate = index >= 0 ? estate_->GetString(index) : estate_->GetText();
  if (estate.size() > kEstatePreviewLength) estate.resize(kEstatePreviewLength);
  std::string text = names;
  if (!estate.empty()) text += ", " + estate;
  if (text.size() > kClosingFilePartyTextSize - 1) text.resize(kClosingFilePartyTextSize - 1);
  preview_->SetText(text.c_str());
}

/* A field whose read failed keeps its stored value unless the party dialog changed it. */
void TPartiesDialog::EditParty(int party) {
  int table = side_ == TPartySide::Buyer ? kBuyerTable : kSellerTable;
  TPXRecord* record = view_->FileRecord(table);
  TPXRecord* agent = view_->FileRecord(kSagentTable);
  if (!record || !agent) return;
  TBuyerSeller dialog(this, kBuyerSellerTemplate, GetModule());
  gBuyerSellerXfer = TBuyerSellerXfer{};
  PartyPart parts[10];
  PartyParts(gBuyerSellerXfer, parts);
  int first = FirstPartyField(party);
  bool failed[11] = {};
  for (int i = 0; i < 10; ++i)
    failed[i] = !record->GetString(first + parts[i].offset, parts[i].text, parts[i].size);
  int taxField = TaxIdField(side_, party);
  failed[10] = !agent->GetString(taxField, gBuyerSellerXfer.taxId, sizeof gBuyerSellerXfer.taxId);
  TBuyerSellerXfer filled = gBuyerSellerXfer;
  char caption[16];
  std::snprintf(caption, sizeof caption, "%s %d", side_ == TPartySide::Buyer ? "Buyer" : "Seller",
                party);
  dialog.SetCaption(caption);
  if (dialog.Execute() != IDOK) return;
  PartyPart before[10];
  PartyParts(filled, before);
  for (int i = 0; i < 10; ++i) {
    if (failed[i] && std::strcmp(parts[i].text, before[i].text) == 0) continue;
    record->SetString(first + parts[i].offset, parts[i].text);
  }
  if (!failed[10] || std::strcmp(gBuyerSellerXfer.taxId, filled.taxId) != 0)
    agent->SetString(taxField, gBuyerSellerXfer.taxId);
  UpdatePreview(false);
}

void TPartiesDialog::StoreEstate() {
  int table = side_ == TPartySide::Buyer ? kBuyerTable : kSellerTable;
  TPXRecord* record = view_->FileRecord(table);
  if (!record) return;
  char text[kEstateTextLimit] = "";
  estate_->GetText(text, sizeof text);
  record->SetString(kEstateField, text);
  // A refused write has had its box; the text stays in the buffer for the file's next save.
  (void)record->Post();
}

DEFINE_RESPONSE_TABLE1(TBuyers, TDialog)
EV_COMMAND(501, CmBuyer1), EV_COMMAND(502, CmBuyer2), EV_COMMAND(503, CmBuyer3),
    EV_COMMAND(504, CmBuyer4), EV_CBN_EDITCHANGE(kEstateComboId, UpdateGranteeFromEdit),
    EV_CBN_SELCHANGE(kEstateComboId, UpdateGranteeFromSelection),
    EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TBuyers::TBuyers(TClosingFileView* view, TResId resId, TModule* module)
    : TPartiesDialog(view, TPartySide::Buyer, resId, module) {}

void TBuyers::CmOk() {
  StoreEstate();
  TDialog::CmOk();
}

DEFINE_RESPONSE_TABLE1(TSellers, TDialog)
EV_COMMAND(501, CmSeller1), EV_COMMAND(502, CmSeller2), EV_COMMAND(503, CmSeller3),
    EV_COMMAND(504, CmSeller4), EV_CBN_EDITCHANGE(kEstateComboId, UpdateGrantorFromEdit),
    EV_CBN_SELCHANGE(kEstateComboId, UpdateGrantorFromSelection),
    EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TSellers::TSellers(TClosingFileView* view, TResId resId, TModule* module)
    : TPartiesDialog(view, TPartySide::Seller, resId, module) {}

void TSellers::CmOk() {
  StoreEstate();
  TDialog::CmOk();
}
