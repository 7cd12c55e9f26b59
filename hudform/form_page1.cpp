/*
** Page 1 of the HUD-1 form: sections A to I (loan type, numbers, the note, the parties, the
** property, the settlement agent and dates) and the two summaries J and K side by side.
** On screen the party boxes open into every detail the statement keeps; on paper they show
** the names and addresses the form asks for.
*/
#include "hudform/form_builder.h"
#include "hudform/form_parts.h"

namespace hudform {

namespace {

constexpr int kHalf = 3950;        // J | K, D | E, F | G, H | I
constexpr int kAmountLeft = 3100;  // a summary side's amount column, from its base
constexpr int kQuarter = 1975;

/* ---- Sections A to I ---------------------------------------------------------------- */

void Heading(FormBuilder& b) {
  b.Line(Page::One, "title", 34, 10);
  b.Caption(0, 3300, "A.  U.S. DEPARTMENT OF HOUSING AND URBAN DEVELOPMENT", Style::Bold);
  b.Caption(3300, 5900, "SETTLEMENT STATEMENT", Style::Title, Shown::Both, Align::Center);
  b.Caption(5900, kFormRight, "OMB No. 2502-0265", Style::Small, Shown::Both, Align::Right);
  int first = b.Line(Page::One, "loancaps", 30, 10);
  b.Caption(0, kQuarter,
            "B.  TYPE OF LOAN  (1. FHA  2. FmHA  3. Conv. Unins.  4. VA  5. Conv. Ins.)",
            Style::Small);
  b.Caption(kQuarter, 2 * kQuarter, "7. LOAN NUMBER", Style::Small);
  b.Caption(2 * kQuarter, 3 * kQuarter, "8. MORTGAGE INS. CASE NUMBER", Style::Small);
  b.Caption(3 * kQuarter, kFormRight, "6. FILE NUMBER", Style::Small);
  b.Line(Page::One, "loanvalues", kLineHeight + 2, 10);
  b.Centred(40, kQuarter - 40, 184, kLenderTable, 2, 100);
  b.Centred(kQuarter + 40, 2 * kQuarter - 40, 185, kLenderTable, 3, 110);
  b.Centred(2 * kQuarter + 40, 3 * kQuarter - 40, 186, kLenderTable, 4, 110);
  b.Centred(3 * kQuarter + 40, kFormRight - 40, 101, kBuyerTable, 1, 90);
  for (int i = 0; i < 4; ++i)
    b.AddBox(Page::One, first, b.CurrentIndex(), i * kQuarter,
             i == 3 ? kFormRight : (i + 1) * kQuarter);
  int note = b.Line(Page::One, "note", 30, 10);
  b.Caption(0, kFormRight,
            "C.  NOTE: This form is furnished to give you a statement of actual settlement costs. "
            "Amounts paid to and by the settlement agent are shown. Items marked \"(p.o.c.)\" were "
            "paid outside the closing; they are shown here for informational purposes and are not "
            "included in the totals.",
            Style::Small);
  b.AddBox(Page::One, note, note, 0, kFormRight);
}

void PartyBoxes(FormBuilder& b) {
  int first = b.Line(Page::One, "decap", kLineHeight, 8);
  b.Caption(0, kHalf, "D.  NAME AND ADDRESS OF BORROWER", Style::Bold);
  b.Caption(kHalf, kFormRight, "E.  NAME AND ADDRESS OF SELLER", Style::Bold);
  static const char* const kBuyerLabels[] = {"Borrower 1", "Borrower 2", "Borrower 3",
                                             "Borrower 4"};
  static const char* const kSellerLabels[] = {"Seller 1", "Seller 2", "Seller 3", "Seller 4"};
  for (int i = 0; i < 4; ++i) {
    const int buyerName = 2 + 10 * i;     // field numbers run name, suffix, sig1, title1,
    const int buyerId = 100 + buyerName;  // sig2, title2, street, city, state, zip
    const int sellerId = 141 + buyerName;
    b.ScreenLine(Page::One);
    b.Caption(0, 600, kBuyerLabels[i], Style::Small, Shown::ScreenOnly);
    b.Text(600, 2500, buyerId, kBuyerTable, buyerName, Side::Borrower, Shown::ScreenOnly);
    b.Text(2500, 3900, buyerId + 1, kBuyerTable, buyerName + 1, Side::Borrower, Shown::ScreenOnly);
    b.Caption(kHalf, kHalf + 600, kSellerLabels[i], Style::Small, Shown::ScreenOnly);
    b.Text(kHalf + 600, kHalf + 2500, sellerId, kSellerTable, buyerName, Side::Seller,
           Shown::ScreenOnly);
    b.Text(kHalf + 2500, kHalf + 3900, sellerId + 1, kSellerTable, buyerName + 1, Side::Seller,
           Shown::ScreenOnly);
    b.ScreenLine(Page::One);
    for (int side = 0; side < 2; ++side) {
      const int base = side * kHalf;
      const int id = side ? sellerId : buyerId;
      const Table table = side ? kSellerTable : kBuyerTable;
      const Side who = side ? Side::Seller : Side::Borrower;
      b.Caption(base, base + 600, "Address", Style::Small, Shown::ScreenOnly);
      b.Text(base + 600, base + 1900, id + 6, table, buyerName + 6, who, Shown::ScreenOnly);
      b.Text(base + 1900, base + 2800, id + 7, table, buyerName + 7, who, Shown::ScreenOnly);
      b.Text(base + 2800, base + 3100, id + 8, table, buyerName + 8, who, Shown::ScreenOnly);
      b.Text(base + 3100, base + 3900, id + 9, table, buyerName + 9, who, Shown::ScreenOnly);
    }
    b.ScreenLine(Page::One);
    for (int side = 0; side < 2; ++side) {
      const int base = side * kHalf;
      const int id = side ? sellerId : buyerId;
      const Table table = side ? kSellerTable : kBuyerTable;
      const Side who = side ? Side::Seller : Side::Borrower;
      b.Caption(base, base + 600, "Signers", Style::Small, Shown::ScreenOnly);
      for (int k = 0; k < 4; ++k)
        b.Text(base + 600 + 825 * k, base + 600 + 825 * (k + 1), id + 2 + k, table,
               buyerName + 2 + k, who, Shown::ScreenOnly);
    }
  }
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "Estate", Style::Small, Shown::ScreenOnly);
  b.Text(600, 3900, 142, kBuyerTable, 42, Side::Borrower, Shown::ScreenOnly);
  b.Caption(kHalf, kHalf + 600, "Estate", Style::Small, Shown::ScreenOnly);
  b.Text(kHalf + 600, kHalf + 3900, 183, kSellerTable, 42, Side::Seller, Shown::ScreenOnly);
  // On paper: the joined names, the street, then city, state and zip.
  b.PrintLine(Page::One, 28);
  b.Special(0, kHalf, -101, Side::Borrower);
  b.Special(kHalf, kFormRight, -102, Side::Seller);
  b.PrintLine(Page::One);
  b.Text(0, kHalf, 108, kBuyerTable, 8, Side::Borrower, Shown::PrintOnly);
  b.Text(kHalf, kFormRight, 149, kSellerTable, 8, Side::Seller, Shown::PrintOnly);
  b.PrintLine(Page::One);
  b.Special(0, kHalf, -103, Side::Borrower);
  b.Special(kHalf, kFormRight, -104, Side::Seller);
  b.AddBox(Page::One, first, b.CurrentIndex(), 0, kHalf);
  b.AddBox(Page::One, first, b.CurrentIndex(), kHalf, kFormRight);
}

void LenderAndProperty(FormBuilder& b) {
  int first = b.Line(Page::One, "fgcap", kLineHeight, 8);
  b.Caption(0, kHalf, "F.  NAME AND ADDRESS OF LENDER", Style::Bold);
  b.Caption(kHalf, kFormRight, "G.  PROPERTY LOCATION", Style::Bold);
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "Lender", Style::Small, Shown::ScreenOnly);
  b.Text(600, 2500, 187, kLenderTable, 5, Side::Both, Shown::ScreenOnly);
  b.Text(2500, 3900, 188, kLenderTable, 6, Side::Both, Shown::ScreenOnly);
  b.Caption(kHalf, kHalf + 600, "Street", Style::Small, Shown::ScreenOnly);
  b.Text(kHalf + 600, kHalf + 3900, 205, kPropertyTable, 2, Side::Both, Shown::ScreenOnly);
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "Address", Style::Small, Shown::ScreenOnly);
  b.Text(600, 1900, 194, kLenderTable, 12, Side::Both, Shown::ScreenOnly);
  b.Text(1900, 2800, 195, kLenderTable, 13, Side::Both, Shown::ScreenOnly);
  b.Text(2800, 3100, 196, kLenderTable, 14, Side::Both, Shown::ScreenOnly);
  b.Text(3100, 3900, 197, kLenderTable, 15, Side::Both, Shown::ScreenOnly);
  b.Caption(kHalf, kHalf + 600, "City", Style::Small, Shown::ScreenOnly);
  b.Text(kHalf + 600, kHalf + 2500, 206, kPropertyTable, 3, Side::Both, Shown::ScreenOnly);
  b.Text(kHalf + 2500, kHalf + 2900, 207, kPropertyTable, 4, Side::Both, Shown::ScreenOnly);
  b.Text(kHalf + 2900, kHalf + 3900, 208, kPropertyTable, 5, Side::Both, Shown::ScreenOnly);
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "Signers", Style::Small, Shown::ScreenOnly);
  for (int k = 0; k < 4; ++k)
    b.Text(600 + 825 * k, 600 + 825 * (k + 1), 189 + k, kLenderTable, 7 + k, Side::Both,
           Shown::ScreenOnly);
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "Estate", Style::Small, Shown::ScreenOnly);
  b.Text(600, 2400, 193, kLenderTable, 11, Side::Both, Shown::ScreenOnly);
  b.Caption(2400, 2900, "Assigns", Style::Small, Shown::ScreenOnly);
  b.Text(2900, 3900, 198, kLenderTable, 16, Side::Both, Shown::ScreenOnly);
  b.PrintLine(Page::One);
  b.Text(0, kHalf, 187, kLenderTable, 5, Side::Both, Shown::PrintOnly);
  b.Text(kHalf, kFormRight, 205, kPropertyTable, 2, Side::Both, Shown::PrintOnly);
  b.PrintLine(Page::One);
  b.Text(0, kHalf, 194, kLenderTable, 12, Side::Both, Shown::PrintOnly);
  b.Special(kHalf, kFormRight, -106);
  b.PrintLine(Page::One);
  b.Special(0, kHalf, -105);
  b.Special(kHalf, kFormRight - 10, -143, Side::Both, Align::Right);
  b.AddBox(Page::One, first, b.CurrentIndex(), 0, kHalf);
  b.AddBox(Page::One, first, b.CurrentIndex(), kHalf, kFormRight);
}

