/*
** The common dialogs' own Qt dialogs (what a user sees when no harness answers): the file
** dialog opens on the mapped host folder with the filters, and its choice comes back as a
** Windows path; the print set-up dialog hands back the chosen orientation.
*/
#include "platform/testing/gui_test.h"
#include "platform/kernel/global_memory.h"
#include "platform/kernel/paths.h"
#include "platform/user/winuser.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>

#include <cstring>
#include <fstream>
#include <functional>

namespace {

/* Runs `act` on the modal dialog once it is up, from inside its own event loop. */
void WhenModalOpens(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act]() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start();
}

class QtCommonDialogTest : public GuiTest {};

TEST_F(QtCommonDialogTest, FileDialogShowsTheMappedFolderAndAnswersAWindowsPath) {
  CreateDirectory("C:\\ZARNE", nullptr);
  std::ofstream(HostPathFromWindowsPath("C:\\ZARNE\\CLOSING.BND")) << "x";
  QString seenDirectory;
  QStringList seenFilters;
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_TRUE(dialog);
    seenDirectory = dialog->directory().absolutePath();
    seenFilters = dialog->nameFilters();
    dialog->selectFile("CLOSING.BND");
    QMetaObject::invokeMethod(dialog, "accept");  // as the Open button does
  });
  char file[MAX_PATH] = "";
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = "c:\\zarne";
  ofn.lpstrFilter = "Bundle Files (*.BND)|*.BND|AllFiles (*.*)|*.*|";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  ASSERT_TRUE(GetOpenFileName(&ofn));
  EXPECT_EQ(seenDirectory.toStdString(), HostPathFromWindowsPath("C:\\ZARNE"));
  ASSERT_EQ(seenFilters.size(), 2);
  EXPECT_EQ(seenFilters[0], "Bundle Files (*.BND) (*.BND *.bnd)");
  EXPECT_STRCASEEQ(file, "C:\\ZARNE\\CLOSING.BND");
}

TEST_F(QtCommonDialogTest, PrintSetupDialogHandsBackTheChosenOrientation) {
  WhenModalOpens([](QWidget* modal) {
    for (QComboBox* box : modal->findChildren<QComboBox*>()) {
      int landscape = box->findText("Landscape");
      if (landscape >= 0) box->setCurrentIndex(landscape);
    }
    qobject_cast<QDialog*>(modal)->accept();
  });
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_PRINTSETUP;
  ASSERT_TRUE(PrintDlg(&pd));
  auto* mode = static_cast<DEVMODE*>(GlobalLock(pd.hDevMode));
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
  GlobalUnlock(pd.hDevMode);
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);
}

}  // namespace
