/*
** Inside the DDE library: instances, listeners, conversations and conversation lists, the
** one table that holds them, and the rules for calling back into the application.
** Only platform/dde includes this header.
*/
#ifndef ZARNE_PLATFORM_DDE_DDE_STATE_H
#define ZARNE_PLATFORM_DDE_DDE_STATE_H

#include "platform/dde/ddeml.h"
#include "platform/dde/dde_wire.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dde {

/* How long a client waits for a server to accept or list its names. */
constexpr int kConnectTimeoutMs = 5000;
/* A server stops queueing for a client that does not read beyond this many bytes. */
constexpr size_t kMaxPendingOutput = 4u << 20;
/* While a server answers a batch of frames, its replies are sent together once it is done,
   or whenever this many bytes of them are waiting. */
constexpr size_t kHeldOutput = 64u << 10;

struct AdviseLink {
  std::string item;
  UINT format = 0;
  bool noData = false;  // a warm link: the client hears of a change, without the data
};

struct Listener {
  std::string service;
  std::string path;
  int fd = -1;
  std::unique_ptr<QSocketNotifier> notifier;
};

/* A socket accepted by a listener that has not yet said what it wants. */
struct Arrival {
  int fd = -1;
  DWORD instance = 0;
  std::string service;  // the listener's service
  std::string input;
  std::unique_ptr<QSocketNotifier> notifier;
};

struct Conversation {
  uintptr_t handle = 0;
  DWORD instance = 0;
  bool server = false;
  int fd = -1;
  HSZ service = nullptr;  // held while the conversation lives
  HSZ topic = nullptr;
  HSZ serviceRequested = nullptr;
  std::unique_ptr<QSocketNotifier> reader;
  std::unique_ptr<QSocketNotifier> writer;
  std::string input;
  std::string output;
  std::vector<AdviseLink> links;
  uint32_t nextTransaction = 1;
  bool ended = false;    // socket closed; only the notice to the callback is left
  bool holding = false;  // a server answering a batch: replies wait in output until its end
  HCONVLIST list = nullptr;
  std::deque<wire::Message> early;  // advise data read while waiting for a reply
};

struct Instance {
  DWORD id = 0;
  PFNCALLBACK callback = nullptr;
  DWORD commands = 0;
  UINT lastError = DMLERR_NO_ERROR;
  std::vector<std::unique_ptr<Listener>> listeners;
};

struct ConversationList {
  DWORD instance = 0;
  std::vector<uintptr_t> members;
};

struct State {
  std::map<DWORD, Instance> instances;
  DWORD nextInstance = 1;
  std::map<uintptr_t, std::unique_ptr<Conversation>> conversations;
  uintptr_t nextConversation = 0x20000;
  std::map<int, std::unique_ptr<Arrival>> arrivals;
  std::map<uintptr_t, ConversationList> lists;
  uintptr_t nextList = 0x30000;
  int callbackDepth = 0;
  std::vector<std::function<void()>> deferred;
  bool drainScheduled = false;
};

State& state();
Instance* FindInstance(DWORD id);
Conversation* FindConversation(HCONV conversation);
Conversation* FindConversation(uintptr_t handle);
HCONV HandleOf(const Conversation& conversation);
/* Records an error for an instance (when it exists) and answers what the caller returns. */
void SetError(DWORD instance, UINT error);

/* Calls the instance's callback, counting the depth so that nothing re-enters it. */
HDDEDATA Invoke(DWORD instance, UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
bool InCallback();
/* Runs task from the event loop once no callback is running. */
void RunOutsideCallback(std::function<void()> task);
/* For a notifier that fired while a callback runs (a modal loop inside it): switches it
   off until the callback has returned, and answers true; the caller then does nothing. */
bool HoldWhileInCallback(QSocketNotifier* notifier);
/* Switches a notifier off and lets the event loop delete it: it may be the very notifier
   whose signal is running. */
void RetireNotifier(std::unique_ptr<QSocketNotifier>& notifier);
/* Runs the tasks held for lack of an event loop (programs without one call this). */
void DrainWithoutEventLoop();

/* Conversations */
Conversation& AddConversation(DWORD instance, bool server, int fd, const std::string& service,
                              const std::string& topic);
/* Closes the socket and forgets the conversation; no callback. */
void RemoveConversation(uintptr_t handle);
/* Sends a frame; a server queues what the socket does not take at once and drops a client
   that lets too much pile up. */
bool SendFrame(Conversation& conversation, const wire::Message& message);
/* Writes what a server's socket takes of its queued output now; false when that ended the
   conversation. */
bool FlushOutput(Conversation& conversation);
/* Ends a conversation from the partner's side or by fault: tells the callback
   (XTYP_DISCONNECT) from the event loop and forgets it. */
void EndConversation(uintptr_t handle);

/* Server side (dde_server.cpp) */
void WatchListener(DWORD instance, Listener& listener);
void WatchServerConversation(Conversation& conversation);
/* Watches a server conversation's socket for room to write: made once its socket first
   takes less than a reply, and then switched on and off. */
void WatchServerWrites(Conversation& conversation);
/* Client side (dde_client.cpp) */
void WatchClientConversation(Conversation& conversation);

}  // namespace dde

#endif
