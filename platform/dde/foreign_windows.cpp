/*
** Publication and lookup of top-level windows across programs.
**
** In the runtime directory each publishing program keeps "windows.<pid>.lock" (locked
** with an open-file-description lock for its whole life), "windows.<pid>" (one line per
** window: serial, class, title and state flags "v", "M", "m" or "-", tab-separated, with '\', tab and line breaks escaped)
** and the request socket "windows.<pid>.sock", where a request is one line: "A <serial>"
** or "S <serial> <command>".
*/
#include "platform/dde/foreign_windows.h"

#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_state.h"
#include "platform/kernel/atomic_file.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uint64_t kForeignMark = 1ull << 62;
constexpr size_t kMaxRequestLine = 64;
constexpr int kRequestReadMs = 200;
constexpr size_t kMaxTitle = 4096;
constexpr int kMaxShowCommand = 11;  // SW_HIDE (0) to SW_FORCEMINIMIZE (11)

struct Published {
  HWND local;
  uint32_t serial;
  std::string className;
  std::string title;
  ForeignWindowState state;
};

std::string StateFlags(const ForeignWindowState& state) {
  std::string flags;
  if (state.visible) flags += 'v';
  if (state.maximized) flags += 'M';
  if (state.minimized) flags += 'm';
  return flags.empty() ? "-" : flags;
}

ForeignWindowState ParseStateFlags(const std::string& flags) {
  ForeignWindowState state;
  state.visible = flags.find('v') != std::string::npos;
  state.maximized = flags.find('M') != std::string::npos;
  state.minimized = flags.find('m') != std::string::npos;
  return state;
}

struct Publisher {
  std::string dir;
  int lockFd = -1;
  int listenFd = -1;
  std::unique_ptr<QSocketNotifier> notifier;
  std::vector<Published> windows;
  uint32_t nextSerial = 1;
  std::function<void(HWND, int)> handler;
  int holds = 0;
  bool unwritten = false;  // the list changed under a hold

  std::string Path(const char* suffix) const {
    return dir + "/windows." + std::to_string(getpid()) + suffix;
  }
  ~Publisher() {
    // A clean exit takes its files along; a crash leaves them to the next reader.
    if (lockFd < 0) return;
    for (const char* suffix : {"", ".sock", ".lock"}) unlink(Path(suffix).c_str());
  }
};

Publisher& publisher() {
  static Publisher instance;
  return instance;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

HWND ForeignHandle(pid_t pid, uint32_t serial) {
  return reinterpret_cast<HWND>(kForeignMark | (static_cast<uint64_t>(pid) << 32) | serial);
}

bool SplitHandle(HWND hwnd, pid_t* pid, uint32_t* serial) {
  auto value = reinterpret_cast<uint64_t>(hwnd);
  if ((value & (3ull << 62)) != kForeignMark) return false;
  *pid = static_cast<pid_t>((value >> 32) & 0x3FFFFFFF);
  *serial = static_cast<uint32_t>(value);
  return *pid > 0;
}

void WriteListNow(Publisher& p) {
  p.unwritten = false;
  std::string text;
  for (const Published& w : p.windows)
    text += std::to_string(w.serial) + "\t" + Escape(w.className) + "\t" + Escape(w.title) + "\t" +
            StateFlags(w.state) + "\n";
  std::string temporary = p.Path(".tmp");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) return;
  }
  // Readers see the old list or the new one, never half of one.
  std::rename(temporary.c_str(), p.Path("").c_str());
}

void WriteList(Publisher& p) {
  if (p.holds > 0) p.unwritten = true;
  else WriteListNow(p);
}

