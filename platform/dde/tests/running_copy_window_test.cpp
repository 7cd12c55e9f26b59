/*
** The window calls across programs: a second program finds this one's top-level window by
** its title through EnumWindows and GetWindowText, sees whether it is shown and maximized,
** and its SetActiveWindow and ShowWindow(SW_RESTORE) reach this program: the restore as a
** posted WM_SYSCOMMAND the window procedure may refuse while the program is starting.
*/
#include "platform/user/message_queue.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

/* Runs the second program to its end while this one goes on dispatching. */
int RunSecondCopy(std::string* output) {
  QProcess process;
  process.start(RUNNING_COPY, {});
  if (!process.waitForStarted(10000)) return -1;
  QElapsedTimer timer;
  timer.start();
  while (process.state() != QProcess::NotRunning && timer.elapsed() < 30000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  *output = process.readAllStandardOutput().toStdString();
  return process.state() == QProcess::NotRunning ? process.exitCode() : -1;
}

bool DispatchUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

class RunningCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    // One private runtime directory for the whole test program: the program publishes its
    // windows in the directory it first used.
    static bool prepared = false;
    if (!prepared) {
      char pattern[] = "/tmp/zdde-window-XXXXXX";
      setenv("XDG_RUNTIME_DIR", mkdtemp(pattern), 1);
      prepared = true;
    }
    static bool registered = false;
    if (!registered) {
      WNDCLASS wc{};
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = "TZarneDecoratedMDIFrame";
      ASSERT_NE(RegisterClass(&wc), 0);
      registered = true;
    }
    frame = CreateWindow("TZarneDecoratedMDIFrame", "Zarne", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300,
                         nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
  }
  void TearDown() override {
    if (IsWindow(frame)) DestroyWindow(frame);
  }
  HWND frame = nullptr;
};

TEST_F(RunningCopy, SecondCopyFindsTheFrameByTitleAndRestoresIt) {
  ShowWindow(frame, SW_SHOWMINIMIZED);
  ASSERT_TRUE(IsIconic(frame));
  std::string output;
  EXPECT_EQ(RunSecondCopy(&output), 0);
  EXPECT_EQ(output, "found Zarne TZarneDecoratedMDIFrame visible normal\n");
  EXPECT_TRUE(DispatchUntil([this] { return !IsIconic(frame); }));
  EXPECT_EQ(GetActiveWindow(), frame);
}

TEST_F(RunningCopy, TheTitleSeenFollowsTheWindowsTitle) {
  std::string output;
  SetWindowText(frame, "Zarne - [2024-001]");
  EXPECT_EQ(RunSecondCopy(&output), 0);
  EXPECT_EQ(output, "found Zarne - [2024-001] TZarneDecoratedMDIFrame hidden normal\n");
  SetWindowText(frame, "Zarne Help");  // begins with the name, and is still not the program
  EXPECT_EQ(RunSecondCopy(&output), 1);
  EXPECT_EQ(output, "none\n");
  SetWindowText(frame, "Zarne");
  DestroyWindow(frame);
  EXPECT_EQ(RunSecondCopy(&output), 1);
}

/* A frame whose program is still starting: it refuses to be restored until it is ready. */
bool gReady = false;
int gRestoreRequests = 0;

LRESULT CALLBACK StartingFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) {
    ++gRestoreRequests;
    if (!gReady) return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(RunningCopy, ASecondCopyRestoresTheFirstOnlyAfterItsStartUpShowedTheFrame) {
  WNDCLASS wc{};
  wc.lpfnWndProc = StartingFrameProc;
  wc.lpszClassName = "StartingFrame";
  ASSERT_NE(RegisterClass(&wc), 0);
  DestroyWindow(frame);  // this test's frame is the starting one
  HWND starting = CreateWindow("StartingFrame", "Zarne", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(starting, nullptr);
  std::string output;
  EXPECT_EQ(RunSecondCopy(&output), 0);
  EXPECT_EQ(output, "found Zarne StartingFrame hidden normal\n");
  ASSERT_TRUE(DispatchUntil([] { return gRestoreRequests == 1; }));
  EXPECT_FALSE(IsWindowVisible(starting));  // refused: the start-up has not finished
  // The start-up ends by showing the frame maximized; a second copy now sees that and restores it.
  gReady = true;
  ShowWindow(starting, SW_SHOWMAXIMIZED);
  EXPECT_EQ(RunSecondCopy(&output), 0);
  EXPECT_EQ(output, "found Zarne StartingFrame visible maximized\n");
  EXPECT_TRUE(DispatchUntil([starting] { return gRestoreRequests == 2 && !IsZoomed(starting); }));
  EXPECT_TRUE(IsWindowVisible(starting));
  EXPECT_EQ(GetActiveWindow(), starting);
  DestroyWindow(starting);
}

}  // namespace
