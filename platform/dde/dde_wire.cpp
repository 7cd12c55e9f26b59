/*
** Encoding and strict decoding of conversation frames. The decoder checks every length
** against what is left before reading, so no byte sequence can make it read out of bounds.
*/
#include "platform/dde/dde_wire.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace dde::wire {
namespace {

/* Appends to a buffer that may already hold frames: a server queues its replies in one. */
class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) {
    const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out_.append(bytes, 2);
  }
  void U32(uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out_.append(bytes, 4);
  }
  void Name(const std::string& s) {
    U16(static_cast<uint16_t>(s.size()));
    out_ += s;
  }
  void Blob(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    out_ += s;
  }

 private:
  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view body) : rest_(body) {}
  bool U8(uint8_t* v) {
    if (rest_.empty()) return false;
    *v = static_cast<uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return true;
  }
  bool U16(uint16_t* v) {
    if (rest_.size() < 2) return false;
    *v = static_cast<uint16_t>(Byte(0) | (Byte(1) << 8));
    rest_.remove_prefix(2);
    return true;
  }
  bool U32(uint32_t* v) {
    if (rest_.size() < 4) return false;
    *v = Byte(0) | (Byte(1) << 8) | (Byte(2) << 16) | (static_cast<uint32_t>(Byte(3)) << 24);
    rest_.remove_prefix(4);
    return true;
  }
  bool Bool(bool* v) {
    uint8_t b;
    if (!U8(&b) || b > 1) return false;
    *v = b == 1;
    return true;
  }
  bool Name(std::string* s) {
    uint16_t n;
    return U16(&n) && n <= kMaxName && Bytes(n, s);
  }
  bool Blob(std::string* s) {
    uint32_t n;
    return U32(&n) && n <= kMaxData && Bytes(n, s);
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  uint32_t Byte(size_t i) const { return static_cast<uint8_t>(rest_[i]); }
  bool Bytes(size_t n, std::string* s) {
    if (rest_.size() < n) return false;
    s->assign(rest_.data(), n);
    rest_.remove_prefix(n);
    return true;
  }
  std::string_view rest_;
};

void EncodeBody(const Message& m, Writer& w) {
  w.U8(static_cast<uint8_t>(m.kind));
  switch (m.kind) {
    case Kind::Connect:
    case Kind::WildQuery:
      w.U8(static_cast<uint8_t>((m.hasService ? 1 : 0) | (m.hasTopic ? 2 : 0)));
      w.Name(m.service);
      w.Name(m.topic);
      break;
    case Kind::ConnectReply:
      w.U8(m.accepted ? 1 : 0);
      w.Name(m.service);
      w.Name(m.topic);
      break;
    case Kind::WildReply:
      w.U16(static_cast<uint16_t>(m.pairs.size()));
      for (const auto& [service, topic] : m.pairs) {
        w.Name(service);
        w.Name(topic);
      }
      break;
    case Kind::Transaction:
      w.U32(m.transaction);
      w.U16(m.type);
      w.U16(m.format);
      w.U8(m.hasItem ? 1 : 0);
      w.Name(m.item);
      w.U8(m.hasData ? 1 : 0);
      w.Blob(m.data);
      break;
    case Kind::TransactionReply:
      w.U32(m.transaction);
      w.U8(m.ok ? 1 : 0);
      w.U16(m.status);
      w.U8(m.hasData ? 1 : 0);
      w.Blob(m.data);
      break;
    case Kind::AdviseData:
      w.U16(m.format);
      w.Name(m.item);
      w.U8(m.hasData ? 1 : 0);
      w.Blob(m.data);
      break;
    case Kind::Disconnect: break;
  }
}

/* Back to a new message's values, keeping the texts' buffers: a reader of many frames
   decodes them all into one message. */
void Reset(Message* m) {
  m->kind = Kind::Disconnect;
  m->accepted = m->hasService = m->hasTopic = false;
  m->service.clear();
  m->topic.clear();
  m->pairs.clear();
  m->transaction = 0;
  m->type = m->format = m->status = 0;
  m->ok = m->hasItem = m->hasData = false;
  m->item.clear();
  m->data.clear();
}

bool DecodeBody(std::string_view body, Message* m) {
  Reader r(body);
  uint8_t kind = 0, flags = 0;
  if (!r.U8(&kind)) return false;
  Reset(m);
  m->kind = static_cast<Kind>(kind);
  bool ok = false;
  switch (m->kind) {
    case Kind::Connect:
    case Kind::WildQuery:
      ok = r.U8(&flags) && flags <= 3 && r.Name(&m->service) && r.Name(&m->topic);
      m->hasService = (flags & 1) != 0;
      m->hasTopic = (flags & 2) != 0;
      break;
    case Kind::ConnectReply:
      ok = r.Bool(&m->accepted) && r.Name(&m->service) && r.Name(&m->topic);
      break;
    case Kind::WildReply: {
      uint16_t count;
      ok = r.U16(&count) && count <= kMaxPairs;
      for (uint16_t i = 0; ok && i < count; ++i) {
        std::string service, topic;
        ok = r.Name(&service) && r.Name(&topic);
        m->pairs.emplace_back(std::move(service), std::move(topic));
      }
      break;
    }
    case Kind::Transaction:
      ok = r.U32(&m->transaction) && r.U16(&m->type) && r.U16(&m->format) && r.Bool(&m->hasItem) &&
           r.Name(&m->item) && r.Bool(&m->hasData) && r.Blob(&m->data);
      break;
    case Kind::TransactionReply:
      ok = r.U32(&m->transaction) && r.Bool(&m->ok) && r.U16(&m->status) && r.Bool(&m->hasData) &&
           r.Blob(&m->data);
      break;
    case Kind::AdviseData:
      ok = r.U16(&m->format) && r.Name(&m->item) && r.Bool(&m->hasData) && r.Blob(&m->data);
      break;
    case Kind::Disconnect: ok = true; break;
    default: return false;
  }
  return ok && r.AtEnd();
}

}  // namespace

void EncodeTo(const Message& message, std::string* out) {
  // Sized once for the fixed fields and the texts; the length in front is written when the
  // body is known.
  size_t start = out->size();
  out->reserve(start + 32 + message.service.size() + message.topic.size() + message.item.size() +
               message.data.size());
  Writer frame(*out);
  frame.U32(0);
  EncodeBody(message, frame);
  uint32_t length = static_cast<uint32_t>(out->size() - start - 4);
  for (int i = 0; i < 4; ++i) (*out)[start + i] = static_cast<char>(length >> (8 * i));
}

std::string Encode(const Message& message) {
  std::string bytes;
  EncodeTo(message, &bytes);
  return bytes;
}

Parse ReadMessageAt(std::string_view buffer, size_t* at, Message* message) {
  std::string_view rest = buffer.substr(std::min(*at, buffer.size()));
  if (rest.size() < 4) return Parse::Incomplete;
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<uint8_t>(rest[i]);
  if (length == 0 || length > kMaxBody) return Parse::Malformed;
  if (rest.size() < 4 + static_cast<size_t>(length)) return Parse::Incomplete;
  *at += 4 + static_cast<size_t>(length);
  return DecodeBody(rest.substr(4, length), message) ? Parse::Complete : Parse::Malformed;
}

Parse TakeMessage(std::string& buffer, Message* message) {
  size_t at = 0;
  Parse parse = ReadMessageAt(buffer, &at, message);
  buffer.erase(0, at);
  return parse;
}

}  // namespace dde::wire
