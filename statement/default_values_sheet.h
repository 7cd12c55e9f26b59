/*
** TDefValSheet: the "Default Values" property sheet over zarne.ini [DefaultValues], the
** values a new closing file starts with: the settlement agent, who pays the recording
** charges, the proration day counts and the property's county and tax year. Each page reads
** its keys when first shown; OK writes the keys of the pages shown, in their order.
*/
#ifndef ZARNE_STATEMENT_DEFAULT_VALUES_SHEET_H
#define ZARNE_STATEMENT_DEFAULT_VALUES_SHEET_H

#include "platform/framework/property_sheet.h"

constexpr int IDD_DEFVAL_PRORATIONS = 20011;
constexpr int IDD_DEFVAL_SAGENT = 20012;
constexpr int IDD_DEFVAL_RECORDING = 20013;
constexpr int IDD_DEFVAL_PROPERTY = 20014;
/* "Enter a day count from 1 to 999." */
constexpr int IDS_DAY_COUNT_RANGE = 1192;

/* A page of plain or integer edits, each bound to one key. */
class TDefValEditPage : public TPropertyPage {
 public:
  struct Key {
    int controlId;
    const char* key;
    unsigned length;  // characters, without the terminator
    bool integer;
  };
  TDefValEditPage(TPropertySheet* sheet, int templateId, const Key* keys, int count,
                  unsigned readSize);
  void SetupWindow() override;
  int Apply(TNotify& notify) override;

 protected:
  const Key* keys_;
  int count_;
  unsigned readSize_;
};

class TDefValSAgent : public TDefValEditPage {
 public:
  explicit TDefValSAgent(TPropertySheet* sheet);
};

class TDefValProperty : public TDefValEditPage {
 public:
  explicit TDefValProperty(TPropertySheet* sheet);
};

/* The day counts: OK with a count that is empty or 0 is refused, the page staying shown. */
class TDefValProrations : public TDefValEditPage {
 public:
  explicit TDefValProrations(TPropertySheet* sheet);
  /* False (after the box) when a day count is empty or 0. */
  bool DayCountsValid();
};

class TDefValRecFees : public TPropertyPage {
 public:
  explicit TDefValRecFees(TPropertySheet* sheet);
  void SetupWindow() override;
  int Apply(TNotify& notify) override;
};

class TDefValSheet : public TPropertySheet {
 public:
  explicit TDefValSheet(TWindow* parent);
  /* OK checks the day counts before any page writes, so a refusal writes nothing. */
  LRESULT EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) override;

 private:
  TDefValProrations* prorations_;
};

#endif
