/*
** Response tables: each class that handles messages lists, in its own table, which window
** messages, commands, child notifications and command-enabling requests reach which of its
** member functions. A lookup searches the class's table, then its base class's, and so on;
** what no table names goes to the window's default handling.
**
**   class TMyWindow : public TWindow {
**     ...
**     DECLARE_RESPONSE_TABLE(TMyWindow);
**   };
**   DEFINE_RESPONSE_TABLE1(TMyWindow, TWindow)
**     EV_COMMAND(CM_FILESAVE, CmFileSave),
**     EV_EN_CHANGE(101, EvEditChange),
**     EV_WM_ENTERIDLE,
**   END_RESPONSE_TABLE;
**
** Message handlers have the names and arguments the EV_WM_ macros below give (EvSize,
** EvLButtonDown, ...); TWindow offers each one with the default handling, so a handler can
** pass the message on by calling its base class's.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_RESPONSE_TABLE_H
#define ZARNE_PLATFORM_FRAMEWORK_RESPONSE_TABLE_H

#include "platform/framework/geometry.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_messages.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

class TEventHandler;

/* The message being dispatched. */
struct TEventArgs {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

enum class TEntryKind {
  Message,         // a window message by number
  Command,         // WM_COMMAND from a menu, an accelerator or a push button, by id
  ChildNotify,     // WM_COMMAND from a child control, by id and notification code
  ChildNotifyAll,  // WM_COMMAND from a child control, by id, any code
  NotifyAtChild,   // a control's own notification code, handled by the control object
  CommandEnable,   // a request to enable a command (menu item, control-bar button), by id
};

using TEventDispatch = LRESULT (*)(TEventHandler* handler, TEventArgs& args);

struct TResponseTableEntry {
  TEntryKind kind;
  UINT message;  // Message: its number
  UINT id;       // Command, ChildNotify, ChildNotifyAll, CommandEnable: the id
  UINT code;     // ChildNotify, NotifyAtChild: the notification code
  TEventDispatch dispatch;
};

/* What a lookup asks for. */
struct TEventKey {
  TEntryKind kind;
  UINT message;
  UINT id;
  UINT code;
};

const TResponseTableEntry* SearchResponseTable(const std::vector<TResponseTableEntry>& table,
                                               const TEventKey& key);

/* What one class's lookups answered, key by key. A class's answer for a key never changes
   (its table and its bases' are fixed), while a window asks for every message it gets, and
   each lookup would walk the tables of every class it derives from. A key once looked up
   answers at once, a null answer included; past a bound nothing more is remembered, so a
   stream of odd message numbers cannot grow it. */
class TResponseCache {
 public:
  /* True, with the answer, when the key was looked up before. */
  bool Find(const TEventKey& key, const TResponseTableEntry** entry) const;
  void Remember(const TEventKey& key, const TResponseTableEntry* entry);

 private:
  struct KeyHash {
    size_t operator()(const TEventKey& key) const;
  };
  struct KeyEqual {
    bool operator()(const TEventKey& a, const TEventKey& b) const;
  };
  std::unordered_map<TEventKey, const TResponseTableEntry*, KeyHash, KeyEqual> answers_;
};

/* What a command-enabling handler is given: the command, and the answers it may set. */
class TCommandEnabler {
 public:
  explicit TCommandEnabler(UINT id) : id_(id) {}
  virtual ~TCommandEnabler() = default;
  UINT GetId() const { return id_; }
  virtual void Enable(bool enable = true) {
    enabled_ = enable;
    handled_ = true;
  }
  virtual void SetCheck(int state) {
    check_ = state;
    handled_ = true;
  }
  virtual void SetText(const char*) { handled_ = true; }
  bool IsEnabled() const { return enabled_; }
  int GetCheck() const { return check_; }
  bool WasHandled() const { return handled_; }
  enum { Unchecked = 0, Checked = 1, Indeterminate = 2 };

