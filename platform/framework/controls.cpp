/*
** The simple control objects and their share of the data transfer.
*/
#include "platform/framework/controls.h"

#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

TControl::TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
                   TModule* module)
    : TWindow(parent, title, module) {
  Attr.Id = id;
  Attr.X = x;
  Attr.Y = y;
  Attr.W = w;
  Attr.H = h;
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
}

TControl::TControl(TWindow* parent, int resourceId, TModule* module)
    : TWindow(parent, nullptr, module) {
  Attr.Id = resourceId;
  DisableAutoCreate();
  SetFlag(wfFromResource);
}

bool TControl::Create() {
  if (HWindow) return true;
  if (TWindow::Create()) return true;
  if (IsFlagSet(wfFromResource)) {
    char text[120];
    std::snprintf(text, sizeof text, "The dialog has no control with the id %d.", Attr.Id);
    ReportFrameworkError(Parent ? Parent->HWindow : nullptr, "Dialog Error", text);
  }
  return false;
}

void TControl::DrawItem(DRAWITEMSTRUCT& drawInfo) {
  if (drawInfo.itemAction & ODA_DRAWENTIRE) ODADrawEntire(drawInfo);
  else if (drawInfo.itemAction & ODA_FOCUS) ODAFocus(drawInfo);
  else if (drawInfo.itemAction & ODA_SELECT) ODASelect(drawInfo);
}

/* ---- static ---- */

TStatic::TStatic(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
                 UINT textLimit, TModule* module)
    : TControl(parent, id, title, x, y, w, h, module), TextLimit(textLimit) {
  Attr.Style = (Attr.Style | SS_LEFT) & ~WS_TABSTOP;
}

TStatic::TStatic(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TControl(parent, resourceId, module), TextLimit(textLimit) {}

UINT TStatic::Transfer(void* buffer, TTransferDirection direction) {
  if (!TextLimit) return 0;
  auto* text = static_cast<char*>(buffer);
  if (direction == tdGetData && text) {
    GetText(text, static_cast<int>(TextLimit));
  } else if (direction == tdSetData && text) {
    // The buffer's text may fill its whole field; only TextLimit bytes belong to it.
    std::vector<char> copy(text, text + TextLimit);
    copy.push_back('\0');
    SetText(copy.data());
  }
  return TextLimit;
}

/* ---- buttons ---- */

TButton::TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                 bool isDefault, TModule* module)
    : TControl(parent, id, text, x, y, w, h, module) {
  Attr.Style |= isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

TButton::TButton(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}

TCheckBox::TCheckBox(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
                     TGroupBox* group, TModule* module)
    : TButton(parent, id, title, x, y, w, h, false, module), Group(group) {
  Attr.Style = (Attr.Style & ~BS_TYPEMASK) | BS_AUTOCHECKBOX;
  EnableTransfer();
}

TCheckBox::TCheckBox(TWindow* parent, int resourceId, TGroupBox* group, TModule* module)
    : TButton(parent, resourceId, module), Group(group) {
  EnableTransfer();
}

TCheckBox::TCheckBox(TWindow* parent, int resourceId, TTransferWidth width, TGroupBox* group,
                     TModule* module)
    : TButton(parent, resourceId, module), Group(group), TransferWidth(width) {
  EnableTransfer();
}

UINT TCheckBox::GetCheck() const {
  return HWindow ? static_cast<UINT>(::SendMessage(HWindow, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

void TCheckBox::SetCheck(UINT state) {
  if (HWindow) ::SendMessage(HWindow, BM_SETCHECK, state, 0);
}

namespace {
template <typename State>
UINT TransferState(TCheckBox& box, void* buffer, TTransferDirection direction) {
  if (buffer && direction == tdGetData) {
    State state = static_cast<State>(box.GetCheck());
    std::memcpy(buffer, &state, sizeof state);
  } else if (buffer && direction == tdSetData) {
    State state;
    std::memcpy(&state, buffer, sizeof state);
    box.SetCheck(static_cast<UINT>(state));
  }
  return sizeof(State);
}
}  // namespace

UINT TCheckBox::Transfer(void* buffer, TTransferDirection direction) {
  return TransferWidth == tw32Bit ? TransferState<uint32_t>(*this, buffer, direction)
                                  : TransferState<uint16_t>(*this, buffer, direction);
}

TRadioButton::TRadioButton(TWindow* parent, int id, const char* title, int x, int y, int w, int h,
                           TGroupBox* group, TModule* module)
    : TCheckBox(parent, id, title, x, y, w, h, group, module) {
  Attr.Style = (Attr.Style & ~BS_TYPEMASK) | BS_AUTORADIOBUTTON;
}

TRadioButton::TRadioButton(TWindow* parent, int resourceId, TGroupBox* group, TModule* module)
    : TCheckBox(parent, resourceId, group, module) {}

TRadioButton::TRadioButton(TWindow* parent, int resourceId, TTransferWidth width, TGroupBox* group,
                           TModule* module)
    : TCheckBox(parent, resourceId, width, group, module) {}

TGroupBox::TGroupBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                     TModule* module)
    : TControl(parent, id, text, x, y, w, h, module) {
  Attr.Style = (Attr.Style | BS_GROUPBOX) & ~WS_TABSTOP;
}

TGroupBox::TGroupBox(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {}
