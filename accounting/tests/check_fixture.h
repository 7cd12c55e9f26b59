/*
** The check tests' fixture: the disbursing fixture with CHECKCTL in its own check-control
** directory, the checks printer on the PDF device, and readers of the printed checks: their
** words with boxes in points (pdftotext -bbox), their page counts (pdfinfo), and a layout
** value turned into the point where the device puts it (the printable area starts a quarter
** inch in: 18 + 0.072 * value).
*/
#ifndef ZARNE_ACCOUNTING_TESTS_CHECK_FIXTURE_H
#define ZARNE_ACCOUNTING_TESTS_CHECK_FIXTURE_H

#include "disburse_fixture.h"
#include "platform/testing/common_dialog_answers.h"

#include <optional>
#include "platform/testing/pdf_words.h"

#include <string>
#include <vector>

constexpr const char kTestCheckCtlDir[] = "C:\\ZARNE\\CHECKS";

class CheckTest : public DisburseTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* CHECKCTL with one record holding `next`. */
  static void MakeCheckCtl(double next);
  /* NextCheckNumber as stored; nullopt when it cannot be read. */
  static std::optional<double> StoredNextNumber();
  /* The check-control table's file bytes (for byte-identical checks). */
  static std::vector<char> CheckCtlBytes();
  static std::string CheckCtlHostPath();
  /* Every ACCOUNT record's raw buffer, in key order. */
  static std::vector<std::vector<BYTE>> AllRawRecords();

  /* The checks printer is the PDF device with a mode of `copies` copies. */
  static void UsePdfCheckPrinter(int copies = 1);
  /* The printed PDFs in the order they were made (by the number in their names). */
  static std::vector<std::string> PrintedChecks();
  static int PageCount(const std::string& pdf);
  static std::vector<PdfWord> Words(const std::string& pdf);

  /* Where a layout value lands on the sheet, in points. */
  static double Points(int value) { return 18.0 + 0.072 * value; }
  /* Whether the words hold `text` (words separated by single spaces) starting at (x, y)
     points, within 2 points. */
  static bool TextAt(const std::vector<PdfWord>& words, const std::string& text, double x,
                     double y);
  /* Every word of the page starting at (x, y), joined by spaces (first word's box within 2). */
  static int CountWord(const std::vector<PdfWord>& words, const std::string& text);

  /* Runs the disbursing dialog on `file`, presses Print Checks, answers Print Checks with
     `number` and `date` (OK), and closes. */
  void RunPrintChecks(const char* file, long number, LONG date);

  CommonDialogAnswers& Printers() { return *printers_; }

 private:
  std::unique_ptr<CommonDialogAnswers> printers_;
};

#endif
