/*
** Fuzz target: the repair utility's command line. The input, split at its NUL bytes, is the
** argument list the program's entry receives after its own name; the program starts (its
** frame, the engine and the database) and is closed at once, as a quit waiting in its queue
** ends it. Whatever the arguments, the start must show no box and the run must end with 0,
** as a start without arguments does.
*/
#include "fuzz/fuzz_support.h"
#include "platform/framework/application.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr size_t kMaxArguments = 64;
int gBoxes = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0700);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  SetMessageBoxPresenter([](const MessageBoxRequest& box) {
    ++gBoxes;
    return DefaultMessageBoxAnswer(box.type);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words{"zrnfix32"};
  std::string word;
  for (size_t i = 0; i < size && words.size() < kMaxArguments; ++i) {
    if (data[i] == '\0') {
      words.push_back(word);
      word.clear();
    } else {
      word.push_back(static_cast<char>(data[i]));
    }
  }
  if (!word.empty() && words.size() < kMaxArguments) words.push_back(word);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  gBoxes = 0;
  PostQuitMessage(0);  // the loop ends as soon as the program has started
  int result = OwlMain(static_cast<int>(words.size()), argv.data());
  FuzzRequire(result == 0, "the program ends with 0");
  FuzzRequire(gBoxes == 0, "the program starts without a box");
  return 0;
}
