/*
** The statement printed to the PDF device and read back with pdftotext: the pages of each
** choice, plain fields and special rows, privacy copies, the extended layout and the
** signature dates; a recording DC for positions, fonts and the restored mapping; and the
** rendered pages looked at against the form.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "hudform/print_layout.h"
#include "hud_print_tables.inc"
#include "platform/framework/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/recording_dc.h"
#include "statement/hud1_options.h"
#include "statement/hud1_printout.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cmath>
#include <span>

#include <filesystem>
#include <regex>

namespace {

class PrintoutTest : public StatementCommandsTest {
 protected:
  /* A file whose two columns hold different figures, so a privacy copy can tell them. */
  RespaWindow* FilledFile(const std::string& number = "P-1") {
    RespaWindow* view = OpenFile(number);
    Type(view, 102, "A & B Holdings");
    Type(view, 112, "Second Buyer");
    Type(view, 143, "Carol Seller");
    Type(view, 108, "12 Elm Street");
    Type(view, 109, "Springfield");
    Type(view, 110, "IL");
    Type(view, 111, "62701");
    Type(view, 212, "3/15/24");
    Type(view, 213, "250000");
    Type(view, 217, "1234.5");     // line 104, borrower side
    Type(view, 248, "seller104");  // line 404's text, seller side
    Type(view, 249, "4321.25");    // line 404, seller side
    return view;
  }
};

TEST_F(PrintoutTest, TwoPagesWithTheNamesTheAmountsAndTheLongSettlementDate) {
  RespaWindow* view = FilledFile();
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(Holds(pages[0], "A & B Holdings and Second Buyer")) << pages[0];
  EXPECT_TRUE(Holds(pages[0], "Carol Seller"));
  EXPECT_TRUE(Holds(pages[0], "250,000.00"));
  EXPECT_TRUE(Holds(pages[0], "1,234.50"));
  EXPECT_TRUE(Holds(pages[0], "4,321.25"));
  EXPECT_TRUE(Holds(pages[0], "P-1"));
  EXPECT_TRUE(Holds(pages[0], "12 Elm Street"));
  // pdftotext closes up the double spaces; the recording DC sees them.
  EXPECT_TRUE(Holds(pages[0], "Springfield, IL 62701"));
  // The disbursement date is empty: the settlement date prints in its place too.
  size_t first = pages[0].find("March 15, 2024");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(pages[0].find("March 15, 2024", first + 1), std::string::npos);
  // Neither tax id is set: both TIN lines print their blank.
  size_t tin = pages[0].find("TIN: _____________");
  ASSERT_NE(tin, std::string::npos);
  EXPECT_NE(pages[0].find("TIN: _____________", tin + 1), std::string::npos);
  EXPECT_TRUE(Holds(pages[1], "HUD-1 (Rev 3/86)"));
  EXPECT_TRUE(Holds(pages[1], "Carol Seller"));
  EXPECT_TRUE(Holds(pages[1], "Second Buyer"));
}

TEST_F(PrintoutTest, SignaturePageAndCopiesChangeThePageCount) {
  RespaWindow* view = FilledFile();
  gHud1Options.SigPage3 = 1;
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(Holds(pages[2], "File Number: P-1"));
  EXPECT_TRUE(Holds(pages[2], "A & B Holdings"));
  EXPECT_TRUE(Holds(pages[2], "Carol Seller"));
  // Page 2 keeps its revision text but no signature rows.
  EXPECT_TRUE(Holds(pages[1], "HUD-1 (Rev 3/86)"));
  EXPECT_FALSE(Holds(pages[1], "Carol Seller"));
  EXPECT_FALSE(Holds(pages[1], "03/15/2024"));

  gHud1Options.SigPage3 = 0;
  std::vector<std::string> copies = Print(view, 2);
  ASSERT_EQ(copies.size(), 4u);
  // A page printed twice prints the same.
  EXPECT_EQ(copies[0], copies[2]);
  EXPECT_EQ(copies[1], copies[3]);
}

