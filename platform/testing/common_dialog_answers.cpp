/*
** Common-dialog answers for tests.
*/
#include "platform/testing/common_dialog_answers.h"

CommonDialogAnswers::CommonDialogAnswers() {
  previousFile_ =
      SetFileDialogPresenter([this](const FileDialogRequest& r) { return AnswerFile(r); });
  previousPrint_ =
      SetPrintDialogPresenter([this](const PrintDialogRequest& r) { return AnswerPrint(r); });
}

CommonDialogAnswers::~CommonDialogAnswers() {
  SetFileDialogPresenter(previousFile_);
  SetPrintDialogPresenter(previousPrint_);
}

void CommonDialogAnswers::ChooseFiles(std::vector<std::string> files, int filterIndex) {
  FileDialogAnswer answer;
  answer.accepted = true;
  answer.files = std::move(files);
  answer.filterIndex = filterIndex;
  fileAnswers_.push_back(std::move(answer));
}

void CommonDialogAnswers::CancelFileDialog() { fileAnswers_.push_back(FileDialogAnswer{}); }

void CommonDialogAnswers::ChoosePrinter(std::string device,
                                        std::function<void(PrintDialogAnswer&)> adjust) {
  printChoices_.push_back(PrintChoice{true, std::move(device), std::move(adjust)});
}

void CommonDialogAnswers::CancelPrintDialog() { printChoices_.push_back(PrintChoice{}); }

FileDialogAnswer CommonDialogAnswers::AnswerFile(const FileDialogRequest& request) {
  fileRequests_.push_back(request);
  if (fileAnswers_.empty()) return FileDialogAnswer{};
  FileDialogAnswer answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

PrintDialogAnswer CommonDialogAnswers::AnswerPrint(const PrintDialogRequest& request) {
  printRequests_.push_back(request);
  PrintDialogAnswer answer;
  if (printChoices_.empty()) return answer;
  PrintChoice choice = std::move(printChoices_.front());
  printChoices_.pop_front();
  if (!choice.accept) return answer;
  answer.accepted = true;
  answer.device = choice.device.empty() ? request.device : choice.device;
  answer.mode = request.mode;
  if (answer.device != request.device) GdiDefaultDevMode(answer.device.c_str(), &answer.mode);
  answer.copies = request.copies;
  answer.fromPage = request.fromPage;
  answer.toPage = request.toPage;
  if (choice.adjust) choice.adjust(answer);
  return answer;
}
