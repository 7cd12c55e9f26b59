/*
** Fuzz target: the bytes of an item-set file (*.B1A, *.B1B, *.B2), loaded into title items as
** the Requirements and Exceptions dialogs load a file: split into items, each merged in
** place with the open file's fields and prompts (every prompt cancelled, without its dialog,
** which the legal description target meets) and trimmed; only
** storing the item and showing its row are left out. Every item must fit its buffer of 16382
** characters and the terminator, hold no control byte but TAB and the packed line break,
** never begin with white space, and end without trailing white space once trimmed; each
** item moves the split forward, and the items together never hold more bytes than the
** file. A merged item ends inside the item text's 16384 bytes.
*/
#include "closingfile/title_item.h"
#include "closingfile/title_item_split.h"
#include "fuzz/fuzz_binding.h"
#include "fuzz/fuzz_support.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "script/template_merge.h"

#include <cstring>
#include <memory>

namespace {

FuzzBinding gBinding;

/* What the dialog does with an item once split: merged in place in its text buffer, then
   trimmed. */
void MergeAndTrim(const char* item) {
  std::unique_ptr<char[]> text(new char[kTitleTextSize]);
  std::strcpy(text.get(), item);
  gBinding.Restore();
  MergeTemplateText(nullptr, &gBinding, "C:\\ZARNE\\FUZZ.B1A", text.get(), text.get(),
                    kTitleTextLimit);
  FuzzRequire(strnlen(text.get(), kTitleTextSize) < kTitleTextLimit,
              "a merged item ends inside its buffer");
  TrimTitleItem(text.get());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  gBinding.Install();
  SetPromptAnswerer([](const char*, char*, unsigned) { return false; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  // The item buffer is exactly what the dialogs give, so an overrun reaches the sanitizer.
  std::unique_ptr<char[]> item(new char[kTitleItemCollectLimit + 1]);
  size_t at = 0, total = 0;
  while (true) {
    size_t before = at;
    if (!NextTitleItem(text, size, at, item.get())) break;
    FuzzRequire(at > before && at <= size, "each item moves the split forward within the file");
    size_t length = std::strlen(item.get());
    FuzzRequire(length >= 1 && length <= kTitleItemCollectLimit, "an item fits its buffer");
    unsigned char first = static_cast<unsigned char>(item[0]);
    FuzzRequire(first > 0x20 && first != 0x7F, "an item begins with a character it shows");
    for (size_t i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(item[i]);
      FuzzRequire(c >= 0x20 ? c != 0x7F : (c == '\t' || c == 0x0B),
                  "only TAB and VT among control bytes");
    }
    MergeAndTrim(item.get());
    TrimTitleItem(item.get());
    size_t trimmed = std::strlen(item.get());
    FuzzRequire(trimmed >= 1 && trimmed <= length, "trimming keeps the first character");
    unsigned char last = static_cast<unsigned char>(item[trimmed - 1]);
    FuzzRequire(last != ' ' && (last < 0x09 || last > 0x0D),
                "no trailing white space after trimming");
    total += length;
    FuzzRequire(total <= size, "items hold no more than the file");
  }
  return 0;
}
