/*
** Colours of Qt-widget controls from their parent's WM_CTLCOLOR* answers, asked at paint time.
** The palette is only touched when the answer changed, so a repaint never asks for another.
*/
#include "platform/user/control_colors.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <map>

namespace {

std::map<HWND, HWND>& ColorParents() {
  static std::map<HWND, HWND> parents;
  return parents;
}

HWND ColorParentOf(HWND hwnd) {
  auto it = ColorParents().find(hwnd);
  if (it != ColorParents().end() && IsWindow(it->second)) return it->second;
  return GetParent(hwnd);
}

/* A read-only or disabled edit asks as a static control does. */
UINT ColorMessageFor(HWND hwnd, UINT message) {
  if (message != WM_CTLCOLOREDIT) return message;
  bool readOnly = (GetWindowLong(hwnd, GWL_STYLE) & ES_READONLY) != 0;
  return readOnly || !IsWindowEnabled(hwnd) ? WM_CTLCOLORSTATIC : message;
}

class PaintColorFilter : public QObject {
 public:
  PaintColorFilter(HWND hwnd, UINT message, QWidget* widget, QObject* parent)
      : QObject(parent), hwnd_(hwnd), message_(message), widget_(widget) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && widget_ && IsWindow(hwnd_))
      ApplyParentColors(hwnd_, ColorParentOf(hwnd_), message_, widget_);
    return false;
  }

 private:
  HWND hwnd_;
  UINT message_;
  QPointer<QWidget> widget_;
};

}  // namespace

void ApplyParentColors(HWND hwnd, HWND parent, UINT ctlColorMessage, QWidget* widget) {
  if (!parent || !widget) return;
  ctlColorMessage = ColorMessageFor(hwnd, ctlColorMessage);
  QPointer<QWidget> guard(widget);
  HDC dc = GetDC(nullptr);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  auto brush = reinterpret_cast<HBRUSH>(SendMessage(
      parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  if (guard && IsWindow(hwnd)) {
    QPalette palette = widget->palette();
    QColor text = GdiColorToQColor(GetTextColor(dc));
    QBrush fill = brush ? GdiBrushToQBrush(brush) : QBrush(GdiColorToQColor(GetBkColor(dc)));
    bool changed = palette.color(QPalette::Text) != text ||
                   (fill.style() != Qt::NoBrush && palette.brush(QPalette::Base) != fill);
    if (changed) {
      palette.setColor(QPalette::Text, text);
      if (fill.style() != Qt::NoBrush) palette.setBrush(QPalette::Base, fill);
      widget->setPalette(palette);
    }
  }
  ReleaseDC(nullptr, dc);
}

void AskParentColorsWhenPainting(HWND hwnd, UINT ctlColorMessage, QWidget* paintTarget,
                                 QWidget* widget) {
  if (paintTarget)
    paintTarget->installEventFilter(
        new PaintColorFilter(hwnd, ctlColorMessage, widget, paintTarget));
}

void SetControlColorParent(HWND hwnd, HWND colorParent) {
  if (colorParent) ColorParents()[hwnd] = colorParent;
  else ColorParents().erase(hwnd);
}
