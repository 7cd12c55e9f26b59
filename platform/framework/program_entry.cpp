/*
** The program entry's checks before the program runs. With no home to keep the data in, the
** program says so and ends: the data root would otherwise be a place other users can read.
*/
#include "platform/framework/program_entry.h"

#include "platform/kernel/paths.h"

int EnterProgram(int argc, char* argv[], ProgramMain program, std::FILE* messages) {
  if (ZarneRootPath().empty()) {
    // A program may be started with no arguments at all, not even its own name.
    const char* name = argc > 0 && argv[0] ? argv[0] : "zarne32";
    std::fprintf(messages,
                 "%s: no home directory to keep the data in: set HOME (or ZARNE_ROOT to the data's "
                 "directory) and start again.\n",
                 name);
    return 1;
  }
  return program(argc, argv);
}
