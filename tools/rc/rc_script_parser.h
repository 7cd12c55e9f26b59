/*
** The top level of a resource script: LANGUAGE, STRINGTABLE, and resource statements
** "name TYPE [memory options] ..." dispatched to the compiler of their type.
*/
#ifndef ZARNE_TOOLS_RC_RC_SCRIPT_PARSER_H
#define ZARNE_TOOLS_RC_RC_SCRIPT_PARSER_H

#include "tools/rc/rc_preprocessor.h"
#include "tools/rc/rc_resource_set.h"

#include <string>

namespace rc {

/* Compiles one script into the set; throws CompileError at the first malformed statement. */
void CompileScript(const std::string& path, Preprocessor& preprocessor, ResourceSet& set);

}  // namespace rc

#endif
