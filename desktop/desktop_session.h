/*
** A private desktop for the tests that must see what a user sees: an Xvfb X server of its
** own, optionally the openbox window manager on it, and the real zarne32 started on a fresh
** data root. The test talks to the program only as a user would: X key and mouse events
** (xdotool), and reads back what the X server shows (its root window's pixels) and what
** the window manager knows (stacking, window types, frame extents, xprop).
*/
#ifndef ZARNE_DESKTOP_DESKTOP_SESSION_H
#define ZARNE_DESKTOP_DESKTOP_SESSION_H

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/* The X server's pixels, 0xRRGGBB each, row by row. */
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  /* Pixels inside the rectangle that differ from the colour. */
  int CountNot(int left, int top, int right, int bottom, uint32_t colour) const;
  /* Pixels inside the rectangle that differ between the two pictures. */
  int CountChanged(const Screenshot& other, int left, int top, int right, int bottom) const;
};

/* A window's place on the screen: its own area, and what the window manager draws around it. */
struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;  // the client window's area, root coordinates
  int frameLeft = 0, frameRight = 0, frameTop = 0, frameBottom = 0;  // _NET_FRAME_EXTENTS
  int OuterTop() const { return y - frameTop; }
  int OuterLeft() const { return x - frameLeft; }
};

class Desktop {
 public:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 1024;

  /* Starts the X server and, when asked, the window manager; the test fails when either does
     not come up. */
  explicit Desktop(bool windowManager = true);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  /* Starts zarne32 on a fresh root and waits until its frame "Zarne" is mapped and its window
     manager has placed it; answers its X window (0 on failure). */
  long StartProgram(int seconds = 90);
  /* The same, with zarne.ini holding the text before the program starts. */
  long StartProgramWithIni(const std::string& zarneIni, int seconds = 90);
  /* The program's exit code once it ended by itself (128+n after a signal n); -1 before. */
  int ProgramExitCode() const { return exitCode_; }
  pid_t ProgramPid() const { return program_; }
  pid_t WindowManagerPid() const { return windowManager_; }
  const std::string& Display() const { return display_; }
  const std::string& DataRoot() const { return root_; }
  /* The program's standard error, for failure messages. */
  std::string ProgramLog() const;
  /* True while the program runs. */
  bool ProgramRunning();

  /* Runs a tool on this display and answers its standard output. */
  std::string Run(const std::vector<std::string>& command, int* status = nullptr) const;

  // Input, as the user's keyboard and mouse make it.
  void Key(
      const std::string& keys) const;  // xdotool key names, blank-separated: "alt+a", "Tab Tab"
  void Type(const std::string& text) const;
  void MoveTo(int x, int y) const;
  void Click(int x, int y, int button = 1) const;

  /* Visible top-level windows whose title matches the regular expression (xdotool search). */
  std::vector<long> Windows(const std::string& titlePattern) const;
  /* Polls until a visible window with a matching title exists; 0 after the timeout. */
  long WaitForWindow(const std::string& titlePattern, int seconds = 20) const;
  /* Polls until the window is no longer viewable; false after the timeout. */
  bool WaitForWindowGone(long window, int seconds = 20) const;
  WindowPlace Place(long window) const;
  std::string Title(long window) const;
  /* One property of a window as xprop prints it ("" when it has none). */
  std::string Property(long window, const std::string& name) const;
  /* The window manager's stacking order of its managed windows, bottom first. */
  std::vector<long> Stacking() const;
  /* The window the window manager calls active (_NET_ACTIVE_WINDOW), 0 for none. */
  long ActiveWindow() const;

  /* The root window's pixels now. With a name, also kept as <name>.png among the shots. */
  Screenshot Shoot(const std::string& name = "") const;
  /* Where pictures are kept: $DESKTOP_SHOTS, else the test's working directory. */
  static std::string ShotsDirectory();

  /* The share of one processor the process used over the interval (from /proc). */
  static double CpuShare(pid_t pid, double seconds);
  /* True once the process has used under 15% of one processor over a second, tried for the
     given time: a burst of work just after a dialog shows passes, a busy loop or an
     activation fight (a whole processor, all the time) never does. */
  static bool SettlesIdle(pid_t pid, double seconds = 15);

  /* Polls a condition every 50 ms; false after the timeout. */
  static bool WaitUntil(const std::function<bool()>& condition, double seconds);

 private:
  void StartWindowManager();
  std::vector<std::string> Environment() const;
  std::string display_;
  std::string work_;  // temporary directory: home, runtime and data root below it
  std::string root_;
  pid_t server_ = -1;
  pid_t windowManager_ = -1;
  pid_t program_ = -1;
  int exitCode_ = -1;
  std::string zarneIni_;
};

#endif
