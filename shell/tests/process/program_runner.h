/*
** Runs zarne32 as a real program for the tests: offscreen, on the test's data root and a
** runtime directory of its own, with a home directory that must stay empty; its standard
** error is kept in a file. The test finds its windows through the published window list.
*/
#ifndef ZARNE_SHELL_TESTS_PROCESS_PROGRAM_RUNNER_H
#define ZARNE_SHELL_TESTS_PROCESS_PROGRAM_RUNNER_H

#include "platform/kernel/wintypes.h"

#include <sys/types.h>

#include <string>
#include <vector>

struct ProgramPlaces {
  std::string root;     // ZARNE_ROOT
  std::string runtime;  // XDG_RUNTIME_DIR
  std::string home;     // HOME and XDG_DATA_HOME's parent: nothing may be written there
};

class ZarneProgram {
 public:
  ZarneProgram(const ProgramPlaces& places, std::vector<std::string> extraEnvironment = {});
  /* Another program of the tests, with its arguments, in the same places; its standard
     output is kept too. */
  ZarneProgram(const ProgramPlaces& places, const std::string& program,
               std::vector<std::string> arguments, std::vector<std::string> extraEnvironment = {});
  ~ZarneProgram();
  ZarneProgram(const ZarneProgram&) = delete;
  ZarneProgram& operator=(const ZarneProgram&) = delete;

  /* Waits until the program's frame is published shown and maximized with no splash left;
     false after the timeout. */
  bool WaitForFrame(int seconds = 60);
  /* SIGTERM, then the exit status (-1 when it did not end within the timeout, 128+n after a
     signal n). */
  int Terminate(int seconds = 60);
  /* The exit status once it ended by itself, -1 when it did not within the timeout. */
  int WaitForExit(int seconds = 60);
  std::string Stderr() const;
  std::string Stdout() const;
  /* Waits until the standard output holds the text; false after the timeout. */
  bool WaitForOutput(const std::string& text, int seconds = 60);
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  void Start(const ProgramPlaces& places, const std::string& program,
             std::vector<std::string> arguments, std::vector<std::string> extraEnvironment);

  std::string stderrFile_;
  std::string stdoutFile_;
  int status_ = -1;
};

/* The top-level windows this test sees, other programs' included, with their titles. */
struct SeenWindow {
  HWND hwnd;
  std::string title;
  bool visible;
  bool zoomed;
};
std::vector<SeenWindow> SeenWindows();

/* Fresh directories below a temporary one. */
ProgramPlaces FreshPlaces();
/* Every file below a directory with its bytes, by path relative to it. */
std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& directory);
/* How often the text occurs in the haystack. */
int CountOf(const std::string& haystack, const std::string& text);

#endif
