/*
** The program's one database-engine session and the way engine failures reach the user.
**
** Every wrapper operation stores its engine result in gLastDbResult right after the call;
** an unexpected result is shown to the user through ReportBdeError and the operation answers
** false. Nothing is thrown.
*/
#ifndef ZARNE_TABLEACCESS_ENGINE_SESSION_H
#define ZARNE_TABLEACCESS_ENGINE_SESSION_H

#include "platform/engine/engine.h"
#include "platform/kernel/wintypes.h"

#include <cstddef>

/* The result of the last engine call any wrapper made (0 = success). */
// Owner: tableaccess.
extern WORD gLastDbResult;
/* The engine's standard database, opened by PXOpenDatabase. */
// Owner: tableaccess.
extern EngineDatabase gDatabase;

/* Session steps, in the order start-up calls them; a failed step is reported. */
void PXInit();
void PXSetPrivateDir(LPCSTR directory);
void PXOpenDatabase();
void PXSetDirectory(LPCSTR directory);
void PXExit();

/* "Database Error" with the engine's message, then "Error Context" with its context texts. */
void ReportBdeError();
/* The second box's text: each non-empty context text followed by "; ", or "None"; cut to
   size (the box uses 128 bytes). */
void FormatErrorContext(const EngineErrorInfo& info, LPSTR text, size_t size);
/* "Database Error" with the engine's message for a code. */
void ReportBdeErrorCode(WORD code);
/* "Database Error" with a text of the caller's. */
void ReportDbMessage(LPCSTR text);

/* Stores an engine result in gLastDbResult and reports it unless it is 0; answers result == 0. */
bool PXCheck(EngineResult result);
/* Stores an engine result whose non-zero values the caller handles itself. */
EngineResult PXStore(EngineResult result);

#endif
