/*
** The data fields the fuzz targets bind: a few fields of each display kind on both field
** lists, with the values a statement window would hold, restored before every input. They
** live in the script tests' fake statement window, so a name the code under test reads or
** writes must be one of them.
*/
#ifndef ZARNE_FUZZ_FUZZ_BINDING_H
#define ZARNE_FUZZ_FUZZ_BINDING_H

#include "script/tests/fake_binding.h"

class FuzzBinding : public FakeBinding {
 public:
  /* Puts the fields on the field lists; once per process. */
  void Install();
  /* Gives every field its starting value again. */
  void Restore();
};

#endif
