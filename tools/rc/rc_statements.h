/*
** The compilers of each kind of resource statement. Each reads its statement's body from the
** token stream (the name, type and memory options are already read) and answers the compiled
** bytes in the layout of platform/kernel/resource_formats.h.
*/
#ifndef ZARNE_TOOLS_RC_RC_STATEMENTS_H
#define ZARNE_TOOLS_RC_RC_STATEMENTS_H

#include "tools/rc/rc_resource_set.h"
#include "tools/rc/rc_token_stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

class Preprocessor;

std::vector<uint8_t> CompileDialog(TokenStream& tokens, bool extended);
std::vector<uint8_t> CompileMenu(TokenStream& tokens);
std::vector<uint8_t> CompileAccelerators(TokenStream& tokens);
std::vector<uint8_t> CompileVersionInfo(TokenStream& tokens);
/* A BEGIN ... END block of numbers and strings (user-defined types and RCDATA). */
std::vector<uint8_t> CompileDataBlock(TokenStream& tokens);

/* The contents of a file named by a resource statement; fails naming the statement's line. */
std::vector<uint8_t> ReadResourceFile(Preprocessor& preprocessor, const Token& fileToken);

/* BITMAP, ICON and CURSOR from their files; icons and cursors add their images too. */
void AddBitmap(ResourceSet& set, const resource_format::ResourceKey& name, uint16_t language,
               const std::vector<uint8_t>& file, const SourcePosition& where);
void AddIconOrCursor(ResourceSet& set, bool cursor, const resource_format::ResourceKey& name,
                     uint16_t language, const std::vector<uint8_t>& file,
                     const SourcePosition& where);

/* A resource name or a control's text reference: an ordinal expression, a string, or a name. */
resource_format::ResourceKey ReadNameOrOrdinal(TokenStream& tokens, const char* what,
                                               bool upperCaseNames);

}  // namespace rc

#endif
