/*
** Statement field values as text, for printing, DDE and templates, and the joined names of
** the buyers and sellers.
*/
#include "statement/field_engine.h"

#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kPartyFieldSize = 81;
constexpr int kVestingField = 42;  // the grantee or grantor text of the party record
constexpr unsigned kFormattedSize = 128;

void CopyCut(const char* text, char* out, unsigned size) {
  if (size == 0) return;
  std::size_t length = std::min<std::size_t>(std::strlen(text), size - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

/* A value with a fixed number of decimals, as "%.*f" writes it (the conversion rounds the
   value's exact binary expansion the same way); a statement prints hundreds of these, and
   the formatted print was most of the cost of its fields. Values too large for the buffer,
   infinities and NaNs go through snprintf, which cuts them as before. */
void FormatFixed(double value, int decimals, char* text) {
  if (std::isfinite(value) && std::fabs(value) < 1e15) {
    auto [end, error] =
        std::to_chars(text, text + kFormattedSize - 1, value, std::chars_format::fixed, decimals);
    if (error == std::errc()) {
      *end = '\0';
      return;
    }
  }
  std::snprintf(text, kFormattedSize, "%.*f", decimals, value);
}

/* The formatted value of a number or date field; false when it cannot be read. */
bool FormatNumberOrDate(TPXRecord* record, const TFieldNode* field, char mode,
                        const char* blankDate, char* text) {
  int number = field->fieldNumber;
  text[0] = '\0';
  switch (field->displayKind) {
    case kFieldKindMoney: {
      double value = 0;
      if (!record->GetDouble(number, value)) return false;
      if (mode == '!') {
        AmountInWords(text, value, kFormattedSize);
        return true;
      }
      FormatFixed(value, 2, text);
      if (mode == '>' && std::strcmp(text, "0.00") == 0) text[0] = '\0';
      InsertThousandsCommas(text, text, kFormattedSize);
      return true;
    }
    case kFieldKindWhole: {
      LONG value = 0;
      if (!record->GetLong(number, value)) return false;
      if (!(mode == '>' && value == 0))
        std::snprintf(text, kFormattedSize, "%ld", static_cast<long>(value));
      return true;
    }
    case kFieldKindDecimal:
    case kFieldKindDecimal2: {
      double value = 0;
      if (!record->GetDouble(number, value)) return false;
      FormatFixed(value, 5, text);
      if (mode == '>' && std::strcmp(text, "0.00000") == 0) text[0] = '\0';
      return true;
    }
    case kFieldKindDate: {
      LONG date = kBlankDate;
      if (!record->GetLong(number, date)) return false;
      if (mode == '*') FormatLongDate(text, date, kFormattedSize);
      else if (mode == '!') FormatOrdinalDate(text, date, kFormattedSize);
      else if (date == kBlankDate) std::strcpy(text, blankDate);
      else FormatShortDate(text, date, kFormattedSize);
      return true;
    }
    default: return false;
  }
}

void FormatWithBlankDate(RespaWindow* view, const TFieldNode* field, char* out, unsigned size,
                         char mode, const char* blankDate) {
  if (!field || field->displayKind == kFieldKindNone || field->tableIndex >= kRespaRecordCount)
    return;
  TPXRecord* record = view->records[field->tableIndex];
  if (!record) return;
  int kind = field->displayKind;
  if (kind == kFieldKindText || kind == kFieldKindChoice || kind == kFieldKindShownText) {
    // Read whole, then cut to the caller's buffer: a short buffer gets the text's start.
    // Most fields fit the buffer on the stack; every painted field comes through here.
    std::size_t need = static_cast<std::size_t>(record->FieldSize(field->fieldNumber)) + 1;
    char local[256];
    std::vector<char> large;
    char* text = local;
    if (need > sizeof local) {
      large.resize(need);
      text = large.data();
    }
    if (record->GetString(field->fieldNumber, text, static_cast<DWORD>(need)))
      CopyCut(text, out, size);
    return;
  }
  char text[kFormattedSize];
  if (FormatNumberOrDate(record, field, mode, blankDate, text)) CopyCut(text, out, size);
}

std::string PartyField(TPXRecord* record, int field) {
  char text[kPartyFieldSize] = "";
  if (!record || !record->GetString(field, text, sizeof text)) text[0] = '\0';
  return text;
}

/* Names 1 to 4 (fields 2, 12, 22, 32) joined with ", " and " and "; with suffixes, each
   follows its name after ", ". A name after an empty one is not used. */
std::string JoinParty(TPXRecord* record, bool withSuffixes) {
  std::string names[4], suffixes[4];
  for (int i = 0; i < 4; ++i) {
    names[i] = PartyField(record, 2 + 10 * i);
    if (withSuffixes) suffixes[i] = PartyField(record, 3 + 10 * i);
  }
  std::string joined;
  for (int i = 0; i < 4 && !names[i].empty(); ++i) {
    if (i > 0) joined += (i == 3 || names[i + 1].empty()) ? " and " : ", ";
    joined += names[i];
    if (!suffixes[i].empty()) joined += ", " + suffixes[i];
  }
  return joined;
}

std::string VestedParty(TPXRecord* record) {
  std::string joined = JoinParty(record, true);
  std::string vesting = PartyField(record, kVestingField);
  if (!vesting.empty()) joined += ", " + vesting;
  return joined;
}

}  // namespace

void FormatFieldText(RespaWindow* view, const TFieldNode* field, char* out, unsigned size,
                     char mode) {
  FormatWithBlankDate(view, field, out, size, mode, "  /  /  ");
}

void FormatFieldTextById(RespaWindow* view, int id, char* out, unsigned size, char mode,
                         const char* blankDate) {
  if (id < 1) return;
  FormatWithBlankDate(view, FindFieldByNumber(&gRespaFieldList, id), out, size, mode, blankDate);
}

void JoinBuyerNames(RespaWindow* view, char* out, unsigned size) {
  CopyCut(JoinParty(view->records[kBuyerTable], true).c_str(), out, size);
}

void JoinSellerNames(RespaWindow* view, char* out, unsigned size) {
  CopyCut(JoinParty(view->records[kSellerTable], true).c_str(), out, size);
}

void GetGranteeText(RespaWindow* view, char* out, unsigned size) {
  CopyCut(VestedParty(view->records[kBuyerTable]).c_str(), out, size);
}

void GetGrantorText(RespaWindow* view, char* out, unsigned size) {
  CopyCut(VestedParty(view->records[kSellerTable]).c_str(), out, size);
}

void GetBuyerNames(RespaWindow* view, char* out, unsigned size) {
  CopyCut(JoinParty(view->records[kBuyerTable], false).c_str(), out, size);
}

void GetSellerNames(RespaWindow* view, char* out, unsigned size) {
  CopyCut(JoinParty(view->records[kSellerTable], false).c_str(), out, size);
}
