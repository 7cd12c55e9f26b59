/*
** Starting the lock probe and reading its answer.
*/
#include "lock_probe_runner.h"

namespace {
std::string Command(const std::string& directory, const std::string& fileNumber, bool hold) {
  std::vector<std::string> arguments = {directory, fileNumber};
  if (hold) arguments.push_back("hold");
  return CommandLine(SHELL_LOCK_PROBE, arguments);
}
}  // namespace

std::string ProbeLock(const std::string& directory, const std::string& fileNumber) {
  return ProgramFirstLine(Command(directory, fileNumber, false));
}

LockHolder::LockHolder(const std::string& directory, const std::string& fileNumber)
    : probe_(Command(directory, fileNumber, true), directory + "/.lock_holder_answer") {}
