/*
** Reading [HUD1Options]. Each key reads as 99 when missing, so a missing key falls outside
** every range and gets its default written back like a damaged one.
*/
#include "statement/hud1_options.h"

#include "platform/kernel/profile.h"

#include <cstdio>
#include <iterator>

THud1Options gHud1Options = {1, 1, 1, 0, 1, 0, 1, 1};

namespace {

constexpr const char* kSection = "HUD1Options";
constexpr const char* kIniFile = "zarne.ini";
constexpr int kMissingValue = 99;

struct TOptionKey {
  const char* key;
  SHORT THud1Options::*member;
  SHORT lowest;
  SHORT highest;
  SHORT byDefault;
};

/* In the order they are read. */
constexpr TOptionKey kOptionKeys[] = {
    {"AutoClose", &THud1Options::AutoClose, 0, 1, 1},
    {"Maximize", &THud1Options::Maximize, 0, 1, 1},
    {"MaxWindows", &THud1Options::MaxWindows, 1, 3, 1},
    {"Privacy", &THud1Options::Privacy, 0, 2, 0},
    {"PrintOptions", &THud1Options::PrintOptions, 0, 1, 1},
    {"SigPage3", &THud1Options::SigPage3, 0, 1, 0},
    {"DateSig", &THud1Options::DateSig, 0, 1, 1},
    {"GDILines", &THud1Options::GDILines, 0, 1, 1},
};

}  // namespace

void ReadHud1Options() {
  // The repairs are written together once every key is read: a new or damaged file is then
  // replaced once, not once per key. No repair changes another key's value.
  char repairs[std::size(kOptionKeys)][8];
  ProfileValue repaired[std::size(kOptionKeys)];
  size_t count = 0;
  for (const TOptionKey& option : kOptionKeys) {
    // The comparison is on the 16-bit value, as the options are kept.
    SHORT value =
        static_cast<SHORT>(GetPrivateProfileInt(kSection, option.key, kMissingValue, kIniFile));
    if (value < option.lowest || value > option.highest) {
      value = option.byDefault;
      std::snprintf(repairs[count], sizeof repairs[count], "%d", value);
      repaired[count] = {option.key, repairs[count]};
      ++count;
    }
    gHud1Options.*option.member = value;
  }
  WritePrivateProfileValues(kSection, repaired, count, kIniFile);
}

void WriteHud1Option(const char* key, SHORT value) {
  char text[8];
  std::snprintf(text, sizeof text, "%d", value);
  WritePrivateProfileString(kSection, key, text, kIniFile);
}
