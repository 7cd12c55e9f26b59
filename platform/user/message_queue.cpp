/*
** The program's message queue on top of Qt's event loop. Posted messages wait in our own
** queue; GetMessage/PeekMessage take them, and while nobody pumps (the framework's loop is
** Qt's own) a pump object dispatches them from Qt's loop. WM_PAINT is synthesised for windows
** with an update region once no posted message is waiting, as on the original platform.
*/
#include "platform/user/message_queue.h"

#include "platform/user/cross_process_windows.h"
#include "platform/user/key_mapping.h"
#include "platform/user/input.h"
#include "platform/user/message_queue_internal.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <map>

namespace {

constexpr QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x2a1);

struct QueueState {
  std::deque<QueuedMessage> queue;
  std::vector<HWND> needPaint;
  bool quitPending = false;
  int quitCode = 0;
  int pumpDepth = 0;  // GetMessage / PeekMessage / modal loops running
  bool wakePosted = false;
  DWORD lastTime = 0;
  POINT lastPos{};
  MSG lastKeyMessage{};
  std::string lastKeyChars;
};

QueueState& State() {
  static QueueState state;
  return state;
}

DWORD TickNow() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<DWORD>(clock.elapsed());
}

/* Dispatches queued work from Qt's event loop while no message loop of ours is running. */
class MessagePump : public QObject {
 public:
  void customEvent(QEvent* event) override {
    if (event->type() != kWakeEvent) return;
    State().wakePosted = false;
    if (State().pumpDepth == 0) ProcessPendingMessages();
  }
};

MessagePump* Pump() {
  static MessagePump* pump = nullptr;
  if (!pump && QCoreApplication::instance()) pump = new MessagePump;
  return pump;
}

void Wake() {
  QueueState& state = State();
  if (state.wakePosted) return;
  if (MessagePump* pump = Pump()) {
    state.wakePosted = true;
    QCoreApplication::postEvent(pump, new QEvent(kWakeEvent));
  }
}

struct PumpScope {
  PumpScope() { State().pumpDepth++; }
  ~PumpScope() { State().pumpDepth--; }
};

}  // namespace

void ProcessWindowSystemEventsUntil(bool (*done)(void*), void* context, int timeoutMs) {
  if (!QCoreApplication::instance()) return;
  QElapsedTimer timer;
  timer.start();
  {
    PumpScope holdThePump;  // queued messages wait for the program's own loop
    while (!done(context) && timer.elapsed() < timeoutMs)
      QCoreApplication::processEvents(
          QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers, 10);
  }
  if (!State().queue.empty() || !State().needPaint.empty()) Wake();  // a wake taken meanwhile
}

namespace {

bool InFilter(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && msg.hwnd != hwnd) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

int Depth(HWND hwnd) {
  int depth = 0;
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    ++depth;
  return depth;
}

/* The shallowest window waiting for WM_PAINT that the filter admits. */
HWND NextWindowToPaint(HWND filter) {
  auto& list = State().needPaint;
  list.erase(std::remove_if(list.begin(), list.end(),
                            [](HWND h) {
                              WindowPtr w = FindWindowObject(h);
                              return !w || w->update.isEmpty();
                            }),
             list.end());
  HWND best = nullptr;
  int bestDepth = 0;
  for (HWND h : list) {
    if (filter && h != filter) continue;
    WindowPtr w = FindWindowObject(h);
    if (!w->redraw || !IsWindowVisible(h)) continue;
    int depth = Depth(h);
    if (!best || depth < bestDepth) best = h, bestDepth = depth;
  }
  return best;
}

bool TakeMessage(MSG* out, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  QueueState& state = State();
  for (auto it = state.queue.begin(); it != state.queue.end(); ++it) {
    if (it->keyboardInput) it->msg.hwnd = KeyboardInputTarget(it->msg.hwnd);
    if (!InFilter(it->msg, hwnd, filterMin, filterMax)) continue;
    *out = it->msg;
    if (remove) {
      QueuedMessage taken = std::move(*it);
      state.queue.erase(it);
      ApplyMessageInputState(taken);
      if (taken.msg.message == WM_TIMER) NoteTimerMessageTaken(taken.msg.hwnd, taken.msg.wParam);
      if (taken.msg.message == WM_KEYDOWN || taken.msg.message == WM_SYSKEYDOWN) {
        state.lastKeyMessage = taken.msg;
        state.lastKeyChars = taken.chars;
      }
    }
    state.lastTime = out->time;
    state.lastPos = out->pt;
    return true;
  }
  if (state.quitPending && !hwnd) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0, TickNow(), {}};
    if (remove) state.quitPending = false;
    return true;
  }
  bool paintAllowed =
      (filterMin == 0 && filterMax == 0) || (WM_PAINT >= filterMin && WM_PAINT <= filterMax);
  if (paintAllowed) {
    if (HWND paint = NextWindowToPaint(hwnd)) {
      *out = MSG{paint, WM_PAINT, 0, 0, TickNow(), {}};
      return true;
    }
  }
  return false;
}

// Owner: platform/user.
int gProcedureDepth = 0;  // window procedures running now, at any nesting

/* Widgets of destroyed windows wait for deferred deletion, which Qt performs only in its
** own loops. A message loop of ours that runs outside every window procedure and every Qt
** loop has nothing of theirs on the stack, so it performs the deletion itself. */
void DeleteDeferredWidgets() {
  if (gProcedureDepth == 0 && QCoreApplication::instance() &&
      QThread::currentThread()->loopLevel() == 0)
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WaitForWork() {
  if (!QCoreApplication::instance()) return;
  QEventLoop loop;
  loop.processEvents(QEventLoop::WaitForMoreEvents);
  DeleteDeferredWidgets();
}

}  // namespace

