/*
** The zarne32 program: its entry is OwlMain of the shell, called by the framework's main.
*/
#include "shell/owl_main.h"
