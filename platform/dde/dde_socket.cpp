/*
** The runtime directory and Unix-domain socket calls of the conversation transport.
*/
#include "platform/dde/dde_socket.h"

#include "platform/dde/foreign_windows.h"
#include "platform/kernel/paths.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace dde {
namespace {

constexpr char kServicePrefix[] = "dde-";

bool IsPlainNameByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool DecodeServiceName(std::string_view encoded, std::string* service) {
  service->clear();
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      service->push_back(encoded[i]);
      continue;
    }
    if (i + 2 >= encoded.size()) return false;
    int hi = HexValue(encoded[i + 1]), lo = HexValue(encoded[i + 2]);
    if (hi < 0 || lo < 0) return false;
    service->push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

bool ParseServiceSocketName(const std::string& name, ServiceSocket* socket) {
  if (name.rfind(kServicePrefix, 0) != 0) return false;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot <= sizeof(kServicePrefix) - 1) return false;
  char* end = nullptr;
  long pid = std::strtol(name.c_str() + dot + 1, &end, 10);
  if (*end != '\0' || pid <= 0) return false;
  socket->pid = static_cast<pid_t>(pid);
  std::string_view encoded(name.data() + sizeof(kServicePrefix) - 1,
                           dot - (sizeof(kServicePrefix) - 1));
  return DecodeServiceName(encoded, &socket->service);
}

bool FillAddress(const std::string& path, sockaddr_un* address) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool SetNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int NewSocket() { return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

/* A directory of this user that only this user may enter (not a link to one). */
bool IsOwnPrivateDirectory(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & 077) == 0;
}

/* Makes a directory only this user may enter, or accepts one that is; a directory of
   another user, or anything that is not a directory (a link planted there), is refused. */
bool MakePrivateDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
    return false;
  // Our own directory with loose permissions (made by hand, say) is tightened, since only
  // its mode keeps other users' programs from our sockets.
  return (info.st_mode & 077) == 0 || chmod(path.c_str(), 0700) == 0;
}

/* A short name for a data root: 64-bit FNV-1a of its path, in hex. */
std::string RootKey(const std::string& root) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : root) hash = (hash ^ c) * 0x100000001b3ull;
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
  return key;
}

}  // namespace

std::string RuntimeDirectory() {
  std::string root = ZarneRootPath();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const bool underRuntime = runtime && *runtime;
  // Programs over different data roots are different installations (tests use a fresh
  // root each): each root has its own corner of the runtime directory.
  const std::string base = underRuntime ? std::string(runtime) + "/zarne" : root;
  const std::string dir = underRuntime ? base + "/" + RootKey(root) : root + "/runtime";
  if (!underRuntime && root.empty()) return {};
  // Every window question asks for it: once made, one look finds it as it must be.
  if (IsOwnPrivateDirectory(dir)) return dir;
  if (underRuntime ? !MakePrivateDirectory(base) : !MakeDataRoot()) return {};
  return MakePrivateDirectory(dir) ? dir : std::string();
}

std::string ServiceSocketName(std::string_view service, pid_t pid) {
  static const char hex[] = "0123456789ABCDEF";
  std::string name = kServicePrefix;
  for (char c : service) {
    auto byte = static_cast<unsigned char>(c);
    if (IsPlainNameByte(byte)) {
      name.push_back(c);
    } else {
      name.push_back('%');
      name.push_back(hex[byte >> 4]);
      name.push_back(hex[byte & 15]);
    }
  }
  return name + "." + std::to_string(pid);
}

std::vector<ServiceSocket> ListServiceSockets() {
  std::vector<ServiceSocket> found;
  std::string dir = RuntimeDirectory();
  if (dir.empty()) return found;
  DIR* listing = opendir(dir.c_str());
  if (!listing) return found;
  while (dirent* entry = readdir(listing)) {
    ServiceSocket socket;
    if (!ParseServiceSocketName(entry->d_name, &socket)) continue;
    socket.path = dir + "/" + entry->d_name;
    if (!ProcessAlive(socket.pid)) {
      unlink(socket.path.c_str());
      continue;
    }
    found.push_back(std::move(socket));
  }
  closedir(listing);
  return found;
}

int ListenAt(const std::string& path) {
  sockaddr_un address;
  if (!FillAddress(path, &address)) return -1;
  int fd = NewSocket();
  if (fd < 0) return -1;
  unlink(path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      chmod(path.c_str(), 0600) != 0 || listen(fd, 16) != 0) {
    close(fd);
    unlink(path.c_str());
    return -1;
  }
  return fd;
}

int ConnectTo(const std::string& path) {
  sockaddr_un address;
  if (!FillAddress(path, &address)) return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (errno == ECONNREFUSED) unlink(path.c_str());  // its listener has gone
    close(fd);
    return -1;
  }
  if (!SetNonBlocking(fd) || !PeerIsSameUser(fd)) {
    close(fd);
    return -1;
  }
  return fd;
}

int AcceptFrom(int listener) {
  int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return -1;
  if (!PeerIsSameUser(fd)) {
    close(fd);
    return -1;
  }
  return fd;
}

bool PeerIsSameUser(int fd) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
  return credentials.uid == geteuid();
}

bool ProcessAlive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

ReadResult ReadAvailable(int fd, std::string& into, size_t limit) {
  char chunk[65536];
  bool gotAny = false;
  while (into.size() < limit) {
    size_t want = std::min(sizeof chunk, limit - into.size());
    ssize_t n = recv(fd, chunk, want, 0);
    if (n > 0) {
      into.append(chunk, static_cast<size_t>(n));
      gotAny = true;
      continue;
    }
    if (n == 0) return ReadResult::Closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) break;
    return ReadResult::Closed;
  }
  return gotAny ? ReadResult::Data : ReadResult::WouldBlock;
}

bool WriteAvailable(int fd, std::string& pending) {
  // Whoever hears from this program sees its published windows as they are now.
  FlushWindowList();
  while (!pending.empty()) {
    ssize_t n = send(fd, pending.data(), pending.size(), MSG_NOSIGNAL);
    if (n > 0) {
      pending.erase(0, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
  return true;
}

bool WriteAll(int fd, std::string bytes, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (!WriteAvailable(fd, bytes)) return false;
    if (bytes.empty()) return true;
    pollfd entry{fd, POLLOUT, 0};
    int ready = poll(&entry, 1, RemainingMs(deadline));
    if (ready == 0) return false;
    if (ready < 0 && errno != EINTR) return false;
  }
}

bool WaitReadable(int fd, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    pollfd entry{fd, POLLIN, 0};
    int ready = poll(&entry, 1, RemainingMs(deadline));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return false;
  }
}

void CloseSocket(int fd) {
  if (fd >= 0) close(fd);
}

}  // namespace dde
