/*
** Starting zarne32, finding its frame, ending it.
*/
#include "program_runner.h"

#include "platform/user/window_manager.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
void Sleep10ms() {
  struct timespec pause {
    0, 10'000'000
  };
  nanosleep(&pause, nullptr);
}

std::string MakeTemp(const char* pattern) {
  std::string path = (fs::temp_directory_path() / pattern).string();
  std::vector<char> buffer(path.begin(), path.end());
  buffer.push_back(0);
  return mkdtemp(buffer.data()) ? buffer.data() : "";
}
}  // namespace

ProgramPlaces FreshPlaces() {
  ProgramPlaces places;
  places.root = MakeTemp("zarne-root-XXXXXX");
  places.runtime = MakeTemp("zarne-run-XXXXXX");
  places.home = MakeTemp("zarne-home-XXXXXX");
  return places;
}

ZarneProgram::ZarneProgram(const ProgramPlaces& places, std::vector<std::string> extraEnvironment) {
  Start(places, ZARNE32_PROGRAM, {}, std::move(extraEnvironment));
}

ZarneProgram::ZarneProgram(const ProgramPlaces& places, const std::string& program,
                           std::vector<std::string> arguments,
                           std::vector<std::string> extraEnvironment) {
  Start(places, program, std::move(arguments), std::move(extraEnvironment));
}

void ZarneProgram::Start(const ProgramPlaces& places, const std::string& program,
                         std::vector<std::string> arguments,
                         std::vector<std::string> extraEnvironment) {
  // Each program its own output files: two programs on the same places (a second copy, a
  // restart) would otherwise write over each other, and a restart's wait could read the
  // output its predecessor left before the new program had opened the file.
  static int started = 0;
  std::string stem = places.runtime + "/../" + fs::path(places.runtime).filename().string() + "." +
                     std::to_string(++started);
  stderrFile_ = stem + ".stderr";
  stdoutFile_ = stem + ".stdout";
  std::ofstream(stderrFile_, std::ios::trunc).close();
  std::ofstream(stdoutFile_, std::ios::trunc).close();
  std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen",
                                          "ZARNE_ROOT=" + places.root,
                                          "XDG_RUNTIME_DIR=" + places.runtime,
                                          "HOME=" + places.home,
                                          "XDG_DATA_HOME=" + places.home + "/.local/share",
                                          "PATH=/usr/bin:/bin"};
  for (std::string& extra : extraEnvironment) environment.push_back(std::move(extra));
  std::vector<std::string> command = {program};
  for (std::string& argument : arguments) command.push_back(std::move(argument));
  pid_ = fork();
  if (pid_ == 0) {
    FILE* err = std::fopen(stderrFile_.c_str(), "w");
    if (err) dup2(fileno(err), 2);
    FILE* out = std::fopen(stdoutFile_.c_str(), "w");
    if (out) dup2(fileno(out), 1);
    std::vector<char*> env;
    for (std::string& entry : environment) env.push_back(entry.data());
    env.push_back(nullptr);
    std::vector<char*> argv;
    for (std::string& part : command) argv.push_back(part.data());
    argv.push_back(nullptr);
    execve(argv[0], argv.data(), env.data());
    _exit(127);
  }
}

ZarneProgram::~ZarneProgram() {
  if (pid_ > 0 && status_ < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  fs::remove(stderrFile_, ignored);
  fs::remove(stdoutFile_, ignored);
}

std::vector<SeenWindow> SeenWindows() {
  std::vector<SeenWindow> seen;
  EnumWindows(
      [](HWND hwnd, LPARAM list) {
        char title[128] = "";
        GetWindowText(hwnd, title, sizeof title);
        reinterpret_cast<std::vector<SeenWindow>*>(list)->push_back(
            SeenWindow{hwnd, title, IsWindowVisible(hwnd) != FALSE, IsZoomed(hwnd) != FALSE});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  return seen;
}

bool ZarneProgram::WaitForFrame(int seconds) {
  for (int tick = 0; tick < seconds * 100; ++tick) {
    bool frame = false, splash = false;
    for (const SeenWindow& window : SeenWindows()) {
      if (window.title == "Zarne" && window.visible && window.zoomed) frame = true;
      if (window.title.empty() && window.visible) splash = true;
    }
    if (frame && !splash) return true;
    if (WaitForExit(0) >= 0) return false;
    Sleep10ms();
  }
  return false;
}

int ZarneProgram::WaitForExit(int seconds) {
  if (status_ >= 0) return status_;
  for (int tick = 0; tick <= seconds * 100; ++tick) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (seconds > 0) Sleep10ms();
  }
  return -1;
}

int ZarneProgram::Terminate(int seconds) {
  if (status_ < 0) kill(pid_, SIGTERM);
  return WaitForExit(seconds);
}

namespace {
std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

std::string ZarneProgram::Stderr() const { return FileText(stderrFile_); }
std::string ZarneProgram::Stdout() const { return FileText(stdoutFile_); }

bool ZarneProgram::WaitForOutput(const std::string& text, int seconds) {
  for (int tick = 0; tick < seconds * 100; ++tick) {
    if (Stdout().find(text) != std::string::npos) return true;
    if (WaitForExit(0) >= 0) return Stdout().find(text) != std::string::npos;
    Sleep10ms();
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& directory) {
  std::vector<std::pair<std::string, std::string>> files;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(directory, ignored);
       it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_regular_file()) continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    files.emplace_back(fs::relative(it->path(), directory).string(), bytes.str());
  }
  std::sort(files.begin(), files.end());
  return files;
}

int CountOf(const std::string& haystack, const std::string& text) {
  int count = 0;
  for (size_t at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + 1))
    ++count;
  return count;
}
