/*
** This process as the server: zdde and raw sockets as clients in other processes or on
** the wire. The callback's view of each transaction, clients that die, send garbage or
** stop reading, and callbacks that never nest.
*/
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_wire.h"
#include "platform/dde/ddeml.h"

#include "dde_test_support.h"

#include <QCoreApplication>
#include <QTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Event {
  UINT type;
  HCONV conversation;
  std::string item;
  std::string data;
};

DWORD serverInstance = 0;
HSZ serviceName = nullptr;
HSZ topicName = nullptr;
std::vector<Event> events;
std::map<std::string, std::string> fields;
int depth = 0;
bool nested = false;
std::function<void()> onExecute;
bool oneConversationAtATime = false;
HCONV recorded = nullptr;

std::string Text(HSZ hsz) {
  char buffer[256] = "";
  if (hsz) DdeQueryString(serverInstance, hsz, buffer, sizeof buffer, CP_WINANSI);
  return buffer;
}

std::string DataText(HDDEDATA data) {
  if (!data) return {};
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  return text.substr(0, text.find('\0'));
}

HDDEDATA FieldData(HSZ item) {
  auto found = fields.find(Text(item));
  if (found == fields.end()) return nullptr;
  return DdeCreateDataHandle(serverInstance, reinterpret_cast<LPBYTE>(found->second.data()),
                             static_cast<DWORD>(found->second.size() + 1), 0, item, CF_TEXT, 0);
}

HDDEDATA Answer(UINT type, HSZ topic, HSZ item, HDDEDATA data) {
  switch (type) {
    case XTYP_CONNECT:
      // As the program's own server does: a new client replaces the one before.
      if (oneConversationAtATime && recorded) DdeDisconnect(recorded), recorded = nullptr;
      return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(topic, topicName) == 0 ? TRUE : FALSE);
    case XTYP_REQUEST:
    case XTYP_ADVREQ: return FieldData(item);
    case XTYP_ADVSTART: return reinterpret_cast<HDDEDATA>(fields.count(Text(item)) ? TRUE : FALSE);
    case XTYP_POKE:
      if (!fields.count(Text(item))) return nullptr;
      fields[Text(item)] = DataText(data);
      return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_EXECUTE:
      if (DataText(data) != "Modal" && DataText(data) != "Ping") return nullptr;
      if (DataText(data) == "Modal" && onExecute) onExecute();
      return reinterpret_cast<HDDEDATA>(DDE_FACK);
    default: return nullptr;
  }
}

HDDEDATA CALLBACK Record(UINT type, UINT, HCONV conversation, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                         ULONG_PTR, ULONG_PTR) {
  if (depth > 0) nested = true;
  ++depth;
  events.push_back({type, conversation, Text(hsz2), DataText(data)});
  if (type == XTYP_CONNECT_CONFIRM) recorded = conversation;
  if (type == XTYP_DISCONNECT && conversation == recorded) recorded = nullptr;
  HDDEDATA result = Answer(type, hsz1, hsz2, data);
  --depth;
  return result;
}

std::vector<UINT> Types() {
  std::vector<UINT> types;
  for (const Event& e : events) types.push_back(e.type);
  return types;
}

bool Seen(UINT type) {
  for (const Event& e : events)
    if (e.type == type) return true;
  return false;
}

int Zdde(const QStringList& arguments, std::string* output = nullptr) {
  return RunWhileServing(ZDDE_PROGRAM, arguments, output);
}

/* A socket to this process's own service, for speaking the wire directly. */
int RawConnection() {
  std::string path = dde::RuntimeDirectory() + "/" + dde::ServiceSocketName("Zarne", getpid());
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void Write(int fd, const std::string& bytes) {
  ASSERT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

/* Serves until the peer closed the socket (a read of zero bytes). */
bool ServeUntilClosed(int fd) {
  return SpinUntil([fd] {
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 0) <= 0) return false;
    char buffer[4096];
    return recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) == 0;
  });
}

/* A client's opening of the "Zarne" "Current" conversation, encoded. */
std::string Opening() {
  dde::wire::Message request;
  request.kind = dde::wire::Kind::Connect;
  request.hasService = request.hasTopic = true;
  request.service = "Zarne";
  request.topic = "Current";
  return dde::wire::Encode(request);
}

