/*
** The form's drawing: boxes, the rules under the lines and the printed captions, on screen
** at pixel scale and on paper in the page's logical units. Only what meets the screen's
** paint rectangle is drawn, so scrolling repaints stay cheap.
*/
#include "hudform/form_painter.h"

#include "platform/gdi/gdi.h"

#include <algorithm>
#include <cstring>

namespace hudform {

namespace {

/* Caption fonts by style: the family and heights on screen (pixels) and paper (units). */
struct FontStyle {
  int screenHeight;
  int printHeight;
  int weight;
};
constexpr FontStyle kFontStyles[] = {
    {-11, -78, 400},   // Normal
    {-11, -80, 700},   // Bold
    {-9, -62, 400},    // Small
    {-12, -92, 700},   // Heading
    {-15, -120, 700},  // Title
};
constexpr int kStyleCount = 5;

/* The caption fonts of one drawing, made on first use and deleted at the end. */
class CaptionFonts {
 public:
  CaptionFonts(HDC dc, bool screen) : dc_(dc), screen_(screen) {}
  ~CaptionFonts() {
    if (previous_) SelectObject(dc_, previous_);
    for (HFONT font : fonts_)
      if (font) DeleteObject(font);
  }
  void Select(Style style) {
    const int index = static_cast<int>(style);
    if (!fonts_[index]) {
      const FontStyle& style = kFontStyles[index];
      fonts_[index] = CreateFontA(screen_ ? style.screenHeight : style.printHeight, 0, 0, 0,
                                  style.weight, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    }
    HGDIOBJ old = SelectObject(dc_, fonts_[index]);
    if (!previous_) previous_ = old;
  }

 private:
  HDC dc_;
  bool screen_;
  HFONT fonts_[kStyleCount] = {};
  HGDIOBJ previous_ = nullptr;
};

/* The state a drawing changes, put back afterwards. */
class SavedState {
 public:
  explicit SavedState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
  ~SavedState() { RestoreDC(dc_, state_); }