void AgentAndDates(FormBuilder& b) {
  int first = b.Line(Page::One, "hcap", kLineHeight, 8);
  b.Caption(0, kHalf, "H.  SETTLEMENT AGENT / PLACE OF SETTLEMENT", Style::Bold);
  b.Caption(kHalf, kFormRight, "I.  SETTLEMENT DATE", Style::Bold);
  b.Line(Page::One, "h1");
  b.Caption(0, 600, "Agent", Style::Small, Shown::ScreenOnly);
  b.Text(600, 3900, 199, kSagentTable, 2);
  b.Caption(kHalf, 5985, "Settlement Date:", Style::Normal);
  b.Text(5985, 7300, 212, kSummary1Table, 2);
  b.Line(Page::One, "h2");
  b.Caption(0, 600, "Company", Style::Small, Shown::ScreenOnly);
  b.Text(600, 3900, 200, kSagentTable, 3);
  b.Caption(kHalf, 5985, "Disbursement Date:", Style::Normal);
  b.Text(5985, 7300, 576, kExtraTable, 20);
  b.Line(Page::One);
  b.Caption(0, 600, "Place", Style::Small);
  b.Text(600, 3900, 201, kSagentTable, 4);
  b.ScreenLine(Page::One);
  b.Caption(0, 600, "City", Style::Small, Shown::ScreenOnly);
  b.Text(600, 2500, 202, kSagentTable, 5, Side::Both, Shown::ScreenOnly);
  b.Text(2500, 2900, 203, kSagentTable, 6, Side::Both, Shown::ScreenOnly);
  b.Text(2900, 3900, 204, kSagentTable, 7, Side::Both, Shown::ScreenOnly);
  b.PrintLine(Page::One);
  b.Special(600, kHalf, -107);
  b.AddBox(Page::One, first, b.CurrentIndex(), 0, kHalf);
  b.AddBox(Page::One, first, b.CurrentIndex(), kHalf, kFormRight);
}

