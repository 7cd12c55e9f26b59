/*
** MergeTemplateText.
*/
#include "script/template_merge.h"

#include "platform/user/winuser.h"
#include "script/field_text.h"
#include "script/input_txt.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned kFieldTextBufferSize = 16384;
// Owner: script.
TPromptAnswerer gPromptAnswerer = nullptr;

/* Appends to out while there is room, keeping it terminated. */
class TMergeOutput {
 public:
  TMergeOutput(char* out, unsigned size) : out_(out), room_(size - 1) { out_[0] = '\0'; }
  void Append(const char* text, std::size_t length) {
    std::size_t taken = std::min<std::size_t>(length, room_ - used_);
    std::memcpy(out_ + used_, text, taken);
    used_ += taken;
    out_[used_] = '\0';
  }
  void Append(const std::string& text) { Append(text.data(), text.size()); }
  bool Full() const { return used_ == room_; }

 private:
  char* out_;
  std::size_t room_;
  std::size_t used_ = 0;
};

/* The end of the marker opened just before `from`: the next "|" that is not doubled, or
   npos when the marker is never closed. */
std::size_t MarkerEnd(const std::string& text, std::size_t from) {
  std::size_t at = from;
  while ((at = text.find('|', at)) != std::string::npos) {
    if (at + 1 < text.size() && text[at + 1] == '|') {
      at += 2;
      continue;
    }
    return at;
  }
  return std::string::npos;
}

std::string PromptAnswer(TWindow* parent, const char* caption, const std::string& prompt) {
  std::memset(gInputTxtXfer.answer, 0, sizeof gInputTxtXfer.answer);
  std::memset(gInputTxtXfer.prompt, 0, sizeof gInputTxtXfer.prompt);
  std::strncpy(gInputTxtXfer.prompt, prompt.c_str(), sizeof gInputTxtXfer.prompt - 1);
  if (gPromptAnswerer) {
    if (!gPromptAnswerer(gInputTxtXfer.prompt, gInputTxtXfer.answer, sizeof gInputTxtXfer.answer))
      return "____";
  } else {
    TInputTxt dialog(parent, caption);
    if (dialog.Execute() != IDOK) return "____";
  }
  gInputTxtXfer.answer[sizeof gInputTxtXfer.answer - 1] = '\0';
  return gInputTxtXfer.answer;
}

std::string FieldText(TScriptFieldBinding* view, const std::string& name) {
  std::vector<char> buffer(kFieldTextBufferSize, '\0');
  GetFieldText(view, name.c_str(), buffer.data(), kFieldTextBufferSize);
  return buffer.data();
}

}  // namespace

void SetPromptAnswerer(TPromptAnswerer answerer) { gPromptAnswerer = answerer; }

void MergeTemplateText(TWindow* parent, TScriptFieldBinding* view, const char* caption,
                       const char* source, char* out, unsigned size) {
  if (!out || size < 2) return;
  // The merge works on its own copy, taken before the output is touched: callers merge a
  // text in place, passing one buffer as source and output.
  const std::string text(source ? source : "");
  TMergeOutput merged(out, size);
  if (!source) return;
  std::size_t at = 0;
  while (at < text.size() && !merged.Full()) {
    std::size_t bar = text.find('|', at);
    if (bar == std::string::npos) {
      merged.Append(text.data() + at, text.size() - at);
      break;
    }
    merged.Append(text.data() + at, bar - at);
    if (bar + 1 < text.size() && text[bar + 1] == '|') {
      merged.Append("|", 1);
      at = bar + 2;
      continue;
    }
    std::size_t end = MarkerEnd(text, bar + 1);
    if (end == std::string::npos) break;  // an open marker drops the rest
    std::string marker = text.substr(bar + 1, end - bar - 1);
    if (!marker.empty() && marker[0] == '?')
      merged.Append(PromptAnswer(parent, caption, marker.substr(1)));
    else merged.Append(FieldText(view, marker));
    at = end + 1;
  }
}
