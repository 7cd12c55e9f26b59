/*
** Times DDE round trips against the main program's server: zarne32's application runs in a
** child process on a temporary root with one closing file open, and this program, as its
** client, requests a money field and a text field and pokes a text field and a money field
** (which recalculates the statement's totals). The same client loop then runs against a
** bare server of the platform in a second child, which answers from one stored text, and
** each figure is printed with its ratio to that baseline.
**   ddeserver_bench [count]
*/
#include "filenumber/file_windows.h"
#include "platform/dde/ddeml.h"
#include "platform/testing/gui_test.h"
#include "platform/user/message_queue.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

DWORD instance = 0;
std::string bareValue = "1,234.56";

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  TApplication::DeleteCondemned();
}

void Ready(int fd) {
  char byte = 1;
  if (write(fd, &byte, 1) != 1) _exit(1);
}

/* zarne32's application with file BENCH1 open, serving until it is ended. */
int RunZarne(int ready) {
  EnsureTestApplication();
  ZarneApp app;
  app.InitInstance();
  Pump();
  if (!app.StartedUp()) return 1;
  auto* frame = static_cast<TFrameWindow*>(app.GetMainWindow());
  OpenFileWindow(static_cast<ZarneMDIClient*>(frame->GetClientWindow()), "BENCH1");
  Pump();
  Ready(ready);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Pump();
  }
}

HDDEDATA CALLBACK ServeBare(UINT type, UINT, HCONV, HSZ, HSZ item, HDDEDATA data, ULONG_PTR,
                            ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT: return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_REQUEST:
      return DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(bareValue.data()),
                                 static_cast<DWORD>(bareValue.size() + 1), 0, item, CF_TEXT, 0);
    case XTYP_POKE: {
      char text[256] = "";
      DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
      bareValue = text;
      return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    default: return nullptr;
  }
}

/* The platform's server alone, under the same service and topic. */
int RunBare(int argc, char** argv, int ready) {
  QCoreApplication app(argc, argv);
  DdeInitialize(&instance, ServeBare, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0);
  HSZ service = DdeCreateStringHandle(instance, "Zarne", CP_WINANSI);
  if (!DdeNameService(instance, service, nullptr, DNS_REGISTER)) return 1;
  Ready(ready);
  return app.exec();
}

pid_t StartServer(int (*run)(int, char**, int), int argc, char** argv) {
  int ready[2];
  if (pipe(ready) != 0) std::exit(1);
  pid_t child = fork();
  if (child == 0) _exit(run(argc, argv, ready[1]));
  char byte = 0;
  if (read(ready[0], &byte, 1) != 1) {
    std::fprintf(stderr, "the server did not start\n");
    std::exit(1);
  }
  close(ready[0]);
  close(ready[1]);
  return child;
}

void StopServer(pid_t child) {
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

/* Nanoseconds per round trip of each of the four loops. */
struct Figures {
  double requestMoney = 0, requestText = 0, pokeText = 0, pokeMoney = 0;
  int failures = 0;
};

double Time(int count, const std::function<bool()>& roundTrip, int* failures) {
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < count; ++i) *failures += !roundTrip();
  return static_cast<double>(timer.nsecsElapsed()) / count;
}

