/*
** The program entry of a framework application: main hands its arguments to OwlMain once
** the entry's checks (program_entry.h) pass.
*/
#include "platform/framework/application.h"
#include "platform/framework/program_entry.h"

#include <cstdio>

int main(int argc, char* argv[]) { return EnterProgram(argc, argv, OwlMain, stderr); }