void HandleRequest(int fd) {
  std::string line;
  while (line.find('\n') == std::string::npos && line.size() < kMaxRequestLine) {
    if (!dde::WaitReadable(fd, kRequestReadMs)) break;
    if (dde::ReadAvailable(fd, line, kMaxRequestLine) != dde::ReadResult::Data) break;
  }
  dde::CloseSocket(fd);
  size_t end = line.find('\n');
  if (end == std::string::npos) return;
  std::istringstream words(line.substr(0, end));
  std::string kind;
  uint32_t serial = 0;
  int command = kForeignActivate;
  if (!(words >> kind >> serial) || (kind != "A" && kind != "S")) return;
  if (kind == "S" && !(words >> command)) return;
  if (kind == "S" && (command < 0 || command > kMaxShowCommand)) return;
  Publisher& p = publisher();
  for (const Published& w : p.windows) {
    if (w.serial != serial) continue;
    if (p.handler) p.handler(w.local, command);
    return;
  }
}

void AcceptRequests() {
  Publisher& p = publisher();
  if (dde::HoldWhileInCallback(p.notifier.get())) return;
  for (int fd = dde::AcceptFrom(p.listenFd); fd >= 0; fd = dde::AcceptFrom(p.listenFd))
    HandleRequest(fd);
}

/* Takes this program's place in the directory: the lock first (made under a temporary
   name and locked before it gets its own, so no reader ever sees it unlocked), then the
   request socket. */
