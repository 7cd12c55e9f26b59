/*
** The program entry of a framework application: main hands its arguments to OwlMain.
*/
#include "platform/framework/application.h"

int main(int argc, char* argv[]) { return OwlMain(argc, argv); }
