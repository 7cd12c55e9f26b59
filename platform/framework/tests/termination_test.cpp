/*
** A real framework program ended by SIGTERM or SIGHUP: the request closes the main window
** through the queue (the application's close handler runs, the loop ends, exit code 0); a
** second signal while the close is still under way ends the program at once.
*/
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class HelperProgram {
 public:
  explicit HelperProgram(const char* mode) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      execl(TERMINATION_APP, TERMINATION_APP, mode, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    out_ = out[0];
  }
  ~HelperProgram() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }
  /* Reads output until it holds `line` as a whole line; false after the timeout. */
  bool WaitForLine(const std::string& line, int timeoutMs = 20000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (output_.find(line + "\n") == std::string::npos) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char buffer[256];
      ssize_t got = read(out_, buffer, sizeof buffer);
      if (got <= 0) return output_.find(line + "\n") != std::string::npos;
      output_.append(buffer, static_cast<size_t>(got));
    }
    return true;
  }
  /* Waits for the end; the wait status, or -1 after the timeout. */
  int Wait(int timeoutMs = 20000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        ReadToEnd();  // whatever it still wrote
        return status;
      }
      usleep(10000);
    }
    return -1;
  }
  void ReadToEnd() {
    char buffer[256];
    for (ssize_t got; (got = read(out_, buffer, sizeof buffer)) > 0;)
      output_.append(buffer, static_cast<size_t>(got));
  }
  void Signal(int number) { kill(pid_, number); }
  const std::string& Output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool reaped_ = false;
  std::string output_;
};

void ExpectACleanClose(int signalNumber) {
  HelperProgram program("plain");
  ASSERT_TRUE(program.WaitForLine("ready")) << program.Output();
  program.Signal(signalNumber);
  int status = program.Wait();
  ASSERT_NE(status, -1) << "still running after the signal";
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(program.Output(), "ready\ncan-close\nended 0\n");
}

TEST(Termination, SigtermClosesTheMainWindowAndTheProgramExitsNormally) {
  ExpectACleanClose(SIGTERM);
}

TEST(Termination, SighupClosesTheMainWindowAsWell) { ExpectACleanClose(SIGHUP); }

TEST(Termination, ASecondSignalWhileClosingEndsTheProgramAtOnce) {
  HelperProgram program("stubborn");
  ASSERT_TRUE(program.WaitForLine("ready")) << program.Output();
  program.Signal(SIGTERM);
  ASSERT_TRUE(program.WaitForLine("closing")) << program.Output();
  program.Signal(SIGTERM);
  int status = program.Wait(5000);
  ASSERT_NE(status, -1) << "the second signal did not end it";
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(program.Output().find("ended"), std::string::npos);
}

}  // namespace
