/*
** Painting. Each window keeps its client area's pixels in a backing image that GDI draws on;
** the client widget shows the image. Invalidation collects an update region and asks for
** WM_PAINT; BeginPaint hands out a DC clipped to that region (erasing first with
** WM_ERASEBKGND when asked) and validates it.
*/
#include "platform/user/painting.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_recording.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/user/paint_recording.h"
#include "platform/user/message_queue.h"
#include "platform/user/message_queue_internal.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

#include <cstring>
#include <iterator>
#include <map>
#include <vector>

namespace {

struct LiveDC {
  HWND hwnd;
  bool paintDC;
};

std::map<HDC, LiveDC>& LiveDCs() {
  static std::map<HDC, LiveDC> dcs;
  return dcs;
}

QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

RECT ToRECT(const QRect& r) {
  if (r.isEmpty()) return RECT{0, 0, 0, 0};
  return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ClientArea(const WindowObject& window) {
  return QRect(0, 0, RectWidth(window.client), RectHeight(window.client));
}

/* A region that admits no pixel: an empty clip would mean no clipping at all. */
QRegion NothingVisible() { return QRegion(-2, -2, 1, 1); }

/* `forPaint`: the DC of one BeginPaint, which keeps its painter until EndPaint. */
HDC CreateClientDC(WindowObject& window, const QRegion& clip, bool forPaint = false) {
  RealizedBacking(window);
  if (window.backing.isNull()) window.backing = QImage(1, 1, QImage::Format_RGB32);
  return forPaint ? GdiCreatePaintDC(&window.backing, QPoint(0, 0), clip)
                  : GdiCreateSurfaceDC(&window.backing, QPoint(0, 0), clip);
}

/* Backing images of destroyed windows, kept for the next window of the same size. A new
** image of a window's size is fresh memory from the system, and the first write to each of
** its pages faults: for a statement window that costs more than the fill and the first
** paint together, every time a file is opened after another was closed. */
constexpr size_t kSpareBackings = 8;  // a file window and its frame, a dialog and its lists
constexpr qsizetype kSmallestSpareBacking = 64 * 1024;  // smaller ones come from the heap

std::vector<QImage>& SpareBackings() {
  static std::vector<QImage> spare;
  return spare;
}

QImage NewBacking(const QSize& size) {
  auto& spare = SpareBackings();
  for (auto it = spare.rbegin(); it != spare.rend(); ++it) {
    if (it->size() != size) continue;
    QImage image = std::move(*it);
    spare.erase(std::next(it).base());
    return image;
  }
  return QImage(size, QImage::Format_RGB32);
}

/* What the visible child windows cover of a window's client area (a masked child only its
** mask): a WS_CLIPCHILDREN window's paint leaves it alone, as the children show there. */
QRegion ChildWindowsArea(const WindowObject& window) {
  QRegion area;
  for (HWND hwnd : window.children) {
    WindowPtr child = FindWindowObject(hwnd);
    if (!child || !(child->style & WS_VISIBLE)) continue;
    QRect rect = ToQRect(child->rect);
    if (child->frame && !child->frame->mask().isEmpty())
      area += child->frame->mask().translated(rect.topLeft()) & rect;
    else area += rect;
  }
  return area;
}

}  // namespace

void KeepBackingForReuse(WindowObject& window) {
  QImage image = std::move(window.backing);
  window.backing = QImage();
  // An image still shared (a grab of the window) would be copied on the first write anyway.
  if (image.sizeInBytes() < kSmallestSpareBacking || !image.isDetached() ||
      image.format() != QImage::Format_RGB32)
    return;
  auto& spare = SpareBackings();
  if (spare.size() >= kSpareBackings) spare.erase(spare.begin());
  spare.push_back(std::move(image));
}

QImage& RealizedBacking(WindowObject& window) {
  if (!window.backingStale) return window.backing;
  QSize size(RectWidth(window.client), RectHeight(window.client));
  if (size.isEmpty()) return window.backing;  // keeps what it had until it has an area again
  window.backingStale = false;
  QSize kept = window.backingKept.boundedTo(window.backing.size());
  if (size == window.backing.size() && kept == size) return window.backing;
  QImage grown = NewBacking(size);
  if (kept.isEmpty()) {
    grown.fill(Qt::white);
  } else {
    // Only the part no old pixel covers is filled.
    QPainter painter(&grown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), window.backing, QRect(QPoint(0, 0), kept));
    if (kept.width() < size.width())
      painter.fillRect(QRect(kept.width(), 0, size.width() - kept.width(), size.height()),
                       Qt::white);
    if (kept.height() < size.height())
      painter.fillRect(QRect(0, kept.height(), kept.width(), size.height() - kept.height()),
                       Qt::white);
  }
  GdiEndPaintingOn(&window.backing);  // a paint's painter must not outlive the old pixels
  window.backing = grown;
  return window.backing;
}

