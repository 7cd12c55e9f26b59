/*
** The program-wide transfer records of the closing-file dialogs.
*/
#include "closingfile/closing_file_xfer.h"

TBuyerSellerXfer gBuyerSellerXfer = {};
/* The packed record holds a list object; the instance itself keeps that object aligned. */
alignas(alignof(TComboBoxData)) TLenderXfer gLenderXfer;
TSagentXfer gSagentXfer = {};
TScheduleAXfer gScheduleAXfer = {};
