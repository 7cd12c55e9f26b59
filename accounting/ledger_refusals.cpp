/*
** The refusal table and the ledger dialogs' boxes.
*/
#include "accounting/ledger_refusals.h"

#include "accounting/ledger_entry.h"
#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"

#include <cstdio>
#include <string>

namespace {

const TLedgerRefusal kRefusals[] = {
    {'C', kStatusPrinted, TLedgerAction::kModify, "check", "printed", "modified"},
    {'C', kStatusReconciled, TLedgerAction::kModify, "check", "reconciled", "modified"},
    {'C', kStatusReconciled, TLedgerAction::kDelete, "check", "reconciled", "deleted/voided"},
    {'C', kStatusBalanced, TLedgerAction::kModify, "check", "balanced", "modified"},
    {'C', kStatusBalanced, TLedgerAction::kDelete, "check", "balanced", "deleted/voided"},
    {'D', kStatusPosted, TLedgerAction::kModify, "deposit", "posted", "modified"},
    {'D', kStatusPosted, TLedgerAction::kDelete, "deposit", "posted", "deleted"},
    {'D', kStatusReconciled, TLedgerAction::kModify, "deposit", "reconciled", "modified"},
    {'D', kStatusReconciled, TLedgerAction::kDelete, "deposit", "reconciled", "deleted"},
    {'D', kStatusBalanced, TLedgerAction::kModify, "deposit", "balanced", "modified"},
    {'D', kStatusBalanced, TLedgerAction::kDelete, "deposit", "balanced", "deleted"},
};

std::string LoadText(UINT id) {
  char text[256];
  LoadString(nullptr, id, text, sizeof text);
  return text;
}

}  // namespace

const TLedgerRefusal* FindLedgerRefusal(char kind, int status, TLedgerAction action) {
  for (const TLedgerRefusal& refusal : kRefusals)
    if (refusal.Kind == kind && refusal.Status == status && refusal.Action == action)
      return &refusal;
  return nullptr;
}

int ShowLedgerMessage(HWND owner, const char* text, UINT type) {
  return MessageBox(owner, text, LoadText(kZarneMessageCaption).c_str(), type);
}

int ShowLedgerString(HWND owner, UINT textId, UINT type) {
  return ShowLedgerMessage(owner, LoadText(textId).c_str(), type);
}

void ShowLedgerRefusal(HWND owner, const TLedgerRefusal& refusal) {
  char text[256];
  std::snprintf(text, sizeof text, LoadText(kRefusalFormat).c_str(), refusal.KindWord,
                refusal.StatusWord, refusal.ActionWord);
  ShowLedgerMessage(owner, text, MB_OK | MB_ICONINFORMATION);
}

void ShowSelectFirst(HWND owner, const char* what) {
  char text[256];
  std::snprintf(text, sizeof text, LoadText(kSelectFirstFormat).c_str(), what);
  ShowLedgerMessage(owner, text, MB_OK | MB_ICONEXCLAMATION);
}
