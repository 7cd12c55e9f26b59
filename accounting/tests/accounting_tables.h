/*
** The fixture of the accounting tests: an engine session over the test's fresh root, the
** sixteen shared tables made from the catalogue and opened as start-up opens them, the
** program-wide ACCOUNT and BANK records, and every box recorded.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_ACCOUNTING_TABLES_H
#define ZARNE_ACCOUNTING_TESTS_ACCOUNTING_TABLES_H

#include "platform/testing/gui_test.h"
#include "platform/user/message_box.h"
#include "tableaccess/px_record.h"

#include <string>
#include <vector>

class AccountingTablesTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::vector<MessageBoxRequest>& Shown() { return Boxes().Shown(); }

  /* Writes BANK record `key` with an account name (an empty name leaves it unnamed). */
  static void PutBank(SHORT key, const char* name);
  /* Inserts twenty BANK records named "Account 0" .. "Account 19". */
  static void PutTwentyBanks();
};

#endif
