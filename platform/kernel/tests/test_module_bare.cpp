/*
** A library with none of the test library's exports: the module tests put it in a search
** directory under the test library's name, as a library that lacks an export the program
** looks up.
*/
extern "C" int KernelTestBareMarker() { return 7; }
