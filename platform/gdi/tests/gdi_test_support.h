/*
** Shared helpers of the drawing tests: an image to paint on, pixel reads as COLORREF.
** The process-wide QGuiApplication comes from gdi_app_environment.cpp.
*/
#ifndef ZARNE_PLATFORM_GDI_TESTS_GDI_TEST_SUPPORT_H
#define ZARNE_PLATFORM_GDI_TESTS_GDI_TEST_SUPPORT_H

#include "platform/gdi/gdi_surface.h"

#include <QImage>

inline QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

inline COLORREF PixelAt(const QImage& image, int x, int y) {
  QRgb pixel = image.pixel(x, y);
  return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

/* Pixels of the image that are not white. */
inline int InkCount(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++count;
  return count;
}

/* The bounding box of the non-white pixels; empty when there are none. */
inline QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
  return box;
}

#endif
