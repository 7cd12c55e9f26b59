/*
** System values with the classic scheme at 96 dpi, so that layouts computed from them come
** out the same on every desktop. Only the screen size is taken from Qt.
*/
#include "platform/user/system_info.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

int ScreenSize(bool width) {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (QScreen* screen = app->primaryScreen())
      return width ? screen->geometry().width() : screen->geometry().height();
  }
  return width ? 1024 : 768;
}

const DWORD kClassicColors[] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
};

// Owner: platform/user.
int gBeeps = 0;
UINT gLastBeepType = 0;

}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return ScreenSize(true);
    case SM_CYSCREEN: return ScreenSize(false);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return 16;
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CYSMCAPTION: return 15;
    case SM_CXFULLSCREEN: return ScreenSize(true);
    case SM_CYFULLSCREEN: return ScreenSize(false) - 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXIMIZED: return ScreenSize(true) + 8;
    case SM_CYMAXIMIZED: return ScreenSize(false) + 8;
    default: return 0;
  }
}

DWORD GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(sizeof(kClassicColors) / sizeof(kClassicColors[0])))
    return 0;
  return kClassicColors[index];
}

LONG GetDialogBaseUnits() { return MAKELONG(8, 16); }

/* Reports version 4.0 (build 1381): major in the low byte, minor in the next. */
DWORD GetVersion() { return 0x05650004; }

BOOL MessageBeep(UINT type) {
  ++gBeeps;
  gLastBeepType = type;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) &&
      QGuiApplication::platformName() != QLatin1String("offscreen"))
    QApplication::beep();
  return TRUE;
}

int MessageBeepCount() { return gBeeps; }

UINT LastMessageBeepType() { return gLastBeepType; }
