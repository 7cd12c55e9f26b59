/*
** Painting one statement field: a framed light grey box at its place on the form with its
** value drawn in the colour of its id. Zero amounts and blank dates paint as empty boxes.
** The text a field shows is also what the window compares before repainting it.
*/
#include "statement/field_engine.h"

#include "platform/framework/dc.h"
#include "platform/gdi/gdi.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF kFieldBackground = RGB(192, 192, 192);
constexpr COLORREF kEditableFrame = RGB(128, 128, 128);
constexpr int kFirstExtendedId = 577;  // fields of the extended page get dotted frames
constexpr int kTextInset = 3;

enum class TAlign { kLeft, kRight };

/* The painted text of the field's value; false when nothing is painted. */
bool PaintedText(RespaWindow* view, const TFieldNode* field, char* text, size_t size,
                 TAlign* align) {
  TPXRecord* record =
      field->tableIndex < kRespaRecordCount ? view->records[field->tableIndex] : nullptr;
  if (!record) return false;
  int number = field->fieldNumber;
  *align = TAlign::kLeft;
  text[0] = '\0';
  switch (field->displayKind) {
    case kFieldKindText:
    case kFieldKindChoice: return record->GetString(number, text, static_cast<DWORD>(size));
    case kFieldKindMoney:
    case kFieldKindDecimal:
    case kFieldKindDecimal2: {
      double value = 0;
      if (!record->GetDouble(number, value)) return false;
      bool money = field->displayKind == kFieldKindMoney;
      std::snprintf(text, size, money ? "%.2lf" : "%.5lf", value);
      if (std::strcmp(text, money ? "0.00" : "0.00000") == 0) return false;
      InsertThousandsCommas(text, text, size);
      *align = TAlign::kRight;
      return true;
    }
    case kFieldKindWhole: {
      SHORT value = 0;
      if (!record->GetShort(number, value) || value == 0) return false;
      std::snprintf(text, size, "%hd", value);
      return true;
    }
    case kFieldKindDate: {
      LONG date = kBlankDate;
      if (!record->GetLong(number, date) || date == kBlankDate) return false;
      int month, day, year;
      DecodeDate(date, month, day, year);
      std::snprintf(text, size, "%02d/%02d/%02d", month, day,
                    year < 2000 ? year - 1900 : year - 2000);
      return true;
    }
    default: return false;
  }
}

}  // namespace

std::string FieldShownText(RespaWindow* view, const TFieldNode* field) {
  char text[kFieldTextSize];
  TAlign align;
  if (!field || !PaintedText(view, field, text, sizeof text, &align)) return std::string();
  return text;
}

COLORREF GetFieldColor(RespaWindow*, const TFieldNode* field) {
  switch (field ? field->fieldId : 0) {
    case 215:
    case 325:
    case 555:
    case 556: return RGB(128, 0, 128);
    case 243:
    case 275:
    case 321:
    case 367: return RGB(0, 128, 0);
    case 320:
    case 322:
    case 366:
    case 368: return RGB(128, 0, 0);
    case 323:
    case 369: return RGB(0, 0, 128);
    default: return RGB(0, 0, 0);
  }
}

TFieldPainter::TFieldPainter(TDC& dc) : dc_(dc), saved_(SaveDC(dc.GetHDC())) {}

TFieldPainter::~TFieldPainter() {
  RestoreDC(dc_.GetHDC(), saved_);
  for (HPEN pen : pens_)
    if (pen) DeleteObject(pen);
}

HPEN TFieldPainter::FramePen(RespaWindow* view, const TFieldNode* field) {
  enum { kSolidFrame, kDottedFrame, kDisplayFrame };
  int kind = IsDisplayOnlyField(view, field)     ? kDisplayFrame
             : field->fieldId < kFirstExtendedId ? kSolidFrame
                                                 : kDottedFrame;
  if (!pens_[kind]) {
    if (kind == kDisplayFrame) pens_[kind] = CreatePen(PS_SOLID, 1, kFieldBackground);
    else pens_[kind] = CreatePen(kind == kSolidFrame ? PS_SOLID : PS_DOT, 1, kEditableFrame);
  }
  return pens_[kind];
}

void TFieldPainter::Paint(RespaWindow* view, const TFieldNode* field, std::string* shown) {
  HDC hdc = dc_.GetHDC();
  SetTextColor(hdc, GetFieldColor(view, field));
  SetBkColor(hdc, kFieldBackground);
  SelectObject(hdc, FramePen(view, field));
  SelectObject(hdc, GetStockObject(LTGRAY_BRUSH));
  SetBkMode(hdc, OPAQUE);
  Rectangle(hdc, field->left, field->top, field->right, field->bottom);
  SetBkMode(hdc, TRANSPARENT);

  char text[kFieldTextSize];
  TAlign align;
  bool painted = PaintedText(view, field, text, sizeof text, &align);
  if (shown) shown->assign(painted ? text : "");
  if (painted) {
    int length = static_cast<int>(std::strlen(text));
    int x = field->left + kTextInset;
    if (align == TAlign::kRight) {
      SIZE extent{};
      GetTextExtentPoint32(hdc, text, length, &extent);
      x = std::max(x, static_cast<int>(field->right - extent.cx - 1));
    }
    RECT clip{field->left, field->top, field->right, field->bottom};
    ExtTextOut(hdc, x, field->top + kTextInset, ETO_CLIPPED, &clip, text, length, nullptr);
  }
}

void PaintField(RespaWindow* view, const TFieldNode* field, TDC& dc, std::string* shown) {
  TFieldPainter painter(dc);
  painter.Paint(view, field, shown);
}
