/*
** The word-sort collation behind lstrcmp and lstrcmpi; the order it gives is described
** in string_calls.h. Each byte becomes zero, one or two collation elements with a
** primary (alphabet), secondary (accent) and tertiary (case) weight.
*/
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"

#include <vector>

namespace {

constexpr int kSymbolBase = 0x100;
constexpr int kDigitBase = 0x1000;
constexpr int kLetterBase = 0x2000;

enum Accent : unsigned char {
  kNone, kGrave, kAcute, kCircumflex, kTilde, kDiaeresis, kRing, kCedilla, kCaron, kOther,
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
    {'a', 0, kGrave}, {'a', 0, kAcute}, {'a', 0, kCircumflex}, {'a', 0, kTilde},
    {'a', 0, kDiaeresis}, {'a', 0, kRing}, {'a', 'e', kNone}, {'c', 0, kCedilla},
    {'e', 0, kGrave}, {'e', 0, kAcute}, {'e', 0, kCircumflex}, {'e', 0, kDiaeresis},
    {'i', 0, kGrave}, {'i', 0, kAcute}, {'i', 0, kCircumflex}, {'i', 0, kDiaeresis},
    {'d', 0, kOther}, {'n', 0, kTilde}, {'o', 0, kGrave}, {'o', 0, kAcute},
    {'o', 0, kCircumflex}, {'o', 0, kTilde}, {'o', 0, kDiaeresis}, {0, 0, kNone},
    {'o', 0, kOther}, {'u', 0, kGrave}, {'u', 0, kAcute}, {'u', 0, kCircumflex},
    {'u', 0, kDiaeresis}, {'y', 0, kAcute}, {0, 0, kNone}, {'s', 's', kOther}};

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

void AppendElements(unsigned char c, bool fold_case, std::vector<Element>& out) {
  const unsigned char lower = Cp1252Lower(c);
  const unsigned char upper = (!fold_case && lower != c) ? 1 : 0;
  if (c >= '0' && c <= '9') { out.push_back({kDigitBase + (c - '0'), kNone, 0}); return; }
  if (c == 0xB9 || c == 0xB2 || c == 0xB3) {
    const int digit = c == 0xB9 ? 1 : c - 0xB0;
    out.push_back({kDigitBase + digit, kOther, 0});
    return;
  }
  if (lower == 0xFE) { out.push_back({LetterWeight('z') + 4, kNone, upper}); return; }
  if (c == 0xB5) { out.push_back({LetterWeight('z') + 8, kNone, 0}); return; }
  if (lower == 0xFF) { out.push_back({LetterWeight('y'), kDiaeresis, upper}); return; }
  const LetterForm form = FormOf(lower);
  if (form.base == 0) { out.push_back({kSymbolBase + c, kNone, 0}); return; }
  out.push_back({LetterWeight(form.base), static_cast<unsigned char>(form.accent), upper});
  if (form.second) out.push_back({LetterWeight(form.second), static_cast<unsigned char>(form.accent), upper});
}

struct SortKey {
  std::vector<Element> elements;
  std::vector<unsigned char> skipped;
};

SortKey MakeSortKey(const char* text, bool fold_case) {
  SortKey key;
  for (const char* p = text; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (IsIgnorable(c)) key.skipped.push_back(c);
    else AppendElements(c, fold_case, key.elements);
  }
  return key;
}

template <typename Weight>
int CompareLevel(const std::vector<Element>& a, const std::vector<Element>& b, Weight weight) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int wa = weight(a[i]);
    const int wb = weight(b[i]);
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

int CompareBytes(const char* a, const char* b, bool fold_case) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (fold_case) { ca = Cp1252Upper(ca); cb = Cp1252Upper(cb); }
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int Collate(const char* a, const char* b, bool fold_case) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  const SortKey ka = MakeSortKey(a, fold_case);
  const SortKey kb = MakeSortKey(b, fold_case);
  if (int r = CompareLevel(ka.elements, kb.elements, [](const Element& e) { return e.primary; })) return r;
  if (int r = CompareLevel(ka.elements, kb.elements, [](const Element& e) { return int(e.accent); })) return r;
  if (int r = CompareLevel(ka.elements, kb.elements, [](const Element& e) { return int(e.upper); })) return r;
  if (ka.skipped.size() != kb.skipped.size()) return ka.skipped.size() < kb.skipped.size() ? -1 : 1;
  return CompareBytes(a, b, fold_case);
}

}  // namespace

int lstrcmp(LPCSTR first, LPCSTR second) { return Collate(first, second, false); }

int lstrcmpi(LPCSTR first, LPCSTR second) { return Collate(first, second, true); }
