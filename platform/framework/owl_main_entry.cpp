/*
** The program entry of a framework application: main hands its arguments to OwlMain. With
** no home to keep the data in, the program says so and ends: the data root would otherwise
** be a place other users can read.
*/
#include "platform/framework/application.h"
#include "platform/kernel/paths.h"

#include <cstdio>

int main(int argc, char* argv[]) {
  if (ZarneRootPath().empty()) {
    std::fprintf(stderr,
                 "%s: no home directory to keep the data in: set HOME (or ZARNE_ROOT to the data's "
                 "directory) and start again.\n",
                 argc > 0 ? argv[0] : "zarne32");
    return 1;
  }
  return OwlMain(argc, argv);
}
