/*
** The check printout: the check font, thousandths of an inch from the printable area's
** upper-left corner, and every item at each of its two positions that is placed.
*/
#include "accounting/check_printout.h"

#include "accounting/report_drawing.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/value_forms.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kCheckFontHeight = -138;  // a character height of 0.138 inch
constexpr int kCheckFontWeight = 700;
constexpr char kCheckFontFace[] = "Helv";
constexpr int kCopyOffsetOfPoint = 2;
constexpr int kCopyOffsetOfBox = 4;

/* The row's text field, terminated even when the grid handed back a full one. */
template <size_t D, size_t S>
void CopyField(char (&destination)[D], const char (&source)[S]) {
  static_assert(D > S);
  std::memcpy(destination, source, S);
  destination[S] = '\0';
}

struct TItemShape {
  int first;
  bool box;
};
constexpr TItemShape kItems[] = {
    {kCheckFileNumberItem, false},   {kCheckShortDateItem, false},  {kCheckNumberItem, false},
    {kCheckAmountItem, false},       {kCheckDescriptionItem, true}, {kCheckBuyersItem, true},
    {kCheckSellersItem, true},       {kCheckLongDateItem, false},   {kCheckAmountWordsItem, true},
    {kCheckSecondAmountItem, false}, {kCheckPayeeItem, true},
};

/* The values of one position, all placed: x and y, and for a box its width and height. */
bool PositionPlaced(const short* values, int count) {
  for (int i = 0; i < count; ++i)
    if (values[i] < 0) return false;
  return true;
}
}  // namespace

const char kCheckFormNotSetUp[] =
    "No item of the check form has a position, so the check would print blank. Place the "
    "items in Options, Check Form first; nothing was printed or recorded.";

bool CheckFormHasPlacedItem(const short* layout) {
  for (const TItemShape& item : kItems) {
    const int size = item.box ? 4 : 2;
    if (PositionPlaced(layout + item.first, size) ||
        PositionPlaced(layout + item.first + size, size))
      return true;
  }
  return false;
}

TCheckPrintout::TCheckPrintout(const char* title, const TDisburseCheckRow* row, const char* buyers,
                               const char* sellers, const short* layout)
    : TPrintout(title),
      Row(row),
      Buyers(buyers ? buyers : ""),
      Sellers(sellers ? sellers : ""),
      Layout(layout ? layout : gCheckFormLayout) {}

TCheckPrintout::~TCheckPrintout() = default;

void TCheckPrintout::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = 1;
  maxPage = INT_MAX;
  selFromPage = 0;
  selToPage = 0;
}

void TCheckPrintout::PrintPoint(HDC dc, int item, const char* text) const {
  for (int at : {item, item + kCopyOffsetOfPoint}) {
    const int x = Layout[at], y = Layout[at + 1];
    if (x < 0 || y < 0) continue;
    TextOut(dc, x, -y, text, static_cast<int>(std::strlen(text)));
  }
}

void TCheckPrintout::PrintBox(HDC dc, int item, const char* text) const {
  for (int at : {item, item + kCopyOffsetOfBox}) {
    const int x = Layout[at], y = Layout[at + 1], w = Layout[at + 2], h = Layout[at + 3];
    if (x < 0 || y < 0 || w < 0 || h < 0) continue;
    RECT box{x, -y, x + w, -y - h};
    // No prefix: a payee "Smith & Jones" keeps its '&'.
    DrawText(dc, text, -1, &box, DT_WORDBREAK | DT_NOPREFIX);
  }
}

void TCheckPrintout::PrintPage(int, TRect&, unsigned) {
  if (DC == nullptr || Row == nullptr) return;
  HDC dc = DC->GetHDC();
  HFONT font = CreateFont(kCheckFontHeight, 0, 0, 0, kCheckFontWeight, 0, 0, 0, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, kCheckFontFace);
  SetMapMode(dc, MM_HIENGLISH);
  HGDIOBJ previous = SelectObject(dc, font);

  char fileNumber[sizeof Row->FileNum + 1];
  char payee[sizeof Row->PayeeDepositor + 1];
  char description[sizeof Row->Description + 1];
  CopyField(fileNumber, Row->FileNum);
  CopyField(payee, Row->PayeeDepositor);
  CopyField(description, Row->Description);
  const double amount = RowAmount(*Row);
  char shortDate[kDateTextSize], longDate[32], number[40], amountText[kReportAmountSize],
      words[kAmountWordsSize];
  FormatShortDate(shortDate, Row->Date, sizeof shortDate);
  FormatLongDate(longDate, Row->Date, sizeof longDate);
  std::snprintf(number, sizeof number, "Check Number: %ld", static_cast<long>(Row->Number));
  FormatReportAmount(amountText, sizeof amountText, amount);
  AmountInWords(words, amount, sizeof words);

  PrintPoint(dc, kCheckFileNumberItem, fileNumber);
  PrintPoint(dc, kCheckShortDateItem, shortDate);
  PrintPoint(dc, kCheckNumberItem, number);
  PrintPoint(dc, kCheckAmountItem, amountText);
  PrintBox(dc, kCheckDescriptionItem, description);
  PrintBox(dc, kCheckBuyersItem, Buyers);
  PrintBox(dc, kCheckSellersItem, Sellers);
  PrintPoint(dc, kCheckLongDateItem, longDate);
  PrintBox(dc, kCheckAmountWordsItem, words);
  PrintPoint(dc, kCheckSecondAmountItem, amountText);
  PrintBox(dc, kCheckPayeeItem, payee);

  SelectObject(dc, previous);
  DeleteObject(font);
}