TEST_F(PrintoutTest, TaxIdsPropertyIdAndProrationTexts) {
  RespaWindow* view = OpenFile("P-2");
  view->records[kSagentTable]->SetString(8, "36-1234567");  // S1TAXID
  view->records[kSellerTable]->SetString(8, "9 Oak Lane");  // the seller's street
  view->records[kSagentTable]->SetString(16, "AG-99");
  view->records[kPropertyTable]->SetString(9, "PIN 14-22-7");
  Type(view, 220, "1/1/24");
  Type(view, 221, "3/15/24");
  Type(view, 222, "1200");
  Type(view, 223, "366");
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(Holds(pages[0], "TIN: 36-1234567"));
  EXPECT_FALSE(Holds(pages[0], "TIN: 9 Oak"));
  EXPECT_TRUE(Holds(pages[0], "TIN: AG-99"));
  EXPECT_TRUE(Holds(pages[0], "Prop Id: PIN 14-22-7"));
  // Line 106 on both sides: its period and its amount per days.
  std::regex period(R"(01/01/2024\s+to\s+03/15/2024)");
  EXPECT_TRUE(std::regex_search(pages[0], period)) << pages[0];
  EXPECT_TRUE(Holds(pages[0], "1,200.00 / 366 days"));
  // Lines 107 to 212 hold nothing: their "to" prints alone, as blank dates print nothing,
  // their amount lines not at all; line 106 prints on both sides.
  EXPECT_FALSE(Holds(pages[0], "/ /")) << pages[0];
  int amountLines = 0;
  for (size_t at = pages[0].find(" days"); at != std::string::npos;
       at = pages[0].find(" days", at + 1))
    ++amountLines;
  EXPECT_EQ(amountLines, 2);
}

TEST_F(PrintoutTest, PaidOutsideClosingAmountsCarryTheirMark) {
  RespaWindow* view = OpenFile("P-3");
  Type(view, 380, "750");
  view->records[kExtraTable]->SetDouble(15, 88.5);  // 571, line 902's p.o.c. amount
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(std::regex_search(pages[1], std::regex(R"(750\.00\s+p\.o\.c\.)"))) << pages[1];
  EXPECT_TRUE(std::regex_search(pages[1], std::regex(R"(88\.50\s+p\.o\.c\.)")));
  // Page 1 reads -143 as the property id, which is empty: no "Prop Id".
  EXPECT_FALSE(Holds(pages[0], "Prop Id"));
}

TEST_F(PrintoutTest, PrivacyCopiesLeaveOutTheOtherSidesFiguresAndSignatures) {
  RespaWindow* view = FilledFile();
  Type(view, 384, "333.33");  // line 801, borrower's column
  Type(view, 385, "444.44");  // line 801, seller's column
  gHud1Options.Privacy = 1;
  std::vector<std::string> buyer = Print(view);
  ASSERT_EQ(buyer.size(), 2u);
  EXPECT_TRUE(Holds(buyer[1], "333.33"));
  EXPECT_FALSE(Holds(buyer[1], "444.44"));
  EXPECT_TRUE(Holds(buyer[0], "1,234.50"));
  EXPECT_FALSE(Holds(buyer[0], "4,321.25"));
  EXPECT_FALSE(Holds(buyer[0], "seller104"));
  // The specials of both columns print on every copy.
  EXPECT_TRUE(Holds(buyer[0], "A & B Holdings"));
  EXPECT_TRUE(Holds(buyer[0], "Carol Seller"));
  EXPECT_TRUE(Holds(buyer[0], "TIN: _____________"));
  EXPECT_TRUE(Holds(buyer[1], "Second Buyer"));
  EXPECT_EQ(buyer[1].find("Carol Seller"), std::string::npos);

  gHud1Options.Privacy = 2;
  std::vector<std::string> seller = Print(view);
  ASSERT_EQ(seller.size(), 2u);
  EXPECT_FALSE(Holds(seller[1], "333.33"));
  EXPECT_TRUE(Holds(seller[1], "444.44"));
  EXPECT_FALSE(Holds(seller[0], "1,234.50"));
  EXPECT_TRUE(Holds(seller[0], "4,321.25"));
  EXPECT_TRUE(Holds(seller[0], "A & B Holdings and Second Buyer"));
  EXPECT_TRUE(Holds(seller[1], "Carol Seller"));
  EXPECT_FALSE(Holds(seller[1], "Second Buyer"));
}

