/*
** This process as the client of a test server in another process: connecting, refused
** connections, request, poke, execute, advise links, wild connect, timeouts, a server
** that dies, and many requests without growth.
*/
#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/ddeml.h"

#include "dde_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

struct Heard {
  UINT type;
  std::string item;
  std::string text;
  bool hadData;
};
std::vector<Heard> heard;

std::string TextOf(HDDEDATA data) {
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  return text.substr(0, text.find('\0'));
}

DWORD clientInstance = 0;

HDDEDATA CALLBACK OnClientTransaction(UINT type, UINT, HCONV, HSZ, HSZ item, HDDEDATA data,
                                      ULONG_PTR, ULONG_PTR) {
  char name[256] = "";
  if (item) DdeQueryString(clientInstance, item, name, sizeof name, CP_WINANSI);
  heard.push_back({type, name, data ? TextOf(data) : std::string(), data != nullptr});
  return reinterpret_cast<HDDEDATA>(type == XTYP_ADVDATA ? DDE_FACK : 0);
}

class DdeClient : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareDdeTestProcess();
    heard.clear();
    server = std::make_unique<Child>(DDE_TEST_SERVER, QStringList{"Zarne"});
    ASSERT_TRUE(server->WaitForLine("ready"));
    ASSERT_EQ(DdeInitialize(&clientInstance, OnClientTransaction, APPCMD_CLIENTONLY, 0), 0u);
    service = DdeCreateStringHandle(clientInstance, "zarne", CP_WINANSI);
    topic = DdeCreateStringHandle(clientInstance, "CURRENT", CP_WINANSI);
  }
  void TearDown() override {
    DdeFreeStringHandle(clientInstance, service);
    DdeFreeStringHandle(clientInstance, topic);
    DdeUninitialize(clientInstance);
    clientInstance = 0;
  }
  HSZ Name(const char* text) { return DdeCreateStringHandle(clientInstance, text, CP_WINANSI); }
  std::string Request(HCONV conversation, const char* itemName, DWORD timeout = 5000) {
    HSZ item = Name(itemName);
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST,
                                         timeout, nullptr);
    DdeFreeStringHandle(clientInstance, item);
    if (!data) return "<refused>";
    std::string text = TextOf(data);
    DdeFreeDataHandle(data);
    return text;
  }
  bool Send(HCONV conversation, UINT type, const char* itemName, std::string text,
            DWORD timeout = 5000, DWORD* status = nullptr) {
    HSZ item = itemName ? Name(itemName) : nullptr;
    HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()),
                                         static_cast<DWORD>(text.size() + 1), conversation, item,
                                         CF_TEXT, type, timeout, status);
    if (item) DdeFreeStringHandle(clientInstance, item);
    return done != nullptr;
  }

  std::unique_ptr<Child> server;
  HSZ service = nullptr;
  HSZ topic = nullptr;
};

TEST_F(DdeClient, RequestPokeAndExecuteOnOneConversation) {
  HCONV conversation = DdeConnect(clientInstance, service, topic, nullptr);
  ASSERT_NE(conversation, nullptr);
  EXPECT_EQ(Request(conversation, "BuyerName"), "Jane Q. Buyer");
  EXPECT_EQ(Request(conversation, "NoSuchField"), "<refused>");
  EXPECT_EQ(DdeGetLastError(clientInstance), static_cast<UINT>(DMLERR_NOTPROCESSED));

  DWORD status = 0;
  EXPECT_TRUE(Send(conversation, XTYP_POKE, "BuyerName", "John Smith", 5000, &status));
  EXPECT_EQ(status, static_cast<DWORD>(DDE_FACK));
  EXPECT_EQ(Request(conversation, "BuyerName"), "John Smith");
  EXPECT_FALSE(Send(conversation, XTYP_POKE, "NoSuchField", "x"));

  EXPECT_TRUE(Send(conversation, XTYP_EXECUTE, nullptr, "Ping"));
  EXPECT_FALSE(Send(conversation, XTYP_EXECUTE, nullptr, "NotACommand"));
  EXPECT_EQ(DdeGetLastError(clientInstance), static_cast<UINT>(DMLERR_NOTPROCESSED));

  // Transactions the client may not send are refused before anything goes out.
  EXPECT_EQ(
      DdeClientTransaction(nullptr, 0, conversation, nullptr, CF_TEXT, XTYP_REQUEST, 1000, nullptr),
      nullptr);
  EXPECT_EQ(DdeGetLastError(clientInstance), static_cast<UINT>(DMLERR_INVALIDPARAMETER));
  EXPECT_EQ(DdeClientTransaction(nullptr, 0, conversation, topic, CF_TEXT, XTYP_REQUEST,
                                 TIMEOUT_ASYNC, nullptr),
            nullptr);
  EXPECT_TRUE(DdeDisconnect(conversation));
  EXPECT_FALSE(DdeDisconnect(conversation));
  EXPECT_TRUE(server->WaitForLine("disconnect"));
}

