/*
** Runs the lock probe, the tests' second program, against the test's database directory.
*/
#ifndef ZARNE_SHELL_TESTS_LOCK_PROBE_RUNNER_H
#define ZARNE_SHELL_TESTS_LOCK_PROBE_RUNNER_H

#include "platform/testing/other_programs.h"

#include <string>

/* "locked" or "refused": whether another program could lock the file's BUYER record now. */
std::string ProbeLock(const std::string& directory, const std::string& fileNumber);

/* Another program holding the file's BUYER record locked until the object goes. */
class LockHolder {
 public:
  LockHolder(const std::string& directory, const std::string& fileNumber);
  /* What the probe answered: "held" once it holds the lock. */
  const std::string& Answer() const { return probe_.Answer(); }

 private:
  HeldProgram probe_;
};

#endif
