/*
** The private desktop: Xvfb picks a free display itself (-displayfd), so desktop tests run
** side by side; openbox runs with a home of its own; zarne32 runs on a fresh root, home and
** runtime directory. Tools (xdotool, xprop, xwininfo) are run as child processes.
*/
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

std::string MakeTempDirectory() {
  std::string pattern = (fs::temp_directory_path() / "zarne-desktop-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  return mkdtemp(buffer.data()) ? buffer.data() : "";
}

/* Starts a program with the given environment; its output goes to the file (or nowhere). */
pid_t Spawn(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const std::string& logFile, int keepFd = -1) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, 0);  // its own group: ending it ends what it started
  int log =
      open(logFile.empty() ? "/dev/null" : logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (log >= 0) {
    dup2(log, 1);
    dup2(log, 2);
  }
  for (int fd = 3; fd < 256; ++fd)
    if (fd != keepFd) close(fd);
  std::vector<std::string> env = environment;
  std::vector<char*> envp, argv;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = command;
  for (std::string& part : args) argv.push_back(part.data());
  argv.push_back(nullptr);
  execvpe(argv[0], argv.data(), envp.data());
  _exit(127);
}

void End(pid_t& pid) {
  if (pid <= 0) return;
  kill(-pid, SIGTERM);
  kill(pid, SIGTERM);
  for (int tick = 0; tick < 100; ++tick) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/* The root window's pixels as the X server holds them: one GetImage of the root. (xwd -root
   rebuilds its picture window by window through each window's colormap, and under a window
   manager it shows a dialog's area black although the server's pixels there are the dialog's.) */
Screenshot ReadRootPixels(const std::string& display) {
  Screenshot shot;
  Display* connection = XOpenDisplay(display.c_str());
  if (!connection) return shot;
  Window root = DefaultRootWindow(connection);
  XWindowAttributes attributes;
  XImage* image = nullptr;
  if (XGetWindowAttributes(connection, root, &attributes))
    image =
        XGetImage(connection, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image) {
    auto shiftOf = [](unsigned long mask) {
      int shift = 0;
      while (mask && !(mask & 1)) mask >>= 1, ++shift;
      return shift;
    };
    int rs = shiftOf(image->red_mask), gs = shiftOf(image->green_mask),
        bs = shiftOf(image->blue_mask);
    shot.width = image->width;
    shot.height = image->height;
    shot.pixels.resize(size_t(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) {
        unsigned long v = XGetPixel(image, x, y);
        uint32_t r = uint32_t((v & image->red_mask) >> rs),
                 g = uint32_t((v & image->green_mask) >> gs),
                 b = uint32_t((v & image->blue_mask) >> bs);
        shot.pixels[size_t(y) * shot.width + x] = (r << 16) | (g << 8) | b;
      }
    XDestroyImage(image);
  }
  XCloseDisplay(connection);
  return shot;
}

/* One PNG chunk: length, type, data, and the CRC of type and data. */
void WriteChunk(std::ofstream& out, const char* type, const std::string& data) {
  auto big = [&](uint32_t v) {
    char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.write(b, 4);
  };
  big(uint32_t(data.size()));
  std::string typed = std::string(type, 4) + data;
  out.write(typed.data(), std::streamsize(typed.size()));
  big(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

/* The picture as an 8-bit RGB PNG, for people to look at. */
void WritePng(const Screenshot& shot, const std::string& path) {
  std::string rows;
  rows.reserve(size_t(shot.height) * (1 + 3 * size_t(shot.width)));
  for (int y = 0; y < shot.height; ++y) {
    rows.push_back(0);  // no filter
    for (int x = 0; x < shot.width; ++x) {
      uint32_t v = shot.At(x, y);
      rows += {char(v >> 16), char(v >> 8), char(v)};
    }
  }
  uLongf packedSize = compressBound(uLong(rows.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()), 6) != Z_OK)
    return;
  packed.resize(packedSize);
  std::string header(13, '\0');
  for (int i = 0; i < 4; ++i) {
    header[size_t(i)] = char(uint32_t(shot.width) >> (24 - 8 * i));
    header[size_t(4 + i)] = char(uint32_t(shot.height) >> (24 - 8 * i));
  }
  header[8] = 8;  // bits per sample
  header[9] = 2;  // RGB
  std::ofstream out(path, std::ios::binary);
  out.write("\x89PNG\r\n\x1a\n", 8);
  WriteChunk(out, "IHDR", header);
  WriteChunk(out, "IDAT", packed);
  WriteChunk(out, "IEND", "");
}

int FieldAfter(const std::string& text, const std::string& label) {
  size_t at = text.find(label);
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + label.size());
}

}  // namespace

int Screenshot::CountNot(int left, int top, int right, int bottom, uint32_t colour) const {
  int count = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, width); ++x) count += At(x, y) != colour;
  return count;
}

