/*
** The stash: inside a dialog editor a destroyed grid's record waits in a hidden TSStash
** window until a grid created at the same place takes it back, or passes straight to the
** twin grid of a second copy of the dialog. Run time (kind 0) and kind 3 stash nothing.
*/
#include "grid/design_host.h"
#include "grid/design_services.h"
#include "grid/library_state.h"
#include "grid/tessel.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Window data of a stash window.
const int kRecordSlot = 0;
const int kStyleSlot = 4;
const int kLeftWord = 8;
const int kTopWord = 10;
const int kWidthWord = 12;
const int kHeightWord = 14;
const int kSettledSlot = 16;
const int kWindowSlot = 20;
const int kStashId = 0x4242;
const UINT kSettleMessage = WM_USER + 1;

HGLOBAL RecordOf(HWND window) { return reinterpret_cast<HGLOBAL>(GetWindowLongPtr(window, 0)); }
void SetRecord(HWND window, HGLOBAL record) {
  SetWindowLongPtr(window, 0, reinterpret_cast<LONG_PTR>(record));
}

struct Placement {
  int left, top, width, height;
};

Placement GridPlacement(HWND grid) {
  RECT rect{};
  GetWindowRect(grid, &rect);
  POINT corner{rect.left, rect.top};
  if (HWND parent = GetParent(grid)) ScreenToClient(parent, &corner);
  return {corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top};
}

HWND TopLevel(HWND window) {
  for (HWND parent = GetParent(window); parent; parent = GetParent(parent)) window = parent;
  return window;
}

std::vector<HWND> StashesAmong(HWND parent) {
  std::vector<HWND> stashes;
  if (!parent) return stashes;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (SameClass(child, TESSEL_STASH_CLASS, false)) stashes.push_back(child);
  return stashes;
}

/* The stash scope: the grandparent's stashes; for kind 4, without any, the top-level's. */
std::vector<HWND> StashScope(HWND grid, int kind) {
  HWND parent = GetParent(grid);
  std::vector<HWND> stashes = StashesAmong(parent ? GetParent(parent) : nullptr);
  if (stashes.empty() && kind == 4) stashes = StashesAmong(TopLevel(grid));
  return stashes;
}

bool CloseTo(int stored, int actual, int kind) {
  return stored == actual || (kind == 1 && std::abs(stored - actual) == 1);
}

bool StashMatches(HWND stash, HWND grid, int kind) {
  if (GetWindowLongPtr(stash, kSettledSlot) == 0) return true;
  Placement at = GridPlacement(grid);
  auto word = [&](int index) {
    return static_cast<int>(static_cast<int16_t>(GetWindowWord(stash, index)));
  };
  return CloseTo(word(kLeftWord), at.left, kind) && CloseTo(word(kTopWord), at.top, kind) &&
         CloseTo(word(kWidthWord), at.width, kind) && CloseTo(word(kHeightWord), at.height, kind);
}

/* A new stash holding the grid's record (none for a waiting grid); false when it cannot
   be created, for instance while its parent is being destroyed. */
bool StashGrid(HWND grid) {
  HWND parent = GetParent(grid);
  HWND grandparent = parent ? GetParent(parent) : nullptr;
  if (!grandparent) return false;
  HWND stash = CreateWindowEx(0, TESSEL_STASH_CLASS, "", WS_CHILD | WS_DISABLED, 0, 0, 0, 0,
                              grandparent, reinterpret_cast<HMENU>(static_cast<intptr_t>(kStashId)),
                              gTesselModule, nullptr);
  if (!stash) return false;
  HGLOBAL record = RecordOf(grid);
  DWORD style = static_cast<DWORD>(GetWindowLongPtr(grid, GWL_STYLE)) &
                ~static_cast<DWORD>(WS_VISIBLE | WS_GROUP | WS_TABSTOP);
  Placement at = GridPlacement(grid);
  SetWindowLongPtr(stash, kStyleSlot, static_cast<LONG_PTR>(style));
  SetWindowWord(stash, kLeftWord, static_cast<WORD>(at.left));
  SetWindowWord(stash, kTopWord, static_cast<WORD>(at.top));
  SetWindowWord(stash, kWidthWord, static_cast<WORD>(at.width));
  SetWindowWord(stash, kHeightWord, static_cast<WORD>(at.height));
  SetWindowLongPtr(stash, kSettledSlot, 0);
  SetWindowLongPtr(stash, kWindowSlot, reinterpret_cast<LONG_PTR>(grid));
  SetWindowLongPtr(stash, kRecordSlot, reinterpret_cast<LONG_PTR>(record));
  SetRecord(grid, nullptr);
  PostMessage(stash, kSettleMessage, 0, reinterpret_cast<LPARAM>(record));
  return true;
}

/* Gives the stash's record to the grid, with the stashed style's low word. */
void TakeFromStash(HWND stash, HWND grid) {
  SetRecord(grid, reinterpret_cast<HGLOBAL>(GetWindowLongPtr(stash, kRecordSlot)));
  DWORD stashed = static_cast<DWORD>(GetWindowLongPtr(stash, kStyleSlot));
  DWORD current = static_cast<DWORD>(SendMessage(grid, TSM_GETSTYLE, 0, 0));
  SendMessage(grid, TSM_SETSTYLE, 0,
              static_cast<LPARAM>((current & 0xFFFF0000u) | (stashed & 0xFFFF)));
  SetWindowLongPtr(stash, kRecordSlot, 0);
  DestroyWindow(stash);
}

bool IsGridWindow(HWND window) {
  return window && IsWindow(window) && SameClass(window, "Tessel", true);
}

