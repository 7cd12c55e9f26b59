/*
** The DDE server's reading of execute and poke texts (see the header).
*/
#include "shell/dde_server_text.h"

#include "script/script_decimal.h"
#include "tableaccess/field_list.h"
#include "tableaccess/value_forms.h"

#include <cstdint>
#include <cstring>

namespace {

struct TCommandName {
  const char* text;
  const char* type;
  const char* policy;
  bool allPolicies;
};

constexpr TCommandName kFirstItemCommands[] = {
    {"GetFirstTIBRecordBoth", "1A", "B", false}, {"GetFirstTIBRecordOwner", "1A", "O", false},
    {"GetFirstTIBRecordLoan", "1A", "L", false}, {"GetFirstTIBRecordAll", "1A", "", true},
    {"GetFirstTIBOtherBoth", "1B", "B", false},  {"GetFirstTIBOtherOwner", "1B", "O", false},
    {"GetFirstTIBOtherLoan", "1B", "L", false},  {"GetFirstTIBOtherAll", "1B", "", true},
    {"GetFirstTIBExceptBoth", "2", "B", false},  {"GetFirstTIBExceptOwner", "2", "O", false},
    {"GetFirstTIBExceptLoan", "2", "L", false},  {"GetFirstTIBExceptAll", "2", "", true},
};

/* Bytes read for the coded, money and number kinds. */
constexpr unsigned kCodedTextLength = 80;
constexpr unsigned kNumberTextLength = 24;

constexpr int kLoanTypeId = 184;
constexpr int kRecordingTypeId = 379;

bool OneOf(const char* text, std::initializer_list<const char*> accepted) {
  for (const char* each : accepted)
    if (std::strcmp(text, each) == 0) return true;
  return false;
}

bool IsPayerColumnField(int id) {
  return id == 509 || id == 511 || id == 513 || id == 517 || id == 519 || id == 523 || id == 525;
}

/* Whether a coded field takes this text. The loan type also takes "FmHA", the spelling
   the statement's own choice list stores, so a client can poke back what it read. */
bool IsAcceptedCode(int id, const char* text) {
  if (IsPayerColumnField(id)) return OneOf(text, {"B", "S", "/"});
  if (id == kLoanTypeId)
    return OneOf(
        text, {"Conventional Uninsured", "Conventional Insured", "FHA", "FmHa", "FmHA", "VA", ""});
  if (id == kRecordingTypeId) return OneOf(text, {"[701]", "[702]", ""});
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/* The text without its commas and surrounding blanks; false when nothing is left. */
bool PlainNumberText(const char* text, char* plain, size_t size) {
  char stripped[kNumberTextLength + 8] = "";
  StripCommas(text, stripped, sizeof stripped);
  const char* start = stripped;
  while (IsBlank(*start)) ++start;
  size_t length = std::strlen(start);
  while (length > 0 && IsBlank(start[length - 1])) --length;
  if (length == 0 || length >= size) return false;
  std::memcpy(plain, start, length);
  plain[length] = '\0';
  return true;
}

/* The number a poked text holds once its commas and surrounding blanks are gone; false
   when it holds none (an empty text included) or one out of the decimal's range. */
bool ReadNumber(const char* text, ScriptDecimal* number) {
  char plain[kNumberTextLength + 8] = "";
  if (!PlainNumberText(text, plain, sizeof plain)) return false;
  DecimalStatus status = DecimalStatus::kOk;
  return ScriptDecimal::ParseText(plain, ScriptDecimal::kAllPlaces, number, &status) &&
         status == DecimalStatus::kOk;
}

/* Below 2^46 the stored double tells every cent apart; from there on it cannot. */
constexpr int64_t kFirstAmountPastTheCent = 70368744177664;

/* Rounded once to cents, half away from zero, from the exact decimal; an amount the field
   cannot hold to the cent is refused as a text that is no number is. */
bool ReadMoney(const char* text, TPokeValue* value) {
  ScriptDecimal number, cents;
  if (!ReadNumber(text, &number)) return false;
  if (number.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &cents) != DecimalStatus::kOk)
    return false;
  ScriptDecimal magnitude = cents.Sign() < 0 ? cents.Negated() : cents;
  if (ScriptDecimal::Compare(magnitude, ScriptDecimal::FromLong(kFirstAmountPastTheCent)) >= 0)
    return false;
  value->kind = TPokeValue::kDouble;
  value->number = cents.ToDouble();
  return true;
}

/* Digits with an optional sign only, as the statement's own whole-number edit takes them,
   within the signed 32-bit range. An exponent is no whole number's text: "1e-317" would
   read as a decimal rounded to 0 and store a 0 nobody sent. */
bool ReadWhole(const char* text, TPokeValue* value) {
  char digits[kNumberTextLength + 8] = "";
  if (!PlainNumberText(text, digits, sizeof digits)) return false;
  const char* p = digits + (digits[0] == '-' || digits[0] == '+');
  if (*p == '\0' || std::strspn(p, "0123456789") != std::strlen(p)) return false;
  ScriptDecimal number;
  DecimalStatus status = DecimalStatus::kOk;
  if (!ScriptDecimal::ParseText(digits, 0, &number, &status) || status != DecimalStatus::kOk)
    return false;
  int32_t whole = 0;
  if (number.ToWholeLong(&whole) != DecimalStatus::kOk) return false;
  value->kind = TPokeValue::kLong;
  value->whole = whole;
  return true;
}

bool ReadDecimal(const char* text, TPokeValue* value) {
  ScriptDecimal number;
  if (!ReadNumber(text, &number)) return false;
  value->kind = TPokeValue::kDouble;
  value->number = number.ToDouble();
  return true;
}

bool ReadDate(const char* text, TPokeValue* value) {
  int month = 0, day = 0, year = 0;
  if (!ParseDate(text, month, day, year)) return false;
  LONG date = kBlankDate;
  EncodeDate(date, month, day, year);
  if (date == kBlankDate) return false;
  value->kind = TPokeValue::kLong;
  value->whole = date;
  return true;
}

}  // namespace

bool ReadTitleCommand(const char* text, TTitleCommand* command) {
  *command = TTitleCommand{};
  if (std::strcmp(text, "GetNextTI") == 0) {
    command->next = true;
    return true;
  }
  for (const TCommandName& each : kFirstItemCommands) {
    if (std::strcmp(text, each.text) != 0) continue;
    command->type = each.type;
    command->policy = each.policy;
    command->allPolicies = each.allPolicies;
    return true;
  }
  return false;
}

unsigned PokeTextLength(const TFieldNode& field) {
  switch (field.displayKind) {
    case kFieldKindText: return field.extraWord;
    case kFieldKindChoice: return kCodedTextLength;
    case kFieldKindMoney:
    case kFieldKindWhole:
    case kFieldKindDecimal:
    case kFieldKindDecimal2:
    case kFieldKindDate: return kNumberTextLength;
    default: return 0;
  }
}

bool ConvertPokeText(const TFieldNode& field, const char* text, TPokeValue* value) {
  *value = TPokeValue{};
  switch (field.displayKind) {
    case kFieldKindText: value->text.assign(text, strnlen(text, field.extraWord)); return true;
    case kFieldKindChoice:
      if (!IsAcceptedCode(field.fieldId, text)) return false;
      value->text = text;
      return true;
    case kFieldKindMoney: return ReadMoney(text, value);
    case kFieldKindWhole: return ReadWhole(text, value);
    case kFieldKindDecimal:
    case kFieldKindDecimal2: return ReadDecimal(text, value);
    case kFieldKindDate: return ReadDate(text, value);
    default: return false;
  }
}
