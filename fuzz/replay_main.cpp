/*
** The replay driver of the normal build: runs every file named on the command line, or found
** under a folder named there, through the target's LLVMFuzzerTestOneInput, as the fuzzer
** would. An input that crashes, fails a check, runs longer than its time limit or exhausts
** its memory limit fails the run, naming the input.
*/
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

constexpr unsigned kSecondsPerInput = 10;
constexpr rlim_t kAddressSpaceLimit = rlim_t(8) << 30;

char gCurrentInput[4096] = "";

void Say(const char* prefix) {
  (void)!::write(2, prefix, std::strlen(prefix));
  (void)!::write(2, gCurrentInput, std::strlen(gCurrentInput));
  (void)!::write(2, "\n", 1);
}

void OnAlarm(int) {
  Say("input ran longer than its time limit: ");
  ::_exit(1);
}

// A crash, abort or uncaught exception names the input, then ends the run as it would have.
void OnFatalSignal(int signal) {
  Say("input that stopped the replay: ");
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

std::vector<std::string> CollectInputs(int argc, char** argv) {
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path named(argv[i]);
    if (std::filesystem::is_directory(named)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(named))
        if (entry.is_regular_file()) inputs.push_back(entry.path().string());
    } else {
      inputs.push_back(named.string());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> inputs = CollectInputs(argc, argv);
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  rlimit limit{kAddressSpaceLimit, kAddressSpaceLimit};
  ::setrlimit(RLIMIT_AS, &limit);
  ::signal(SIGALRM, OnAlarm);
  for (int fatal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) ::signal(fatal, OnFatalSignal);
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (const std::string& input : inputs) {
    std::ifstream stream(input, std::ios::binary);
    if (!stream) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                               std::istreambuf_iterator<char>());
    std::snprintf(gCurrentInput, sizeof gCurrentInput, "%s", input.c_str());
    ::alarm(kSecondsPerInput);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ::alarm(0);
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}
