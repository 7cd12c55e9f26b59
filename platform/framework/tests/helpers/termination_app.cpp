/*
** A framework program for the termination tests. It prints "ready" once its main window
** exists, "can-close" when the application is asked to close and "ended <code>" after its
** message loop. Given "stubborn", its close handler prints "closing" and then never returns,
** as a close that waits on something forever.
*/
#include "platform/framework/application.h"
#include "platform/framework/frame.h"
#include "platform/user/message_queue.h"

#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

class TerminationApp : public TApplication {
 public:
  explicit TerminationApp(bool stubborn) : TApplication("Termination"), stubborn_(stubborn) {}
  void InitInstance() override {
    TApplication::InitInstance();
    Say("ready");
  }
  bool CanClose() override {
    Say("can-close");
    if (stubborn_) {
      Say("closing");
      for (;;) {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
        usleep(10000);
      }
    }
    return TApplication::CanClose();
  }
  static void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
  }

 private:
  bool stubborn_;
};

}  // namespace

int OwlMain(int argc, char* argv[]) {
  TerminationApp app(argc > 1 && std::strcmp(argv[1], "stubborn") == 0);
  int code = app.Run();
  std::printf("ended %d\n", code);
  std::fflush(stdout);
  return code;
}
