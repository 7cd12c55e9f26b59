/*
** String and data handles, and the frame decoder's refusal of malformed input.
*/
#include "platform/dde/dde_handles.h"
#include "platform/dde/dde_wire.h"
#include "platform/dde/ddeml.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

class DdeHandles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(DdeInitialize(&instance, Ignore, APPCMD_CLIENTONLY, 0), 0u); }
  void TearDown() override { DdeUninitialize(instance); }
  DWORD instance = 0;
};

TEST_F(DdeHandles, StringHandlesNameOneTextRegardlessOfCaseAndCountUses) {
  size_t before = dde::LiveStringCount();
  HSZ first = DdeCreateStringHandle(instance, "Zarne", CP_WINANSI);
  HSZ second = DdeCreateStringHandle(instance, "ZARNE", CP_WINANSI);
  HSZ other = DdeCreateStringHandle(instance, "Current", CP_WINANSI);
  EXPECT_EQ(first, second);
  EXPECT_EQ(DdeCmpStringHandles(first, second), 0);
  EXPECT_EQ(DdeCmpStringHandles(other, first), -1);
  EXPECT_EQ(DdeCmpStringHandles(first, other), 1);
  EXPECT_EQ(DdeCmpStringHandles(nullptr, first), -1);

  char buffer[4];
  EXPECT_EQ(DdeQueryString(instance, first, nullptr, 0, CP_WINANSI), 5u);
  EXPECT_EQ(DdeQueryString(instance, first, buffer, sizeof buffer, CP_WINANSI), 3u);
  EXPECT_STREQ(buffer, "Zar");  // the text as first created, cut to the buffer

  EXPECT_TRUE(DdeFreeStringHandle(instance, first));
  EXPECT_EQ(DdeQueryString(instance, second, nullptr, 0, CP_WINANSI), 5u);  // one use left
  EXPECT_TRUE(DdeFreeStringHandle(instance, second));
  EXPECT_FALSE(DdeFreeStringHandle(instance, second));  // stale handle refused
  EXPECT_EQ(DdeQueryString(instance, second, nullptr, 0, CP_WINANSI), 0u);
  DdeFreeStringHandle(instance, other);
  EXPECT_EQ(dde::LiveStringCount(), before);
}

/* Texts made and released one after another (a client's item names) each get a handle of
   their own that names their own text; a released one stays refused. */
TEST_F(DdeHandles, StringsMadeAfterOthersWereReleasedAreTheirOwn) {
  size_t before = dde::LiveStringCount();
  const char* const names[] = {"BuyerName", "SalesPrice", "A much longer item name than most"};
  std::vector<HSZ> released;
  for (const char* name : names) {
    HSZ made = DdeCreateStringHandle(instance, name, CP_WINANSI);
    for (HSZ old : released) EXPECT_NE(made, old);
    char buffer[64];
    ASSERT_EQ(DdeQueryString(instance, made, buffer, sizeof buffer, CP_WINANSI), strlen(name));
    EXPECT_STREQ(buffer, name);
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    HSZ again = DdeCreateStringHandle(instance, upper.c_str(), CP_WINANSI);
    EXPECT_EQ(again, made);
    EXPECT_TRUE(DdeFreeStringHandle(instance, again));
    EXPECT_TRUE(DdeFreeStringHandle(instance, made));
    released.push_back(made);
  }
  for (HSZ old : released) {
    EXPECT_FALSE(DdeFreeStringHandle(instance, old));
    EXPECT_EQ(DdeQueryString(instance, old, nullptr, 0, CP_WINANSI), 0u);
  }
  // A released name made again is a new handle, found again under any case.
  HSZ buyer = DdeCreateStringHandle(instance, "buyername", CP_WINANSI);
  EXPECT_NE(buyer, released[0]);
  EXPECT_EQ(DdeCreateStringHandle(instance, "BUYERNAME", CP_WINANSI), buyer);
  HSZ price = DdeCreateStringHandle(instance, "SalesPrice", CP_WINANSI);
  EXPECT_NE(price, buyer);
  DdeFreeStringHandle(instance, buyer);
  DdeFreeStringHandle(instance, buyer);
  DdeFreeStringHandle(instance, price);
  EXPECT_EQ(dde::LiveStringCount(), before);
}

