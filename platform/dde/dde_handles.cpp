/*
** String and data handle tables. Both are guarded by one mutex so that a handle made on
** one thread can be read on another, though the library itself works on the GUI thread.
*/
#include "platform/dde/dde_handles.h"

#include "platform/kernel/text.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace dde {
namespace {

struct StringEntry {
  std::string text;  // as first created
  std::string key;   // upper-case form, for lookup
  size_t uses = 0;
};

/* How many released strings' and data blocks' table entries are kept for new ones. */
constexpr size_t kSpareEntries = 16;
/* A freed block is kept only when its buffers are small: a kept block keeps its memory. */
constexpr size_t kSpareDataBytes = 4096;

struct Tables {
  using Strings = std::unordered_map<uintptr_t, StringEntry>;
  using Keys = std::unordered_map<std::string, uintptr_t>;
  std::mutex mutex;
  Strings strings;
  Keys stringByKey;
  uintptr_t nextString = 0xC000;
  // A client's every transaction names its item, which is made and released again around
  // it: the entries of released strings are kept, a few, and filled anew for the next ones
  // instead of being freed and allocated each time.
  std::vector<Strings::node_type> spareStrings;
  std::vector<Keys::node_type> spareKeys;
  std::string key;  // the upper-case form of the text being looked up
  using Data = std::unordered_map<uintptr_t, DataBlock>;
  Data data;
  // Every poke and execute hands the callback a data handle made and freed around it: the
  // entries of freed blocks are kept likewise, a few small ones.
  std::vector<Data::node_type> spareData;
  // Data handles start well above the small values (TRUE, DDE_FACK) that callbacks
  // also answer with, so the two never meet.
  uintptr_t nextData = 0x100000;
};

Tables& tables() {
  static Tables* instance = new Tables;  // lives to the end of the process
  return *instance;
}

void SetUpperKey(std::string_view text, std::string* key) {
  key->assign(text);
  for (char& c : *key) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
}

/* Keeps a released entry for reuse, while there is room for it. */
template <typename Node>
void KeepSpare(std::vector<Node>& spares, Node node) {
  if (!node.empty() && spares.size() < kSpareEntries) spares.push_back(std::move(node));
}

void AddString(Tables& t, uintptr_t value, std::string_view text) {
  if (t.spareStrings.empty() || t.spareKeys.empty()) {
    t.strings.emplace(value, StringEntry{std::string(text), t.key, 1});
    t.stringByKey.emplace(t.key, value);
    return;
  }
  Tables::Strings::node_type entry = std::move(t.spareStrings.back());
  t.spareStrings.pop_back();
  entry.key() = value;
  entry.mapped().text.assign(text);
  entry.mapped().key.assign(t.key);
  entry.mapped().uses = 1;
  t.strings.insert(std::move(entry));
  Tables::Keys::node_type key = std::move(t.spareKeys.back());
  t.spareKeys.pop_back();
  key.key().assign(t.key);
  key.mapped() = value;
  t.stringByKey.insert(std::move(key));
}

uintptr_t Value(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

}  // namespace

HSZ InternString(std::string_view text) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  SetUpperKey(text, &t.key);
  auto found = t.stringByKey.find(t.key);
  if (found != t.stringByKey.end()) {
    ++t.strings.find(found->second)->second.uses;
    return reinterpret_cast<HSZ>(found->second);
  }
  uintptr_t value = t.nextString++;
  AddString(t, value, text);
  return reinterpret_cast<HSZ>(value);
}

bool RetainString(HSZ hsz) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto found = t.strings.find(Value(hsz));
  if (found == t.strings.end()) return false;
  ++found->second.uses;
  return true;
}

bool ReleaseString(HSZ hsz) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto found = t.strings.find(Value(hsz));
  if (found == t.strings.end()) return false;
  if (--found->second.uses == 0) {
    KeepSpare(t.spareKeys, t.stringByKey.extract(found->second.key));
    KeepSpare(t.spareStrings, t.strings.extract(found));
  }
  return true;
}

bool StringText(HSZ hsz, std::string* text) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto found = t.strings.find(Value(hsz));
  if (found == t.strings.end()) return false;
  *text = found->second.text;
  return true;
}

std::string StringTextOrEmpty(HSZ hsz) {
  std::string text;
  if (hsz) StringText(hsz, &text);
  return text;
}

size_t LiveStringCount() {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  return t.strings.size();
}

HDDEDATA NewData(DWORD instance, std::string_view bytes, std::string_view item, UINT format,
                 bool appOwned) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  uintptr_t value = t.nextData++;
  if (t.spareData.empty()) {
    t.data.emplace(value,
                   DataBlock{std::string(bytes), std::string(item), format, appOwned, instance});
    return reinterpret_cast<HDDEDATA>(value);
  }
  Tables::Data::node_type entry = std::move(t.spareData.back());
  t.spareData.pop_back();
  entry.key() = value;
  DataBlock& block = entry.mapped();
  block.bytes.assign(bytes);
  block.item.assign(item);
  block.format = format;
  block.appOwned = appOwned;
  block.instance = instance;
  t.data.insert(std::move(entry));
  return reinterpret_cast<HDDEDATA>(value);
}

DataBlock* FindData(HDDEDATA data) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto found = t.data.find(Value(data));
  return found == t.data.end() ? nullptr : &found->second;
}

bool ReleaseData(HDDEDATA data) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  auto found = t.data.find(Value(data));
  if (found == t.data.end()) return false;
  const DataBlock& block = found->second;
  bool small =
      block.bytes.capacity() <= kSpareDataBytes && block.item.capacity() <= kSpareDataBytes;
  Tables::Data::node_type entry = t.data.extract(found);
  if (small) KeepSpare(t.spareData, std::move(entry));
  return true;
}

void ReleaseInstanceData(DWORD instance) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  std::erase_if(t.data,
                [instance](const auto& entry) { return entry.second.instance == instance; });
}

size_t LiveDataCount() {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  return t.data.size();
}

}  // namespace dde
