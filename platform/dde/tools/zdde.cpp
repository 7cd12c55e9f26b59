/*
** zdde: a command-line DDE client, so that scripts and other programs can read and change
** the open file's fields of a running program.
**
**   zdde request SERVICE TOPIC ITEM          prints the item's text
**   zdde poke SERVICE TOPIC ITEM VALUE       sets the item
**   zdde execute SERVICE TOPIC COMMAND       runs a command
**   zdde advise SERVICE TOPIC ITEM           prints the item each time it changes, until
**                                            interrupted
**
** Arguments and output are in the terminal's UTF-8; the conversation carries Windows-1252
** text. Exit status: 0 done, 1 refused or no such server, 2 wrong usage.
*/
#include "platform/dde/ddeml.h"
#include "platform/kernel/text.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr DWORD kTimeoutMs = 10000;
// Owner: platform/dde (the zdde program).
int gInterruptPipe[2] = {-1, -1};
DWORD gDdeInstance = 0;

HDDEDATA CALLBACK OnTransaction(UINT type, UINT format, HCONV, HSZ, HSZ item, HDDEDATA data,
                                ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_ADVDATA) {
    DWORD size = 0;
    LPBYTE bytes = data ? DdeAccessData(data, &size) : nullptr;
    std::string text = bytes ? std::string(reinterpret_cast<char*>(bytes), size) : std::string();
    text = text.substr(0, text.find('\0'));
    std::printf("%s\n", Cp1252ToUtf8(text).c_str());
    std::fflush(stdout);
    return reinterpret_cast<HDDEDATA>(DDE_FACK);
  }
  if (type == XTYP_DISCONNECT) {
    std::fprintf(stderr, "zdde: the server ended the conversation\n");
    QCoreApplication::exit(1);
  }
  return nullptr;
}

void OnInterrupt(int) {
  char byte = 1;
  [[maybe_unused]] ssize_t written = write(gInterruptPipe[1], &byte, 1);
}

int Usage() {
  std::fprintf(stderr,
               "usage: zdde request SERVICE TOPIC ITEM\n"
               "       zdde poke SERVICE TOPIC ITEM VALUE\n"
               "       zdde execute SERVICE TOPIC COMMAND\n"
               "       zdde advise SERVICE TOPIC ITEM\n");
  return 2;
}

int Refused(const char* what) {
  std::fprintf(stderr, "zdde: %s refused (error 0x%04X)\n", what, DdeGetLastError(gDdeInstance));
  return 1;
}

/* A string handle for a command-line argument. */
HSZ Name(const char* argument) {
  std::string text = Utf8ToCp1252(argument);
  return DdeCreateStringHandle(gDdeInstance, text.c_str(), CP_WINANSI);
}

int Request(HCONV conversation, HSZ item) {
  HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST,
                                       kTimeoutMs, nullptr);
  if (!data) return Refused("request");
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  DdeFreeDataHandle(data);
  text = text.substr(0, text.find('\0'));
  std::printf("%s\n", Cp1252ToUtf8(text).c_str());
  return 0;
}

/* Poke and execute send the text with its terminating zero, as Windows clients do. */
int SendText(HCONV conversation, HSZ item, UINT type, const char* argument, const char* what) {
  std::string text = Utf8ToCp1252(argument);
  DWORD status = 0;
  HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()),
                                       static_cast<DWORD>(text.size() + 1), conversation, item,
                                       CF_TEXT, type, kTimeoutMs, &status);
  return done ? 0 : Refused(what);
}

int Advise(HCONV conversation, HSZ item) {
  if (pipe2(gInterruptPipe, O_CLOEXEC) != 0) return 1;
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  QSocketNotifier interrupted(gInterruptPipe[0], QSocketNotifier::Read);
  QObject::connect(&interrupted, &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
  if (!DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_ADVSTART, kTimeoutMs,
                            nullptr))
    return Refused("advise");
  // Standard output carries only the item's texts, for whoever reads them.
  std::fprintf(stderr, "zdde: watching; interrupt to stop\n");
  int status = QCoreApplication::exec();
  if (status == 0)
    DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_ADVSTOP, kTimeoutMs,
                         nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& verb = args[0];
  size_t wanted = verb == "poke"                                                 ? 5
                  : (verb == "request" || verb == "execute" || verb == "advise") ? 4
                                                                                 : 0;
  if (wanted == 0 || args.size() != wanted) return Usage();

  if (DdeInitialize(&gDdeInstance, OnTransaction, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    std::fprintf(stderr, "zdde: the DDE library did not start\n");
    return 1;
  }
  HSZ service = Name(argv[2]), topic = Name(argv[3]);
  HSZ item = verb == "execute" ? nullptr : Name(argv[4]);
  HCONV conversation =
      service && topic ? DdeConnect(gDdeInstance, service, topic, nullptr) : nullptr;
  int status;
  if (!conversation) {
    std::fprintf(stderr, "zdde: no server answers for %s|%s\n", argv[2], argv[3]);
    status = 1;
  } else if (verb == "request") {
    status = Request(conversation, item);
  } else if (verb == "poke") {
    status = SendText(conversation, item, XTYP_POKE, argv[5], "poke");
  } else if (verb == "execute") {
    status = SendText(conversation, nullptr, XTYP_EXECUTE, argv[4], "execute");
  } else {
    status = Advise(conversation, item);
  }
  if (conversation) DdeDisconnect(conversation);
  for (HSZ name : {service, topic, item})
    if (name) DdeFreeStringHandle(gDdeInstance, name);
  DdeUninitialize(gDdeInstance);
  return status;
}
