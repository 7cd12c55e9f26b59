/*
** The server side: registering service names, accepting connections, answering the
** client's transactions through the application's callback, and advise links.
*/
#include "platform/dde/ddeml.h"

#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_state.h"
#include "platform/dde/dde_wire.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unistd.h>
#include <vector>

using namespace dde;

namespace {

constexpr UINT kTypeFlags = XTYPF_NODATA | XTYPF_ACKREQ | XTYPF_NOBLOCK;
constexpr size_t kMaxArrivals = 64;

bool SameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

/* The bytes of a data handle a callback answered with; the library frees the handle
   unless the application keeps it. */
bool TakeCallbackData(HDDEDATA data, std::string* bytes) {
  DataBlock* block = FindData(data);
  if (!block) return false;
  *bytes = block->bytes;
  if (!block->appOwned) ReleaseData(data);
  return true;
}

/* The (service, topic) pairs of a wild-connect answer: HSZPAIR records up to a pair of
   nulls or the end of the data. */
std::vector<std::pair<std::string, std::string>> PairsOf(const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t at = 0; at + sizeof(HSZPAIR) <= bytes.size(); at += sizeof(HSZPAIR)) {
    HSZPAIR pair;
    std::memcpy(&pair, bytes.data() + at, sizeof pair);
    if (!pair.hszSvc && !pair.hszTopic) break;
    std::string service, topic;
    if (!StringText(pair.hszSvc, &service) || !StringText(pair.hszTopic, &topic)) continue;
    if (pairs.size() < wire::kMaxPairs) pairs.emplace_back(service, topic);
  }
  return pairs;
}

/* A server never waits on a client: a reply to a new socket that does not fit at once
   (it always does, short of a client that fills its own buffer on purpose) is given up. */
bool SendWithoutWaiting(int fd, std::string bytes) {
  return WriteAvailable(fd, bytes) && bytes.empty();
}

void CloseArrival(int fd) {
  State& s = state();
  auto found = s.arrivals.find(fd);
  if (found == s.arrivals.end()) return;
  RetireNotifier(found->second->notifier);
  CloseSocket(fd);
  s.arrivals.erase(found);
}

void AnswerWildQuery(Arrival& arrival, const wire::Message& query) {
  DWORD instance = arrival.instance;
  int fd = arrival.fd;
  wire::Message reply;
  reply.kind = wire::Kind::WildReply;
  ScopedString service(query.hasService ? query.service : std::string());  // empty: null
  ScopedString topic(query.hasTopic ? query.topic : std::string());
  HDDEDATA answer = Invoke(instance, XTYP_WILDCONNECT, CF_TEXT, nullptr, topic.get(), service.get(),
                           nullptr, 0, 0);
  std::string bytes;
  if (answer && TakeCallbackData(answer, &bytes)) reply.pairs = PairsOf(bytes);
  if (!state().arrivals.count(fd)) return;  // the callback ended the instance, and the socket
  SendWithoutWaiting(fd, wire::Encode(reply));
  CloseArrival(fd);
}

void AnswerConnect(Arrival& arrival, const wire::Message& request) {
  // Copied first: the callback may end the instance, and the arrival with it.
  DWORD instance = arrival.instance;
  int fd = arrival.fd;
  std::string serviceName = arrival.service;
  Instance* owner = FindInstance(instance);
  bool accepted = false;
  if (owner && request.hasService && request.hasTopic && !request.topic.empty() &&
      SameName(request.service, serviceName) && !(owner->commands & CBF_FAIL_CONNECTIONS)) {
    ScopedString service(serviceName);
    ScopedString topic(request.topic);
    accepted = Invoke(instance, XTYP_CONNECT, 0, nullptr, topic.get(), service.get(), nullptr, 0,
                      0) != nullptr;
  }
  wire::Message reply;
  reply.kind = wire::Kind::ConnectReply;
  reply.accepted = accepted && FindInstance(instance);
  reply.service = serviceName;
  reply.topic = request.topic;
  // The socket passes from the arrival to the conversation (unless the callback ended the
  // instance, which closed it).
  auto still = state().arrivals.find(fd);
  if (still == state().arrivals.end()) return;
  RetireNotifier(still->second->notifier);
  state().arrivals.erase(still);
  if (!reply.accepted || !SendWithoutWaiting(fd, wire::Encode(reply))) {
    CloseSocket(fd);
    return;
  }
  Conversation& conversation = AddConversation(instance, true, fd, serviceName, request.topic);
  WatchServerConversation(conversation);
  if (!(FindInstance(instance)->commands & CBF_SKIP_CONNECT_CONFIRMS))
    Invoke(instance, XTYP_CONNECT_CONFIRM, 0, HandleOf(conversation), conversation.topic,
           conversation.service, nullptr, 0, 0);
}

