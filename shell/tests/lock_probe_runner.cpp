/*
** Starting the lock probe and reading its answer.
*/
#include "lock_probe_runner.h"

#include <array>
#include <ctime>

namespace {
std::string Command(const std::string& directory, const std::string& fileNumber, const char* extra) {
  return std::string("'") + SHELL_LOCK_PROBE + "' '" + directory + "' '" + fileNumber + "' " + extra;
}

std::string FirstLine(FILE* pipe) {
  std::array<char, 64> line{};
  if (!pipe || !std::fgets(line.data(), line.size(), pipe)) return "";
  std::string text(line.data());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}
}  // namespace

std::string ProbeLock(const std::string& directory, const std::string& fileNumber) {
  FILE* pipe = popen(Command(directory, fileNumber, "").c_str(), "r");
  std::string answer = FirstLine(pipe);
  if (pipe) pclose(pipe);
  return answer;
}

LockHolder::LockHolder(const std::string& directory, const std::string& fileNumber) {
  // The probe's input is a fifo-less pipe: its answer comes back through a temporary file.
  std::string answerFile = directory + "/.lock_holder_answer";
  std::string command = Command(directory, fileNumber, "hold") + " > '" + answerFile + "'";
  pipe_ = popen(command.c_str(), "w");
  for (int tries = 0; tries < 500 && answer_.empty(); ++tries) {
    if (FILE* file = std::fopen(answerFile.c_str(), "r")) {
      answer_ = FirstLine(file);
      std::fclose(file);
    }
    if (answer_.empty()) {
      struct timespec pause{0, 10'000'000};
      nanosleep(&pause, nullptr);
    }
  }
}

LockHolder::~LockHolder() {
  if (pipe_) pclose(pipe_);
}
