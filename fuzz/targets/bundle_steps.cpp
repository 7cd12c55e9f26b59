/*
** Fuzz target: a bundle file run step by step, as Auto Create runs the chosen files, with a
** binding of a few data fields of each kind in place of the statement window. Every entry a
** step asks for has an amount above 0 in whole cents, a payee and description of at most
** 60 characters, and there are never more entries than the text has steps.
*/
#include "accounting/bundle_steps.h"
#include "fuzz/fuzz_binding.h"
#include "fuzz/fuzz_support.h"
#include "platform/kernel/local_time.h"
#include "platform/user/message_box.h"
#include "script/script_globals.h"
#include "script/zbasic.h"

#include <string>
#include <vector>

namespace {

#ifdef ZARNE_FUZZING
// Under the sanitizers a run of the full budget takes seconds; the replay keeps the program's.
constexpr long kFuzzStatementBudget = 20000;
// Likewise its second of running passes twenty times as fast: a loop of costly statements
// stops after some 50 ms instead of at the fuzzer's own limit for an input.
DWORD FastClock() { return GetTickCount() * 20; }
#endif

FuzzBinding gBinding;
TBundleOutputs gOutputs;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  gBinding.Install();
  RegisterScriptGlobals();
  FuzzRequire(FindBundleOutputs(&gOutputs), "the program's built-in variables exist");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A bundle file is read whole and given two terminating zeros.
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  text.push_back('\0');
  gBinding.Restore();
  TZBasic interpreter(&gBinding);
#ifdef ZARNE_FUZZING
  interpreter.SetStatementBudget(kFuzzStatementBudget);
  TZBasic::SetClockForTest(FastClock);
#endif
  size_t entries = 0;
  RunBundleSteps(interpreter, text.data(), gOutputs, [&](const TBundleEntry& entry) {
    ++entries;
    FuzzRequire(entry.cents.Sign() > 0, "an entry's amount is above 0");
    ScriptDecimal again;
    FuzzRequire(entry.cents.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &again) ==
                        DecimalStatus::kOk &&
                    ScriptDecimal::Compare(again, entry.cents) == 0,
                "an entry's amount is in whole cents");
    FuzzRequire(entry.payee.size() <= 60 && entry.description.size() <= 60,
                "texts are cut to 60 characters");
  });
  FuzzRequire(entries <= size + 1, "no more entries than the text has steps");
  return 0;
}
