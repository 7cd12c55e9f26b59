/*
** Configurations in dialog-script files: DlgFileLoad and DlgFileSave over every grid of a
** dialog, the one-grid loads and saves they and the file dialogs share, the cleaning of
** configuration names, and the messages that report result codes.
*/
#include "grid/configurations.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

const char kCtrlZ = 26;

std::string WindowText(HWND window, int size) {
  char text[128] = "";
  GetWindowText(window, text, size);
  return text;
}

int ControlId(HWND window) { return static_cast<int>(GetWindowLongPtr(window, GWL_ID)); }

bool WriteAll(HFILE file, const char* bytes, size_t count) {
  return count == 0 || _lwrite(file, bytes, static_cast<UINT>(count)) == count;
}

}  // namespace

std::string StripConfigName(const char* windowText) {
  std::string name;
  for (const char* p = windowText ? windowText : ""; *p; ++p)
    if (!std::strchr("*.; ,", *p)) name += *p;
  return name;
}

std::string CleanConfigName(const char* windowText, int controlId) {
  std::string name = StripConfigName(windowText);
  if (name.empty()) name = "Tessel" + std::to_string(controlId);
  return name;
}

bool UsableConfigName(const std::string& name) {
  if (name.empty() || name.size() > TSCFG_MAXNAME) return false;
  bool allDigits = true;
  for (unsigned char c : name) {
    if (!(std::isalnum(c) && c < 0x80) && c != '_') return false;
    if (!std::isdigit(c)) allDigits = false;
  }
  return !allDigits;
}

HGLOBAL ReadFileWhole(HFILE file) {
  LONG length = _llseek(file, 0, 2);
  if (length < 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GHND, static_cast<SIZE_T>(length) + 1);
  if (!block) return nullptr;
  char* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  _llseek(file, 0, 0);
  UINT read = _lread(file, bytes, static_cast<UINT>(length));
  bytes[read > static_cast<UINT>(length) ? 0 : read] = '\0';
  GlobalUnlock(block);
  return block;
}

int LoadConfigFromFile(HFILE file, const std::string& name, HWND grid) {
  HGLOBAL text = ReadFileWhole(file);
  if (!text) return TSCFG_NOMEMORY;
  int result = DlgBuffLoadTessel(text, name.c_str(), grid);
  GlobalFree(text);
  return result;
}

int SaveConfigToFile(HFILE file, const std::string& name, HWND grid) {
  HGLOBAL block = GlobalAlloc(GHND, 2048);
  if (!block) return TSCFG_NOMEMORY;
  int result = DlgBuffSaveTessel(block, name.c_str(), grid);
  if (result == TSCFG_DONE) {
    const char* text = static_cast<const char*>(GlobalLock(block));
    if (!text) {
      result = TSCFG_NOMEMORY;
    } else {
      if (!WriteAll(file, text, std::strlen(text))) result = TSCFG_NOMEMORY;
      GlobalUnlock(block);
    }
  }
  GlobalFree(block);
  return result;
}

/* Whether the file's last byte is Ctrl-Z; a byte that cannot be read counts as none. The
   position is then set explicitly where new text goes: over the Ctrl-Z, else at the end. */
bool PositionBeforeCtrlZ(HFILE file) {
  LONG length = _llseek(file, 0, 2);
  bool ctrlZ = false;
  if (length > 0 && _llseek(file, length - 1, 0) == length - 1) {
    char last = 0;
    ctrlZ = _lread(file, &last, 1) == 1 && last == kCtrlZ;
  }
  if (length > 0) _llseek(file, ctrlZ ? length - 1 : length, 0);
  return ctrlZ;
}

extern "C" int DlgFileLoad(HFILE file, HWND dialog, LPCSTR dialogName) {
  (void)dialogName;
  HGLOBAL text = ReadFileWhole(file);
  if (!text) return TSCFG_TOOLARGE;
  int result = TSCFG_DONE;
  ForEachGrid(dialog, [&](HWND grid) {
    int id = ControlId(grid);
    std::string windowText = WindowText(grid, 80);
    std::string name = CleanConfigName(windowText.c_str(), id);
    if (!UsableConfigName(name)) {
      result = TSCFG_BADNAME;
      return false;
    }
    result = DlgBuffLoadTessel(text, name.c_str(), grid);
    // The second name is the one the grid's run-time lookup tries; for an empty name the
    // first one already was.
    std::string second = StripConfigName(windowText.c_str()) + "Tessel" + std::to_string(id);
    if (result != TSCFG_DONE && second != name)
      result = DlgBuffLoadTessel(text, second.c_str(), grid);
    return result == TSCFG_DONE;
  });
  GlobalFree(text);
  return result;
}

extern "C" int DlgFileSave(HFILE file, HWND dialog, LPCSTR dialogName) {
  int grids = 0;
  ForEachGrid(dialog, [&](HWND) {
    ++grids;
    return true;
  });
  if (grids == 0) return TSCFG_DONE;
  bool ctrlZ = PositionBeforeCtrlZ(file);
  int result = WriteAll(file, "\r\n", 2) ? TSCFG_DONE : TSCFG_NOMEMORY;
  if (result == TSCFG_DONE)
    ForEachGrid(dialog, [&](HWND grid) {
      int id = ControlId(grid);
      std::string name = CleanConfigName(WindowText(grid, 80).c_str(), id);
      if (!UsableConfigName(name)) {
        result = TSCFG_BADNAME;
        return false;
      }
      char comment[200];
      std::snprintf(comment, sizeof comment, "/* Dialog %s: Control %d */\r\n",
                    dialogName ? dialogName : "", id);
      if (!WriteAll(file, comment, std::strlen(comment))) result = TSCFG_NOMEMORY;
      if (result == TSCFG_DONE) result = SaveConfigToFile(file, name, grid);
      return result == TSCFG_DONE;
    });
  if (ctrlZ) WriteAll(file, &kCtrlZ, 1);
  return result;
}

void ReportConfigResult(int code, HWND owner, const char* caption, const char* path,
                        const char* name) {
  char text[600];
  switch (code) {
    case TSCFG_DONE: return;
    case TSCFG_TOOLARGE:
      std::snprintf(text, sizeof text, "%s is to large to be processed", path);
      break;
    case TSCFG_NOMEMORY:
      std::snprintf(text, sizeof text, "Not enough memory to parse %s", path);
      break;
    case TSCFG_NOTFOUND:
      std::snprintf(text, sizeof text, "The '%s' resource could not be found in %s", name, path);
      break;
    case TSCFG_BADPARSE:
      std::snprintf(text, sizeof text, "The '%s' resource in %s could not be parsed", name, path);
      break;
    case TSCFG_BADVERSION:
      std::snprintf(text, sizeof text, "The '%s' resource in %s has an incorrect version", name,
                    path);
      break;
    case TSCFG_BADNAME:
      std::snprintf(text, sizeof text, "The name '%s' cannot be used for a resource in %s", name,
                    path);
      break;
    default: return;
  }
  MessageBox(owner, text, caption, MB_OK | MB_ICONEXCLAMATION);
}