 private:
  UINT id_;
  bool enabled_ = true;
  int check_ = Unchecked;
  bool handled_ = false;
};

/* The root of every class with a response table. */
class TEventHandler {
 public:
  virtual ~TEventHandler() = default;
  /* The entry for the key in this class's table or a base class's; null when none. */
  virtual const TResponseTableEntry* FindEntry(const TEventKey& key);
  /* Runs the entry for the key when there is one; true when one ran. */
  bool Dispatch(const TEventKey& key, TEventArgs& args, LRESULT* result = nullptr);
};

#define DECLARE_RESPONSE_TABLE(cls)                                      \
 public:                                                                 \
  const TResponseTableEntry* FindEntry(const TEventKey& key) override;   \
                                                                         \
 private:                                                                \
  static const std::vector<TResponseTableEntry>& ResponseTableEntries(); \
                                                                         \
 public:                                                                 \
  static_assert(true)

#define DEFINE_RESPONSE_TABLE1(cls, base)                               \
  const TResponseTableEntry* cls::FindEntry(const TEventKey& key) {     \
    static thread_local TResponseCache cache;                           \
    const TResponseTableEntry* e = nullptr;                             \
    if (cache.Find(key, &e)) return e;                                  \
    e = SearchResponseTable(ResponseTableEntries(), key);               \
    if (!e) e = base::FindEntry(key);                                   \
    cache.Remember(key, e);                                             \
    return e;                                                           \
  }                                                                     \
  const std::vector<TResponseTableEntry>& cls::ResponseTableEntries() { \
    using TMyClass = cls;                                               \
    static const std::vector<TResponseTableEntry> entries = {
#define DEFINE_RESPONSE_TABLE(cls) DEFINE_RESPONSE_TABLE1(cls, TEventHandler)

#define END_RESPONSE_TABLE \
  }                        \
  ;                        \
  return entries;          \
  }                        \
  static_assert(true)

/* The handler object and the message's parts inside an entry's dispatcher. */
#define ZARNE_EV_SELF static_cast<TMyClass*>(zarne_handler)
#define ZARNE_EV_LAMBDA(body)                                           \
  [](TEventHandler* zarne_handler, TEventArgs& zarne_args) -> LRESULT { \
    (void)zarne_args;                                                   \
    body                                                                \
  }
#define ZARNE_EV_W zarne_args.wParam
#define ZARNE_EV_L zarne_args.lParam

/* Commands and command enabling */
#define EV_COMMAND(id, method)                                                                 \
  TResponseTableEntry {                                                                        \
    TEntryKind::Command, 0, (UINT)(id), 0, ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(); return 0;) \
  }
#define EV_COMMAND_AND_ID(id, method)                                         \
  TResponseTableEntry {                                                       \
    TEntryKind::Command, 0, (UINT)(id), 0,                                    \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(LOWORD(ZARNE_EV_W)); return 0;) \
  }
#define EV_COMMAND_ENABLE(id, method)                                                           \
  TResponseTableEntry {                                                                         \
    TEntryKind::CommandEnable, 0, (UINT)(id), 0,                                                \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(*reinterpret_cast<TCommandEnabler*>(ZARNE_EV_L)); \
                        return 0;)                                                              \
  }

/* Child notifications, at the parent */
#define EV_CHILD_NOTIFY(id, code, method)                   \
  TResponseTableEntry {                                     \
    TEntryKind::ChildNotify, 0, (UINT)(id), (UINT)(code),   \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(); return 0;) \
  }
#define EV_CHILD_NOTIFY_AND_CODE(id, code, method)                            \
  TResponseTableEntry {                                                       \
    TEntryKind::ChildNotify, 0, (UINT)(id), (UINT)(code),                     \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(HIWORD(ZARNE_EV_W)); return 0;) \
  }
#define EV_CHILD_NOTIFY_ALL_CODES(id, method)                                 \
  TResponseTableEntry {                                                       \
    TEntryKind::ChildNotifyAll, 0, (UINT)(id), 0,                             \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(HIWORD(ZARNE_EV_W)); return 0;) \
  }
/* A control's own notification, handled by the control object before its parent sees it. */
#define EV_NOTIFY_AT_CHILD(code, method)                    \
  TResponseTableEntry {                                     \
    TEntryKind::NotifyAtChild, 0, 0, (UINT)(code),          \
        ZARNE_EV_LAMBDA(ZARNE_EV_SELF->method(); return 0;) \
  }

