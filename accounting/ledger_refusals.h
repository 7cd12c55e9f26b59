/*
** Which entries the disbursing dialog may still change: one table of (kind, status, action)
** with the words of the refusal box, and the boxes the ledger dialogs show under "Zarne
** Message", each owned by the dialog that shows it.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_REFUSALS_H
#define ZARNE_ACCOUNTING_LEDGER_REFUSALS_H

#include "platform/kernel/wintypes.h"

enum class TLedgerAction { kModify, kDelete };

struct TLedgerRefusal {
  char Kind;  // 'C' check, 'D' deposit
  int Status;
  TLedgerAction Action;
  const char* KindWord;
  const char* StatusWord;
  const char* ActionWord;
};

/* The refusal of that change, or null when it passes. */
const TLedgerRefusal* FindLedgerRefusal(char kind, int status, TLedgerAction action);

/* String ids of the ledger's messages. */
enum : UINT {
  kZarneMessageCaption = 1023,
  kTesselMessageCaption = 1029,
  kTesselErrorCaption = 1030,
  kGridMemoryText = 1031,
  kGridErrorText = 1032,
  kUndefinedAccountText = 1035,
  kSelectFirstFormat = 1037,
  kRefusalFormat = 1038,
  kSelectAccountText = 1039,
  kBundleFilterText = 1040,
  kGlobalNotFoundText = 1041,
};

/* 1038 with the refusal's words, information icon. */
void ShowLedgerRefusal(HWND owner, const TLedgerRefusal& refusal);
/* 1037 with "a check", "a deposit", "a file number" or "an account", exclamation icon. */
void ShowSelectFirst(HWND owner, const char* what);
/* A text under "Zarne Message" with the given icon (and buttons); answers the box's result. */
int ShowLedgerMessage(HWND owner, const char* text, UINT type);
/* A string of the table by id under "Zarne Message". */
int ShowLedgerString(HWND owner, UINT textId, UINT type);

/* The boxes of a change that met another workstation's change (information icon). */
constexpr char kEntryDeletedElsewhere[] = "This entry was deleted at another workstation.";
constexpr char kEntryChangedElsewhere[] =
    "This entry was changed at another workstation. The list now shows it as stored; nothing "
    "was changed.";

#endif
