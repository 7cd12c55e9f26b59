/*
** Other programs run by the tests, through the shell.
*/
#include "platform/testing/other_programs.h"

#include <cstdio>
#include <ctime>
#include <sstream>

namespace {

std::string WithoutLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

/* The first line; complete tells whether its line end was there too (a program still
   writing may have written only part of it). */
std::string FirstLineOf(FILE* file, bool* complete = nullptr) {
  std::string line;
  int c = EOF;
  while (file && (c = std::fgetc(file)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (complete) *complete = c == '\n';
  return WithoutLineEnd(line);
}

}  // namespace

std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments) {
  std::string command = "'" + program + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  return command;
}

std::string ProgramOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::vector<std::string> ProgramLines(const std::string& command) {
  std::vector<std::string> lines;
  std::istringstream in(ProgramOutput(command));
  for (std::string line; std::getline(in, line);) lines.push_back(WithoutLineEnd(line));
  return lines;
}

std::string ProgramFirstLine(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  std::string line = FirstLineOf(pipe);
  if (pipe) pclose(pipe);
  return line;
}

HeldProgram::HeldProgram(const std::string& command, const std::string& answerFile,
                         int timeoutMilliseconds) {
  // The program's input is the pipe that keeps it waiting; its answer comes back through a file.
  std::remove(answerFile.c_str());
  input_ = popen((command + " > '" + answerFile + "'").c_str(), "w");
  for (int waited = 0; input_ && waited < timeoutMilliseconds && answer_.empty(); waited += 10) {
    if (FILE* file = std::fopen(answerFile.c_str(), "r")) {
      bool complete = false;
      std::string line = FirstLineOf(file, &complete);
      if (complete) answer_ = line;
      std::fclose(file);
    }
    if (answer_.empty()) {
      struct timespec pause {
        0, 10'000'000
      };
      nanosleep(&pause, nullptr);
    }
  }
}

HeldProgram::~HeldProgram() { Release(); }

void HeldProgram::Release() {
  if (input_) pclose(input_);
  input_ = nullptr;
}
