/*
** The system "scrollbar" class. Range, page and position are kept here; a QScrollBar filling
** the client area shows them and turns real clicks and drags into WM_HSCROLL / WM_VSCROLL
** to the parent, with the control's handle in lParam. Qt's own step is undone after each
** message: the parent moves the thumb with SBM_SETPOS, as on the original platform; only a
** drag moves it while it lasts.
*/
#include "platform/user/scrollbar_control.h"

#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/system_classes.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <memory>

namespace {

struct BarState {
  HWND hwnd = nullptr;
  QPointer<QScrollBar> bar;
  int minPos = 0;
  int maxPos = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
};

std::map<HWND, std::unique_ptr<BarState>>& Bars() {
  static std::map<HWND, std::unique_ptr<BarState>> bars;
  return bars;
}

BarState* StateOf(HWND hwnd) {
  auto it = Bars().find(hwnd);
  return it == Bars().end() ? nullptr : it->second.get();
}

bool IsVertical(HWND hwnd) { return (GetWindowLong(hwnd, GWL_STYLE) & SBS_VERT) != 0; }

/* The highest position the thumb can take: with a page, the last page fills the bar. */
int HighestPos(const BarState& s) {
  return std::max(s.maxPos - std::max(static_cast<int>(s.page) - 1, 0), s.minPos);
}

void Show(BarState& s) {
  if (!s.bar) return;
  QSignalBlocker block(s.bar);
  s.bar->setRange(s.minPos, HighestPos(s));
  s.bar->setPageStep(std::max(static_cast<int>(s.page), 1));
  s.bar->setSingleStep(1);
  s.bar->setValue(s.tracking ? s.trackPos : s.pos);
}

void Tell(HWND hwnd, int code, int pos) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  SendMessage(parent, IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL,
              MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
}

void OnAction(HWND hwnd, int action) {
  BarState* s = StateOf(hwnd);
  int code = ScrollCodeOfSliderAction(action);
  if (!s || !s->bar || code < 0) return;
  if (code == SB_THUMBTRACK) {
    s->tracking = true;
    s->trackPos = s->bar->sliderPosition();
    Tell(hwnd, SB_THUMBTRACK, s->trackPos);
    return;
  }
  Tell(hwnd, code, 0);
  if (BarState* after = StateOf(hwnd); after && after->bar)
    after->bar->setSliderPosition(after->pos);
}

void OnRelease(HWND hwnd) {
  BarState* s = StateOf(hwnd);
  if (!s) return;
  if (s->tracking) {
    int pos = s->trackPos;
    s->tracking = false;
    Tell(hwnd, SB_THUMBPOSITION, pos);
  }
  if (StateOf(hwnd)) Tell(hwnd, SB_ENDSCROLL, 0);
  if (BarState* after = StateOf(hwnd)) Show(*after);
}

/* Arrow and trough clicks end with SB_ENDSCROLL when the button comes up, drags too. */
class ControlScrollBar : public QScrollBar {
 public:
  ControlScrollBar(HWND hwnd, Qt::Orientation orientation, QWidget* parent)
      : QScrollBar(orientation, parent), hwnd_(hwnd) {
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QScrollBar::mouseReleaseEvent(event);
    OnRelease(hwnd_);
  }
  void contextMenuEvent(QContextMenuEvent*) override {}

 private:
  HWND hwnd_;
};

void CreateBar(HWND hwnd, DWORD style) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->clientWidget) return;
  auto state = std::make_unique<BarState>();
  state->hwnd = hwnd;
  auto* layout = new QVBoxLayout(window->clientWidget);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new ControlScrollBar(hwnd, (style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal,
                                   window->clientWidget);
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                   [hwnd](int action) { OnAction(hwnd, action); });
  layout->addWidget(bar);
  state->bar = bar;
  Bars()[hwnd] = std::move(state);
  Show(*Bars()[hwnd]);
}

LRESULT SetRange(BarState& s, int minPos, int maxPos) {
  int old = s.pos;
  s.minPos = minPos;
  s.maxPos = std::max(minPos, maxPos);
  s.pos = std::clamp(s.pos, s.minPos, HighestPos(s));
  Show(s);
  return old;
}

LRESULT SetInfo(BarState& s, const SCROLLINFO* info) {
  if (!info) return s.pos;
  if (info->fMask & SIF_RANGE) {
    s.minPos = info->nMin;
    s.maxPos = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE)
    s.page = std::min<UINT>(info->nPage, static_cast<UINT>(s.maxPos - s.minPos + 1));
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  s.pos = std::clamp(s.pos, s.minPos, HighestPos(s));
  Show(s);
  return s.pos;
}

LRESULT GetInfo(const BarState& s, SCROLLINFO* info) {
  if (!info) return FALSE;
  if (info->fMask & SIF_RANGE) info->nMin = s.minPos, info->nMax = s.maxPos;
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s.tracking ? s.trackPos : s.pos;
  return TRUE;
}

/* The keys a focused scroll bar turns into scroll codes for its parent. */
int CodeOfKey(int vk) {
  switch (vk) {
    case VK_UP:
    case VK_LEFT: return SB_LINEUP;
    case VK_DOWN:
    case VK_RIGHT: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return -1;
  }
}

}  // namespace

LRESULT CALLBACK ScrollBarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    CreateBar(hwnd, cs ? static_cast<DWORD>(cs->style) : 0);
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  BarState* s = StateOf(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY: Bars().erase(hwnd); return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (int code = CodeOfKey(static_cast<int>(wParam)); code >= 0) Tell(hwnd, code, 0);
      return 0;
    case WM_KEYUP:
      if (CodeOfKey(static_cast<int>(wParam)) >= 0) Tell(hwnd, SB_ENDSCROLL, 0);
      return 0;
    case WM_ENABLE:
      if (s->bar) s->bar->setEnabled(wParam != 0);
      return 0;
    case SBM_SETPOS: {
      int old = s->pos;
      s->pos = std::clamp(static_cast<int>(wParam), s->minPos, HighestPos(*s));
      if (!s->tracking) Show(*s);
      return old;
    }
    case SBM_GETPOS: return s->pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
      return SetRange(*s, static_cast<int>(wParam), static_cast<int>(lParam));
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<LPINT>(wParam) = s->minPos;
      if (lParam) *reinterpret_cast<LPINT>(lParam) = s->maxPos;
      return 0;
    case SBM_SETSCROLLINFO: return SetInfo(*s, reinterpret_cast<const SCROLLINFO*>(lParam));
    case SBM_GETSCROLLINFO: return GetInfo(*s, reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_ENABLE_ARROWS:
      if (s->bar) s->bar->setEnabled(wParam != 3);  // ESB_DISABLE_BOTH
      return TRUE;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterScrollBarClass() {
  WNDCLASS bar{};
  bar.style = CS_DBLCLKS | CS_PARENTDC;
  bar.lpfnWndProc = ScrollBarWindowProc;
  bar.lpszClassName = "ScrollBar";
  bar.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterSystemClass(&bar);
}
