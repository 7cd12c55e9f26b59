/*
** The recalculation seam: the statement window's way to the recalculation rules, which live
** apart from it. One program-wide table holds the operations a commit and the set-up call;
** the rules fill it at start-up. While an entry is empty, calling it does nothing, so a
** committed value is stored, repainted and advised but nothing is computed from it.
*/
#ifndef ZARNE_STATEMENT_RECALCULATION_SEAM_H
#define ZARNE_STATEMENT_RECALCULATION_SEAM_H

#include "platform/kernel/wintypes.h"

class RespaWindow;
struct TFieldNode;

using TRecalcForFieldProc = void (*)(RespaWindow* view, TFieldNode* field);
/* The settlement date (or the disbursement date) moved from oldDate to newDate. */
using TDateMoveProc = void (*)(RespaWindow* view, LONG oldDate, LONG newDate);
using TColumnSumProc = void (*)(RespaWindow* view);
/* A command of the window's field menu that the rules' side carries out. */
using TViewCommandProc = void (*)(RespaWindow* view);

/* The twelve column sums run once by the window's set-up, in this order. */
constexpr int kSetupColumnSumCount = 12;

struct TRecalcSeam {
  TRecalcForFieldProc RecalcForField = nullptr;
  TDateMoveProc MoveDates = nullptr;
  TDateMoveProc FillSettlementDate = nullptr;
  /* Sum800B, Sum800S, Sum900B, Sum900S, Sum1000B, Sum1000S, Sum1100B, Sum1100S,
     Sum1200B, Sum1200S, Sum1300B, Sum1300S. */
  TColumnSumProc ColumnSums[kSetupColumnSumCount] = {};
  /* The Prorater command (902) over the current field. */
  TViewCommandProc Prorater = nullptr;
  /* Every column sum, the recording splits and every total (after a merge). */
  TViewCommandProc RecalcAll = nullptr;
};

// Owner: statement.
extern TRecalcSeam gRecalcSeam;

/* Calls through the table; an empty entry does nothing. */
void CallRecalcForField(RespaWindow* view, TFieldNode* field);
void CallMoveDates(RespaWindow* view, LONG oldDate, LONG newDate);
void CallFillSettlementDate(RespaWindow* view, LONG oldDate, LONG newDate);
void RunSetupColumnSums(RespaWindow* view);
void CallProrater(RespaWindow* view);
void CallRecalcAll(RespaWindow* view);

#endif
