/*
** The title-item dialogs' tests' world: the statement window tests' tables and frame, the
** grid library loaded as start-up loads it, a file opened in a statement window, and
** helpers that read and write TITLEB through records of their own, drive grids and rows,
** and write item-set files.
*/
#ifndef ZARNE_CLOSINGFILE_TESTS_TITLE_ITEMS_SUPPORT_H
#define ZARNE_CLOSINGFILE_TESTS_TITLE_ITEMS_SUPPORT_H

#include "closingfile/title_item.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "statement/tests/window/statement_window_support.h"

#include <string>
#include <vector>

/* One TITLEB record as the table holds it. */
struct StoredItem {
  std::string file;
  std::string type;
  double seq = 0;
  std::string text;
  std::string policy;
};

class TitleItemsTest : public StatementWindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* The file's items of one type in key order, read by a record of the test's own. */
  static std::vector<StoredItem> Stored(const std::string& file, const std::string& type);
  static std::vector<StoredItem> AllStored();
  static void PutItem(const std::string& file, const std::string& type, double seq,
                      const std::string& text, const std::string& policy = "B");

  /* Rows of a grid: the whole 96-byte row of each. */
  static long Send(HWND grid, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  static std::vector<TTitleItemRow> Rows(HWND grid);
  static std::vector<std::string> RowTexts(HWND grid);
  /* Clicks the middle of a row's text cell, scrolling it into view first. */
  static void ClickRow(HWND grid, int row);

  /* Runs the dialog of the command (kRequirementsCommand, kExceptionsCommand) with the script. */
  void RunCommand(int command, int templateId, DialogDriver::Script script);

  /* A file below the root with these bytes; its host path. */
  std::string WriteFile(const std::string& name, const std::string& bytes);

  /* Box texts and captions shown so far, and clearing them. */
  std::vector<std::string> BoxCaptions();

  DialogDriver driver;
  CommonDialogAnswers files;
  RespaWindow* view = nullptr;
  static constexpr const char* kFile = "TI-100";

 private:
  HMODULE grids_ = nullptr;
};

/* The texts of a key sequence's items, for comparing lists. */
std::vector<std::string> Texts(const std::vector<StoredItem>& items);
/* Whether the keys rise strictly. */
bool KeysRise(const std::vector<StoredItem>& items);

#endif
