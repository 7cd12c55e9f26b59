/*
** The shell tests' tables: the sixteen shared tables made in the test's fresh root with the
** creation library and opened into the program-wide table set, and helpers that put and
** read closing-file records.
*/
#ifndef ZARNE_SHELL_TESTS_SHELL_TABLES_H
#define ZARNE_SHELL_TESTS_SHELL_TABLES_H

#include "platform/testing/gui_test.h"

#include <string>
#include <vector>

class ShellTablesTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* A record keyed by the file number in shared table `table`, with text fields set. */
  void PutFile(int table, const std::string& number,
               const std::vector<std::pair<int, std::string>>& texts = {});
  bool HasRecord(int table, const std::string& number);
  /* Field 1 of every record of the table, in key order. */
  std::vector<std::string> NumbersOf(int table);
};

#endif