bool HasOpenDC(const WindowObject& window) {
  if (window.ownDC) return true;
  for (const auto& entry : LiveDCs())
    if (entry.second.hwnd == window.hwnd) return true;
  return false;
}

namespace {

/* The persistent DC of a CS_OWNDC window; made on first use, kept until destruction. */
HDC OwnDC(WindowObject& window) {
  if (!window.ownDC) window.ownDC = CreateClientDC(window, QRegion());
  return window.ownDC;
}

bool HasOwnDC(const WindowObject& window) {
  return (window.windowClass->record.style & (CS_OWNDC | CS_CLASSDC)) != 0;
}

void ClipOwnDC(HDC dc, const QRegion& region) {
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  for (const QRect& r : region) {
    HRGN part = CreateRectRgn(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    CombineRgn(clip, clip, part, RGN_OR);
    DeleteObject(part);
  }
  SelectClipRgn(dc, clip);
  DeleteObject(clip);
}

bool AcceptsInvalidation(const WindowObject& window) {
  return window.redraw && IsWindowVisible(window.hwnd);
}

void AddToUpdate(WindowObject& window, const QRegion& region, bool erase) {
  QRegion area = region.intersected(ClientArea(window));
  if (area.isEmpty()) return;
  window.update |= area;
  if (erase) window.eraseNeeded = true;
  RequestPaint(window.hwnd);
}

void InvalidateAll(bool erase) {
  std::vector<HWND> all;
  EnumChildWindows(
      nullptr,
      [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  for (HWND h : all) InvalidateRect(h, nullptr, erase);
}

QRegion RegionOf(HRGN region) {
  RECT box;
  if (!region || GetRgnBox(region, &box) == ERROR) return QRegion();
  return QRegion(ToQRect(box));
}

}  // namespace

/* Ends the DCs a destroyed window still holds. */
void ReleaseWindowDCs(WindowObject& window) {
  auto& dcs = LiveDCs();
  for (auto it = dcs.begin(); it != dcs.end();) {
    if (it->second.hwnd == window.hwnd) {
      GdiReleaseSurfaceDC(it->first);
      it = dcs.erase(it);
    } else {
      ++it;
    }
  }
  if (window.ownDC) {
    GdiReleaseSurfaceDC(window.ownDC);
    window.ownDC = nullptr;
  }
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    InvalidateAll(erase);
    return TRUE;
  }
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  if (!AcceptsInvalidation(*window)) return TRUE;
  AddToUpdate(*window, rect ? QRegion(ToQRect(*rect)) : QRegion(ClientArea(*window)), erase);
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (!region) return InvalidateRect(hwnd, nullptr, erase);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  if (AcceptsInvalidation(*window)) AddToUpdate(*window, RegionOf(region), erase);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  if (!rect) {
    window->update = QRegion();
    window->eraseNeeded = false;
  } else {
    window->update -= QRegion(ToQRect(*rect));
    if (window->update.isEmpty()) window->eraseNeeded = false;
  }
  return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (!region) return ValidateRect(hwnd, nullptr);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  window->update -= RegionOf(region);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  if (rect) *rect = ToRECT(window->update.boundingRect());
  return window->update.isEmpty() ? FALSE : TRUE;
}

namespace {

bool OnRealDisplay() {
  QString platform = QGuiApplication::platformName();
  return !platform.isEmpty() && platform != QLatin1String("offscreen") &&
         platform != QLatin1String("minimal");
}

void PaintIfNeeded(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (window && !window->update.isEmpty() && window->redraw && IsWindowVisible(hwnd)) {
    MSG msg{hwnd, WM_PAINT, 0, 0, 0, {}};
    DispatchMessage(&msg);
  }
}

void PaintTreeNow(HWND hwnd) {
  PaintIfNeeded(hwnd);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  std::vector<HWND> children = window->children;
  for (HWND child : children) PaintTreeNow(child);
}

/* Qt paints widgets when its loop runs; a window painted outside any loop (during start-up)
** has its widgets drawn and sent to the display now. */
void PushPixelsToDisplay(HWND hwnd) {
  if (!OnRealDisplay()) return;
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !IsWindowVisible(hwnd)) return;
  WindowPtr top = window;
  while (top && top->IsChild()) top = FindWindowObject(top->parent);
  if (!top || !top->frame || !top->frame->windowHandle() ||
      !top->frame->windowHandle()->isExposed())
    return;
  QWidget* widget =
      window->IsChild() ? static_cast<QWidget*>(window->frame.data()) : top->frame.data();
  if (widget) widget->repaint();
}

}  // namespace

BOOL UpdateWindow(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  PaintTreeNow(hwnd);  // the children's update regions too, as the original does
  PushPixelsToDisplay(hwnd);
  return TRUE;
}

void PresentOnDisplayNow(HWND hwnd) {
  if (!OnRealDisplay()) return;
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild() || !window->frame) return;
  QWidget* frame = window->frame.data();
  auto exposed = [](void* widget) {
    QWindow* handle = static_cast<QWidget*>(widget)->windowHandle();
    return handle && handle->isExposed();
  };
  constexpr int kExposeWaitMs = 2000;  // a desktop that never exposes must not hang start-up
  ProcessWindowSystemEventsUntil(exposed, frame, kExposeWaitMs);
  PaintTreeNow(hwnd);
  PushPixelsToDisplay(hwnd);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (hwnd && !FindWindowObject(hwnd)) return FALSE;
  if (flags & RDW_INVALIDATE) {
    bool erase = (flags & RDW_ERASE) != 0;
    if (region) InvalidateRgn(hwnd, region, erase);
    else InvalidateRect(hwnd, rect, erase);
  }
  if (flags & RDW_VALIDATE) {
    if (region) ValidateRgn(hwnd, region);
    else ValidateRect(hwnd, rect);
  }
  if (flags & RDW_ALLCHILDREN) {
    if (WindowPtr window = FindWindowObject(hwnd)) {
      std::vector<HWND> children = window->children;
      for (HWND child : children) RedrawWindow(child, nullptr, nullptr, flags & ~RDW_UPDATENOW);
    }
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
  return TRUE;
}

namespace {
std::map<HWND, std::vector<GdiDrawRecord>>& PaintLogs() {
  static std::map<HWND, std::vector<GdiDrawRecord>> logs;
  return logs;
}

void KeepRecordedPaint(HWND hwnd, HDC dc) {
  auto log = PaintLogs().find(hwnd);
  if (log == PaintLogs().end()) return;
  std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc);
  log->second.insert(log->second.end(), calls.begin(), calls.end());
  GdiClearRecording(dc);
}
}  // namespace

