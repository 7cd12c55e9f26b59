/*
** The dialog driver of the test harness: scripts that run when a given modal dialog opens
** (named by its template id or its caption), to fill its controls and press its buttons, and
** the helpers those scripts use: controls found by id, text set and read, buttons pressed,
** and real key input that goes through the dialog manager's keyboard handling.
** A modal dialog no script answers is cancelled and recorded, so a test never hangs on one.
*/
#ifndef ZARNE_PLATFORM_TESTING_DIALOG_DRIVER_H
#define ZARNE_PLATFORM_TESTING_DIALOG_DRIVER_H

#include "platform/kernel/wintypes.h"
#include "platform/user/dialog_manager.h"

#include <Qt>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class DialogDriver {
 public:
  using Script = std::function<void(HWND dialog)>;

  /* Installs itself as the modal-dialog observer; the previous one comes back on destruction. */
  DialogDriver();
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  /* The next modal dialog made from template `templateId` runs `script`. */
  void OnDialog(int templateId, Script script);
  /* The next modal dialog captioned exactly `caption` runs `script`. */
  void OnDialogCaption(const std::string& caption, Script script);

  /* Captions of the modal dialogs that opened, in order. */
  const std::vector<std::string>& Opened() const { return opened_; }
  /* Captions of the modal dialogs that no script answered (they were cancelled). */
  const std::vector<std::string>& Unanswered() const { return unanswered_; }
  /* Scripts still waiting for their dialog. */
  size_t Pending() const { return scripts_.size(); }

 private:
  struct Entry {
    int templateId = 0;
    std::string caption;
    Script script;
  };
  void Answer(HWND dialog, int templateId);

  std::deque<Entry> scripts_;
  std::vector<std::string> opened_;
  std::vector<std::string> unanswered_;
  ModalDialogObserver previous_;
};

/* Property sheets: a tab clicked by its title, and the page it shows (pages share control
** ids, so a script looks for a page's controls in the page). */
void SelectSheetTab(HWND sheet, const std::string& title);
HWND CurrentSheetPage(HWND sheet);
/* A control of the dialog by id, at any depth; null when there is none. */
HWND FindControl(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
std::string ControlTextOf(HWND dialog, int id);
/* Clicks the button as BM_CLICK does, then lets what it caused run. */
void PressButton(HWND dialog, int id);
/* A real key press and release at the focus window, taken through IsDialogMessage. */
void PressDialogKey(HWND dialog, int virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/* Types text at the focus window (plain characters; Tab and Enter go by PressDialogKey). */
void TypeIntoDialog(HWND dialog, const std::string& text);
/* Dispatches every waiting message, those of the dialog through IsDialogMessage. */
void PumpDialogMessages(HWND dialog);

#endif