void ReadArrival(int fd) {
  State& s = state();
  auto found = s.arrivals.find(fd);
  if (found == s.arrivals.end()) return;
  Arrival& arrival = *found->second;
  if (HoldWhileInCallback(arrival.notifier.get())) return;
  ReadResult read = ReadAvailable(fd, arrival.input, wire::kMaxBody + 4);
  wire::Message message;
  wire::Parse parse = wire::TakeMessage(arrival.input, &message);
  if (parse == wire::Parse::Incomplete) {
    if (read == ReadResult::Closed) CloseArrival(fd);
    return;
  }
  // Only an opening message may come first; anything else ends the socket quietly, as
  // there is no conversation yet to report it on.
  if (parse == wire::Parse::Malformed || !arrival.input.empty()) return CloseArrival(fd);
  if (message.kind == wire::Kind::WildQuery) return AnswerWildQuery(arrival, message);
  if (message.kind == wire::Kind::Connect) return AnswerConnect(arrival, message);
  CloseArrival(fd);
}

/* Waits for the rest of an opening that was not all there when the socket was accepted. */
void WatchArrival(Arrival& arrival) {
  int fd = arrival.fd;
  arrival.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(arrival.notifier.get(), &QSocketNotifier::activated, [fd] { ReadArrival(fd); });
}

/* A client sends its opening as soon as it is connected, so the opening is mostly there by the
   time the connection is accepted: it is read at once, and the client has its answer without
   waiting for another turn of the event loop; only a socket still short of its opening is
   watched. The reading comes after all are accepted, as an answer runs the application's
   callback, which may end the instance and its listener. */
void AcceptArrivals(DWORD instance, Listener& listener) {
  if (HoldWhileInCallback(listener.notifier.get())) return;
  std::vector<int> accepted;
  for (int fd = AcceptFrom(listener.fd); fd >= 0; fd = AcceptFrom(listener.fd)) {
    if (state().arrivals.size() >= kMaxArrivals) {
      CloseSocket(fd);  // sockets that never say what they want must not use up the server
      continue;
    }
    auto arrival = std::make_unique<Arrival>();
    arrival->fd = fd;
    arrival->instance = instance;
    arrival->service = listener.service;
    state().arrivals[fd] = std::move(arrival);
    accepted.push_back(fd);
  }
  for (int fd : accepted) {
    // Never read inside a callback: such a socket, like one whose opening is not all there,
    // is watched and read later.
    if (!InCallback()) ReadArrival(fd);
    auto still = state().arrivals.find(fd);
    if (still != state().arrivals.end() && !still->second->notifier) WatchArrival(*still->second);
  }
}

/* What the server answers a transaction with, before it is sent. */
struct Answer {
  bool ok = false;
  uint16_t status = 0;
  bool hasData = false;
  std::string data;
};

Answer AnswerRequest(Conversation& c, const wire::Message& m, HSZ item) {
  Answer answer;
  if (FindInstance(c.instance)->commands & CBF_FAIL_REQUESTS) return answer;
  HDDEDATA data =
      Invoke(c.instance, XTYP_REQUEST, m.format, HandleOf(c), c.topic, item, nullptr, 0, 0);
  answer.ok = data && TakeCallbackData(data, &answer.data);
  answer.hasData = answer.ok;
  return answer;
}