TEST_F(PrintoutTest, SignatureDatesFollowTheDateFlagAndABlankDatePrintsNone) {
  RespaWindow* view = FilledFile();
  std::vector<std::string> dated = Print(view);
  ASSERT_EQ(dated.size(), 2u);
  std::string page2 = dated[1];
  int dates = 0;
  for (size_t at = page2.find("03/15/2024"); at != std::string::npos;
       at = page2.find("03/15/2024", at + 1))
    ++dates;
  // Above the two buyers, the seller, and the settlement agent's date row.
  EXPECT_EQ(dates, 4) << page2;

  gHud1Options.DateSig = 0;
  EXPECT_FALSE(Holds(Print(view)[1], "03/15/2024"));

  gHud1Options.DateSig = 1;
  view->records[kSummary1Table]->SetLong(2, static_cast<LONG>(0x80000000));
  THUDPrintout printout("HUD-1", view);
  EXPECT_STREQ(printout.dateText, "");
  std::vector<std::string> blank = Print(view);
  ASSERT_EQ(blank.size(), 2u);
  EXPECT_FALSE(Holds(blank[1], "/  /")) << blank[1];
}

TEST_F(PrintoutTest, OneFilledAdditionalLineSwitchesPageTwoToTheExtendedLayout) {
  RespaWindow* view = FilledFile();
  THUDPrintout standard("HUD-1", view);
  EXPECT_FALSE(standard.IsExtended());
  std::vector<std::string> plain = Print(view);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_FALSE(Holds(plain[1], "812."));

  Type(view, 577, "Courier fee");
  THUDPrintout extended("HUD-1", view);
  EXPECT_TRUE(extended.IsExtended());
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(Holds(pages[1], "812."));
  EXPECT_TRUE(Holds(pages[1], "Courier fee"));
  EXPECT_TRUE(Holds(pages[1], "HUD-1 (Rev 3/86)"));
  EXPECT_TRUE(Holds(pages[1], "Carol Seller"));
}

TEST_F(PrintoutTest, LineTenOhEightPrintsItsCaptionsAndZeroesOnlyWhenNamed) {
  RespaWindow* view = OpenFile("P-4");
  std::vector<std::string> empty = Print(view);
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_FALSE(std::regex_search(empty[1], std::regex(R"(months\s+@\s+per)")));
  Type(view, 465, "Flood insurance");
  std::vector<std::string> named = Print(view);
  ASSERT_EQ(named.size(), 2u);
  EXPECT_TRUE(Holds(named[1], "Flood insurance"));
  EXPECT_TRUE(std::regex_search(named[1], std::regex(R"(months\s+@)"))) << named[1];
  EXPECT_TRUE(Holds(named[1], "per month"));
  EXPECT_TRUE(Holds(named[1], "0.00"));
}

TEST_F(PrintoutTest, ATypedValueNotYetCommittedIsPrinted) {
  RespaWindow* view = OpenFile("P-5");
  TypeOnly(view, 213, "98765");
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(Holds(pages[0], "98,765.00"));
}

/* The recorded calls of one page printed on a recording DC of the given page size. */
std::vector<GdiDrawRecord> RecordPage(THUDPrintout& printout, int page, HDC dc) {
  GdiClearRecording(dc);
  TRect rect(0, 0, 850, 1100);
  printout.PrintPage(page, rect, 0);
  return GdiRecordedCalls(dc);
}

const GdiDrawRecord* TextCall(const std::vector<GdiDrawRecord>& calls, const std::string& text) {
  for (const GdiDrawRecord& call : calls)
    if (call.text == text) return &call;
  return nullptr;
}

