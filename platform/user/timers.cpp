/*
** SetTimer / KillTimer on Qt timers. A timer that fires while its WM_TIMER is still waiting
** in the queue adds no second one, as on the original platform. A killed timer's Qt timer
** is kept, a few, for the next SetTimer.
*/
#include "platform/user/message_queue.h"

#include "platform/user/message_queue_internal.h"
#include "platform/user/window_object.h"

#include <QTimer>

#include <map>
#include <memory>
#include <vector>

namespace {

using TimerKey = std::pair<HWND, UINT_PTR>;

struct Timer {
  std::unique_ptr<QTimer> qtTimer;
  std::shared_ptr<TimerKey> firesFor;  // the key its timeout fires for
  TIMERPROC proc = nullptr;
  bool queued = false;
};

std::map<TimerKey, Timer>& Timers() {
  static std::map<TimerKey, Timer> timers;
  return timers;
}

/* Killed timers' Qt timers, stopped, for the next ones: a field poked over DDE sets and
   kills a timer each time, and a Qt timer costs several allocations to make and connect. */
constexpr size_t kSpareTimers = 4;

std::vector<Timer>& SpareTimers() {
  static std::vector<Timer> spares;
  return spares;
}

void KeepSpare(Timer timer) {
  if (!timer.qtTimer) return;
  timer.qtTimer->stop();
  if (SpareTimers().size() < kSpareTimers) SpareTimers().push_back(std::move(timer));
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
  if (!timer.qtTimer && !SpareTimers().empty()) {
    Timer& spare = SpareTimers().back();
    timer.qtTimer = std::move(spare.qtTimer);
    timer.firesFor = std::move(spare.firesFor);
    *timer.firesFor = key;
    SpareTimers().pop_back();
  }
  if (!timer.qtTimer) {
    timer.qtTimer = std::make_unique<QTimer>();
    timer.firesFor = std::make_shared<TimerKey>(key);
    QObject::connect(timer.qtTimer.get(), &QTimer::timeout,
                     [firesFor = timer.firesFor] { Fire(*firesFor); });
  }
  timer.proc = proc;
  timer.qtTimer->start(static_cast<int>(std::max<UINT>(elapseMs, 1)));
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto it = Timers().find({hwnd, id});
  if (it == Timers().end()) return FALSE;
  Timer timer = std::move(it->second);
  Timers().erase(it);
  KeepSpare(std::move(timer));
  return TRUE;
}

/* A destroyed window's timers end with it. */
void KillWindowTimers(HWND hwnd) {
  auto& timers = Timers();
  for (auto it = timers.begin(); it != timers.end();) {
    if (it->first.first != hwnd) {
      ++it;
      continue;
    }
    KeepSpare(std::move(it->second));
    it = timers.erase(it);
  }
}