Answer AnswerWithData(Conversation& c, const wire::Message& m, UINT type, HSZ item,
                      DWORD failFlag) {
  Answer answer;
  if (FindInstance(c.instance)->commands & failFlag) return answer;
  HDDEDATA data =
      NewData(c.instance, m.data, m.hasItem ? m.item : std::string_view(), m.format, false);
  HDDEDATA result = Invoke(c.instance, type, m.format, HandleOf(c), c.topic, item, data, 0, 0);
  ReleaseData(data);
  answer.status = LOWORD(reinterpret_cast<uintptr_t>(result));
  answer.ok = (answer.status & DDE_FACK) != 0;
  return answer;
}

Answer AnswerAdviseStart(Conversation& c, const wire::Message& m, HSZ item) {
  Answer answer;
  if (FindInstance(c.instance)->commands & CBF_FAIL_ADVISES) return answer;
  uintptr_t handle = c.handle;
  bool granted = Invoke(c.instance, XTYP_ADVSTART, m.format, HandleOf(c), c.topic, item, nullptr, 0,
                        0) != nullptr;
  Conversation* still = FindConversation(handle);
  if (!granted || !still) return answer;
  std::erase_if(still->links, [&](const AdviseLink& link) {
    return SameName(link.item, m.item) && link.format == m.format;
  });
  still->links.push_back(AdviseLink{m.item, m.format, (m.type & XTYPF_NODATA) != 0});
  answer.ok = true;
  return answer;
}

Answer AnswerAdviseStop(Conversation& c, const wire::Message& m, HSZ item) {
  Answer answer;
  auto link = std::find_if(c.links.begin(), c.links.end(), [&](const AdviseLink& l) {
    return SameName(l.item, m.item) && l.format == m.format;
  });
  if (link == c.links.end()) return answer;
  c.links.erase(link);
  Invoke(c.instance, XTYP_ADVSTOP, m.format, HandleOf(c), c.topic, item, nullptr, 0, 0);
  answer.ok = true;
  return answer;
}

/* False when the transaction is not one a client may send. */
bool AnswerTransaction(Conversation& c, const wire::Message& m) {
  uintptr_t handle = c.handle;
  UINT type = m.type & ~kTypeFlags;
  bool needsItem = type != XTYP_EXECUTE;
  if (needsItem != m.hasItem || (needsItem && m.item.empty())) return false;
  ScopedString item(m.hasItem ? std::string_view(m.item) : std::string_view());
  Answer answer;
  switch (type) {
    case XTYP_REQUEST: answer = AnswerRequest(c, m, item.get()); break;
    case XTYP_POKE: answer = AnswerWithData(c, m, XTYP_POKE, item.get(), CBF_FAIL_POKES); break;
    case XTYP_EXECUTE:
      answer = AnswerWithData(c, m, XTYP_EXECUTE, nullptr, CBF_FAIL_EXECUTES);
      break;
    case XTYP_ADVSTART: answer = AnswerAdviseStart(c, m, item.get()); break;
    case XTYP_ADVSTOP: answer = AnswerAdviseStop(c, m, item.get()); break;
    default: return false;
  }
  Conversation* still = FindConversation(handle);
  if (!still || still->ended) return true;  // the callback disconnected it
  wire::Message reply;
  reply.kind = wire::Kind::TransactionReply;
  reply.transaction = m.transaction;
  reply.ok = answer.ok;
  reply.status = answer.status;
  reply.hasData = answer.hasData;
  reply.data = std::move(answer.data);
  SendFrame(*still, reply);
  return true;
}

/* A client that sent what no client may send: its conversation ends, as if it had left, and
   the server goes on. That is no failure of the server, so the application hears no error:
   one client's garbage must not stop the others behind an error box. */
void RejectMalformed(uintptr_t handle) {
  Conversation* c = FindConversation(handle);
  if (!c) return;
  wire::Message bye;
  bye.kind = wire::Kind::Disconnect;
  SendFrame(*c, bye);
  EndConversation(handle);
}