void WriteOpening(int fd) { Write(fd, Opening()); }

/* Reads from the raw socket, running the server meanwhile, until one whole frame has come;
   false when none came in time. */
bool ReadFrame(int fd, dde::wire::Message* reply) {
  std::string input;
  return SpinUntil([&] {
    char buffer[65536];
    ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) input.append(buffer, static_cast<size_t>(n));
    return dde::wire::TakeMessage(input, reply) == dde::wire::Parse::Complete;
  });
}

/* Opens a conversation on the raw socket; false when the server did not accept. */
bool RawConnect(int fd) {
  WriteOpening(fd);
  dde::wire::Message reply;
  return ReadFrame(fd, &reply) && reply.kind == dde::wire::Kind::ConnectReply && reply.accepted;
}

/* A client's transaction frame of the given type on an item (none when item is null), with
   data when given. */
dde::wire::Message TransactionFrame(uint32_t number, UINT type, const char* item,
                                    const std::string* data = nullptr) {
  dde::wire::Message frame;
  frame.kind = dde::wire::Kind::Transaction;
  frame.transaction = number;
  frame.type = type;
  frame.format = CF_TEXT;
  frame.hasItem = item != nullptr;
  if (item) frame.item = item;
  frame.hasData = data != nullptr;
  if (data) frame.data = *data;
  return frame;
}

class DdeServer : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareDdeTestProcess();
    events.clear();
    nested = false;
    onExecute = nullptr;
    oneConversationAtATime = false;
    recorded = nullptr;
    fields = {{"BuyerName", "Jane Q. Buyer"}, {"SalesPrice", "250,000.00"}};
    ASSERT_EQ(DdeInitialize(&serverInstance, Record, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0),
              0u);
    serviceName = DdeCreateStringHandle(serverInstance, "Zarne", CP_WINANSI);
    topicName = DdeCreateStringHandle(serverInstance, "Current", CP_WINANSI);
    ASSERT_TRUE(DdeNameService(serverInstance, serviceName, nullptr, DNS_REGISTER));
  }
  void TearDown() override {
    DdeNameService(serverInstance, nullptr, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(serverInstance, serviceName);
    DdeFreeStringHandle(serverInstance, topicName);
    DdeUninitialize(serverInstance);
  }
};

TEST_F(DdeServer, CallbackSeesEachTransactionInOrder) {
  std::string output;
  EXPECT_EQ(Zdde({"request", "zarne", "current", "BuyerName"}, &output), 0);
  EXPECT_EQ(output, "Jane Q. Buyer\n");
  EXPECT_EQ(Zdde({"poke", "Zarne", "Current", "BuyerName", "Ann Lee"}), 0);
  EXPECT_EQ(fields["BuyerName"], "Ann Lee");
  EXPECT_EQ(Zdde({"execute", "Zarne", "Current", "Ping"}), 0);

  Child advise(ZDDE_PROGRAM, {"advise", "Zarne", "Current", "SalesPrice"});
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_ADVSTART); }));
  fields["SalesPrice"] = "1,000.00";
  EXPECT_TRUE(DdePostAdvise(serverInstance, topicName, nullptr));
  ASSERT_TRUE(advise.WaitForLine("1,000.00"));
  EXPECT_EQ(advise.Interrupt(), 0);
  ASSERT_TRUE(SpinUntil([] { return events.back().type == XTYP_DISCONNECT; }));

  std::vector<UINT> expected = {XTYP_CONNECT, XTYP_CONNECT_CONFIRM, XTYP_REQUEST,  XTYP_DISCONNECT,
                                XTYP_CONNECT, XTYP_CONNECT_CONFIRM, XTYP_POKE,     XTYP_DISCONNECT,
                                XTYP_CONNECT, XTYP_CONNECT_CONFIRM, XTYP_EXECUTE,  XTYP_DISCONNECT,
                                XTYP_CONNECT, XTYP_CONNECT_CONFIRM, XTYP_ADVSTART, XTYP_ADVREQ,
                                XTYP_ADVSTOP, XTYP_DISCONNECT};
  EXPECT_EQ(Types(), expected);
  EXPECT_EQ(events[2].item, "BuyerName");
  EXPECT_EQ(events[6].data, "Ann Lee");
  EXPECT_EQ(events[10].data, "Ping");
  EXPECT_EQ(events[15].item, "SalesPrice");
  EXPECT_FALSE(nested);
}

