/*
** A small DDE server for the tests: service (argument 1, default "Zarne"), topic "Current",
** a few text items that can be requested, poked and advised, and execute commands:
** "Ping" (acknowledged), "Slow" (answers after two seconds), "Quit". Each callback it
** receives is written to standard output as one line, after "ready" once it serves.
** The item "LiveHandles" answers how many string and data handles the library holds.
*/
#include "platform/dde/dde_handles.h"
#include "platform/dde/ddeml.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>

namespace {

DWORD instance = 0;
HSZ service = nullptr;
HSZ topic = nullptr;
std::map<std::string, std::string> items = {
    {"BuyerName", "Jane Q. Buyer"}, {"SalesPrice", "250,000.00"}, {"Big", ""}};

void Log(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

std::string Text(HSZ hsz) {
  char buffer[256] = "";
  DdeQueryString(instance, hsz, buffer, sizeof buffer, CP_WINANSI);
  return buffer;
}

std::string DataText(HDDEDATA data) {
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  return text.substr(0, text.find('\0'));
}

HDDEDATA ItemData(HSZ item, UINT format) {
  std::string name = Text(item);
  std::string value;
  if (name == "LiveHandles") {
    value = std::to_string(dde::LiveStringCount()) + " " + std::to_string(dde::LiveDataCount());
  } else {
    auto found = items.find(name);
    if (found == items.end() || format != CF_TEXT) return nullptr;
    value = found->second;
  }
  return DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(value.data()),
                             static_cast<DWORD>(value.size() + 1), 0, item, CF_TEXT, 0);
}

HDDEDATA Execute(HDDEDATA data) {
  std::string command = DataText(data);
  if (command == "Slow") std::this_thread::sleep_for(std::chrono::seconds(2));
  if (command == "Quit") QTimer::singleShot(0, [] { QCoreApplication::quit(); });
  bool known = command == "Ping" || command == "Slow" || command == "Quit";
  return reinterpret_cast<HDDEDATA>(known ? DDE_FACK : 0);
}

HDDEDATA Poke(HSZ item, HDDEDATA data) {
  auto found = items.find(Text(item));
  if (found == items.end()) return nullptr;
  found->second = DataText(data);
  DdePostAdvise(instance, topic, item);
  return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

HDDEDATA CALLBACK OnTransaction(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      Log("connect");
      return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(hsz1, topic) == 0 ? 1 : 0);
    case XTYP_CONNECT_CONFIRM: Log("confirm"); return nullptr;
    case XTYP_WILDCONNECT: {
      Log("wildconnect");
      if ((hsz1 && DdeCmpStringHandles(hsz1, topic) != 0) ||
          (hsz2 && DdeCmpStringHandles(hsz2, service) != 0))
        return nullptr;
      HSZPAIR pairs[2] = {{service, topic}, {nullptr, nullptr}};
      return DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0,
                                 nullptr, format, 0);
    }
    case XTYP_REQUEST: Log("request"); return ItemData(hsz2, format);
    case XTYP_ADVREQ: Log("advreq"); return ItemData(hsz2, format);
    case XTYP_ADVSTART:
      Log("advstart");
      return reinterpret_cast<HDDEDATA>(items.count(Text(hsz2)) ? 1 : 0);
    case XTYP_ADVSTOP: Log("advstop"); return reinterpret_cast<HDDEDATA>(1);
    case XTYP_EXECUTE: Log("execute"); return Execute(data);
    case XTYP_POKE: Log("poke"); return Poke(hsz2, data);
    case XTYP_DISCONNECT: Log("disconnect"); return nullptr;
    case XTYP_ERROR: Log("error"); return nullptr;
    default: return nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const char* name = argc > 1 ? argv[1] : "Zarne";
  if (DdeInitialize(&instance, OnTransaction, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0) !=
      DMLERR_NO_ERROR)
    return 1;
  service = DdeCreateStringHandle(instance, name, CP_WINANSI);
  topic = DdeCreateStringHandle(instance, "Current", CP_WINANSI);
  if (!DdeNameService(instance, service, nullptr, DNS_REGISTER)) return 1;
  Log("ready");
  int status = app.exec();
  DdeNameService(instance, service, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(instance, service);
  DdeFreeStringHandle(instance, topic);
  DdeUninitialize(instance);
  return status;
}
