/*
** Saved grid configurations: the text form written into dialog scripts and the compiled
** form found among a module's resources, their writer and readers, and the file-level
** loaders and savers over whole dialogs. Exports of libvgrd32.so.
*/
#ifndef ZARNE_GRID_CONFIGURATIONS_H
#define ZARNE_GRID_CONFIGURATIONS_H

#include "platform/kernel/kernel.h"
#include "platform/user/winuser.h"

#include <cstddef>
#include <string>

/* Result codes of the text operations. */
#define TSCFG_DONE       0
#define TSCFG_TOOLARGE   1
#define TSCFG_NOMEMORY   2
#define TSCFG_NOTFOUND   3
#define TSCFG_BADPARSE   4
#define TSCFG_BADVERSION 5
#define TSCFG_BADNAME    6

/* The longest configuration name that is searched for or written. */
#define TSCFG_MAXNAME 90

extern "C" {
int DlgBuffSaveTessel(HGLOBAL buffer, LPCSTR configurationName, HWND grid);
int DlgBuffLoadTessel(HGLOBAL buffer, LPCSTR configurationName, HWND grid);
int LoadConfigText(LPCSTR text, HWND grid);
int LoadConfigResource(LPCVOID data, HWND grid);
int SetupDlgTessel(HINSTANCE module, HWND dialog, int controlId, LPCSTR configurationName,
                   LPCSTR dialogName);
int SetupMultiTessel(HINSTANCE module, HWND parent, LPCSTR dialogName);
int DlgFileLoad(HFILE file, HWND dialog, LPCSTR dialogName);
int DlgFileSave(HFILE file, HWND dialog, LPCSTR dialogName);
}

/* The text reader over [text, end), positioned at the resource line. */
int ReadConfigText(const char* text, const char* end, HWND grid);
/* The same from just after the resource line's "TESSELCFG". */
int ReadConfigBody(const char* keyEnd, const char* end, HWND grid);
/* The compiled reader over size bytes. */
int ReadConfigResource(const unsigned char* data, size_t size, HWND grid);
/* Where the resource line of that configuration starts in [text, end), or NULL. A non-empty
   name matches only as the whole name at a line's start; the empty name finds the first. */
const char* FindConfigBlock(const char* text, const char* end, const std::string& name,
                            const char** keyEnd = nullptr);

/* The configuration name of a file-level load or save: the window text without asterisks,
   full stops, semicolons, blanks and commas; empty, it becomes "Tessel<id>". */
std::string CleanConfigName(const char* windowText, int controlId);
/* The window text without those characters, possibly empty. */
std::string StripConfigName(const char* windowText);
/* True when rc can compile the name and the readers can find it. */
bool UsableConfigName(const std::string& name);

/* The grids of a dialog, in child order: children whose class is exactly "Tessel". */
template <typename Visit>
void ForEachGrid(HWND dialog, Visit visit) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[12] = "";
    GetClassName(child, name, sizeof name);
    if (std::string(name) == "Tessel" && !visit(child)) return;
  }
}

/* Loads one configuration from the open file (result of DlgBuffLoadTessel, 2 when the file
   cannot be read). */
int LoadConfigFromFile(HFILE file, const std::string& name, HWND grid);
/* Saves one configuration at the file's current position. */
int SaveConfigToFile(HFILE file, const std::string& name, HWND grid);
/* The whole file as a NUL-terminated block, or NULL. */
HGLOBAL ReadFileWhole(HFILE file);
/* Shows the message of a result code in a box with the caller's caption; 0 shows nothing. */
void ReportConfigResult(int code, HWND owner, const char* caption, const char* path,
                        const char* name);

#endif
