/*
** The built-in rules of the settlement statement. Each recomputes one figure of the HUD-1
** statement from the window's record buffers, writes it back and repaints what shows it;
** none posts a record. Amounts follow the conversions of recalc_amounts.h.
*/
#ifndef ZARNE_STATEMENT_RECALC_RULES_H
#define ZARNE_STATEMENT_RECALC_RULES_H

#include "platform/kernel/wintypes.h"
#include "statement/recalc_view.h"

/* (to - from) x amount / periodDays on the raw date numbers in extended precision, rounded to
   cents; 0 when either date is blank or the period is 0. */
double ProrateAmount(double amount, LONG fromDate, LONG toDate, LONG periodDays);

void Prorate106(RecalcView& view);
void Prorate107(RecalcView& view);
void Prorate108(RecalcView& view);
void Prorate210(RecalcView& view);
void Prorate211(RecalcView& view);
void Prorate212(RecalcView& view);

void Total120(RecalcView& view);
void Total420(RecalcView& view);
void Total220(RecalcView& view);
void Total520(RecalcView& view);
void Total303(RecalcView& view);
void Total603(RecalcView& view);
void Compute507(RecalcView& view);

void ComputeCommission(RecalcView& view);
/* A typed total commission: its two parts and the seller's line 703 follow it. */
void SplitCommission(RecalcView& view);
void Split701(RecalcView& view);
void Split702(RecalcView& view);
void Compute703(RecalcView& view);

void Compute801(RecalcView& view);
void Compute802(RecalcView& view);
void Compute901(RecalcView& view);

void Reserve1001(RecalcView& view);
void Reserve1002(RecalcView& view);
void Reserve1003(RecalcView& view);
void Reserve1004(RecalcView& view);
void Reserve1005(RecalcView& view);
void Reserve1006(RecalcView& view);
void Reserve1007(RecalcView& view);
void Reserve1008(RecalcView& view);

void Split1201(RecalcView& view);
void Split1202(RecalcView& view);
void Split1203(RecalcView& view);

void Sum800B(RecalcView& view);
void Sum800S(RecalcView& view);
void Sum900B(RecalcView& view);
void Sum900S(RecalcView& view);
void Sum1000B(RecalcView& view);
void Sum1000S(RecalcView& view);
void Sum1100B(RecalcView& view);
void Sum1100S(RecalcView& view);
void Sum1200B(RecalcView& view);
void Sum1200S(RecalcView& view);
void Sum1300B(RecalcView& view);
void Sum1300S(RecalcView& view);

void Total1400B(RecalcView& view);
void Total1400S(RecalcView& view);

/* The message of the commission checks, owned by the view's window. */
constexpr UINT kCommissionTooLowText = 1036;
constexpr UINT kZarneMessageCaption = 1023;

#endif