/* Sends what every server conversation holds back. */
void SendHeldReplies() {
  std::vector<uintptr_t> holding;
  for (const auto& [handle, c] : state().conversations)
    if (c->holding && !c->ended && !c->output.empty()) holding.push_back(handle);
  for (uintptr_t handle : holding)
    if (Conversation* c = FindConversation(handle)) FlushOutput(*c);
}

/* Every wait of an event loop first sends the replies held back: a callback that runs a
   modal loop (a message box) must not keep the answers to the frames before it from their
   client, who would time out although the work was done. */
void SendHeldRepliesBeforeEachWait() {
  static QPointer<QAbstractEventDispatcher> connected;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (!dispatcher || dispatcher == connected) return;
  connected = dispatcher;
  QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, SendHeldReplies);
}

/* Holds a server conversation's replies while it answers the frames of one read, and sends
   them together at its end: one write for the batch, not one per reply. */
class HeldReplies {
 public:
  explicit HeldReplies(Conversation& c) : handle_(c.handle) {
    SendHeldRepliesBeforeEachWait();
    c.holding = true;
  }
  ~HeldReplies() {
    Conversation* c = FindConversation(handle_);
    if (!c || !c->holding) return;
    c->holding = false;
    if (!c->ended && !c->output.empty()) FlushOutput(*c);
  }
  HeldReplies(const HeldReplies&) = delete;
  HeldReplies& operator=(const HeldReplies&) = delete;

 private:
  uintptr_t handle_;
};

void ReadServerConversation(uintptr_t handle) {
  Conversation* c = FindConversation(handle);
  if (!c || c->ended) return;
  if (HoldWhileInCallback(c->reader.get())) return;
  HeldReplies held(*c);
  ReadResult read = ReadAvailable(c->fd, c->input, wire::kMaxBody + 4);
  // The frames read are dropped from the buffer together once the rest is incomplete: many
  // frames arriving at once must not each move all the bytes behind them.
  size_t at = 0;
  wire::Message message;  // one for all the frames, its buffers reused
  while (true) {
    c = FindConversation(handle);
    if (!c || c->ended) return;
    wire::Parse parse = wire::ReadMessageAt(c->input, &at, &message);
    if (parse == wire::Parse::Incomplete) {
      c->input.erase(0, at);
      break;
    }
    if (parse == wire::Parse::Malformed) return RejectMalformed(handle);
    if (message.kind == wire::Kind::Disconnect) return EndConversation(handle);
    if (message.kind != wire::Kind::Transaction || !AnswerTransaction(*c, message))
      return RejectMalformed(handle);
  }
  if (read == ReadResult::Closed) EndConversation(handle);
}

void WriteServerConversation(uintptr_t handle) {
  Conversation* c = FindConversation(handle);
  if (!c || c->fd < 0) return;
  if (!WriteAvailable(c->fd, c->output)) return EndConversation(handle);
  if (c->writer) c->writer->setEnabled(!c->output.empty());
}

/* Sends one advise to one link, asking the callback for the data of a hot link. */
void SendAdvise(uintptr_t handle, const AdviseLink& link, ULONG_PTR remaining) {
  Conversation* c = FindConversation(handle);
  if (!c || c->ended) return;
  wire::Message advise;
  advise.kind = wire::Kind::AdviseData;
  advise.format = static_cast<uint16_t>(link.format);
  advise.item = link.item;
  if (!link.noData) {
    ScopedString item(link.item);
    HDDEDATA data = Invoke(c->instance, XTYP_ADVREQ, link.format, HandleOf(*c), c->topic,
                           item.get(), nullptr, remaining, 0);
    c = FindConversation(handle);
    if (!c || c->ended || !data || !TakeCallbackData(data, &advise.data)) return;
    if (advise.data.size() > wire::kMaxData) return;
    advise.hasData = true;
  }
  SendFrame(*c, advise);
}