void WindowTextOf(HWND window, char* text, int size) {
  text[0] = '\0';
  GetWindowText(window, text, size);
}

/* Kind 2: a same-named grid in a standard dialog among the parent and its siblings. */
HWND NamedTwin(HWND grid, bool* searched) {
  HWND parent = GetParent(grid);
  *searched = false;
  if (!parent) return nullptr;
  char own[80];
  WindowTextOf(grid, own, sizeof own);
  for (HWND dialog = GetWindow(parent, GW_HWNDFIRST); dialog;
       dialog = GetWindow(dialog, GW_HWNDNEXT)) {
    if (!SameClass(dialog, "#32770", false)) continue;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      // The new grid is already among its parent's children: it is not its own twin.
      if (child == grid || !SameClass(child, "Tessel", true)) continue;
      char text[100];
      WindowTextOf(child, text, sizeof text);
      if (std::strcmp(text, own) == 0) {
        *searched = true;
        return child;
      }
    }
  }
  return nullptr;
}

/* Kind 2 at destruction: the child at the grid's position, not counting "Drag" windows, of
   the other standard dialog under the same grandparent. */
HWND PositionalTwin(HWND grid) {
  HWND parent = GetParent(grid);
  if (!parent) return nullptr;
  int position = 0;
  bool found = false;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == grid) {
      found = true;
      break;
    }
    if (!SameClass(child, "Drag", true)) ++position;
  }
  if (!found) return nullptr;
  HWND grandparent = GetParent(parent);
  for (HWND dialog = GetWindow(parent, GW_HWNDFIRST); dialog;
       dialog = GetWindow(dialog, GW_HWNDNEXT)) {
    if (dialog == parent || !SameClass(dialog, "#32770", true) || GetParent(dialog) != grandparent)
      continue;
    int index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (SameClass(child, "Drag", true)) continue;
      if (index++ == position) return SameClass(child, "Tessel", true) ? child : nullptr;
    }
    return nullptr;
  }
  return nullptr;
}

/* Kind 4: a waiting grid's stash hands it the record of the grid it replaces. Only a live
   grid still without a record takes it; any other waiting stash is stale and goes. */
bool HandToWaitingGrid(HWND grid) {
  for (HWND stash : StashScope(grid, 4)) {
    if (GetWindowLongPtr(stash, kRecordSlot) != 0) continue;
    SetWindowLongPtr(stash, kSettledSlot, 1);
    if (!StashMatches(stash, grid, 4)) continue;
    HWND waiting = reinterpret_cast<HWND>(GetWindowLongPtr(stash, kWindowSlot));
    if (waiting == grid || !IsGridWindow(waiting) || RecordOf(waiting)) {
      DestroyWindow(stash);
      continue;
    }
    SetRecord(waiting, RecordOf(grid));
    SetRecord(grid, nullptr);
    InvalidateRect(waiting, nullptr, TRUE);
    DestroyWindow(stash);
    return true;
  }
  return false;
}

}  // namespace

extern "C" LRESULT StashProc(HWND stash, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: SetWindowLongPtr(stash, kRecordSlot, 0); break;
    case WM_DESTROY:
      if (auto record = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(stash, kRecordSlot))) {
        SetWindowLongPtr(stash, kRecordSlot, 0);
        FreeTesselData(record);
      }
      break;
    case kSettleMessage:
      if (lParam == GetWindowLongPtr(stash, kRecordSlot)) SetWindowLongPtr(stash, kSettledSlot, 1);
      break;
    default: break;
  }
  return DefWindowProc(stash, message, wParam, lParam);
}

extern "C" BOOL RegisterStashClass(HINSTANCE module) {
  WNDCLASS stash{};
  stash.lpfnWndProc = StashProc;
  stash.cbWndExtra = 24;
  stash.hInstance = module;
  stash.lpszClassName = TESSEL_STASH_CLASS;
  return RegisterClass(&stash) != 0;
}

extern "C" int RestoreFromStash(HWND grid) {
  int kind = GetDesignHost(grid);
  if (kind == 0 || kind == 3) return 0;
  if (kind == 2) {
    bool found = false;
    HWND twin = NamedTwin(grid, &found);
    if (found) {
      HGLOBAL record = RecordOf(twin);
      if (!record) return 0;
      SetRecord(grid, record);
      SetRecord(twin, nullptr);
      InvalidateRect(grid, nullptr, TRUE);
      return 1;
    }
  }
  HWND parent = GetParent(grid);
  if (kind == 4 && parent && SameClass(parent, "#32770", false) && StashGrid(grid)) return 1;
  std::vector<HWND> scope = StashScope(grid, kind);
  for (HWND stash : scope) {
    // A waiting grid's stash holds no record to give.
    if (GetWindowLongPtr(stash, kRecordSlot) == 0) continue;
    if (!StashMatches(stash, grid, kind)) continue;
    TakeFromStash(stash, grid);
    return 1;
  }
  for (HWND stash : scope) DestroyWindow(stash);
  return 0;
}

extern "C" int StashOnDestroy(HWND grid) {
  if (!RecordOf(grid)) return 0;
  int kind = GetDesignHost(grid);
  if (kind == 0 || kind == 3) return 0;
  if (kind == 4 && HandToWaitingGrid(grid)) return 1;
  if (kind == 2) {
    HWND twin = PositionalTwin(grid);
    if (twin && !RecordOf(twin)) {
      SetRecord(twin, RecordOf(grid));
      SetRecord(grid, nullptr);
      InvalidateRect(twin, nullptr, TRUE);
      return 1;
    }
  }
  return StashGrid(grid) ? 1 : 0;
}
