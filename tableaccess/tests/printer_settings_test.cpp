/*
** Printer-settings files: the byte layout written and read back, a printer without a device
** mode, the first load that creates the file from the default printer, and damaged files
** that are recovered instead of being read past their end.
*/
#include "tableaccess/printer_settings.h"

#include "platform/gdi/gdi_print.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/testing/gui_test.h"
#include "tableaccess/ww_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kPrinterDir = "C:\\ZPRN";

/* A device mode followed by four bytes of driver data, as a settings file keeps it. */
struct DevModeWithExtra {
  DEVMODE mode;
  BYTE extra[4];
};
static_assert(sizeof(DevModeWithExtra) == sizeof(DEVMODE) + 4, "no padding before the extra bytes");

DevModeWithExtra SampleDevMode() {
  DevModeWithExtra sample{};
  std::strcpy(reinterpret_cast<char*>(sample.mode.dmDeviceName), "Office Laser");
  sample.mode.dmSpecVersion = 0x0400;
  sample.mode.dmSize = sizeof(DEVMODE);
  sample.mode.dmDriverExtra = 4;
  sample.mode.dmFields = DM_ORIENTATION | DM_COPIES;
  sample.mode.dmOrientation = DMORIENT_LANDSCAPE;
  sample.mode.dmPaperSize = 5;
  sample.mode.dmCopies = 3;
  const BYTE extra[4] = {0xDE, 0xAD, 0xBE, 0xEF};
  std::memcpy(sample.extra, extra, 4);
  return sample;
}

void PutWord(std::vector<BYTE>& bytes, size_t offset, WORD value) {
  bytes[offset] = static_cast<BYTE>(value & 0xFF);
  bytes[offset + 1] = static_cast<BYTE>(value >> 8);
}

void AppendName(std::vector<BYTE>& bytes, const std::string& name) {
  bytes.insert(bytes.end(), name.begin(), name.end());
  bytes.push_back(0);
  bytes.push_back(0);
}

/* The file a printer of these names and device mode must give, built by hand. */
std::vector<BYTE> ExpectedImage(const std::string& driver, const std::string& device,
                                const std::string& port, const void* devMode, size_t devModeSize) {
  std::vector<BYTE> bytes(8, 0);
  AppendName(bytes, driver);
  AppendName(bytes, device);
  AppendName(bytes, port);
  PutWord(bytes, 0, 8);
  PutWord(bytes, 2, static_cast<WORD>(8 + driver.size() + 2));
  PutWord(bytes, 4, static_cast<WORD>(8 + driver.size() + 2 + device.size() + 2));
  PutWord(bytes, 6, devMode ? static_cast<WORD>(bytes.size()) : 0);
  if (devMode) {
    const BYTE* from = static_cast<const BYTE*>(devMode);
    bytes.insert(bytes.end(), from, from + devModeSize);
  }
  return bytes;
}

class PrinterSettingsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    CreateDirectory(kPrinterDir, nullptr);
    WritePrivateProfileString("System", "DirPrinters", kPrinterDir, "zarne.ini");
  }

  std::vector<BYTE> FileBytes(int kind) {
    TWWFile file;
    EXPECT_TRUE(file.Open(PrinterSettingsPath(kind).c_str(), 0x42));
    std::vector<BYTE> bytes(static_cast<size_t>(std::max(file.Size(), 0L)));
    EXPECT_EQ(file.Read(bytes.data(), static_cast<UINT>(bytes.size())),
              static_cast<long>(bytes.size()));
    return bytes;
  }

  void WriteFile(int kind, const std::vector<BYTE>& bytes) {
    std::string path = PrinterSettingsPath(kind);
    DeleteFile(path.c_str());
    TWWFile file;
    ASSERT_TRUE(file.Open(path.c_str(), 0x42));
    ASSERT_EQ(file.Write(bytes.data(), static_cast<UINT>(bytes.size())),
              static_cast<long>(bytes.size()));
  }

  bool FileExists(int kind) {
    return GetFileAttributes(PrinterSettingsPath(kind).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  /* What the default printer gives, asked the same way the settings ask for it. */
  void ExpectDefaultPrinter(const TPrintDialogData& data) {
    GdiPrinter printer = GdiDefaultPrinter();
    EXPECT_EQ(data.GetDeviceName(), printer.device);
    EXPECT_EQ(data.GetDriverName(), printer.driver);
    EXPECT_EQ(data.GetOutputName(), printer.port);
    ASSERT_NE(data.GetDevMode(), nullptr);
    EXPECT_EQ(data.GetDevMode()->dmSize, sizeof(DEVMODE));
  }
};

}  // namespace