TEST_F(PrintoutTest, PositionsFontsAndTheMappingFollowTheTablesAndAreRestored) {
  RespaWindow* view = FilledFile();
  Type(view, 380, "750");
  Type(view, 465, "Flood insurance");
  Type(view, 466, "3");
  Type(view, 467, "45");  // line 1400 then holds 3 x 45.00
  HDC dc = GdiCreateRecordingDC();
  TPrintDC printDC(dc);
  THUDPrintout printout("HUD-1", view);
  printout.SetPrintParams(&printDC, TSize(850, 1100));
  int mode = GetMapMode(dc);

  std::vector<GdiDrawRecord> page1 = RecordPage(printout, 1, dc);
  EXPECT_EQ(GetMapMode(dc), mode);
  struct Expected {
    std::string text;
    const hudform::PrintRow* row;
  };
  auto row = [](const auto& table, int code) -> const hudform::PrintRow* {
    for (const hudform::PrintRow& r : table)
      if (r.code == code) return &r;
    return nullptr;
  };
  const Expected page1Rows[] = {{"P-1", row(kHudPage1, 101)},
                                {"250,000.00", row(kHudPage1, 213)},
                                {"1,234.50", row(kHudPage1, 217)},
                                {"4,321.25", row(kHudPage1, 249)}};
  for (const Expected& expected : page1Rows) {
    ASSERT_NE(expected.row, nullptr) << expected.text;
    const GdiDrawRecord* call = TextCall(page1, expected.text);
    ASSERT_NE(call, nullptr) << expected.text;
    ASSERT_FALSE(call->points.empty());
    EXPECT_EQ(call->points[0].x, expected.row->x) << expected.text;
    EXPECT_EQ(call->points[0].y, expected.row->y) << expected.text;
    EXPECT_EQ(call->flags & TA_CENTER, expected.row->align) << expected.text;
    EXPECT_EQ(call->mapMode, MM_ANISOTROPIC);
    EXPECT_EQ(call->windowExt.cx, 7950);
    EXPECT_EQ(call->windowExt.cy, -13250);
    EXPECT_EQ(call->viewportExt.cx, 850);
    EXPECT_EQ(call->viewportExt.cy, 1100);
    EXPECT_EQ(call->fontFace, "Times New Roman");
    EXPECT_EQ(call->fontHeight, 128);
  }
  // Names are drawn without prefix handling, so "&" stays.
  const GdiDrawRecord* names = TextCall(page1, "A & B Holdings and Second Buyer");
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->call, "DrawText");
  EXPECT_TRUE(names->flags & DT_NOPREFIX);
  EXPECT_TRUE(names->flags & DT_WORDBREAK);
  EXPECT_NE(TextCall(page1, "Springfield, IL  62701"), nullptr);

  // Page 2 on a DC that had its own mapping: mode and extents come back as they were.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 11, 12, nullptr);
  SetViewportExtEx(dc, 13, 14, nullptr);
  std::vector<GdiDrawRecord> page2 = RecordPage(printout, 2, dc);
  const GdiDrawRecord* revision = TextCall(page2, "HUD-1 (Rev 3/86)");
  ASSERT_NE(revision, nullptr);
  EXPECT_EQ(revision->points[0].x, 7880);
  EXPECT_EQ(revision->points[0].y, -13000);
  EXPECT_EQ(revision->fontHeight, 111);
  EXPECT_EQ(revision->windowExt.cy, -13250);  // standard, signatures on page 2
  // 135.00 prints twice: line 1008's amount, then the line-1400 total in bold.
  const GdiDrawRecord* total = nullptr;
  for (const GdiDrawRecord& call : page2)
    if (call.text == "135.00") total = &call;
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->fontWeight, 700);
  EXPECT_EQ(total->fontHeight, 135);
  EXPECT_EQ(total->points[0].x, row(kHudPage2TotalsStandard, 555)->x);
  EXPECT_EQ(total->points[0].y, row(kHudPage2TotalsStandard, 555)->y);
  const GdiDrawRecord* poc = TextCall(page2, "750.00  p.o.c.");
  ASSERT_NE(poc, nullptr);
  EXPECT_EQ(poc->points[0].x, row(kHudPage2Top, -122)->x);
  EXPECT_EQ(poc->points[0].y, row(kHudPage2Top, -122)->y);
  const hudform::PrintRow* signature = row(kHudSignatureStandard, 143);
  const GdiDrawRecord* seller = TextCall(page2, "Carol Seller");
  ASSERT_NE(seller, nullptr);
  EXPECT_EQ(seller->points[0].x, signature->x);
  EXPECT_EQ(seller->points[0].y, signature->y);

  SIZE extent{}, viewport{};
  GetWindowExtEx(dc, &extent);
  GetViewportExtEx(dc, &viewport);
  EXPECT_EQ(extent.cx, 11);
  EXPECT_EQ(extent.cy, 12);
  EXPECT_EQ(viewport.cx, 13);
  EXPECT_EQ(viewport.cy, 14);
  EXPECT_EQ(GetMapMode(dc), MM_ANISOTROPIC);

  // The extended layout with a signature page: page 2 and page 3 in their own heights.
  Type(view, 577, "Courier fee");
  THUDPrintout extended("HUD-1", view);
  extended.separateSignaturePage = true;
  extended.SetPrintParams(&printDC, TSize(850, 1100));
  std::vector<GdiDrawRecord> extendedPage2 = RecordPage(extended, 2, dc);
  const GdiDrawRecord* courier = TextCall(extendedPage2, "Courier fee");
  ASSERT_NE(courier, nullptr);
  EXPECT_EQ(courier->windowExt.cy, -13630);
  EXPECT_EQ(courier->points[0].x, row(kHudPage2Extended, 577)->x);
  EXPECT_EQ(courier->points[0].y, row(kHudPage2Extended, 577)->y);
  const GdiDrawRecord* extendedRevision = TextCall(extendedPage2, "HUD-1 (Rev 3/86)");
  ASSERT_NE(extendedRevision, nullptr);
  EXPECT_EQ(extendedRevision->points[0].y, -13380);
  EXPECT_EQ(TextCall(extendedPage2, "Carol Seller"), nullptr);
  std::vector<GdiDrawRecord> page3 = RecordPage(extended, 3, dc);
  const GdiDrawRecord* number = TextCall(page3, "File Number: P-1");
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->windowExt.cy, -13250);
  EXPECT_EQ(number->points[0].x, 0);
  EXPECT_EQ(number->points[0].y, 0);
  const GdiDrawRecord* pageThreeSeller = TextCall(page3, "Carol Seller");
  ASSERT_NE(pageThreeSeller, nullptr);
  EXPECT_EQ(pageThreeSeller->points[0].y, row(kHudSignaturePage3, 143)->y);
  const GdiDrawRecord* dateAbove = nullptr;
  for (const GdiDrawRecord& call : page3)
    if (call.text == "03/15/2024" && call.points[0].x == 7300) dateAbove = &call;
  ASSERT_NE(dateAbove, nullptr);
  EXPECT_EQ(dateAbove->points[0].y, row(kHudSignaturePage3, 143)->y + 160);
  extended.SetPrintParams(nullptr, TSize(0, 0));
  printout.SetPrintParams(nullptr, TSize(0, 0));
}

