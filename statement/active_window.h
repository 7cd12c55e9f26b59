/*
** The statement window in front: the client window of the MDI client's active child.
*/
#ifndef ZARNE_STATEMENT_ACTIVE_WINDOW_H
#define ZARNE_STATEMENT_ACTIVE_WINDOW_H

class RespaWindow;
class TMDIClient;

/* Null when no child is active, when its client is no statement window, or when the window
   has already let go of its file and waits for its close. */
RespaWindow* GetActiveRespaWindow(TMDIClient* client);

#endif