TEST_F(PrinterSettingsTest, EachKindHasItsFileInThePrinterDirectory) {
  EXPECT_EQ(PrinterSettingsPath(kStatementPrinterSettings), "C:\\ZPRN\\stmtbg32.dat");
  EXPECT_EQ(PrinterSettingsPath(kReportPrinterSettings), "C:\\ZPRN\\prnrpt32.dat");
  EXPECT_EQ(PrinterSettingsPath(kCheckPrinterSettings), "C:\\ZPRN\\prnchk32.dat");
  EXPECT_EQ(PrinterSettingsPath(3), "");
  EXPECT_EQ(PrinterSettingsPath(-1), "");
}

TEST_F(PrinterSettingsTest, WrittenByteForByteAndReadBackWhole) {
  DevModeWithExtra sample = SampleDevMode();
  TPrintDialogData saved;
  saved.SetDevNames("winspool", "Office Laser", "LPT1:");
  saved.SetDevMode(&sample.mode);
  ASSERT_TRUE(SavePrinterSettings(kReportPrinterSettings, saved));

  std::vector<BYTE> expected =
      ExpectedImage("winspool", "Office Laser", "LPT1:", &sample, sizeof sample);
  EXPECT_EQ(FileBytes(kReportPrinterSettings), expected);
  EXPECT_FALSE(FileExists(kStatementPrinterSettings));
  EXPECT_FALSE(FileExists(kCheckPrinterSettings));

  TPrintDialogData loaded;
  loaded.Flags = PD_NOSELECTION;
  LoadPrinterSettings(nullptr, kReportPrinterSettings, loaded);
  EXPECT_STREQ(loaded.GetDriverName(), "winspool");
  EXPECT_STREQ(loaded.GetDeviceName(), "Office Laser");
  EXPECT_STREQ(loaded.GetOutputName(), "LPT1:");
  ASSERT_NE(loaded.GetDevMode(), nullptr);
  EXPECT_EQ(std::memcmp(loaded.GetDevMode(), &sample, sizeof sample), 0);  // driver data too
  EXPECT_EQ(loaded.Flags, static_cast<DWORD>(PD_NOSELECTION));
  EXPECT_TRUE(Boxes().Shown().empty());

  // Writing what was read gives the same file again.
  ASSERT_TRUE(SavePrinterSettings(kReportPrinterSettings, loaded));
  EXPECT_EQ(FileBytes(kReportPrinterSettings), expected);
}

TEST_F(PrinterSettingsTest, APrinterWithoutDeviceModeWritesZeroAndLoadClearsIt) {
  TPrintDialogData saved;
  saved.SetDevNames("winspool", "Plain", "COM1:");
  ASSERT_TRUE(SavePrinterSettings(kCheckPrinterSettings, saved));
  std::vector<BYTE> bytes = FileBytes(kCheckPrinterSettings);
  EXPECT_EQ(bytes, ExpectedImage("winspool", "Plain", "COM1:", nullptr, 0));
  EXPECT_EQ(bytes[6] | (bytes[7] << 8), 0);

  DevModeWithExtra stale = SampleDevMode();
  TPrintDialogData loaded;
  loaded.SetDevMode(&stale.mode);
  LoadPrinterSettings(nullptr, kCheckPrinterSettings, loaded);
  EXPECT_STREQ(loaded.GetDeviceName(), "Plain");
  EXPECT_EQ(loaded.GetDevMode(), nullptr);
}

