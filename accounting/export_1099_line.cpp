/*
** Reading a closing file's records for the 1099 export and formatting its line.
*/
#include "accounting/export_1099_line.h"

#include "accounting/person_name.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <vector>

namespace {

constexpr WORD kKeyNotFound = 0x2206;

enum { kSumCloseDate = 2, kSumA101 = 3, kSumA106 = 19, kSumA107 = 24 };
enum { kSellerName = 2, kSellerSig1 = 4, kSellerStreet = 8, kSellerCity, kSellerState, kSellerZip };
enum { kAgentSellerTaxId = 8 };
enum { kPropStreet = 2, kPropCity, kPropState, kPropZip };

bool ReadOwnRecord(TPXRecord& record, const char* fileNumber) {
  record.Clear();
  record.SetString(1, fileNumber);
  if (record.Seek(0, ENGINE_KEY_EQ)) return record.Read(0);
  if (gLastDbResult != kKeyNotFound) return false;
  record.Clear();  // no record: every field blank
  return true;
}

/* A text field of at most size - 1 bytes, with TABs and line breaks as blanks so the line
   keeps its twelve fields. */
std::string Text(TPXRecord& record, int field, DWORD size) {
  std::vector<char> buffer(size, '\0');
  if (!record.GetString(field, buffer.data(), size)) buffer[0] = '\0';
  std::string text(buffer.data());
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n' || c == '\x0B') c = ' ';
  return text;
}

double Money(TPXRecord& record, int field) {
  double value = 0;
  if (!record.GetDouble(field, value)) value = 0;
  return value;
}

std::string Amount(double value) {
  char text[400];  // "%.2lf" of any double
  std::snprintf(text, sizeof text, "%.2lf", value);
  return text;
}

}  // namespace

bool ReadExportRecords(const TExportRecords& records, const char* fileNumber) {
  return ReadOwnRecord(*records.Summary, fileNumber) &&
         ReadOwnRecord(*records.Seller, fileNumber) && ReadOwnRecord(*records.Agent, fileNumber) &&
         ReadOwnRecord(*records.Property, fileNumber);
}

std::string FormatExportLine(const TExportRecords& records, const char* fileNumber) {
  TPXRecord& seller = *records.Seller;
  const std::string name = Text(seller, kSellerName, 61);
  std::string last = name, first;
  if (Text(seller, kSellerSig1, 31).empty()) {
    std::vector<char> firstNames(name.size() + 1), lastName(name.size() + 1);
    SplitPersonName(name.c_str(), firstNames.data(), lastName.data());
    first = firstNames.data();
    last = lastName.data();
  }
  LONG closeDate = kBlankDate;
  if (!records.Summary->GetLong(kSumCloseDate, closeDate)) closeDate = kBlankDate;
  char date[kDateTextSize];
  FormatShortDate(date, closeDate, sizeof date);
  std::string fileText(fileNumber);
  for (char& c : fileText)
    if (c == '\t' || c == '\r' || c == '\n' || c == '\x0B') c = ' ';

  TPXRecord& property = *records.Property;
  const std::string address = Text(property, kPropStreet, 36) + " " +
                              Text(property, kPropCity, 18) + " " + Text(property, kPropState, 4) +
                              "  " + Text(property, kPropZip, 11);
  const std::vector<std::string> fields = {
      last,
      first,
      Text(*records.Agent, kAgentSellerTaxId, 15),
      Text(seller, kSellerStreet, 36),
      Text(seller, kSellerCity, 18),
      Text(seller, kSellerState, 4),
      Text(seller, kSellerZip, 13),
      fileText,
      date,
      Amount(Money(*records.Summary, kSumA101)),
      address,
      Amount(Money(*records.Summary, kSumA106) + Money(*records.Summary, kSumA107)),
  };
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += '\t';
    line += fields[i];
  }
  return line + "\r\n";
}
