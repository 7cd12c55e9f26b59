/*
** One line of the 1099 export file: the twelve fields of a closing file joined by TABs and
** ended by CR LF, from its SUMMARY1, SELLER, SAGENT and PROPERTY records.
*/
#ifndef ZARNE_ACCOUNTING_EXPORT_1099_LINE_H
#define ZARNE_ACCOUNTING_EXPORT_1099_LINE_H

#include <string>

class TPXRecord;

/* The four records of a file, each read or left blank when the file has none. */
struct TExportRecords {
  TPXRecord* Summary;
  TPXRecord* Seller;
  TPXRecord* Agent;
  TPXRecord* Property;
};

/* Positions the four records on the file's own record, or blanks one the file lacks;
   false when the engine failed otherwise (its box shown). Nothing is written. */
bool ReadExportRecords(const TExportRecords& records, const char* fileNumber);

/* The line of a file from the records' buffers. */
std::string FormatExportLine(const TExportRecords& records, const char* fileNumber);

#endif
