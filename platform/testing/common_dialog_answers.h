/*
** Answers for the common dialogs in tests: file and print dialogs are answered from queues
** without any window, and every request is kept for the test to check. Unanswered dialogs
** are cancelled, as a user closing them would.
*/
#ifndef ZARNE_PLATFORM_TESTING_COMMON_DIALOG_ANSWERS_H
#define ZARNE_PLATFORM_TESTING_COMMON_DIALOG_ANSWERS_H

#include "platform/user/common_dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class CommonDialogAnswers {
 public:
  /* Installs itself for file and print dialogs; the previous presenters come back on
  ** destruction. */
  CommonDialogAnswers();
  ~CommonDialogAnswers();
  CommonDialogAnswers(const CommonDialogAnswers&) = delete;
  CommonDialogAnswers& operator=(const CommonDialogAnswers&) = delete;

  /* The next file dialog chooses these files: Windows paths ("C:\ZARNE\A.BND") or names
  ** relative to the dialog's folder; more than one for a multiple selection. */
  void ChooseFiles(std::vector<std::string> files, int filterIndex = 0);
  /* The next file dialog is cancelled. */
  void CancelFileDialog();
  /* The next print dialog is confirmed with this printer (empty: the one it showed), and
  ** with the changes the callback makes to its answer (orientation, copies, pages ...). */
  void ChoosePrinter(std::string device = {}, std::function<void(PrintDialogAnswer&)> adjust = {});
  void CancelPrintDialog();

  const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
  const std::vector<PrintDialogRequest>& PrintRequests() const { return printRequests_; }

 private:
  struct PrintChoice {
    bool accept = false;
    std::string device;
    std::function<void(PrintDialogAnswer&)> adjust;
  };
  FileDialogAnswer AnswerFile(const FileDialogRequest& request);
  PrintDialogAnswer AnswerPrint(const PrintDialogRequest& request);

  std::deque<FileDialogAnswer> fileAnswers_;
  std::deque<PrintChoice> printChoices_;
  std::vector<FileDialogRequest> fileRequests_;
  std::vector<PrintDialogRequest> printRequests_;
  FileDialogPresenter previousFile_;
  PrintDialogPresenter previousPrint_;
};

#endif
