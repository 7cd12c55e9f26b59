/*
** GetOpenFileName and GetSaveFileName: the caller's record turned into a request, the
** presenter's answer checked (existence, overwriting) and written back in the record's
** conventions.
*/
#include "platform/user/common_dialogs.h"
#include "platform/user/common_dialogs_internal.h"

#include "platform/kernel/paths.h"
#include "platform/user/message_box.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <strings.h>

namespace {

constexpr int kMaxAttempts = 20;  // a presenter that keeps answering badly is cancelled

DWORD& LastError() {
  static DWORD code = 0;
  return code;
}

FileDialogPresenter& Presenter() {
  static FileDialogPresenter presenter = PresentQtFileDialog;
  return presenter;
}

/* Filters as the framework writes them ("text|pattern|...") or as the platform does
** (NUL-separated pairs ending in an empty text). */
std::vector<std::pair<std::string, std::string>> ParseFilters(LPCSTR filter) {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!filter) return pairs;
  std::string first = filter;
  if (first.find('|') != std::string::npos) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = first.find('|', start)) != std::string::npos; start = bar + 1)
      parts.push_back(first.substr(start, bar - start));
    if (start < first.size()) parts.push_back(first.substr(start));
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
      if (!parts[i].empty()) pairs.push_back({parts[i], parts[i + 1]});
    return pairs;
  }
  for (const char* p = filter; *p;) {
    std::string text = p;
    p += text.size() + 1;
    if (!*p) break;
    std::string pattern = p;
    p += pattern.size() + 1;
    pairs.push_back({text, pattern});
  }
  return pairs;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  // The root keeps its backslash ("C:\"), other folders do not.
  return slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasExtension(const std::string& path) { return NameOf(path).find('.') != std::string::npos; }

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = "";
  GetCurrentDirectory(sizeof buffer, buffer);
  return buffer;
}

