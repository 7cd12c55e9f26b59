/*
** Fuzz target: what a DDE client pokes into a statement field or sends as an execute
** command, read as the main program's server reads it. The first byte chooses the field
** (its display kind, id and text limit) or the execute path; the rest is the client's data,
** cut to what the field's kind reads and terminated, exactly as the server's buffers do.
** Whatever is accepted must be what an independent reading of the text gives: a text cut to
** its limit, an accepted code, money in whole cents within half a cent of the number, a
** whole number in the 32-bit range, a real calendar date; execute texts are one of the
** thirteen commands exactly.
*/
#include "fuzz/fuzz_support.h"
#include "shell/dde_server_text.h"
#include "tableaccess/field_list.h"
#include "tableaccess/value_forms.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct FieldShape {
  std::uint16_t kind;
  std::uint16_t id;
  std::uint16_t limit;
};

const FieldShape kShapes[] = {
    {kFieldKindText, 102, 60},    {kFieldKindText, 110, 3},   {kFieldKindChoice, 509, 0},
    {kFieldKindChoice, 184, 0},   {kFieldKindChoice, 379, 0}, {kFieldKindChoice, 380, 0},
    {kFieldKindMoney, 213, 0},    {kFieldKindWhole, 223, 0},  {kFieldKindDecimal, 371, 0},
    {kFieldKindDecimal2, 425, 0}, {kFieldKindDate, 212, 0},   {kFieldKindNone, 1, 0},
    {kFieldKindShownText, 2, 0},
};
constexpr size_t kShapeCount = sizeof kShapes / sizeof kShapes[0];

const std::set<std::string> kCommands = {"GetFirstTIBRecordBoth",
                                         "GetFirstTIBRecordOwner",
                                         "GetFirstTIBRecordLoan",
                                         "GetFirstTIBRecordAll",
                                         "GetFirstTIBOtherBoth",
                                         "GetFirstTIBOtherOwner",
                                         "GetFirstTIBOtherLoan",
                                         "GetFirstTIBOtherAll",
                                         "GetFirstTIBExceptBoth",
                                         "GetFirstTIBExceptOwner",
                                         "GetFirstTIBExceptLoan",
                                         "GetFirstTIBExceptAll",
                                         "GetNextTI"};

std::set<std::string> AcceptedCodes(int id) {
  if (id == 509) return {"B", "S", "/"};
  if (id == 184)
    return {"Conventional Uninsured", "Conventional Insured", "FHA", "FmHa", "FmHA", "VA", ""};
  if (id == 379) return {"[701]", "[702]", ""};
  return {};
}

/* The text without commas and surrounding blanks, when it has the form of a decimal number
   (sign, digits with at most one point, an optional exponent); empty otherwise. */
std::string NumberForm(const char* text) {
  std::string plain;
  for (const char* p = text; *p; ++p)
    if (*p != ',') plain += *p;
  size_t first = plain.find_first_not_of(" \t"), last = plain.find_last_not_of(" \t");
  if (first == std::string::npos) return {};
  plain = plain.substr(first, last - first + 1);
  size_t at = 0;
  if (at < plain.size() && (plain[at] == '+' || plain[at] == '-')) ++at;
  size_t digits = 0, points = 0;
  for (; at < plain.size() &&
         (std::isdigit(static_cast<unsigned char>(plain[at])) || plain[at] == '.');
       ++at)
    plain[at] == '.' ? ++points : ++digits;
  if (digits == 0 || points > 1) return {};
  if (at < plain.size() && (plain[at] == 'e' || plain[at] == 'E')) {
    ++at;
    if (at < plain.size() && (plain[at] == '+' || plain[at] == '-')) ++at;
    size_t exponentDigits = 0;
    for (; at < plain.size() && std::isdigit(static_cast<unsigned char>(plain[at])); ++at)
      ++exponentDigits;
    if (exponentDigits == 0) return {};
  }
  return at == plain.size() ? plain : std::string();
}

