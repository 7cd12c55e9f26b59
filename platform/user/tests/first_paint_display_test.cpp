/*
** On a real X display (Xvfb), a window shown during a start-up that runs no message loop is
** on the screen at once, and UpdateWindow puts a repaint and a changed child's text there
** too. The program doing it reads the display's own pixels back (see helpers/).
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>

namespace {

TEST(FirstPaintOnARealDisplay, AWindowShownAndUpdatedBeforeAnyLoopReachesTheScreen) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "xvfb-run is missing (tools/setup/ensure-packages installs xvfb)";
  std::string command =
      std::string("xvfb-run -a -s '-screen 0 640x480x24' env QT_QPA_PLATFORM=xcb ") +
      FIRST_PAINT_APP + " " + FIRST_PAINT_SHOTS + " 2>/dev/null";
  FILE* program = popen(command.c_str(), "r");
  ASSERT_NE(program, nullptr);
  std::string output;
  char buffer[256];
  while (size_t got = fread(buffer, 1, sizeof buffer, program)) output.append(buffer, got);
  int status = pclose(program);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(output,
            "ok first paint on the display\n"
            "ok UpdateWindow repaint on the display\n"
            "ok new status text on the display\n");
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