/* ---- Summaries J and K --------------------------------------------------------------- */

/* A side's caption and amount. */
void Plain(FormBuilder& b, int base, const char* caption, int id, Table table, int field,
           Side side) {
  b.Caption(base, base + kAmountLeft, caption);
  b.Money(base + kAmountLeft, base + kHalf, id, table, field, side);
}

/* A side's line number, its description field and its amount. */
void Described(FormBuilder& b, int base, const char* number, int descId, int amountId, Table table,
               int descField, int amountField, Side side) {
  b.Caption(base, base + 330, number);
  b.Text(base + 330, base + kAmountLeft - 50, descId, table, descField, side);
  b.Money(base + kAmountLeft, base + kHalf, amountId, table, amountField, side);
}

/* A proration line: caption, the period's dates, amount and days (on paper: the dates as one
   special row, amount and days on the next line), and the prorated amount. */
void Prorated(FormBuilder& b, int base, const char* caption, int firstId, Table table,
              int firstField, int datesCode, Side side) {
  b.Caption(base, base + 1150, caption);
  b.Text(base + 1150, base + 1650, firstId, table, firstField, side, Shown::ScreenOnly);
  b.Caption(base + 1650, base + 1780, "to", Style::Small, Shown::ScreenOnly);
  b.Text(base + 1780, base + 2280, firstId + 1, table, firstField + 1, side, Shown::ScreenOnly);
  b.Money(base + 2280, base + 2780, firstId + 2, table, firstField + 2, side, Shown::ScreenOnly);
  b.Text(base + 2780, base + 3050, firstId + 3, table, firstField + 3, side, Shown::ScreenOnly);
  b.Special(base + 1150, base + kAmountLeft, datesCode);
  b.Money(base + kAmountLeft, base + kHalf, firstId + 4, table, firstField + 4, side);
}

