/*
** Fuzz target: script text run by the interpreter with a binding of a few data fields of
** each display kind, resumed after each `end` as a bundle is. Errors go to the (answered)
** error box; every resume position must lie within the text, and nothing may crash, hang
** or write outside what it owns.
*/
#include "fuzz/fuzz_binding.h"
#include "fuzz/fuzz_support.h"
#include "platform/kernel/local_time.h"
#include "platform/user/message_box.h"
#include "script/zbasic.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

/* Far more steps than any seed or mutated bundle needs; the runs stop at the text's end. */
constexpr int kMaxResumes = 10000;
#ifdef ZARNE_FUZZING
// Under the sanitizers a run of the full budget takes seconds: the fuzzer stops endless
// loops sooner, while the replay keeps the program's own budget.
constexpr long kFuzzStatementBudget = 20000;
// Likewise its second of running passes twenty times as fast: a loop of costly statements
// stops after some 50 ms instead of at the fuzzer's own limit for an input.
DWORD FastClock() { return GetTickCount() * 20; }
#endif

FuzzBinding gBinding;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  gBinding.Install();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The interpreter reads a NUL-terminated text, as the field and bundle files give it.
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const char* end = text.data() + std::strlen(text.data());
  gBinding.Restore();
  TZBasic basic(&gBinding);
#ifdef ZARNE_FUZZING
  basic.SetStatementBudget(kFuzzStatementBudget);
  TZBasic::SetClockForTest(FastClock);
#endif
  const char* at = text.data();
  for (int resumes = 0; at && resumes < kMaxResumes; ++resumes) {
    at = basic.RunScript(at);
    FuzzRequire(!at || (at >= text.data() && at <= end), "a run resumes within its text");
  }
  return 0;
}
