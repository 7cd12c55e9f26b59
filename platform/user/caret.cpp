/*
** The caret: one for the program, owned by one window, drawn as a blinking block over the
** owner's client area. It hides and shows by count, as on the original platform.
*/
#include "platform/user/caret.h"

#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QPainter>
#include <QTimer>

namespace {

class CaretWidget : public QWidget {
 public:
  explicit CaretWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&blink_, &QTimer::timeout, this, [this] {
      lit_ = !lit_;
      update();
    });
    blink_.start(static_cast<int>(GetCaretBlinkTime()));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!lit_) return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
  }

 private:
  QTimer blink_;
  bool lit_ = true;
};

struct Caret {
  HWND owner = nullptr;
  int width = 1;
  int height = 1;
  POINT pos{};
  int hideCount = 1;  // a new caret starts hidden
  QPointer<CaretWidget> widget;
};

Caret& TheCaret() {
  static Caret caret;
  return caret;
}

void ShowOrHide() {
  Caret& caret = TheCaret();
  if (!caret.widget) return;
  caret.widget->setGeometry(caret.pos.x, caret.pos.y, caret.width, caret.height);
  caret.widget->setVisible(caret.hideCount == 0);
}

}  // namespace

/* A destroyed window takes its caret with it. */
void ForgetCaretOwner(HWND hwnd) {
  if (TheCaret().owner == hwnd) DestroyCaret();
}

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->clientWidget) return FALSE;
  DestroyCaret();
  Caret& caret = TheCaret();
  caret.owner = hwnd;
  caret.width = width > 0 ? width : 1;  // 0 means the system's border width
  caret.height = height > 0 ? height : 16;
  caret.pos = POINT{0, 0};
  caret.hideCount = 1;
  caret.widget = new CaretWidget(window->clientWidget);
  ShowOrHide();
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& caret = TheCaret();
  if (!caret.owner) return FALSE;
  if (caret.widget) {
    caret.widget->hide();
    caret.widget->deleteLater();
  }
  caret = Caret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& caret = TheCaret();
  if (!caret.owner) return FALSE;
  caret.pos = POINT{x, y};
  ShowOrHide();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = TheCaret().pos;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& caret = TheCaret();
  if (!caret.owner || (hwnd && hwnd != caret.owner) || caret.hideCount == 0) return FALSE;
  caret.hideCount--;
  ShowOrHide();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& caret = TheCaret();
  if (!caret.owner || (hwnd && hwnd != caret.owner)) return FALSE;
  caret.hideCount++;
  ShowOrHide();
  return TRUE;
}

UINT GetCaretBlinkTime() { return 530; }
