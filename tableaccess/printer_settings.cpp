/*
** Reading and writing the printer-settings files. The reader trusts nothing in a file: every
** name must end inside what was read and the device mode must fit in it whole; a file that
** fails is replaced by the default printer, as a missing one is, instead of being read past
** its end.
*/
#include "tableaccess/printer_settings.h"

#include "platform/framework/print_dialog.h"
#include "platform/kernel/files.h"
#include "platform/kernel/profile.h"
#include "platform/user/message_box.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/ww_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

TPrintDialogData gStatementPrintData;
TPrintDialogData gCheckPrintData;
TPrintDialogData gReportPrintData;

namespace {

constexpr UINT kReadShareAll = OF_READ | OF_SHARE_DENY_NONE;
constexpr UINT kReadWriteShareAll = OF_READWRITE | OF_SHARE_DENY_NONE;
constexpr UINT kSystemErrorCaption = 1002;
constexpr size_t kHeaderSize = 4 * sizeof(WORD);
// Offsets are 16-bit and a device mode is at most two 16-bit sizes long, so nothing a file's
// offsets can reach lies past this; bytes after it are never read.
constexpr long kReachableBytes = 0x30000;
// A device mode must at least hold its own size words to say how long it is.
constexpr size_t kSmallestDevMode = offsetof(DEVMODE, dmFields);

/* What a settings file holds. */
struct PrinterSettings {
  std::string driver, device, port;
  std::vector<BYTE> devMode;  // dmSize + dmDriverExtra bytes; empty when there is none
};

WORD ReadWord(const std::vector<BYTE>& bytes, size_t offset) {
  return static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8));
}

void PutWord(std::vector<BYTE>& bytes, size_t offset, size_t value) {
  bytes[offset] = static_cast<BYTE>(value & 0xFF);
  bytes[offset + 1] = static_cast<BYTE>((value >> 8) & 0xFF);
}

/* The name at offset, which must lie after the header and end inside the bytes. */
std::optional<std::string> NameAt(const std::vector<BYTE>& bytes, WORD offset) {
  if (offset < kHeaderSize || offset >= bytes.size()) return std::nullopt;
  const BYTE* start = bytes.data() + offset;
  const void* end = std::memchr(start, 0, bytes.size() - offset);
  if (!end) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(start), static_cast<const BYTE*>(end) - start);
}

/* The device mode at offset, whole inside the bytes; nullopt when it is not. */
std::optional<std::vector<BYTE>> DevModeAt(const std::vector<BYTE>& bytes, WORD offset) {
  if (offset < kHeaderSize || bytes.size() < offset + kSmallestDevMode) return std::nullopt;
  size_t dmSize = ReadWord(bytes, offset + offsetof(DEVMODE, dmSize));
  size_t dmDriverExtra = ReadWord(bytes, offset + offsetof(DEVMODE, dmDriverExtra));
  size_t length = dmSize + dmDriverExtra;
  if (dmSize < kSmallestDevMode || bytes.size() - offset < length) return std::nullopt;
  return std::vector<BYTE>(bytes.begin() + offset, bytes.begin() + offset + length);
}

std::optional<PrinterSettings> ParseSettings(const std::vector<BYTE>& bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  auto driver = NameAt(bytes, ReadWord(bytes, 0));
  auto device = NameAt(bytes, ReadWord(bytes, 2));
  auto port = NameAt(bytes, ReadWord(bytes, 4));
  if (!driver || !device || !port) return std::nullopt;
  PrinterSettings settings{*driver, *device, *port, {}};
  WORD devModeOffset = ReadWord(bytes, 6);
  if (devModeOffset != 0) {
    auto devMode = DevModeAt(bytes, devModeOffset);
    if (!devMode) return std::nullopt;
    settings.devMode = std::move(*devMode);
  }
  return settings;
}

/* The data's device mode as it is to be stored: a record that names no size of its own is
   the whole fixed record, and nothing is taken from beyond the block that holds it. */
std::vector<BYTE> StoredDevMode(const TPrintDialogData& data) {
  const DEVMODE* mode = data.GetDevMode();
  if (!mode) return {};
  size_t held = GlobalSize(data.GetDevModeHandle());
  size_t dmSize = mode->dmSize ? mode->dmSize : sizeof(DEVMODE);
  size_t length = std::min(dmSize + mode->dmDriverExtra, held);
  std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(mode),
                          reinterpret_cast<const BYTE*>(mode) + length);
  // A record cut by its block keeps sizes that describe what is stored.
  dmSize = std::min(dmSize, length);
  PutWord(bytes, offsetof(DEVMODE, dmSize), dmSize);
  PutWord(bytes, offsetof(DEVMODE, dmDriverExtra), length - dmSize);
  return bytes;
}

/* The file image: header, names each followed by two zero bytes, then the device mode.
   Empty when the names are too long for 16-bit offsets. */