void ProratedPair(FormBuilder& b, const char* left, const char* right, int jId, int kId,
                  Table table, int firstField, int datesCode) {
  b.Line(Page::One);
  b.Rule();
  Prorated(b, 0, left, jId, table, firstField, datesCode, Side::Borrower);
  Prorated(b, kHalf, right, kId, table, firstField, datesCode, Side::Seller);
  b.PrintLine(Page::One);
  b.Special(1150, kAmountLeft, datesCode + 1);
  b.Special(kHalf + 1150, kHalf + kAmountLeft, datesCode + 1);
}

void SectionHeads(FormBuilder& b, const char* left, const char* right) {
  b.Line(Page::One);
  b.Rule();
  b.Caption(0, kHalf, left, Style::Bold);
  b.Caption(kHalf, kFormRight, right, Style::Bold);
}

void Summaries(FormBuilder& b) {
  int first = b.Line(Page::One, "jkcap");
  b.Rule();
  b.Caption(0, kHalf, "J.  SUMMARY OF BORROWER'S TRANSACTION", Style::Heading);
  b.Caption(kHalf, kFormRight, "K.  SUMMARY OF SELLER'S TRANSACTION", Style::Heading);
  SectionHeads(b, "100.  GROSS AMOUNT DUE FROM BORROWER:", "400.  GROSS AMOUNT DUE TO SELLER:");
  b.Line(Page::One, "l101");
  b.Rule();
  Plain(b, 0, "101.  Contract sales price", 213, kSummary1Table, 3, Side::Borrower);
  Plain(b, kHalf, "401.  Contract sales price", 244, kSummary1Table, 3, Side::Seller);
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "102.  Personal property", 214, kSummary1Table, 4, Side::Borrower);
  Plain(b, kHalf, "402.  Personal property", 245, kSummary1Table, 4, Side::Seller);
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "103.  Settlement charges to borrower (line 1400)", 215, kExpense4Table, 49,
        Side::Borrower);
  Described(b, kHalf, "403.", 246, 247, kSummary1Table, 5, 6, Side::Seller);
  static const char* const kJNumbers[] = {"104.", "105."};
  static const char* const kKNumbers[] = {"404.", "405."};
  for (int i = 0; i < 2; ++i) {
    b.Line(Page::One);
    b.Rule();
    Described(b, 0, kJNumbers[i], 216 + 2 * i, 217 + 2 * i, kSummary1Table, 7 + 4 * i, 8 + 4 * i,
              Side::Borrower);
    Described(b, kHalf, kKNumbers[i], 248 + 2 * i, 249 + 2 * i, kSummary1Table, 9 + 4 * i,
              10 + 4 * i, Side::Seller);
  }
  SectionHeads(b, "Adjustments for items paid by seller in advance",
               "Adjustments for items paid by seller in advance");
  ProratedPair(b, "106.  City/town taxes", "406.  City/town taxes", 220, 252, kSummary1Table, 15,
               -109);
  ProratedPair(b, "107.  County taxes", "407.  County taxes", 225, 257, kSummary1Table, 20, -111);
  ProratedPair(b, "108.  Assessments", "408.  Assessments", 230, 262, kSummary1Table, 25, -113);
  static const char* const kJLate[] = {"109.", "110.", "111.", "112."};
  static const char* const kKLate[] = {"409.", "410.", "411.", "412."};
  for (int i = 0; i < 4; ++i) {
    b.Line(Page::One);
    b.Rule();
    Described(b, 0, kJLate[i], 235 + 2 * i, 236 + 2 * i, kSummary1Table, 30 + 2 * i, 31 + 2 * i,
              Side::Borrower);
    Described(b, kHalf, kKLate[i], 267 + 2 * i, 268 + 2 * i, kSummary1Table, 30 + 2 * i, 31 + 2 * i,
              Side::Seller);
  }
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "120.  GROSS AMOUNT DUE FROM BORROWER", 243, kSummary1Table, 38, Side::Borrower);
  Plain(b, kHalf, "420.  GROSS AMOUNT DUE TO SELLER", 275, kSummary1Table, 39, Side::Seller);
  SectionHeads(b, "200.  AMOUNTS PAID BY OR IN BEHALF OF BORROWER:",
               "500.  REDUCTIONS IN AMOUNT DUE TO SELLER:");
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "201.  Deposit or earnest money", 276, kSummary2Table, 2, Side::Borrower);
  Plain(b, kHalf, "501.  Excess deposit (see instructions)", 324, kSummary2Table, 3, Side::Seller);
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "202.  Principal amount of new loan(s)", 277, kSummary2Table, 4, Side::Borrower);
  Plain(b, kHalf, "502.  Settlement charges to seller (line 1400)", 325, kExpense4Table, 50,
        Side::Seller);
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "203.  Existing loan(s) taken subject to", 278, kSummary2Table, 5, Side::Borrower);
  Plain(b, kHalf, "503.  Existing loan(s) taken subject to", 326, kSummary2Table, 5, Side::Seller);
  // Lines 204 to 209 and 504 to 509: descriptions and amounts of SUMMARY2, interleaved.
  static const char* const kJMid[] = {"204.", "205.", "206.", "207.", "208.", "209."};
  static const char* const kKMid[] = {"504.  Payoff of first mortgage loan",
                                      "505.  Payoff of second mortgage loan",
                                      "506.",
                                      "507.",
                                      "508.",
                                      "509."};
  static const int kJDescField[] = {6, 9, 12, 16, 20, 24};
  for (int i = 0; i < 6; ++i) {
    b.Line(Page::One);
    b.Rule();
    Described(b, 0, kJMid[i], 279 + 2 * i, 280 + 2 * i, kSummary2Table, kJDescField[i],
              kJDescField[i] + 1, Side::Borrower);
    if (i < 2) {
      // The payoff lines keep their lenders' names in EXTRA and their amounts in SUMMARY2.
      b.Caption(kHalf, kHalf + 1550, kKMid[i]);
      b.Text(kHalf + 1550, kHalf + kAmountLeft - 50, 574 + i, kExtraTable, 18 + i, Side::Seller);
      b.Money(kHalf + kAmountLeft, kFormRight, 327 + i, kSummary2Table, 8 + 3 * i, Side::Seller);
    } else if (i < 5) {
      const int descField = 14 + 4 * (i - 2);  // S506, S507, S508
      Described(b, kHalf, kKMid[i], 329 + 2 * (i - 2), 330 + 2 * (i - 2), kSummary2Table, descField,
                descField + 1, Side::Seller);
    } else {
      // Line 509 shares line 209's amount.
      b.Caption(kHalf, kHalf + 330, kKMid[i]);
      b.Text(kHalf + 330, kHalf + kAmountLeft - 50, 335, kSummary2Table, 26, Side::Seller);
      b.Money(kHalf + kAmountLeft, kFormRight, 336, kSummary2Table, 25, Side::Seller);
    }
  }
  SectionHeads(b, "Adjustments for items unpaid by seller",
               "Adjustments for items unpaid by seller");
  ProratedPair(b, "210.  City/town taxes", "510.  City/town taxes", 291, 337, kSummary2Table, 28,
               -115);
  ProratedPair(b, "211.  County taxes", "511.  County taxes", 296, 342, kSummary2Table, 33, -117);
  ProratedPair(b, "212.  Assessments", "512.  Assessments", 301, 347, kSummary2Table, 38, -119);
  static const char* const kJEnd[] = {"213.", "214.", "215.", "216.", "217.", "218.", "219."};
  static const char* const kKEnd[] = {"513.", "514.", "515.", "516.", "517.", "518.", "519."};
  for (int i = 0; i < 7; ++i) {
    b.Line(Page::One);
    b.Rule();
    Described(b, 0, kJEnd[i], 306 + 2 * i, 307 + 2 * i, kSummary2Table, 43 + 2 * i, 44 + 2 * i,
              Side::Borrower);
    Described(b, kHalf, kKEnd[i], 352 + 2 * i, 353 + 2 * i, kSummary2Table, 43 + 2 * i, 44 + 2 * i,
              Side::Seller);
  }
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "220.  TOTAL PAID BY/FOR BORROWER", 320, kSummary2Table, 57, Side::Borrower);
  Plain(b, kHalf, "520.  TOTAL REDUCTION AMOUNT DUE SELLER", 366, kSummary2Table, 58, Side::Seller);
  SectionHeads(b, "300.  CASH AT SETTLEMENT FROM/TO BORROWER",
               "600.  CASH AT SETTLEMENT TO/FROM SELLER");
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "301.  Gross amount due from borrower (line 120)", 321, kSummary1Table, 38,
        Side::Borrower);
  Plain(b, kHalf, "601.  Gross amount due to seller (line 420)", 367, kSummary1Table, 39,
        Side::Seller);
  b.Line(Page::One);
  b.Rule();
  Plain(b, 0, "302.  Less amounts paid by/for borrower (line 220)", 322, kSummary2Table, 57,
        Side::Borrower);
  Plain(b, kHalf, "602.  Less reductions in amt. due seller (line 520)", 368, kSummary2Table, 58,
        Side::Seller);
  b.Line(Page::One, "l303");
  Plain(b, 0, "303.  CASH  [  ] FROM  [  ] TO  BORROWER", 323, kSummary2Table, 59, Side::Borrower);
  Plain(b, kHalf, "603.  CASH  [  ] TO  [  ] FROM  SELLER", 369, kSummary2Table, 60, Side::Seller);
  const int last = b.CurrentIndex();
  b.AddBox(Page::One, first, last, 0, kHalf);
  b.AddBox(Page::One, first, last, kHalf, kFormRight);
  b.AddBox(Page::One, first + 2, last, kAmountLeft, kHalf);
  b.AddBox(Page::One, first + 2, last, kHalf + kAmountLeft, kFormRight);
  b.PrintLine(Page::One, 10, "p1footer");
  b.Caption(0, kHalf, "Previous editions are obsolete", Style::Small);
  b.Caption(kHalf, kFormRight, "HUD-1 (3-86)", Style::Small, Shown::Both, Align::Right);
}

}  // namespace

void BuildPage1(FormBuilder& b) {
  Heading(b);
  PartyBoxes(b);
  LenderAndProperty(b);
  AgentAndDates(b);
  Summaries(b);
}

}  // namespace hudform
