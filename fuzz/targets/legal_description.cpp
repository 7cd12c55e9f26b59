/*
** Fuzz target: a legal description file (*.LEG) through the template merge, as the property
** dialog loads one: at most 16383 bytes read, merged in place into its 16384-byte buffer,
** the first two prompts answered and any further ones cancelled. The same text merged into
** a separate buffer of a size the first byte picks must give the same result cut to that
** size, and every result ends inside its buffer. One input in 64, chosen by its bytes, meets
** the real prompt dialog; the others have their prompts answered alike without it, so the
** merge itself runs at full speed.
*/
#include "fuzz/fuzz_binding.h"
#include "fuzz/fuzz_support.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "script/template_merge.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

constexpr unsigned kLegalTextSize = 16383;  // what the property dialog reads and merges
constexpr int kPromptTemplate = 20904;
const unsigned kSmallSizes[] = {0, 1, 2, 3, 17, 256};

const char* const kAnswers[] = {"North 40", "Lot 7"};

FuzzBinding gBinding;
bool gRealDialogs = false;
int gPromptsAnswered = 0;

bool AnswerPrompt(const char*, char* answer, unsigned size) {
  if (gPromptsAnswered >= 2) return false;
  std::snprintf(answer, size, "%s", kAnswers[gPromptsAnswered++]);
  return true;
}

/* The merge with the first two prompts answered "North 40" and "Lot 7", the rest cancelled. */
void Merge(const char* source, char* out, unsigned size) {
  DialogDriver driver;
  if (gRealDialogs) {
    SetPromptAnswerer(nullptr);
    for (const char* answer : kAnswers)
      driver.OnDialog(kPromptTemplate, [answer](HWND prompt) {
        SetControlText(prompt, 180, answer);
        PressButton(prompt, IDOK);
      });
    // The third prompt meets the real dialog and is cancelled; the prompts after it are
    // cancelled alike without one (a text of a thousand prompts would open a thousand).
    driver.OnDialog(kPromptTemplate, [](HWND prompt) {
      gPromptsAnswered = 2;
      SetPromptAnswerer(AnswerPrompt);
      PressButton(prompt, IDCANCEL);
    });
  } else {
    SetPromptAnswerer(AnswerPrompt);
    gPromptsAnswered = 0;
  }
  gBinding.Restore();
  MergeTemplateText(nullptr, &gBinding, "C:\\ZARNE\\FUZZ.LEG", source, out, size);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The windows made publish themselves under the data root: the scratch one, not the user's.
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0700);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  gBinding.Install();
  // The prompt dialog needs the window system; a first window brings it up.
  DestroyWindow(
      CreateWindow("static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  gRealDialogs =
      std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data), size)) %
          64 ==
      0;
  unsigned small = kSmallSizes[data[0] % (sizeof kSmallSizes / sizeof kSmallSizes[0])];
  size_t length = size - 1 < kLegalTextSize ? size - 1 : kLegalTextSize;

  // In place, as the dialog does; the buffer is exactly the dialog's, so an overrun shows.
  std::unique_ptr<char[]> buffer(new char[kLegalTextSize + 1]());
  std::memcpy(buffer.get(), data + 1, length);
  std::string source(buffer.get());  // the file's text up to its first NUL
  Merge(buffer.get(), buffer.get(), kLegalTextSize);
  size_t merged = strnlen(buffer.get(), kLegalTextSize + 1);
  FuzzRequire(merged < kLegalTextSize, "the merged text ends inside its buffer");
  if (source.find('|') == std::string::npos)
    FuzzRequire(source.compare(0, std::string::npos, buffer.get()) == 0,
                "a text without markers is kept");

  // Into a separate buffer of another size: the same text, cut.
  std::unique_ptr<char[]> out(new char[small + 1]);
  std::memset(out.get(), 'x', small + 1);
  Merge(source.c_str(), out.get(), small);
  if (small >= 2) {
    size_t cut = strnlen(out.get(), small + 1);
    FuzzRequire(cut < small, "the cut text ends inside its buffer");
    FuzzRequire(std::strncmp(out.get(), buffer.get(), cut) == 0,
                "a smaller buffer holds the start of the same text");
  }
  FuzzRequire(out[small] == 'x', "nothing is written past the buffer");
  return 0;
}
