/*
** The form's geometry: statement boxes that do not overlap and lie inside the drawn form,
** a Tab order that walks down the form, a screen form the statement window's scroll ranges
** reach, and print positions that fall inside the boxes of their printed page.
*/
#include "hudform/field_layout.h"
#include "hudform/form_description.h"
#include "hudform/print_layout.h"

#include <gtest/gtest.h>

#include <set>

using namespace hudform;

namespace {

// The statement window scrolls 72 units of 8 pixels across and 139 units of 24 down.
constexpr int kScrollWidth = 72 * 8;
constexpr int kScrollHeight = 139 * 24;

struct Rect {
  int left, top, right, bottom;  // screen: top < bottom; paper: top > bottom
};

std::vector<Rect> BoxRects(Geometry geometry) {
  std::vector<Rect> rects;
  const FormDescription& form = Form();
  const std::vector<Span>& spans = BandSpans(geometry);
  const bool screen = geometry == Geometry::Screen;
  for (const Box& box : form.boxes) {
    if (!screen && box.page != (geometry == Geometry::Page1 ? Page::One : Page::Two)) continue;
    bool found = false;
    Rect r{};
    for (int i = box.firstBand; i <= box.lastBand; ++i) {
      if (!spans[i].present) continue;
      if (!found) r.top = spans[i].top;
      r.bottom = spans[i].bottom;
      found = true;
    }
    if (!found) continue;
    r.left = screen ? ScreenX(box.x0) : box.x0;
    r.right = screen ? ScreenX(box.x1) : box.x1;
    rects.push_back(r);
  }
  return rects;
}

bool InsideScreenBox(const FieldRect& f, const std::vector<Rect>& boxes) {
  for (const Rect& b : boxes) {
    if (f.left >= b.left && f.right <= b.right && f.top >= b.top && f.bottom <= b.bottom)
      return true;
  }
  return false;
}

bool InsidePrintBox(int x, int y, const std::vector<Rect>& boxes) {
  for (const Rect& b : boxes) {
    if (x >= b.left && x <= b.right && y <= b.top && y >= b.bottom) return true;
  }
  return false;
}

bool Overlap(const FieldRect& a, const FieldRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const PrintRow* FindRow(PrintTable table, int code) {
  for (const PrintRow& row : PrintRows(table))
    if (row.code == code) return &row;
  return nullptr;
}

void ExpectRow(PrintTable table, int code, int x, int y, unsigned align, unsigned side) {
  const PrintRow* row = FindRow(table, code);
  ASSERT_NE(row, nullptr) << code;
  EXPECT_EQ(row->x, x) << code;
  EXPECT_EQ(row->y, y) << code;
  EXPECT_EQ(unsigned{row->align}, align) << code;
  EXPECT_EQ(unsigned{row->side}, side) << code;
}

}  // namespace

TEST(ScreenForm, StatementBoxesDoNotOverlapAndSitInDrawnBoxes) {
  const auto& fields = StatementFields();
  const std::vector<Rect> boxes = BoxRects(Geometry::Screen);
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldRect& r = fields[i].rect;
    EXPECT_LT(r.left, r.right) << fields[i].id;
    EXPECT_LT(r.top, r.bottom) << fields[i].id;
    EXPECT_TRUE(InsideScreenBox(r, boxes)) << "id " << fields[i].id << " outside every box";
    for (size_t j = i + 1; j < fields.size(); ++j)
      EXPECT_FALSE(Overlap(r, fields[j].rect)) << fields[i].id << " overlaps " << fields[j].id;
  }
}

TEST(ScreenForm, TabOrderWalksDownTheForm) {
  const auto& fields = StatementFields();
  ASSERT_FALSE(fields.empty());
  for (size_t i = 1; i < fields.size(); ++i) {
    EXPECT_GE(fields[i].rect.top, fields[i - 1].rect.top - 2)
        << fields[i - 1].id << " then " << fields[i].id;
    if (fields[i].rect.top == fields[i - 1].rect.top) {
      EXPECT_GT(fields[i].rect.left, fields[i - 1].rect.left) << fields[i].id;
    }
  }
  EXPECT_EQ(fields.front().id, 184);  // the loan type opens the form
}

TEST(ScreenForm, ScrollRangesReachTheWholeForm) {
  // A 640-pixel-wide child scrolled fully right still shows the right edge.
  EXPECT_LE(ScreenFormWidth(), kScrollWidth + 640);
  EXPECT_GE(ScreenFormWidth(), 1100);
  // A child of about 360 pixels' height scrolled to the bottom shows the last line.
  EXPECT_LE(ScreenFormHeight(), kScrollHeight + 360);
  EXPECT_GE(ScreenFormHeight(), 3300);
  for (const StatementField& f : StatementFields()) {
    EXPECT_GE(f.rect.left, 0);
    EXPECT_LT(f.rect.right, ScreenFormWidth());
    EXPECT_LT(f.rect.bottom, ScreenFormHeight());
  }
}

