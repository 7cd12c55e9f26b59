/*
** Fuzz target: the bytes of a private profile file (an ini file), then what the program does
** with one: list its sections and each section's keys, read values and numbers through
** small and exactly sized buffers, write a key, delete it again and delete a section. No call
** may write past its buffer; cut answers keep their documented shape; a write reads back and
** leaves every other value as it was.
** The fuzzer counts a feature as rare, for its choice of which input to change next, up to 32
** sightings rather than 255 (profile.options): it looked every feature an input reached up in
** its list of rare ones, some three percent of the whole time. What counts as new
** coverage, and so what is kept in the corpus, is decided as before.
*/
#include "fuzz/fuzz_support.h"
#include "fuzz/profile_reads.h"
#include "fuzz/small_block_checking.h"  // a buffer and a string per read, each version's lines
#include "platform/kernel/profile.h"
#include "platform/kernel/profile_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t kSectionsVisited = 3;
constexpr size_t kKeysVisited = 3;
constexpr const char* kMissing = "\x01missing";
constexpr const char* kFuzzKey = "zarne fuzz key";
constexpr const char* kFuzzValue = "written by the fuzzer";

std::string gFile;
size_t gLargeSize = 0;
// The large buffer, made once per input: a fresh one per read would touch new pages each
// time (freed memory is held back by the sanitizer), which cost more than the reads.
std::unique_ptr<char[]> gLargeBuffer;

/* A read through a buffer of exactly `size` bytes (an overrun is caught by the sanitizer). */
std::string Read(LPCSTR section, LPCSTR key, DWORD size, DWORD* answer) {
  std::unique_ptr<char[]> own;
  char* buffer = gLargeBuffer.get();
  if (size != gLargeSize) {
    own.reset(new char[size]);
    buffer = own.get();
  }
  std::memset(buffer, 0x55, size);
  *answer = GetPrivateProfileString(section, key, kMissing, buffer, size, gFile.c_str());
  FuzzRequire(size == 0 || *answer < size, "an answer fits its buffer");
  return std::string(buffer, size == 0 ? 0 : std::min<size_t>(*answer + 2, size));
}

std::vector<std::string> SplitList(const std::string& list, DWORD length) {
  std::vector<std::string> names;
  size_t at = 0;
  while (at < length) {
    size_t end = list.find('\0', at);
    FuzzRequire(end != std::string::npos && end < length, "each listed name is terminated");
    names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

/* Lists sections (null section) or a section's keys, whole and through buffers cut to its
   length; through buffers of one and two bytes too when `tiny` (their answer is the same for
   every list, so one list of each kind per input tries them). */
std::vector<std::string> CheckedList(LPCSTR section, bool tiny = true) {
  DWORD length = 0;
  std::string whole = Read(section, nullptr, static_cast<DWORD>(gLargeSize), &length);
  FuzzRequire(whole[length] == '\0', "a whole list ends in one more NUL");
  const DWORD sizes[] = {1, 2, length, length + 1};
  for (size_t i = tiny ? 0 : 2; i < std::size(sizes); ++i) {
    DWORD size = sizes[i];
    if (size == 0) continue;
    DWORD cut = 0;
    std::string part = Read(section, nullptr, size, &cut);
    if (size >= length + 1) {
      FuzzRequire(cut == length && part.compare(0, length + 1, whole, 0, length + 1) == 0,
                  "a list that fits is copied whole");
    } else if (size < 2) {
      FuzzRequire(cut == 0 && part[0] == '\0', "a one-byte list buffer holds an empty list");
    } else {
      FuzzRequire(cut == size - 2 && part.compare(0, size - 2, whole, 0, size - 2) == 0 &&
                      part[size - 2] == '\0' && part[size - 1] == '\0',
                  "a cut list keeps its start and ends in two NULs");
    }
  }
  return SplitList(whole, length);
}

/* A value, whole and through buffers one short and exact, and through one byte when `tiny`
   (the written and the deleted key are always read so: that answer is empty for any value). */
std::string CheckedValue(const std::string& section, const std::string& key, bool tiny = true) {
  DWORD length = 0;
  std::string whole = Read(section.c_str(), key.c_str(), static_cast<DWORD>(gLargeSize), &length);
  whole.resize(length);
  DWORD answer = 0;
  std::string exact = Read(section.c_str(), key.c_str(), length + 1, &answer);
  FuzzRequire(answer == length && exact.compare(0, length, whole) == 0 && exact[length] == '\0',
              "a value read into an exact buffer is whole");
  if (length > 0) {
    std::string shorter = Read(section.c_str(), key.c_str(), length, &answer);
    FuzzRequire(answer == length - 1 && shorter.compare(0, length - 1, whole, 0, length - 1) == 0,
                "a value read into a short buffer is cut to fit");
  }
  if (tiny) {
    Read(section.c_str(), key.c_str(), 1, &answer);
    FuzzRequire(answer == 0, "a one-byte buffer holds an empty value");
  }
  GetPrivateProfileInt(section.c_str(), key.c_str(), -7, gFile.c_str());
  return whole;
}

bool Storable(const std::string& section) {
  return section.find_first_of("]\r\n") == std::string::npos;
}

bool Listed(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& listed) { return ProfileNamesEqual(listed, name); });
}

