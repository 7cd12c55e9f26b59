/*
** TValidator: the base of the checks an edit control makes of its text: the partial check on
** each keystroke (may the text still become valid), the full check when the dialog closes
** with OK, and the error shown when the full check fails.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_VALIDATOR_H
#define ZARNE_PLATFORM_FRAMEWORK_VALIDATOR_H

#include "platform/framework/window.h"

/* Validator options */
enum { voFill = 0x0001, voTransfer = 0x0002, voOnAppend = 0x0004 };

class TValidator {
 public:
  TValidator() = default;
  virtual ~TValidator() = default;

  /* Shown when the full check refuses the text; owner is the edit control. */
  virtual void Error(TWindow* owner);
  /* The partial check; may change the text in place (it has room for the control's limit).
     The base accepts everything. */
  virtual bool IsValidInput(char* text, bool suppressFill);
  /* The full check; the base accepts everything. */
  virtual bool IsValid(const char* text);
  /* A validator that moves the value itself answers its size; the base moves nothing (0),
     so the edit transfers its text. */
  virtual UINT Transfer(char* text, void* buffer, TTransferDirection direction);
  /* The full check with the error shown on failure. */
  bool Valid(const char* text, TWindow* owner = nullptr);

  bool HasOption(int option) const { return (Options & option) != 0; }
  void SetOption(int option) { Options |= option; }
  void UnsetOption(int option) { Options &= ~option; }

 protected:
  WORD Options = 0;
};

#endif
