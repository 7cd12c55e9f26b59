/*
** The platform's named constants that resource scripts use without including a header:
** window, dialog and control styles, virtual keys, dialog answers and version-data codes.
** Their values are the original platform's.
*/
#ifndef ZARNE_TOOLS_RC_RC_CONSTANTS_H
#define ZARNE_TOOLS_RC_RC_CONSTANTS_H

#include <cstdint>
#include <string>

namespace rc {

/* The value of a built-in constant; false when the name is none. */
bool LookUpConstant(const std::string& name, uint32_t* value);

}  // namespace rc

#endif
