/*
** Shared by the DDE tests: the event loop the library dispatches on, a private runtime
** directory per test process, child programs (the test server, zdde) and waiting on them
** while the event loop runs.
*/
#ifndef ZARNE_PLATFORM_DDE_TESTS_DDE_TEST_SUPPORT_H
#define ZARNE_PLATFORM_DDE_TESTS_DDE_TEST_SUPPORT_H

#include <QProcess>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

/* Makes the QCoreApplication and points XDG_RUNTIME_DIR at a fresh directory (which also
   holds the children's output). */
void PrepareDdeTestProcess();

/* Runs the event loop until done() holds; false when it did not within timeoutMs. */
bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 20000);

/* Runs a program to its end while the event loop runs; its exit code, -1 when it had to
   be killed. Standard output goes to *output when given. */
int RunWhileServing(const QString& program, const QStringList& arguments,
                    std::string* output = nullptr);

/* A child process whose output lines the test waits for. */
class Child {
 public:
  Child(const QString& program, const QStringList& arguments);
  ~Child();
  /* Waits (serving) until a whole output line equals line. */
  bool WaitForLine(const std::string& line, int timeoutMs = 20000);
  /* Every line seen so far. */
  std::string Output();
  qint64 pid() const { return process_->processId(); }
  void Kill();
  /* Sends SIGINT and waits for the end; the exit code. */
  int Interrupt();
  QProcess& process() { return *process_; }

 private:
  std::unique_ptr<QProcess> process_;
  std::string outputPath_;
};

/* The resident set of a process in KiB, from /proc. */
long ResidentKiB(qint64 pid);

#endif