/* A stored value as the statement shows it, worked out here from the record's raw value. */
std::string ExpectedText(TPXRecord* record, const TFieldNode* field) {
  char text[512] = "";
  switch (field->displayKind) {
    case kFieldKindMoney: {
      double value = 0;
      record->GetDouble(field->fieldNumber, value);
      long cents = std::lround(value * 100);
      std::string whole = std::to_string(cents / 100);
      for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3)
        whole.insert(static_cast<size_t>(at), ",");
      std::snprintf(text, sizeof text, "%s.%02ld", whole.c_str(), cents % 100);
      return text;
    }
    case kFieldKindDecimal:
    case kFieldKindDecimal2: {
      double value = 0;
      record->GetDouble(field->fieldNumber, value);
      std::snprintf(text, sizeof text, "%.5f", value);
      return text;
    }
    case kFieldKindWhole: {
      LONG value = 0;
      record->GetLong(field->fieldNumber, value);
      return std::to_string(value);
    }
    case kFieldKindDate: {
      LONG value = 0;
      record->GetLong(field->fieldNumber, value);
      int month, day, year;
      DecodeDate(value, month, day, year);
      std::snprintf(text, sizeof text, "%02d/%02d/%04d", month, day, year);
      return text;
    }
    default: record->GetString(field->fieldNumber, text, sizeof text); return text;
  }
}

