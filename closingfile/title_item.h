/*
** Title items: a closing file's recording requirements, other requirements and exceptions,
** each one TITLEB record (FileNum, Type, Seq, Text with packed line breaks, Policy). Here are
** the item dialog TTINewMod with its transfer record, the grid row that shows an item, and
** the moves between policy letters and the dialog's radio buttons.
*/
#ifndef ZARNE_CLOSINGFILE_TITLE_ITEM_H
#define ZARNE_CLOSINGFILE_TITLE_ITEM_H

#include "platform/framework/dialog.h"

#include <cstddef>
#include <cstdint>

class TEdit;
class TRadioButton;

/* TITLEB's fields. */
enum TTitleBField : int {
  kTitleFileNum = 1,
  kTitleType = 2,
  kTitleSeq = 3,
  kTitleText = 4,
  kTitlePolicy = 5,
};

constexpr int kTitleItemTemplate = 20801;
/* The text buffer of an item: 16382 characters, the terminator and one byte to spare, as the
   edit control's limit of 16383 counts the terminator. */
constexpr int kTitleTextSize = 16384;
constexpr int kTitleTextLimit = 16383;
constexpr int kTitleRowTextSize = 81;

enum TTitleItemControl : int {
  kBothRadio = 201,
  kOwnerRadio = 202,
  kLoanRadio = 203,
  kTitleTextEdit = 180,
};

#pragma pack(push, 1)
/* The item dialog's transfer record, in the order its controls are made. */
struct TTINewModXfer {
  uint32_t Both;
  uint32_t Owner;
  uint32_t Loan;
  char Text[kTitleTextSize];
};

/* One row of a title-item grid: the columns at the offsets the grid gives their types. */
struct TTitleItemRow {
  char Text[kTitleRowTextSize];
  char fill1[3];
  double Seq;
  char Policy[2];
  char fill2[2];
};
#pragma pack(pop)

static_assert(sizeof(TTINewModXfer) == 16396);
static_assert(offsetof(TTINewModXfer, Owner) == 4);
static_assert(offsetof(TTINewModXfer, Loan) == 8);
static_assert(offsetof(TTINewModXfer, Text) == 12);
static_assert(sizeof(TTitleItemRow) == 96);
static_assert(offsetof(TTitleItemRow, Seq) == 84);
static_assert(offsetof(TTitleItemRow, Policy) == 92);

/* Sets the three radio buttons from a stored letter: B, O, L; any other letter sets none. */
void PolicyToRadios(const char* letter, TTINewModXfer& xfer);
/* The letter the radio buttons stand for: O, else L, else B. */
char PolicyFromRadios(const TTINewModXfer& xfer);
/* A grid row from a packed text (its first 80 characters), a key and a policy letter. */
void BuildTitleRow(TTitleItemRow& row, const char* packedText, double seq, const char* policy);

/* The item dialog: three policy radio buttons and the item's text. In delete mode it only
   shows the item, with every control disabled. The caller sets the caption, the mode and
   the transfer buffer. */
class TTINewMod : public TDialog {
 public:
  TTINewMod(TWindow* parent, TResId resId = kTitleItemTemplate, TModule* module = nullptr);
  void SetupWindow() override;

  bool DeleteMode = false;

 private:
  TRadioButton* Both;
  TRadioButton* Owner;
  TRadioButton* Loan;
  TEdit* Text;
};

#endif
