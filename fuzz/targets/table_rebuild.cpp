/*
** Fuzz target: a damaged ACCOUNT table file, read and rebuilt as table_damage.cpp describes.
*/
#include "fuzz/table_damage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TableDamageSetUp({"ACCOUNT"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TableDamageRun(0, data, size);
  return 0;
}
