/*
** The DDE server's execute commands: walking the front file's title items (its TITLEB
** records) of one type and policy, in key order, through the window's TITLEB record. The
** item selected is read by clients as the pseudo-field "TitleText".
*/
#include "shell/dde_server.h"

#include "platform/kernel/string_calls.h"
#include "script/field_text.h"
#include "shell/dde_server_text.h"
#include "shell/zarne_frame.h"
#include "statement/respa_window.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <vector>

char gTiFileNumber[16] = {};
char gTiType[3] = {};
char gTiPolicy[2] = {};
LONG gTiAllPolicies = 0;

namespace {

/* TITLEB's fields. */
constexpr int kFileNumField = 1;
constexpr int kTypeField = 2;
constexpr int kTextField = 4;
constexpr int kPolicyField = 5;

constexpr int kKeyTextSize = 32;  // room for the file number, type and policy fields

HDDEDATA Acknowledged() { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK)); }

/* The item text, copied raw (packed line breaks stay 0x0B) and cut to the buffer. */
void CopyItemText(TPXRecord* record) {
  DWORD size = record->FieldSize(kTextField);
  std::vector<char> text(size + 1, '\0');
  if (!record->GetString(kTextField, text.data(), size + 1)) return;
  lstrcpyn(gTitleText, text.data(), kTitleTextSize);
}

struct TItemKey {
  char fileNumber[kKeyTextSize] = "";
  char type[kKeyTextSize] = "";
  char policy[kKeyTextSize] = "";
};

bool ReadItemKey(TPXRecord* record, TItemKey* key) {
  return record->Read(0) && record->GetString(kFileNumField, key->fileNumber, kKeyTextSize) &&
         record->GetString(kTypeField, key->type, kKeyTextSize) &&
         record->GetString(kPolicyField, key->policy, kKeyTextSize);
}

bool IsWalkItem(const TItemKey& key) {
  return std::strcmp(key.fileNumber, gTiFileNumber) == 0 && std::strcmp(key.type, gTiType) == 0;
}

bool PolicyMatches(const TItemKey& key) {
  return gTiAllPolicies || std::strcmp(key.policy, gTiPolicy) == 0;
}

void EndWalk() {
  gTiAllPolicies = 0;
  gTiFileNumber[0] = gTiType[0] = gTiPolicy[0] = '\0';
}

/* From the record positioned, the first item of the walk's policy; an item of another
   file or type ends the search. What ends it beyond the walk is the caller's. */
bool SelectFromHere(TPXRecord* record, bool positioned) {
  for (; positioned; positioned = record->Next()) {
    TItemKey key;
    if (!ReadItemKey(record, &key) || !IsWalkItem(key)) return false;
    if (PolicyMatches(key)) {
      CopyItemText(record);
      return true;
    }
  }
  return true;
}

void FirstTitleItem(TZarneDecoratedMDIFrame* frame, const TTitleCommand& command) {
  gTiAllPolicies = command.allPolicies ? 1 : 0;
  ClearTitleText();
  RespaWindow* view = DdeFrontWindow(frame);
  TPXRecord* record = view ? view->records[kTitleBTable] : nullptr;
  if (!record) return;
  lstrcpyn(gTiType, command.type, sizeof gTiType);
  lstrcpyn(gTiPolicy, command.policy, sizeof gTiPolicy);
  lstrcpyn(gTiFileNumber, view->fileNumber, sizeof gTiFileNumber);
  record->SetString(kFileNumField, gTiFileNumber);
  record->SetString(kTypeField, gTiType);
  SelectFromHere(record, record->Seek(2, ENGINE_KEY_GEQ));
}

void NextTitleItem(TZarneDecoratedMDIFrame* frame) {
  ClearTitleText();
  RespaWindow* view = DdeFrontWindow(frame);
  TPXRecord* record = view ? view->records[kTitleBTable] : nullptr;
  if (!record || !record->Next()) return;
  if (!SelectFromHere(record, true)) EndWalk();
}

}  // namespace

void ClearTitleText() { std::memset(gTitleText, 0, sizeof gTitleText); }

HDDEDATA DdeExecute(TZarneDecoratedMDIFrame* frame, HDDEDATA data) {
  char text[kExecuteTextLength + 1] = "";
  if (data) DdeGetData(data, reinterpret_cast<LPBYTE>(text), kExecuteTextLength, 0);
  TTitleCommand command;
  if (!ReadTitleCommand(text, &command)) return nullptr;
  if (command.next) NextTitleItem(frame);
  else FirstTitleItem(frame, command);
  return Acknowledged();
}