/* The notification codes of the standard controls, as the original platform numbers them. */
#define EV_BN_CLICKED(id, method)       EV_CHILD_NOTIFY(id, 0, method)
#define EV_BN_DOUBLECLICKED(id, method) EV_CHILD_NOTIFY(id, 5, method)
#define EV_EN_SETFOCUS(id, method)      EV_CHILD_NOTIFY(id, 0x0100, method)
#define EV_EN_KILLFOCUS(id, method)     EV_CHILD_NOTIFY(id, 0x0200, method)
#define EV_EN_CHANGE(id, method)        EV_CHILD_NOTIFY(id, 0x0300, method)
#define EV_EN_UPDATE(id, method)        EV_CHILD_NOTIFY(id, 0x0400, method)
#define EV_EN_MAXTEXT(id, method)       EV_CHILD_NOTIFY(id, 0x0501, method)
#define EV_LBN_SELCHANGE(id, method)    EV_CHILD_NOTIFY(id, 1, method)
#define EV_LBN_DBLCLK(id, method)       EV_CHILD_NOTIFY(id, 2, method)
#define EV_LBN_SELCANCEL(id, method)    EV_CHILD_NOTIFY(id, 3, method)
#define EV_LBN_SETFOCUS(id, method)     EV_CHILD_NOTIFY(id, 4, method)
#define EV_LBN_KILLFOCUS(id, method)    EV_CHILD_NOTIFY(id, 5, method)
#define EV_CBN_SELCHANGE(id, method)    EV_CHILD_NOTIFY(id, 1, method)
#define EV_CBN_DBLCLK(id, method)       EV_CHILD_NOTIFY(id, 2, method)
#define EV_CBN_SETFOCUS(id, method)     EV_CHILD_NOTIFY(id, 3, method)
#define EV_CBN_KILLFOCUS(id, method)    EV_CHILD_NOTIFY(id, 4, method)
#define EV_CBN_EDITCHANGE(id, method)   EV_CHILD_NOTIFY(id, 5, method)
#define EV_CBN_EDITUPDATE(id, method)   EV_CHILD_NOTIFY(id, 6, method)
#define EV_CBN_DROPDOWN(id, method)     EV_CHILD_NOTIFY(id, 7, method)
#define EV_CBN_CLOSEUP(id, method)      EV_CHILD_NOTIFY(id, 8, method)
#define EV_CBN_SELENDOK(id, method)     EV_CHILD_NOTIFY(id, 9, method)
#define EV_CBN_SELENDCANCEL(id, method) EV_CHILD_NOTIFY(id, 10, method)

/* Any message, with its raw parameters: LRESULT method(WPARAM, LPARAM). */
#define EV_MESSAGE(msg, method)                                                \
  TResponseTableEntry {                                                        \
    TEntryKind::Message, (UINT)(msg), 0, 0,                                    \
        ZARNE_EV_LAMBDA(return ZARNE_EV_SELF->method(ZARNE_EV_W, ZARNE_EV_L);) \
  }

#define ZARNE_EV_WM(msg, body) \
  TResponseTableEntry { TEntryKind::Message, (UINT)(msg), 0, 0, ZARNE_EV_LAMBDA(body) }
#define ZARNE_EV_POINT TPoint((short)LOWORD(ZARNE_EV_L), (short)HIWORD(ZARNE_EV_L))

/* Window messages with their handlers' customary names and arguments. */
#define EV_WM_CREATE     \
  ZARNE_EV_WM(WM_CREATE, \
              return ZARNE_EV_SELF->EvCreate(*reinterpret_cast<CREATESTRUCT*>(ZARNE_EV_L));)
#define EV_WM_DESTROY ZARNE_EV_WM(WM_DESTROY, ZARNE_EV_SELF->EvDestroy(); return 0;)
#define EV_WM_CLOSE   ZARNE_EV_WM(WM_CLOSE, ZARNE_EV_SELF->EvClose(); return 0;)
#define EV_WM_PAINT   ZARNE_EV_WM(WM_PAINT, ZARNE_EV_SELF->EvPaint(); return 0;)
#define EV_WM_SIZE                                                  \
  ZARNE_EV_WM(WM_SIZE, {                                            \
    TSize zs((short)LOWORD(ZARNE_EV_L), (short)HIWORD(ZARNE_EV_L)); \
    ZARNE_EV_SELF->EvSize((UINT)ZARNE_EV_W, zs);                    \
  } return 0;)
