#include "platform/user/tests/window_test_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using QtBoxes = WindowTest;

namespace {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
  QWidget* parent = nullptr;
};

/* Looks at the box once it is up, then presses its default button (or Escape). */
void InspectThenAnswer(SeenBox& seen, bool escape) {
  QTimer::singleShot(0, [&seen, escape] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.parent = box->parentWidget();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
    if (escape) box->reject();
    else box->defaultButton()->click();
  });
}

}  // namespace

TEST_F(QtBoxes, QtBoxShowsIconButtonsDefaultAndOwner) {
  HWND owner = TopWindow();
  SeenBox seen;
  InspectThenAnswer(seen, false);
  MessageBoxRequest request{owner, "Delete file 123?", "Zarne Message",
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2};
  EXPECT_EQ(QtMessageBoxPresenter(request), IDNO);
  EXPECT_EQ(seen.title, QStringLiteral("Zarne Message"));
  EXPECT_EQ(seen.text, QStringLiteral("Delete file 123?"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons.size(), 2);
  EXPECT_EQ(seen.defaultButton, QStringLiteral("&No"));
  EXPECT_NE(seen.parent, nullptr);
}

TEST_F(QtBoxes, ClosingAnOkCancelBoxAnswersCancel) {
  SeenBox seen;
  InspectThenAnswer(seen, true);
  MessageBoxRequest request{nullptr, "Caf\xe9", "System Error", MB_OKCANCEL | MB_ICONHAND};
  EXPECT_EQ(QtMessageBoxPresenter(request), IDCANCEL);
  EXPECT_EQ(seen.text, QString::fromUtf8("Café"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.defaultButton, QStringLiteral("OK"));
}

TEST_F(QtBoxes, ABoxWithAShortTextKeepsRoomForItsWholeCaption) {
  // The engine's context box: a one-word text under a longer caption. The window manager's
  // title bar (openbox: window icon, caption, three buttons) draws the caption in bold and
  // keeps about 90 pixels for the icon and the buttons (measured on the desktop); a narrower
  // box had its caption shortened to "Error ... ntext".
  int width = 0;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    width = box->width();
    title = box->windowTitle();
    box->defaultButton()->click();
  });
  MessageBoxRequest request{nullptr, "None", "Error Context", MB_OK | MB_ICONHAND};
  EXPECT_EQ(QtMessageBoxPresenter(request), IDOK);
  EXPECT_EQ(title, QStringLiteral("Error Context"));
  QFont bold = QApplication::font();
  bold.setBold(true);
  EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 90);
}