TEST(ScreenForm, ExtendedLinesFollowPageOne) {
  int lastPageOneBottom = 0;
  int firstExtendedTop = 1 << 30;
  for (const StatementField& f : StatementFields()) {
    if (f.id == 369) lastPageOneBottom = f.rect.bottom;
    if (f.id >= 577 && f.id <= 639 && f.rect.top < firstExtendedTop) firstExtendedTop = f.rect.top;
  }
  EXPECT_GT(firstExtendedTop, lastPageOneBottom);
}

TEST(PrintedPages, EveryBandOfAPageGetsAPlaceGoingDown) {
  const FormDescription& form = Form();
  for (Geometry geometry : {Geometry::Page1, Geometry::Page2Standard, Geometry::Page2Extended}) {
    const std::vector<Span>& spans = BandSpans(geometry);
    int previousBottom = 1;
    for (size_t i = 0; i < form.bands.size(); ++i) {
      if (!BandInGeometry(form.bands[i], geometry)) {
        EXPECT_FALSE(spans[i].present) << i;
        continue;
      }
      ASSERT_TRUE(spans[i].present) << "band " << i << " has no place on paper";
      EXPECT_GT(spans[i].top, spans[i].bottom) << i;
      if (previousBottom <= 0) { EXPECT_EQ(spans[i].top, previousBottom) << i; }
      previousBottom = spans[i].bottom;
    }
    EXPECT_GT(previousBottom, -PrintPageHeight(geometry, false));
  }
}

TEST(PrintedPages, EveryPositionFallsInsideABoxOfItsPage) {
  struct Case {
    PrintTable table;
    Geometry geometry;
  };
  const Case cases[] = {
      {PrintTable::Page1, Geometry::Page1},
      {PrintTable::Page2Top, Geometry::Page2Standard},
      {PrintTable::Page2Top, Geometry::Page2Extended},
      {PrintTable::Page2Standard, Geometry::Page2Standard},
      {PrintTable::Page2Extended, Geometry::Page2Extended},
      {PrintTable::Page2TotalsStandard, Geometry::Page2Standard},
      {PrintTable::Page2TotalsExtended, Geometry::Page2Extended},
      {PrintTable::LoanLinesStandard, Geometry::Page2Standard},
      {PrintTable::LoanLinesExtended, Geometry::Page2Extended},
  };
  for (const Case& c : cases) {
    const std::vector<Rect> boxes = BoxRects(c.geometry);
    ASSERT_FALSE(PrintRows(c.table).empty()) << PrintTableName(c.table);
    for (const PrintRow& row : PrintRows(c.table)) {
      EXPECT_TRUE(InsidePrintBox(row.x, row.y, boxes))
          << PrintTableName(c.table) << " row " << row.code << " at " << row.x << "," << row.y;
      EXPECT_GT(row.y, -PrintPageHeight(c.geometry, false)) << row.code;
    }
  }
  const struct {
    PrintTable table;
    SignaturePlace place;
    Geometry geometry;
  } signatures[] = {
      {PrintTable::SignatureStandard, SignaturePlace::Page2Standard, Geometry::Page2Standard},
      {PrintTable::SignatureExtended, SignaturePlace::Page2Extended, Geometry::Page2Extended},
      {PrintTable::SignaturePage3, SignaturePlace::Page3, Geometry::Page1}};
  for (const auto& s : signatures) {
    const int origin = SignatureOrigin(s.place);
    const std::vector<Rect> block = {
        {0, origin + kSignatureTopAbove, kFormRight, origin - kSignatureBottomBelow}};
    for (const PrintRow& row : PrintRows(s.table))
      EXPECT_TRUE(InsidePrintBox(row.x, row.y, block))
          << PrintTableName(s.table) << " " << row.code;
    EXPECT_GT(origin - kSignatureBottomBelow, -PrintPageHeight(s.geometry, true));
    if (s.place != SignaturePlace::Page3) {
      // The block starts below line 1400.
      const auto& spans = BandSpans(s.geometry);
      for (const Span& span : spans) {
        if (span.present) { EXPECT_LE(origin + kSignatureTopAbove, span.bottom); }
      }
    }
  }
}

