/*
** Switching a range dialog's pair of bound edits.
*/
#include "accounting/range_pair.h"

#include "platform/framework/edit.h"

void SwitchRangePair(TEdit* from, TEdit* to, void* fromValue, void* toValue, bool on) {
  if (on) {
    from->Transfer(fromValue, tdSetData);
    to->Transfer(toValue, tdSetData);
  } else {
    from->Clear();
    to->Clear();
  }
  from->EnableWindow(on);
  to->EnableWindow(on);
}
