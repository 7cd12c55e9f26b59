/*
** Printing the statement: the page mapping, the backgrounds of stmtbg32, and the rows of the
** generated position tables with their special codes, privacy copies and fonts.
*/
#include "statement/hud1_printout.h"

#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "hud_print_tables.inc"
#include "platform/gdi/gdi.h"
#include "script/field_text.h"
#include "statement/field_engine.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <string>

namespace {

using hudform::PrintRow;
using Rows = std::span<const PrintRow>;

constexpr unsigned kRowTextSize = 300;
constexpr unsigned kPartTextSize = 82;
constexpr unsigned kExtendedProbeSize = 256;
constexpr int kFirstExtendedId = 577;
constexpr int kLastExtendedId = 639;
constexpr int kFullPageHeight = 13250;
constexpr const char* kFace = "Times New Roman";
constexpr const char* kNoTaxId = "_____________";
constexpr int kDateAboveName = 160;
/* The tax ids are kept in the SAGENT record: the first seller's (S1TAXID) and the agent's. */
constexpr int kSellerTaxId = 8;
constexpr int kSagentTaxId = 16;

/* A blank date prints as nothing, as the screen shows it. */
std::string FieldText(RespaWindow* view, int id, char mode, unsigned size = kRowTextSize) {
  std::string text(size, '\0');
  FormatFieldTextById(view, id, text.data(), size, mode, "");
  text.resize(std::strlen(text.c_str()));
  return text;
}

/* A font made for one stretch of a page and released at its end, the previous one back. */
class PageFont {
 public:
  PageFont(HDC dc, int height, int weight = FW_NORMAL) : dc_(dc) {
    font_ = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kFace);
    previous_ = SelectObject(dc_, font_);
  }
  ~PageFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
  }
  PageFont(const PageFont&) = delete;
  PageFont& operator=(const PageFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

void OutText(HDC dc, int x, int y, UINT align, const std::string& text) {
  if (text.empty()) return;
  SetTextAlign(dc, align);
  TextOut(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

/* Names may hold "&": drawn without prefix handling so it is not taken for a mnemonic. */
void WrapText(HDC dc, int x, int y, int right, int height, const std::string& text) {
  if (text.empty()) return;
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  RECT box{x, y, right, y - height};
  DrawText(dc, text.c_str(), -1, &box, DT_WORDBREAK | DT_NOPREFIX);
}

struct AddressCode {
  int code, first, second, third;
};
constexpr AddressCode kAddressCodes[] = {{-103, 109, 110, 111},
                                         {-104, 150, 151, 152},
                                         {-105, 195, 196, 197},
                                         {-106, 206, 207, 208},
                                         {-107, 202, 203, 204}};

struct PeriodCode {
  int code, first, second;
};
constexpr PeriodCode kPeriodDates[] = {{-109, 220, 221}, {-111, 225, 226}, {-113, 230, 231},
                                       {-115, 291, 292}, {-117, 296, 297}, {-119, 301, 302}};
constexpr PeriodCode kPeriodAmounts[] = {{-108, 222, 223}, {-110, 227, 228}, {-112, 232, 233},
                                         {-114, 293, 294}, {-116, 298, 299}, {-118, 303, 304}};

/* The paid-outside-closing codes of page 2 and the field each prints. */
int PocFieldId(int code) {
  static constexpr int kTop[] = {380, 383, 386, 390, 394, 397, 401, 404, 408, 412, 416, 420};
  static constexpr int kExtended[] = {578, 582, 586, 590, 594, 598, 602, 606, 610};
  if (code <= -122 && code >= -133) return kTop[-122 - code];
  if (code <= -134 && code >= -142) return kExtended[-134 - code];
  if (code <= -143 && code >= -145) return 571 + (-143 - code);
  return 0;
}

class PagePrinter {
 public:
  PagePrinter(RespaWindow* view, const THUDPrintout& printout, HDC dc)
      : view_(view), out_(printout), dc_(dc) {}

  bool SidePrints(unsigned side) const {
    if (!out_.privacyOn) return true;
    return (out_.printBorrower && side != 2) || (out_.printSeller && side != 1);
  }

  void PlainRow(const PrintRow& row, char mode = '>') {
    if (!SidePrints(row.side)) return;
    OutText(dc_, row.x, row.y, row.align, FieldText(view_, row.code, mode));
  }

  void Page1Row(const PrintRow& row) {
    if (row.code > 0) {
      if (row.code == 574 || row.code == 575) return PartyVesting(row);
      if (row.code == 212 || row.code == 576) return DateRow(row);
      return PlainRow(row);
    }
    Page1Special(row);
  }

  /* Ids 468 and 570 show zero when S1008 is set; the captions of line 1008 go with it. */
  void LayoutRow(const PrintRow& row, bool line1008Set) {
    if (row.code < 0) return PocRow(row);
    if ((row.code == 468 || row.code == 570) && line1008Set) {
      PlainRow(row, '\0');
      return;
    }
    PlainRow(row);
    if (!line1008Set) return;
    if (row.code == 466) OutText(dc_, 3000, row.y, TA_LEFT, "months  @");
    if (row.code == 467) OutText(dc_, 4500, row.y, TA_LEFT, "per month");
  }

  void PocRow(const PrintRow& row) {
    bool extendedPoc = row.code <= -134 && row.code >= -142;
    if (extendedPoc && !SidePrints(row.side)) return;
    int id = PocFieldId(row.code);
    if (!id) return;
    std::string text = FieldText(view_, id, '>');
    if (text.empty()) return;
    OutText(dc_, row.x, row.y, row.align, text + "  p.o.c.");
  }

  void SignatureBlock(Rows rows) {
    for (const PrintRow& row : rows) {
      if (row.code == 212) {
        if (out_.dateSignatures) OutText(dc_, row.x, row.y, row.align, out_.dateText);
        continue;
      }
      if (!SidePrints(row.side)) continue;
      std::string name = FieldText(view_, row.code, '>');
      if (name.empty()) continue;
      OutText(dc_, row.x, row.y, row.align, name);
      if (out_.dateSignatures) {
        int dateX = row.side == 2 ? 7300 : 3200;
        OutText(dc_, dateX, row.y + kDateAboveName, TA_LEFT, out_.dateText);
      }
    }
  }

 private:
  void DateRow(const PrintRow& row) {
    if (!SidePrints(row.side)) return;
    std::string text = FieldText(view_, row.code, '*');
    if (row.code == 576 && text.empty()) text = FieldText(view_, 212, '*');
    OutText(dc_, row.x, row.y, row.align, text);
  }

  /* 574 and 575 are seller-side texts: left off a borrower's copy whatever their class. */
  void PartyVesting(const PrintRow& row) {
    if (out_.privacyOn && !out_.printSeller) return;
    WrapText(dc_, row.x, row.y, 6890, 145, FieldText(view_, row.code, '>'));
  }

  void Page1Special(const PrintRow& row) {
    char names[kPartyTextSize] = "";
    switch (row.code) {
      case -101:
        GetBuyerNames(view_, names, sizeof names);
        return WrapText(dc_, row.x, row.y, 3950, 400, names);
      case -102:
        GetSellerNames(view_, names, sizeof names);
        return WrapText(dc_, row.x, row.y, 7900, 400, names);
      case -143: return PropertyId(row);
      default: break;
    }
    for (const AddressCode& address : kAddressCodes)
      if (address.code == row.code) return AddressLine(row, address);
    for (const PeriodCode& period : kPeriodDates)
      if (period.code == row.code)
        return OutText(dc_, row.x, row.y, row.align,
                       Part(period.first) + "  to  " + Part(period.second));
    for (const PeriodCode& period : kPeriodAmounts)
      if (period.code == row.code) return PeriodAmount(row, period);
  }

  std::string Part(int id) { return FieldText(view_, id, '\0', kPartTextSize); }

  void AddressLine(const PrintRow& row, const AddressCode& address) {
    std::string first = Part(address.first);
    std::string line =
        first + (first.empty() ? "" : ", ") + Part(address.second) + "  " + Part(address.third);
    OutText(dc_, row.x, row.y, row.align, line);
    if (row.code == -104) TaxId(kSellerTaxId, 7800, row.y);
    if (row.code == -107) TaxId(kSagentTaxId, 3850, row.y);
  }

  void TaxId(int field, int x, int y) {
    char id[kPartTextSize] = "";
    if (TPXRecord* record = view_->records[kSagentTable]) record->GetString(field, id, sizeof id);
    OutText(dc_, x, y, TA_RIGHT, std::string("TIN: ") + (id[0] ? id : kNoTaxId));
  }

  void PeriodAmount(const PrintRow& row, const PeriodCode& period) {
    std::string amount = Part(period.first);
    if (amount == "0.00") return;
    OutText(dc_, row.x, row.y, row.align, amount + " / " + Part(period.second) + " days");
  }

  void PropertyId(const PrintRow& row) {
    char id[kPartTextSize] = "";
    if (!GetFieldText(view_, "PID", id, sizeof id) || !id[0]) return;
    OutText(dc_, row.x, row.y, row.align, std::string("Prop Id: ") + id);
  }

  RespaWindow* view_;
  const THUDPrintout& out_;
  HDC dc_;
};

}  // namespace

void SignatureDateText(RespaWindow* view, char* out, unsigned size) {
  if (size == 0) return;
  out[0] = '\0';
  TFieldNode* field = FindFieldByNumber(&gRespaFieldList, 212);
  TPXRecord* record =
      field && field->tableIndex < kRespaRecordCount ? view->records[field->tableIndex] : nullptr;
  LONG date = kBlankDate;
  if (!record || !record->GetLong(field->fieldNumber, date) || date == kBlankDate) return;
  FormatFieldTextById(view, 212, out, size, '>');
}

THUDPrintout::THUDPrintout(const char* title, RespaWindow* view) : TPrintout(title), view_(view) {
  SignatureDateText(view_, dateText, sizeof dateText);
  // An id the field list does not know leaves the buffer as it was: cleared for each id.
  char probe[kExtendedProbeSize];
  for (int id = kFirstExtendedId; id <= kLastExtendedId && !extended_; ++id) {
    probe[0] = '\0';
    FormatFieldTextById(view_, id, probe, sizeof probe, '>');
    extended_ = probe[0] != '\0';
  }
}

void THUDPrintout::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = 1;
  maxPage = separateSignaturePage ? 3 : 2;
  selFromPage = 0;
  selToPage = 0;
}

bool THUDPrintout::HasPage(int pageNumber) {
  return pageNumber == 1 || pageNumber == 2 || (pageNumber == 3 && separateSignaturePage);
}

int THUDPrintout::PageHeight(int page) const {
  if (page != 2) return kFullPageHeight;
  if (extended_) return separateSignaturePage ? 13630 : 15700;
  return separateSignaturePage ? 11580 : kFullPageHeight;
}

void THUDPrintout::PrintPage(int page, TRect&, unsigned) {
  HDC dc = DC ? DC->GetHDC() : nullptr;
  if (!dc) return;
  int previousMode = SetMapMode(dc, MM_ANISOTROPIC);
  SIZE previousViewport{}, previousWindow{};
  SetViewportExtEx(dc, PageSize.cx, PageSize.cy, &previousViewport);
  SetWindowExtEx(dc, kHudPageWidth, -PageHeight(page), &previousWindow);
  UINT previousAlign = GetTextAlign(dc);
  if (page == 1) PrintPage1(dc);
  else if (page == 2) PrintPage2(dc);
  else if (page == 3) PrintPage3(dc);
  SetTextAlign(dc, previousAlign);
  SetWindowExtEx(dc, previousWindow.cx, previousWindow.cy, nullptr);
  SetViewportExtEx(dc, previousViewport.cx, previousViewport.cy, nullptr);
  SetMapMode(dc, previousMode);
}

void THUDPrintout::PrintPage1(HDC dc) {
  PrintHUD1ABkg(dc, gdiLines);
  PageFont font(dc, 128);
  PagePrinter printer(view_, *this, dc);
  for (const PrintRow& row : kHudPage1) printer.Page1Row(row);
}

void THUDPrintout::PrintPage2(HDC dc) {
  if (extended_) PrintHUD1BExtraBkg(dc, gdiLines);
  else PrintHUD1BStdBkg(dc, gdiLines);
  bool signatures = !separateSignaturePage;
  if (signatures) {
    if (extended_) PrintHUD1BExtraSigBkg(dc);
    else PrintHUD1BStdSigBkg(dc);
  }
  PagePrinter printer(view_, *this, dc);
  PageFont font(dc, 128);
  for (const PrintRow& row : kHudPage2Top) {
    if (row.code < 0) printer.PocRow(row);
    else printer.PlainRow(row);
  }
  bool line1008Set = !FieldText(view_, 465, '>').empty();
  Rows layout = extended_ ? Rows(kHudPage2Extended) : Rows(kHudPage2Standard);
  for (const PrintRow& row : layout) printer.LayoutRow(row, line1008Set);
  {
    PageFont bold(dc, 135, FW_BOLD);
    Rows totals = extended_ ? Rows(kHudPage2TotalsExtended) : Rows(kHudPage2TotalsStandard);
    for (const PrintRow& row : totals) printer.PlainRow(row);
  }
  PageFont small(dc, 111);
  Rows loans = extended_ ? Rows(kHudLoanLinesExtended) : Rows(kHudLoanLinesStandard);
  for (const PrintRow& row : loans) printer.PlainRow(row);
  if (!extended_ && signatures) printer.SignatureBlock(kHudSignatureStandard);
  int revisionY = extended_ ? (signatures ? -15500 : -13380) : (signatures ? -13000 : -11330);
  OutText(dc, 7880, revisionY, TA_RIGHT, "HUD-1 (Rev 3/86)");
  if (extended_ && signatures) {
    PageFont signatureFont(dc, 125);
    printer.SignatureBlock(kHudSignatureExtended);
  }
}

void THUDPrintout::PrintPage3(HDC dc) {
  PrintHUD1CSigBkg(dc);
  PageFont font(dc, 111);
  OutText(dc, 0, 0, TA_LEFT, "File Number: " + FieldText(view_, 101, '>'));
  PagePrinter printer(view_, *this, dc);
  printer.SignatureBlock(kHudSignaturePage3);
}