int Screenshot::CountChanged(const Screenshot& other, int left, int top, int right,
                             int bottom) const {
  int count = 0;
  for (int y = std::max(top, 0); y < std::min({bottom, height, other.height}); ++y)
    for (int x = std::max(left, 0); x < std::min({right, width, other.width}); ++x)
      count += At(x, y) != other.At(x, y);
  return count;
}

Desktop::Desktop(bool windowManager) {
  work_ = MakeTempDirectory();
  int pipeFds[2];
  if (work_.empty() || pipe(pipeFds) != 0) {
    ADD_FAILURE() << "no temporary directory or pipe";
    return;
  }
  std::string geometry = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  server_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", geometry,
                   "-nolisten", "tcp", "-noreset"},
                  {"PATH=/usr/bin:/bin"}, work_ + "/xvfb.log", pipeFds[1]);
  close(pipeFds[1]);
  // The server writes its display number once it accepts clients.
  std::string number;
  char c;
  while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(pipeFds[0]);
  if (number.empty()) {
    ADD_FAILURE() << "Xvfb did not start: " << FileText(work_ + "/xvfb.log");
    return;
  }
  display_ = ":" + number;
  if (windowManager) StartWindowManager();
}

void Desktop::StartWindowManager() {
  fs::create_directories(work_ + "/wmhome");
  windowManager_ = Spawn({"openbox", "--sm-disable"},
                         {"PATH=/usr/bin:/bin", "DISPLAY=" + display_, "HOME=" + work_ + "/wmhome",
                          "XDG_CONFIG_HOME=" + work_ + "/wmhome/.config"},
                         work_ + "/openbox.log");
  // openbox is ready once it names itself on the root window.
  bool ready = WaitUntil([&] { return !Property(0, "_NET_SUPPORTING_WM_CHECK").empty(); }, 20);
  if (!ready) ADD_FAILURE() << "openbox did not start: " << FileText(work_ + "/openbox.log");
}

Desktop::~Desktop() {
  End(program_);
  End(windowManager_);
  End(server_);
  std::error_code ignored;
  if (!work_.empty()) fs::remove_all(work_, ignored);
}

std::vector<std::string> Desktop::Environment() const {
  return {"PATH=/usr/bin:/bin", "DISPLAY=" + display_, "HOME=" + work_ + "/home"};
}

long Desktop::StartProgram(int seconds) {
  root_ = work_ + "/root";
  for (const char* dir : {"/root", "/home", "/run"}) fs::create_directories(work_ + dir);
  // The program's default directory C:\ZARNE exists, so no first-start question waits.
  fs::create_directories(root_ + "/drive_c/ZARNE");
  if (!zarneIni_.empty()) {
    fs::create_directories(root_ + "/windows");
    std::ofstream(root_ + "/windows/zarne.ini") << zarneIni_;
  }
  fs::permissions(work_ + "/run", fs::perms::owner_all);
  program_ =
      Spawn({ZARNE32_PROGRAM},
            {"PATH=/usr/bin:/bin", "DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb",
             "ZARNE_ROOT=" + root_, "HOME=" + work_ + "/home",
             "XDG_DATA_HOME=" + work_ + "/home/.local/share", "XDG_RUNTIME_DIR=" + work_ + "/run"},
            work_ + "/zarne32.log");
  long frame = 0;
  WaitUntil(
      [&] {
        frame = WaitForWindow("^Zarne$", 0);
        // Placed: maximised by the window manager (or by the program alone without one).
        return (frame && Place(frame).width > kWidth / 2) || !ProgramRunning();
      },
      seconds);
  if (!frame) ADD_FAILURE() << "zarne32 showed no frame: " << ProgramLog();
  return frame;
}

long Desktop::StartProgramWithIni(const std::string& zarneIni, int seconds) {
  zarneIni_ = zarneIni;
  return StartProgram(seconds);
}

std::string Desktop::ProgramLog() const { return FileText(work_ + "/zarne32.log"); }

bool Desktop::ProgramRunning() {
  if (program_ <= 0) return false;
  int status = 0;
  if (waitpid(program_, &status, WNOHANG) == program_) {
    program_ = -1;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  return true;
}

std::string Desktop::Run(const std::vector<std::string>& command, int* status) const {
  int fds[2];
  if (pipe(fds) != 0) return "";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    close(fds[0]);
    std::vector<std::string> env = Environment();
    std::vector<char*> envp, argv;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    for (std::string& part : args) argv.push_back(part.data());
    argv.push_back(nullptr);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(fds[1]);
  std::string out;
  char buffer[65536];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, size_t(n));
  close(fds[0]);
  int result = 0;
  waitpid(pid, &result, 0);
  if (status) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return out;
}

