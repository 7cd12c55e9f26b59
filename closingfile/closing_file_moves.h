/*
** The data moves between the open file's records and the transfer records of the lender,
** settlement agent, property, Schedule A and tracking dialogs. Fields and transfer members
** are paired by name in one table per record.
**
** Fill clears every part first (empty text, blank date, 0) and notes which reads failed;
** Store writes a part whose read failed only when the dialog changed it, so neither a value
** of an earlier file left in a program-wide record nor a blank standing for an unreadable
** one reaches this file.
*/
#ifndef ZARNE_CLOSINGFILE_CLOSING_FILE_MOVES_H
#define ZARNE_CLOSINGFILE_CLOSING_FILE_MOVES_H

#include "closingfile/closing_file_xfer.h"

#include <cstdint>
#include <string>
#include <vector>

class TClosingFileView;

/* What a fill found: the failed parts (bit i for part i of the record's table) and the
   record's bytes as filled, to tell a changed part from an untouched one. */
struct TXferFill {
  std::uint32_t failed = 0;
  std::vector<unsigned char> filled;
  /* The lender's stored Assigns text as read. */
  std::string assigns;
  bool assignsFailed = false;
  bool Failed(int part) const { return (failed >> part) & 1u; }
};

/* Texts the Assigns list offers besides the stored one. */
extern const char* const kAssignsPhrases[2];
constexpr int kAssignsStoredLength = 60;

TXferFill FillLenderXfer(TClosingFileView* view);
void StoreLenderXfer(TClosingFileView* view, const TXferFill& fill);
TXferFill FillSagentXfer(TClosingFileView* view);
void StoreSagentXfer(TClosingFileView* view, const TXferFill& fill);
TXferFill FillPropertyXfer(TClosingFileView* view, TPropertyXfer* block);
void StorePropertyXfer(TClosingFileView* view, const TPropertyXfer* block, const TXferFill& fill);
TXferFill FillScheduleAXfer(TClosingFileView* view);
void StoreScheduleAXfer(TClosingFileView* view, const TXferFill& fill);
/* The closing date text is filled (empty when unreadable) but never stored. */
TXferFill FillTrackingXfer(TClosingFileView* view, TTrackingXfer* block);
void StoreTrackingXfer(TClosingFileView* view, const TTrackingXfer* block, const TXferFill& fill);

#endif
