/*
** The open closing files as the MDI client holds them: each MDI child is titled with its
** file number. A child whose view has already closed (its own close is still on its way)
** counts as no file.
*/
#ifndef ZARNE_FILENUMBER_FILE_WINDOWS_H
#define ZARNE_FILENUMBER_FILE_WINDOWS_H

class TMDIClient;
class TMDIChild;

/* The child titled exactly with the number (case-sensitive), or null. */
TMDIChild* FindFileWindow(TMDIClient* client, const char* fileNumber);
/* How many files are open. */
int CountFileWindows(TMDIClient* client);
/* Whether the child still holds an open view. */
bool HoldsOpenView(TMDIChild* child);
/* The first child, in opening order, that still holds an open view; null when none. */
TMDIChild* EarliestFileWindow(TMDIClient* client);

#endif
