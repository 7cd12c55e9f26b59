/*
** What a program's main does before the program's own work: it checks that there is a home
** for the data and hands the command line on. Kept apart from main so that the handling of
** any argument list can be exercised without starting a program.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_PROGRAM_ENTRY_H
#define ZARNE_PLATFORM_FRAMEWORK_PROGRAM_ENTRY_H

#include <cstdio>

using ProgramMain = int (*)(int argc, char* argv[]);

/* With no home to keep the data in, writes why to `messages` (naming the program by argv[0],
   when there is one) and answers 1 without running the program; else answers what `program`
   answers for the same arguments. */
int EnterProgram(int argc, char* argv[], ProgramMain program, std::FILE* messages);

#endif
