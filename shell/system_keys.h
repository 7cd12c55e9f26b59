/*
** The [System] directory keys of zarne.ini as start-up reads them: DirDatabase, DirCheckCtl,
** DirPrinters and DirPrivate. Apart from the start-up steps around them so the fuzz target
** reads every value a settings file can hold exactly as the program does.
*/
#ifndef ZARNE_SHELL_SYSTEM_KEYS_H
#define ZARNE_SHELL_SYSTEM_KEYS_H

/* Reads the key into directory (MAX_PATH bytes); an empty value becomes defaultValue and is
   written back to the same key. */
void ReadSystemDirectoryKey(const char* key, const char* defaultValue, char* directory);

#endif
