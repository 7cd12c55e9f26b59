/*
** Fuzz target: the [System] keys of zarne.ini (DirDatabase, DirCheckCtl, DirPrinters,
** DirPrivate), read as start-up reads them and used as its steps use them: the settled
** value is made the current directory, the check-form and table paths are built from it,
** and the printer-settings files are named from DirPrinters. A settled value is never empty
** and ends inside its buffer; reading again changes nothing, so a default is written back
** once; a path built from a value ends inside its buffer; and a path on a drive other than
** the host's own never leads out of that drive's directory under the data root.
*/
#include "fuzz/fuzz_support.h"
#include "fuzz/profile_reads.h"
#include "fuzz/small_block_checking.h"  // lines, and a path string per step to a host path
#include "platform/kernel/atomic_file.h"
#include "platform/kernel/paths.h"
#include "shell/system_keys.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/value_forms.h"

#include <cctype>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

struct Key {
  const char* name;
  const char* fallback;
};
const Key kKeys[] = {{"DirDatabase", "C:\\ZARNE"},
                     {"DirCheckCtl", "C:\\ZARNE"},
                     {"DirPrinters", "C:\\ZARNE"},
                     {"DirPrivate", "C:\\Zarne\\Private"}};

std::string gRoot;
std::string gIniPath;

std::string IniBytes() { return ReadWholeFile(gIniPath).value_or(std::string()); }

/* A path ending exactly at size - 1 bytes or before, with a canary after the buffer. */
void CheckBuilt(const char* directory, const char* name, const char* extension) {
  char path[MAX_PATH + 1];
  std::memset(path, '#', sizeof path);
  BuildPath(path, directory, name, extension, MAX_PATH);
  FuzzRequire(strnlen(path, MAX_PATH) < MAX_PATH, "a built path ends inside its buffer");
  FuzzRequire(path[MAX_PATH] == '#', "nothing is written past a built path's buffer");
}

/* "X:\..." or "X:..." on a drive other than Z: lives under the root's drive_x. */
void CheckStaysOnDrive(const char* value) {
  if (!std::isalpha(static_cast<unsigned char>(value[0])) || value[1] != ':') return;
  char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
  if (drive == 'z') return;
  std::string host = HostPathFromWindowsPath(value);
  std::string home = gRoot + "/drive_" + drive;
  FuzzRequire(host.compare(0, home.size(), home) == 0 &&
                  (host.size() == home.size() || host[home.size()] == '/'),
              "a drive path stays inside its drive's directory");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gRoot = FuzzScratchDirectory() + "/root";
  ::mkdir(gRoot.c_str(), 0700);
  ::mkdir((gRoot + "/windows").c_str(), 0700);
  setenv("ZARNE_ROOT", gRoot.c_str(), 1);
  gIniPath = gRoot + "/windows/zarne.ini";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzWriteFile(gIniPath, data, size);
  SetCurrentDirectory("C:\\");
  char settled[4][MAX_PATH + 1];
  for (int k = 0; k < 4; ++k) {
    std::memset(settled[k], '#', MAX_PATH + 1);
    ReadSystemDirectoryKey(kKeys[k].name, kKeys[k].fallback, settled[k]);
    size_t length = strnlen(settled[k], MAX_PATH);
    FuzzRequire(length >= 1 && length < MAX_PATH,
                "a settled directory is not empty and ends inside its buffer");
    FuzzRequire(settled[k][MAX_PATH] == '#', "nothing is written past a directory's buffer");
  }
  std::string written = IniBytes();
  for (int k = 0; k < 4; ++k) {
    char again[MAX_PATH];
    ReadSystemDirectoryKey(kKeys[k].name, kKeys[k].fallback, again);
    FuzzRequire(std::strcmp(again, settled[k]) == 0, "a second read gives the same directory");
  }
  FuzzRequire(IniBytes() == written, "a default is written back once");

  for (int k = 0; k < 4; ++k) {
    const char* directory = settled[k];
    CheckStaysOnDrive(directory);
    SetCurrentDirectory(directory);  // start-up's step, which creates nothing
  }
  CheckBuilt(settled[1], "CHKFORM", "DAT");
  for (const char* table : {"BUYER", "EXPENSE4", "TITLEB", "BANK"})
    CheckBuilt(settled[0], table, "DB");
  CheckBuilt(settled[1], "CHECKCTL", "DB");
  // The three kinds name their files from the same DirPrinters value: one kind per input,
  // chosen by the input's size, tests that value.
  std::string path = PrinterSettingsPath(static_cast<int>(size % 3));
  FuzzRequire(path.size() >= 13 && path.compare(path.size() - 4, 4, ".dat") == 0,
              "a printer-settings file keeps its own name");
  ForgetFile(gIniPath, "zarne.ini");
  return 0;
}
