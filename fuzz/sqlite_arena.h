/*
** SQLite's memory for the table fuzz targets: blocks carved in turn from large chunks, each
** block's bytes the only addressable ones of its chunk, so that the address checker still
** catches a read past a block or of a released one, at a fraction of the cost of its own
** allocator for the thousands of blocks SQLite takes per input. Released blocks are not
** reused within the input that released them: a chunk whose blocks are all released is
** carved again only after the input ends. A block still live when its input ends is a
** leak, reported as one.
*/
#ifndef ZARNE_FUZZ_SQLITE_ARENA_H
#define ZARNE_FUZZ_SQLITE_ARENA_H

/* Makes the arena SQLite's allocator; before SQLite starts. Blocks are carved from it only
   once SqliteArenaNextInput was called: those of the set-up come from the heap. */
void SqliteArenaInstall();

/* Begins an input: chunks whose blocks the inputs before released may be carved again. */
void SqliteArenaNextInput();

/* Ends an input, which must have released every block it took. */
void SqliteArenaEndInput();

#endif