void PostQueuedMessage(QueuedMessage message) {
  if (message.msg.time == 0) message.msg.time = TickNow();
  if (message.msg.pt.x == 0 && message.msg.pt.y == 0 && QCoreApplication::instance()) {
    QPoint p = QCursor::pos();
    message.msg.pt = POINT{p.x(), p.y()};
  }
  State().queue.push_back(std::move(message));
  Wake();
}

void RequestPaint(HWND hwnd) {
  auto& list = State().needPaint;
  if (std::find(list.begin(), list.end(), hwnd) == list.end()) list.push_back(hwnd);
  Wake();
}

void ForgetQueuedMessagesOf(HWND hwnd) {
  auto& queue = State().queue;
  queue.erase(std::remove_if(queue.begin(), queue.end(),
                             [hwnd](const QueuedMessage& m) {
                               return m.msg.hwnd == hwnd && !m.keyboardInput;
                             }),
              queue.end());
  auto& list = State().needPaint;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  struct Depth {
    Depth() { ++gProcedureDepth; }
    ~Depth() { --gProcedureDepth; }
  } depth;
  return proc(hwnd, message, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : TopLevelWindows()) SendMessage(top, message, wParam, lParam);
    return 0;
  }
  // Only the procedure is taken from the window: the call needs no share of it.
  WindowObject* window = PeekWindowObject(hwnd);
  if (!window) return 0;
  return CallWindowProc(window->proc, hwnd, message, wParam, lParam);
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : TopLevelWindows()) PostMessage(top, message, wParam, lParam);
    return TRUE;
  }
  if (hwnd && !FindWindowObject(hwnd)) return FALSE;
  QueuedMessage queued;
  queued.msg = MSG{hwnd, message, wParam, lParam, 0, {}};
  PostQueuedMessage(std::move(queued));
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  State().quitPending = true;
  State().quitCode = exitCode;
  Wake();
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  // A loop of PeekMessage calls alone (a busy loop, a test's pump) frees them too.
  DeleteDeferredWidgets();
  PumpScope scope;
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  return TakeMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE
                                                                                      : FALSE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  if (hwnd && !FindWindowObject(hwnd)) return -1;
  DeleteDeferredWidgets();
  PumpScope scope;
  for (;;) {
    if (TakeMessage(msg, hwnd, filterMin, filterMax, true)) return msg->message != WM_QUIT;
    if (hwnd && !FindWindowObject(hwnd)) return -1;
    WaitForWork();
  }
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  QueueState& state = State();
  std::string chars;
  const MSG& last = state.lastKeyMessage;
  if (last.hwnd == msg->hwnd && last.message == msg->message && last.wParam == msg->wParam &&
      last.lParam == msg->lParam && last.time == msg->time) {
    chars = state.lastKeyChars;
  } else {
    // A key message that no real key event made: derive its character from the key states.
    int c = CharFromVirtualKey(static_cast<int>(msg->wParam), GetKeyState(VK_SHIFT) < 0,
                               GetKeyState(VK_CONTROL) < 0, (GetKeyState(VK_CAPITAL) & 1) != 0);
    if (c) chars.push_back(static_cast<char>(c));
  }
  if (chars.empty()) return FALSE;
  UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  // The characters come next, before anything posted later: insert at the queue's front.
  for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
    QueuedMessage queued;
    queued.msg = MSG{msg->hwnd,   charMessage, static_cast<WPARAM>(static_cast<unsigned char>(*it)),
                     msg->lParam, msg->time,   msg->pt};
    state.queue.push_front(std::move(queued));
  }
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, TickNow());
    return 0;
  }
  WindowPtr window = FindWindowObject(msg->hwnd);
  if (!window) return 0;
  int paintsBefore = window->beginPaintCount;
  LRESULT result;
  {
    PublicationHold publishOnce;
    result = CallWindowProc(window->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
  }
  if (msg->message == WM_PAINT && window->beginPaintCount == paintsBefore && !window->destroyed) {
    // A procedure that answers WM_PAINT without BeginPaint would be asked again forever.
    window->update = QRegion();
    window->eraseNeeded = false;
  }
  return result;
}

void ProcessPendingMessages() {
  for (int round = 0; round < 100; ++round) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    QueueState& state = State();
    bool worked = false;
    MSG msg;
    // A window that invalidates itself from its own WM_PAINT must not hold the caller here.
    for (int taken = 0; taken < 10000 && TakeMessage(&msg, nullptr, 0, 0, true); ++taken) {
      if (msg.message == WM_QUIT) {
        // Nobody runs a message loop to see it; keep it for the next one that does.
        state.quitPending = true;
        state.quitCode = static_cast<int>(msg.wParam);
        break;
      }
      worked = true;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    if (!worked && state.queue.empty()) return;
  }
}

bool RunModalLoop(const ModalLoop& loop, const bool* finished) {
  bool idleSent = false;
  while (!*finished) {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!idleSent && loop.idleOwner) {
        idleSent = true;
        SendMessage(loop.idleOwner, WM_ENTERIDLE, loop.idleCode,
                    reinterpret_cast<LPARAM>(loop.idleSource));
        continue;
      }
      PumpScope scope;
      WaitForWork();
      continue;
    }
    idleSent = false;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (loop.preTranslate && loop.preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return true;
}

UINT RegisterWindowMessage(LPCSTR name) {
  static std::map<std::string, UINT> registered;
  static UINT next = 0xC000;
  if (!name || !*name) return 0;
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto it = registered.find(key);
  if (it != registered.end()) return it->second;
  registered[key] = next;
  return next++;
}
