/*
** The prorater dialog and the statement's Prorater command.
*/
#include "statement/prorater.h"

#include "platform/user/message_box.h"
#include "statement/recalc_rules.h"
#include "tableaccess/px_record.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstdio>

TProraterXfer gProraterXfer = {0, kBlankDate, kBlankDate, 365};

namespace {

constexpr int kSettlementDateField = 2;  // SUMMARY1.2 CDATE

/* The adjustment line a field id stands for: its record, text and amount fields, and the
   four ids that show it. */
struct AdjustmentLine {
  int table = -1;
  int textField = 0;
  int ids[4] = {};
  bool buyerSide = false;
};

/* Lines 109 to 112 (ids 235-242 and 267-274) of SUMMARY1; lines 213 to 219 (ids 306-319 and
   352-365) of SUMMARY2. Two ids per line on each side. */
AdjustmentLine LineOfField(int id) {
  AdjustmentLine line;
  auto fill = [&](int table, int first, int mirror, int firstField, int k) {
    line.table = table;
    line.textField = firstField + 2 * k;
    line.ids[0] = first + 2 * k;
    line.ids[1] = first + 2 * k + 1;
    line.ids[2] = mirror + 2 * k;
    line.ids[3] = mirror + 2 * k + 1;
  };
  if (id >= 235 && id <= 242) fill(kSummary1Table, 235, 267, 30, (id - 235) / 2);
  else if (id >= 267 && id <= 274) fill(kSummary1Table, 235, 267, 30, (id - 267) / 2);
  else if (id >= 306 && id <= 319) fill(kSummary2Table, 306, 352, 43, (id - 306) / 2);
  else if (id >= 352 && id <= 365) fill(kSummary2Table, 306, 352, 43, (id - 352) / 2);
  line.buyerSide = line.table == kSummary1Table;
  return line;
}

LONG JanuaryFirst(int year) {
  LONG date = kBlankDate;
  EncodeDate(date, 1, 1, year);
  return date;
}

int YearOf(LONG date) {
  int month, day, year;
  if (date == kBlankDate) DecodeDate(TodayDate(), month, day, year);
  else DecodeDate(date, month, day, year);
  return year;
}

/* The dates offered around the settlement date; other fields keep the last use's. */
void PresetDates(const AdjustmentLine& line, LONG settlement) {
  if (line.table == kSummary1Table) {
    gProraterXfer.from = settlement;
    gProraterXfer.to = JanuaryFirst(YearOf(settlement) + 1);
  } else if (line.table == kSummary2Table) {
    gProraterXfer.to = settlement;
    gProraterXfer.from = JanuaryFirst(YearOf(settlement));
  }
}

int ShortYear(int year) { return year < 2000 ? year - 1900 : year - 2000; }

}  // namespace

TProrater::TProrater(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  // Made in the order of the transfer record's fields.
  amount_ = new TWWMoney(this, IDC_PRORATER_AMOUNT, 14);
  from_ = new TWWDate(this, IDC_PRORATER_FROM, 11);
  to_ = new TWWDate(this, IDC_PRORATER_TO, 11);
  days_ = new TWWInteger(this, IDC_PRORATER_DAYS, 4);
}

void TProrater::CmOk() {
  TProraterXfer typed{0, kBlankDate, kBlankDate, 0};
  amount_->Transfer(&typed.amount, tdGetData);
  from_->Transfer(&typed.from, tdGetData);
  to_->Transfer(&typed.to, tdGetData);
  days_->Transfer(&typed.days, tdGetData);
  bool valid = typed.from != kBlankDate && typed.to != kBlankDate && typed.from < typed.to &&
               typed.amount >= 0.0001 && typed.days > 0;
  if (!valid) {
    MessageBox(GetHandle(), ResourceString(kProrationInvalidText).text,
               ResourceString(kZarneMessageCaption).text, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  TDialog::CmOk();
}

double ProratedShare(const TProraterXfer& input) {
  return (static_cast<double>(input.to) - static_cast<double>(input.from)) *
         (input.amount / input.days);
}

void FormatProrationPeriod(char* text, size_t size, LONG from, LONG to) {
  int fm, fd, fy, tm, td, ty;
  DecodeDate(from, fm, fd, fy);
  DecodeDate(to, tm, td, ty);
  std::snprintf(text, size, "%d/%d/%d - %d/%d/%d", fm, fd, ShortYear(fy), tm, td, ShortYear(ty));
}

bool RunProrater(TWindow* parent, RecalcView& view, int currentFieldId,
                 void (*beforeStore)(void* context), void* context) {
  TPXRecord* summary1 = view.Record(kSummary1Table);
  if (!summary1) return false;
  LONG settlement = kBlankDate;
  summary1->GetLong(kSettlementDateField, settlement);
  AdjustmentLine line = LineOfField(currentFieldId);

  gProraterXfer.amount = 0;
  gProraterXfer.days = 365;
  PresetDates(line, settlement);
  TProrater dialog(parent);
  dialog.SetTransferBuffer(&gProraterXfer);
  if (dialog.Execute() != IDOK) return false;

  double share = ProratedShare(gProraterXfer);
  char period[64];
  FormatProrationPeriod(period, sizeof period, gProraterXfer.from, gProraterXfer.to);
  if (beforeStore) beforeStore(context);
  if (TPXRecord* record = line.table >= 0 ? view.Record(line.table) : nullptr) {
    record->SetString(line.textField, period);
    record->SetDouble(line.textField + 1, share);
    for (int id : line.ids) view.RepaintFieldById(id);
    if (line.buyerSide) {
      Total120(view);
      Total420(view);
    } else {
      Total220(view);
      Total520(view);
    }
  }
  Total303(view);
  Total603(view);
  return true;
}