TEST_F(DdeServer, RefusalsGiveZddeAFailingStatus) {
  EXPECT_EQ(Zdde({"request", "Zarne", "Elsewhere", "BuyerName"}), 1);
  EXPECT_EQ(Types(), std::vector<UINT>{XTYP_CONNECT});  // asked, refused, never confirmed
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "NoSuchField"}), 1);
  EXPECT_EQ(Zdde({"execute", "Zarne", "Current", "Format C:"}), 1);
  EXPECT_EQ(Zdde({"poke", "Zarne", "Current", "NoSuchField", "x"}), 1);
  EXPECT_EQ(Zdde({"request", "Nobody", "Current", "BuyerName"}), 1);
  EXPECT_EQ(Zdde({"request", "Zarne"}), 2);
}

TEST_F(DdeServer, ClientKilledMidConversationLeavesTheServerServing) {
  Child advise(ZDDE_PROGRAM, {"advise", "Zarne", "Current", "BuyerName"});
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_ADVSTART); }));
  advise.Kill();
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_DISCONNECT); }));
  events.clear();
  EXPECT_TRUE(DdePostAdvise(serverInstance, nullptr, nullptr));  // no link is left to serve
  EXPECT_TRUE(events.empty());
  std::string output;
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "BuyerName"}, &output), 0);
  EXPECT_EQ(output, "Jane Q. Buyer\n");
}

TEST_F(DdeServer, ServerEndingAConversationEndsTheClient) {
  Child advise(ZDDE_PROGRAM, {"advise", "Zarne", "Current", "BuyerName"});
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_ADVSTART); }));
  HCONV conversation = events[1].conversation;
  ASSERT_EQ(events[1].type, static_cast<UINT>(XTYP_CONNECT_CONFIRM));
  EXPECT_TRUE(DdeDisconnect(conversation));
  EXPECT_FALSE(DdeDisconnect(conversation));
  ASSERT_TRUE(SpinUntil([&] { return advise.process().state() == QProcess::NotRunning; }));
  EXPECT_EQ(advise.process().exitCode(), 1);
  EXPECT_FALSE(Seen(XTYP_DISCONNECT));  // the side that ends it is not told
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "BuyerName"}), 0);
}

TEST_F(DdeServer, ANewClientReplacesTheOneBefore) {
  oneConversationAtATime = true;
  Child first(ZDDE_PROGRAM, {"advise", "Zarne", "Current", "BuyerName"});
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_ADVSTART); }));
  std::string output;
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "SalesPrice"}, &output), 0);
  EXPECT_EQ(output, "250,000.00\n");
  ASSERT_TRUE(SpinUntil([&] { return first.process().state() == QProcess::NotRunning; }));
  EXPECT_EQ(first.process().exitCode(), 1);  // told its conversation ended
  events.clear();
  EXPECT_TRUE(DdePostAdvise(serverInstance, nullptr, nullptr));
  EXPECT_TRUE(events.empty());  // its link went with it
}

TEST_F(DdeServer, GarbageBeforeConnectingIsClosedWithoutACallback) {
  std::mt19937 random(1234);
  for (int round = 0; round < 3; ++round) {
    int fd = RawConnection();
    ASSERT_GE(fd, 0);
    std::string garbage(512, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    if (round == 1) garbage = std::string("\xFF\xFF\xFF\x7F", 4);    // a huge length
    if (round == 2) garbage = std::string("\5\0\0\0\1\0\0\0\0", 9);  // a truncated Connect
    Write(fd, garbage);
    EXPECT_TRUE(ServeUntilClosed(fd));
    close(fd);
  }
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "SalesPrice"}), 0);
}

/* A client writes its opening as soon as it has connected: the turn of the event loop that
   accepts the connection answers the opening too. */
