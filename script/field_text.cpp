/*
** GetFieldText and the title-text buffer.
*/
#include "script/field_text.h"

#include "platform/kernel/text.h"
#include "tableaccess/field_list.h"

#include <algorithm>
#include <cstring>

char gTitleText[kTitleTextSize] = {};

namespace {

constexpr unsigned kWorkSize = 16384;

void CopyCut(const char* text, char* out, unsigned size) {
  std::size_t length = std::min<std::size_t>(std::strlen(text), size - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

/* The pseudo-field's text into work; false for a name that is none. */
bool PseudoFieldText(TScriptFieldBinding* view, const char* name, char* work) {
  work[0] = '\0';
  if (std::strcmp(name, "Grantee") == 0) view->GetGranteeText(work, kWorkSize);
  else if (std::strcmp(name, "Grantor") == 0) view->GetGrantorText(work, kWorkSize);
  else if (std::strcmp(name, "Buyer") == 0) view->GetBuyerNames(work, kWorkSize);
  else if (std::strcmp(name, "Seller") == 0) view->GetSellerNames(work, kWorkSize);
  else if (std::strcmp(name, "TitleText") == 0) CopyCut(gTitleText, work, kWorkSize);
  else return false;
  return true;
}

}  // namespace

int GetFieldText(TScriptFieldBinding* view, const char* name, char* out, unsigned size) {
  if (!out || size < 2) return 0;
  if (!view || !name) {
    out[0] = '\0';
    return 0;
  }
  bool upper = *name == '^';
  if (upper) ++name;
  char mode = '\0';
  if (*name == '*' || *name == '!') mode = *name++;

  TFieldNode* field = FindFieldByName(&gRespaFieldList, name);
  if (!field) field = FindFieldByName(&gOtherFieldList, name);
  if (field) {
    view->FormatFieldText(field, out, size, mode);
  } else {
    char work[kWorkSize];  // not cleared: PseudoFieldText starts it empty
    if (!PseudoFieldText(view, name, work)) return 0;
    CopyCut(work, out, size);
  }
  if (upper) AnsiUpper(out);
  return 1;
}