void RecordWindowPaints(HWND hwnd, bool on) {
  if (on) PaintLogs()[hwnd].clear();
  else PaintLogs().erase(hwnd);
}

std::vector<GdiDrawRecord> RecordedWindowPaints(HWND hwnd) {
  auto log = PaintLogs().find(hwnd);
  return log == PaintLogs().end() ? std::vector<GdiDrawRecord>{} : log->second;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !paint) return nullptr;
  std::memset(paint, 0, sizeof(*paint));
  window->beginPaintCount++;
  QRegion region = window->update.intersected(ClientArea(*window));
  bool erase = window->eraseNeeded;
  window->update = QRegion();
  window->eraseNeeded = false;
  QRegion clip = region;
  if (window->style & WS_CLIPCHILDREN) clip -= ChildWindowsArea(*window);
  bool nothingShows = clip.isEmpty();
  if (nothingShows) clip = NothingVisible();
  HDC dc;
  if (HasOwnDC(*window)) {
    dc = OwnDC(*window);
    ClipOwnDC(dc, clip);
  } else if (nothingShows) {
    // The paint can draw nothing (children cover all of it, as they cover a maximized file
    // window's frame): the window's image is not made for it, nor filled, until some of it
    // shows.
    static QImage covered(1, 1, QImage::Format_RGB32);
    dc = GdiCreateSurfaceDC(&covered, QPoint(0, 0), clip);
    LiveDCs()[dc] = LiveDC{hwnd, true};
  } else {
    dc = CreateClientDC(*window, clip, true);
    LiveDCs()[dc] = LiveDC{hwnd, true};
  }
  paint->hdc = dc;
  paint->rcPaint = ToRECT(region.boundingRect());
  if (PaintLogs().count(hwnd)) {
    GdiStartRecording(dc);
    GdiClearRecording(dc);
  }
  if (erase) {
    LRESULT erased = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    paint->fErase = erased ? FALSE : TRUE;
  }
  if (window->clientWidget) window->clientWidget->update(region.boundingRect());
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  WindowPtr window = FindWindowObject(hwnd);
  KeepRecordedPaint(hwnd, paint->hdc);
  if (window && paint->hdc == window->ownDC) {
    SelectClipRgn(paint->hdc, nullptr);
  } else {
    auto it = LiveDCs().find(paint->hdc);
    if (it == LiveDCs().end()) return FALSE;
    GdiReleaseSurfaceDC(paint->hdc);
    LiveDCs().erase(it);
  }
  if (window && window->clientWidget) window->clientWidget->update(ToQRect(paint->rcPaint));
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd || hwnd == GetDesktopWindow()) {
    // A DC of the whole screen serves measuring; what is drawn on it is not shown.
    static QImage screen(1, 1, QImage::Format_RGB32);
    HDC dc = GdiCreateSurfaceDC(&screen, QPoint(0, 0), QRegion());
    LiveDCs()[dc] = LiveDC{nullptr, false};
    return dc;
  }
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return nullptr;
  if (window->clientWidget) window->clientWidget->update();  // shows what is drawn next
  if (HasOwnDC(*window)) return OwnDC(*window);
  HDC dc = CreateClientDC(*window, QRegion());
  LiveDCs()[dc] = LiveDC{hwnd, false};
  return dc;
}

