/*
** The end of a day on a real desktop: with two files open, one changed in its edit line,
** File|Exit, the frame's close button, SIGTERM and a logout (SIGTERM with SIGHUP) each end
** zarne32 with 0 and no box, with the change saved and both files free for other stations.
*/
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

enum class Road { kFileExit, kFrameClose, kSigterm, kLogout };

void OpenFile(Desktop& desktop, const std::string& number) {
  desktop.Key("alt+f");
  desktop.Key("n");
  ASSERT_NE(desktop.WaitForWindow("^New File$"), 0);
  desktop.Type(number);
  desktop.Key("Return");
  ASSERT_NE(desktop.WaitForWindow("^Zarne - \\[" + number + "\\]$"), 0) << desktop.ProgramLog();
}

void EndTheDay(Road road) {
  Desktop desktop(true);
  long frame = desktop.StartProgramWithIni("[HUD1Options]\r\nMaxWindows=2\r\n");
  ASSERT_NE(frame, 0);
  OpenFile(desktop, "X1");
  OpenFile(desktop, "X2");
  desktop.Type("Evening Buyer");  // into X2's first field, not yet committed
  const std::string database = desktop.DataRoot() + "/drive_c/ZARNE";
  ASSERT_EQ(desktop.Run({LOCK_PROBE, database, "X1"}), "refused\n");
  switch (road) {
    case Road::kFileExit:
      desktop.Key("alt+f");
      desktop.Key("x");
      break;
    case Road::kFrameClose: desktop.Key("alt+F4"); break;
    case Road::kSigterm: kill(desktop.ProgramPid(), SIGTERM); break;
    case Road::kLogout:
      kill(desktop.ProgramPid(), SIGTERM);
      kill(desktop.ProgramPid(), SIGHUP);
      break;
  }
  bool ended = Desktop::WaitUntil([&] { return !desktop.ProgramRunning(); }, 20);
  EXPECT_TRUE(ended) << "still running; windows: " << desktop.Windows(".").size()
                     << desktop.ProgramLog();
  EXPECT_EQ(desktop.ProgramExitCode(), 0) << desktop.ProgramLog();
  EXPECT_EQ(desktop.Run({TABLE_READER, database, "BUYER", "X2", "2", "s"}), "Evening Buyer\n");
  EXPECT_EQ(desktop.Run({TABLE_READER, database, "BUYER", "X1", "1", "s"}), "X1\n");
  EXPECT_EQ(desktop.Run({LOCK_PROBE, database, "X1"}), "locked\n");
  EXPECT_EQ(desktop.Run({LOCK_PROBE, database, "X2"}), "locked\n");
}

TEST(DesktopExit, FileExit) { EndTheDay(Road::kFileExit); }
TEST(DesktopExit, TheFramesCloseButton) { EndTheDay(Road::kFrameClose); }
TEST(DesktopExit, Sigterm) { EndTheDay(Road::kSigterm); }
TEST(DesktopExit, ALogout) { EndTheDay(Road::kLogout); }

}  // namespace
