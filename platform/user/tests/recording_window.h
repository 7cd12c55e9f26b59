/*
** A window class for the window-manager tests: its procedure logs every message and lets a
** test answer chosen messages itself before default processing.
*/
#ifndef ZARNE_PLATFORM_USER_TESTS_RECORDING_WINDOW_H
#define ZARNE_PLATFORM_USER_TESTS_RECORDING_WINDOW_H

#include "platform/user/winuser.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

struct LoggedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

/* Returns a value to answer the message, or nothing for default processing. */
using MessageHook = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

inline std::vector<LoggedMessage>& MessageLog() {
  static std::vector<LoggedMessage> log;
  return log;
}

inline MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog().push_back({hwnd, message, wParam, lParam});
  if (Hook()) {
    if (auto answer = Hook()(hwnd, message, wParam, lParam)) return *answer;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

/* Registers "TestWindow" (and "TestDblClk" with CS_DBLCLKS) once; white background. */
inline void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.cbWndExtra = 8;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TestWindow";
  RegisterClass(&wc);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = "TestDblClk";
  RegisterClass(&wc);
}

/* The messages a window received, in order, optionally only those in `wanted`. */
inline std::vector<UINT> MessagesOf(HWND hwnd, std::vector<UINT> wanted = {}) {
  std::vector<UINT> out;
  for (const auto& m : MessageLog()) {
    if (m.hwnd != hwnd) continue;
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), m.message) == wanted.end())
      continue;
    out.push_back(m.message);
  }
  return out;
}

inline std::vector<LoggedMessage> LoggedOf(UINT message) {
  std::vector<LoggedMessage> out;
  for (const auto& m : MessageLog())
    if (m.message == message) out.push_back(m);
  return out;
}

inline void ResetLog() {
  MessageLog().clear();
  Hook() = nullptr;
}

#endif
