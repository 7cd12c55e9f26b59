/*
** Where conversations meet, and the socket calls under them.
**
** The runtime directory is $XDG_RUNTIME_DIR/zarne/<key of the data root>, or
** $ZARNE_ROOT/runtime when there is no runtime directory; it is made with mode 0700 and
** refused when another user owns it or it is not a directory.
** A registered service listens on "dde-<service>.<pid>" there (the service name with
** every byte outside letters, digits, '_' and '-' written as %XX). A socket whose listener
** is gone is removed by whoever finds it. Both ends check that the peer runs as the same
** user.
*/
#ifndef ZARNE_PLATFORM_DDE_DDE_SOCKET_H
#define ZARNE_PLATFORM_DDE_DDE_SOCKET_H

#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace dde {

/* The runtime directory, made if missing; empty when it cannot be made or trusted. */
std::string RuntimeDirectory();

std::string ServiceSocketName(std::string_view service, pid_t pid);

struct ServiceSocket {
  std::string path;
  std::string service;
  pid_t pid = 0;
};
/* Every service socket in the runtime directory, sockets of dead processes removed. */
std::vector<ServiceSocket> ListServiceSockets();

/* A non-blocking listening socket at path (a stale one there is replaced), or -1. */
int ListenAt(const std::string& path);
/* A non-blocking socket connected to path, or -1; a socket nobody listens on any more is
   removed. */
int ConnectTo(const std::string& path);
/* A connection accepted from a listening socket, non-blocking; -1 when none waits. */
int AcceptFrom(int listener);

bool PeerIsSameUser(int fd);
bool ProcessAlive(pid_t pid);

enum class ReadResult { Data, WouldBlock, Closed };
/* Appends what can be read without waiting (at most limit bytes in all). */
ReadResult ReadAvailable(int fd, std::string& into, size_t limit);
/* Writes what the socket takes without waiting; answers false when the socket failed. */
bool WriteAvailable(int fd, std::string& pending);
/* Writes everything, waiting at most timeoutMs in all; false on failure or timeout. */
bool WriteAll(int fd, std::string bytes, int timeoutMs);
/* Waits for the socket to become readable; false on timeout. */
bool WaitReadable(int fd, int timeoutMs);
void CloseSocket(int fd);

}  // namespace dde

#endif