std::vector<BYTE> BuildImage(const TPrintDialogData& data) {
  const std::string names[3] = {data.GetDriverName(), data.GetDeviceName(), data.GetOutputName()};
  std::vector<BYTE> devMode = StoredDevMode(data);
  size_t offsets[4] = {kHeaderSize, 0, 0, 0};
  for (int i = 0; i < 3; ++i) offsets[i + 1] = offsets[i] + names[i].size() + 2;
  size_t devModeOffset = offsets[3];
  if (devModeOffset > 0xFFFF) return {};
  if (devMode.empty()) offsets[3] = 0;
  std::vector<BYTE> image(devModeOffset + devMode.size(), 0);
  for (int i = 0; i < 4; ++i) PutWord(image, 2 * i, offsets[i]);
  for (int i = 0; i < 3; ++i)
    std::memcpy(image.data() + offsets[i], names[i].data(), names[i].size());
  if (!devMode.empty()) std::memcpy(image.data() + devModeOffset, devMode.data(), devMode.size());
  return image;
}

/* The file, up to the last byte its offsets can reach; nullopt when it cannot be opened. A
** longer file keeps whatever follows (a save never shortens it), so that part is not read
** rather than taken for damage. */
std::optional<std::vector<BYTE>> ReadWholeFile(const std::string& path) {
  TWWFile file;
  if (!file.Open(path.c_str(), kReadShareAll)) return std::nullopt;
  long size = std::min(file.Size(), kReachableBytes);
  if (size < 0) return std::vector<BYTE>();
  std::vector<BYTE> bytes(static_cast<size_t>(size));
  long read = file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  bytes.resize(read > 0 ? static_cast<size_t>(read) : 0);
  return bytes;
}

void ApplySettings(const PrinterSettings& settings, TPrintDialogData& data) {
  data.SetDevNames(settings.driver.c_str(), settings.device.c_str(), settings.port.c_str());
  if (settings.devMode.empty()) {
    data.ClearDevMode();
    return;
  }
  // The record is copied into an aligned buffer at least as large as the fixed record, so
  // the framework reads its fields where they belong.
  std::vector<std::max_align_t> aligned(
      (std::max(settings.devMode.size(), sizeof(DEVMODE)) + sizeof(std::max_align_t) - 1) /
      sizeof(std::max_align_t));
  std::memset(aligned.data(), 0, aligned.size() * sizeof(std::max_align_t));
  std::memcpy(aligned.data(), settings.devMode.data(), settings.devMode.size());
  data.SetDevMode(reinterpret_cast<const DEVMODE*>(aligned.data()));
}

/* The default printer into data, without a dialog; data's flags are kept either way. */
bool FillWithDefaultPrinter(TWindow* parent, TPrintDialogData& data) {
  DWORD keptFlags = data.Flags;
  data.Flags = keptFlags | PD_RETURNDEFAULT;
  bool filled = TPrintDialog(parent, data).Execute() == IDOK;
  data.Flags = keptFlags;
  return filled;
}

void ReportDamagedFile(const std::string& path) {
  char text[400];
  std::snprintf(text, sizeof text,
                "The printer settings file %s is damaged. The default printer is used "
                "and saved in its place.",
                path.c_str());
  MessageBox(FocusOwner(), text, ResourceString(kSystemErrorCaption).text,
             MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

std::string PrinterSettingsPath(int kind) {
  static const char* const kBaseNames[] = {"stmtbg", "prnrpt", "prnchk"};
  if (kind < 0 || kind > 2) return std::string();
  char directory[80];
  GetPrivateProfileString("System", "DirPrinters", "", directory, sizeof directory, "zarne.ini");
  return std::string(directory) + "\\" + kBaseNames[kind] + "32" + ".dat";
}

void LoadPrinterSettings(TWindow* parent, int kind, TPrintDialogData& data) {
  std::string path = PrinterSettingsPath(kind);
  if (path.empty()) return;
  TWWFile probe;
  if (probe.Exists(path.c_str())) {
    std::optional<std::vector<BYTE>> bytes = ReadWholeFile(path);
    if (!bytes) {
      // The file box has been shown; the file is left alone, and this run prints on the
      // default printer.
      FillWithDefaultPrinter(parent, data);
      return;
    }
    if (std::optional<PrinterSettings> settings = ParseSettings(*bytes)) {
      ApplySettings(*settings, data);
      return;
    }
    ReportDamagedFile(path);
  }
  // Nothing is written when no default printer could be had, so the next start asks again.
  if (FillWithDefaultPrinter(parent, data)) SavePrinterSettings(kind, data);
}

bool SavePrinterSettings(int kind, const TPrintDialogData& data) {
  std::string path = PrinterSettingsPath(kind);
  if (path.empty()) return false;
  std::vector<BYTE> image = BuildImage(data);
  if (image.empty()) return false;
  TWWFile file;
  if (!file.Open(path.c_str(), kReadWriteShareAll)) return false;
  return file.Seek(0) && file.Write(image.data(), static_cast<UINT>(image.size())) ==
                             static_cast<long>(image.size());
}
