/*
** WinHelp over the desktop's document viewer.
*/
#include "platform/user/win_help.h"

#include "platform/kernel/modules.h"
#include "platform/kernel/paths.h"
#include "platform/user/message_box.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <cctype>
#include <string>

namespace {

bool OpenWithDesktop(const std::string& hostPath) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(hostPath)));
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

/* The system's help files are HTML pages: "X.hlp" is shown as the page "X.html" beside it
   when there is one. */
std::string HtmlPageOf(const std::string& hostPath) {
  size_t dot = hostPath.find_last_of('.');
  if (dot == std::string::npos || hostPath.find('/', dot) != std::string::npos) return {};
  std::string extension = hostPath.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension != ".hlp") return {};
  std::string page = hostPath.substr(0, dot) + ".html";
  return QFileInfo(QString::fromStdString(page)).isFile() ? page : std::string();
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

BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR) {
  if (command == HELP_QUIT) return TRUE;
  if (!helpFile || !*helpFile) return Refuse(owner, "No help file was named.");
  std::string name = FileNamePart(helpFile);
  std::string windowsPath = WindowsPathOfHelpFile(name);
  std::string hostPath = HostPathFromWindowsPath(windowsPath.c_str());
  if (std::string page = HtmlPageOf(hostPath); !page.empty()) hostPath = page;
  QFileInfo info(QString::fromStdString(hostPath));
  if (hostPath.empty() || !info.isFile())
    return Refuse(owner, "Cannot find the help file " + windowsPath + ".");
  if (!Opener()(hostPath))
    return Refuse(owner, "No program is available to show the help file " + windowsPath + ".");
  return TRUE;
}
