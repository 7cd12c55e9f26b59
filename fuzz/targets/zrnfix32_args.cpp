/*
** Fuzz target: the repair utility's command line. The input, split at its NUL bytes, is the
** whole argument list main receives, its own name first (an empty input is a start with no
** arguments at all). The utility reads no argument of its own; what reads them is the
** program entry, before the utility's work: it hands the list on untouched when there is a
** home for the data, and otherwise names the program in its message and ends with 1 without
** starting it. The utility itself is not started per input: its start does not depend on the
** arguments, and it would be almost all of the time spent.
*/
#include "fuzz/fuzz_support.h"
#include "platform/framework/program_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxArguments = 64;
constexpr const char* kNoHome = ": no home directory to keep the data in:";
constexpr int kProgramAnswer = 37;

const std::vector<std::string>* gExpected = nullptr;
int gStarts = 0;

/* Stands in for the utility: checks it was handed exactly the list the entry was given. */
int RecordingProgram(int argc, char* argv[]) {
  ++gStarts;
  FuzzRequire(argc == static_cast<int>(gExpected->size()), "the program gets every argument");
  for (int i = 0; i < argc; ++i)
    FuzzRequire(argv[i] && (*gExpected)[i] == argv[i],
                "each argument reaches the program unchanged");
  FuzzRequire(argv[argc] == nullptr, "the argument list still ends in a null");
  return kProgramAnswer;
}

int Enter(std::vector<std::string> words, std::FILE* messages) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return EnterProgram(static_cast<int>(words.size()), argv.data(), RecordingProgram, messages);
}

std::string gRoot;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gRoot = FuzzScratchDirectory() + "/root";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words;
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
  gExpected = &words;

  // A home for the data: the program runs with the list and its answer is the entry's.
  setenv("ZARNE_ROOT", gRoot.c_str(), 1);
  gStarts = 0;
  FuzzRequire(Enter(words, stderr) == kProgramAnswer && gStarts == 1,
              "with a home the program runs once");

  // No home: a message naming the program, 1, and no start.
  unsetenv("ZARNE_ROOT");
  const char* home = std::getenv("HOME");
  std::string savedHome = home ? home : "";
  unsetenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::string savedDataHome = dataHome ? dataHome : "";
  unsetenv("XDG_DATA_HOME");
  char* text = nullptr;
  size_t length = 0;
  std::FILE* messages = open_memstream(&text, &length);
  FuzzRequire(messages != nullptr, "a message stream");
  int answer = Enter(words, messages);
  std::fclose(messages);
  std::string message(text, length);
  std::free(text);
  if (home) setenv("HOME", savedHome.c_str(), 1);
  if (dataHome) setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
  FuzzRequire(answer == 1 && gStarts == 1,
              "without a home the program does not start and the entry ends with 1");
  const std::string name = words.empty() ? std::string("zarne32") : words.front();
  FuzzRequire(message.compare(0, name.size() + std::strlen(kNoHome), name + kNoHome) == 0 &&
                  message.back() == '\n',
              "the message names the program and says why");
  return 0;
}
