/*
** The client side: finding servers by service name, opening conversations (one, or a list
** from a wild connect), synchronous transactions with timeouts, and advise data delivered
** to the client's callback from the event loop.
*/
#include "platform/dde/ddeml.h"

#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_state.h"
#include "platform/dde/dde_wire.h"

#include <QCoreApplication>
#include <QObject>

#include <chrono>
#include <cstring>
#include <strings.h>
#include <unistd.h>

using namespace dde;

namespace {

using Clock = std::chrono::steady_clock;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr int kDisconnectWriteMs = 1000;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

enum class Wait { Got, Timeout, Closed, Malformed };

/* The next whole message from a socket, waiting until deadline. */
Wait NextMessage(int fd, std::string& input, wire::Message* message, Clock::time_point deadline) {
  while (true) {
    wire::Parse parse = wire::TakeMessage(input, message);
    if (parse == wire::Parse::Complete) return Wait::Got;
    if (parse == wire::Parse::Malformed) return Wait::Malformed;
    if (!WaitReadable(fd, RemainingMs(deadline))) return Wait::Timeout;
    if (ReadAvailable(fd, input, wire::kMaxBody + 4) == ReadResult::Closed)
      return wire::TakeMessage(input, message) == wire::Parse::Complete ? Wait::Got : Wait::Closed;
  }
}

/* Servers of other processes, optionally only those of one service. A program does not
   talk to itself: its own synchronous wait would keep it from answering. */
std::vector<ServiceSocket> Candidates(const std::string* service) {
  std::vector<ServiceSocket> found;
  for (ServiceSocket& socket : ListServiceSockets()) {
    if (socket.pid == getpid()) continue;
    if (service && strcasecmp(socket.service.c_str(), service->c_str()) != 0) continue;
    found.push_back(std::move(socket));
  }
  return found;
}

Pairs AskPairs(const std::string& path, const std::string* service, const std::string* topic) {
  int fd = ConnectTo(path);
  if (fd < 0) return {};
  wire::Message query;
  query.kind = wire::Kind::WildQuery;
  query.hasService = service != nullptr;
  query.hasTopic = topic != nullptr;
  if (service) query.service = *service;
  if (topic) query.topic = *topic;
  Pairs pairs;
  std::string input;
  wire::Message reply;
  if (WriteAll(fd, wire::Encode(query), kConnectTimeoutMs) &&
      NextMessage(fd, input, &reply, Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs)) ==
          Wait::Got &&
      reply.kind == wire::Kind::WildReply)
    pairs = std::move(reply.pairs);
  CloseSocket(fd);
  return pairs;
}

void ProcessClientInput(uintptr_t handle);

HCONV OpenConversation(DWORD instance, const std::string& path, const std::string& service,
                       const std::string& topic) {
  int fd = ConnectTo(path);
  if (fd < 0) return nullptr;
  wire::Message request;
  request.kind = wire::Kind::Connect;
  request.hasService = request.hasTopic = true;
  request.service = service;
  request.topic = topic;
  std::string input;
  wire::Message reply;
  if (!WriteAll(fd, wire::Encode(request), kConnectTimeoutMs) ||
      NextMessage(fd, input, &reply, Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs)) !=
          Wait::Got ||
      reply.kind != wire::Kind::ConnectReply || !reply.accepted || reply.service.empty() ||
      reply.topic.empty()) {
    CloseSocket(fd);
    return nullptr;
  }
  Conversation& conversation = AddConversation(instance, false, fd, reply.service, reply.topic);
  conversation.serviceRequested = InternString(service);
  conversation.input = std::move(input);
  WatchClientConversation(conversation);
  uintptr_t handle = conversation.handle;
  // Whatever followed the acceptance in the same read will not wake the notifier.
  if (!conversation.input.empty()) RunOutsideCallback([handle] { ProcessClientInput(handle); });
  return HandleOf(conversation);
}

