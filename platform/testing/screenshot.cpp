/*
** Window screenshots through Qt's widget rendering.
*/
#include "platform/testing/screenshot.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QPixmap>

QImage GrabWindow(HWND hwnd) {
  ProcessPendingMessages();
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->frame) return QImage();
  return window->frame->grab().toImage();
}

bool SaveWindowScreenshot(HWND hwnd, const std::string& pngPath) {
  QImage image = GrabWindow(hwnd);
  if (image.isNull()) return false;
  return image.save(QString::fromStdString(pngPath), "PNG");
}