#define EV_WM_MOVE              \
  ZARNE_EV_WM(WM_MOVE, {        \
    TPoint zp = ZARNE_EV_POINT; \
    ZARNE_EV_SELF->EvMove(zp);  \
  } return 0;)
#define EV_WM_SETFOCUS \
  ZARNE_EV_WM(WM_SETFOCUS, ZARNE_EV_SELF->EvSetFocus((HWND)ZARNE_EV_W); return 0;)
#define EV_WM_KILLFOCUS \
  ZARNE_EV_WM(WM_KILLFOCUS, ZARNE_EV_SELF->EvKillFocus((HWND)ZARNE_EV_W); return 0;)
#define EV_WM_CHAR                                                                             \
  ZARNE_EV_WM(WM_CHAR,                                                                         \
              ZARNE_EV_SELF->EvChar((UINT)ZARNE_EV_W, LOWORD(ZARNE_EV_L), HIWORD(ZARNE_EV_L)); \
              return 0;)
#define EV_WM_KEYDOWN                                                                             \
  ZARNE_EV_WM(WM_KEYDOWN,                                                                         \
              ZARNE_EV_SELF->EvKeyDown((UINT)ZARNE_EV_W, LOWORD(ZARNE_EV_L), HIWORD(ZARNE_EV_L)); \
              return 0;)
#define EV_WM_KEYUP                                                                             \
  ZARNE_EV_WM(WM_KEYUP,                                                                         \
              ZARNE_EV_SELF->EvKeyUp((UINT)ZARNE_EV_W, LOWORD(ZARNE_EV_L), HIWORD(ZARNE_EV_L)); \
              return 0;)