void DeliverAdvise(uintptr_t handle, const wire::Message& advise) {
  Conversation* c = FindConversation(handle);
  if (!c) return;
  HDDEDATA data = advise.hasData
                      ? NewData(c->instance, advise.data, advise.item, advise.format, false)
                      : nullptr;
  ScopedString item(advise.item);
  Invoke(c->instance, XTYP_ADVDATA, advise.format, HandleOf(*c), c->topic, item.get(), data, 0, 0);
  if (data) ReleaseData(data);
}

/* Hands the client's callback every whole message already read, in the order they came:
   first those a transaction's wait put aside, then the rest of the input. */
void ProcessClientInput(uintptr_t handle) {
  while (Conversation* c = FindConversation(handle)) {
    if (c->early.empty()) break;
    wire::Message advise = std::move(c->early.front());
    c->early.pop_front();
    DeliverAdvise(handle, advise);
  }
  while (true) {
    Conversation* c = FindConversation(handle);
    if (!c || c->ended) return;
    wire::Message message;
    wire::Parse parse = wire::TakeMessage(c->input, &message);
    if (parse == wire::Parse::Incomplete) return;
    if (parse == wire::Parse::Malformed || message.kind == wire::Kind::Disconnect)
      return EndConversation(handle);
    if (message.kind == wire::Kind::AdviseData) DeliverAdvise(handle, message);
    // A late reply to a transaction that timed out is dropped.
  }
}

void ReadClientConversation(uintptr_t handle) {
  Conversation* c = FindConversation(handle);
  if (!c || c->ended) return;
  if (HoldWhileInCallback(c->reader.get())) return;
  ReadResult read = ReadAvailable(c->fd, c->input, wire::kMaxBody + 4);
  ProcessClientInput(handle);
  if (read == ReadResult::Closed) EndConversation(handle);
}

UINT TimeoutError(UINT type) {
  switch (type) {
    case XTYP_REQUEST: return DMLERR_DATAACKTIMEOUT;
    case XTYP_POKE: return DMLERR_POKEACKTIMEOUT;
    case XTYP_EXECUTE: return DMLERR_EXECACKTIMEOUT;
    case XTYP_ADVSTART: return DMLERR_ADVACKTIMEOUT;
    default: return DMLERR_UNADVACKTIMEOUT;
  }
}

/* Waits for the reply to one transaction; advise data that comes first is kept for the
   callback, which hears it from the event loop once the wait is over. */
bool AwaitReply(uintptr_t handle, uint32_t transaction, DWORD timeoutMs, wire::Message* reply,
                UINT* error, UINT type) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    Conversation* c = FindConversation(handle);
    if (!c || c->ended) return *error = DMLERR_NO_CONV_ESTABLISHED, false;
    Wait wait = NextMessage(c->fd, c->input, reply, deadline);
    if (wait == Wait::Timeout) return *error = TimeoutError(type), false;
    if (wait != Wait::Got || reply->kind == wire::Kind::Disconnect) {
      EndConversation(handle);
      return *error = DMLERR_NO_CONV_ESTABLISHED, false;
    }
    if (reply->kind == wire::Kind::AdviseData) {
      c->early.push_back(std::move(*reply));
      continue;
    }
    if (reply->kind == wire::Kind::TransactionReply && reply->transaction == transaction) {
      // What came after the reply in the same read will not wake the notifier again.
      if (!c->input.empty() || !c->early.empty())
        RunOutsideCallback([handle] { ProcessClientInput(handle); });
      return true;
    }
  }
}

bool ValidTransactionType(UINT type, UINT base) {
  UINT flags = type & ~base;
  if (base == XTYP_ADVSTART) return (flags & ~(XTYPF_NODATA | XTYPF_ACKREQ)) == 0;
  return flags == 0 && (base == XTYP_REQUEST || base == XTYP_POKE || base == XTYP_EXECUTE ||
                        base == XTYP_ADVSTOP);
}

}  // namespace

namespace dde {

void WatchClientConversation(Conversation& conversation) {
  if (!QCoreApplication::instance()) return;  // without an event loop no advise arrives
  uintptr_t handle = conversation.handle;
  conversation.reader = std::make_unique<QSocketNotifier>(conversation.fd, QSocketNotifier::Read);
  QObject::connect(conversation.reader.get(), &QSocketNotifier::activated,
                   [handle] { ReadClientConversation(handle); });
}

}  // namespace dde

