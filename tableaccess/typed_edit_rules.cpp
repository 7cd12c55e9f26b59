/*
** The key rules of the typed edit boxes and the checks that a box's text stands for a value.
** A rule sees the key together with the text and the selection it would replace, so typed
** and pasted characters are judged alike.
*/
#include "tableaccess/typed_edits.h"

#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

constexpr UINT kBackspace = 0x08;
constexpr UINT kTab = 0x09;
constexpr UINT kEnter = 0x0D;

bool IsDigitKey(UINT key) { return key >= '0' && key <= '9'; }

/* Backspace and Tab always go on; Enter is dropped so the edit does not beep at it. */
bool IsEditingKey(UINT key) { return key == kBackspace || key == kTab; }

std::string Replaced(const std::string& text, UINT selStart, UINT selEnd, char key) {
  size_t start = std::min<size_t>(selStart, text.size());
  size_t end = std::min<size_t>(std::max<size_t>(selEnd, start), text.size());
  return text.substr(0, start) + key + text.substr(end);
}

bool AllDigits(const std::string& text, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (!IsDigitKey(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

}  // namespace

TKeyVerdict DateKeyVerdict(UINT key, const std::string&, UINT, UINT) {
  if (key == kEnter) return TKeyVerdict::Swallow;
  if (IsEditingKey(key) || key == '/' || IsDigitKey(key)) return TKeyVerdict::Pass;
  return TKeyVerdict::DefaultBeep;
}

TKeyVerdict IntegerKeyVerdict(UINT key, const std::string&, UINT selStart, UINT) {
  if (key == kEnter) return TKeyVerdict::Swallow;
  if (IsEditingKey(key) || IsDigitKey(key)) return TKeyVerdict::Pass;
  if (key == '-' && selStart == 0) return TKeyVerdict::Pass;
  return TKeyVerdict::DefaultBeep;
}

TKeyVerdict FloatKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT) {
  if (key == kEnter) return TKeyVerdict::Swallow;
  if (IsEditingKey(key) || IsDigitKey(key)) return TKeyVerdict::Pass;
  if (key == '-' && selStart == 0) return TKeyVerdict::Pass;
  if (key == '.' && text.find('.') == std::string::npos) return TKeyVerdict::Pass;
  return TKeyVerdict::DefaultBeep;
}

TKeyVerdict MoneyKeyVerdict(UINT key, const std::string& text, UINT selStart, UINT selEnd) {
  if (key == kEnter) return TKeyVerdict::Swallow;
  if (IsEditingKey(key)) return TKeyVerdict::Pass;
  if (key != '-' && key != '.' && !IsDigitKey(key)) return TKeyVerdict::DefaultBeep;
  std::string candidate = Replaced(text, selStart, selEnd, static_cast<char>(key));
  return IsMoneyText(candidate.c_str()) ? TKeyVerdict::Pass : TKeyVerdict::SimpleBeep;
}

bool IsWholeNumberText(const std::string& text) {
  size_t digitsFrom = (!text.empty() && text[0] == '-') ? 1 : 0;
  if (!AllDigits(text, digitsFrom, text.size())) return false;
  // Empty and a lone '-' read as 0; anything longer must fit 32 bits.
  if (text.size() == digitsFrom) return true;
  errno = 0;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  return errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
}

bool IsDecimalNumberText(const std::string& text) {
  size_t from = (!text.empty() && text[0] == '-') ? 1 : 0;
  size_t point = text.find('.', from);
  if (point == std::string::npos) point = text.size();
  if (!AllDigits(text, from, point)) return false;
  if (point < text.size() && !AllDigits(text, point + 1, text.size())) return false;
  return std::isfinite(std::strtod(text.c_str(), nullptr));
}
