/*
** The heap policy. glibc moves its thresholds as the program runs: a freed mapped block
** raises the mapping threshold to its size and the trim threshold to twice that, so from
** then on blocks of a few megabytes (a dialog's list, a window's image) come from the heap,
** and freeing them leaves a free top above the trim threshold, which is cut off and given
** back to the system; the next dialog faults the same pages in again. Fixed thresholds end
** that: the top is kept up to 32 MB, and only blocks of 16 MB and more (a whole-screen image
** on a large display) are mapped on their own and given back when freed.
*/
#include "platform/kernel/heap_policy.h"

#include <malloc.h>

namespace {
constexpr int kTrimThreshold = 32 << 20;  // free top kept before giving memory back
constexpr int kMapThreshold = 16 << 20;   // blocks this large are mapped on their own
}  // namespace

void SettleHeapPolicy() {
  static const bool settled = [] {
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    return true;
  }();
  (void)settled;
}
