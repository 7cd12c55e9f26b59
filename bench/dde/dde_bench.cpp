/*
** Times DDE conversations between two processes: this program forks a server (service
** "ZarneBench", topic "Current", one item) and, as its client, measures request, poke and
** execute round trips and the delay from a poke to the advise data it causes. The baseline,
** measured in the same run, is a bare round trip of 64 bytes each way between two processes
** over a Unix socket pair, the least any transport between programs costs; each figure is
** printed with its ratio to it (connect and disconnect against two round trips).
**   dde_bench [count]
*/
#include "platform/dde/ddeml.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DWORD instance = 0;
HSZ topic = nullptr;
std::string value = "Jane Q. Buyer";
int advisesHeard = 0;

HDDEDATA CALLBACK Serve(UINT type, UINT, HCONV, HSZ, HSZ item, HDDEDATA data, ULONG_PTR,
                        ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
    case XTYP_ADVSTART: return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
      return DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(value.data()),
                                 static_cast<DWORD>(value.size() + 1), 0, item, CF_TEXT, 0);
    case XTYP_POKE: {
      char text[256] = "";
      DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
      value = text;
      DdePostAdvise(instance, topic, item);
      return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    case XTYP_EXECUTE: return reinterpret_cast<HDDEDATA>(DDE_FACK);
    default: return nullptr;
  }
}

HDDEDATA CALLBACK Listen(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_ADVDATA) ++advisesHeard;
  return reinterpret_cast<HDDEDATA>(type == XTYP_ADVDATA ? DDE_FACK : 0);
}

int RunServer(int argc, char** argv, int ready) {
  QCoreApplication app(argc, argv);
  DdeInitialize(&instance, Serve, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0);
  HSZ service = DdeCreateStringHandle(instance, "ZarneBench", CP_WINANSI);
  topic = DdeCreateStringHandle(instance, "Current", CP_WINANSI);
  if (!DdeNameService(instance, service, nullptr, DNS_REGISTER)) return 1;
  char byte = 1;
  if (write(ready, &byte, 1) != 1) return 1;
  return app.exec();
}

double gRoundTripMicroseconds = 0;

/* Microseconds per round trip of 64 bytes with an echoing child over a socket pair. */
double BareRoundTrip(int count) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 0;
  pid_t echo = fork();
  if (echo == 0) {
    close(pair[0]);
    char buffer[64];
    for (;;) {
      ssize_t got = read(pair[1], buffer, sizeof buffer);
      if (got <= 0 || write(pair[1], buffer, static_cast<size_t>(got)) != got) _exit(0);
    }
  }
  close(pair[1]);
  char message[64] = "request Current BuyerName";
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < count; ++i) {
    if (write(pair[0], message, sizeof message) != static_cast<ssize_t>(sizeof message)) break;
    size_t have = 0;
    while (have < sizeof message) {
      ssize_t got = read(pair[0], message + have, sizeof message - have);
      if (got <= 0) break;
      have += static_cast<size_t>(got);
    }
  }
  double each = timer.nsecsElapsed() / 1e3 / count;
  close(pair[0]);
  waitpid(echo, nullptr, 0);
  return each;
}

void Report(const char* what, int count, qint64 nanoseconds, double baselineRoundTrips = 1) {
  double each = nanoseconds / 1e3 / count;
  double baseline = gRoundTripMicroseconds * baselineRoundTrips;
  std::printf("%-28s %7d in %8.1f ms  %7.1f us each   bare socket %6.1f us   ratio %6.2f\n", what,
              count, nanoseconds / 1e6, each, baseline, baseline > 0 ? each / baseline : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (count <= 0) count = 10000;
  char runtime[] = "/tmp/zdde-bench-XXXXXX";
  setenv("XDG_RUNTIME_DIR", mkdtemp(runtime), 1);
  int ready[2];
  if (pipe(ready) != 0) return 1;
  pid_t server = fork();
  if (server == 0) _exit(RunServer(argc, argv, ready[1]));
  char byte;
  if (read(ready[0], &byte, 1) != 1) return 1;

  gRoundTripMicroseconds = BareRoundTrip(count);
  QCoreApplication app(argc, argv);
  DdeInitialize(&instance, Listen, APPCMD_CLIENTONLY, 0);
  HSZ service = DdeCreateStringHandle(instance, "ZarneBench", CP_WINANSI);
  topic = DdeCreateStringHandle(instance, "Current", CP_WINANSI);
  HSZ item = DdeCreateStringHandle(instance, "BuyerName", CP_WINANSI);
  QElapsedTimer timer;
  timer.start();
  HCONV conversation = nullptr;
  for (int i = 0; i < 100; ++i) {
    if (conversation) DdeDisconnect(conversation);
    conversation = DdeConnect(instance, service, topic, nullptr);
  }
  Report("connect and disconnect", 100, timer.nsecsElapsed(), 2);

  timer.restart();
  for (int i = 0; i < count; ++i) {
    HDDEDATA data =
        DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST, 5000, nullptr);
    DdeFreeDataHandle(data);
  }
  Report("request", count, timer.nsecsElapsed());

  char text[] = "John Smith";
  timer.restart();
  for (int i = 0; i < count; ++i)
    DdeClientTransaction(reinterpret_cast<LPBYTE>(text), sizeof text, conversation, item, CF_TEXT,
                         XTYP_POKE, 5000, nullptr);
  Report("poke", count, timer.nsecsElapsed());

  char command[] = "Ping";
  timer.restart();
  for (int i = 0; i < count; ++i)
    DdeClientTransaction(reinterpret_cast<LPBYTE>(command), sizeof command, conversation, nullptr,
                         CF_TEXT, XTYP_EXECUTE, 5000, nullptr);
  Report("execute", count, timer.nsecsElapsed());

  DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_ADVSTART, 5000, nullptr);
  int rounds = count / 10;
  timer.restart();
  for (int i = 0; i < rounds; ++i) {
    int before = advisesHeard;
    DdeClientTransaction(reinterpret_cast<LPBYTE>(text), sizeof text, conversation, item, CF_TEXT,
                         XTYP_POKE, 5000, nullptr);
    while (advisesHeard == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  Report("poke until advise heard", rounds, timer.nsecsElapsed());

  DdeDisconnect(conversation);
  DdeUninitialize(instance);
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  return 0;
}
