/*
** TValidator's base behaviour.
*/
#include "platform/framework/validator.h"

#include "platform/user/message_box.h"

void TValidator::Error(TWindow* owner) {
  MessageBox(owner ? owner->HWindow : nullptr, "The value entered is not valid.", "Invalid Entry",
             MB_OK | MB_ICONEXCLAMATION);
}

bool TValidator::IsValidInput(char*, bool) { return true; }

bool TValidator::IsValid(const char*) { return true; }

UINT TValidator::Transfer(char*, void*, TTransferDirection) { return 0; }

bool TValidator::Valid(const char* text, TWindow* owner) {
  if (IsValid(text ? text : "")) return true;
  Error(owner);
  return false;
}
