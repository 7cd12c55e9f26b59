/*
** The messages two programs exchange over a conversation socket, and their byte form.
**
** A frame is a 32-bit little-endian body length followed by the body: one kind byte and
** that kind's fields. Names are at most 255 bytes, data at most 1 MiB; anything longer,
** shorter than its fields, or with bytes left over is malformed, and the conversation that
** sent it is ended.
*/
#ifndef ZARNE_PLATFORM_DDE_DDE_WIRE_H
#define ZARNE_PLATFORM_DDE_DDE_WIRE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dde::wire {

constexpr size_t kMaxName = 255;
constexpr size_t kMaxData = 1u << 20;
constexpr size_t kMaxPairs = 256;
constexpr size_t kMaxBody = kMaxData + 1024;

enum class Kind : uint8_t {
  Connect = 1,           // client: open a conversation on (service, topic); either may be absent
  ConnectReply = 2,      // server: accepted or not, with the service and topic it serves
  WildQuery = 3,         // client: which (service, topic) pairs match; the socket then closes
  WildReply = 4,         // server: the pairs
  Transaction = 5,       // client: request, poke, execute, advise start or stop
  TransactionReply = 6,  // server: the answer to one transaction, by its number
  AdviseData = 7,        // server: an advised item changed (with data on a hot link)
  Disconnect = 8,        // either side: the conversation ends
};

struct Message {
  Kind kind = Kind::Disconnect;
  bool accepted = false;
  bool hasService = false;
  bool hasTopic = false;
  std::string service;
  std::string topic;
  std::vector<std::pair<std::string, std::string>> pairs;
  uint32_t transaction = 0;
  uint16_t type = 0;
  uint16_t format = 0;
  uint16_t status = 0;
  bool ok = false;
  bool hasItem = false;
  std::string item;
  bool hasData = false;
  std::string data;
};

/* The whole frame, length prefix included. Names and data must be within the limits. */
std::string Encode(const Message& message);
/* The same frame, appended to out. */
void EncodeTo(const Message& message, std::string* out);

enum class Parse { Incomplete, Complete, Malformed };

/* Takes one frame off the front of buffer when a whole one is there. */
Parse TakeMessage(std::string& buffer, Message* message);
/* Reads the frame that starts at *at in buffer when a whole one is there, and moves *at past
   it; a reader of many frames drops the ones it has read from its buffer once, not one by
   one. */
Parse ReadMessageAt(std::string_view buffer, size_t* at, Message* message);

}  // namespace dde::wire

#endif
