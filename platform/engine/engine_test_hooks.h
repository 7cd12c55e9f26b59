/*
** A seam for tests of the engine's callers: a chosen later call of a named operation fails
** with a chosen code and context texts, and does nothing else. Only tests call it.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_TEST_HOOKS_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_TEST_HOOKS_H

#include "platform/engine/engine.h"

#include <initializer_list>

/* The n-th (1 = the next) call of operation ("EngineCopyTable", ...) from now answers code;
   EngineGetErrorInfo then gives contexts in the slots as given (up to four, "" leaves a
   slot empty). n 0 clears what was set for operation. A commit by EngineEndTran that is
   made to fail takes its writes back, as a failed commit does. */
void EngineTestFailCall(const char* operation, int n, EngineResult code,
                        std::initializer_list<const char*> contexts = {});

/* Clears every failure still waiting. */
void EngineTestClearFailures();

/* Changes to table files and their journals (a write, truncation, sync or deletion) are
   counted; the n-th from now ends this program with SIGKILL before it reaches the disk, as
   a power cut would. n 0 takes the plan back. */
void EngineTestKillAtWrite(long n);

/* How many such changes this program has made so far. */
long EngineTestWriteCount();

/* Each sync takes that much longer, as on a slow network share; 0 for none. */
void EngineTestSlowSyncs(int milliseconds);

/* Writes to files whose name contains nameHas fail as on a full disk once `bytes` more have
   been written to them; a null or empty nameHas ends it. */
void EngineTestFillDisk(const char* nameHas, long long bytes);

#endif