void PostAdviseNow(DWORD instance, const std::string& topic, bool anyTopic, const std::string& item,
                   bool anyItem) {
  std::vector<std::pair<uintptr_t, AdviseLink>> due;
  for (auto& [handle, c] : state().conversations) {
    if (c->instance != instance || !c->server || c->ended) continue;
    if (!anyTopic && !SameName(StringTextOrEmpty(c->topic), topic)) continue;
    for (const AdviseLink& link : c->links)
      if (anyItem || SameName(link.item, item)) due.emplace_back(handle, link);
  }
  for (size_t i = 0; i < due.size(); ++i)
    SendAdvise(due[i].first, due[i].second, due.size() - i - 1);
}

}  // namespace

namespace dde {

void WatchListener(DWORD instance, Listener& listener) {
  listener.notifier = std::make_unique<QSocketNotifier>(listener.fd, QSocketNotifier::Read);
  Listener* watched = &listener;
  QObject::connect(listener.notifier.get(), &QSocketNotifier::activated,
                   [instance, watched] { AcceptArrivals(instance, *watched); });
}

void WatchServerConversation(Conversation& conversation) {
  uintptr_t handle = conversation.handle;
  conversation.reader = std::make_unique<QSocketNotifier>(conversation.fd, QSocketNotifier::Read);
  QObject::connect(conversation.reader.get(), &QSocketNotifier::activated,
                   [handle] { ReadServerConversation(handle); });
}

void WatchServerWrites(Conversation& conversation) {
  uintptr_t handle = conversation.handle;
  conversation.writer = std::make_unique<QSocketNotifier>(conversation.fd, QSocketNotifier::Write);
  QObject::connect(conversation.writer.get(), &QSocketNotifier::activated,
                   [handle] { WriteServerConversation(handle); });
}

}  // namespace dde

HDDEDATA DdeNameService(DWORD instance, HSZ service, HSZ reserved, UINT command) {
  Instance* owner = FindInstance(instance);
  if (!owner) return nullptr;
  if (command & DNS_REGISTER) {
    std::string name;
    if (!StringText(service, &name)) return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;
    if ((owner->commands & APPCMD_CLIENTONLY) || !QCoreApplication::instance())
      return SetError(instance, DMLERR_DLL_USAGE), nullptr;
    for (auto& listener : owner->listeners)
      if (SameName(listener->service, name)) return reinterpret_cast<HDDEDATA>(1);
    std::string dir = RuntimeDirectory();
    auto listener = std::make_unique<Listener>();
    listener->service = name;
    listener->path = dir + "/" + ServiceSocketName(name, getpid());
    listener->fd = dir.empty() ? -1 : ListenAt(listener->path);
    if (listener->fd < 0) return SetError(instance, DMLERR_SYS_ERROR), nullptr;
    WatchListener(instance, *listener);
    owner->listeners.push_back(std::move(listener));
    return reinterpret_cast<HDDEDATA>(1);
  }
  if (command & DNS_UNREGISTER) {
    std::string name;
    bool all = service == nullptr;
    if (!all && !StringText(service, &name))
      return SetError(instance, DMLERR_INVALIDPARAMETER), nullptr;
    std::erase_if(owner->listeners, [&](const std::unique_ptr<Listener>& listener) {
      if (!all && !SameName(listener->service, name)) return false;
      RetireNotifier(listener->notifier);
      CloseSocket(listener->fd);
      unlink(listener->path.c_str());
      return true;
    });
    return reinterpret_cast<HDDEDATA>(1);
  }
  // Filtering is always on: only registered names are reachable at all.
  return (command & (DNS_FILTERON | DNS_FILTEROFF)) ? reinterpret_cast<HDDEDATA>(1) : nullptr;
}

BOOL DdePostAdvise(DWORD instance, HSZ topic, HSZ item) {
  if (!FindInstance(instance)) return FALSE;
  std::string topicText = StringTextOrEmpty(topic), itemText = StringTextOrEmpty(item);
  bool anyTopic = topic == nullptr, anyItem = item == nullptr;
  if (InCallback()) {
    // Asked from inside a callback: the advise requests run once it has returned.
    RunOutsideCallback([=] { PostAdviseNow(instance, topicText, anyTopic, itemText, anyItem); });
    return TRUE;
  }
  PostAdviseNow(instance, topicText, anyTopic, itemText, anyItem);
  return TRUE;
}
