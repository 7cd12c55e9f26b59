/*
** The two pages of the form, each written out by its own file into the one description.
*/
#ifndef ZARNE_HUDFORM_FORM_PARTS_H
#define ZARNE_HUDFORM_FORM_PARTS_H

#include "hudform/form_builder.h"

namespace hudform {

void BuildPage1(FormBuilder& builder);
void BuildPage2(FormBuilder& builder);

}  // namespace hudform

#endif
