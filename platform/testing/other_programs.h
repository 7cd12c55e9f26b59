/*
** Other programs run by the tests: a command line with quoted arguments, what a program
** writes on its standard output (whole, by lines, or its first line), and a program kept
** running while an object lives (a second station holding a lock), whose first line of
** output is its answer.
*/
#ifndef ZARNE_PLATFORM_TESTING_OTHER_PROGRAMS_H
#define ZARNE_PLATFORM_TESTING_OTHER_PROGRAMS_H

#include <cstdio>
#include <string>
#include <vector>

/* The program and each argument in single quotes, for the shell. */
std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments);

/* Runs the command to its end and answers what it wrote on its standard output. */
std::string ProgramOutput(const std::string& command);
/* The same, split into lines without their line ends. */
std::vector<std::string> ProgramLines(const std::string& command);
/* The first line only, without its line end; empty when there was none. */
std::string ProgramFirstLine(const std::string& command);

/* A program that runs until its standard input closes: started with the command, it is
** waited for (up to the timeout) until its first line of output arrives, which is its
** answer; Release or the destructor closes its input and waits for it to end. */
class HeldProgram {
 public:
  HeldProgram(const std::string& command, const std::string& answerFile,
              int timeoutMilliseconds = 10000);
  ~HeldProgram();
  HeldProgram(const HeldProgram&) = delete;
  HeldProgram& operator=(const HeldProgram&) = delete;

  void Release();
  const std::string& Answer() const { return answer_; }

 private:
  FILE* input_ = nullptr;
  std::string answer_;
};

#endif
