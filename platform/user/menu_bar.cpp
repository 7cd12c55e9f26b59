/*
** A window's menu bar: which menu a top-level window shows, the Qt menu bar that shows it
** above the client area (the window's non-client area grows by one menu line), and choosing
** its commands. A chosen command is posted to the window as WM_COMMAND with the item id.
*/
#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"
#include "platform/user/menu_widgets.h"

#include "platform/user/message_queue.h"
#include "platform/user/resting_images.h"
#include "platform/user/system_info.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QActionEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

namespace {

/* What of an item's style option decides how the style draws it. */
struct RestingItemKey {
  QRect rect, menuRect;
  int state = 0, colorGroup = 0, type = 0, checkType = 0, direction = 0, maxIconWidth = 0;
  bool checked = false;
  qint64 palette = 0, icon = 0;
  QFont font;
  QString text;
  bool operator==(const RestingItemKey&) const = default;
};

/* What decides how a bar at rest looks: everything its paint hands the style. */
struct RestingBarKey {
  QSize size;
  qreal ratio = 1;
  const QStyle* style = nullptr;
  std::vector<RestingItemKey> items;
  qint64 palette = 0;  // the empty area's
  int colorGroup = 0, direction = 0;
  bool operator==(const RestingBarKey&) const = default;
};

/* Qt enables or disables each of a frame's pop-ups with the frame, and the bar measures all
** its titles again for each one. The titles' sizes and mnemonics do not depend on their
** being enabled, so while the frame's state changes the bar keeps its layout and is only
** painted again at the end (after every modal dialog, the measuring was most of the
** owner's enabling). */
class FrameMenuBar : public QMenuBar {
 public:
  using QMenuBar::QMenuBar;
  void HoldLayout(bool hold) {
    holding_ = hold;
    if (hold || !changed_) return;
    changed_ = nullptr;
    update();
  }

 protected:
  void actionEvent(QActionEvent* event) override {
    if (holding_ && event->type() == QEvent::ActionChanged) {
      changed_ = event->action();
      return;
    }
    QMenuBar::actionEvent(event);
  }
  // A bar nobody points at, opens or steps through is copied from an image of the same bar
  // drawn once: laying out and drawing every title's text is many times the copy's cost, and
  // the bar of a frame is painted again after every modal dialog. Any other bar is drawn as it
  // is.
  void paintEvent(QPaintEvent* event) override {
    if (activeAction() || underMouse() || hasFocus() ||
        QGuiApplication::mouseButtons() != Qt::NoButton ||
        style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this) != 0) {
      QMenuBar::paintEvent(event);
      return;
    }
    PaintFromRestingImage(this, event, RestingImage());
  }

 private:
  /* The items as the bar's own paint draws them, with their style options. */
  std::vector<QStyleOptionMenuItem> ItemOptions() const {
    std::vector<QStyleOptionMenuItem> options;
    for (QAction* action : actions()) {
      QRect rect = actionGeometry(action);
      if (rect.isEmpty() || !action->isVisible()) continue;
      QStyleOptionMenuItem option;
      initStyleOption(&option, action);
      option.rect = rect;
      options.push_back(option);
    }
    return options;
  }
  const QImage& RestingImage() const {
    std::vector<QStyleOptionMenuItem> options = ItemOptions();
    RestingBarKey key{size(),
                      devicePixelRatio(),
                      style(),
                      {},
                      palette().cacheKey(),
                      static_cast<int>(palette().currentColorGroup()),
                      static_cast<int>(layoutDirection())};
    for (const QStyleOptionMenuItem& option : options) {
      key.items.push_back(RestingItemKey{
          option.rect, option.menuRect, static_cast<int>(option.state),
          static_cast<int>(option.palette.currentColorGroup()),
          static_cast<int>(option.menuItemType), static_cast<int>(option.checkType),
          static_cast<int>(option.direction), option.maxIconWidth, option.checked,
          option.palette.cacheKey(), option.icon.cacheKey(), option.font, option.text});
    }
    static RestingImages<RestingBarKey> images;
    return images.Find(key, size(), key.ratio, [&](QPainter& painter) {
      // As QMenuBar paints itself: each item inside its own rectangle, then the rest.
      QRegion emptyArea(rect());
      for (const QStyleOptionMenuItem& option : options) {
        emptyArea -= option.rect;
        painter.setClipRect(option.rect);
        style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, this);
      }
      painter.setClipRegion(emptyArea);
      QStyleOptionMenuItem rest;
      rest.palette = palette();
      rest.state = QStyle::State_None;
      rest.menuItemType = QStyleOptionMenuItem::EmptyArea;
      rest.checkType = QStyleOptionMenuItem::NotCheckable;
      rest.rect = rect();
      rest.menuRect = rect();
      style()->drawControl(QStyle::CE_MenuBarEmptyArea, &rest, &painter, this);
    });
  }

  bool holding_ = false;
  QPointer<QAction> changed_;  // the last pop-up changed while held
};

