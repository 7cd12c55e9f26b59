/*
** The advise seam's one sink.
*/
#include "statement/field_advise.h"

namespace {
// Owner: statement.
TFieldAdviseSink gAdviseSink = nullptr;
}  // namespace

void SetFieldAdviseSink(TFieldAdviseSink sink) { gAdviseSink = sink; }

void PostFieldAdvise(TFrameWindow* frame, const char* name) {
  if (gAdviseSink) gAdviseSink(frame, name);
}
