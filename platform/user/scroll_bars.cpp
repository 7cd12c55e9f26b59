/*
** The standard scroll bars of a window. The bar's state (range, page, position) is ours;
** a QScrollBar in the non-client area shows it and turns real clicks and drags into
** WM_HSCROLL / WM_VSCROLL with SB_ codes. As on the original platform the thumb does not move
** by itself: the window answers the message and sets the position (only dragging moves it).
*/
#include "platform/user/scroll_bars.h"

#include "platform/user/message_queue.h"
#include "platform/user/resting_images.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

namespace {

ScrollBarState* BarState(WindowObject& window, int bar) {
  if (bar == SB_HORZ) return &window.hBar;
  if (bar == SB_VERT) return &window.vBar;
  return nullptr;
}

QScrollBar* BarWidget(WindowObject& window, int bar) {
  return bar == SB_HORZ ? window.hScroll.data() : window.vScroll.data();
}

/* The highest position the thumb can take: with a page, the last page fills the bar. */
int MaxThumbPos(const ScrollBarState& state) {
  int top = state.maxPos - std::max<int>(static_cast<int>(state.page) - 1, 0);
  return std::max(top, state.minPos);
}

void ShowState(WindowObject& window, int bar) {
  QScrollBar* widget = BarWidget(window, bar);
  ScrollBarState* state = BarState(window, bar);
  if (!widget || !state) return;
  state->showQueued = false;
  QSignalBlocker block(widget);
  widget->setRange(state->minPos, MaxThumbPos(*state));
  // Qt repaints the whole bar on every step size set, changed or not; range and value it
  // compares itself. A bar whose look did not change is not repainted.
  int pageStep = std::max<int>(static_cast<int>(state->page), 1);
  if (widget->pageStep() != pageStep) widget->setPageStep(pageStep);
  if (widget->singleStep() != 1) widget->setSingleStep(1);
  widget->setValue(state->tracking ? state->trackPos : state->pos);
}

/* A change made without redraw: the widget shows the bar's state once, when the loop next
   turns, however many changes come before. */
void ShowStateLater(WindowObject& window, int bar) {
  QScrollBar* widget = BarWidget(window, bar);
  ScrollBarState* state = BarState(window, bar);
  if (!widget || !state || state->showQueued) return;
  state->showQueued = true;
  HWND hwnd = window.hwnd;
  QMetaObject::invokeMethod(
      widget,
      [hwnd, bar] {
        WindowObject* still = PeekWindowObject(hwnd);
        if (still && BarState(*still, bar)->showQueued) ShowState(*still, bar);
      },
      Qt::QueuedConnection);
}

void Send(HWND hwnd, int bar, int code, int pos) {
  UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
  SendMessage(hwnd, message, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

void Connect(HWND hwnd, int bar, QScrollBar* widget) {
  QObject::connect(widget, &QAbstractSlider::actionTriggered, widget,
                   [hwnd, bar, widget](int action) {
                     WindowPtr window = FindWindowObject(hwnd);
                     int code = ScrollCodeOfSliderAction(action);
                     if (!window || code < 0) return;
                     ScrollBarState& state = *BarState(*window, bar);
                     if (code == SB_THUMBTRACK) {
                       state.tracking = true;
                       state.trackPos = widget->sliderPosition();
                       Send(hwnd, bar, SB_THUMBTRACK, state.trackPos);
                       return;  // the thumb follows the mouse while dragged
                     }
                     Send(hwnd, bar, code, 0);
                     if (WindowPtr after = FindWindowObject(hwnd)) {
                       // The window moves the thumb through SetScrollPos; Qt's own step is undone.
                       widget->setSliderPosition(BarState(*after, bar)->pos);
                     }
                   });
  QObject::connect(widget, &QAbstractSlider::sliderReleased, widget, [hwnd, bar]() {
    WindowPtr window = FindWindowObject(hwnd);
    if (!window) return;
    ScrollBarState& state = *BarState(*window, bar);
    if (!state.tracking) return;
    int pos = state.trackPos;
    state.tracking = false;
    Send(hwnd, bar, SB_THUMBPOSITION, pos);
    Send(hwnd, bar, SB_ENDSCROLL, 0);
    if (WindowPtr after = FindWindowObject(hwnd)) ShowState(*after, bar);
  });
}

/* What decides how a bar at rest looks: the style draws the same pixels for the same option. */
struct RestingBarKey {
  QSize size;
  qreal ratio = 1;
  int orientation = 0, minimum = 0, maximum = 0, position = 0, pageStep = 0, singleStep = 0;
  bool upsideDown = false;
  int state = 0, direction = 0;
  qint64 palette = 0;
  const QStyle* style = nullptr;
  bool operator==(const RestingBarKey&) const = default;
};

/* Every statement window has the same two bars: their images are drawn once. */
const QImage& RestingBarImage(const QStyleOptionSlider& option, QScrollBar* bar) {
  static RestingImages<RestingBarKey> images;
  RestingBarKey key{option.rect.size(), bar->devicePixelRatio(),
                    option.orientation, option.minimum,
                    option.maximum,     option.sliderPosition,
                    option.pageStep,    option.singleStep,
                    option.upsideDown,  static_cast<int>(option.state),
                    option.direction,   option.palette.cacheKey(),
                    bar->style()};
  return images.Find(key, option.rect.size(), key.ratio, [&](QPainter& painter) {
    bar->style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, bar);
  });
}

/* Arrow and trough clicks end with SB_ENDSCROLL when the button comes up. */
class ScrollBarWidget : public QScrollBar {
 public:
  ScrollBarWidget(HWND hwnd, int bar, QWidget* parent)
      : QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, parent), hwnd_(hwnd), bar_(bar) {
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    bool dragging = isSliderDown();
    QScrollBar::mouseReleaseEvent(event);
    if (!dragging && FindWindowObject(hwnd_)) Send(hwnd_, bar_, SB_ENDSCROLL, 0);
  }
  void contextMenuEvent(QContextMenuEvent*) override {}
  // A bar nobody points at or holds is copied from the images of bars at rest; a hovered,
  // pressed or dragged one is drawn as it is.
  void paintEvent(QPaintEvent* event) override {
    if (underMouse() || isSliderDown() || QGuiApplication::mouseButtons() != Qt::NoButton) {
      QScrollBar::paintEvent(event);
      return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    PaintFromRestingImage(this, event, RestingBarImage(option, this));
  }
  // The wheel over a bar is the window's wheel, scrolled as the window answers it.
  void wheelEvent(QWheelEvent* event) override {
    PostWheelInput(hwnd_, event);
    event->accept();
  }

 private:
  HWND hwnd_;
  int bar_;
};

QScrollBar* EnsureBarWidget(WindowObject& window, int bar) {
  QPointer<QScrollBar>& slot = bar == SB_HORZ ? window.hScroll : window.vScroll;
  if (!slot && window.frame) {
    slot = new ScrollBarWidget(window.hwnd, bar, window.frame);
    Connect(window.hwnd, bar, slot.data());
    ShowState(window, bar);
  }
  return slot;
}

/* Showing or hiding a bar changes the client area: the frame is recalculated. */
void SetBarStyle(HWND hwnd, DWORD bit, bool show) {
  WindowObject* window = PeekWindowObject(hwnd);
  if (!window) return;
  bool has = (window->style & bit) != 0;
  if (has == show) return;
  window->style = show ? (window->style | bit) : (window->style & ~bit);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

int ScrollCodeOfSliderAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
  }
}

void PlaceScrollBarWidgets(WindowObject& window, const QMargins& native) {
  int cx = window.client.left - native.left(), cy = window.client.top - native.top();
  int cw = RectWidth(window.client), ch = RectHeight(window.client);
  if (window.style & WS_VSCROLL) {
    QScrollBar* v = EnsureBarWidget(window, SB_VERT);
    if (v) {
      v->setGeometry(cx + cw, cy, GetSystemMetrics(SM_CXVSCROLL), ch);
      v->show();
    }
  } else if (window.vScroll) {
    window.vScroll->hide();
  }
  if (window.style & WS_HSCROLL) {
    QScrollBar* h = EnsureBarWidget(window, SB_HORZ);
    if (h) {
      h->setGeometry(cx, cy + ch, cw, GetSystemMetrics(SM_CYHSCROLL));
      h->show();
    }
  } else if (window.hScroll) {
    window.hScroll->hide();
  }
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  WindowPtr window = FindWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  if (!state) return 0;
  int old = state->pos;
  state->pos = std::clamp(pos, state->minPos, MaxThumbPos(*state));
  if (!state->tracking) ShowState(*window, bar);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  WindowPtr window = FindWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  return state ? state->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  WindowPtr window = FindWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  if (!state) return FALSE;
  state->minPos = minPos;
  state->maxPos = std::max(minPos, maxPos);
  state->pos = std::clamp(state->pos, state->minPos, MaxThumbPos(*state));
  ShowState(*window, bar);
  // An empty range hides a window's standard bar, a real one shows it again.
  SetBarStyle(hwnd, bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL, minPos != maxPos);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  WindowPtr window = FindWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  if (!state) {
    if (minPos) *minPos = 0;
    if (maxPos) *maxPos = 0;
    return FALSE;
  }
  if (minPos) *minPos = state->minPos;
  if (maxPos) *maxPos = state->maxPos;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!FindWindowObject(hwnd)) return FALSE;
  if (bar == SB_HORZ || bar == SB_BOTH) SetBarStyle(hwnd, WS_HSCROLL, show != FALSE);
  if (bar == SB_VERT || bar == SB_BOTH) SetBarStyle(hwnd, WS_VSCROLL, show != FALSE);
  return bar == SB_CTL ? FALSE : TRUE;
}

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  WindowObject* window = PeekWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  if (!state || !info) return 0;
  if (info->fMask & SIF_RANGE) {
    state->minPos = info->nMin;
    state->maxPos = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE)
    state->page = std::min<UINT>(info->nPage, static_cast<UINT>(state->maxPos - state->minPos + 1));
  if (info->fMask & SIF_POS) state->pos = info->nPos;
  state->pos = std::clamp(state->pos, state->minPos, MaxThumbPos(*state));
  if (redraw) {
    ShowState(*window, bar);
  } else {
    ShowStateLater(*window, bar);
  }
  if (info->fMask & SIF_RANGE) {
    bool needed =
        state->maxPos > state->minPos &&
        (state->page == 0 || static_cast<int>(state->page) <= state->maxPos - state->minPos);
    if (!(info->fMask & SIF_DISABLENOSCROLL))
      SetBarStyle(hwnd, bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL, needed);
  }
  // Showing or hiding the bar sends messages: the window is looked up again.
  window = PeekWindowObject(hwnd);
  return window ? BarState(*window, bar)->pos : 0;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  WindowPtr window = FindWindowObject(hwnd);
  ScrollBarState* state = window ? BarState(*window, bar) : nullptr;
  if (!state || !info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = state->minPos;
    info->nMax = state->maxPos;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state->page;
  if (info->fMask & SIF_POS) info->nPos = state->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state->tracking ? state->trackPos : state->pos;
  return TRUE;
}
