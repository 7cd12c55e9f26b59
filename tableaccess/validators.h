/*
** The validators the statement window's field editor attaches by a field's display kind:
** money, date, decimal, state (upper case) and whole-number fields. Each answers the full
** check (is the whole text a value) and the partial check (may the text typed so far still
** become one); a refused full check shows the framework validator's message.
*/
#ifndef ZARNE_TABLEACCESS_VALIDATORS_H
#define ZARNE_TABLEACCESS_VALIDATORS_H

#include "platform/framework/validator.h"

class TMoneyValidator : public TValidator {
 public:
  bool IsValid(const char* text) override;
  bool IsValidInput(char* text, bool suppressFill) override;
};

class TDateValidator : public TValidator {
 public:
  bool IsValid(const char* text) override;
  bool IsValidInput(char* text, bool suppressFill) override;
};

class TFloatValidator : public TValidator {
 public:
  bool IsValid(const char* text) override;
  bool IsValidInput(char* text, bool suppressFill) override;
};

class TStateValidator : public TValidator {
 public:
  bool IsValid(const char* text) override;
  /* Turns the text to upper case in place and accepts it. */
  bool IsValidInput(char* text, bool suppressFill) override;
};

class TIntegerValidator : public TValidator {
 public:
  bool IsValid(const char* text) override;
  bool IsValidInput(char* text, bool suppressFill) override;
};

#endif
