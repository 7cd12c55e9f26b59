/*
** Page check values. A table file keeps the last 8 bytes of every page for a check value
** over the rest of the page and its page number. A file layer stacked on SQLite's own
** writes them whenever a page of such a file is written, whoever writes it; nothing checks
** them in ordinary reading. The salvage of a damaged file uses them to tell a page that
** holds what was written from one that was torn, overwritten, zeroed or cut short.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PAGECHECK_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PAGECHECK_H

#include <cstdint>
#include <string>

namespace zarne::engine {

/* Bytes kept at the end of each page of a table file for its check value. */
constexpr int kPageCheckBytes = 8;

/* Makes the checking file layer SQLite's default, once for the process. */
void InstallPageChecks();

/* True when the page (pageSize bytes, number counted from 1) holds its check value. */
bool PageCheckHolds(const unsigned char* page, int pageSize, uint32_t pageNumber);

/* Test seam: writes to files whose name contains nameHas fail as on a full disk once
   `bytes` more have been written to them; an empty nameHas ends it. */
void SimulateFullDisk(const std::string& nameHas, long long bytes);

}  // namespace zarne::engine

#endif
