/*
** Test support for the DDE tests (see the header).
*/
#include "dde_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

void PrepareDdeTestProcess() {
  static int argc = 1;
  static char name[] = "dde_tests";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  static std::string runtime;
  if (runtime.empty()) {
    char pattern[] = "/tmp/zdde-test-XXXXXX";
    runtime = mkdtemp(pattern);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
}

bool SpinUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

int RunWhileServing(const QString& program, const QStringList& arguments, std::string* output) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted(10000)) return -1;
  bool ended = SpinUntil([&] { return process.state() == QProcess::NotRunning; }, 30000);
  if (!ended) {
    process.kill();
    process.waitForFinished();
    return -1;
  }
  if (output) *output = process.readAllStandardOutput().toStdString();
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

Child::Child(const QString& program, const QStringList& arguments)
    : process_(std::make_unique<QProcess>()) {
  // Output goes to a file, so that a child never waits on a pipe the test is not reading.
  static int children = 0;
  outputPath_ = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/child-" + std::to_string(getpid()) +
                "-" + std::to_string(++children) + ".out";
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_->setStandardOutputFile(QString::fromStdString(outputPath_));
  process_->start(program, arguments);
  process_->waitForStarted(10000);
}

Child::~Child() {
  if (process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(10000);
  }
}

std::string Child::Output() {
  std::ifstream file(outputPath_);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Child::WaitForLine(const std::string& line, int timeoutMs) {
  return SpinUntil(
      [&] {
        std::istringstream lines(Output());
        for (std::string each; std::getline(lines, each);)
          if (each == line) return true;
        return false;
      },
      timeoutMs);
}

void Child::Kill() {
  process_->kill();
  process_->waitForFinished(10000);
}

int Child::Interrupt() {
  ::kill(static_cast<pid_t>(process_->processId()), SIGINT);
  SpinUntil([&] { return process_->state() == QProcess::NotRunning; });
  Output();
  return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

long ResidentKiB(qint64 pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}
