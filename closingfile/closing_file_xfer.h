/*
** The transfer records of the closing-file dialogs, laid out byte for byte in the order in
** which each dialog creates its controls (the framework's transfer walks them in that order),
** and the program-wide instances that keep the last values between runs.
*/
#ifndef ZARNE_CLOSINGFILE_CLOSING_FILE_XFER_H
#define ZARNE_CLOSINGFILE_CLOSING_FILE_XFER_H

#include "platform/framework/list_data.h"
#include "platform/kernel/wintypes.h"

#include <cstddef>

#pragma pack(push, 1)

/* One party of a buyers' or sellers' record and its tax id. */
struct TBuyerSellerXfer {
  char city[18];
  char name[61];
  char sig1[31];
  char sig1Title[26];
  char sig2[31];
  char sig2Title[26];
  char state[4];
  char street[36];
  char suffix[61];
  char zip[13];
  char taxId[15];
};

/* The lender: the Assigns choice, then the LENDER texts. */
struct TLenderXfer {
  TComboBoxData assigns;
  char city[18];
  char estate[71];
  char name[66];
  char sig1[36];
  char sig1Title[31];
  char sig2[36];
  char sig2Title[31];
  char state[3];
  char street[36];
  char suffix[81];
  char zip[11];
};

/* The settlement agent's fields of SAGENT. */
struct TSagentXfer {
  char name[36];
  char firm[36];
  char street[36];
  char city[18];
  char state[3];
  char zip[11];
  char taxId[15];
};

/* The property; allocated for each run. */
struct TPropertyXfer {
  char city[18];
  char county[18];
  char legal[16383];
  char state[3];
  char street[36];
  LONG taxYear;
  char zip[11];
  char propertyId[31];
};

/* Schedule A: TITLEA's texts, dates and book numbers, and EXPENSE3's two policy amounts. */
struct TScheduleAXfer {
  char commitNum[16];
  char commitTime[11];
  char loanNum[16];
  char loanTime[11];
  char ownerNum[16];
  char ownerTime[11];
  LONG commitDate;
  LONG ownerDate;
  LONG ownerRecDate;
  LONG loanDate;
  LONG loanRecDate;
  LONG ownerBook;
  LONG ownerPage;
  LONG loanBook;
  LONG loanPage;
  double ownerAmount;
  double loanAmount;
};

/* The tracking block; allocated for each run. */
struct TTrackingXfer {
  LONG fileOpenDate;
  LONG date2;
  LONG date3;
  LONG date4;
  char closing[12];
  LONG date6;
  LONG date7;
  char reference[6];
};

#pragma pack(pop)

static_assert(sizeof(TBuyerSellerXfer) == 322);
static_assert(offsetof(TBuyerSellerXfer, name) == 18 && offsetof(TBuyerSellerXfer, sig1) == 79 &&
              offsetof(TBuyerSellerXfer, sig1Title) == 110 &&
              offsetof(TBuyerSellerXfer, sig2) == 136 &&
              offsetof(TBuyerSellerXfer, sig2Title) == 167 &&
              offsetof(TBuyerSellerXfer, state) == 193 &&
              offsetof(TBuyerSellerXfer, street) == 197 &&
              offsetof(TBuyerSellerXfer, suffix) == 233 && offsetof(TBuyerSellerXfer, zip) == 294 &&
              offsetof(TBuyerSellerXfer, taxId) == 307);

static_assert(sizeof(TLenderXfer) == sizeof(TComboBoxData) + 420);
static_assert(offsetof(TLenderXfer, city) == sizeof(TComboBoxData) &&
              offsetof(TLenderXfer, estate) == sizeof(TComboBoxData) + 18 &&
              offsetof(TLenderXfer, name) == sizeof(TComboBoxData) + 89 &&
              offsetof(TLenderXfer, sig1) == sizeof(TComboBoxData) + 155 &&
              offsetof(TLenderXfer, sig1Title) == sizeof(TComboBoxData) + 191 &&
              offsetof(TLenderXfer, sig2) == sizeof(TComboBoxData) + 222 &&
              offsetof(TLenderXfer, sig2Title) == sizeof(TComboBoxData) + 258 &&
              offsetof(TLenderXfer, state) == sizeof(TComboBoxData) + 289 &&
              offsetof(TLenderXfer, street) == sizeof(TComboBoxData) + 292 &&
              offsetof(TLenderXfer, suffix) == sizeof(TComboBoxData) + 328 &&
              offsetof(TLenderXfer, zip) == sizeof(TComboBoxData) + 409);

static_assert(sizeof(TSagentXfer) == 155);
static_assert(offsetof(TSagentXfer, firm) == 36 && offsetof(TSagentXfer, street) == 72 &&
              offsetof(TSagentXfer, city) == 108 && offsetof(TSagentXfer, state) == 126 &&
              offsetof(TSagentXfer, zip) == 129 && offsetof(TSagentXfer, taxId) == 140);

static_assert(sizeof(TPropertyXfer) == 16504);
static_assert(offsetof(TPropertyXfer, county) == 18 && offsetof(TPropertyXfer, legal) == 36 &&
              offsetof(TPropertyXfer, state) == 16419 && offsetof(TPropertyXfer, street) == 16422 &&
              offsetof(TPropertyXfer, taxYear) == 16458 && offsetof(TPropertyXfer, zip) == 16462 &&
              offsetof(TPropertyXfer, propertyId) == 16473);

static_assert(sizeof(TScheduleAXfer) == 133);
static_assert(
    offsetof(TScheduleAXfer, commitTime) == 16 && offsetof(TScheduleAXfer, loanNum) == 27 &&
    offsetof(TScheduleAXfer, loanTime) == 43 && offsetof(TScheduleAXfer, ownerNum) == 54 &&
    offsetof(TScheduleAXfer, ownerTime) == 70 && offsetof(TScheduleAXfer, commitDate) == 81 &&
    offsetof(TScheduleAXfer, ownerDate) == 85 && offsetof(TScheduleAXfer, ownerRecDate) == 89 &&
    offsetof(TScheduleAXfer, loanDate) == 93 && offsetof(TScheduleAXfer, loanRecDate) == 97 &&
    offsetof(TScheduleAXfer, ownerBook) == 101 && offsetof(TScheduleAXfer, ownerPage) == 105 &&
    offsetof(TScheduleAXfer, loanBook) == 109 && offsetof(TScheduleAXfer, loanPage) == 113 &&
    offsetof(TScheduleAXfer, ownerAmount) == 117 && offsetof(TScheduleAXfer, loanAmount) == 125);

static_assert(sizeof(TTrackingXfer) == 42);
static_assert(offsetof(TTrackingXfer, date2) == 4 && offsetof(TTrackingXfer, date3) == 8 &&
              offsetof(TTrackingXfer, date4) == 12 && offsetof(TTrackingXfer, closing) == 16 &&
              offsetof(TTrackingXfer, date6) == 28 && offsetof(TTrackingXfer, date7) == 32 &&
              offsetof(TTrackingXfer, reference) == 36);

// Owner: closingfile.
extern TBuyerSellerXfer gBuyerSellerXfer;
extern TLenderXfer gLenderXfer;
extern TSagentXfer gSagentXfer;
extern TScheduleAXfer gScheduleAXfer;

#endif
