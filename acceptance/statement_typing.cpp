/*
** Typing into the statement window as a user does, and the office's purchase.
*/
#include "acceptance/statement_typing.h"

#include "platform/framework/scroller.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"

const TypedValue kPurchaseTyped[] = {
    {102, "Ann & Bob Buyer"},
    {143, "Carl Seller"},
    {212, "12/17/2026"},
    {576, "12/18/2026"},
    {213, "250000"},
    {276, "5000"},
    {277, "200000"},
    {220, "12/17/2026"},
    {221, "01/01/2027"},
    {222, "1200"},  // city tax, 106
    {291, "01/01/2026"},
    {292, "12/17/2026"},
    {293, "2400"},  // county tax, 210
    {370, "250000"},
    {371, "6"},
    {380, "5000"},  // commission, deposit held
    {557, "1"},
    {558, "0.5"},  // origination, discount
    {423, "12/17/2026"},
    {424, "01/01/2027"},
    {425, "27.40"},  // interim interest
    {443, "3"},
    {444, "100"},  // reserves
    {470, "350"},
    {471, "350"},
    {479, "125.50"},  // title
    {508, "40"},
    {510, "60"},
    {512, "25.01"},  // recording
    {577, "Appraisal review"},
    {579, "95"},  // an extended line
};
const int kPurchaseTypedCount = sizeof kPurchaseTyped / sizeof kPurchaseTyped[0];

// The deposit is held by the first broker; the recording parts are paid by seller, borrower, both.
const ChosenValue kPurchaseChosen[] = {{379, "[701]"}, {509, "S"}, {511, "B"}, {513, "/"}};
const int kPurchaseChosenCount = sizeof kPurchaseChosen / sizeof kPurchaseChosen[0];

namespace {
void Settle() {
  MSG msg;
  for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}
}  // namespace

bool ClickStatementField(RespaWindow* view, int id) {
  TFieldNode* field = FindFieldByNumber(&gRespaFieldList, id);
  if (!field) return false;
  ScrollFieldIntoView(view, field);
  ProcessPendingMessages();
  int x = (field->left + field->right) / 2 -
          static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
  int y = (field->top + field->bottom) / 2 -
          static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
  Click(view->HWindow, x, y);
  Settle();
  return view->currentField == field;
}

bool TypeIntoStatementField(RespaWindow* view, int id, const std::string& text) {
  if (!ClickStatementField(view, id)) return false;
  view->editLine->SetSelection(0, static_cast<UINT>(-1));
  TypeText(text);
  PressKey(VK_TAB);
  Settle();
  return true;
}

bool ChooseInStatementField(RespaWindow* view, int id, const std::string& entry, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  if (!ClickStatementField(view, id))
    return fail("the click did not reach field " + std::to_string(id));
  HWND list = view->choiceList->HWindow;
  if (!IsWindowVisible(list)) return fail("no choice list for field " + std::to_string(id));
  SetFocus(list);
  int target = static_cast<int>(
      SendMessage(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(entry.c_str())));
  if (target < 0) {
    std::string entries;
    int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[128] = "";
      SendMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      entries += std::string(" [") + text + "]";
    }
    return fail("field " + std::to_string(id) + " offers no " + entry + ":" + entries);
  }
  PressKey(VK_HOME);
  for (int i = 0; i < target; ++i) PressKey(VK_DOWN);
  PressKey(VK_TAB);
  Settle();
  return true;
}