TEST_F(DdeHandles, StringHandlesRefuseWhatTheyCannotCarry) {
  EXPECT_EQ(DdeCreateStringHandle(instance, nullptr, CP_WINANSI), nullptr);
  EXPECT_EQ(DdeCreateStringHandle(instance, "x", CP_WINUNICODE), nullptr);
  EXPECT_EQ(DdeGetLastError(instance), static_cast<UINT>(DMLERR_INVALIDPARAMETER));
  EXPECT_EQ(DdeCreateStringHandle(instance, std::string(256, 'a').c_str(), CP_WINANSI), nullptr);
  EXPECT_EQ(DdeCreateStringHandle(instance + 100, "x", CP_WINANSI), nullptr);
}

TEST_F(DdeHandles, DataHandlesCopyWithOffsetsAndAreFreedOnce) {
  size_t before = dde::LiveDataCount();
  char text[] = "hello";
  HDDEDATA data =
      DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(text), 6, 2, nullptr, CF_TEXT, 0);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(DdeGetData(data, nullptr, 0, 0), 8u);
  char out[16] = {};
  EXPECT_EQ(DdeGetData(data, reinterpret_cast<LPBYTE>(out), 3, 2), 3u);
  EXPECT_EQ(std::string(out), "hel");
  EXPECT_EQ(DdeGetData(data, reinterpret_cast<LPBYTE>(out), sizeof out, 9), 0u);
  DWORD size = 0;
  LPBYTE bytes = DdeAccessData(data, &size);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_STREQ(reinterpret_cast<char*>(bytes) + 2, "hello");
  EXPECT_TRUE(DdeFreeDataHandle(data));
  EXPECT_FALSE(DdeFreeDataHandle(data));
  EXPECT_EQ(DdeGetData(data, nullptr, 0, 0), 0u);
  EXPECT_EQ(dde::LiveDataCount(), before);
}

TEST_F(DdeHandles, UninitializeFreesTheInstancesDataAndRefusesItAfterwards) {
  size_t before = dde::LiveDataCount();
  DWORD other = 0;
  ASSERT_EQ(DdeInitialize(&other, Ignore, APPCMD_CLIENTONLY, 0), 0u);
  DdeCreateDataHandle(other, nullptr, 10, 0, nullptr, CF_TEXT, 0);
  EXPECT_TRUE(DdeUninitialize(other));
  EXPECT_EQ(dde::LiveDataCount(), before);
  EXPECT_FALSE(DdeUninitialize(other));
  EXPECT_EQ(DdeCreateDataHandle(other, nullptr, 1, 0, nullptr, CF_TEXT, 0), nullptr);
}

dde::wire::Message Transaction() {
  dde::wire::Message m;
  m.kind = dde::wire::Kind::Transaction;
  m.transaction = 7;
  m.type = XTYP_POKE;
  m.format = CF_TEXT;
  m.hasItem = true;
  m.item = "BuyerName";
  m.hasData = true;
  m.data = std::string("x\0y", 3);
  return m;
}

TEST(DdeWire, FramesRoundTripAndArriveInPieces) {
  std::string bytes = dde::wire::Encode(Transaction()) + dde::wire::Encode(Transaction());
  std::string buffer;
  dde::wire::Message decoded;
  for (size_t i = 0; i + 1 < bytes.size() / 2; ++i) {
    buffer.push_back(bytes[i]);
    ASSERT_EQ(dde::wire::TakeMessage(buffer, &decoded), dde::wire::Parse::Incomplete);
  }
  buffer += bytes.substr(bytes.size() / 2 - 1);
  ASSERT_EQ(dde::wire::TakeMessage(buffer, &decoded), dde::wire::Parse::Complete);
  EXPECT_EQ(decoded.item, "BuyerName");
  EXPECT_EQ(decoded.data, std::string("x\0y", 3));
  EXPECT_EQ(decoded.transaction, 7u);
  ASSERT_EQ(dde::wire::TakeMessage(buffer, &decoded), dde::wire::Parse::Complete);
  EXPECT_TRUE(buffer.empty());
  // Read in place, each frame moves the offset past itself and leaves the buffer alone; a
  // frame's first bytes alone move nothing.
  std::string held = bytes + bytes.substr(0, 3);
  size_t at = 0;
  ASSERT_EQ(dde::wire::ReadMessageAt(held, &at, &decoded), dde::wire::Parse::Complete);
  EXPECT_EQ(at, bytes.size() / 2);
  ASSERT_EQ(dde::wire::ReadMessageAt(held, &at, &decoded), dde::wire::Parse::Complete);
  EXPECT_EQ(decoded.item, "BuyerName");
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(dde::wire::ReadMessageAt(held, &at, &decoded), dde::wire::Parse::Incomplete);
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(held.size(), bytes.size() + 3);
}

