/*
** The four typed edit boxes of the system's dialogs: TWWDate, TWWMoney, TWWFloat and
** TWWInteger. Each filters keystrokes (and pasted text) as they come, tidies its text when
** the focus moves, and exchanges a number with the dialog's transfer record: a 32-bit date
** number, a 32-bit whole number or a double.
*/
#ifndef ZARNE_TABLEACCESS_TYPED_EDITS_H
#define ZARNE_TABLEACCESS_TYPED_EDITS_H

#include "platform/framework/edit.h"

#include <string>

/* What a typed box does with one character. */
enum class TKeyVerdict {
  Pass,         // the edit control gets it
  Swallow,      // dropped without a sound (Enter)
  DefaultBeep,  // refused: a character the box never takes
  SimpleBeep,   // refused: a character the box takes, but not here (money only)
};

/* The key rules of each box, given the text and selection the key would land in. */
TKeyVerdict DateKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT selEnd);
TKeyVerdict IntegerKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT selEnd);
TKeyVerdict FloatKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT selEnd);
TKeyVerdict MoneyKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT selEnd);

/* A box's key rule. */
using TKeyRule = TKeyVerdict (*)(UINT key, const std::string& text, UINT selStart, UINT selEnd);

/* Whether a box's whole text stands for a value its transfer can store unchanged. */
bool IsWholeNumberText(const std::string& text);
bool IsDecimalNumberText(const std::string& text);

/* What the four boxes share: the formatting rectangle 8 pixels lower, and every typed or
** pasted character judged by the box's key rule. */
class TTypedEdit : public TEdit {
 public:
  TTypedEdit(TWindow* parent, int resourceId, UINT textLimit, TModule* module, TKeyRule rule);
  void SetupWindow() override;
  void EvChar(UINT key, UINT repeatCount, UINT flags) override;
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;
  LRESULT EvPaste(WPARAM, LPARAM);

 private:
  TKeyRule keyRule_;
  DECLARE_RESPONSE_TABLE(TTypedEdit);
};

class TWWDate : public TTypedEdit {
 public:
  TWWDate(TWindow* parent, int resourceId, UINT textLimit, TModule* module = nullptr);
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  bool CanClose() override;
  void EvKillFocus(HWND getFocus) override;

 private:
  DECLARE_RESPONSE_TABLE(TWWDate);
};

class TWWInteger : public TTypedEdit {
 public:
  TWWInteger(TWindow* parent, int resourceId, UINT textLimit, TModule* module = nullptr);
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  bool CanClose() override;
};

class TWWFloat : public TTypedEdit {
 public:
  TWWFloat(TWindow* parent, int resourceId, UINT textLimit, TModule* module = nullptr);
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  bool CanClose() override;
};

class TWWMoney : public TTypedEdit {
 public:
  TWWMoney(TWindow* parent, int resourceId, UINT textLimit, TModule* module = nullptr);
  UINT Transfer(void* buffer, TTransferDirection direction) override;
  bool CanClose() override;
  void EvSetFocus(HWND lostFocus) override;
  void EvKillFocus(HWND getFocus) override;

 private:
  DECLARE_RESPONSE_TABLE(TWWMoney);
};

#endif
