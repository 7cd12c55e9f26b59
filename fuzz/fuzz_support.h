/*
** What the fuzz targets share: a private scratch directory per process (on memory-backed
** storage when there is one, so file-writing targets stay fast), writing an input to a file,
** and the check that turns a broken promise into a crash the fuzzer reports.
*/
#ifndef ZARNE_FUZZ_FUZZ_SUPPORT_H
#define ZARNE_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

/* This process's scratch directory, made on first use and removed at exit. */
const std::string& FuzzScratchDirectory();

/* Replaces the file at path with exactly these bytes. */
void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size);

/* Stops the process with a message when a property the code promises does not hold. */
void FuzzRequire(bool holds, const char* what);

#endif