struct BarState {
  HMENU menu = nullptr;
  QPointer<FrameMenuBar> bar;
  HWND maximizedChild = nullptr;  // whose buttons the bar's corner shows
};

std::map<HWND, BarState>& Bars() {
  static std::map<HWND, BarState> bars;
  return bars;
}

BarState* FindBar(HWND hwnd) {
  auto it = Bars().find(hwnd);
  if (it == Bars().end()) return nullptr;
  if (!IsWindow(hwnd)) {  // the window is gone: its bar goes with it
    if (it->second.bar) it->second.bar->deleteLater();
    Bars().erase(it);
    return nullptr;
  }
  return &it->second;
}

void PostCommand(HWND hwnd, UINT id) { PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

/* Keeps the Qt bar in the strip between the frame's top and the client area. */
void PlaceBar(HWND hwnd) {
  BarState* state = FindBar(hwnd);
  WindowPtr window = FindWindowObject(hwnd);
  if (!state || !state->bar || !window) return;
  QMargins native = NativeFrameInsets(*window);
  int height = GetSystemMetrics(SM_CYMENU);
  state->bar->setGeometry(window->client.left - native.left(),
                          window->client.top - native.top() - height, RectWidth(window->client),
                          height);
}

/* Follows the frame widget's size, which the window manager sets on every move and size. */
class BarPlacer : public QObject {
 public:
  BarPlacer(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) PlaceBar(hwnd_);
    return QObject::eventFilter(watched, event);
  }

 private:
  HWND hwnd_;
};

void BuildBar(HWND hwnd, BarState& state) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->frame) return;
  if (!state.bar) {
    state.bar = new FrameMenuBar(window->frame);
    state.bar->setNativeMenuBar(false);  // it belongs to this window, not to the desktop
    window->frame->installEventFilter(new BarPlacer(hwnd, state.bar));
  }
  QMenuBar* bar = state.bar;
  bar->clear();
  for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
    old->deleteLater();
  MenuObject* object = FindMenuObject(state.menu);
  if (!object) return;
  MenuCommandSink sink = [hwnd](UINT id) { PostCommand(hwnd, id); };
  for (size_t i = 0; i < object->items.size(); ++i) {
    const MenuItem& item = object->items[i];
    bool enabled = (item.flags & (MF_GRAYED | MF_DISABLED)) == 0;
    if (item.IsSeparator()) continue;
    if (item.IsPopup()) {
      // Entering the bar: WM_INITMENU before the pop-up's WM_INITMENUPOPUP.
      auto initMenu = [hwnd]() {
        SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(hwnd)), 0);
      };
      QMenu* popup =
          MakeSelfFillingMenu(bar, item.popup, static_cast<int>(i), hwnd, sink, initMenu);
      popup->setTitle(DecodeWindows1252(item.text));
      popup->setEnabled(enabled);
      bar->addMenu(popup);
    } else {
      QAction* action = bar->addAction(DecodeWindows1252(item.text));
      action->setEnabled(enabled);
      UINT id = item.id;
      QObject::connect(action, &QAction::triggered, bar, [hwnd, id]() { PostCommand(hwnd, id); });
    }
  }
  bar->show();
  PlaceBar(hwnd);
}

/* The pop-ups from `menu` down to the one holding command `id`, with their positions. */
bool PathToCommand(HMENU menu, UINT id, std::vector<std::pair<HMENU, int>>* path, int depth) {
  MenuObject* object = FindMenuObject(menu);
  if (!object || depth > 16) return false;
  for (size_t i = 0; i < object->items.size(); ++i) {
    const MenuItem& item = object->items[i];
    if (!item.IsPopup()) {
      if (!item.IsSeparator() && item.id == id) return true;
      continue;
    }
    path->push_back({item.popup, static_cast<int>(i)});
    if (PathToCommand(item.popup, id, path, depth + 1)) return true;
    path->pop_back();
  }
  return false;
}

}  // namespace

/* A button of the bar's corner: it acts on whichever child is maximized when it is clicked. */
void AddChildButton(QWidget* corner, QStyle::StandardPixmap icon, HWND frame, WPARAM command) {
  auto* button = new QToolButton(corner);
  button->setIcon(corner->style()->standardIcon(icon));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  corner->layout()->addWidget(button);
  QObject::connect(button, &QToolButton::clicked, button, [frame, command]() {
    BarState* state = FindBar(frame);
    if (state && state->maximizedChild)
      PostMessage(state->maximizedChild, WM_SYSCOMMAND, command, 0);
  });
}

/* The non-client strip a window's menu bar takes (window_geometry's size calculation). */
int MenuBarHeightOf(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild()) return 0;
  BarState* state = FindBar(hwnd);
  return state && state->menu ? GetSystemMetrics(SM_CYMENU) : 0;
}

