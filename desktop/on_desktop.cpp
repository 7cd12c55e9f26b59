/*
** Runs a command on a private desktop (Xvfb with openbox) with Qt on the X server instead of
** offscreen, and answers its exit status: how the office day runs once on a real desktop.
**   on_desktop <program> [arguments...]
*/
#include "desktop/desktop_session.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: on_desktop <program> [arguments...]\n");
    return 2;
  }
  Desktop desktop(true);
  if (desktop.Display().empty() || desktop.WindowManagerPid() <= 0) return 1;
  pid_t child = fork();
  if (child == 0) {
    setenv("DISPLAY", desktop.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