void Desktop::Key(const std::string& keys) const {
  // xdotool takes each key of a sequence as an argument of its own ("Tab Tab" as one is refused).
  std::vector<std::string> command = {"xdotool", "key", "--delay", "60"};
  std::istringstream names(keys);
  for (std::string name; names >> name;) command.push_back(name);
  Run(command);
}

void Desktop::Type(const std::string& text) const {
  Run({"xdotool", "type", "--delay", "40", text});
}

void Desktop::MoveTo(int x, int y) const {
  Run({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void Desktop::Click(int x, int y, int button) const {
  MoveTo(x, y);
  Run({"xdotool", "click", std::to_string(button)});
}

std::vector<long> Desktop::Windows(const std::string& titlePattern) const {
  std::istringstream lines(Run({"xdotool", "search", "--onlyvisible", "--name", titlePattern}));
  std::vector<long> found;
  std::regex whole(titlePattern);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    long id = std::atol(line.c_str());
    // xdotool matches anywhere and also Qt's unnamed helper windows; keep real matches.
    if (std::regex_search(Title(id), whole)) found.push_back(id);
  }
  return found;
}

long Desktop::WaitForWindow(const std::string& titlePattern, int seconds) const {
  long found = 0;
  WaitUntil(
      [&] {
        std::vector<long> windows = Windows(titlePattern);
        found = windows.empty() ? 0 : windows.back();
        return found != 0;
      },
      seconds);
  return found;
}

bool Desktop::WaitForWindowGone(long window, int seconds) const {
  return WaitUntil(
      [&] {
        std::string info = Run({"xwininfo", "-id", std::to_string(window)});
        return info.find("IsViewable") == std::string::npos;
      },
      seconds);
}

WindowPlace Desktop::Place(long window) const {
  std::string info = Run({"xwininfo", "-id", std::to_string(window)});
  WindowPlace place;
  place.x = FieldAfter(info, "Absolute upper-left X:");
  place.y = FieldAfter(info, "Absolute upper-left Y:");
  place.width = FieldAfter(info, "Width:");
  place.height = FieldAfter(info, "Height:");
  std::string extents = Property(window, "_NET_FRAME_EXTENTS");
  size_t eq = extents.find('=');
  if (eq != std::string::npos)
    std::sscanf(extents.c_str() + eq + 1, " %d, %d, %d, %d", &place.frameLeft, &place.frameRight,
                &place.frameTop, &place.frameBottom);
  return place;
}

std::string Desktop::Title(long window) const {
  std::string line = Run({"xdotool", "getwindowname", std::to_string(window)});
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

std::string Desktop::Property(long window, const std::string& name) const {
  std::vector<std::string> command = {"xprop"};
  if (window) command.insert(command.end(), {"-id", std::to_string(window)});
  else command.push_back("-root");
  command.push_back(name);
  std::string text = Run(command);
  // "NAME:  not found." / "no such atom" mean the window has none.
  if (text.find("not found") != std::string::npos || text.find("no such") != std::string::npos)
    return "";
  return text;
}

std::vector<long> Desktop::Stacking() const {
  std::string text = Property(0, "_NET_CLIENT_LIST_STACKING");
  std::vector<long> order;
  size_t at = text.find('#');
  if (at == std::string::npos) return order;
  std::istringstream ids(text.substr(at + 1));
  for (std::string id; std::getline(ids, id, ',');)
    order.push_back(std::strtol(id.c_str(), nullptr, 16));
  return order;
}

long Desktop::ActiveWindow() const {
  std::string text = Property(0, "_NET_ACTIVE_WINDOW");
  size_t at = text.find('#');
  return at == std::string::npos ? 0 : std::strtol(text.c_str() + at + 1, nullptr, 16);
}

Screenshot Desktop::Shoot(const std::string& name) const {
  Screenshot shot = ReadRootPixels(display_);
  if (!name.empty() && shot.width > 0) {
    // A viewable copy for people; the test itself needs only the pixels.
    WritePng(shot, ShotsDirectory() + "/" + name + ".png");
  }
  return shot;
}

std::string Desktop::ShotsDirectory() {
  const char* dir = std::getenv("DESKTOP_SHOTS");
  std::string path = dir && *dir ? dir : fs::current_path().string() + "/shots";
  std::error_code ignored;
  fs::create_directories(path, ignored);
  return path;
}

double Desktop::CpuShare(pid_t pid, double seconds) {
  auto ticks = [pid] {
    std::string stat = FileText("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return 0L;
    std::istringstream fields(stat.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt: fields 3 to 13
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
  };
  long before = ticks();
  auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  long after = ticks();
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return double(after - before) / double(sysconf(_SC_CLK_TCK)) / elapsed;
}

bool Desktop::SettlesIdle(pid_t pid, double seconds) {
  return WaitUntil([pid] { return CpuShare(pid, 1.0) < 0.15; }, seconds);
}

bool Desktop::WaitUntil(const std::function<bool()>& condition, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}