HDC GetWindowDC(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return GetDC(nullptr);
  RealizedBacking(*window);
  if (window->backing.isNull()) window->backing = QImage(1, 1, QImage::Format_RGB32);
  // Logical (0,0) is the window's corner, which lies up and left of the client image.
  HDC dc = GdiCreateSurfaceDC(&window->backing, QPoint(-window->client.left, -window->client.top),
                              QRegion());
  LiveDCs()[dc] = LiveDC{hwnd, false};
  if (window->clientWidget) window->clientWidget->update();
  return dc;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  WindowPtr window = FindWindowObject(hwnd);
  if (window && dc && dc == window->ownDC) {
    if (window->clientWidget) window->clientWidget->update();
    return 1;
  }
  auto it = LiveDCs().find(dc);
  if (it == LiveDCs().end()) return 0;
  GdiReleaseSurfaceDC(dc);
  LiveDCs().erase(it);
  if (window && window->clientWidget) window->clientWidget->update();
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = LiveDCs().find(dc);
  if (it != LiveDCs().end()) return it->second.hwnd;
  std::vector<HWND> all;
  EnumChildWindows(
      nullptr,
      [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  for (HWND h : all)
    if (WindowPtr w = FindWindowObject(h); w && w->ownDC == dc) return h;
  return nullptr;
}

namespace {

/* Moves the pixels of `from` by (dx, dy) inside the image, in place: one memmove per
** scanline (one for the whole block when it spans whole lines), ordered so an overlapping
** move never reads a line it already wrote. A QPainter would copy the source out first and
** blend it back, two passes over every pixel instead of one. */
void MovePixels(QImage& image, const QRect& from, int dx, int dy) {
  if (from.isEmpty() || image.depth() != 32) return;
  uchar* bits = image.bits();  // detaches first if the image is shared
  const qsizetype stride = image.bytesPerLine();
  const size_t rowBytes = static_cast<size_t>(from.width()) * 4;
  auto line = [&](int y, int x) { return bits + y * stride + static_cast<qsizetype>(x) * 4; };
  if (dx == 0 && from.left() == 0 && rowBytes == static_cast<size_t>(stride)) {
    std::memmove(line(from.top() + dy, 0), line(from.top(), 0), rowBytes * from.height());
    return;
  }
  if (dy > 0) {
    for (int y = from.bottom(); y >= from.top(); --y)
      std::memmove(line(y + dy, from.left() + dx), line(y, from.left()), rowBytes);
  } else {
    for (int y = from.top(); y <= from.bottom(); ++y)
      std::memmove(line(y + dy, from.left() + dx), line(y, from.left()), rowBytes);
  }
}

HRGN ToHRGN(const QRegion& region) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (const QRect& r : region) {
    HRGN part = CreateRectRgn(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    CombineRgn(result, result, part, RGN_OR);
    DeleteObject(part);
  }
  return result;
}

void ScrollChildren(WindowObject& window, const QRect& area, bool wholeClient, int dx, int dy) {
  std::vector<HWND> children = window.children;
  for (HWND child : children) {
    WindowPtr c = FindWindowObject(child);
    if (!c) continue;
    if (!wholeClient && !ToQRect(c->rect).intersects(area)) continue;
    SetWindowPos(child, nullptr, c->rect.left + dx, c->rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
}

}  // namespace

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect,
                   HRGN updateRegion, LPRECT updateRect, UINT flags) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return ERROR;
  QRect client = ClientArea(*window);
  QRect area = scrollRect ? ToQRect(*scrollRect).intersected(client) : client;
  QRect clip = clipRect ? ToQRect(*clipRect).intersected(client) : client;
  QRect moved = area.translated(dx, dy).intersected(clip);
  QImage& backing = RealizedBacking(*window);
  if (!backing.isNull() && !moved.isEmpty() && window->redraw) {
    QRect landing = moved.intersected(backing.rect());
    MovePixels(backing, landing.translated(-dx, -dy), dx, dy);
  }
  // What was waiting to be painted moves with the pixels, so it is painted where it now
  // shows rather than widened to cover both places; where no pixel moved (outside the clip,
  // or the band the scroll uncovered) it stays where it was.
  if (!window->update.isEmpty() && !moved.isEmpty()) {
    QRegion landed = window->update.translated(dx, dy).intersected(moved);
    window->update = (window->update - QRegion(moved)) | landed;
  }
  QRegion uncovered = QRegion(area.intersected(clip)) - QRegion(moved);
  if (updateRect) *updateRect = ToRECT(uncovered.boundingRect());
  if (updateRegion) {
    HRGN band = ToHRGN(uncovered);
    CombineRgn(updateRegion, band, nullptr, RGN_COPY);
    DeleteObject(band);
  }
  if (flags & SW_SCROLLCHILDREN) ScrollChildren(*window, area, scrollRect == nullptr, dx, dy);
  if ((flags & SW_INVALIDATE) && AcceptsInvalidation(*window) && !uncovered.isEmpty())
    AddToUpdate(*window, uncovered, (flags & SW_ERASE) != 0);
  if (window->clientWidget) window->clientWidget->update(area);
  if (uncovered.isEmpty()) return NULLREGION;
  return uncovered.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (scrollRect ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(hwnd, dx, dy, scrollRect, clipRect, nullptr, nullptr, flags) != ERROR;
}
