/*
** The numbers of SQLite's file format as the engine's own page readers take them: big-endian
** two- and four-byte numbers, and the variable-length numbers of cells and record headers.
** Every read is bounded, since the bytes may come from a damaged file.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PAGEBYTES_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PAGEBYTES_H

#include <cstdint>

namespace zarne::engine {

inline uint32_t PageBig16(const unsigned char* p) { return uint32_t(p[0]) << 8 | p[1]; }

inline uint32_t PageBig32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

/* The variable-length number at p, read no further than end; p moves past it. False when it
   runs past end. */
inline bool PageVarint(const unsigned char*& p, const unsigned char* end, uint64_t* value) {
  uint64_t v = 0;
  for (int n = 0; n < 9; ++n) {
    if (p >= end) return false;
    unsigned char b = *p++;
    if (n == 8) {
      *value = (v << 8) | b;
      return true;
    }
    v = (v << 7) | (b & 0x7F);
    if (!(b & 0x80)) {
      *value = v;
      return true;
    }
  }
  return false;
}

}  // namespace zarne::engine

#endif
