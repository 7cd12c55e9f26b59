/*
** Page 2 of the HUD-1 form, section L, settlement charges: lines 700 to 1400 with the
** borrower's and seller's columns, including the additional lines of the extended layout
** (812-820, 906, 1009, 1114-1115, 1206-1207, 1308-1310).
*/
#include "hudform/form_parts.h"

namespace hudform {

namespace {

constexpr int kBorrowerLeft = 6200;  // "Paid from borrower's funds at settlement"
constexpr int kSellerLeft = 7050;    // "Paid from seller's funds at settlement"
constexpr int kPocLeft = 4950;
constexpr int kPocRight = 5870;
constexpr int kDescRight = 4900;

/* The two paid columns of a line. */
void Columns(FormBuilder& b, int borrowerId, Table borrowerTable, int borrowerField, int sellerId,
             Table sellerTable, int sellerField) {
  b.Money(kBorrowerLeft, kSellerLeft, borrowerId, borrowerTable, borrowerField, Side::Borrower);
  b.Money(kSellerLeft, kFormRight, sellerId, sellerTable, sellerField, Side::Seller);
}

/* A line of a description field and the two columns, all of one table in field order. */
void OpenLine(FormBuilder& b, const char* number, int descId, Table table, int descField,
              int captionRight = 330) {
  b.Line(Page::Two);
  b.Rule();
  b.Caption(0, captionRight, number);
  b.Text(captionRight, kDescRight, descId, table, descField);
  Columns(b, descId + 1, table, descField + 1, descId + 2, table, descField + 2);
}

void SectionHead(FormBuilder& b, const char* text, const char* tag = nullptr) {
  b.Line(Page::Two, tag);
  b.Rule();
  b.Caption(0, kBorrowerLeft, text, Style::Bold);
}

void Commission(FormBuilder& b) {
  b.Line(Page::Two, "l700");
  b.Rule();
  b.Caption(0, 2900, "700.  TOTAL SALES/BROKER'S COMMISSION based on price $");
  b.Money(2900, 3700, 370, kExpense1Table, 2);
  b.Caption(3700, 3800, "@");
  b.Text(3800, 4200, 371, kExpense1Table, 3);
  b.Caption(4200, 4450, "% =");
  b.Money(4450, 5300, 372, kExpense1Table, 4);
  b.Line(Page::Two);
  b.Rule();
  b.Caption(0, kBorrowerLeft, "Division of commission (line 700) as follows:");
  for (int i = 0; i < 2; ++i) {
    b.Line(Page::Two);
    b.Rule();
    b.Caption(0, 500, i == 0 ? "701.  $" : "702.  $");
    b.Money(500, 1400, 373 + 2 * i, kExpense1Table, 5 + 2 * i);
    b.Caption(1400, 1550, "to");
    b.Text(1550, kDescRight, 374 + 2 * i, kExpense1Table, 6 + 2 * i);
  }
  b.Line(Page::Two);
  b.Rule();
  b.Caption(0, 2600, "703.  Commission paid at settlement");
  // The part of the commission the broker keeps from the deposit (line 506), outside closing.
  b.Text(2700, 3300, 379, kSummary2Table, 14);
  b.Poc(3350, 4300, 380, kSummary2Table, 15, -122);
  Columns(b, 377, kExpense1Table, 9, 378, kExpense1Table, 10);
  b.Line(Page::Two);
  b.Rule();
  b.Caption(0, 330, "704.");
  b.Text(330, kDescRight, 381, kExpense1Table, 11);
  b.Money(kPocLeft, kPocRight, 382, kExpense1Table, 12);
  b.Caption(kPocRight, kBorrowerLeft, "p.o.c.", Style::Small);
  Columns(b, 209, kExpense1Table, 13, 210, kExpense1Table, 14);
}

/* Lines 801 to 820: each with its paid-outside-closing amount. */
void LoanItems(FormBuilder& b) {
  SectionHead(b, "800.  ITEMS PAYABLE IN CONNECTION WITH LOAN");
  struct Item {
    const char* caption;
    int captionRight;
    int descId;  // 0: no description field
    Table descTable;
    int descField;
    int percentId;  // 0: no percentage
    int percentField;
    int pocId;  // the POC, borrower and seller amounts follow it in EXPENSE1
    int pocField;
    int pocCode;
  };
  static const Item kItems[] = {
      {"801.  Loan Origination Fee", 1700, 559, kExtraTable, 2, 557, 55, 383, 15, -123},
      {"802.  Loan Discount", 1700, 560, kExtraTable, 3, 558, 56, 386, 18, -124},
      {"803.  Appraisal Fee to", 1700, 389, kExpense1Table, 21, 0, 0, 390, 22, -125},
      {"804.  Credit Report to", 1700, 393, kExpense1Table, 25, 0, 0, 394, 26, -126},
      {"805.  Lender's Inspection Fee", 1700, 561, kExtraTable, 4, 0, 0, 397, 29, -127},
      {"806.  Mortgage Insurance Application Fee to", 2650, 400, kExpense1Table, 32, 0, 0, 401, 33,
       -128},
      {"807.  Assumption Fee", 1700, 562, kExtraTable, 5, 0, 0, 404, 36, -129},
      {"808.", 330, 407, kExpense1Table, 39, 0, 0, 408, 40, -130},
      {"809.", 330, 411, kExpense1Table, 43, 0, 0, 412, 44, -131},
      {"810.", 330, 415, kExpense1Table, 47, 0, 0, 416, 48, -132},
      {"811.", 330, 419, kExpense1Table, 51, 0, 0, 420, 52, -133},
  };
  for (const Item& item : kItems) {
    b.Line(Page::Two);
    b.Rule();
    b.Caption(0, item.captionRight, item.caption);
    int descLeft = item.captionRight;
    if (item.percentId) {
      b.Text(descLeft, descLeft + 400, item.percentId, kExpense1Table, item.percentField);
      b.Caption(descLeft + 400, descLeft + 550, "%");
      descLeft += 550;
    }
    b.Text(descLeft, kDescRight, item.descId, item.descTable, item.descField);
    b.Poc(kPocLeft, kPocRight, item.pocId, kExpense1Table, item.pocField, item.pocCode);
    Columns(b, item.pocId + 1, kExpense1Table, item.pocField + 1, item.pocId + 2, kExpense1Table,
            item.pocField + 2);
  }
  static const char* const kExtended[] = {"812.", "813.", "814.", "815.", "816.",
                                          "817.", "818.", "819.", "820."};
  for (int i = 0; i < 9; ++i) {
    const int id = 577 + 4 * i;
    const int field = 57 + 4 * i;  // S812 ... then POC, B, S
    b.Line(Page::Two, i == 0 ? "l812" : nullptr);
    b.Extended();
    b.Rule();
    b.Caption(0, 330, kExtended[i]);
    b.Text(330, kDescRight, id, kExpense1Table, field);
    b.Poc(kPocLeft, kPocRight, id + 1, kExpense1Table, field + 1, -134 - i);
    Columns(b, id + 2, kExpense1Table, field + 2, id + 3, kExpense1Table, field + 3);
  }
}

void AdvanceItems(FormBuilder& b) {
  SectionHead(b, "900.  ITEMS REQUIRED BY LENDER TO BE PAID IN ADVANCE", "l900");
  b.Line(Page::Two);
  b.Rule();
  b.Caption(0, 1100, "901.  Interest from");
  b.Text(1100, 1700, 423, kExpense2Table, 2);
  b.Caption(1700, 1850, "to");
  b.Text(1850, 2450, 424, kExpense2Table, 3);
  b.Caption(2450, 2700, "@ $");
  b.Text(2700, 3400, 425, kExpense2Table, 4);
  b.Caption(3400, 3800, "/day");
  Columns(b, 426, kExpense2Table, 5, 427, kExpense2Table, 6);
  struct Premium {
    const char* caption;
    const char* unit;
    int countId;  // count, description, then B and S follow in EXPENSE2
    int countField;
    int pocId;
    int pocField;
    int pocCode;
  };
  static const Premium kPremiums[] = {
      {"902.  Mortgage Insurance Premium for", "months to", 428, 7, 571, 15, -143},
      {"903.  Hazard Insurance Premium for", "years to", 432, 11, 572, 16, -144},
      {"904.", "years to", 436, 15, 573, 17, -145},
  };
  for (const Premium& p : kPremiums) {
    b.Line(Page::Two);
    b.Rule();
    b.Caption(0, 2150, p.caption);
    b.Text(2150, 2450, p.countId, kExpense2Table, p.countField);
    b.Caption(2450, 3000, p.unit);
    b.Text(3000, kDescRight, p.countId + 1, kExpense2Table, p.countField + 1);
    b.Poc(kPocLeft, kPocRight, p.pocId, kExtraTable, p.pocField, p.pocCode);
    Columns(b, p.countId + 2, kExpense2Table, p.countField + 2, p.countId + 3, kExpense2Table,
            p.countField + 3);
  }
  OpenLine(b, "905.", 440, kExpense2Table, 19);
  OpenLine(b, "906.", 613, kExpense2Table, 48);
  b.Extended();
}

void Reserves(FormBuilder& b) {
  SectionHead(b, "1000.  RESERVES DEPOSITED WITH LENDER");
  static const char* const kCaptions[] = {
      "1001.  Hazard insurance",      "1002.  Mortgage insurance", "1003.  City property taxes",
      "1004.  County property taxes", "1005.  Annual assessments", "1006."};
  for (int i = 0; i < 8; ++i) {
    // 1001-1006: months, monthly amount, borrower amount; 1007-1008 start with a description.
    const bool described = i >= 6;
    const int monthsField = described ? 41 + 4 * (i - 6) : 22 + 3 * i;
    const int monthsId = monthsField + 421;
    b.Line(Page::Two);
    b.Rule();
    if (described) {
      b.Caption(0, 400, i == 6 ? "1007." : "1008.");
      b.Text(400, 2400, monthsId - 1, kExpense2Table, monthsField - 1);
    } else {
      b.Caption(0, 2400, kCaptions[i]);
    }
    // Line 1008's "months @" and "per month" are printed with its values, not on the form.
    const Shown unitShown = i == 7 ? Shown::ScreenOnly : Shown::Both;
    b.Text(2400, 2960, monthsId, kExpense2Table, monthsField);
    b.Caption(2960, 3450, "months @ $", Style::Normal, unitShown);
    b.Money(3450, 4460, monthsId + 1, kExpense2Table, monthsField + 1);
    b.Caption(4460, 5300, "per month", Style::Normal, unitShown);
    Columns(b, monthsId + 2, kExpense2Table, monthsField + 2, 563 + i, kExtraTable, 6 + i);
  }
  b.Line(Page::Two);
  b.Extended();
  b.Rule();
  b.Caption(0, 400, "1009.");
  b.Text(400, kDescRight, 616, kExpense2Table, 51);
  Columns(b, 617, kExpense2Table, 52, 618, kExtraTable, 14);
}

void TitleCharges(FormBuilder& b) {
  SectionHead(b, "1100.  TITLE CHARGES");
  static const char* const kCaptions[] = {
      "1101.  Settlement or closing fee to", "1102.  Abstract or title search to",
      "1103.  Title examination to",         "1104.  Title insurance binder to",
      "1105.  Document preparation to",      "1106.  Notary fees to"};
  for (int i = 0; i < 6; ++i)
    OpenLine(b, kCaptions[i], 469 + 3 * i, kExpense3Table, 2 + 3 * i, 2200);
  // 1107 and 1108 name the items they include; their borrower and seller amounts follow.
  for (int i = 0; i < 2; ++i) {
    const int id = 487 + 4 * i;
    const int field = 20 + 4 * i;
    b.Line(Page::Two, i == 0 ? "l1107" : "l1108");
    b.Rule();
    b.Caption(0, 1500, i == 0 ? "1107.  Attorney's fees to" : "1108.  Title insurance to");
    b.Text(1500, 3250, id, kExpense3Table, field);
    b.Caption(3250, 4660, "(includes above items numbers:", Style::Small);
    b.Text(4660, 6100, id + 1, kExpense3Table, field + 1);
    Columns(b, id + 2, kExpense3Table, field + 2, id + 3, kExpense3Table, field + 3);
  }
  for (int i = 0; i < 2; ++i) {
    b.Line(Page::Two);
    b.Rule();
    b.Caption(0, 1650, i == 0 ? "1109.  Lender's coverage $" : "1110.  Owner's coverage $");
    b.Money(1650, 2700, 495 + 2 * i, kExpense3Table, 28 + 2 * i);
    b.Caption(2700, 3250, "Premium $");
    b.Money(3250, 4300, 496 + 2 * i, kExpense3Table, 29 + 2 * i);
  }
  OpenLine(b, "1111.", 499, kExpense3Table, 32, 400);
  OpenLine(b, "1112.", 502, kExpense3Table, 35, 400);
  OpenLine(b, "1113.", 505, kExpense3Table, 38, 400);
  OpenLine(b, "1114.", 619, kExpense3Table, 41, 400);
  b.Extended();
  OpenLine(b, "1115.", 622, kExpense3Table, 44, 400);
  b.Extended();
}

void Recording(FormBuilder& b) {
  SectionHead(b, "1200.  GOVERNMENT RECORDING AND TRANSFER CHARGES");
  struct Part {
    const char* caption;
    int amountId;
    int amountField;
  };
  struct Split {
    const char* caption;
    int captionRight;
    Part parts[3];
    int totalId;
    int totalField;
  };
  static const Split kSplits[] = {
      {"1201.  Recording fees: Deed $",
       1650,
       {{"", 508, 2}, {"; Mortgage $", 510, 4}, {"; Releases $", 512, 6}},
       514,
       8},
      {"1202.  City/county tax/stamps: Deed $",
       2200,
       {{"", 516, 10}, {"; Mortgage $", 518, 12}, {}},
       520,
       14},
      {"1203.  State tax/stamps: Deed $",
       1900,
       {{"", 522, 16}, {"; Mortgage $", 524, 18}, {}},
       526,
       20},
  };
  for (const Split& split : kSplits) {
    b.Line(Page::Two);
    b.Rule();
    b.Caption(0, split.captionRight, split.caption);
    int x = split.captionRight;
    for (const Part& part : split.parts) {
      if (!part.amountId) break;
      if (part.caption[0]) {
        b.Caption(x, x + 650, part.caption);
        x += 650;
      }
      b.Money(x, x + 700, part.amountId, kExpense4Table, part.amountField);
      // The paid-by letter chooses the column; it is edited on screen, not printed.
      b.Text(x + 700, x + 900, part.amountId + 1, kExpense4Table, part.amountField + 1, Side::Both,
             Shown::ScreenOnly);
      x += 900;
    }
    Columns(b, split.totalId, kExpense4Table, split.totalField, split.totalId + 1, kExpense4Table,
            split.totalField + 1);
  }
  OpenLine(b, "1204.", 528, kExpense4Table, 22, 400);
  OpenLine(b, "1205.", 531, kExpense4Table, 25, 400);
  OpenLine(b, "1206.", 625, kExpense4Table, 51, 400);
  b.Extended();
  OpenLine(b, "1207.", 628, kExpense4Table, 54, 400);
  b.Extended();
}

void Additional(FormBuilder& b) {
  SectionHead(b, "1300.  ADDITIONAL SETTLEMENT CHARGES");
  OpenLine(b, "1301.  Survey to", 534, kExpense4Table, 28, 1300);
  OpenLine(b, "1302.  Pest inspection to", 537, kExpense4Table, 31, 1600);
  static const char* const kNumbers[] = {"1303.", "1304.", "1305.", "1306.", "1307."};
  for (int i = 0; i < 5; ++i)
    OpenLine(b, kNumbers[i], 540 + 3 * i, kExpense4Table, 34 + 3 * i, 400);
  static const char* const kExtended[] = {"1308.", "1309.", "1310."};
  for (int i = 0; i < 3; ++i) {
    OpenLine(b, kExtended[i], 631 + 3 * i, kExpense4Table, 57 + 3 * i, 400);
    b.Extended();
  }
}

}  // namespace

void BuildPage2(FormBuilder& b) {
  const int first = b.Line(Page::Two, "lhdr", 34, 10);
  b.Rule();
  b.Caption(0, kBorrowerLeft, "L.  SETTLEMENT CHARGES", Style::Heading);
  b.Caption(kBorrowerLeft, kSellerLeft, "PAID FROM BORROWER'S FUNDS AT SETTLEMENT", Style::Small,
            Shown::Both, Align::Center);
  b.Caption(kSellerLeft, kFormRight, "PAID FROM SELLER'S FUNDS AT SETTLEMENT", Style::Small,
            Shown::Both, Align::Center);
  Commission(b);
  LoanItems(b);
  AdvanceItems(b);
  Reserves(b);
  TitleCharges(b);
  Recording(b);
  Additional(b);
  b.Line(Page::Two, "l1400");
  b.Caption(0, kBorrowerLeft,
            "1400.  TOTAL SETTLEMENT CHARGES (enter on lines 103, Section J and 502, Section K)",
            Style::Bold);
  Columns(b, 555, kExpense4Table, 49, 556, kExpense4Table, 50);
  const int last = b.CurrentIndex();
  b.AddBox(Page::Two, first, last, 0, kFormRight);
  b.AddBox(Page::Two, first, last, kBorrowerLeft, kSellerLeft);
}

}  // namespace hudform
