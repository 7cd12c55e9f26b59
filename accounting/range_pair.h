/*
** A pair of bound edits of a range dialog (file numbers, dates or check numbers, From and
** To), switched on and off with the range mode that owns it.
*/
#ifndef ZARNE_ACCOUNTING_RANGE_PAIR_H
#define ZARNE_ACCOUNTING_RANGE_PAIR_H

class TEdit;

/* Switched on, the pair shows the values of the transfer record (the last OK's, or what the
   caller preset), not what was typed since; switched off, it is emptied, so that OK transfers
   empty bounds for a mode not chosen. Either way it is enabled to match. */
void SwitchRangePair(TEdit* from, TEdit* to, void* fromValue, void* toValue, bool on);

#endif