TEST_F(DdeServer, AnOpeningWaitingAtTheAcceptIsAnsweredInTheSameTurn) {
  int fd = RawConnection();
  ASSERT_GE(fd, 0);
  WriteOpening(fd);
  QCoreApplication::processEvents();  // one turn, which does not wait
  char buffer[4096];
  ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
  ASSERT_GT(n, 0);
  std::string input(buffer, static_cast<size_t>(n));
  dde::wire::Message reply;
  ASSERT_EQ(dde::wire::TakeMessage(input, &reply), dde::wire::Parse::Complete);
  EXPECT_EQ(reply.kind, dde::wire::Kind::ConnectReply);
  EXPECT_TRUE(reply.accepted);
  std::vector<UINT> expected = {XTYP_CONNECT, XTYP_CONNECT_CONFIRM};
  EXPECT_EQ(Types(), expected);
  close(fd);
}

/* An opening that is not all there when the connection is accepted is answered once the
   rest arrives. */
TEST_F(DdeServer, AnOpeningSplitAcrossTurnsIsAnsweredWhenWhole) {
  int fd = RawConnection();
  ASSERT_GE(fd, 0);
  std::string opening = Opening();
  Write(fd, opening.substr(0, 6));
  for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
  EXPECT_TRUE(events.empty());
  Write(fd, opening.substr(6));
  dde::wire::Message reply;
  ASSERT_TRUE(ReadFrame(fd, &reply));
  EXPECT_EQ(reply.kind, dde::wire::Kind::ConnectReply);
  EXPECT_TRUE(reply.accepted);
  close(fd);
}

/* A client's own malformed traffic is no failure of the server: the application hears only
   that the conversation ended. */
TEST_F(DdeServer, GarbageInAConversationEndsItWithADisconnectAlone) {
  int fd = RawConnection();
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(RawConnect(fd));
  dde::wire::Message bad;
  bad.kind = dde::wire::Kind::Transaction;
  bad.type = XTYP_WILDCONNECT;  // not a transaction a client may send
  bad.hasItem = true;
  bad.item = "BuyerName";
  Write(fd, dde::wire::Encode(bad));
  EXPECT_TRUE(ServeUntilClosed(fd));
  close(fd);
  std::vector<UINT> expected = {XTYP_CONNECT, XTYP_CONNECT_CONFIRM, XTYP_DISCONNECT};
  ASSERT_TRUE(SpinUntil([] { return events.size() >= 3; }));
  EXPECT_EQ(Types(), expected);

  events.clear();
  fd = RawConnection();
  ASSERT_TRUE(RawConnect(fd));
  Write(fd, std::string("\xFF\xFF\xFF\xFFgarbage", 11));
  EXPECT_TRUE(ServeUntilClosed(fd));
  close(fd);
  ASSERT_TRUE(SpinUntil([] { return events.size() >= 3; }));
  EXPECT_EQ(Types(), expected);
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "BuyerName"}), 0);
}

TEST_F(DdeServer, FramesArrivingTogetherAreAnsweredInOrderBeforeAGoodbye) {
  int fd = RawConnection();
  ASSERT_TRUE(RawConnect(fd));
  // Two requests and then a frame no client may send, all in one write.
  std::string batch;
  uint32_t number = 0;
  for (const char* item : {"SalesPrice", "BuyerName"})
    batch += dde::wire::Encode(TransactionFrame(++number, XTYP_REQUEST, item));
  dde::wire::Message bad = TransactionFrame(0, XTYP_WILDCONNECT, "BuyerName");
  bad.format = 0;
  Write(fd, batch + dde::wire::Encode(bad));
  std::string input;
  ASSERT_TRUE(SpinUntil([&] {
    char buffer[4096];
    ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) input.append(buffer, static_cast<size_t>(n));
    return n == 0;
  }));
  close(fd);
  const std::string answers[] = {std::string("250,000.00\0", 11),
                                 std::string("Jane Q. Buyer\0", 14)};
  for (uint32_t i = 1; i <= 2; ++i) {
    dde::wire::Message reply;
    ASSERT_EQ(dde::wire::TakeMessage(input, &reply), dde::wire::Parse::Complete);
    EXPECT_EQ(reply.kind, dde::wire::Kind::TransactionReply);
    EXPECT_EQ(reply.transaction, i);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.data, answers[i - 1]);
  }
  dde::wire::Message last;
  ASSERT_EQ(dde::wire::TakeMessage(input, &last), dde::wire::Parse::Complete);
  EXPECT_EQ(last.kind, dde::wire::Kind::Disconnect);
  EXPECT_TRUE(input.empty());
}

