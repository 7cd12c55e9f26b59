/*
** MustWrite: a benchmark fills its tables before it times anything; a refused write would
** leave it timing a table other than the one it reports, so it stops there instead.
*/
#ifndef ZARNE_BENCH_BENCH_WRITE_H
#define ZARNE_BENCH_BENCH_WRITE_H

#include <cstdio>
#include <cstdlib>

inline void MustWrite(bool written) {
  if (written) return;
  std::fputs("bench: a table refused a write while it was being filled\n", stderr);
  std::exit(1);
}

#endif
