/*
** The Load and Save dialogs of one grid's configuration, which the style dialog opens: the
** platform's file dialogs with the library's shared settings, then the load or the save,
** with a saved block replacing the file's block of the same name.
*/
#include "grid/config_dialogs.h"

#include "grid/configurations.h"
#include "grid/library_state.h"

#include <cstring>
#include <string>

namespace {

const char kLoadCaption[] = "Load Column Configurations";
const char kSaveCaption[] = "Save Column Configurations";
const char kCtrlZ = 26;

// Shared by both dialogs for the library's life: the file chosen last starts the next one.
// Owner: grid.
char gFileName[256] = "";
char gFileTitle[256] = "";
char gCustomFilter[100] = "";

bool RunFileDialog(HWND owner, bool save) {
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = gTesselModule;
  ofn.lpstrFilter = save ? "DLG File (*.dlg)\0*.dlg\0RC File (*.rc)\0*.rc\0\0"
                         : "DLG Files (*.dlg)\0*.dlg\0RC Files (*.rc)\0*.rc\0\0";
  ofn.lpstrCustomFilter = gCustomFilter;
  ofn.nMaxCustFilter = sizeof gCustomFilter;
  ofn.nFilterIndex = 0;
  std::strcpy(gFileName, gFileTitle);
  ofn.lpstrFile = gFileName;
  ofn.nMaxFile = sizeof gFileName;
  ofn.lpstrFileTitle = gFileTitle;
  ofn.nMaxFileTitle = sizeof gFileTitle;
  ofn.lpstrTitle = save ? kSaveCaption : kLoadCaption;
  ofn.lpstrDefExt = "DLG";
  ofn.Flags =
      OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_NOREADONLYRETURN : OFN_FILEMUSTEXIST);
  return save ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
}

std::string ConfigurationName(HWND grid, const char* name) {
  int id = grid ? static_cast<int>(GetWindowLongPtr(grid, GWL_ID)) : 0;
  return CleanConfigName(name, id);
}

/* The grid's configuration text, or false with the writer's result. */
bool BuildBlock(HWND grid, const std::string& name, std::string* text, int* result) {
  HGLOBAL block = GlobalAlloc(GHND, 2048);
  *result = block ? DlgBuffSaveTessel(block, name.c_str(), grid) : TSCFG_NOMEMORY;
  if (*result == TSCFG_DONE) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
      *text = bytes;
      GlobalUnlock(block);
    } else {
      *result = TSCFG_NOMEMORY;
    }
  }
  if (block) GlobalFree(block);
  return *result == TSCFG_DONE;
}

/* The end of a block that starts after keyEnd: past its END line and the empty line after. */
size_t BlockEnd(const std::string& file, size_t keyEnd) {
  size_t at = file.find('\n', keyEnd);
  while (at != std::string::npos) {
    size_t line = at + 1;
    size_t first = file.find_first_not_of(" \t", line);
    at = file.find('\n', line);
    if (first != std::string::npos && file.compare(first, 3, "END") == 0 &&
        (first + 3 == file.size() || std::strchr("\r\n \t", file[first + 3]))) {
      size_t end = at == std::string::npos ? file.size() : at + 1;
      if (file.compare(end, 2, "\r\n") == 0) return end + 2;
      if (file.compare(end, 1, "\n") == 0) return end + 1;
      return end;
    }
  }
  return file.size();
}

/* The file's text with the block put in: in place of a block of the same name, else at the
   end, before a final Ctrl-Z and after a line break of its own. */
std::string WithBlock(const std::string& file, const std::string& name, const std::string& block) {
  const char* begin = file.c_str();
  const char* keyEnd = nullptr;
  if (const char* start = FindConfigBlock(begin, begin + file.size(), name, &keyEnd)) {
    size_t from = static_cast<size_t>(start - begin);
    return file.substr(0, from) + block +
           file.substr(BlockEnd(file, static_cast<size_t>(keyEnd - begin)));
  }
  bool ctrlZ = !file.empty() && file.back() == kCtrlZ;
  std::string text = ctrlZ ? file.substr(0, file.size() - 1) : file;
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  text += block;
  if (ctrlZ) text += kCtrlZ;
  return text;
}

