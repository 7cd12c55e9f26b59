/*
** The closing-file dialog tests' world: the statement window tests' tables and frame, a
** closing file opened in a real statement window, the dialogs' commands sent to it, and the
** helpers the dialog scripts use: typing into one control, visibility, screenshots.
*/
#ifndef ZARNE_CLOSINGFILE_TESTS_CLOSING_FILE_TEST_SUPPORT_H
#define ZARNE_CLOSINGFILE_TESTS_CLOSING_FILE_TEST_SUPPORT_H

#include "platform/testing/dialog_driver.h"
#include "statement/tests/window/statement_window_support.h"

#include <string>
#include <utility>
#include <vector>

class ClosingFileTest : public StatementWindowTest {
 protected:
  /* Sends a command to the window as the menu does and lets it run. */
  void Command(RespaWindow* view, int id);
  /* Sends the command with its dialog (of the template) answered: each text typed into its
     control in order, the focus moved to control `leaveTo` when one is given (so the last
     edit is left as the user leaves it), then the key (Enter confirms, Escape cancels). */
  void AnswerCommand(RespaWindow* view, int command, int templateId,
                     const std::vector<std::pair<int, std::string>>& typed, int key,
                     int leaveTo = 0);
  /* The window's save: posts every record of the file. */
  void Save(RespaWindow* view);
  /* A screenshot of the dialog into the build directory; answers the path. */
  std::string Shot(HWND dialog, const std::string& name);

  /* A record put straight into a table with numbers as well as texts. */
  void PutValues(int table, const std::string& number,
                 const std::vector<std::pair<int, std::string>>& texts,
                 const std::vector<std::pair<int, LONG>>& longs = {},
                 const std::vector<std::pair<int, double>>& doubles = {});
  /* A window's buffer, not the table. */
  std::string BufferText(RespaWindow* view, int table, int field);
  LONG BufferLong(RespaWindow* view, int table, int field);

  DialogDriver driver;
};

/* Focuses a control, selects all its text and types text at it with real keys. */
void TypeInto(HWND dialog, int id, const std::string& text);
/* Gives a control the focus the way the user would reach it. */
void FocusControl(HWND dialog, int id);
bool ControlVisible(HWND dialog, int id);
/* A control's whole text, however long. */
std::string LongControlText(HWND dialog, int id);
/* The dialog's caption. */
std::string CaptionOf(HWND dialog);
/* Writes bytes to a file (host path). */
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

#endif
