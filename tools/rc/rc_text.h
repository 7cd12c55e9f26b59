/*
** Decoding of string literals: escapes, doubled quotes, and source text written in UTF-8,
** which becomes the Windows-1252 the system stores.
*/
#ifndef ZARNE_TOOLS_RC_RC_TEXT_H
#define ZARNE_TOOLS_RC_RC_TEXT_H

#include <cstddef>
#include <string>

namespace rc {

/* Decodes the literal that starts at line[start] (the opening quote). On success sets `end`
** to the index after the closing quote and answers true; false for an unterminated literal. */
/* With byteForByte (#pragma code_page(1252)) bytes of 0x80 and above are taken as they stand;
** otherwise a run that is valid UTF-8 is decoded to its Windows-1252 byte. */
bool DecodeStringLiteral(const std::string& line, size_t start, size_t* end, std::string* bytes,
                         std::string* problem, bool byteForByte = false);

}  // namespace rc

#endif
