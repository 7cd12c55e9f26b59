/*
** The word-sort collation behind lstrcmp and lstrcmpi; the order it gives is described
** in string_calls.h. Each byte becomes zero, one or two collation elements with a
** primary (alphabet), secondary (accent) and tertiary (case) weight.
*/
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"

#include <cstring>

namespace {

constexpr int kSymbolBase = 0x100;
constexpr int kDigitBase = 0x1000;
constexpr int kLetterBase = 0x2000;

enum Accent : unsigned char {
  kNone,
  kGrave,
  kAcute,
  kCircumflex,
  kTilde,
  kDiaeresis,
  kRing,
  kCedilla,
  kCaron,
  kOther,
  kOrdinal
};

struct Element {
  int primary;
  unsigned char accent;
  unsigned char upper;
};

struct LetterForm {
  char base;    // lower-case base letter, 0 when the byte is not one of these
  char second;  // second letter of a ligature, or 0
  Accent accent;
};

// Forms of the accented bytes 0xC0-0xFF, upper and lower case share a row.
constexpr LetterForm kLatin1Letters[32] = {
    {'a', 0, kGrave},      {'a', 0, kAcute}, {'a', 0, kCircumflex}, {'a', 0, kTilde},
    {'a', 0, kDiaeresis},  {'a', 0, kRing},  {'a', 'e', kNone},     {'c', 0, kCedilla},
    {'e', 0, kGrave},      {'e', 0, kAcute}, {'e', 0, kCircumflex}, {'e', 0, kDiaeresis},
    {'i', 0, kGrave},      {'i', 0, kAcute}, {'i', 0, kCircumflex}, {'i', 0, kDiaeresis},
    {'d', 0, kOther},      {'n', 0, kTilde}, {'o', 0, kGrave},      {'o', 0, kAcute},
    {'o', 0, kCircumflex}, {'o', 0, kTilde}, {'o', 0, kDiaeresis},  {0, 0, kNone},
    {'o', 0, kOther},      {'u', 0, kGrave}, {'u', 0, kAcute},      {'u', 0, kCircumflex},
    {'u', 0, kDiaeresis},  {'y', 0, kAcute}, {0, 0, kNone},         {'s', 's', kOther}};

bool IsIgnorable(unsigned char c) {
  return c == '-' || c == '\'' || c == 0xAD || c < 0x20 || c == 0x7F;
}

int LetterWeight(char base) { return kLetterBase + (base - 'a') * 4; }

LetterForm FormOf(unsigned char lower) {
  if (lower >= 'a' && lower <= 'z') return {static_cast<char>(lower), 0, kNone};
  if (lower >= 0xE0) return kLatin1Letters[lower - 0xE0];
  switch (lower) {
    case 0x9A: return {'s', 0, kCaron};
    case 0x9E: return {'z', 0, kCaron};
    case 0x9C: return {'o', 'e', kNone};
    case 0x83: return {'f', 0, kOther};
    case 0xAA: return {'a', 0, kOrdinal};
    case 0xBA: return {'o', 0, kOrdinal};
    case 0xDF: return {'s', 's', kOther};
    default: return {0, 0, kNone};
  }
}

// The collation elements of one byte (at most two); answers how many.
int ElementsOf(unsigned char c, bool fold_case, Element out[2]) {
  const unsigned char lower = Cp1252Lower(c);
  const unsigned char upper = (!fold_case && lower != c) ? 1 : 0;
  if (c >= '0' && c <= '9') {
    out[0] = {kDigitBase + (c - '0'), kNone, 0};
    return 1;
  }
  if (c == 0xB9 || c == 0xB2 || c == 0xB3) {
    const int digit = c == 0xB9 ? 1 : c - 0xB0;
    out[0] = {kDigitBase + digit, kOther, 0};
    return 1;
  }
  if (lower == 0xFE) {
    out[0] = {LetterWeight('z') + 4, kNone, upper};
    return 1;
  }
  if (c == 0xB5) {
    out[0] = {LetterWeight('z') + 8, kNone, 0};
    return 1;
  }
  if (lower == 0xFF) {
    out[0] = {LetterWeight('y'), kDiaeresis, upper};
    return 1;
  }
  const LetterForm form = FormOf(lower);
  if (form.base == 0) {
    out[0] = {kSymbolBase + c, kNone, 0};
    return 1;
  }
  out[0] = {LetterWeight(form.base), static_cast<unsigned char>(form.accent), upper};
  if (!form.second) return 1;
  out[1] = {LetterWeight(form.second), static_cast<unsigned char>(form.accent), upper};
  return 2;
}

// Walks the collation elements of a string, skipping the ignorable characters, without
// allocating: sorting calls this a great many times.
class ElementStream {
 public:
  ElementStream(const char* text, bool fold_case)
      : p_(reinterpret_cast<const unsigned char*>(text)), fold_case_(fold_case) {}
  bool Next(Element& element) {
    if (pending_ == count_) {
      while (*p_ && IsIgnorable(*p_)) ++p_;
      if (!*p_) return false;
      count_ = ElementsOf(*p_++, fold_case_, elements_);
      pending_ = 0;
    }
    element = elements_[pending_++];
    return true;
  }

 private:
  const unsigned char* p_;
  bool fold_case_;
  Element elements_[2] = {};
  int count_ = 0;
  int pending_ = 0;
};

template <typename Weight>
int CompareLevel(const char* a, const char* b, bool fold_case, Weight weight) {
  ElementStream sa(a, fold_case);
  ElementStream sb(b, fold_case);
  Element ea{}, eb{};
  for (;;) {
    const bool more_a = sa.Next(ea);
    const bool more_b = sb.Next(eb);
    if (!more_a || !more_b) return more_a == more_b ? 0 : (more_a ? 1 : -1);
    const int wa = weight(ea);
    const int wb = weight(eb);
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

size_t CountIgnorable(const char* text) {
  size_t count = 0;
  for (const char* p = text; *p; ++p) count += IsIgnorable(static_cast<unsigned char>(*p));
  return count;
}

int CompareBytes(const char* a, const char* b, bool fold_case) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (fold_case) {
      ca = Cp1252Upper(ca);
      cb = Cp1252Upper(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int Collate(const char* a, const char* b, bool fold_case) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  if (std::strcmp(a, b) == 0) return 0;  // the common case of equal keys, at once
  if (int r = CompareLevel(a, b, fold_case, [](const Element& e) { return e.primary; })) return r;
  if (int r = CompareLevel(a, b, fold_case, [](const Element& e) { return int(e.accent); }))
    return r;
  if (int r = CompareLevel(a, b, fold_case, [](const Element& e) { return int(e.upper); }))
    return r;
  const size_t skipped_a = CountIgnorable(a);
  const size_t skipped_b = CountIgnorable(b);
  if (skipped_a != skipped_b) return skipped_a < skipped_b ? -1 : 1;
  return CompareBytes(a, b, fold_case);
}

}  // namespace

int lstrcmp(LPCSTR first, LPCSTR second) { return Collate(first, second, false); }

int lstrcmpi(LPCSTR first, LPCSTR second) { return Collate(first, second, true); }
