/*
** The Reconcile command. The statement values go into BANK on a fresh read under the
** record's lock, so a change another station made since the dialog read it is kept.
*/
#include "accounting/reconcile_command.h"

#include "accounting/account_transfers.h"
#include "accounting/reconcile.h"
#include "accounting/reconcile_info.h"
#include "accounting/reconcile_strings.h"
#include "platform/framework/window.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

namespace {
enum { kKeyNumberField = 1, kLastCloseDateField = 5, kLastBeginField = 7, kLastEndField = 8 };

bool WriteStatementValues(SHORT bankKey) {
  if (gBankRecord == nullptr) return false;
  TPXRecord& bank = *gBankRecord;
  bank.Clear();
  bank.SetShort(kKeyNumberField, bankKey);
  if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Lock()) return false;
  const bool written = bank.Read(0) &&
                       bank.SetDouble(kLastBeginField, gReconcileXfer.BeginBalance) &&
                       bank.SetDouble(kLastEndField, gReconcileXfer.EndBalance) &&
                       bank.SetLong(kLastCloseDateField, gReconcileXfer.CloseDate) && bank.Modify();
  bank.Unlock();
  return written;
}
}  // namespace

void RunReconcileCommand(TWindow* client) {
  TReconcileReportInfo info(client, kReconcileInfoTemplate);
  if (info.Execute() != IDOK) return;
  if (!WriteStatementValues(info.BankKey)) {
    MessageBox(client != nullptr ? client->HWindow : nullptr, kBankUpdateError, "Error",
               MB_OK | MB_ICONSTOP);
    return;
  }
  TReconcile reconcile(client, kReconcileTemplate);
  reconcile.Execute();
}
