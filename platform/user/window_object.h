/*
** Inside the window manager: the object behind each HWND and each registered class, and the
** table that turns handles into objects. Only platform/user includes this header.
**
** Objects are held by shared pointers: a window procedure may destroy its own window while
** the manager is still working on it, so every step after a SendMessage looks the handle up
** again and works on an object that is still alive.
*/
#ifndef ZARNE_PLATFORM_USER_WINDOW_OBJECT_H
#define ZARNE_PLATFORM_USER_WINDOW_OBJECT_H

#include "platform/user/window_styles.h"
#include "platform/user/window_types.h"

#include <QImage>
#include <QMargins>
#include <QPointer>
#include <QRegion>

#include <memory>
#include <string>
#include <vector>

class FrameWidget;
class ClientWidget;
class QScrollBar;
class QWidget;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  WNDCLASS record{};  // lpszClassName points into name
  bool system = false;
  int windowCount = 0;
};

struct ScrollBarState {
  int minPos = 0;
  int maxPos = 100;
  int pos = 0;
  UINT page = 0;
  int trackPos = 0;
  bool tracking = false;
  bool showQueued = false;  // the bar's widget shows this state when the loop next turns
};

struct WindowObject {
  HWND hwnd = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::string text;

  HWND parent = nullptr;             // the parent of a child window; null for top-level windows
  HWND owner = nullptr;              // the owner of a top-level window
  std::vector<HWND> children;        // z-order, topmost first
  std::vector<LONG_PTR> extraWords;  // one pointer-sized slot per 4 bytes of cbWndExtra
  int extraBytes = 0;

  RECT rect{};         // window rectangle: parent client coordinates, or screen for top-level
  RECT client{};       // client rectangle relative to the window rectangle's top-left
  RECT restoreRect{};  // the rectangle before minimising or maximising

  QPointer<FrameWidget> frame;
  QPointer<ClientWidget> clientWidget;
  QPointer<QWidget> focusTarget;  // the Qt widget that takes keyboard focus (edit: its editor)
  QPointer<QScrollBar> hScroll;
  QPointer<QScrollBar> vScroll;
  ScrollBarState hBar;
  ScrollBarState vBar;
  int wheelRemainder = 0;  // wheel turn short of a whole notch, kept for the next one

  QImage backing;  // the client area's pixels, drawn through GDI
  // A resize only notes the new size: the image is made again when next drawn or shown,
  // once however often the window was sized meanwhile. backingKept is the part of the old
  // pixels that every size since then covered (the rest comes back white).
  bool backingStale = false;
  QSize backingKept;
  QRegion update;  // update region, client coordinates
  bool eraseNeeded = false;
  bool paintQueued = false;
  bool redraw = true;       // WM_SETREDRAW
  int beginPaintCount = 0;  // lets dispatch see whether a WM_PAINT handler painted at all
  HDC ownDC = nullptr;      // the persistent DC of a CS_OWNDC window

  bool creating = true;
  bool destroying = false;
  bool destroyed = false;

  bool IsChild() const { return (style & WS_CHILD) != 0; }
};

using WindowPtr = std::shared_ptr<WindowObject>;

/* The window's backing image at the client area's size, made again first when the window
   was resized since it was last drawn or shown (painting.cpp). */
QImage& RealizedBacking(WindowObject& window);
/* Hands a destroyed window's backing image on to a later window of the same size (its DCs
   are gone). */
void KeepBackingForReuse(WindowObject& window);
/* True while a DC of the window is out (its own DC included). */
bool HasOpenDC(const WindowObject& window);

/* Handle table */
WindowPtr FindWindowObject(HWND hwnd);
/* The same window without a share of it: for reading or setting its fields where no message
   is sent (nothing can destroy it) before the pointer's last use. */
WindowObject* PeekWindowObject(HWND hwnd);
WindowPtr RegisterWindowObject(std::shared_ptr<WindowClass> windowClass);
void ForgetWindowObject(HWND hwnd);
std::vector<HWND> TopLevelWindows();  // z-order, topmost first
/* The desktop (its window manager) activated a top-level window: the model follows without
   asking the desktop back; a window disabled under a modal dialog hands it to the dialog. */
void NoteDesktopActivation(HWND hwnd);
void AddTopLevelWindow(HWND hwnd, bool atTop);
/* Puts the WS_EX_TOPMOST windows above all others in the top-level z-order, each band
   keeping its own order: raising an ordinary window never lifts it over a topmost one. */
void KeepTopmostWindowsFirst();
void RemoveTopLevelWindow(HWND hwnd);
/* The sibling list a window lives in: its parent's children, or the top-level list. */
std::vector<HWND>& SiblingList(const WindowObject& window);

/* Class table */
std::shared_ptr<WindowClass> FindWindowClass(LPCSTR name, HINSTANCE instance);

/* The system classes (edit, ...) exist: class lookups need no application object. */
void EnsureSystemClasses();
/* Makes sure a QApplication-backed window system and the system classes are ready; creates
** the application object only when the program has none, as windows cannot exist without. */
bool EnsureWindowSystem();

/* The width of the border the window's style asks for: a sizing frame, a dialog frame or a
** thin border, else none. */
int FrameBorderWidth(const WindowObject& window);
/* The height of the caption when the style has one, else 0. */
int CaptionHeight(const WindowObject& window);
/* What the desktop draws around a top-level window (caption, border) and so lies outside its
** frame widget; nothing for child windows, whose frames the manager draws itself. */
QMargins NativeFrameInsets(const WindowObject& window);
/* Places the frame, client and scroll-bar widgets from the window's rectangles. */
void ApplyWidgetGeometry(WindowObject& window);

/* On a real display (not offscreen): waits until a newly shown top-level window is on the
** screen, paints it and its descendants and puts the pixels there at once, so a window shown
** during start-up, before any message loop, is seen. */
void PresentOnDisplayNow(HWND hwnd);

/* Raises a window's frame; top-level frames only where the desktop stacks windows. */
void RaiseFrame(const WindowObject& window);

/* Width and height of a rectangle. */
inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }

#endif
