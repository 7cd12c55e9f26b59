/*
** The control bar and its gadgets: layout along the bar, painting of picture buttons, clicks
** sent as commands, and the buttons' enabling.
*/
#include "platform/framework/control_bar.h"

#include "platform/user/input.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>

namespace {
const int kButtonMargin = 3;  // between the picture and the button's edge
const int kBarMargin = 2;     // above and below the buttons

int PointsToPixels(int points) { return -(points * 96 / 72); }
}  // namespace

TGadgetWindowFont::TGadgetWindowFont(int pointSize, bool bold, bool italic)
    : TFont("MS Sans Serif", PointsToPixels(pointSize), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
            VARIABLE_PITCH | FF_SWISS, italic ? 1 : 0) {}

/* ---- button gadget ---- */

TButtonGadget::TButtonGadget(TResId bmpResId, int id, TType type, bool enabled, TState state, bool)
    : TGadget(id), bitmapId_(bmpResId), type_(type), state_(state) {
  enabled_ = enabled;
}

TButtonGadget::~TButtonGadget() {
  if (bitmap_) DeleteObject(bitmap_);
}

void TButtonGadget::LoadPicture(HINSTANCE module) {
  if (bitmap_) return;
  bitmap_ = LoadBitmap(module, bitmapId_);
  BITMAP info{};
  if (bitmap_ && GetObject(bitmap_, sizeof info, &info))
    bitmapSize_ = TSize(info.bmWidth, info.bmHeight);
}

TSize TButtonGadget::GetDesiredSize() const {
  // Without a picture the button keeps the size of the usual 20 x 20 picture.
  TSize picture = bitmap_ ? bitmapSize_ : TSize(20, 20);
  return TSize(picture.cx + 2 * kButtonMargin, picture.cy + 2 * kButtonMargin);
}

void TButtonGadget::Paint(TDC& dc) {
  TRect r = bounds_;
  TBrush face(TColor(GetSysColor(COLOR_BTNFACE)));
  dc.FillRect(r, face);
  bool sunken = pressed_ || state_ == Down;
  TPen light(TColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
  TPen dark(TColor(GetSysColor(COLOR_BTNSHADOW)));
  dc.SelectObject(sunken ? dark : light);
  dc.MoveTo(r.left, r.bottom - 1);
  dc.LineTo(r.left, r.top);
  dc.LineTo(r.right - 1, r.top);
  dc.SelectObject(sunken ? light : dark);
  dc.LineTo(r.right - 1, r.bottom - 1);
  dc.LineTo(r.left, r.bottom - 1);
  dc.RestorePen();
  if (!bitmap_) return;
  TMemoryDC memory(dc);
  TBitmap picture(bitmap_);
  memory.SelectObject(picture);
  int offset = sunken ? 1 : 0;
  dc.BitBlt(r.left + kButtonMargin + offset, r.top + kButtonMargin + offset, bitmapSize_.cx,
            bitmapSize_.cy, memory, 0, 0, enabled_ ? SRCCOPY : MERGEPAINT);
  memory.RestoreBitmap();
}

/* ---- control bar ---- */

TControlBar::TControlBar(TWindow* parent, TTileDirection, TFont* font, TModule* module)
    : TWindow(parent, nullptr, module), font_(font) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  Attr.H = 20 + 2 * kButtonMargin + 2 * kBarMargin;
}

TControlBar::~TControlBar() {
  for (TGadget* gadget : gadgets_) delete gadget;
}

void TControlBar::Insert(TGadget& gadget) {
  gadgets_.push_back(&gadget);
  if (auto* button = dynamic_cast<TButtonGadget*>(&gadget)) button->LoadPicture(*GetModule());
  LayoutGadgets();
}

void TControlBar::LayoutGadgets() {
  int height = 0;
  for (TGadget* gadget : gadgets_) height = std::max<int>(height, gadget->GetDesiredSize().cy);
  if (height == 0) height = 20 + 2 * kButtonMargin;
  int x = kBarMargin;
  for (TGadget* gadget : gadgets_) {
    TSize size = gadget->GetDesiredSize();
    gadget->SetBounds(TRect(x, kBarMargin, x + size.cx, kBarMargin + height));
    x += size.cx;
  }
  Attr.H = height + 2 * kBarMargin;
  if (HWindow) Invalidate();
}

void TControlBar::SetupWindow() {
  TWindow::SetupWindow();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_->GetHandle()), 0);
  UpdateButtonStates();
}

TGadget* TControlBar::GadgetWithId(int id) const {
  for (TGadget* gadget : gadgets_)
    if (gadget->GetId() == id) return gadget;
  return nullptr;
}

TGadget* TControlBar::GadgetFromPoint(const TPoint& point) const {
  for (TGadget* gadget : gadgets_)
    if (gadget->GetBounds().Contains(point)) return gadget;
  return nullptr;
}

void TControlBar::Paint(TDC& dc, bool, TRect&) {
  TBrush face(TColor(GetSysColor(COLOR_BTNFACE)));
  dc.FillRect(GetClientRect(), face);
  for (TGadget* gadget : gadgets_) gadget->Paint(dc);
}

void TControlBar::UpdateButtonStates() {
  if (!Parent) return;
  bool changed = false;
  for (TGadget* gadget : gadgets_) {
    if (!dynamic_cast<TButtonGadget*>(gadget)) continue;
    TCommandEnabler enabler(static_cast<UINT>(gadget->GetId()));
    Parent->EvCommandEnable(enabler);
    if (enabler.IsEnabled() != gadget->GetEnabled()) {
      gadget->SetEnabled(enabler.IsEnabled());
      changed = true;
    }
  }
  if (changed && HWindow) Invalidate(false);
}

void TControlBar::EvLButtonDown(UINT, TPoint& point) {
  auto* button = dynamic_cast<TButtonGadget*>(GadgetFromPoint(point));
  if (!button || !button->GetEnabled()) return;
  pressed_ = button;
  button->SetPressed(true);
  SetCapture(HWindow);
  InvalidateRect(button->GetBounds(), false);
}

void TControlBar::EvLButtonUp(UINT, TPoint& point) {
  if (!pressed_) return;
  TButtonGadget* button = pressed_;
  pressed_ = nullptr;
  button->SetPressed(false);
  ReleaseCapture();
  InvalidateRect(button->GetBounds(), false);
  // The command goes to the frame, which routes it like a menu command.
  if (button->GetBounds().Contains(point) && Parent && Parent->HWindow)
    ::SendMessage(Parent->HWindow, WM_COMMAND, MAKEWPARAM(button->GetId(), 0), 0);
}

void TControlBar::EvEnterIdle(UINT, HWND) { UpdateButtonStates(); }

DEFINE_RESPONSE_TABLE1(TControlBar, TWindow)
EV_WM_LBUTTONDOWN, EV_WM_LBUTTONUP, EV_WM_ENTERIDLE, END_RESPONSE_TABLE;
