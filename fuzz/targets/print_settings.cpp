/*
** Fuzz target: the bytes of a printer-settings file (statement, reports or checks, chosen by
** the first byte) or of chkform.dat (first byte 3), loaded as the program loads them at
** start-up, saved as Printer Setup saves them, and loaded again: the two loads must agree,
** and a check-form file of the right size must give exactly its own values.
*/
#include "fuzz/fuzz_support.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/user/message_box.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/printer_settings.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int kCheckFormKind = 3;

size_t DevModeLength(const DEVMODE* mode) {
  return (mode->dmSize ? mode->dmSize : sizeof(DEVMODE)) + mode->dmDriverExtra;
}

bool SamePrinter(const TPrintDialogData& a, const TPrintDialogData& b) {
  if (std::strcmp(a.GetDriverName(), b.GetDriverName()) != 0 ||
      std::strcmp(a.GetDeviceName(), b.GetDeviceName()) != 0 ||
      std::strcmp(a.GetOutputName(), b.GetOutputName()) != 0)
    return false;
  const DEVMODE* first = a.GetDevMode();
  const DEVMODE* second = b.GetDevMode();
  if (!first || !second) return first == second;
  return DevModeLength(first) == DevModeLength(second) &&
         std::memcmp(first, second, DevModeLength(first)) == 0;
}

/* Where the file of `kind` lives: DirPrinters is set once at start, so it is looked up once. */
const std::string& SettingsHostPath(int kind) {
  static std::string paths[kCheckFormKind];
  if (paths[kind].empty()) paths[kind] = HostPathFromWindowsPath(PrinterSettingsPath(kind).c_str());
  return paths[kind];
}

void CheckPrinterSettings(int kind, const uint8_t* data, size_t size) {
  FuzzWriteFile(SettingsHostPath(kind), data, size);
  TPrintDialogData first;
  LoadPrinterSettings(nullptr, kind, first);
  FuzzRequire(SavePrinterSettings(kind, first), "loaded settings can be saved");
  TPrintDialogData second;
  LoadPrinterSettings(nullptr, kind, second);
  FuzzRequire(SamePrinter(first, second), "settings saved and loaded again are the same");
}

void CheckFormFile(const uint8_t* data, size_t size) {
  std::string path = FuzzScratchDirectory() + "/chkform.dat";
  FuzzWriteFile(path, data, size);
  short first[kCheckFormValueCount];
  ReadCheckFormSettings(first, path.c_str());
  for (int i = 0; i < kCheckFormValueCount; ++i) {
    short expected = size == kCheckFormFileSize
                         ? static_cast<short>(data[2 * i] | (data[2 * i + 1] << 8))
                         : kCheckFormUnset;
    FuzzRequire(first[i] == expected, "a check-form file gives its own values, or all unset");
  }
  WriteCheckFormSettings(first, path.c_str());
  short second[kCheckFormValueCount];
  ReadCheckFormSettings(second, path.c_str());
  FuzzRequire(std::memcmp(first, second, sizeof first) == 0,
              "check-form values saved and read again are the same");
  struct stat written {};
  FuzzRequire(::stat(path.c_str(), &written) == 0 && written.st_size == kCheckFormFileSize,
              "chkform.dat is left exactly 128 bytes long");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0755);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  CreateDirectory("C:\\ZPRN", nullptr);
  WritePrivateProfileString("System", "DirPrinters", "C:\\ZPRN", "zarne.ini");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int kind = data[0] % 4;
  if (kind == kCheckFormKind) CheckFormFile(data + 1, size - 1);
  else CheckPrinterSettings(kind, data + 1, size - 1);
  return 0;
}
