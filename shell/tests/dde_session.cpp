/*
** A DDE client for the shell tests that keeps one conversation over several steps, as a
** word processor does (zdde opens a conversation per command, and the title text lives only
** as long as its conversation).
**   shell_dde_session SERVICE TOPIC STEP...
**     r:ITEM              request; prints "ITEM=<text>" or "ITEM refused"
**     p:ITEM=VALUE        poke; prints "poke ok" or "poke refused"
**     x:COMMAND           execute; prints "execute ok" or "execute refused"
**     loop:N:ITEM:VALUE   N requests of ITEM each followed by a poke of VALUE into it;
**                         prints "loop <failures>"
**   shell_dde_session wild
**     wild connect; prints "pair SERVICE|TOPIC" for each conversation the list opened
** Texts are printed as their bytes. Exit status: 0 done, 1 no conversation, 2 wrong usage.
*/
#include "platform/dde/ddeml.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 10000;
DWORD instance = 0;

HDDEDATA CALLBACK OnTransaction(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

HSZ Name(const std::string& text) {
  return DdeCreateStringHandle(instance, text.c_str(), CP_WINANSI);
}

bool Request(HCONV conversation, const std::string& itemName, std::string* text) {
  HSZ item = Name(itemName);
  HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST,
                                       kTimeoutMs, nullptr);
  DdeFreeStringHandle(instance, item);
  if (!data) return false;
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  text->assign(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(text->data()), size, 0);
  DdeFreeDataHandle(data);
  *text = text->substr(0, text->find('\0'));
  return true;
}

bool Send(HCONV conversation, const std::string& itemName, UINT type, std::string value) {
  HSZ item = itemName.empty() ? nullptr : Name(itemName);
  HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(value.data()),
                                       static_cast<DWORD>(value.size() + 1), conversation, item,
                                       CF_TEXT, type, kTimeoutMs, nullptr);
  if (item) DdeFreeStringHandle(instance, item);
  return done != nullptr;
}

void Loop(HCONV conversation, const std::string& spec) {
  size_t first = spec.find(':'), second = spec.find(':', first + 1);
  long count = std::atol(spec.substr(0, first).c_str());
  std::string item = spec.substr(first + 1, second - first - 1), value = spec.substr(second + 1);
  long failures = 0;
  for (long i = 0; i < count; ++i) {
    std::string text;
    failures += !Request(conversation, item, &text);
    failures += !Send(conversation, item, XTYP_POKE, value);
  }
  std::printf("loop %ld\n", failures);
}

void Step(HCONV conversation, const std::string& step) {
  std::string what = step.substr(2);
  if (step.rfind("r:", 0) == 0) {
    std::string text;
    if (Request(conversation, what, &text)) std::printf("%s=%s\n", what.c_str(), text.c_str());
    else std::printf("%s refused\n", what.c_str());
  } else if (step.rfind("p:", 0) == 0) {
    size_t equals = what.find('=');
    bool ok = Send(conversation, what.substr(0, equals), XTYP_POKE, what.substr(equals + 1));
    std::printf("poke %s\n", ok ? "ok" : "refused");
  } else if (step.rfind("x:", 0) == 0) {
    std::printf("execute %s\n", Send(conversation, "", XTYP_EXECUTE, what) ? "ok" : "refused");
  } else if (step.rfind("loop:", 0) == 0) {
    Loop(conversation, step.substr(5));
  }
  std::fflush(stdout);
}

int Wild() {
  HCONVLIST list = DdeConnectList(instance, nullptr, nullptr, nullptr, nullptr);
  for (HCONV c = DdeQueryNextServer(list, nullptr); c; c = DdeQueryNextServer(list, c)) {
    CONVINFO info{};
    info.cb = sizeof info;
    DdeQueryConvInfo(c, QID_SYNC, &info);
    char service[256] = "", topic[256] = "";
    DdeQueryString(instance, info.hszSvcPartner, service, sizeof service, CP_WINANSI);
    DdeQueryString(instance, info.hszTopic, topic, sizeof topic, CP_WINANSI);
    std::printf("pair %s|%s\n", service, topic);
  }
  if (list) DdeDisconnectList(list);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  if (DdeInitialize(&instance, OnTransaction, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 1;
  int status = 0;
  if (std::string(argv[1]) == "wild") {
    status = Wild();
  } else if (argc < 3) {
    status = 2;
  } else {
    HSZ service = Name(argv[1]), topic = Name(argv[2]);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    if (!conversation) {
      std::printf("no conversation\n");
      status = 1;
    }
    for (int i = 3; conversation && i < argc; ++i) Step(conversation, argv[i]);
    if (conversation) DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
  }
  DdeUninitialize(instance);
  return status;
}