FileDialogRequest BuildRequest(const OPENFILENAME& ofn, bool save) {
  FileDialogRequest request;
  request.owner = ofn.hwndOwner;
  request.save = save;
  request.title = ofn.lpstrTitle ? ofn.lpstrTitle : (save ? "Save As" : "Open");
  request.filters = ParseFilters(ofn.lpstrFilter);
  int count = static_cast<int>(request.filters.size());
  request.filterIndex =
      std::clamp(static_cast<int>(ofn.nFilterIndex ? ofn.nFilterIndex : 1), 1, std::max(count, 1));
  request.defaultExtension = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
  request.flags = ofn.Flags;
  std::string given(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
  std::string directory =
      ofn.lpstrInitialDir && *ofn.lpstrInitialDir ? ofn.lpstrInitialDir : CurrentDirectory();
  if (given.find_first_of("\\/:") != std::string::npos) {
    std::string full = FullWindowsPath(given.c_str());
    bool folder = IsDirectory(full);  // e.g. the folder of a previous multiple selection
    directory = folder ? full : DirectoryOf(full);
    given = folder ? std::string() : NameOf(full);
  }
  // Wildcards in the initial name are a filter, not a name.
  if (given.find_first_of("*?") != std::string::npos) given.clear();
  request.initialDirectory = FullWindowsPath(directory.c_str());
  request.initialName = given;
  return request;
}

/* A chosen file as a full Windows path, with the default extension where it has none. */
std::string NormalizeChoice(const std::string& chosen, const FileDialogRequest& request) {
  std::string path;
  if (!chosen.empty() && chosen[0] == '/') {
    path = WindowsPathFromHostPath(chosen);
  } else if (chosen.size() > 1 && (chosen[1] == ':' || chosen[0] == '\\')) {
    path = FullWindowsPath(chosen.c_str());
  } else {
    std::string joined = request.initialDirectory;
    if (!joined.empty() && joined.back() != '\\') joined += '\\';
    path = FullWindowsPath((joined + chosen).c_str());
  }
  if (!request.defaultExtension.empty() && !HasExtension(path))
    path += "." + request.defaultExtension;
  return path;
}

/* Refuses a choice the flags do not allow, telling the user why; true when it may stand. */
bool AcceptChoice(const std::vector<std::string>& files, const FileDialogRequest& request) {
  DWORD flags = request.flags;
  for (const std::string& file : files) {
    std::string directory = DirectoryOf(file);
    if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsDirectory(directory)) {
      std::string text = file + "\nThe folder does not exist.\nCheck the path and try again.";
      MessageBox(request.owner, text.c_str(), request.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    if ((flags & OFN_FILEMUSTEXIST) && !IsFile(file)) {
      std::string text = NameOf(file) + "\nFile not found.\nCheck the file name and try again.";
      MessageBox(request.owner, text.c_str(), request.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    if (request.save && (flags & OFN_OVERWRITEPROMPT) && IsFile(file)) {
      std::string text = file + " already exists.\nDo you want to replace it?";
      if (MessageBox(request.owner, text.c_str(), request.title.c_str(),
                     MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return false;
    }
  }
  return true;
}

/* The answer in lpstrFile and the offsets; false (FNERR_BUFFERTOOSMALL) when it does not fit. */
bool WriteChoice(OPENFILENAME& ofn, const std::vector<std::string>& files,
                 const FileDialogRequest& request) {
  std::string text;
  WORD nameOffset = 0, extensionOffset = 0;
  bool several = (ofn.Flags & OFN_ALLOWMULTISELECT) && files.size() > 1;
  if (several) {
    std::string directory = DirectoryOf(files.front());
    text = directory + '\0';
    nameOffset = static_cast<WORD>(text.size());
    for (const std::string& file : files) text += NameOf(file) + '\0';
  } else {
    text = files.front();
    nameOffset = static_cast<WORD>(text.size() - NameOf(text).size());
    size_t dot = text.find_last_of('.');
    extensionOffset =
        static_cast<WORD>(dot != std::string::npos && dot >= nameOffset ? dot + 1 : text.size());
  }
  size_t needed = text.size() + 1;  // the final NUL (a second one after a list)
  if (needed > ofn.nMaxFile || needed > 0xFFFF) {
    if (ofn.nMaxFile >= 2) {
      WORD size = static_cast<WORD>(std::min<size_t>(needed, 0xFFFF));
      std::memcpy(ofn.lpstrFile, &size, sizeof size);
    }
    return false;
  }
  std::memcpy(ofn.lpstrFile, text.data(), text.size());
  ofn.lpstrFile[text.size()] = 0;
  // A caller reading a multiple selection as a list stops at once after a single path.
  if ((ofn.Flags & OFN_ALLOWMULTISELECT) && text.size() + 1 < ofn.nMaxFile)
    ofn.lpstrFile[text.size() + 1] = 0;
  ofn.nFileOffset = nameOffset;
  ofn.nFileExtension = extensionOffset;
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    std::string title = NameOf(files.front());
    size_t length = std::min<size_t>(title.size(), ofn.nMaxFileTitle - 1);
    std::memcpy(ofn.lpstrFileTitle, title.data(), length);
    ofn.lpstrFileTitle[length] = 0;
  }
  ofn.Flags &= ~(OFN_EXTENSIONDIFFERENT | OFN_READONLY);
  if (!several && !request.defaultExtension.empty() &&
      strcasecmp(text.c_str() + extensionOffset, request.defaultExtension.c_str()) != 0)
    ofn.Flags |= OFN_EXTENSIONDIFFERENT;
  return true;
}

BOOL RunFileDialog(LPOPENFILENAME ofn, bool save) {
  SetCommDlgError(0);
  if (!ofn || ofn->lStructSize < offsetof(OPENFILENAME, lpstrDefExt) + sizeof(LPCSTR)) {
    SetCommDlgError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    SetCommDlgError(CDERR_INITIALIZATION);
    return FALSE;
  }
  FileDialogRequest request = BuildRequest(*ofn, save);
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    FileDialogAnswer answer = Presenter()(request);
    if (!answer.accepted || answer.files.empty()) return FALSE;
    std::vector<std::string> files;
    for (const std::string& chosen : answer.files)
      if (!chosen.empty()) files.push_back(NormalizeChoice(chosen, request));
    if (files.empty()) return FALSE;
    if (!(ofn->Flags & OFN_ALLOWMULTISELECT)) files.resize(1);
    for (const std::string& file : files) {
      // One answer names one folder; a list spread over folders cannot be written back.
      if (DirectoryOf(file) != DirectoryOf(files.front())) {
        SetCommDlgError(FNERR_INVALIDFILENAME);
        return FALSE;
      }
    }
    if (answer.filterIndex > 0) request.filterIndex = answer.filterIndex;
    if (!AcceptChoice(files, request)) {
      request.initialDirectory = DirectoryOf(files.front());
      request.initialName = NameOf(files.front());
      continue;
    }
    if (!WriteChoice(*ofn, files, request)) {
      SetCommDlgError(FNERR_BUFFERTOOSMALL);
      return FALSE;
    }
    ofn->nFilterIndex = static_cast<DWORD>(request.filterIndex);
    if (!(ofn->Flags & OFN_NOCHANGEDIR)) SetCurrentDirectory(DirectoryOf(files.front()).c_str());
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void SetCommDlgError(DWORD code) { LastError() = code; }
DWORD CommDlgExtendedError() { return LastError(); }

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter) {
  FileDialogPresenter previous = Presenter();
  Presenter() = presenter ? std::move(presenter) : FileDialogPresenter(PresentQtFileDialog);
  return previous;
}

BOOL GetOpenFileName(LPOPENFILENAME ofn) { return RunFileDialog(ofn, false); }
BOOL GetSaveFileName(LPOPENFILENAME ofn) { return RunFileDialog(ofn, true); }