TEST(PrintedPages, FixedRowsStandWhereThePrintoutExpectsThem) {
  ExpectRow(PrintTable::Page1, 184, 987, -480, 6, 0);
  ExpectRow(PrintTable::Page1, 185, 2962, -490, 6, 0);
  ExpectRow(PrintTable::Page1, 186, 4937, -490, 6, 0);
  ExpectRow(PrintTable::Page1, 101, 6912, -470, 6, 0);
  ExpectRow(PrintTable::Page1, 212, 6025, -2850, 0, 0);
  ExpectRow(PrintTable::Page1, 576, 6025, -3000, 0, 0);
  ExpectRow(PrintTable::Page1, 213, 3920, -3740, 2, 1);
  ExpectRow(PrintTable::Page1, 244, 7870, -3740, 2, 2);
  ExpectRow(PrintTable::Page2TotalsStandard, 555, 7020, -10720, 2, 1);
  ExpectRow(PrintTable::Page2TotalsStandard, 556, 7870, -10720, 2, 2);
  ExpectRow(PrintTable::Page2TotalsExtended, 555, 7020, -12750, 2, 1);
  ExpectRow(PrintTable::LoanLinesStandard, 488, 4700, -7120, 0, 0);
  ExpectRow(PrintTable::LoanLinesStandard, 492, 4700, -7290, 0, 0);
  ExpectRow(PrintTable::LoanLinesExtended, 488, 4700, -8810, 0, 0);
  ExpectRow(PrintTable::LoanLinesExtended, 492, 4700, -8980, 0, 0);
  ExpectRow(PrintTable::SignatureStandard, 102, 600, -11470, 0, 1);
  ExpectRow(PrintTable::SignatureExtended, 143, 4700, -13530, 0, 2);
  ExpectRow(PrintTable::SignaturePage3, 102, 600, -2340, 0, 1);
  EXPECT_EQ(PrintRows(PrintTable::SignatureStandard).size(), 9u);
}

TEST(PrintedPages, TablesSplitTheLayoutsAsThePrintoutUsesThem) {
  // The top table serves both layouts, so its rows stand alike in both.
  std::set<int> top;
  for (const PrintRow& row : PrintRows(PrintTable::Page2Top)) {
    top.insert(row.code);
    EXPECT_FALSE(row.code >= 577 && row.code <= 639) << row.code;
    EXPECT_GT(row.y, -3300) << row.code;
  }
  EXPECT_TRUE(top.count(-122) && top.count(-133) && top.count(379));
  std::set<int> standard, extended;
  for (const PrintRow& row : PrintRows(PrintTable::Page2Standard)) standard.insert(row.code);
  for (const PrintRow& row : PrintRows(PrintTable::Page2Extended)) extended.insert(row.code);
  for (int code : standard) {
    EXPECT_FALSE(code >= 577 && code <= 639) << code;
    EXPECT_FALSE(code <= -134 && code >= -142) << code;
    EXPECT_TRUE(extended.count(code)) << code;
  }
  for (int code : {577, 579, 580, 612, 617, 618, 626, 633, -134, -142, -143, -145})
    EXPECT_TRUE(extended.count(code)) << code;
  for (int code : {488, 492, 555, 556, 509}) {
    EXPECT_FALSE(standard.count(code)) << code;
    EXPECT_FALSE(extended.count(code)) << code;
  }
  std::set<int> page1;
  for (const PrintRow& row : PrintRows(PrintTable::Page1)) page1.insert(row.code);
  for (int code = -119; code <= -101; ++code) EXPECT_TRUE(page1.count(code)) << code;
  for (int code : {-143, 574, 575, 108, 149, 205, 194}) EXPECT_TRUE(page1.count(code)) << code;
  for (int code : {220, 221, 222, 223, 102, 142})  // shown through special rows or on screen only
    EXPECT_FALSE(page1.count(code)) << code;
}

namespace {
#include "hud_print_tables.inc"
}

TEST(PrintedPages, GeneratedTablesMatchTheDescription) {
  const auto same = [](const auto& generated, PrintTable table) {
    const auto& rows = PrintRows(table);
    ASSERT_EQ(std::size(generated), rows.size()) << PrintTableName(table);
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(generated[i].code, rows[i].code);
      EXPECT_EQ(generated[i].x, rows[i].x);
      EXPECT_EQ(generated[i].y, rows[i].y);
      EXPECT_EQ(unsigned{generated[i].align}, unsigned{rows[i].align});
      EXPECT_EQ(unsigned{generated[i].side}, unsigned{rows[i].side});
    }
  };
  same(kHudPage1, PrintTable::Page1);
  same(kHudPage2Top, PrintTable::Page2Top);
  same(kHudPage2Standard, PrintTable::Page2Standard);
  same(kHudPage2Extended, PrintTable::Page2Extended);
  same(kHudLoanLinesExtended, PrintTable::LoanLinesExtended);
  same(kHudSignaturePage3, PrintTable::SignaturePage3);
}
