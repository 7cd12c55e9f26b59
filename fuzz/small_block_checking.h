/*
** The address checker's settings for targets whose inputs make many small blocks. Its
** defaults cost such a target much of its time: 256 MB of released blocks held back is
** thousands of inputs' worth, so every new block comes from memory long out of the caches;
** every few seconds the free pages go back to the system a range at a time, each return a
** flush of every processor's address cache, to be faulted in again one by one; and each
** block saves thirty frames of stack. 32 MB still holds back what the last few hundred
** inputs released, so a block used after its release, within an input or in the inputs after
** it, is caught as before; the pages stay with the process; a fault's report shows the
** innermost ten frames.
**
** It defines the checker's settings function: include it in exactly one source file of a
** target.
*/
#ifndef ZARNE_FUZZ_SMALL_BLOCK_CHECKING_H
#define ZARNE_FUZZ_SMALL_BLOCK_CHECKING_H

#ifdef ZARNE_FUZZING
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=32:malloc_context_size=10:allocator_release_to_os_interval_ms=-1";
}
#endif

#endif
