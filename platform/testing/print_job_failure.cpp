/*
** The failing print job over the drawing layer's hook.
*/
#include "platform/testing/print_job_failure.h"

#include "platform/gdi/gdi_print.h"

namespace {
GdiPrintFailurePoint HookPoint(FailingPrintJob::Point at) {
  switch (at) {
    case FailingPrintJob::AtStartDoc: return kPrintFailsAtStartDoc;
    case FailingPrintJob::AtPage: return kPrintFailsAtPage;
    case FailingPrintJob::AtEndDoc: return kPrintFailsAtEndDoc;
  }
  return kPrintFailsAtStartDoc;
}
}  // namespace

FailingPrintJob::FailingPrintJob(int nth, Point at, int page) {
  GdiFailPdfPrintJob(nth, HookPoint(at), page);
}

FailingPrintJob::~FailingPrintJob() { GdiFailPdfPrintJob(0, kPrintFailsAtStartDoc); }