/* A menu given to CreateWindow: the bar is there before the first size calculation. */
void AttachMenuAtCreation(HWND hwnd, HMENU menu) {
  if (!FindMenuObject(menu)) return;
  BarState& state = Bars()[hwnd];
  state.menu = menu;
  BuildBar(hwnd, state);
}

HWND WindowOfMenuBar(HMENU menu) {
  for (auto& [hwnd, state] : Bars())
    if (state.menu == menu && IsWindow(hwnd)) return hwnd;
  return nullptr;
}

void NoteMenuChanged(HMENU menu) {
  // Pop-ups refill themselves when they open; only the bar's own line must be rebuilt, and
  // only when an item of the bar itself changed.
  for (auto& [hwnd, state] : Bars())
    if (state.menu == menu && state.bar) BuildBar(hwnd, state);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild()) return FALSE;
  if (menu && !FindMenuObject(menu)) return FALSE;
  BarState& state = Bars()[hwnd];
  bool hadMenu = state.menu != nullptr;
  state.menu = menu;
  if (!menu && state.bar) state.bar->hide();
  if (hadMenu != (menu != nullptr))
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (menu) BuildBar(hwnd, state);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  BarState* state = FindBar(hwnd);
  return state ? state->menu : nullptr;
}

UINT PrepareMenuCommand(HWND hwnd, UINT id) {
  HMENU menu = GetMenu(hwnd);
  std::vector<std::pair<HMENU, int>> path;
  if (!menu || !PathToCommand(menu, id, &path, 0)) return static_cast<UINT>(-1);
  SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  for (const auto& [popup, position] : path) {
    if (!IsMenu(popup) || !IsWindow(hwnd)) return static_cast<UINT>(-1);
    SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                MAKELPARAM(position, FALSE));
  }
  // Handlers may have changed the menu: the item is looked up again.
  return IsMenu(menu) ? GetMenuState(menu, id, MF_BYCOMMAND) : static_cast<UINT>(-1);
}

BOOL ChooseMenuBarCommand(HWND hwnd, UINT id) {
  UINT state = PrepareMenuCommand(hwnd, id);
  if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED))) return FALSE;
  PostCommand(hwnd, id);
  return TRUE;
}

void ShowMaximizedChildControls(HWND frame, HWND child) {
  BarState* state = FindBar(frame);
  if (!state || !state->bar || state->maximizedChild == child) return;
  state->maximizedChild = child;
  // One corner serves every maximized child in turn and is hidden while none is: making its
  // buttons anew and setting it into the bar cost every maximized window opened one more
  // layout of the bar's titles, and every one closed a deletion.
  QWidget* corner = state->bar->cornerWidget(Qt::TopRightCorner);
  if (!child) {
    if (corner) corner->hide();
    return;
  }
  if (!corner) {
    corner = new QWidget(state->bar);
    auto* layout = new QHBoxLayout(corner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    AddChildButton(corner, QStyle::SP_TitleBarMinButton, frame, SC_MINIMIZE);
    AddChildButton(corner, QStyle::SP_TitleBarNormalButton, frame, SC_RESTORE);
    AddChildButton(corner, QStyle::SP_TitleBarCloseButton, frame, SC_CLOSE);
    state->bar->setCornerWidget(corner, Qt::TopRightCorner);
  }
  corner->show();
}

namespace {

/* The mnemonic of a menu text: the character after a single '&' ("&&" is a plain '&'). */
char MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return text[i + 1];
  }
  return 0;
}

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

/* Alt+letter typed anywhere in a window: its top-level window's bar opens the pop-up (or
** chooses the command) whose text marks that letter. */
void OpenMenuByMnemonic(HWND hwnd, char mnemonic) {
  HWND top = hwnd;
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    top = w->parent;
  BarState* state = FindBar(top);
  MenuObject* object = state ? FindMenuObject(state->menu) : nullptr;
  if (!object || !state->bar || !mnemonic) return;
  int actionIndex = 0;  // the bar holds one action per item that is not a separator
  for (const MenuItem& item : object->items) {
    if (item.IsSeparator()) continue;
    bool enabled = (item.flags & (MF_GRAYED | MF_DISABLED)) == 0;
    if (enabled && SameLetter(MnemonicOf(item.text), mnemonic)) {
      if (!item.IsPopup()) {
        PostCommand(top, item.id);
      } else if (QAction* action = state->bar->actions().value(actionIndex)) {
        state->bar->setActiveAction(action);  // opens the pop-up as a click would
      }
      return;
    }
    ++actionIndex;
  }
}

void SetFrameEnabled(HWND hwnd, QWidget* frame, bool enabled) {
  BarState* state = FindBar(hwnd);
  FrameMenuBar* bar = state ? state->bar.data() : nullptr;
  if (bar) bar->HoldLayout(true);
  frame->setEnabled(enabled);
  if (bar) bar->HoldLayout(false);
}
