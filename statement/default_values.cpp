/*
** Filling a new closing file's records from zarne.ini [DefaultValues]. A key that is missing
** reads as "?" (or as a negative number), which stands for "no value": the key's default is
** written back at once and stored.
*/
#include "statement/default_values.h"

#include "platform/kernel/profile.h"
#include "statement/respa_window.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>

namespace {

constexpr const char* kSection = "DefaultValues";
constexpr const char* kIniFile = "zarne.ini";
constexpr int kTextValueSize = 59;  // 58 characters
constexpr int kTrackDate1Field = 17;
constexpr SHORT kDaysOfYear = 365;

struct TDefaultKey {
  const char* key;
  int field;
};

constexpr TDefaultKey kAgentKeys[] = {{"SANAME", 2},  {"SACOMPANY", 3}, {"SASTREET", 4},
                                      {"SACITY", 5},  {"SASTATE", 6},   {"SAZIP", 7},
                                      {"SATAXID", 16}};
constexpr TDefaultKey kSummary1Days[] = {{"PA106DAYS", 18}, {"PA107DAYS", 23}, {"PA108DAYS", 28}};
constexpr TDefaultKey kSummary2Days[] = {{"PA210DAYS", 31}, {"PA211DAYS", 36}, {"PA212DAYS", 41}};
constexpr TDefaultKey kRecordingKeys[] = {{"P1201D", 3},  {"P1201M", 5},  {"P1201R", 7},
                                          {"P1202D", 11}, {"P1202M", 13}, {"P1203D", 17},
                                          {"P1203M", 19}};

/* The key's text; "?" (or a missing key) writes `fallback` back and answers it. */
void StoreText(TPXRecord* record, const TDefaultKey& entry, const char* fallback) {
  char value[kTextValueSize];
  GetPrivateProfileString(kSection, entry.key, "?", value, sizeof value, kIniFile);
  if (value[0] == '?') {
    WritePrivateProfileString(kSection, entry.key, fallback, kIniFile);
    record->SetString(entry.field, fallback);
    return;
  }
  record->SetString(entry.field, value);
}

void StoreDayCount(TPXRecord* record, const TDefaultKey& entry) {
  SHORT days = static_cast<SHORT>(GetPrivateProfileInt(kSection, entry.key, -1, kIniFile));
  if (days < 0) {
    WritePrivateProfileString(kSection, entry.key, "365", kIniFile);
    days = kDaysOfYear;
  }
  record->SetShort(entry.field, days);
}

int CurrentYear() {
  int month, day, year;
  DecodeDate(TodayDate(), month, day, year);
  return year;
}

void StoreTaxYear(TPXRecord* record) {
  int year = static_cast<int>(GetPrivateProfileInt(kSection, "PTAXYEAR", -1, kIniFile));
  if (year < 0) {
    year = CurrentYear();
    char text[16];
    std::snprintf(text, sizeof text, "%d", year);
    WritePrivateProfileString(kSection, "PTAXYEAR", text, kIniFile);
  }
  record->SetLong(8, year);
}

}  // namespace

void ApplyDefaultValues(RespaWindow* view, int tableIndex) {
  TPXRecord* record =
      tableIndex >= 0 && tableIndex < kRespaRecordCount ? view->records[tableIndex] : nullptr;
  if (!record) return;
  switch (tableIndex) {
    case kSagentTable:
      for (const TDefaultKey& entry : kAgentKeys) StoreText(record, entry, "");
      record->SetLong(kTrackDate1Field, TodayDate());
      break;
    case kPropertyTable:
      StoreTaxYear(record);
      StoreText(record, {"PCOUNTY", 7}, "");
      break;
    case kSummary1Table:
      for (const TDefaultKey& entry : kSummary1Days) StoreDayCount(record, entry);
      break;
    case kSummary2Table:
      for (const TDefaultKey& entry : kSummary2Days) StoreDayCount(record, entry);
      break;
    case kExpense4Table:
      for (const TDefaultKey& entry : kRecordingKeys) StoreText(record, entry, "B");
      break;
    default: break;
  }
}
