/*
** The settlement-date move: when the settlement date changes, the disbursement date keeps
** its distance from it (off weekends and fixed holidays) and the proration and interest
** dates that began or ended on it follow; a disbursement date fills a blank settlement date.
*/
#ifndef ZARNE_STATEMENT_SETTLEMENT_DATE_MOVE_H
#define ZARNE_STATEMENT_SETTLEMENT_DATE_MOVE_H

#include "platform/kernel/wintypes.h"
#include "statement/recalc_view.h"

/* oldDate: the settlement date before the edit; newDate: the one just stored. A blank new
   date moves nothing; a blank old date only fills a blank disbursement date. */
void MoveDates(RecalcView& view, LONG oldDate, LONG newDate);
/* Stores the new disbursement date into a blank settlement date; oldDate is not used. */
void FillSettlementDate(RecalcView& view, LONG oldDate, LONG newDate);

#endif
