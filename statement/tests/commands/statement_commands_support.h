/*
** The statement command tests' world: the window tests' tables and frame with the
** recalculation installed, the statement printer set to the PDF device, the printed
** documents read back with pdftotext, zarne.ini read as a file, and values typed into
** fields through the window.
*/
#ifndef ZARNE_STATEMENT_TESTS_COMMANDS_STATEMENT_COMMANDS_SUPPORT_H
#define ZARNE_STATEMENT_TESTS_COMMANDS_STATEMENT_COMMANDS_SUPPORT_H

#include "statement/tests/window/statement_window_support.h"

#include <functional>
#include <string>
#include <vector>

class StatementCommandsTest : public StatementWindowTest {
 protected:
  void SetUp() override;

  /* Selects the field and types the text into its edit line, then Tab commits it. */
  void Type(RespaWindow* view, int id, const std::string& text);
  /* Selects the field and types without committing: the text stays in the edit line. */
  void TypeOnly(RespaWindow* view, int id, const std::string& text);

  /* File Print with the print dialog answered by the PDF device (copies as given). Answers
     the pages of the documents printed, in order. */
  std::vector<std::string> Print(RespaWindow* view, int copies = 1);
  /* The documents the PDF device made since the last Print or ClearPdfs. */
  std::vector<std::string> PdfFiles();
  void ClearPdfs();
  static std::vector<std::string> PdfPages(const std::string& pdf);
  /* Renders a page of a document as a PNG beside the tests' build files; answers its path. */
  std::string RenderPage(const std::string& pdf, int page, const std::string& name);

  std::string IniPath() const;
  std::string IniText() const;
  void WriteIni(const std::string& text) const;
  /* The keys of a section, in file order, as "KEY=value". */
  std::vector<std::string> IniSection(const std::string& section) const;

  static std::string OutputDir();
};

/* Whether the text holds the piece. */
bool Holds(const std::string& text, const std::string& piece);

#endif