void CheckPoke(const FieldShape& shape, const uint8_t* data, size_t size) {
  TFieldNode node{};
  node.displayKind = shape.kind;
  node.fieldId = shape.id;
  node.extraWord = shape.limit;
  unsigned length = PokeTextLength(node);
  // The server's buffer: the bytes its kind reads, one more, zero-filled.
  std::vector<char> buffer(length + 1, '\0');
  std::memcpy(buffer.data(), data, std::min<size_t>(size, length));
  const char* text = buffer.data();
  TPokeValue value;
  bool accepted = ConvertPokeText(node, text, &value);
  TPokeValue again;
  FuzzRequire(ConvertPokeText(node, text, &again) == accepted, "a poke reads the same twice");
  if (length == 0) FuzzRequire(!accepted, "a kind that reads nothing takes no poke");
  if (!accepted) return;
  std::string form = NumberForm(text);
  switch (shape.kind) {
    case kFieldKindText:
      FuzzRequire(value.kind == TPokeValue::kString && value.text.size() <= shape.limit,
                  "a text poke is cut to the field's limit");
      FuzzRequire(std::string(text).compare(0, value.text.size(), value.text) == 0,
                  "a text poke stores the start of what was sent");
      break;
    case kFieldKindChoice:
      FuzzRequire(AcceptedCodes(shape.id).count(value.text) == 1 && value.text == text,
                  "a coded field stores only an accepted code, as sent");
      break;
    case kFieldKindMoney: {
      FuzzRequire(!form.empty(), "money is accepted only from a number");
      double exact = std::strtod(form.c_str(), nullptr);
      double cents = value.number * 100;
      FuzzRequire(
          std::fabs(cents - std::nearbyint(cents)) <= 1e-6 * std::max(1.0, std::fabs(cents)),
          "money is stored in whole cents");
      // Half a cent, and the doubles' own spacing at this size on both sides.
      if (std::fabs(exact) < 1e12)
        FuzzRequire(
            std::fabs(value.number - exact) <= 0.005 + 1e-14 * std::max(1.0, std::fabs(exact)),
            "money lies within half a cent");
      break;
    }
    case kFieldKindWhole: {
      FuzzRequire(!form.empty() && value.kind == TPokeValue::kLong,
                  "a whole number comes from a number");
      double exact = std::strtod(form.c_str(), nullptr);
      FuzzRequire(exact == static_cast<double>(value.whole), "a whole number is stored exactly");
      FuzzRequire(form.find_first_of(".eE") == std::string::npos,
                  "a whole number is taken from digits only");
      break;
    }
    case kFieldKindDecimal:
    case kFieldKindDecimal2: {
      FuzzRequire(!form.empty(), "a number comes from a number");
      double exact = std::strtod(form.c_str(), nullptr);
      FuzzRequire(std::isfinite(value.number), "a stored number is finite");
      if (std::fabs(exact) < 1e100)
        FuzzRequire(std::fabs(value.number - exact) <= 1e-12 * std::max(1.0, std::fabs(exact)),
                    "a number is stored as sent");
      break;
    }
    case kFieldKindDate: {
      int month = 0, day = 0, year = 0;
      FuzzRequire(ParseDate(text, month, day, year) != FALSE, "a stored date parses");
      FuzzRequire(value.whole != kBlankDate, "a stored date is no blank date");
      int m = 0, d = 0, y = 0;
      DecodeDate(value.whole, m, d, y);
      FuzzRequire(m == month && d == day && y == year, "a stored date is the date sent");
      FuzzRequire(d >= 1 && d <= DaysInMonth(m, y), "a stored date exists");
      break;
    }
    default: FuzzRequire(false, "only the known kinds take a poke");
  }
}

void CheckExecute(const uint8_t* data, size_t size) {
  char text[kExecuteTextLength + 1] = "";
  std::memcpy(text, data, std::min<size_t>(size, kExecuteTextLength));
  TTitleCommand command;
  bool known = ReadTitleCommand(text, &command);
  FuzzRequire(known == (kCommands.count(text) == 1), "exactly the thirteen commands are known");
  if (!known) return;
  FuzzRequire(command.next == (std::strcmp(text, "GetNextTI") == 0), "only GetNextTI continues");
  if (command.next) return;
  std::string name = text;
  std::string type = name.find("Record") != std::string::npos  ? "1A"
                     : name.find("Other") != std::string::npos ? "1B"
                                                               : "2";
  FuzzRequire(type == command.type, "a command walks its own type");
  bool all = name.size() >= 3 && name.compare(name.size() - 3, 3, "All") == 0;
  FuzzRequire(all == command.allPolicies && (all || std::strlen(command.policy) == 1),
              "a command's policy is one letter or every policy");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint8_t choice = data[0];
  if (choice % (kShapeCount + 1) == kShapeCount) CheckExecute(data + 1, size - 1);
  else CheckPoke(kShapes[choice % (kShapeCount + 1)], data + 1, size - 1);
  return 0;
}
