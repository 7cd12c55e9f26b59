/*
** A statement layout library that lacks its record export, for the start-up test of a
** missing export: it offers the count alone.
*/
#include <cstdint>

extern "C" std::int32_t GetRespaFieldCount() { return 1; }