TEST_F(DdeClient, UnknownTopicOrServiceIsRefused) {
  HSZ otherTopic = Name("Elsewhere");
  HSZ otherService = Name("Nobody");
  EXPECT_EQ(DdeConnect(clientInstance, service, otherTopic, nullptr), nullptr);
  EXPECT_EQ(DdeGetLastError(clientInstance), static_cast<UINT>(DMLERR_NO_CONV_ESTABLISHED));
  EXPECT_EQ(DdeConnect(clientInstance, otherService, topic, nullptr), nullptr);
  EXPECT_TRUE(server->WaitForLine("connect"));  // the server was asked, and said no
  EXPECT_EQ(server->Output().find("confirm"), std::string::npos);
  DdeFreeStringHandle(clientInstance, otherTopic);
  DdeFreeStringHandle(clientInstance, otherService);
}

TEST_F(DdeClient, HotAndWarmLinksReachTheCallbackUntilStopped) {
  HCONV conversation = DdeConnect(clientInstance, service, topic, nullptr);
  ASSERT_NE(conversation, nullptr);
  HSZ buyer = Name("BuyerName");
  HSZ price = Name("SalesPrice");
  ASSERT_TRUE(
      DdeClientTransaction(nullptr, 0, conversation, buyer, CF_TEXT, XTYP_ADVSTART, 5000, nullptr));
  ASSERT_TRUE(DdeClientTransaction(nullptr, 0, conversation, price, CF_TEXT,
                                   XTYP_ADVSTART | XTYPF_NODATA, 5000, nullptr));

  EXPECT_TRUE(Send(conversation, XTYP_POKE, "BuyerName", "Ann Lee"));
  EXPECT_TRUE(Send(conversation, XTYP_POKE, "SalesPrice", "1.00"));
  ASSERT_TRUE(SpinUntil([] { return heard.size() >= 2; }));
  EXPECT_EQ(heard[0].type, static_cast<UINT>(XTYP_ADVDATA));
  EXPECT_EQ(heard[0].item, "BuyerName");
  EXPECT_EQ(heard[0].text, "Ann Lee");
  EXPECT_EQ(heard[1].item, "SalesPrice");
  EXPECT_FALSE(heard[1].hadData);  // a warm link hears of the change only

  ASSERT_TRUE(
      DdeClientTransaction(nullptr, 0, conversation, buyer, CF_TEXT, XTYP_ADVSTOP, 5000, nullptr));
  // Stopping a link that does not exist is refused.
  EXPECT_EQ(
      DdeClientTransaction(nullptr, 0, conversation, buyer, CF_TEXT, XTYP_ADVSTOP, 5000, nullptr),
      nullptr);
  heard.clear();
  EXPECT_TRUE(Send(conversation, XTYP_POKE, "BuyerName", "Nobody Hears"));
  EXPECT_TRUE(Send(conversation, XTYP_POKE, "SalesPrice", "2.00"));
  ASSERT_TRUE(SpinUntil([] { return !heard.empty(); }));
  SpinUntil([] { return false; }, 200);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].item, "SalesPrice");
  DdeFreeStringHandle(clientInstance, buyer);
  DdeFreeStringHandle(clientInstance, price);
  DdeDisconnect(conversation);
}

