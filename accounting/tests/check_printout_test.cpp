/*
** The check printout on the PDF device, read back word by word with its boxes: every item
** at the main and the copy position the layout gives it, texts in their value forms, boxes
** wrapped at words and cut at their lower edge, unplaced positions left off.
*/
#include "accounting/check_printer.h"
#include "accounting/check_printout.h"
#include "check_fixture.h"
#include "tableaccess/check_form_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CheckPrintoutTest : public CheckTest {
 protected:
  void SetUp() override {
    CheckTest::SetUp();
    for (short& value : layout_) value = kCheckFormUnset;
  }
  /* Prints the row with layout_ and answers the one PDF's words. */
  std::vector<PdfWord> Print(const TLedgerEntry& check, const char* buyers = "",
                             const char* sellers = "") {
    ClearPrintedPdfs();
    TDisburseCheckRow row;
    RowFromEntry(check, row);
    TCheckPrinter printer;
    TCheckPrintout printout("Check", &row, buyers, sellers, layout_);
    EXPECT_TRUE(printer.Print(nullptr, printout, false));
    std::vector<std::string> pdfs = PrintedChecks();
    EXPECT_EQ(1u, pdfs.size());
    if (pdfs.empty()) return {};
    EXPECT_EQ(1, PageCount(pdfs[0]));
    return Words(pdfs[0]);
  }
  static TLedgerEntry Sample() {
    TLedgerEntry check;
    CopyLedgerText(check.FileNum, sizeof check.FileNum, "F-100");
    CopyLedgerText(check.Type, sizeof check.Type, "C");
    check.Number = 1001;
    check.Date = DateOf(3, 14, 2026);
    CopyLedgerText(check.PayeeDepositor, sizeof check.PayeeDepositor, "Smith & Jones Title");
    CopyLedgerText(check.Description, sizeof check.Description, "Payoff");
    check.Amount = 1234.56;
    return check;
  }
  void Place(int item, std::initializer_list<int> values) {
    int i = item;
    for (int value : values) layout_[i++] = static_cast<short>(value);
  }
  short layout_[kCheckFormValueCount];
};

TEST_F(CheckPrintoutTest, ALongDescriptionWrapsAtWordsAndNothingLiesBelowItsBox) {
  // 2 inches wide, 0.3 inch high: two lines of the 0.138-inch font begin inside it.
  Place(kCheckDescriptionItem, {500, 1000, 2000, 300, -1, -1, -1, -1});
  TLedgerEntry check = Sample();
  CopyLedgerText(check.Description, sizeof check.Description,
                 "Closing payoff of the first mortgage and the second lien with interest");
  std::vector<PdfWord> words = Print(check);
  ASSERT_FALSE(words.empty());
  EXPECT_TRUE(TextAt(words, "Closing payoff", Points(500), Points(1000)));
  double lastTop = 0;
  for (const PdfWord& word : words) {
    EXPECT_GE(word.xMin, Points(500) - 1) << word.text;
    EXPECT_LE(word.xMax, Points(2500) + 1) << word.text;
    EXPECT_LT(word.yMin, Points(1300)) << word.text << " lies below the box";
    lastTop = std::max(lastTop, word.yMin);
  }
  // The text went on to a second line, and the words of the third are not there at all.
  EXPECT_GT(lastTop, Points(1000) + 5);
  EXPECT_EQ(0, CountWord(words, "interest"));
  EXPECT_EQ(0, CountWord(words, "with"));
}

TEST_F(CheckPrintoutTest, AFreshLayoutPrintsAPageWithoutText) {
  std::vector<PdfWord> words = Print(Sample(), "Ann Buyer", "Sam Seller");
  EXPECT_TRUE(words.empty()) << words[0].text;
}

