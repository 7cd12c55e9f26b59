/*
** WinHelp over the desktop's browser.
*/
#include "platform/user/win_help.h"

#include "platform/kernel/modules.h"
#include "platform/kernel/message_paths.h"
#include "platform/kernel/paths.h"
#include "platform/user/message_box.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <cctype>
#include <string>

namespace {

bool OpenWithDesktop(const std::string& hostPath, const std::string& topic) {
  QUrl page = QUrl::fromLocalFile(QString::fromStdString(hostPath));
  if (!topic.empty()) page.setFragment(QString::fromStdString(topic));
  return QDesktopServices::openUrl(page);
}

/* "zarne.hlp" is shown as the page "zarne.html". */
std::string PageNameOf(std::string name) {
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && name.find_first_of("\\/", dot) == std::string::npos) {
    std::string extension = name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".hlp") name.replace(dot, std::string::npos, ".html");
  }
  return name;
}

HelpFileOpener& Opener() {
  static HelpFileOpener opener = OpenWithDesktop;
  return opener;
}

/* "zarne.hlp>main" names the file zarne.hlp and a window of the old viewer. */
std::string FileNamePart(LPCSTR helpFile) {
  std::string name = helpFile;
  size_t window = name.find('>');
  if (window != std::string::npos) name.erase(window);
  return name;
}

/* A bare file name is looked for beside the program. */
std::string WindowsPathOfHelpFile(const std::string& name) {
  bool hasDirectory = name.find_first_of("\\/:") != std::string::npos;
  if (hasDirectory) return name;
  char program[MAX_PATH] = "";
  GetModuleFileName(nullptr, program, sizeof program);
  std::string directory = program;
  size_t slash = directory.find_last_of('\\');
  directory = slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
  return directory + name;
}

/* The page's anchor of a keyword: lower case, each run of other characters than letters and
   digits one "-" ("The Column Configuration Dialog" -> "the-column-configuration-dialog"). */
std::string KeywordFragment(const char* keyword) {
  std::string fragment;
  bool pendingDash = false;
  for (const char* p = keyword ? keyword : ""; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80 && std::isalnum(c)) {
      if (pendingDash && !fragment.empty()) fragment += '-';
      pendingDash = false;
      fragment += static_cast<char>(std::tolower(c));
    } else {
      pendingDash = true;
    }
  }
  return fragment;
}

BOOL Refuse(HWND owner, const std::string& text) {
  MessageBox(owner, text.c_str(), "Help", MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

}  // namespace

HelpFileOpener SetHelpFileOpener(HelpFileOpener opener) {
  HelpFileOpener previous = Opener();
  Opener() = opener ? std::move(opener) : HelpFileOpener(OpenWithDesktop);
  return previous;
}

BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data) {
  if (command == HELP_QUIT) return TRUE;
  if (!helpFile || !*helpFile) return Refuse(owner, "No help file was named.");
  std::string name = PageNameOf(FileNamePart(helpFile));
  std::string windowsPath = WindowsPathOfHelpFile(name);
  std::string hostPath = HostPathFromWindowsPath(windowsPath.c_str());
  QFileInfo info(QString::fromStdString(hostPath));
  if (hostPath.empty() || !info.isFile())
    return Refuse(owner, "Cannot find the help page " + PathForMessages(windowsPath.c_str()) + ".");
  std::string topic = command == HELP_CONTEXT ? std::to_string(static_cast<unsigned long>(data))
                      : command == HELP_KEY   ? KeywordFragment(reinterpret_cast<const char*>(data))
                                              : std::string();
  if (!Opener()(hostPath, topic))
    return Refuse(owner, "No program is available to show the help page " +
                             PathForMessages(windowsPath.c_str()) + ".");
  return TRUE;
}