std::string FileBytes(HFILE file) {
  std::string bytes;
  if (HGLOBAL whole = ReadFileWhole(file)) {
    const char* text = static_cast<const char*>(GlobalLock(whole));
    LONG length = _llseek(file, 0, 2);
    if (text && length > 0) bytes.assign(text, static_cast<size_t>(length));
    GlobalUnlock(whole);
    GlobalFree(whole);
  }
  return bytes;
}

bool WriteWhole(HFILE file, const std::string& bytes) {
  if (_llseek(file, 0, 0) != 0) return false;
  bool written =
      bytes.empty() || _lwrite(file, bytes.data(), static_cast<UINT>(bytes.size())) == bytes.size();
  _lwrite(file, "", 0);  // cut what a longer old text left behind
  return written;
}

/* 1 appends, 0 replaces, -1 cancels. */
int AskAppend(HWND owner) {
  OFSTRUCT info{};
  if (OpenFile(gFileName, &info, OF_EXIST) == HFILE_ERROR) return 0;
  char question[400];
  std::snprintf(question, sizeof question,
                "The file '%s' already exists. Append to file?\n(Yes appends, No replaces)",
                gFileTitle);
  int answer =
      MessageBox(owner, question, kSaveCaption, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
  return answer == IDYES ? 1 : answer == IDNO ? 0 : -1;
}

/* Writes the block into the chosen file; false with the box shown when it cannot be opened. */
bool SaveIntoFile(HWND owner, bool append, const std::string& name, const std::string& block,
                  int* result) {
  HFILE file = append ? _lopen(gFileName, OF_READWRITE) : _lcreat(gFileName, 0);
  if (file == HFILE_ERROR) {
    MessageBox(owner, "Error Opening File", kSaveCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  std::string bytes = append ? WithBlock(FileBytes(file), name, block) : block;
  *result = WriteWhole(file, bytes) ? TSCFG_DONE : TSCFG_NOMEMORY;
  _lclose(file);
  return true;
}

}  // namespace

int RunLoadDialog(HWND owner, HWND grid, const char* configurationName) {
  std::string name = ConfigurationName(grid, configurationName);
  for (;;) {
    if (!RunFileDialog(owner, false)) return 0;
    if (!UsableConfigName(name)) {
      ReportConfigResult(TSCFG_BADNAME, owner, kLoadCaption, gFileName, name.c_str());
      return 0;
    }
    HFILE file = _lopen(gFileName, OF_READ);
    if (file == HFILE_ERROR) {
      MessageBox(owner, "Error Opening File", kLoadCaption, MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    int result = LoadConfigFromFile(file, name, grid);
    _lclose(file);
    if (result == TSCFG_DONE) return 1;
    ReportConfigResult(result, owner, kLoadCaption, gFileName, name.c_str());
  }
}

int RunSaveDialog(HWND owner, HWND grid, const char* configurationName) {
  std::string name = ConfigurationName(grid, configurationName);
  for (;;) {
    if (!RunFileDialog(owner, true)) return 0;
    if (!UsableConfigName(name)) {
      ReportConfigResult(TSCFG_BADNAME, owner, kSaveCaption, gFileName, name.c_str());
      return 0;
    }
    int append = AskAppend(owner);
    if (append < 0) return 0;
    std::string block;
    int result = TSCFG_DONE;
    if (BuildBlock(grid, name, &block, &result) &&
        !SaveIntoFile(owner, append == 1, name, block, &result))
      continue;
    if (result == TSCFG_DONE) return 1;
    ReportConfigResult(result, owner, kSaveCaption, gFileName, name.c_str());
  }
}
