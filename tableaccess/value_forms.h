/*
** Value forms and shared helpers: how the system writes, reads and checks its values as text.
** Date numbers and their short, long and ordinal texts, two-digit years, money and decimal
** texts with thousands commas, amounts in words for checks, ledger status names, the stored
** form of multi-line text, the time key that orders new records, party-name lists, a loan
** payment, and directory and path helpers.
**
** Every helper that writes into a caller's buffer takes the buffer's size as its last
** argument and never writes past it (texts are cut and stay terminated). The defaults are the
** smallest buffers callers are known to give: 16 bytes for short dates and status names, 32 for
** amounts; a caller with a larger buffer passes its size. The texts that may be longer than the
** smallest buffer a caller gives take no default: the long and ordinal date forms, amounts in
** words and paths (path buffers are up to MAX_PATH, some smaller).
*/
#ifndef ZARNE_TABLEACCESS_VALUE_FORMS_H
#define ZARNE_TABLEACCESS_VALUE_FORMS_H

#include "platform/engine/engine.h"
#include "platform/kernel/wintypes.h"

#include <cstddef>
#include <cstdint>

/* The blank date (and blank whole number) as stored in tables and transfer buffers: the
   engine's blank date. */
constexpr LONG kBlankDate = static_cast<LONG>(ENGINE_BLANK_DATE);

/* Smallest buffers the callers give. */
constexpr size_t kDateTextSize = 16;
constexpr size_t kAmountTextSize = 32;
/* Longest amount in words is about 105 bytes (see value_forms.cpp); a buffer of this size
   always holds it whole. */
constexpr size_t kAmountWordsSize = 128;
constexpr size_t kStatusTextSize = 16;

/* The last key MakeTimeKey issued; 0 until the first. */
// Owner: tableaccess.
extern double gLastTimeKey;

/* ---- Validation: a null text is invalid, an empty text valid ---- */
BOOL IsMoneyText(LPCSTR text);
BOOL IsDateText(LPCSTR text);

/* ---- Dates ---- */
/* month/day/year; two-digit years 91-99 are 19xx, 0-90 are 20xx. On failure all three are 0. */
BOOL ParseDate(LPCSTR text, int& month, int& day, int& year);
BOOL IsLeapYear(int year);
int DaysInMonth(int month, int year);
/* Through the engine; an engine error gives the blank date. */
void EncodeDate(LONG& date, int month, int day, int year);
/* The blank date gives 0, 0, 0. */
void DecodeDate(LONG date, int& month, int& day, int& year);
LONG TodayDate();
/* "%02d/%02d/%02d"; years 1901-1999 as two digits, others in full; blank gives "". */
void FormatShortDate(LPSTR buffer, LONG date, size_t size = kDateTextSize);
/* "%s %d, %d": "January 2, 2005". Up to 19 bytes ("September 30, 2005"), more than the
   smallest date buffer, so the caller always gives the size: a default would cut the year. */
void FormatLongDate(LPSTR buffer, LONG date, size_t size);
/* "%d%s day of %s, %d": "2nd day of January, 2005"; up to 28 bytes, the size given as above. */
void FormatOrdinalDate(LPSTR buffer, LONG date, size_t size);
BOOL IsFixedHoliday(int month, int day, int year);
BOOL IsWeekend(int month, int day, int year);

/* ---- Numbers and money: source and destination may be one buffer ---- */
/* Answers the number of commas put in. */
int InsertThousandsCommas(LPCSTR source, LPSTR destination, size_t size = kAmountTextSize);
/* Answers the number of commas removed. */
int StripCommas(LPCSTR source, LPSTR destination, size_t size = kAmountTextSize);
/* Exactly n decimals after the '.', cut or padded with '0'. */
void PadDecimals(LPCSTR source, LPSTR destination, int n, size_t size = kAmountTextSize);
double RoundToCents(double value);

/* ---- Words ---- */
/* Appends the words for n in 0..999 to the text already in destination. */
void HundredsInWords(int n, LPSTR destination, size_t size);
/* "One Thousand  and 00/100 Dollars"; empty for a negative amount or one above 42949672.94. */
void AmountInWords(LPSTR destination, double amount, size_t size);
/* Ledger status names: 0 "Ready" to 7 "Balanced"; other codes give "". */
void StatusText(LPSTR buffer, SHORT code, size_t size = kStatusTextSize);
/* The code of a status name (case-sensitive), or -1. */
SHORT StatusCode(LPCSTR name);

/* ---- Texts of parties: results are new[] texts the caller delete[]s ---- */
LPSTR JoinNames(LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d);
/* The four party names of a file's record in BUYER or SELLER, joined. */
LPSTR GetPartyNames(LPCSTR fileNumber, LPCSTR partyTableName);

/* ---- Stored multi-line text: CR LF <-> 0x0B; source and destination may be one buffer ---- */
void PackLineBreaks(LPCSTR source, LPSTR destination, size_t size);
void UnpackLineBreaks(LPCSTR source, LPSTR destination, size_t size);

/* ---- Time key: today's date number plus the fraction of the day; never repeats in a run ---- */
double MakeTimeKey();
/* The key of a date number and a hundredth of a second of that day (0..8639999): what
   MakeTimeKey answers at that moment. Other programs that write keyed records use it to
   meet the keys this one will issue. */
double TimeKeyOf(LONG dateNumber, double hundredthOfDay);

/* ---- Loan payment ---- */
double PowerOf(double x, int n);
/* Level payment; 0 for no principal or no periods; principal / periods at a rate of 0. */
double LoanPayment(double principal, double annualRatePercent, int periodsPerYear, int periods);

/* ---- Paths and directories ---- */
/* directory + "\" + name + "." + extension; a null part is skipped. */
void BuildPath(LPSTR destination, LPCSTR directory, LPCSTR name, LPCSTR extension, size_t size);
/* Offers to create a missing directory; false (after saying so) when it stays missing. */
BOOL EnsureDirectory(LPCSTR path);
/* Creates every missing level of a path. */
BOOL MakeDirectoryPath(LPCSTR path);
void ShowNoMemory();

#endif