Figures Measure(int count) {
  Figures figures;
  HSZ service = DdeCreateStringHandle(instance, "Zarne", CP_WINANSI);
  HSZ topic = DdeCreateStringHandle(instance, "Current", CP_WINANSI);
  HSZ money = DdeCreateStringHandle(instance, "A101", CP_WINANSI);
  HSZ text = DdeCreateStringHandle(instance, "B1SUFFIX", CP_WINANSI);
  HCONV conversation = DdeConnect(instance, service, topic, nullptr);
  if (!conversation) {
    std::fprintf(stderr, "no conversation (error 0x%04X)\n", DdeGetLastError(instance));
    std::exit(1);
  }
  auto request = [&](HSZ item) {
    HDDEDATA data =
        DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST, 5000, nullptr);
    if (data) DdeFreeDataHandle(data);
    return data != nullptr;
  };
  auto poke = [&](HSZ item, const char* value) {
    std::string bytes = value;
    return DdeClientTransaction(reinterpret_cast<LPBYTE>(bytes.data()),
                                static_cast<DWORD>(bytes.size() + 1), conversation, item, CF_TEXT,
                                XTYP_POKE, 5000, nullptr) != nullptr;
  };
  poke(money, "1,234.56");
  poke(text, "Jane Q. Buyer");
  int warmFailures = 0;  // the server's first answers (caches, the first paint) are not timed
  Time(
      count / 10 + 1, [&] { return request(money) && request(text); }, &warmFailures);
  figures.requestMoney = Time(
      count, [&] { return request(money); }, &figures.failures);
  figures.requestText = Time(
      count, [&] { return request(text); }, &figures.failures);
  figures.pokeText = Time(
      count, [&] { return poke(text, "John Smith"); }, &figures.failures);
  figures.pokeMoney = Time(
      count, [&] { return poke(money, "2,345.675"); }, &figures.failures);
  DdeDisconnect(conversation);
  for (HSZ name : {service, topic, money, text}) DdeFreeStringHandle(instance, name);
  return figures;
}

constexpr int kRounds = 5;

/* The best of each figure over the rounds; failures add up. */
void Keep(Figures* best, const Figures& round, int index) {
  auto keep = [&](double* into, double value) {
    *into = index == 0 ? value : std::min(*into, value);
  };
  keep(&best->requestMoney, round.requestMoney);
  keep(&best->requestText, round.requestText);
  keep(&best->pokeText, round.pokeText);
  keep(&best->pokeMoney, round.pokeMoney);
  best->failures += round.failures;
}

HDDEDATA CALLBACK Listen(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

void Report(const char* what, double zarne, double bare) {
  std::printf("%-36s %9.1f us %9.1f us  ratio %6.2f\n", what, zarne / 1e3, bare / 1e3,
              zarne / bare);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  if (count <= 0) count = 5000;
  char runtime[] = "/tmp/zarne-ddeserver-bench-XXXXXX";
  setenv("XDG_RUNTIME_DIR", mkdtemp(runtime), 1);
  // Each server over a root of its own, so each has its own corner of the runtime directory;
  // both start before this process touches Qt or DDE, which a fork must not copy.
  std::string zarneRoot = std::string(runtime) + "/root", bareRoot = std::string(runtime) + "/bare";
  std::filesystem::create_directories(zarneRoot);
  std::filesystem::create_directories(bareRoot);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("ZARNE_ROOT", zarneRoot.c_str(), 1);
  pid_t zarne = StartServer([](int, char**, int ready) { return RunZarne(ready); }, argc, argv);
  setenv("ZARNE_ROOT", bareRoot.c_str(), 1);
  pid_t bare = StartServer(RunBare, argc, argv);

  QCoreApplication app(argc, argv);
  DdeInitialize(&instance, Listen, APPCMD_CLIENTONLY, 0);
  // Rounds alternate between the two servers, and each figure is its best round, so a
  // moment of load on a shared machine weighs on neither side alone.
  Figures served, baseline;
  for (int round = 0; round < kRounds; ++round) {
    setenv("ZARNE_ROOT", zarneRoot.c_str(), 1);
    Keep(&served, Measure(count / kRounds), round);
    setenv("ZARNE_ROOT", bareRoot.c_str(), 1);
    Keep(&baseline, Measure(count / kRounds), round);
  }
  StopServer(zarne);
  StopServer(bare);
  DdeUninitialize(instance);
  std::filesystem::remove_all(runtime);

  std::printf(
      "%d round trips each in %d alternating rounds (best round shown); %d refused by "
      "zarne32, %d by the bare server\n",
      count, kRounds, served.failures, baseline.failures);
  std::printf("%-36s %12s %12s\n", "", "zarne32", "bare server");
  Report("request money field (A101)", served.requestMoney, baseline.requestMoney);
  Report("request text field (B1SUFFIX)", served.requestText, baseline.requestText);
  Report("poke text field (B1SUFFIX)", served.pokeText, baseline.pokeText);
  Report("poke money field + recalculation", served.pokeMoney, baseline.pokeMoney);
  return served.failures || baseline.failures ? 1 : 0;
}
