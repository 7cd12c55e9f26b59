/*
** The message box presenter of a program with a desktop: a Qt message box with the icon,
** buttons and default button the type asks for, over its owner window, answered modally.
*/
#include "platform/user/message_box.h"

#include "platform/user/text_1252.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace {

QMessageBox::Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QString CaptionOf(int answer) {
  switch (answer) {
    case IDOK: return QStringLiteral("OK");
    case IDCANCEL: return QStringLiteral("Cancel");
    case IDABORT: return QStringLiteral("&Abort");
    case IDRETRY: return QStringLiteral("&Retry");
    case IDIGNORE: return QStringLiteral("&Ignore");
    case IDYES: return QStringLiteral("&Yes");
    default: return QStringLiteral("&No");
  }
}

QMessageBox::ButtonRole RoleOf(int answer) {
  switch (answer) {
    case IDOK:
    case IDYES:
    case IDRETRY: return QMessageBox::AcceptRole;
    case IDCANCEL:
    case IDABORT: return QMessageBox::RejectRole;
    default: return QMessageBox::NoRole;
  }
}

/* The window manager's title bar puts the window's icon and three buttons (minimise, maximise,
** close) beside the caption, in a bold face; a box only as wide as a short text ("None") left
** the caption no room and it was shortened ("Error ... ntext"). */
int WidthForCaption(const QString& caption) {
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  QFontMetrics metrics(titleFont);
  const int titleButton = metrics.height() + 8;  // a square button with its padding
  return metrics.horizontalAdvance(caption) + 5 * titleButton;
}

/* The box is laid out no narrower than its caption needs. */
void KeepCaptionWhole(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  QMargins margins = grid->contentsMargins();
  int width = WidthForCaption(box.windowTitle()) - margins.left() - margins.right();
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

/* Shows the box with Qt; called by MessageBox when no other presenter is installed and the
** program has a QApplication. */
int QtMessageBoxPresenter(const MessageBoxRequest& request) {
  QWidget* parent = nullptr;
  if (WindowPtr owner = FindWindowObject(request.owner)) parent = owner->frame;
  QMessageBox box(IconOf(request.type), DecodeWindows1252(request.caption),
                  DecodeWindows1252(request.text), QMessageBox::NoButton, parent);
  int answers[3];
  int count = MessageBoxButtons(request.type, answers);
  int defaultAnswer = DefaultMessageBoxAnswer(request.type);
  QPushButton* buttons[3] = {};
  for (int i = 0; i < count; ++i) {
    buttons[i] = box.addButton(CaptionOf(answers[i]), RoleOf(answers[i]));
    if (answers[i] == defaultAnswer) box.setDefaultButton(buttons[i]);
    if (answers[i] == IDCANCEL || (count == 1)) box.setEscapeButton(buttons[i]);
  }
  KeepCaptionWhole(box);
  box.exec();
  for (int i = 0; i < count; ++i)
    if (box.clickedButton() == buttons[i]) return answers[i];
  // Closed without a button: Cancel where there is one, else the default.
  for (int i = 0; i < count; ++i)
    if (answers[i] == IDCANCEL) return IDCANCEL;
  return defaultAnswer;
}
