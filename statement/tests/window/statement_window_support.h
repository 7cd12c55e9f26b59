/*
** The statement window tests' world: a fresh root with the sixteen shared tables made by the
** creation library, both data-field lists from the layout libraries, the statement's drawing
** objects, and an MDI frame in which files open as the shell opens them: a RespaWindow inside
** an MDI child titled with the number.
*/
#ifndef ZARNE_STATEMENT_TESTS_WINDOW_STATEMENT_WINDOW_SUPPORT_H
#define ZARNE_STATEMENT_TESTS_WINDOW_STATEMENT_WINDOW_SUPPORT_H

#include "platform/testing/gui_test.h"
#include "statement/respa_window.h"

#include <string>
#include <vector>

class TDecoratedMDIFrame;
class TMDIClient;
class TMDIChild;

/* What the recalculation seam and the advise sink were called with. */
struct SeamCalls {
  std::vector<int> recalculated;  // field ids
  std::vector<std::pair<LONG, LONG>> movedDates;
  std::vector<std::pair<LONG, LONG>> filledDates;
  int columnSums = 0;
  std::vector<std::string> advised;  // "" for every item
};

class StatementWindowTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* The frame and its client, shown at this size (client area about width x height). */
  void MakeFrame(int width = 1000, int height = 700);
  /* Opens a window for the number as the shell does; it is the active child afterwards. */
  RespaWindow* OpenFile(const std::string& number, bool maximized = false);
  /* Closes a window the user's way (File Close) and dispatches what follows. */
  void CloseFile(RespaWindow* view);

  /* Records every call of the recalculation seam and of the advise sink. */
  void RecordSeams();

  static TFieldNode* Field(int id);
  /* A record read back from the table (not the window's buffer). */
  bool TableHas(int table, const std::string& number);
  std::string TableText(int table, const std::string& number, int field);
  double TableDouble(int table, const std::string& number, int field);
  LONG TableLong(int table, const std::string& number, int field);
  /* A file's records put straight into the tables. */
  void PutRecord(int table, const std::string& number,
                 const std::vector<std::pair<int, std::string>>& texts = {});

  /* The focus window's edit line text, and whether the edit line / list shows. */
  std::string EditText(RespaWindow* view);
  bool EditShown(RespaWindow* view);
  bool ListShown(RespaWindow* view);
  /* Moves to a field by clicking it (scrolling it into view first). */
  void ClickField(RespaWindow* view, int id);
  /* Selects a field and begins its edit as the window does after a move. */
  void EditField(RespaWindow* view, int id);
  /* Types into the edit line (replacing its text) and presses Tab. */
  void TypeAndTab(RespaWindow* view, const std::string& text);

  /* Texts of the boxes shown so far. */
  std::vector<std::string> BoxTexts();

  TDecoratedMDIFrame* frame = nullptr;
  TMDIClient* client = nullptr;
  static SeamCalls calls;
};

/* Dispatches every waiting message and deferred deletion. */
void Pump();

#endif
