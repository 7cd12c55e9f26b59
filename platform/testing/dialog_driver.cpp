/*
** The harness's dialog driver: scripted answers to modal dialogs and the input helpers of
** their scripts.
*/
#include "platform/testing/dialog_driver.h"

#include "platform/testing/synthetic_input.h"
#include "platform/user/button_control.h"
#include "platform/user/key_mapping.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string CaptionOf(HWND hwnd) {
  char buffer[512] = {};
  GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}

QWidget* KeyTarget() {
  HWND focus = GetFocus();
  if (!focus) focus = GetActiveWindow();
  WindowPtr window = FindWindowObject(focus);
  if (!window) return nullptr;
  if (window->focusTarget) return window->focusTarget.data();
  return window->clientWidget.data();
}

void SendKeyEvent(QEvent::Type type, int virtualKey, Qt::KeyboardModifiers modifiers) {
  QWidget* target = KeyTarget();
  if (!target) return;
  QString text;
  if (type == QEvent::KeyPress) {
    bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    int c = CharFromVirtualKey(virtualKey, modifiers & Qt::ShiftModifier, control, false);
    if (c) text = QString(QChar(c));
  }
  QKeyEvent event(type, QtKeyFromVirtualKey(virtualKey), modifiers, text);
  QApplication::sendEvent(target, &event);
}

}  // namespace

DialogDriver::DialogDriver() {
  previous_ =
      SetModalDialogObserver([this](HWND dialog, int templateId) { Answer(dialog, templateId); });
}

DialogDriver::~DialogDriver() { SetModalDialogObserver(previous_); }

void DialogDriver::OnDialog(int templateId, Script script) {
  scripts_.push_back(Entry{templateId, {}, std::move(script)});
}

void DialogDriver::OnDialogCaption(const std::string& caption, Script script) {
  scripts_.push_back(Entry{0, caption, std::move(script)});
}

void DialogDriver::Answer(HWND dialog, int templateId) {
  std::string caption = CaptionOf(dialog);
  opened_.push_back(caption);
  for (auto it = scripts_.begin(); it != scripts_.end(); ++it) {
    bool matches = it->caption.empty() ? (templateId != 0 && it->templateId == templateId)
                                       : it->caption == caption;
    if (!matches) continue;
    Script script = std::move(it->script);
    scripts_.erase(it);
    PumpDialogMessages(dialog);
    if (script) script(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
      ADD_FAILURE() << "dialog \"" << caption << "\" is still open after its script; cancelled";
      if (!EndDialog(dialog, IDCANCEL)) SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return;
  }
  unanswered_.push_back(caption);
  // A property sheet is no dialog of the dialog manager: its Cancel button ends it.
  if (!EndDialog(dialog, IDCANCEL)) SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
}

void SelectSheetTab(HWND sheet, const std::string& title) {
  for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindow(child, GW_CHILD) || CaptionOf(child) != title) continue;
    SendMessage(child, BM_CLICK, 0, 0);
    PumpDialogMessages(sheet);
    return;
  }
  ADD_FAILURE() << "no tab \"" << title << "\"";
}

HWND CurrentSheetPage(HWND sheet) {
  for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && GetWindow(child, GW_CHILD)) return child;
  return nullptr;
}

HWND FindControl(HWND dialog, int id) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND inner = FindControl(child, id)) return inner;
  }
  return nullptr;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  HWND control = FindControl(dialog, id);
  EXPECT_NE(control, nullptr) << "no control " << id;
  if (control) SetWindowText(control, text.c_str());
  PumpDialogMessages(dialog);
}

std::string ControlTextOf(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  return control ? CaptionOf(control) : std::string();
}

void PressButton(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  EXPECT_NE(control, nullptr) << "no button " << id;
  if (control) SendMessage(control, BM_CLICK, 0, 0);
  PumpDialogMessages(dialog);
}

void PressDialogKey(HWND dialog, int virtualKey, Qt::KeyboardModifiers modifiers) {
  SendKeyEvent(QEvent::KeyPress, virtualKey, modifiers);
  PumpDialogMessages(dialog);
  SendKeyEvent(QEvent::KeyRelease, virtualKey, modifiers);
  PumpDialogMessages(dialog);
}

void TypeIntoDialog(HWND dialog, const std::string& text) {
  TypeText(text);
  PumpDialogMessages(dialog);
}

void PumpDialogMessages(HWND dialog) {
  for (int guard = 0; guard < 10000; ++guard) {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
      return;
    }
    if (IsWindow(dialog) && IsDialogMessage(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}
