/*
** Starting the second station and reading its answer.
*/
#include "second_station.h"

#include <array>
#include <cstdlib>
#include <ctime>

namespace {

std::string Command(const std::vector<std::string>& arguments) {
  std::string command = std::string("'") + ACCOUNTING_SECOND_STATION + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  return command;
}

std::string FirstLine(FILE* file) {
  std::array<char, 256> line{};
  if (!file || !std::fgets(line.data(), line.size(), file)) return "";
  std::string text(line.data());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

std::string RunSecondStation(const std::vector<std::string>& arguments) {
  FILE* pipe = popen((Command(arguments) + " 2>/dev/null").c_str(), "r");
  std::string answer = FirstLine(pipe);
  if (pipe) pclose(pipe);
  return answer;
}

SecondStationLock::SecondStationLock(const std::vector<std::string>& arguments) {
  // Its input is the pipe that keeps it waiting; its answer comes back through a file.
  const char* root = std::getenv("ZARNE_ROOT");
  std::string answerFile = std::string(root ? root : "/tmp") + "/.second_station_answer";
  std::remove(answerFile.c_str());
  std::vector<std::string> hold(arguments);
  hold.push_back("hold");
  pipe_ = popen((Command(hold) + " > '" + answerFile + "' 2>/dev/null").c_str(), "w");
  for (int tries = 0; tries < 1000 && answer_.empty(); ++tries) {
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

SecondStationLock::~SecondStationLock() {
  if (pipe_) pclose(pipe_);
}

std::string SeqArgument(double seq) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", seq);
  return text;
}
