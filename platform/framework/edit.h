/*
** TEdit: an edit control object with a text limit (the size of its share of the transfer
** buffer, terminator included, so it accepts one character less), an optional validator
** that checks each keystroke and the whole text at OK, and the clipboard commands.
**
** Two rules a subclass may need to replace: EvChar refuses a character (with a beep) once the
** text would reach the limit given at construction, and runs the validator's partial check;
** CanClose runs the validator's full check of the whole text. An edit with rules of its own
** for typed characters and for closing (the statement's one-field edit line) overrides
** EvChar and CanClose rather than relying on these.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_EDIT_H
#define ZARNE_PLATFORM_FRAMEWORK_EDIT_H

#include "platform/framework/controls.h"
#include "platform/framework/validator.h"

#include <string>

class TEdit : public TStatic {
 public:
  TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit = 0,
        bool multiline = false, TModule* module = nullptr);
  TEdit(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
  ~TEdit() override;
  const char* GetClassName() override { return "EDIT"; }

  void SetupWindow() override;
  bool CanClose() override;
  /* A char[TextLimit] of the transfer buffer (or the validator's own share). */
  UINT Transfer(void* buffer, TTransferDirection direction) override;

  /* The validator is owned by the edit from now on (the previous one is deleted). */
  void SetValidator(TValidator* validator);
  TValidator* GetValidator() const { return Validator; }
  /* The full check of the current text; with reportError the error is shown and the focus
     stays on the edit. */
  bool IsValid(bool reportError = false);

  std::string GetText() const { return GetWindowText(); }
  using TStatic::GetText;
  void GetSelection(UINT& start, UINT& end) const;
  void SetSelection(UINT start, UINT end);
  void Insert(const char* text);
  void LimitText(UINT limit);
  bool IsModified() const;
  void ClearModify();
  void Cut() { SendMessage(WM_CUT); }
  void Copy() { SendMessage(WM_COPY); }
  void Paste() { SendMessage(WM_PASTE); }
  void Undo() { SendMessage(WM_UNDO); }

  void EvChar(UINT key, UINT repeatCount, UINT flags) override;
  void EvKillFocus(HWND getFocus) override;
  /* Command enabling of Cut/Copy/Paste on this edit. */
  void CeHasSelection(TCommandEnabler& ce);
  void CeCanPaste(TCommandEnabler& ce) { ce.Enable(true); }

 protected:
  TValidator* Validator = nullptr;

 private:
  DECLARE_RESPONSE_TABLE(TEdit);
};

#endif