struct KeyValue {
  std::string section, key, value;
};

/* One plain read through a large buffer: the buffer sizes were checked on the first pass. */
std::string PlainRead(const std::string& section, const std::string& key) {
  DWORD length = 0;
  std::string value = Read(section.c_str(), key.c_str(), static_cast<DWORD>(gLargeSize), &length);
  value.resize(length);
  return value;
}

/* The whole list of sections (null section) or of a section's keys, through a large buffer. */
std::vector<std::string> PlainList(LPCSTR section) {
  DWORD length = 0;
  std::string whole = Read(section, nullptr, static_cast<DWORD>(gLargeSize), &length);
  FuzzRequire(whole[length] == '\0', "a whole list ends in one more NUL");
  return SplitList(whole, length);
}

/* `keys` is the section's list as the first pass read it. */
void CheckWriteAndDelete(const std::string& section, const std::vector<std::string>& keys,
                         const std::vector<KeyValue>& before) {
  bool keyWasThere = Listed(keys, kFuzzKey);
  BOOL written = WritePrivateProfileString(section.c_str(), kFuzzKey, kFuzzValue, gFile.c_str());
  FuzzRequire(written == (Storable(section) ? TRUE : FALSE),
              "a key is written exactly when its section can be stored");
  if (!written) return;
  FuzzRequire(CheckedValue(section, kFuzzKey) == kFuzzValue, "a written value reads back");
  for (const KeyValue& kept : before) {
    if (ProfileNamesEqual(kept.key, kFuzzKey)) continue;
    FuzzRequire(PlainRead(kept.section, kept.key) == kept.value,
                "writing one key leaves the other values as they were");
  }
  FuzzRequire(WritePrivateProfileString(section.c_str(), kFuzzKey, nullptr, gFile.c_str()),
              "a key can be deleted");
  FuzzRequire(CheckedValue(section, kFuzzKey) == kMissing, "a deleted key reads as missing");
  if (!keyWasThere)
    FuzzRequire(PlainList(section.c_str()) == keys,
                "writing and deleting a new key restores the list");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gFile = FuzzScratchDirectory() + "/fuzz.ini";
  gLargeSize = 3 * size + 64;
  gLargeBuffer.reset(new char[gLargeSize]);
  FuzzWriteFile(gFile, data, size);

  // Every buffer size is tried on this first pass; after the write one plain read per value
  // or list tests what the write may have changed.
  std::vector<std::string> sections = CheckedList(nullptr);
  std::vector<KeyValue> values;
  std::vector<std::string> frontKeys;
  for (size_t s = 0; s < sections.size() && s < kSectionsVisited; ++s) {
    std::vector<std::string> keys = CheckedList(sections[s].c_str(), s == 0);
    for (size_t k = 0; k < keys.size() && k < kKeysVisited; ++k)
      values.push_back({sections[s], keys[k], CheckedValue(sections[s], keys[k], false)});
    if (s == 0) frontKeys = std::move(keys);
  }
  if (sections.empty()) CheckWriteAndDelete("fuzz", CheckedList("fuzz"), values);
  else CheckWriteAndDelete(sections.front(), frontKeys, values);

  // A name holding a NUL is listed cut at it, and the cut name names another section.
  bool namesWhole = std::memchr(data, '\0', size) == nullptr;
  if (namesWhole && !sections.empty() && Storable(sections.back())) {
    FuzzRequire(WritePrivateProfileString(sections.back().c_str(), nullptr, nullptr, gFile.c_str()),
                "a section can be deleted");
    FuzzRequire(!Listed(PlainList(nullptr), sections.back()), "a deleted section is not listed");
  }
  ForgetFile(gFile);
  gLargeBuffer.reset();
  return 0;
}