TEST_F(PrinterSettingsTest, AMissingFileIsCreatedFromTheDefaultPrinter) {
  ASSERT_FALSE(FileExists(kStatementPrinterSettings));
  TPrintDialogData data;
  data.Flags = PD_NOSELECTION | PD_NOPAGENUMS;
  LoadPrinterSettings(nullptr, kStatementPrinterSettings, data);
  ExpectDefaultPrinter(data);
  // The one-time request for the default does not stay in the flags.
  EXPECT_EQ(data.Flags, static_cast<DWORD>(PD_NOSELECTION | PD_NOPAGENUMS));
  EXPECT_TRUE(Boxes().Shown().empty());

  ASSERT_TRUE(FileExists(kStatementPrinterSettings));
  EXPECT_EQ(FileBytes(kStatementPrinterSettings),
            ExpectedImage(data.GetDriverName(), data.GetDeviceName(), data.GetOutputName(),
                          data.GetDevMode(), sizeof(DEVMODE)));
}

TEST_F(PrinterSettingsTest, ALongerOldFileIsOverwrittenFromItsStartAndReadByItsOffsets) {
  WriteFile(kReportPrinterSettings, std::vector<BYTE>(600, 0xFF));
  TPrintDialogData saved;
  saved.SetDevNames("drv", "dev", "prt");
  ASSERT_TRUE(SavePrinterSettings(kReportPrinterSettings, saved));
  std::vector<BYTE> bytes = FileBytes(kReportPrinterSettings);
  std::vector<BYTE> image = ExpectedImage("drv", "dev", "prt", nullptr, 0);
  ASSERT_EQ(bytes.size(), 600u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin()));
  EXPECT_EQ(bytes[image.size()], 0xFF);

  TPrintDialogData loaded;
  LoadPrinterSettings(nullptr, kReportPrinterSettings, loaded);
  EXPECT_STREQ(loaded.GetDriverName(), "drv");
  EXPECT_STREQ(loaded.GetOutputName(), "prt");
  EXPECT_EQ(loaded.GetDevMode(), nullptr);
  EXPECT_TRUE(Boxes().Shown().empty());
}