TEST_F(PrintoutTest, EveryPlainRowPrintsItsFieldAtItsPlace) {
  RespaWindow* view = OpenFile("P-9");
  // Every statement field of the file gets a value of its own (ids sharing a record field
  // share it), set straight into the records so no rule changes them.
  for (TFieldNode* field = gRespaFieldList.head; field; field = field->next) {
    if (field->tableIndex >= kFileRecordCount || field->fieldNumber == 1) continue;
    TPXRecord* record = view->records[field->tableIndex];
    int id = field->fieldId;
    switch (field->displayKind) {
      case kFieldKindMoney:
      case kFieldKindDecimal:
      case kFieldKindDecimal2: record->SetDouble(field->fieldNumber, 1000 + id + 0.25); break;
      case kFieldKindWhole: record->SetLong(field->fieldNumber, id); break;
      case kFieldKindDate: {
        LONG date = 0;
        EncodeDate(date, 1 + id % 12, 1 + id % 28, 2020);
        record->SetLong(field->fieldNumber, date);
        break;
      }
      default: record->SetString(field->fieldNumber, ("T" + std::to_string(id)).c_str()); break;
    }
  }
  HDC dc = GdiCreateRecordingDC();
  TPrintDC printDC(dc);
  THUDPrintout printout("HUD-1", view);
  ASSERT_TRUE(printout.IsExtended());
  printout.SetPrintParams(&printDC, TSize(850, 1100));
  auto check = [&](const std::vector<GdiDrawRecord>& calls, std::span<const hudform::PrintRow> rows,
                   const char* table) {
    int checked = 0;
    for (const hudform::PrintRow& row : rows) {
      // Long dates, the word-wrapped vesting texts and the special codes have tests of their own.
      if (row.code <= 0 || row.code == 212 || row.code == 576 || row.code == 574 || row.code == 575)
        continue;
      TFieldNode* field = Field(row.code);
      ASSERT_NE(field, nullptr);
      std::string expected = ExpectedText(view->records[field->tableIndex], field);
      bool found = false;
      for (const GdiDrawRecord& call : calls)
        found = found || (call.text == expected && call.points[0].x == row.x &&
                          call.points[0].y == row.y && (call.flags & TA_CENTER) == row.align);
      EXPECT_TRUE(found) << table << " id " << row.code << " \"" << expected << "\"";
      ++checked;
    }
    EXPECT_GT(checked, 0) << table;
  };
  std::vector<GdiDrawRecord> page1 = RecordPage(printout, 1, dc);
  check(page1, kHudPage1, "page 1");
  std::vector<GdiDrawRecord> page2 = RecordPage(printout, 2, dc);
  check(page2, kHudPage2Top, "page 2 top");
  check(page2, kHudPage2Extended, "page 2 extended");
  check(page2, kHudPage2TotalsExtended, "line 1400");
  check(page2, kHudLoanLinesExtended, "loan lines");
  printout.SetPrintParams(nullptr, TSize(0, 0));
}

TEST_F(PrintoutTest, PageHeightsOfEachLayout) {
  RespaWindow* view = FilledFile();
  THUDPrintout printout("HUD-1", view);
  EXPECT_EQ(printout.PageHeight(1), 13250);
  EXPECT_EQ(printout.PageHeight(2), 13250);
  printout.separateSignaturePage = true;
  EXPECT_EQ(printout.PageHeight(2), 11580);
  EXPECT_EQ(printout.PageHeight(3), 13250);
  int minPage, maxPage, from = -1, to = -1;
  printout.GetDialogInfo(minPage, maxPage, from, to);
  EXPECT_EQ(maxPage, 3);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 0);
  Type(view, 577, "Courier fee");
  THUDPrintout extended("HUD-1", view);
  EXPECT_EQ(extended.PageHeight(2), 15700);
  extended.separateSignaturePage = true;
  EXPECT_EQ(extended.PageHeight(2), 13630);
  EXPECT_FALSE(extended.HasPage(4));
}

/* The pictures of the printed pages, to be looked at against the form. */
TEST_F(PrintoutTest, PicturesOfTheStandardAndExtendedPages) {
  RespaWindow* view = FilledFile();
  Type(view, 380, "750");
  Type(view, 220, "1/1/24");
  Type(view, 221, "3/15/24");
  Type(view, 222, "1200");
  Type(view, 223, "366");
  Type(view, 465, "Flood insurance");
  Type(view, 466, "3");
  Type(view, 467, "45");
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  std::string pdf = PdfFiles()[0];
  EXPECT_TRUE(std::filesystem::exists(RenderPage(pdf, 1, "statement_print_page1")));
  EXPECT_TRUE(std::filesystem::exists(RenderPage(pdf, 2, "statement_print_page2_standard")));
  Type(view, 577, "Courier fee");
  Type(view, 578, "35");
  ASSERT_EQ(Print(view).size(), 2u);
  EXPECT_TRUE(
      std::filesystem::exists(RenderPage(PdfFiles()[0], 2, "statement_print_page2_extended")));
}

}  // namespace