bool StartPublishing(Publisher& p) {
  if (p.lockFd >= 0) return true;
  p.dir = dde::RuntimeDirectory();
  if (p.dir.empty()) return false;
  std::string making = p.Path(".making");
  int fd = open(making.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (fcntl(fd, F_OFD_SETLK, &lock) != 0 || rename(making.c_str(), p.Path(".lock").c_str()) != 0) {
    close(fd);
    unlink(making.c_str());
    return false;
  }
  p.lockFd = fd;
  p.listenFd = dde::ListenAt(p.Path(".sock"));
  if (p.listenFd >= 0 && QCoreApplication::instance()) {
    p.notifier = std::make_unique<QSocketNotifier>(p.listenFd, QSocketNotifier::Read);
    QObject::connect(p.notifier.get(), &QSocketNotifier::activated, [] { AcceptRequests(); });
  }
  return true;
}

/* True when the program that made this lock file still holds its lock. */
bool LockHeld(const std::string& lockPath) {
  int fd = open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  bool held = fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  close(fd);
  return held;
}

/* Reads the windows of a list file, or only the one of that serial (0: all). */
std::vector<ForeignWindow> ReadList(const std::string& path, pid_t pid, uint32_t only = 0) {
  std::vector<ForeignWindow> windows;
  // Read for every question about a window: plain reads, not a stream's set-up.
  const std::string bytes = ReadWholeFile(path).value_or(std::string());
  for (size_t start = 0; start < bytes.size();) {
    const size_t newline = bytes.find('\n', start);
    const size_t lineEnd = newline == std::string::npos ? bytes.size() : newline;
    const std::string line = bytes.substr(start, lineEnd - start);
    start = lineEnd + 1;
    size_t first = line.find('\t'), second = line.find('\t', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    char* end = nullptr;
    unsigned long serial = std::strtoul(line.c_str(), &end, 10);
    if (end != line.c_str() + first || serial == 0 || serial > 0xFFFFFFFFul) continue;
    if (only && serial != only) continue;
    ForeignWindow window;
    window.hwnd = ForeignHandle(pid, static_cast<uint32_t>(serial));
    window.className = Unescape(line.substr(first + 1, second - first - 1));
    // An escaped title holds no tab, so a third tab starts the state flags.
    size_t third = line.find('\t', second + 1);
    size_t titleLength = third == std::string::npos ? std::string::npos : third - second - 1;
    window.title = Unescape(line.substr(second + 1, titleLength)).substr(0, kMaxTitle);
    if (third != std::string::npos) window.state = ParseStateFlags(line.substr(third + 1));
    windows.push_back(std::move(window));
    if (only)
      break;  // the first line of a serial is its window, as a search of the whole list finds
  }
  return windows;
}

/* The pid of a "windows.<pid>.lock" name, or 0. */
pid_t LockFilePid(const char* name) {
  int pid = 0, consumed = 0;
  if (std::sscanf(name, "windows.%d.lock%n", &pid, &consumed) != 1) return 0;
  return name[consumed] == '\0' && pid > 0 ? pid : 0;
}

std::vector<ForeignWindow> ListAll() {
  std::vector<ForeignWindow> all;
  std::string dir = dde::RuntimeDirectory();
  if (dir.empty()) return all;
  DIR* listing = opendir(dir.c_str());
  if (!listing) return all;
  while (dirent* entry = readdir(listing)) {
    pid_t pid = LockFilePid(entry->d_name);
    if (pid == 0 || pid == getpid()) continue;
    std::string base = dir + "/windows." + std::to_string(pid);
    if (!LockHeld(base + ".lock")) {
      for (const char* suffix : {"", ".sock", ".tmp", ".lock"}) unlink((base + suffix).c_str());
      continue;
    }
    for (ForeignWindow& window : ReadList(base, pid)) all.push_back(std::move(window));
  }
  closedir(listing);
  return all;
}

}  // namespace

void PublishTopLevelWindow(HWND local, const std::string& className, const std::string& title,
                           ForeignWindowState state) {
  Publisher& p = publisher();
  if (!StartPublishing(p)) return;
  for (Published& w : p.windows) {
    if (w.local != local) continue;
    if (w.className == className && w.title == title && w.state == state) return;
    w.className = className;
    w.title = title;
    w.state = state;
    return WriteList(p);
  }
  p.windows.push_back(Published{local, p.nextSerial++, className, title, state});
  WriteList(p);
}

void UnpublishTopLevelWindow(HWND local) {
  Publisher& p = publisher();
  auto removed = std::erase_if(p.windows, [local](const Published& w) { return w.local == local; });
  if (removed) WriteList(p);
}

void HoldWindowListWrites() { ++publisher().holds; }

void ReleaseWindowListWrites() {
  Publisher& p = publisher();
  if (p.holds > 0 && --p.holds == 0) FlushWindowList();
}

void FlushWindowList() {
  Publisher& p = publisher();
  if (p.unwritten && p.lockFd >= 0) WriteListNow(p);
}

void SetForeignWindowRequestHandler(std::function<void(HWND, int)> handler) {
  publisher().handler = std::move(handler);
}

std::vector<ForeignWindow> ListForeignWindows() { return ListAll(); }

bool IsForeignWindow(HWND hwnd) {
  pid_t pid;
  uint32_t serial;
  return SplitHandle(hwnd, &pid, &serial);
}

bool FindForeignWindow(HWND hwnd, ForeignWindow* found) {
  pid_t pid;
  uint32_t serial;
  if (!SplitHandle(hwnd, &pid, &serial) || pid == getpid() || serial == 0) return false;
  // Each question about one window (its title, its state) comes here: the owner's list is
  // opened directly and read up to that window's line, not every program's list whole.
  std::string dir = dde::RuntimeDirectory();
  if (dir.empty()) return false;
  std::string base = dir + "/windows." + std::to_string(pid);
  if (!LockHeld(base + ".lock")) return false;  // a listing clears what the program left
  std::vector<ForeignWindow> window = ReadList(base, pid, serial);
  if (window.empty()) return false;
  if (found) *found = std::move(window.front());
  return true;
}

bool AskForeignWindow(HWND hwnd, int command) {
  pid_t pid;
  uint32_t serial;
  if (!FindForeignWindow(hwnd, nullptr) || !SplitHandle(hwnd, &pid, &serial)) return false;
  int fd = dde::ConnectTo(dde::RuntimeDirectory() + "/windows." + std::to_string(pid) + ".sock");
  if (fd < 0) return false;
  std::string line = command == kForeignActivate
                         ? "A " + std::to_string(serial) + "\n"
                         : "S " + std::to_string(serial) + " " + std::to_string(command) + "\n";
  bool sent = dde::WriteAll(fd, line, dde::kConnectTimeoutMs);
  dde::CloseSocket(fd);
  return sent;
}
