/*
** The hourglass cursor for the length of a scope: shown when made, the previous cursor
** back when it ends.
*/
#ifndef ZARNE_FILENUMBER_HOURGLASS_CURSOR_H
#define ZARNE_FILENUMBER_HOURGLASS_CURSOR_H

#include "platform/user/input.h"

class HourglassCursor {
 public:
  HourglassCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~HourglassCursor() { SetCursor(previous_); }
  HourglassCursor(const HourglassCursor&) = delete;
  HourglassCursor& operator=(const HourglassCursor&) = delete;

 private:
  HCURSOR previous_;
};

#endif