/* A reader decodes every frame of a read into one message: nothing of a frame is left in
   it for the next. */
TEST(DdeWire, AFrameDecodedIntoAUsedMessageHasOnlyItsOwnFields) {
  dde::wire::Message bye;
  bye.kind = dde::wire::Kind::Disconnect;
  dde::wire::Message execute;
  execute.kind = dde::wire::Kind::Transaction;
  execute.transaction = 8;
  execute.type = XTYP_EXECUTE;
  execute.hasData = true;
  execute.data = "GetNextTI";
  std::string bytes =
      dde::wire::Encode(Transaction()) + dde::wire::Encode(bye) + dde::wire::Encode(execute);
  size_t at = 0;
  dde::wire::Message decoded;
  ASSERT_EQ(dde::wire::ReadMessageAt(bytes, &at, &decoded), dde::wire::Parse::Complete);
  ASSERT_EQ(dde::wire::ReadMessageAt(bytes, &at, &decoded), dde::wire::Parse::Complete);
  EXPECT_EQ(decoded.kind, dde::wire::Kind::Disconnect);
  EXPECT_FALSE(decoded.hasItem);
  EXPECT_TRUE(decoded.item.empty());
  EXPECT_FALSE(decoded.hasData);
  EXPECT_TRUE(decoded.data.empty());
  EXPECT_EQ(decoded.transaction, 0u);
  ASSERT_EQ(dde::wire::ReadMessageAt(bytes, &at, &decoded), dde::wire::Parse::Complete);
  EXPECT_EQ(decoded.transaction, 8u);
  EXPECT_FALSE(decoded.hasItem);
  EXPECT_TRUE(decoded.item.empty());
  EXPECT_EQ(decoded.data, "GetNextTI");
  EXPECT_EQ(at, bytes.size());
}

TEST(DdeWire, MalformedFramesAreRefused) {
  auto parse = [](std::string bytes) {
    dde::wire::Message m;
    return dde::wire::TakeMessage(bytes, &m);
  };
  std::string good = dde::wire::Encode(Transaction());
  // A length beyond the limit is refused before any body arrives.
  EXPECT_EQ(parse(std::string("\xF0\xFF\xFF\x7F", 4)), dde::wire::Parse::Malformed);
  EXPECT_EQ(parse(std::string("\0\0\0\0", 4)), dde::wire::Parse::Malformed);
  // An unknown kind.
  EXPECT_EQ(parse(std::string("\1\0\0\0\x63", 5)), dde::wire::Parse::Malformed);
  // A body one byte short of its fields, and one with a byte left over.
  std::string shorter = good.substr(0, good.size() - 1);
  shorter[0] = static_cast<char>(shorter[0] - 1);
  EXPECT_EQ(parse(shorter), dde::wire::Parse::Malformed);
  std::string longer = good + "z";
  longer[0] = static_cast<char>(longer[0] + 1);
  EXPECT_EQ(parse(longer), dde::wire::Parse::Malformed);
  // A data length that claims more than the frame holds.
  std::string lying = good;
  lying[lying.size() - 7] = '\x7F';
  EXPECT_EQ(parse(lying), dde::wire::Parse::Malformed);
  // A flag byte that is neither 0 nor 1.
  std::string flag = good;
  flag[4 + 1 + 4 + 2 + 2] = 5;
  EXPECT_EQ(parse(flag), dde::wire::Parse::Malformed);
}

}  // namespace