TEST_F(CheckPrintoutTest, ABoxWithANegativeYWidthOrHeightIsSkippedAtThatPosition) {
  // Payee: main with a negative width, copy placed. Buyers: main placed, copy a negative
  // height. Sellers: main a negative y with a valid x, copy placed.
  Place(kCheckPayeeItem, {500, 1000, -1, 300, 500, 4000, 5000, 300});
  Place(kCheckBuyersItem, {500, 2000, 3000, 300, 500, 5000, 3000, -5});
  Place(kCheckSellersItem, {4000, -1, 3000, 300, 4000, 6000, 3000, 300});
  std::vector<PdfWord> words = Print(Sample(), "Ann Buyer", "Sam Seller");
  EXPECT_TRUE(TextAt(words, "Smith & Jones Title", Points(500), Points(4000)));
  EXPECT_EQ(1, CountWord(words, "Smith"));
  EXPECT_TRUE(TextAt(words, "Ann Buyer", Points(500), Points(2000)));
  EXPECT_EQ(1, CountWord(words, "Ann"));
  EXPECT_TRUE(TextAt(words, "Sam Seller", Points(4000), Points(6000)));
  EXPECT_EQ(1, CountWord(words, "Sam"));
}

TEST_F(CheckPrintoutTest, ThePointAtZeroIsTheCornerOfThePrintableArea) {
  Place(kCheckFileNumberItem, {0, 0, -1000, 0});
  Place(kCheckNumberItem, {0, -1, 2000, 3000});
  std::vector<PdfWord> words = Print(Sample());
  EXPECT_TRUE(TextAt(words, "F-100", 18.0, 18.0));
  EXPECT_EQ(1, CountWord(words, "F-100"));
  // A point with a negative y is left off at that position only.
  EXPECT_TRUE(TextAt(words, "Check Number: 1001", Points(2000), Points(3000)));
  EXPECT_EQ(1, CountWord(words, "Number:"));
}

TEST_F(CheckPrintoutTest, ABlankDateAndANegativeAmountPrintEmptyDatesAndNoWords) {
  Place(kCheckShortDateItem, {500, 500, 500, 5500});
  Place(kCheckLongDateItem, {3000, 500, 3000, 5500});
  Place(kCheckAmountItem, {500, 1500, 500, 6500});
  Place(kCheckAmountWordsItem, {500, 2500, 7000, 400, 500, 7500, 7000, 400});
  Place(kCheckSecondAmountItem, {5000, 1500, 5000, 6500});
  TLedgerEntry check = Sample();
  check.Date = static_cast<LONG>(0x80000000u);
  check.Amount = -9999.99;
  std::vector<PdfWord> words = Print(check);
  // Four amounts, nothing else at all.
  ASSERT_EQ(4u, words.size());
  for (const PdfWord& word : words) EXPECT_EQ("-9,999.99", word.text);
  EXPECT_TRUE(TextAt(words, "-9,999.99", Points(500), Points(1500)));
  EXPECT_TRUE(TextAt(words, "-9,999.99", Points(5000), Points(6500)));
}

TEST_F(CheckPrintoutTest, TheSampleAmountAndNumberInTheirForms) {
  Place(kCheckAmountItem, {500, 500, -1, -1});
  Place(kCheckSecondAmountItem, {4000, 500, -1, -1});
  Place(kCheckNumberItem, {500, 1500, -1, -1});
  Place(kCheckAmountWordsItem, {500, 2500, 7500, 400, -1, -1, -1, -1});
  TLedgerEntry check = Sample();
  check.Amount = 9999.99;
  check.Number = 9999;
  std::vector<PdfWord> words = Print(check);
  EXPECT_TRUE(TextAt(words, "9,999.99", Points(500), Points(500)));
  EXPECT_TRUE(TextAt(words, "9,999.99", Points(4000), Points(500)));
  EXPECT_TRUE(TextAt(words, "Check Number: 9999", Points(500), Points(1500)));
  EXPECT_TRUE(TextAt(words, "Nine Thousand Nine Hundred Ninety Nine and 99/100 Dollars",
                     Points(500), Points(2500)));
}

}  // namespace
