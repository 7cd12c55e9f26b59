/*
** Starting the second station and reading its answer.
*/
#include "second_station.h"

#include <cstdio>
#include <cstdlib>

std::string RunSecondStation(const std::vector<std::string>& arguments) {
  return ProgramFirstLine(CommandLine(ACCOUNTING_SECOND_STATION, arguments) + " 2>/dev/null");
}

namespace {
std::vector<std::string> Holding(std::vector<std::string> arguments) {
  arguments.push_back("hold");
  return arguments;
}
std::string AnswerFile() {
  const char* root = std::getenv("ZARNE_ROOT");
  return std::string(root ? root : "/tmp") + "/.second_station_answer";
}
}  // namespace

SecondStationLock::SecondStationLock(const std::vector<std::string>& arguments)
    : station_(CommandLine(ACCOUNTING_SECOND_STATION, Holding(arguments)) + " 2>/dev/null",
               AnswerFile()) {}

std::string SeqArgument(double seq) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", seq);
  return text;
}
