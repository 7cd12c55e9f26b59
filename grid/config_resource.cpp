/*
** The compiled form of saved configurations: the reader over resource data of type
** TESSELCFG, bounded by the resource's size, and SetupTessel with its dialog-wide forms.
*/
#include "grid/config_apply.h"
#include "grid/configurations.h"
#include "grid/design_services.h"
#include "grid/tessel_codes.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

/* Little-endian words and NUL-terminated texts, never past the data's end. */
class ResourceCursor {
 public:
  /* Without a size (the export's caller gives none) the data's own counts are trusted. */
  ResourceCursor(const unsigned char* data, size_t size, bool bounded)
      : at_(data), end_(bounded ? data + size : nullptr) {}
  bool Word(uint16_t* value) {
    if (end_ && end_ - at_ < 2) return false;
    *value = static_cast<uint16_t>(at_[0] | at_[1] << 8);
    at_ += 2;
    return true;
  }
  bool Text(std::string* text) {
    const void* nul = end_ ? std::memchr(at_, 0, static_cast<size_t>(end_ - at_))
                           : at_ + std::strlen(reinterpret_cast<const char*>(at_));
    if (!nul) return false;
    const auto* stop = static_cast<const unsigned char*>(nul);
    text->assign(reinterpret_cast<const char*>(at_), static_cast<size_t>(stop - at_));
    at_ = stop + 1;
    return true;
  }

 private:
  const unsigned char* at_;
  const unsigned char* end_;
};

bool ReadHeader(ResourceCursor& cursor, int version, ConfigHeader* header) {
  if (version >= 12 && !cursor.Word(&header->style)) return false;
  if (version == 25) {
    uint16_t* words[5] = {&header->labelWidth, &header->exStyleLow, &header->exStyleHigh,
                          &header->labelFlags, &header->headingStyle};
    for (uint16_t* word : words)
      if (!cursor.Word(word)) return false;
  }
  return true;
}

bool ReadColumn(ResourceCursor& cursor, int version, ConfigColumn* column) {
  uint16_t ignored = 0;
  if (version < 25 && !cursor.Word(&ignored)) return false;
  uint16_t words[12] = {};
  int count = version == 25 ? 10 : 8;
  for (int i = 0; i < count; ++i)
    if (!cursor.Word(&words[i])) return false;
  column->flags = words[0];
  column->type = words[1];
  column->length = words[2];
  column->width = words[3];
  column->value1 = static_cast<uint32_t>(words[4]) | static_cast<uint32_t>(words[5]) << 16;
  column->value2 = static_cast<uint32_t>(words[6]) | static_cast<uint32_t>(words[7]) << 16;
  column->editStyle =
      version == 25 ? (static_cast<uint32_t>(words[8]) | static_cast<uint32_t>(words[9]) << 16) : 0;
  if (!cursor.Text(&column->format) || !cursor.Text(&column->heading) ||
      !cursor.Text(&column->name))
    return false;
  column->hasListItems = version == 25;
  return version != 25 || cursor.Text(&column->listItems);
}

}  // namespace

namespace {

int ReadResource(ResourceCursor& cursor, HWND grid) {
  uint16_t format = 0, version = 0;
  if (!cursor.Word(&format) || !cursor.Word(&version)) return TSCFG_BADPARSE;
  int v = static_cast<int16_t>(version);
  if (!AcceptedVersion(format, v)) return TSCFG_BADVERSION;
  SendMessage(grid, TSM_RESET, 0, 0);
  ConfigHeader header;
  if (!cursor.Word(&header.count) || header.count == 0) return TSCFG_BADPARSE;
  if (!ReadHeader(cursor, v, &header)) return TSCFG_BADPARSE;
  ApplyConfigHeader(grid, v, header);
  for (int c = 0; c < header.count; ++c) {
    ConfigColumn column;
    if (!ReadColumn(cursor, v, &column)) return TSCFG_BADPARSE;
    ApplyConfigColumn(grid, v, c, column);
  }
  return TSCFG_DONE;
}

}  // namespace

int ReadConfigResource(const unsigned char* data, size_t size, HWND grid) {
  if (!data) return TSCFG_BADPARSE;
  ResourceCursor cursor(data, size, true);
  return ReadResource(cursor, grid);
}

extern "C" int LoadConfigResource(LPCVOID data, HWND grid) {
  if (!data) return TSCFG_BADPARSE;
  ResourceCursor cursor(static_cast<const unsigned char*>(data), 0, false);
  return ReadResource(cursor, grid);
}

int SetupTessel(HINSTANCE module, LPCSTR configurationName, HWND grid) {
  if (!grid || !IsWindow(grid) || !module) return TSERR_NOWINDOW;
  if (!configurationName || !*configurationName) return TSERR_NULLPTR;
  HRSRC found = FindResource(module, configurationName, "TESSELCFG");
  if (!found) return TSERR_NORESOURCE;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return TSERR_NORESOURCE;
  const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
  if (!data) {
    FreeResource(loaded);
    return TSERR_RESLOCK;
  }
  int result = ReadConfigResource(data, SizeofResource(module, found), grid);
  FreeResource(loaded);
  InvalidateRect(grid, nullptr, TRUE);
  UpdateWindow(grid);
  return result;
}

extern "C" int SetupDlgTessel(HINSTANCE module, HWND dialog, int controlId,
                              LPCSTR configurationName, LPCSTR dialogName) {
  if (!dialog) return TSERR_NOWINDOW;
  bool haveName = configurationName && *configurationName;
  if (!haveName && !(dialogName && *dialogName)) return TSERR_NULLPTR;
  char formed[160];
  if (!haveName) {
    std::snprintf(formed, sizeof formed, "%sTessel%d", dialogName, controlId);
    configurationName = formed;
  }
  return SetupTessel(module, configurationName, GetDlgItem(dialog, controlId));
}

extern "C" int SetupMultiTessel(HINSTANCE module, HWND parent, LPCSTR dialogName) {
  if (!parent) return TSERR_NOWINDOW;
  if (!dialogName || !*dialogName) return TSERR_NULLPTR;
  int result = 0;
  ForEachGrid(parent, [&](HWND grid) {
    char name[160];
    std::snprintf(name, sizeof name, "%sTessel%d", dialogName,
                  static_cast<int>(GetWindowLongPtr(grid, GWL_ID)));
    result = SetupTessel(module, name, grid);
    return result == 0;
  });
  return result;
}
