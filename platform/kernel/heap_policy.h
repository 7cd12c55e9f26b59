/*
** The program's heap policy: when the C library gives freed memory back to the system and
** which blocks it maps on their own, fixed once when the program starts.
*/
#ifndef ZARNE_PLATFORM_KERNEL_HEAP_POLICY_H
#define ZARNE_PLATFORM_KERNEL_HEAP_POLICY_H

/* Fixes the heap's trim and mapping thresholds; later calls do nothing. */
void SettleHeapPolicy();

#endif
