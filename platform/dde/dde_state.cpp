/*
** The library's table of instances and conversations, the callback guard that keeps
** callbacks from nesting, and the sending and ending of conversations.
*/
#include "platform/dde/dde_state.h"

#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_socket.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace dde {

State& state() {
  static State* instance = new State;  // lives to the end of the process
  return *instance;
}

Instance* FindInstance(DWORD id) {
  auto found = state().instances.find(id);
  return found == state().instances.end() ? nullptr : &found->second;
}

Conversation* FindConversation(uintptr_t handle) {
  auto found = state().conversations.find(handle);
  return found == state().conversations.end() ? nullptr : found->second.get();
}

Conversation* FindConversation(HCONV conversation) {
  return FindConversation(reinterpret_cast<uintptr_t>(conversation));
}

HCONV HandleOf(const Conversation& conversation) {
  return reinterpret_cast<HCONV>(conversation.handle);
}

void SetError(DWORD instance, UINT error) {
  if (Instance* found = FindInstance(instance)) found->lastError = error;
}

namespace {

void Drain() {
  State& s = state();
  if (s.callbackDepth > 0) return;  // scheduled again when the callback returns
  while (!s.deferred.empty() && s.callbackDepth == 0) {
    std::vector<std::function<void()>> tasks;
    tasks.swap(s.deferred);
    for (auto& task : tasks) task();
  }
}

void ScheduleDrain() {
  State& s = state();
  if (s.drainScheduled || s.callbackDepth > 0 || s.deferred.empty()) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;  // held until DrainWithoutEventLoop
  s.drainScheduled = true;
  QMetaObject::invokeMethod(
      app,
      [] {
        state().drainScheduled = false;
        Drain();
      },
      Qt::QueuedConnection);
}

}  // namespace

HDDEDATA Invoke(DWORD instance, UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
  Instance* found = FindInstance(instance);
  if (!found || !found->callback) return nullptr;
  PFNCALLBACK callback = found->callback;
  State& s = state();
  ++s.callbackDepth;
  HDDEDATA result = callback(type, format, conversation, hsz1, hsz2, data, data1, data2);
  --s.callbackDepth;
  if (s.callbackDepth == 0) ScheduleDrain();
  return result;
}

bool InCallback() { return state().callbackDepth > 0; }

void RunOutsideCallback(std::function<void()> task) {
  state().deferred.push_back(std::move(task));
  ScheduleDrain();
}

bool HoldWhileInCallback(QSocketNotifier* notifier) {
  if (!InCallback()) return false;
  notifier->setEnabled(false);
  QPointer<QSocketNotifier> held(notifier);
  RunOutsideCallback([held] {
    if (held) held->setEnabled(true);
  });
  return true;
}

void RetireNotifier(std::unique_ptr<QSocketNotifier>& notifier) {
  if (!notifier) return;
  notifier->setEnabled(false);
  notifier.release()->deleteLater();
}

void DrainWithoutEventLoop() {
  if (!QCoreApplication::instance()) Drain();
}

Conversation& AddConversation(DWORD instance, bool server, int fd, const std::string& service,
                              const std::string& topic) {
  State& s = state();
  auto conversation = std::make_unique<Conversation>();
  conversation->handle = s.nextConversation++;
  conversation->instance = instance;
  conversation->server = server;
  conversation->fd = fd;
  conversation->service = InternString(service);
  conversation->topic = InternString(topic);
  Conversation& added = *conversation;
  s.conversations[added.handle] = std::move(conversation);
  return added;
}

namespace {

void CloseConversationSocket(Conversation& conversation) {
  // Replies held back for the end of a batch were sent before the conversation ended.
  if (conversation.holding && conversation.fd >= 0)
    WriteAvailable(conversation.fd, conversation.output);
  RetireNotifier(conversation.reader);
  RetireNotifier(conversation.writer);
  CloseSocket(conversation.fd);
  conversation.fd = -1;
  conversation.output.clear();
}

}  // namespace

void RemoveConversation(uintptr_t handle) {
  State& s = state();
  auto found = s.conversations.find(handle);
  if (found == s.conversations.end()) return;
  Conversation& conversation = *found->second;
  CloseConversationSocket(conversation);
  ReleaseString(conversation.service);
  ReleaseString(conversation.topic);
  if (conversation.serviceRequested) ReleaseString(conversation.serviceRequested);
  if (conversation.list) {
    auto list = s.lists.find(reinterpret_cast<uintptr_t>(conversation.list));
    if (list != s.lists.end()) std::erase(list->second.members, handle);
  }
  s.conversations.erase(found);
}

void EndConversation(uintptr_t handle) {
  Conversation* conversation = FindConversation(handle);
  if (!conversation || conversation->ended) return;
  conversation->ended = true;
  CloseConversationSocket(*conversation);
  RunOutsideCallback([handle] {
    Conversation* ended = FindConversation(handle);
    if (!ended) return;  // the application disconnected it meanwhile
    DWORD instance = ended->instance;
    Instance* owner = FindInstance(instance);
    if (owner && !(owner->commands & CBF_SKIP_DISCONNECTS))
      Invoke(instance, XTYP_DISCONNECT, 0, reinterpret_cast<HCONV>(handle), nullptr, nullptr,
             nullptr, 0, 0);
    RemoveConversation(handle);
  });
}

bool SendFrame(Conversation& conversation, const wire::Message& message) {
  if (conversation.fd < 0) return false;
  if (!conversation.server)
    return WriteAll(conversation.fd, wire::Encode(message), kConnectTimeoutMs);
  wire::EncodeTo(message, &conversation.output);
  if (conversation.holding && conversation.output.size() < kHeldOutput) return true;
  return FlushOutput(conversation);
}

bool FlushOutput(Conversation& conversation) {
  if (conversation.fd < 0) return false;
  if (!WriteAvailable(conversation.fd, conversation.output) ||
      conversation.output.size() > kMaxPendingOutput) {
    // A client that stops reading must not hold the server: it is dropped.
    EndConversation(conversation.handle);
    return false;
  }
  if (conversation.writer) conversation.writer->setEnabled(!conversation.output.empty());
  else if (!conversation.output.empty()) WatchServerWrites(conversation);
  return true;
}

}  // namespace dde