TEST_F(DdeServer, AReplyHeldForABatchGoesOutBeforeAModalLoopWaits) {
  int fd = RawConnection();
  ASSERT_TRUE(RawConnect(fd));
  // A poke and then an execute whose callback runs a modal loop, in one write: the poke's
  // answer must reach the client while the loop runs, not when it ends.
  const std::string name("John Doe\0", 9), command("Modal\0", 6);
  const dde::wire::Message poke = TransactionFrame(1, XTYP_POKE, "BuyerName", &name);
  const dde::wire::Message execute = TransactionFrame(2, XTYP_EXECUTE, nullptr, &command);
  std::string input;
  bool answeredDuringTheLoop = false;
  onExecute = [&] {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    char buffer[4096];
    ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) input.append(buffer, static_cast<size_t>(n));
    dde::wire::Message reply;
    std::string copy = input;
    answeredDuringTheLoop = dde::wire::TakeMessage(copy, &reply) == dde::wire::Parse::Complete &&
                            reply.transaction == 1 && reply.ok;
  };
  Write(fd, dde::wire::Encode(poke) + dde::wire::Encode(execute));
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_EXECUTE); }));
  EXPECT_TRUE(answeredDuringTheLoop);
  EXPECT_EQ(fields["BuyerName"], "John Doe");
  close(fd);
}

TEST_F(DdeServer, ClientThatStopsReadingIsDroppedNotWaitedFor) {
  int fd = RawConnection();
  ASSERT_TRUE(RawConnect(fd));
  Write(fd, dde::wire::Encode(TransactionFrame(1, XTYP_ADVSTART, "BuyerName")));
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_ADVSTART); }));
  fields["BuyerName"] = std::string(512 * 1024, 'x');
  int posts = 0;
  // The client reads nothing; each post adds half a megabyte the server cannot send.
  while (!Seen(XTYP_DISCONNECT) && posts < 200) {
    DdePostAdvise(serverInstance, topicName, nullptr);
    ++posts;
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(Seen(XTYP_DISCONNECT));
  EXPECT_LT(posts, 200);
  EXPECT_GT(posts, 2);  // what the socket did not take was queued first
  close(fd);
  fields["BuyerName"] = "Jane Q. Buyer";
  std::string output;
  EXPECT_EQ(Zdde({"request", "Zarne", "Current", "BuyerName"}, &output), 0);
  EXPECT_EQ(output, "Jane Q. Buyer\n");
}

TEST_F(DdeServer, AReplyLargerThanTheSocketTakesReachesAClientThatReadsLate) {
  int fd = RawConnection();
  ASSERT_TRUE(RawConnect(fd));
  const std::string value(900 * 1024, 'x');
  fields["BuyerName"] = value;
  Write(fd, dde::wire::Encode(TransactionFrame(7, XTYP_REQUEST, "BuyerName")));
  // The server answers and keeps what its socket did not take while the client reads nothing.
  ASSERT_TRUE(SpinUntil([] { return Seen(XTYP_REQUEST); }));
  dde::wire::Message reply;
  EXPECT_TRUE(ReadFrame(fd, &reply));
  EXPECT_EQ(reply.kind, dde::wire::Kind::TransactionReply);
  EXPECT_EQ(reply.transaction, 7u);
  EXPECT_TRUE(reply.ok);
  EXPECT_EQ(reply.data, value + '\0');  // the text with its terminating NUL
  close(fd);
}

TEST_F(DdeServer, CallbacksNeverNestEvenWhenOneRunsAnEventLoop) {
  std::unique_ptr<Child> second;
  onExecute = [&] {
    // A modal loop inside the callback, as a message box would run, while another client
    // asks for something: its request waits until this callback has returned.
    second = std::make_unique<Child>(ZDDE_PROGRAM,
                                     QStringList{"request", "Zarne", "Current", "BuyerName"});
    SpinUntil([] { return false; }, 1000);
  };
  EXPECT_EQ(Zdde({"execute", "Zarne", "Current", "Modal"}), 0);
  ASSERT_TRUE(second);
  EXPECT_TRUE(second->WaitForLine("Jane Q. Buyer"));
  EXPECT_FALSE(nested);
  EXPECT_TRUE(Seen(XTYP_REQUEST));
}

}  // namespace
