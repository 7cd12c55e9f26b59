/*
** The program-wide transfer records of the bank-account dialogs, made before start-up and
** kept to the end of the run. Their lists start empty (the bank-list loader fills them);
** dates start blank.
*/
#include "accounting/account_transfers.h"

#include "tableaccess/value_forms.h"

TAccountRangeXfer gAccountRangeXfer{{}, {}, {}, 0, 0, 0, 0, 0, 0, 0, kBlankDate, kBlankDate, 0, 0};
TEditAccountRecordXfer gEditAccountRecordXfer{{}, {}, {}, 0.0, kBlankDate, 0};
TReportRangeXfer gReportRangeXfer{{}, {}, {}, 0, 0, 0, 0, 0, kBlankDate, kBlankDate, 0, 0};
TReconcileReportInfoXfer gReconcileXfer{{}, 0.0, 0.0, kBlankDate};