 private:
  HDC dc_;
  int state_;
};

UINT DrawTextAlign(Align align) {
  switch (align) {
    case Align::Right: return DT_RIGHT;
    case Align::Center: return DT_CENTER;
    default: return DT_LEFT;
  }
}

/* The box's extent over the bands present in a geometry; false when none is. */
bool BoxSpan(const Box& box, const std::vector<Span>& spans, Span* out) {
  bool found = false;
  for (int i = box.firstBand; i <= box.lastBand; ++i) {
    if (!spans[i].present) continue;
    if (!found) out->top = spans[i].top;
    out->bottom = spans[i].bottom;
    found = true;
  }
  return found;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void Frame(HDC dc, int left, int top, int right, int bottom) {
  POINT corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
  Polyline(dc, corners, 5);
}

/* ---- Screen ------------------------------------------------------------------------- */

bool Meets(const RECT& rect, int left, int top, int right, int bottom) {
  return bottom >= rect.top && top <= rect.bottom && right >= rect.left && left <= rect.right;
}

void ScreenCaption(HDC dc, CaptionFonts& fonts, const Cell& cell, const Span& span) {
  fonts.Select(cell.style);
  RECT box{ScreenX(cell.x0) + 3, span.top + 2, ScreenX(cell.x1) - 3, span.bottom};
  DrawTextA(dc, cell.text, -1, &box, DT_WORDBREAK | DT_NOPREFIX | DrawTextAlign(cell.align));
}

}  // namespace

void PaintScreenForm(HDC dc, const RECT& rect) {
  SavedState saved(dc);
  const FormDescription& form = Form();
  const std::vector<Span>& spans = BandSpans(Geometry::Screen);
  RECT paper{0, 0, ScreenFormWidth(), ScreenFormHeight()};
  RECT fill{std::max(paper.left, rect.left), std::max(paper.top, rect.top),
            std::min(paper.right, rect.right + 1), std::min(paper.bottom, rect.bottom + 1)};
  if (fill.left < fill.right && fill.top < fill.bottom)
    FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const int right = ScreenX(kFormRight);
  CaptionFonts fonts(dc, true);
  for (size_t i = 0; i < form.bands.size(); ++i) {
    const Span& span = spans[i];
    if (!span.present || !Meets(rect, 0, span.top, right, span.bottom)) continue;
    const Band& band = form.bands[i];
    if (band.ruleBelow) Line(dc, 0, span.bottom, right, span.bottom);
    for (const Cell& cell : band.cells) {
      if (cell.kind != CellKind::Caption || !CellInGeometry(cell, Geometry::Screen)) continue;
      if (!Meets(rect, ScreenX(cell.x0), span.top, ScreenX(cell.x1), span.bottom)) continue;
      // The update region may be much smaller than its bounding box (a scroll's band and a
      // few fields): a caption outside the region itself is not laid out at all.
      RECT cellArea{ScreenX(cell.x0) - 1, span.top - 1, ScreenX(cell.x1) + 2, span.bottom + 2};
      if (!RectVisible(dc, &cellArea)) continue;
      ScreenCaption(dc, fonts, cell, span);
    }
  }
  for (const Box& box : form.boxes) {
    Span extent;
    if (!BoxSpan(box, spans, &extent)) continue;
    if (!Meets(rect, ScreenX(box.x0), extent.top, ScreenX(box.x1), extent.bottom)) continue;
    Frame(dc, ScreenX(box.x0), extent.top, ScreenX(box.x1), extent.bottom);
  }
}

/* ---- Paper -------------------------------------------------------------------------- */

namespace {

constexpr int kBoxPenWidth = 8;
constexpr int kTextInset = 40;

void PrintCaption(HDC dc, CaptionFonts& fonts, const Cell& cell, const Span& span) {
  fonts.Select(cell.style);
  RECT box{cell.x0 + kTextInset, span.top - cell.printDy, cell.x1 - kTextInset / 2, span.bottom};
  DrawTextA(dc, cell.text, -1, &box, DT_WORDBREAK | DT_NOPREFIX | DrawTextAlign(cell.align));
}

void TextBlock(HDC dc, int left, int top, int right, int bottom, const char* text) {
  RECT box{left, top, right, bottom};
  DrawTextA(dc, text, -1, &box, DT_WORDBREAK | DT_NOPREFIX);
}

void TextAt(HDC dc, int x, int y, const char* text) {
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

}  // namespace

void PaintPrintedPage(HDC dc, Geometry geometry, bool drawLines) {
  if (!drawLines || geometry == Geometry::Screen) return;
  SavedState saved(dc);
  const FormDescription& form = Form();
  const std::vector<Span>& spans = BandSpans(geometry);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  HPEN rulePen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
  HPEN boxPen = CreatePen(PS_SOLID, kBoxPenWidth, RGB(0, 0, 0));
  SelectObject(dc, rulePen);
  {
    CaptionFonts fonts(dc, false);
    for (size_t i = 0; i < form.bands.size(); ++i) {
      if (!spans[i].present) continue;
      const Band& band = form.bands[i];
      if (band.ruleBelow) Line(dc, 0, spans[i].bottom, kFormRight, spans[i].bottom);
      for (const Cell& cell : band.cells) {
        if (cell.kind == CellKind::Caption && CellInGeometry(cell, geometry))
          PrintCaption(dc, fonts, cell, spans[i]);
      }
    }
  }
  SelectObject(dc, boxPen);
  for (const Box& box : form.boxes) {
    Span extent;
    if (box.page == (geometry == Geometry::Page1 ? Page::One : Page::Two) &&
        BoxSpan(box, spans, &extent))
      Frame(dc, box.x0, extent.top, box.x1, extent.bottom);
  }
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(rulePen);
  DeleteObject(boxPen);
}

void PaintSignatureBlock(HDC dc, SignaturePlace place) {
  SavedState saved(dc);
  const int y0 = SignatureOrigin(place);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  HPEN rulePen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
  HPEN boxPen = CreatePen(PS_SOLID, kBoxPenWidth, RGB(0, 0, 0));
  SelectObject(dc, boxPen);
  Frame(dc, 0, y0 + kSignatureTopAbove, kFormRight, y0 - kSignatureBottomBelow);
  SelectObject(dc, rulePen);
  {
    CaptionFonts fonts(dc, false);
    fonts.Select(Style::Small);
    TextBlock(dc, kTextInset, y0 + 560, kFormRight - kTextInset, y0 + 200,
              "I have carefully reviewed the HUD-1 Settlement Statement and to the best of my "
              "knowledge and belief, it is a true and accurate statement of all receipts and "
              "disbursements made on my account or by me in this transaction. I further certify "
              "that I have received a copy of the HUD-1 Settlement Statement.");
    for (const SignatureRow& row : SignatureRows()) {
      if (row.id == 212) continue;
      const int y = y0 - row.dy;
      const bool borrower = row.side == Side::Borrower;
      const int lineLeft = row.x;
      const int lineRight = borrower ? 3100 : 7200;
      const int dateLeft = borrower ? 3200 : 7300;
      Line(dc, lineLeft, y + 10, lineRight, y + 10);
      Line(dc, dateLeft, y + 10, dateLeft + 560, y + 10);
      if (row.dy == 0) {
        TextAt(dc, borrower ? kTextInset : 3990, y, borrower ? "Borrowers" : "Sellers");
      }
    }
    const int agentY = y0 - kSignatureAgentDy;
    TextBlock(dc, kTextInset, y0 - 1010, kFormRight - kTextInset, y0 - 1140,
              "The HUD-1 Settlement Statement which I have prepared is a true and accurate "
              "account of this transaction. I have caused or will cause the funds to be "
              "disbursed in accordance with this statement.");
    Line(dc, 600, agentY - 140, 3300, agentY - 140);
    Line(dc, 3450, agentY - 140, 4300, agentY - 140);
    TextAt(dc, 600, agentY - 150, "Settlement Agent");
    TextAt(dc, 3500, agentY - 150, "Date");
    TextBlock(dc, kTextInset, agentY - 290, 6600, agentY - 460,
              "WARNING: It is a crime to knowingly make false statements to the United States on "
              "this or any other similar form. Penalties upon conviction can include a fine and "
              "imprisonment. For details see: Title 18 U.S. Code Section 1001 and Section 1010.");
  }
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(rulePen);
  DeleteObject(boxPen);
}

void PaintSignaturePageHeading(HDC dc) {
  SavedState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  CaptionFonts fonts(dc, false);
  fonts.Select(Style::Title);
  TextAt(dc, kFormRight / 2, -400, "U.S. DEPARTMENT OF HOUSING AND URBAN DEVELOPMENT");
  TextAt(dc, kFormRight / 2, -560, "SETTLEMENT STATEMENT");
  fonts.Select(Style::Heading);
  TextAt(dc, kFormRight / 2, -800, "CERTIFICATION");
  fonts.Select(Style::Small);
  TextAt(dc, kFormRight / 2, -1000, "Attachment to HUD-1 (3-86), page 3 of 3");
}

}  // namespace hudform
