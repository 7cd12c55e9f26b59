/*
** The DDE server of the main program: service "Zarne", topic "Current". Clients request
** the front statement window's field texts by name, keep advise links on them, poke new
** values into its fields and walk the front file's title items with execute commands,
** reading each item's text as the pseudo-field "TitleText". One conversation is served at
** a time; the state lives in the main frame, the callback reaches it through gDdeFrame.
*/
#ifndef ZARNE_SHELL_DDE_SERVER_H
#define ZARNE_SHELL_DDE_SERVER_H

#include "platform/dde/ddeml.h"

#include <string>

class TZarneDecoratedMDIFrame;
class RespaWindow;

/* The frame whose DDE state the callback serves; null before the service starts. */
// Owner: shell.
extern TZarneDecoratedMDIFrame* gDdeFrame;

/* The title-item walk: the file, the type ("1A", "1B", "2") and the policy ("B", "O",
   "L", or empty with gTiAllPolicies) of the walk in progress. */
// Owner: shell.
extern char gTiFileNumber[16];
extern char gTiType[3];
extern char gTiPolicy[2];
extern LONG gTiAllPolicies;

/* Starts the service; a failure shows its box under "ZARNE DDE ERROR" and the program goes
   on without DDE. */
void StartDdeServer(TZarneDecoratedMDIFrame* frame);
/* Ends the conversation, the advise sink and the service. */
void StopDdeServer(TZarneDecoratedMDIFrame* frame);

/* The transactions, by kind (dde_server_fields.cpp, dde_server_titles.cpp). */
HDDEDATA DdeFieldText(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ item, UINT format);
HDDEDATA DdePoke(TZarneDecoratedMDIFrame* frame, HSZ topic, HSZ item, UINT format, HDDEDATA data);
HDDEDATA DdeExecute(TZarneDecoratedMDIFrame* frame, HDDEDATA data);
/* Empties the title text (no item selected). */
void ClearTitleText();

/* An item name's text through its handle, read in two steps (length, then text); false
   when there is none or no memory for it. */
bool ReadItemName(DWORD instance, HSZ item, std::string* name);

/* The statement window in front of the frame's client, or null. */
RespaWindow* DdeFrontWindow(TZarneDecoratedMDIFrame* frame);

#endif