#define EV_WM_LBUTTONDOWN                               \
  ZARNE_EV_WM(WM_LBUTTONDOWN, {                         \
    TPoint zp = ZARNE_EV_POINT;                         \
    ZARNE_EV_SELF->EvLButtonDown((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_LBUTTONUP                               \
  ZARNE_EV_WM(WM_LBUTTONUP, {                         \
    TPoint zp = ZARNE_EV_POINT;                       \
    ZARNE_EV_SELF->EvLButtonUp((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_LBUTTONDBLCLK                               \
  ZARNE_EV_WM(WM_LBUTTONDBLCLK, {                         \
    TPoint zp = ZARNE_EV_POINT;                           \
    ZARNE_EV_SELF->EvLButtonDblClk((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_RBUTTONDOWN                               \
  ZARNE_EV_WM(WM_RBUTTONDOWN, {                         \
    TPoint zp = ZARNE_EV_POINT;                         \
    ZARNE_EV_SELF->EvRButtonDown((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_RBUTTONUP                               \
  ZARNE_EV_WM(WM_RBUTTONUP, {                         \
    TPoint zp = ZARNE_EV_POINT;                       \
    ZARNE_EV_SELF->EvRButtonUp((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_MOUSEMOVE                               \
  ZARNE_EV_WM(WM_MOUSEMOVE, {                         \
    TPoint zp = ZARNE_EV_POINT;                       \
    ZARNE_EV_SELF->EvMouseMove((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_HSCROLL                                                                             \
  ZARNE_EV_WM(WM_HSCROLL, ZARNE_EV_SELF->EvHScroll(LOWORD(ZARNE_EV_W), (short)HIWORD(ZARNE_EV_W), \
                                                   (HWND)ZARNE_EV_L);                             \
              return 0;)
#define EV_WM_VSCROLL                                                                             \
  ZARNE_EV_WM(WM_VSCROLL, ZARNE_EV_SELF->EvVScroll(LOWORD(ZARNE_EV_W), (short)HIWORD(ZARNE_EV_W), \
                                                   (HWND)ZARNE_EV_L);                             \
              return 0;)
#define EV_WM_TIMER ZARNE_EV_WM(WM_TIMER, ZARNE_EV_SELF->EvTimer((UINT)ZARNE_EV_W); return 0;)
#define EV_WM_ENTERIDLE                                                                     \
  ZARNE_EV_WM(WM_ENTERIDLE, ZARNE_EV_SELF->EvEnterIdle((UINT)ZARNE_EV_W, (HWND)ZARNE_EV_L); \
              return 0;)
#define EV_WM_MDIACTIVATE                                                                       \
  ZARNE_EV_WM(WM_MDIACTIVATE, ZARNE_EV_SELF->EvMDIActivate((HWND)ZARNE_EV_L, (HWND)ZARNE_EV_W); \
              return 0;)
#define EV_WM_SYSCOMMAND                               \
  ZARNE_EV_WM(WM_SYSCOMMAND, {                         \
    TPoint zp = ZARNE_EV_POINT;                        \
    ZARNE_EV_SELF->EvSysCommand((UINT)ZARNE_EV_W, zp); \
  } return 0;)
#define EV_WM_GETDLGCODE     \
  ZARNE_EV_WM(WM_GETDLGCODE, \
              return (LRESULT)ZARNE_EV_SELF->EvGetDlgCode(reinterpret_cast<MSG*>(ZARNE_EV_L));)
#define EV_WM_ERASEBKGND \
  ZARNE_EV_WM(WM_ERASEBKGND, return ZARNE_EV_SELF->EvEraseBkgnd((HDC)ZARNE_EV_W);)
#define EV_WM_SHOWWINDOW                                                                     \
  ZARNE_EV_WM(WM_SHOWWINDOW, ZARNE_EV_SELF->EvShowWindow(ZARNE_EV_W != 0, (UINT)ZARNE_EV_L); \
              return 0;)
#define EV_WM_ACTIVATE                                                                            \
  ZARNE_EV_WM(WM_ACTIVATE, ZARNE_EV_SELF->EvActivate(LOWORD(ZARNE_EV_W), HIWORD(ZARNE_EV_W) != 0, \
                                                     (HWND)ZARNE_EV_L);                           \
              return 0;)
#define EV_WM_CTLCOLOR                                                                           \
  ZARNE_EV_WM(WM_CTLCOLORSTATIC,                                                                 \
              return (LRESULT)ZARNE_EV_SELF->EvCtlColor((HDC)ZARNE_EV_W, (HWND)ZARNE_EV_L, 6);), \
      ZARNE_EV_WM(WM_CTLCOLOREDIT, return (LRESULT)ZARNE_EV_SELF->EvCtlColor(                    \
                                       (HDC)ZARNE_EV_W, (HWND)ZARNE_EV_L, 1);),                  \
      ZARNE_EV_WM(WM_CTLCOLORLISTBOX, return (LRESULT)ZARNE_EV_SELF->EvCtlColor(                 \
                                          (HDC)ZARNE_EV_W, (HWND)ZARNE_EV_L, 2);),               \
      ZARNE_EV_WM(WM_CTLCOLORBTN, return (LRESULT)ZARNE_EV_SELF->EvCtlColor(                     \
                                      (HDC)ZARNE_EV_W, (HWND)ZARNE_EV_L, 3);),                   \
      ZARNE_EV_WM(WM_CTLCOLORDLG, return (LRESULT)ZARNE_EV_SELF->EvCtlColor((HDC)ZARNE_EV_W,     \
                                                                            (HWND)ZARNE_EV_L, 4);)
#define EV_WM_DRAWITEM                                                                            \
  ZARNE_EV_WM(WM_DRAWITEM, ZARNE_EV_SELF->EvDrawItem(                                             \
                               (UINT)ZARNE_EV_W, *reinterpret_cast<DRAWITEMSTRUCT*>(ZARNE_EV_L)); \
              return TRUE;)
#define EV_WM_INITMENUPOPUP                                                         \
  ZARNE_EV_WM(WM_INITMENUPOPUP,                                                     \
              ZARNE_EV_SELF->EvInitMenuPopup((HMENU)ZARNE_EV_W, LOWORD(ZARNE_EV_L), \
                                             HIWORD(ZARNE_EV_L) != 0);              \
              return 0;)
#define EV_WM_PARENTNOTIFY                                                                       \
  ZARNE_EV_WM(WM_PARENTNOTIFY,                                                                   \
              ZARNE_EV_SELF->EvParentNotify(LOWORD(ZARNE_EV_W), ZARNE_EV_L, HIWORD(ZARNE_EV_W)); \
              return 0;)
#define EV_WM_QUERYENDSESSION \
  ZARNE_EV_WM(WM_QUERYENDSESSION, return ZARNE_EV_SELF->EvQueryEndSession() ? TRUE : FALSE;)

#endif
