/*
** The table-creation library tabgen32: its one export, as the main program binds it by
** name from libtabgen32.so.
*/
#ifndef ZARNE_CATALOGUE_TABGEN32_H
#define ZARNE_CATALOGUE_TABGEN32_H

#include "platform/engine/engine.h"

/* Creates the catalogue table named tableName (any case, no extension), empty, in directory,
   on the caller's open database, leaving the database's working directory as it was.
   Answers 1 when the table was created; 0 when the name is not a catalogue table (after a
   box saying so), when a directory step or the creation failed (after the engine's error
   box), or when memory for the name could not be had. */
extern "C" int _CreateZarneTable(EngineDatabase database, const char* tableName,
                                 const char* directory);

/* The export's type, for callers that bind it with GetProcAddress. */
typedef int (*CreateZarneTableProc)(EngineDatabase database, const char* tableName,
                                    const char* directory);

#endif
