/*
** The common dialogs' default presenters: a Qt file dialog over the mapped host folder,
** and a small Qt dialog choosing the printer, orientation, paper, copies and pages.
*/
#include "platform/user/common_dialogs_internal.h"

#include "platform/kernel/paths.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QRadioButton>
#include <QSpinBox>

#include <cstring>

namespace {

/* "*.BND;*.B1A" as Qt's "*.BND *.bnd *.B1A *.b1a": the host's names may differ in case. */
QString QtPatterns(const std::string& patterns) {
  QStringList out;
  for (const QString& one : DecodeWindows1252(patterns).split(';', Qt::SkipEmptyParts)) {
    QString pattern = one.trimmed();
    if (pattern == "*.*") pattern = "*";
    for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
      if (!out.contains(variant)) out << variant;
  }
  return out.join(' ');
}

struct PaperChoice {
  const char* name;
  SHORT code;
};
constexpr PaperChoice kPapers[] = {
    {"Letter", DMPAPER_LETTER}, {"Legal", DMPAPER_LEGAL}, {"Executive", DMPAPER_EXECUTIVE},
    {"A4", DMPAPER_A4},         {"A5", DMPAPER_A5},       {"Envelope #10", DMPAPER_ENV_10}};

}  // namespace

QWidget* OwnerWidget(HWND owner) {
  WindowPtr window = FindWindowObject(owner);
  return window ? static_cast<QWidget*>(window->frame.data()) : nullptr;
}

FileDialogAnswer PresentQtFileDialog(const FileDialogRequest& request) {
  FileDialogAnswer answer;
  QFileDialog dialog(OwnerWidget(request.owner), DecodeWindows1252(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the caller's flags decide
  dialog.setDirectory(
      QString::fromStdString(HostPathFromWindowsPath(request.initialDirectory.c_str())));
  QStringList filters;
  for (const auto& [text, patterns] : request.filters)
    filters << DecodeWindows1252(text) + " (" + QtPatterns(patterns) + ")";
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(request.filterIndex - 1));
  }
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else if (request.flags & OFN_ALLOWMULTISELECT) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
  } else {
    dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
  }
  if (!request.initialName.empty()) dialog.selectFile(DecodeWindows1252(request.initialName));
  if (dialog.exec() != QDialog::Accepted) return answer;
  for (const QString& file : dialog.selectedFiles()) answer.files.push_back(file.toStdString());
  answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  answer.accepted = !answer.files.empty();
  return answer;
}

PrintDialogAnswer PresentQtPrintDialog(const PrintDialogRequest& request) {
  PrintDialogAnswer answer;
  QDialog dialog(OwnerWidget(request.owner));
  dialog.setWindowTitle(request.setup ? "Print Setup" : "Print");
  auto* form = new QFormLayout(&dialog);
  auto* printers = new QComboBox;
  for (const GdiPrinter& printer : GdiListPrinters())
    printers->addItem(DecodeWindows1252(printer.device), QString::fromStdString(printer.device));
  printers->setCurrentIndex(
      std::max(0, printers->findData(QString::fromStdString(request.device))));
  form->addRow("Printer:", printers);
  auto* orientation = new QComboBox;
  orientation->addItem("Portrait", DMORIENT_PORTRAIT);
  orientation->addItem("Landscape", DMORIENT_LANDSCAPE);
  orientation->setCurrentIndex(request.mode.dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0);
  auto* paper = new QComboBox;
  for (const PaperChoice& choice : kPapers) paper->addItem(choice.name, choice.code);
  paper->setCurrentIndex(std::max(0, paper->findData(request.mode.dmPaperSize)));
  auto* copies = new QSpinBox;
  copies->setRange(1, 999);
  copies->setValue(request.copies);
  auto* allPages = new QRadioButton("All");
  auto* somePages = new QRadioButton("Pages");
  auto* from = new QSpinBox;
  auto* to = new QSpinBox;
  if (request.setup) {
    form->addRow("Orientation:", orientation);
    form->addRow("Paper:", paper);
  } else {
    form->addRow("Copies:", copies);
    bool pagesAllowed = !(request.flags & PD_NOPAGENUMS);
    allPages->setChecked(!(request.flags & PD_PAGENUMS) || !pagesAllowed);
    somePages->setChecked(!allPages->isChecked());
    somePages->setEnabled(pagesAllowed);
    int low = std::max<int>(request.minPage, 1), high = std::max<int>(request.maxPage, low);
    from->setRange(low, high);
    to->setRange(low, high);
    from->setValue(std::max<int>(request.fromPage, low));
    to->setValue(std::max<int>(request.toPage, low));
    form->addRow("Print range:", allPages);
    form->addRow(somePages);
    form->addRow("From:", from);
    form->addRow("To:", to);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return answer;
  answer.accepted = true;
  answer.device = printers->currentData().toString().toStdString();
  answer.mode = request.mode;
  if (answer.device != request.device) GdiDefaultDevMode(answer.device.c_str(), &answer.mode);
  if (request.setup) {
    answer.mode.dmOrientation = static_cast<SHORT>(orientation->currentData().toInt());
    answer.mode.dmPaperSize = static_cast<SHORT>(paper->currentData().toInt());
    answer.mode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
  } else {
    answer.copies = static_cast<WORD>(copies->value());
    if (somePages->isChecked()) {
      answer.flags |= PD_PAGENUMS;
      answer.fromPage = static_cast<WORD>(from->value());
      answer.toPage = static_cast<WORD>(to->value());
    }
  }
  return answer;
}
