/*
** SetTimer / KillTimer on Qt timers. A timer that fires while its WM_TIMER is still waiting
** in the queue adds no second one, as on the original platform.
*/
#include "platform/user/message_queue.h"

#include "platform/user/message_queue_internal.h"
#include "platform/user/window_object.h"

#include <QTimer>

#include <map>
#include <memory>

namespace {

using TimerKey = std::pair<HWND, UINT_PTR>;

struct Timer {
  std::unique_ptr<QTimer> qtTimer;
  TIMERPROC proc = nullptr;
  bool queued = false;
};

std::map<TimerKey, Timer>& Timers() {
  static std::map<TimerKey, Timer> timers;
  return timers;
}

void Fire(const TimerKey& key) {
  auto it = Timers().find(key);
  if (it == Timers().end() || it->second.queued) return;
  it->second.queued = true;
  QueuedMessage message;
  message.msg =
      MSG{key.first, WM_TIMER, key.second, reinterpret_cast<LPARAM>(it->second.proc), 0, {}};
  PostQueuedMessage(std::move(message));
}

}  // namespace

/* Called when a WM_TIMER is taken from the queue, so the timer may queue the next one. */
void NoteTimerMessageTaken(HWND hwnd, UINT_PTR id) {
  auto it = Timers().find({hwnd, id});
  if (it != Timers().end()) it->second.queued = false;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (hwnd && !FindWindowObject(hwnd)) return 0;
  if (!EnsureWindowSystem()) return 0;
  if (!hwnd) {
    static UINT_PTR nextThreadTimer = 0x7000;
    id = nextThreadTimer++;
  }
  TimerKey key{hwnd, id};
  Timer& timer = Timers()[key];
  if (!timer.qtTimer) {
    timer.qtTimer = std::make_unique<QTimer>();
    QObject::connect(timer.qtTimer.get(), &QTimer::timeout, [key] { Fire(key); });
  }
  timer.proc = proc;
  timer.qtTimer->start(static_cast<int>(std::max<UINT>(elapseMs, 1)));
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto it = Timers().find({hwnd, id});
  if (it == Timers().end()) return FALSE;
  Timers().erase(it);
  return TRUE;
}

/* A destroyed window's timers end with it. */
void KillWindowTimers(HWND hwnd) {
  auto& timers = Timers();
  for (auto it = timers.begin(); it != timers.end();)
    it = it->first.first == hwnd ? timers.erase(it) : std::next(it);
}
