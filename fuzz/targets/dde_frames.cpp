/*
** Fuzz target: bytes arriving on a DDE conversation socket, taken frame by frame by the wire
** decoder as the conversation reader does. Every frame decoded must encode back to exactly
** the bytes it came from, and decode again to the same message.
*/
#include "fuzz/fuzz_support.h"
#include "platform/dde/dde_wire.h"

#include <string>

namespace {

using dde::wire::Message;

bool SameMessage(const Message& a, const Message& b) {
  return a.kind == b.kind && a.accepted == b.accepted && a.hasService == b.hasService &&
         a.hasTopic == b.hasTopic && a.service == b.service && a.topic == b.topic &&
         a.pairs == b.pairs && a.transaction == b.transaction && a.type == b.type &&
         a.format == b.format && a.status == b.status && a.ok == b.ok && a.hasItem == b.hasItem &&
         a.item == b.item && a.hasData == b.hasData && a.data == b.data;
}

void CheckRoundTrip(const Message& message, const std::string& frame) {
  std::string encoded = dde::wire::Encode(message);
  FuzzRequire(encoded == frame, "a decoded frame encodes back to its own bytes");
  Message again;
  FuzzRequire(dde::wire::TakeMessage(encoded, &again) == dde::wire::Parse::Complete,
              "an encoded message decodes");
  FuzzRequire(encoded.empty(), "decoding takes the whole encoded frame");
  FuzzRequire(SameMessage(message, again), "an encoded message decodes to itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string buffer(reinterpret_cast<const char*>(data), size);
  for (;;) {
    std::string before = buffer;
    Message message;
    dde::wire::Parse result = dde::wire::TakeMessage(buffer, &message);
    if (result == dde::wire::Parse::Incomplete) {
      FuzzRequire(buffer == before, "an incomplete frame is left in the buffer");
      break;
    }
    if (result == dde::wire::Parse::Malformed) break;  // the conversation ends here
    FuzzRequire(buffer.size() < before.size(), "a frame taken shortens the buffer");
    FuzzRequire(before.compare(before.size() - buffer.size(), buffer.size(), buffer) == 0,
                "what follows a frame is left as it was");
    CheckRoundTrip(message, before.substr(0, before.size() - buffer.size()));
  }
  return 0;
}
