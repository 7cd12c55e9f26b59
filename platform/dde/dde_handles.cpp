/*
** String and data handle tables. Both are guarded by one mutex so that a handle made on
** one thread can be read on another, though the library itself works on the GUI thread.
*/
#include "platform/dde/dde_handles.h"

#include "platform/kernel/text.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace dde {
namespace {

struct StringEntry {
  std::string text;  // as first created
  std::string key;   // upper-case form, for lookup
  size_t uses = 0;
};

struct Tables {
  std::mutex mutex;
  std::unordered_map<uintptr_t, StringEntry> strings;
  std::unordered_map<std::string, uintptr_t> stringByKey;
  uintptr_t nextString = 0xC000;
  std::unordered_map<uintptr_t, DataBlock> data;
  // Data handles start well above the small values (TRUE, DDE_FACK) that callbacks
  // also answer with, so the two never meet.
  uintptr_t nextData = 0x100000;
};

Tables& tables() {
  static Tables* instance = new Tables;  // lives to the end of the process
  return *instance;
}

std::string UpperKey(std::string_view text) {
  std::string key(text);
  for (char& c : key) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return key;
}

uintptr_t Value(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

}  // namespace

HSZ InternString(std::string_view text) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  std::string key = UpperKey(text);
  auto found = t.stringByKey.find(key);
  if (found != t.stringByKey.end()) {
    ++t.strings[found->second].uses;
    return reinterpret_cast<HSZ>(found->second);
  }
  uintptr_t value = t.nextString++;
  t.strings[value] = StringEntry{std::string(text), key, 1};
  t.stringByKey[key] = value;
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
    t.stringByKey.erase(found->second.key);
    t.strings.erase(found);
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

HDDEDATA NewData(DWORD instance, std::string bytes, std::string item, UINT format, bool appOwned) {
  Tables& t = tables();
  std::lock_guard lock(t.mutex);
  uintptr_t value = t.nextData++;
  t.data[value] = DataBlock{std::move(bytes), std::move(item), format, appOwned, instance};
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
  return t.data.erase(Value(data)) > 0;
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