HCONV DdeConnect(DWORD instance, HSZ service, HSZ topic, PCONVCONTEXT context) {
  if (!FindInstance(instance)) return nullptr;
  DrainWithoutEventLoop();
  std::string serviceText, topicText;
  if ((service && !StringText(service, &serviceText)) || (topic && !StringText(topic, &topicText)))
    return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;
  for (const ServiceSocket& server : Candidates(service ? &serviceText : nullptr)) {
    if (service && topic) {
      if (HCONV opened = OpenConversation(instance, server.path, serviceText, topicText))
        return opened;
      continue;
    }
    // A name left open: the server lists what it serves and the first pair is taken.
    for (const auto& [pairService, pairTopic] :
         AskPairs(server.path, service ? &serviceText : nullptr, topic ? &topicText : nullptr))
      if (HCONV opened = OpenConversation(instance, server.path, pairService, pairTopic))
        return opened;
  }
  SetError(instance, DMLERR_NO_CONV_ESTABLISHED);
  return nullptr;
}

BOOL DdeDisconnect(HCONV conversation) {
  Conversation* c = FindConversation(conversation);
  if (!c) return FALSE;
  if (!c->ended && c->fd >= 0) {
    wire::Message bye;
    bye.kind = wire::Kind::Disconnect;
    std::string bytes = c->output + wire::Encode(bye);
    if (c->server) WriteAvailable(c->fd, bytes);  // a server never waits on its client
    else WriteAll(c->fd, bytes, kDisconnectWriteMs);
  }
  RemoveConversation(c->handle);
  return TRUE;
}

HDDEDATA DdeClientTransaction(LPBYTE data, DWORD bytes, HCONV conversation, HSZ item, UINT format,
                              UINT type, DWORD timeoutMs, LPDWORD result) {
  Conversation* c = FindConversation(conversation);
  if (result) *result = 0;
  if (!c || c->server) return nullptr;
  DWORD instance = c->instance;
  if (InCallback()) return SetError(instance, DMLERR_REENTRANCY), nullptr;
  if (c->ended) return SetError(instance, DMLERR_NO_CONV_ESTABLISHED), nullptr;
  UINT base = type & ~(XTYPF_NODATA | XTYPF_ACKREQ);
  std::string itemText;
  bool needsItem = base != XTYP_EXECUTE;
  if (timeoutMs == TIMEOUT_ASYNC || !ValidTransactionType(type, base) ||
      (needsItem && !StringText(item, &itemText)))
    return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;

  wire::Message request;
  request.kind = wire::Kind::Transaction;
  request.transaction = c->nextTransaction++;
  request.type = static_cast<uint16_t>(type);
  request.format = static_cast<uint16_t>(format);
  request.hasItem = needsItem;
  request.item = itemText;
  if (base == XTYP_POKE || base == XTYP_EXECUTE) {
    request.hasData = true;
    if (bytes == static_cast<DWORD>(-1)) {
      // The data comes as a handle, which the transaction consumes.
      HDDEDATA handle = reinterpret_cast<HDDEDATA>(data);
      DataBlock* block = FindData(handle);
      if (!block) return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;
      request.data = block->bytes;
      if (!block->appOwned) ReleaseData(handle);
    } else if (data) {
      request.data.assign(reinterpret_cast<const char*>(data), bytes);
    }
    if (request.data.size() > wire::kMaxData)
      return SetError(instance, DMLERR_MEMORY_ERROR), nullptr;
  }
  uintptr_t handle = c->handle;
  if (!SendFrame(*c, request)) {
    EndConversation(handle);
    return SetError(instance, DMLERR_POSTMSG_FAILED), nullptr;
  }
  wire::Message reply;
  UINT error = DMLERR_NO_ERROR;
  if (!AwaitReply(handle, request.transaction, timeoutMs, &reply, &error, base))
    return SetError(instance, error), nullptr;
  if (result) *result = reply.status;
  if (!reply.ok) return SetError(instance, DMLERR_NOTPROCESSED), nullptr;
  if (base == XTYP_REQUEST) return NewData(instance, reply.data, itemText, format, false);
  if (base == XTYP_ADVSTART || base == XTYP_ADVSTOP) {
    Conversation* still = FindConversation(handle);
    if (still) {
      std::erase_if(still->links, [&](const AdviseLink& link) {
        return strcasecmp(link.item.c_str(), itemText.c_str()) == 0 && link.format == format;
      });
      if (base == XTYP_ADVSTART)
        still->links.push_back(AdviseLink{itemText, format, (type & XTYPF_NODATA) != 0});
    }
  }
  return reinterpret_cast<HDDEDATA>(1);
}