/* Nothing a file's offsets can reach lies past its first 0x30000 bytes; a file grown larger
** by bytes after that still reads by its offsets, rather than being taken for damaged at every
** start (a rewrite from its start would never make it smaller). */
TEST_F(PrinterSettingsTest, AVeryLargeFileIsReadByItsOffsets) {
  DevModeWithExtra sample = SampleDevMode();
  std::vector<BYTE> bytes =
      ExpectedImage("winspool", "Office Laser", "LPT1:", &sample, sizeof sample);
  bytes.resize(0x40000, 0xEE);
  WriteFile(kReportPrinterSettings, bytes);
  TPrintDialogData loaded;
  LoadPrinterSettings(nullptr, kReportPrinterSettings, loaded);
  EXPECT_STREQ(loaded.GetDeviceName(), "Office Laser");
  ASSERT_NE(loaded.GetDevMode(), nullptr);
  EXPECT_EQ(std::memcmp(loaded.GetDevMode(), &sample, sizeof sample), 0);
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(PrinterSettingsTest, DamagedFilesAreReplacedByTheDefaultPrinter) {
  DevModeWithExtra sample = SampleDevMode();
  std::vector<BYTE> good =
      ExpectedImage("winspool", "Office Laser", "LPT1:", &sample, sizeof sample);
  const WORD devModeOffset = static_cast<WORD>(good[6] | (good[7] << 8));

  struct Damage {
    const char* what;
    std::vector<BYTE> bytes;
  };
  std::vector<Damage> damaged;
  damaged.push_back({"empty", {}});
  damaged.push_back({"header cut short", std::vector<BYTE>(good.begin(), good.begin() + 5)});
  damaged.push_back(
      {"cut inside the port name", std::vector<BYTE>(good.begin(), good.begin() + 37)});
  damaged.push_back(
      {"cut inside the device mode", std::vector<BYTE>(good.begin(), good.end() - 1)});
  {
    std::vector<BYTE> bytes = good;
    PutWord(bytes, 2, 0xFFF0);
    damaged.push_back({"device offset past the end", bytes});
  }
  {
    std::vector<BYTE> bytes = good;
    PutWord(bytes, 0, 2);
    damaged.push_back({"driver offset inside the header", bytes});
  }
  {
    std::vector<BYTE> bytes = good;
    PutWord(bytes, 6, static_cast<WORD>(bytes.size() - 10));
    damaged.push_back({"device mode offset near the end", bytes});
  }
  {
    std::vector<BYTE> bytes = good;
    PutWord(bytes, devModeOffset + offsetof(DEVMODE, dmDriverExtra), 0xFFFF);
    damaged.push_back({"driver data longer than the file", bytes});
  }
  {
    std::vector<BYTE> bytes = good;
    PutWord(bytes, devModeOffset + offsetof(DEVMODE, dmSize), 0);
    damaged.push_back({"device mode of no size", bytes});
  }

  for (const Damage& damage : damaged) {
    SCOPED_TRACE(damage.what);
    Boxes().Clear();
    WriteFile(kCheckPrinterSettings, damage.bytes);
    TPrintDialogData data;
    data.SetDevNames("before", "before", "before");
    LoadPrinterSettings(nullptr, kCheckPrinterSettings, data);
    ExpectDefaultPrinter(data);
    ASSERT_EQ(Boxes().Shown().size(), 1u);
    EXPECT_EQ(Boxes().Shown()[0].caption, "System Error");
    EXPECT_NE(Boxes().Shown()[0].text.find("prnchk32.dat"), std::string::npos);

    // The file now holds the default printer and loads without a word.
    Boxes().Clear();
    TPrintDialogData again;
    LoadPrinterSettings(nullptr, kCheckPrinterSettings, again);
    EXPECT_STREQ(again.GetDeviceName(), data.GetDeviceName());
    EXPECT_TRUE(Boxes().Shown().empty());
  }
}

TEST_F(PrinterSettingsTest, OtherKindsDoNothing) {
  TPrintDialogData data;
  data.SetDevNames("a", "b", "c");
  for (int kind : {-1, 3, 100}) {
    LoadPrinterSettings(nullptr, kind, data);
    EXPECT_FALSE(SavePrinterSettings(kind, data));
  }
  EXPECT_STREQ(data.GetDeviceName(), "b");
  for (int kind = 0; kind < 3; ++kind) EXPECT_FALSE(FileExists(kind));
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(PrinterSettingsTest, ARecordThatNamesNoSizeIsStoredAsTheWholeRecord) {
  DEVMODE mode{};
  mode.dmOrientation = DMORIENT_PORTRAIT;
  TPrintDialogData saved;
  saved.SetDevNames("d", "e", "f");
  saved.SetDevMode(&mode);  // dmSize 0: the framework keeps the fixed record
  ASSERT_TRUE(SavePrinterSettings(kStatementPrinterSettings, saved));
  TPrintDialogData loaded;
  LoadPrinterSettings(nullptr, kStatementPrinterSettings, loaded);
  ASSERT_NE(loaded.GetDevMode(), nullptr);
  EXPECT_EQ(loaded.GetDevMode()->dmSize, sizeof(DEVMODE));
  EXPECT_EQ(loaded.GetDevMode()->dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_TRUE(Boxes().Shown().empty());
}
