/*
** The creation library's error box: how it tells the user that an engine call failed.
*/
#ifndef ZARNE_CATALOGUE_TABLE_ERROR_BOX_H
#define ZARNE_CATALOGUE_TABLE_ERROR_BOX_H

/* Shows the engine's last failure: its message under "Database Error", then its context
   texts joined by "; " (or "None") under "Error Context". */
void ShowEngineErrorBox();

#endif