HCONVLIST DdeConnectList(DWORD instance, HSZ service, HSZ topic, HCONVLIST previous,
                         PCONVCONTEXT context) {
  if (!FindInstance(instance)) return nullptr;
  State& s = state();
  std::string serviceText, topicText;
  if ((service && !StringText(service, &serviceText)) || (topic && !StringText(topic, &topicText)))
    return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;
  uintptr_t listHandle = reinterpret_cast<uintptr_t>(previous);
  if (!s.lists.count(listHandle)) {
    listHandle = s.nextList++;
    s.lists[listHandle] = ConversationList{instance, {}};
  }
  for (const ServiceSocket& server : Candidates(service ? &serviceText : nullptr)) {
    for (const auto& [pairService, pairTopic] :
         AskPairs(server.path, service ? &serviceText : nullptr, topic ? &topicText : nullptr)) {
      HCONV opened = OpenConversation(instance, server.path, pairService, pairTopic);
      if (!opened) continue;
      FindConversation(opened)->list = reinterpret_cast<HCONVLIST>(listHandle);
      s.lists[listHandle].members.push_back(reinterpret_cast<uintptr_t>(opened));
    }
  }
  if (s.lists[listHandle].members.empty()) {
    s.lists.erase(listHandle);
    SetError(instance, DMLERR_NO_CONV_ESTABLISHED);
    return nullptr;
  }
  return reinterpret_cast<HCONVLIST>(listHandle);
}

HCONV DdeQueryNextServer(HCONVLIST list, HCONV previous) {
  auto found = state().lists.find(reinterpret_cast<uintptr_t>(list));
  if (found == state().lists.end()) return nullptr;
  const std::vector<uintptr_t>& members = found->second.members;
  auto at = members.begin();
  if (previous) {
    at = std::find(members.begin(), members.end(), reinterpret_cast<uintptr_t>(previous));
    if (at != members.end()) ++at;
  }
  return at == members.end() ? nullptr : reinterpret_cast<HCONV>(*at);
}

BOOL DdeDisconnectList(HCONVLIST list) {
  auto found = state().lists.find(reinterpret_cast<uintptr_t>(list));
  if (found == state().lists.end()) return FALSE;
  std::vector<uintptr_t> members = found->second.members;
  for (uintptr_t member : members) DdeDisconnect(reinterpret_cast<HCONV>(member));
  state().lists.erase(reinterpret_cast<uintptr_t>(list));
  return TRUE;
}

UINT DdeQueryConvInfo(HCONV conversation, DWORD transaction, PCONVINFO info) {
  Conversation* c = FindConversation(conversation);
  if (!c || !info || info->cb < sizeof(DWORD) || transaction != QID_SYNC) return 0;
  CONVINFO filled{};
  filled.cb = sizeof filled;
  filled.hszSvcPartner = c->service;
  filled.hszServiceReq = c->serviceRequested ? c->serviceRequested : c->service;
  filled.hszTopic = c->topic;
  filled.wStatus = (c->ended ? ST_TERMINATED : ST_CONNECTED) | (c->server ? 0 : ST_CLIENT) |
                   (c->links.empty() ? 0 : ST_ADVISE);
  filled.wConvst = c->ended ? 0 : 2;  // XST_CONNECTED
  filled.hConvList = c->list;
  UINT copied = std::min<UINT>(info->cb, sizeof filled);
  std::memcpy(info, &filled, copied);
  return copied;
}
