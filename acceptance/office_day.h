/*
** The office day's fixture: one data root for the whole day, kept from step to step, on
** which the program runs as zarne32 runs it (the same application object and start-up,
** offscreen, in this test program) and is driven by real keys, clicks and dialogs; the
** steps about processes run the real programs on the same root.
*/
#ifndef ZARNE_ACCEPTANCE_OFFICE_DAY_H
#define ZARNE_ACCEPTANCE_OFFICE_DAY_H

#include "shell/tests/app/zarne_app_fixture.h"
#include "shell/tests/process/program_runner.h"

#include <string>
#include <vector>

class RespaWindow;
class ZarneMDIClient;

class OfficeDay : public ZarneAppTest {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  /* The day's places: its root (ZARNE_ROOT), the program's C:\ZARNE, a private home. */
  static const ProgramPlaces& Places();
  static std::string DayDir() { return Places().root + "/drive_c/ZARNE"; }
  static std::string DayIni();
  /* Where the day's pictures and printouts are kept to be looked at. */
  static std::string OutputDir();

  /* Starts the program in this test process on the day's root. */
  void StartOffice();
  RespaWindow* FrontStatement();
  RespaWindow* StatementOf(const std::string& number);

  /* Alt+F and the item's letter (Save, Close, Print ...). */
  void FileMenu(char letter);

  /* Clicks the statement field, types the text over its contents and leaves it by Tab. */
  void TypeIntoField(RespaWindow* view, int id, const std::string& text);
  /* Clicks a choice field and picks the entry by arrow keys, then Tab. */
  void ChooseInField(RespaWindow* view, int id, const std::string& entry);
  /* The text a field shows (its value as the window formats it). */
  std::string FieldText(RespaWindow* view, int id);

  /* zdde against the running program, served by this test's loop while it runs. */
  std::string ZddeRequest(const std::string& item);
  int ZddeExecute(const std::string& command);
  /* One DDE conversation over several steps ("x:COMMAND", "r:ITEM"): the lines it printed. */
  std::vector<std::string> DdeSession(const std::vector<std::string>& steps);
  /* Clicks the middle of a grid row, scrolled into view. */
  static void ClickGridRow(HWND grid, int row);
  /* A field of a file's record in a table, read back by this process's engine session. */
  std::string TableMoney(int table, const std::string& number, int field);
  bool TableHasFile(int table, const std::string& number);

  /* Texts of the pages of a PDF (pdftotext -layout), and a page rendered beside the tests. */
  static std::vector<std::string> PdfPages(const std::string& pdf);
  static std::string RenderPage(const std::string& pdf, int page, const std::string& name);
  static std::vector<std::string> PdfFiles();
  static void ClearPdfs();
};

/* Whether the text holds the piece. */
bool Holds(const std::string& text, const std::string& piece);

#endif