TEST_F(DdeClient, WildConnectListsTheServiceAndItsTopic) {
  HCONVLIST list = DdeConnectList(clientInstance, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  HCONV first = DdeQueryNextServer(list, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(DdeQueryNextServer(list, first), nullptr);
  CONVINFO info{};
  info.cb = sizeof info;
  ASSERT_EQ(DdeQueryConvInfo(first, QID_SYNC, &info), sizeof info);
  char name[64];
  DdeQueryString(clientInstance, info.hszSvcPartner, name, sizeof name, CP_WINANSI);
  EXPECT_STRCASEEQ(name, "Zarne");
  DdeQueryString(clientInstance, info.hszTopic, name, sizeof name, CP_WINANSI);
  EXPECT_STRCASEEQ(name, "Current");
  EXPECT_EQ(Request(first, "SalesPrice"), "250,000.00");
  EXPECT_TRUE(DdeDisconnectList(list));
  EXPECT_TRUE(server->WaitForLine("wildconnect"));  // the server's callback drew up the list

  // A service left open connects to the first topic the server lists.
  HCONV any = DdeConnect(clientInstance, nullptr, topic, nullptr);
  ASSERT_NE(any, nullptr);
  EXPECT_EQ(Request(any, "BuyerName"), "Jane Q. Buyer");
  DdeDisconnect(any);
  HSZ otherTopic = Name("Elsewhere");
  EXPECT_EQ(DdeConnectList(clientInstance, nullptr, otherTopic, nullptr, nullptr), nullptr);
  DdeFreeStringHandle(clientInstance, otherTopic);
}

TEST_F(DdeClient, TimeoutFailsOneTransactionAndTheConversationGoesOn) {
  HCONV conversation = DdeConnect(clientInstance, service, topic, nullptr);
  ASSERT_NE(conversation, nullptr);
  EXPECT_FALSE(Send(conversation, XTYP_EXECUTE, nullptr, "Slow", 200));
  EXPECT_EQ(DdeGetLastError(clientInstance), static_cast<UINT>(DMLERR_EXECACKTIMEOUT));
  // The late answer to the slow command is not taken for this one.
  EXPECT_EQ(Request(conversation, "BuyerName", 10000), "Jane Q. Buyer");
  DdeDisconnect(conversation);
}

TEST_F(DdeClient, ServerThatDiesEndsTheConversationAndLeavesNoSocket) {
  HCONV conversation = DdeConnect(clientInstance, service, topic, nullptr);
  ASSERT_NE(conversation, nullptr);
  server->Kill();
  ASSERT_TRUE(SpinUntil([] { return !heard.empty(); }));
  EXPECT_EQ(heard[0].type, static_cast<UINT>(XTYP_DISCONNECT));
  EXPECT_EQ(Request(conversation, "BuyerName"), "<refused>");
  // The dead server's socket is still in the directory until someone looks.
  EXPECT_EQ(DdeConnect(clientInstance, service, topic, nullptr), nullptr);
  EXPECT_TRUE(dde::ListServiceSockets().empty());
}

TEST_F(DdeClient, TenThousandRequestsDoNotGrowEitherSide) {
  HCONV conversation = DdeConnect(clientInstance, service, topic, nullptr);
  ASSERT_NE(conversation, nullptr);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(Request(conversation, "BuyerName"), "Jane Q. Buyer");
  std::string serverHandles = Request(conversation, "LiveHandles");
  size_t strings = dde::LiveStringCount(), data = dde::LiveDataCount();
  long serverKiB = ResidentKiB(server->pid());
  for (int i = 0; i < 10000; ++i)
    ASSERT_EQ(Request(conversation, "BuyerName"), "Jane Q. Buyer")
        << i << " " << DdeGetLastError(clientInstance);
  EXPECT_EQ(Request(conversation, "LiveHandles"), serverHandles);
  EXPECT_EQ(dde::LiveStringCount(), strings);
  EXPECT_EQ(dde::LiveDataCount(), data);
  // A leak of even 50 bytes a request would show as 500 KiB.
  EXPECT_LT(ResidentKiB(server->pid()) - serverKiB, 256);
  DdeDisconnect(conversation);
}

}  // namespace
