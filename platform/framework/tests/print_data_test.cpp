/*
** The print data record: device names and device mode kept as blocks that survive copies,
** replacement and foreign offsets.
*/
#include "platform/framework/print_data.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

DEVMODE SampleDevMode(short orientation) {
  DEVMODE mode{};
  std::strcpy(reinterpret_cast<char*>(mode.dmDeviceName), "PDF");
  mode.dmSize = sizeof(DEVMODE);
  mode.dmOrientation = orientation;
  mode.dmFields = DM_ORIENTATION;
  return mode;
}

TEST(PrintData, StartsWithNoPrinterAndAllPages) {
  TPrintDialogData data;
  EXPECT_EQ(data.GetDevMode(), nullptr);
  EXPECT_FALSE(data.HasDevNames());
  EXPECT_STREQ(data.GetDriverName(), "");
  EXPECT_STREQ(data.GetDeviceName(), "");
  EXPECT_STREQ(data.GetOutputName(), "");
  EXPECT_EQ(data.Flags, static_cast<DWORD>(PD_ALLPAGES));
  EXPECT_EQ(data.Copies, 1);
}

TEST(PrintData, DevNamesBlockHasTheStoredLayout) {
  TPrintDialogData data;
  data.SetDevNames("winspool", "PDF", "PDF:");
  const DEVNAMES* names = data.GetDevNames();
  ASSERT_NE(names, nullptr);
  const char* base = reinterpret_cast<const char*>(names);
  EXPECT_EQ(names->wDriverOffset, sizeof(DEVNAMES));
  EXPECT_STREQ(base + names->wDriverOffset, "winspool");
  EXPECT_EQ(names->wDeviceOffset, sizeof(DEVNAMES) + 9);
  EXPECT_STREQ(base + names->wDeviceOffset, "PDF");
  EXPECT_STREQ(base + names->wOutputOffset, "PDF:");
  EXPECT_STREQ(data.GetDeviceName(), "PDF");
  EXPECT_STREQ(data.GetOutputName(), "PDF:");
}

TEST(PrintData, DevModeIsCopiedWithItsDriverExtraAndClearedByNull) {
  struct {
    DEVMODE mode;
    char extra[4];
  } withExtra{};
  withExtra.mode = SampleDevMode(DMORIENT_LANDSCAPE);
  withExtra.mode.dmDriverExtra = 4;
  std::memcpy(withExtra.extra, "XYZ", 4);
  TPrintDialogData data;
  data.SetDevMode(&withExtra.mode);
  ASSERT_NE(data.GetDevMode(), nullptr);
  EXPECT_EQ(data.GetDevMode()->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(GlobalSize(data.GetDevModeHandle()), sizeof(DEVMODE) + 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(data.GetDevMode() + 1), "XYZ");
  data.SetDevMode(nullptr);
  EXPECT_EQ(data.GetDevMode(), nullptr);
  EXPECT_EQ(data.GetDevModeHandle(), nullptr);
}

TEST(PrintData, CopiesOwnTheirBlocks) {
  TPrintDialogData original;
  DEVMODE mode = SampleDevMode(DMORIENT_PORTRAIT);
  original.SetDevMode(&mode);
  original.SetDevNames("winspool", "PDF", "PDF:");
  original.FromPage = 2;
  TPrintDialogData copy(original);
  original.SetDevNames("winspool", "Other", "LPT1:");
  original.GetDevMode()->dmOrientation = DMORIENT_LANDSCAPE;
  EXPECT_STREQ(copy.GetDeviceName(), "PDF");
  EXPECT_EQ(copy.GetDevMode()->dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(copy.FromPage, 2);
  TPrintDialogData assigned;
  assigned = original;
  EXPECT_STREQ(assigned.GetDeviceName(), "Other");
  EXPECT_NE(assigned.GetDevNamesHandle(), original.GetDevNamesHandle());
}

TEST(PrintData, ReadingManyTimesNeverExhaustsTheBlockLocks) {
  TPrintDialogData data;
  DEVMODE mode = SampleDevMode(DMORIENT_PORTRAIT);
  data.SetDevMode(&mode);
  data.SetDevNames("winspool", "PDF", "PDF:");
  for (int i = 0; i < 1000; ++i) {
    ASSERT_NE(data.GetDevMode(), nullptr);
    ASSERT_STREQ(data.GetDeviceName(), "PDF");
  }
}

TEST(PrintData, ForeignNamesBlockWithOffsetsPastItsEndGivesEmptyNames) {
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DEVNAMES) + 4);
  auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
  names->wDriverOffset = sizeof(DEVNAMES);
  names->wDeviceOffset = 500;
  names->wOutputOffset = sizeof(DEVNAMES) + 2;  // "b" then no terminator to the end
  std::memcpy(reinterpret_cast<char*>(names) + sizeof(DEVNAMES), "a\0bc", 4);
  GlobalUnlock(block);
  TPrintDialogData data;
  data.AdoptHandles(nullptr, block);
  EXPECT_STREQ(data.GetDriverName(), "a");
  EXPECT_STREQ(data.GetDeviceName(), "");
  EXPECT_STREQ(data.GetOutputName(), "");
}

}  // namespace
