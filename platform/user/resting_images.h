/*
** Images of widgets at rest (a menu bar or a scroll bar nobody points at, opens or holds):
** drawn once through the style over the frame's face colour, then copied by every later paint
** of a widget that looks the same. Drawing through the style costs several times the copy, and
** the same bars are painted again after every dialog and on every open window.
*/
#ifndef ZARNE_PLATFORM_USER_RESTING_IMAGES_H
#define ZARNE_PLATFORM_USER_RESTING_IMAGES_H

#include "platform/user/system_info.h"

#include <QColor>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <vector>

/* The images last drawn for keys of one kind, most recently used first. A key holds all that
   decides the pixels, the size and device pixel ratio among them. */
template <typename Key>
class RestingImages {
 public:
  /* The image for key: the one kept, or a new one of size at ratio that draw(QPainter&) paints. */
  template <typename Draw>
  const QImage& Find(const Key& key, QSize size, qreal ratio, Draw draw) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (!(it->key == key)) continue;
      if (it != entries_.begin()) std::rotate(entries_.begin(), it, it + 1);
      return entries_.front().image;
    }
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    DWORD face = GetSysColor(COLOR_BTNFACE);  // what the frame paints under its bars
    image.fill(QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    {
      QPainter painter(&image);
      draw(painter);
    }
    if (entries_.size() >= kKept) entries_.pop_back();
    entries_.insert(entries_.begin(), Entry{key, std::move(image)});
    return entries_.front().image;
  }

 private:
  static constexpr size_t kKept = 8;
  struct Entry {
    Key key;
    QImage image;
  };
  std::vector<Entry> entries_;
};

/* Paints the event's region of widget from image, whose origin is the widget's. */
inline void PaintFromRestingImage(QWidget* widget, QPaintEvent* event, const QImage& image) {
  QPainter painter(widget);
  for (const QRect& rect : event->region()) {
    painter.setClipRect(rect);
    painter.drawImage(QPoint(0, 0), image);
  }
}

#endif
