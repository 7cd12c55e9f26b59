/*
** The system "combobox" class, built of real child windows so that each part behaves as its
** own class does and can be subclassed: an "edit" field (simple and drop-down kinds), a
** "listbox" (below the field for the simple kind; for the drop-down kinds a borderless list
** floating above the dialog, shown without taking the activation) and a face that paints the
** frame, the drop-down button and, for a drop-down list, the selected text.
** Notifications follow the platform's order: CBN_DROPDOWN before the list shows; a mouse
** choice ends with CBN_SELENDOK, CBN_CLOSEUP, then CBN_SELCHANGE; keys change the selection
** with CBN_SELCHANGE at once; typing sends CBN_EDITUPDATE then CBN_EDITCHANGE.
*/
#include "platform/user/combobox_control.h"

#include "platform/gdi/gdi_surface.h"
#include "platform/user/control_input.h"
#include "platform/user/edit_control.h"
#include "platform/user/input.h"
#include "platform/user/listbox_control.h"
#include "platform/user/message_queue.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/text_1252.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace {

struct ComboState {
  HWND hwnd = nullptr;
  HWND edit = nullptr;
  HWND list = nullptr;
  WNDPROC editProc = nullptr;  // the edit's own procedure under the combo's subclass
  QPointer<QWidget> face;
  QPointer<QObject> outsideWatch;  // while dropped: a click elsewhere closes the list
  DWORD kind = CBS_SIMPLE;
  int fieldHeight = 0;
  int droppedHeight = 0;  // the whole height the template gave: field and list
  bool dropped = false;
  bool choseWhileDropped = false;  // a click changed the selection; CBN_SELCHANGE follows the close
  bool hasFocus = false;
  bool extendedUI = false;
  int quiet = 0;  // the combo itself is setting the edit's text: no CBN_EDIT* for it
  HFONT font = nullptr;
};

std::map<HWND, std::unique_ptr<ComboState>>& Combos() {
  static std::map<HWND, std::unique_ptr<ComboState>> combos;
  return combos;
}

ComboState* StateOf(HWND hwnd) {
  auto it = Combos().find(hwnd);
  return it == Combos().end() ? nullptr : it->second.get();
}

ComboState* StateOfEdit(HWND edit) {
  for (auto& [hwnd, state] : Combos())
    if (state->edit == edit) return state.get();
  return nullptr;
}

void Notify(HWND hwnd, int code) {
  if (HWND parent = GetParent(hwnd))
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(hwnd));
}

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

std::string ItemText(const ComboState& s, int index) {
  LRESULT length = SendMessage(s.list, LB_GETTEXTLEN, index, 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessage(s.list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int CurrentIndex(const ComboState& s) {
  return static_cast<int>(SendMessage(s.list, LB_GETCURSEL, 0, 0));
}

/* The edit field (or the face of a drop-down list) shows the list's selection. */
void ShowSelectionText(ComboState& s) {
  int index = CurrentIndex(s);
  std::string text = index >= 0 ? ItemText(s, index) : std::string();
  if (s.edit) {
    ++s.quiet;
    SetWindowText(s.edit, text.c_str());
    if (StateOf(s.hwnd)) {
      --s.quiet;
      SendMessage(s.edit, EM_SETSEL, 0, -1);
    }
  }
  if (s.face) s.face->update();
}

/* ---- the face: frame, button and the drop-down list's text ---- */

class ComboFace : public QWidget {
 public:
  ComboFace(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    ComboState* s = StateOf(hwnd_);
    if (!s) return;
    QStylePainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = s->kind != CBS_DROPDOWNLIST;
    option.frame = true;
    if (s->dropped) option.state |= QStyle::State_On | QStyle::State_Sunken;
    if (s->hasFocus) option.state |= QStyle::State_HasFocus;
    if (!IsWindowEnabled(hwnd_)) option.state &= ~QStyle::State_Enabled;
    if (s->kind == CBS_DROPDOWNLIST) {
      int index = CurrentIndex(*s);
      option.currentText = index >= 0 ? DecodeWindows1252(ItemText(*s, index)) : QString();
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (s->kind == CBS_DROPDOWNLIST) painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  }

 private:
  HWND hwnd_;
};

/* ---- dropping and closing the list ---- */

void CloseList(ComboState& s, bool accepted, bool byUser);

bool IsWidgetOf(HWND hwnd, QWidget* widget) {
  WindowPtr window = FindWindowObject(hwnd);
  QWidget* frame = window ? static_cast<QWidget*>(window->frame.data()) : nullptr;
  return frame && widget && (widget == frame || frame->isAncestorOf(widget));
}

/* While the list is down, a press anywhere but on the combo box or its list closes the list
** and goes no further, as the platform's combo box, holding the mouse, does. */
class OutsideClickWatch : public QObject {
 public:
  OutsideClickWatch(HWND combo, QObject* parent) : QObject(parent), combo_(combo) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
      return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    ComboState* s = StateOf(combo_);
    if (!s || !widget || IsWidgetOf(combo_, widget) || IsWidgetOf(s->list, widget)) return false;
    CloseList(*s, false, true);
    return true;
  }

 private:
  HWND combo_;
};

void WatchOutsideClicks(ComboState& s, bool watch) {
  if (s.outsideWatch) {
    qApp->removeEventFilter(s.outsideWatch);
    s.outsideWatch->deleteLater();
    s.outsideWatch = nullptr;
  }
  if (watch && qApp) {
    s.outsideWatch = new OutsideClickWatch(s.hwnd, qApp);
    qApp->installEventFilter(s.outsideWatch);
  }
}

void Drop(ComboState& s) {
  if (s.dropped || s.kind == CBS_SIMPLE) return;
  HWND hwnd = s.hwnd;
  Notify(hwnd, CBN_DROPDOWN);  // the parent may fill the list now
  ComboState* still = StateOf(hwnd);
  if (!still || !IsWindow(still->list)) return;
  RECT field{};
  GetWindowRect(hwnd, &field);
  int itemHeight = static_cast<int>(SendMessage(still->list, LB_GETITEMHEIGHT, 0, 0));
  int height = std::max(still->droppedHeight - still->fieldHeight, itemHeight + 2);
  still->dropped = true;
  still->choseWhileDropped = false;
  WatchOutsideClicks(*still, true);
  SetWindowPos(still->list, HWND_TOPMOST, field.left, field.bottom, RectWidth(field), height,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  int current = CurrentIndex(*still);
  if (current >= 0) SendMessage(still->list, LB_SETTOPINDEX, current, 0);
  if (still->face) still->face->update();
}

/* `byUser`: the user ended the drop (CBN_SELENDOK or CBN_SELENDCANCEL first). */
void CloseList(ComboState& s, bool accepted, bool byUser) {
  if (!s.dropped) return;
  HWND hwnd = s.hwnd;
  s.dropped = false;
  WatchOutsideClicks(s, false);
  bool chose = s.choseWhileDropped;
  s.choseWhileDropped = false;
  if (byUser) Notify(hwnd, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
  ComboState* still = StateOf(hwnd);
  if (!still) return;
  ShowWindow(still->list, SW_HIDE);
  if (still->face) still->face->update();
  Notify(hwnd, CBN_CLOSEUP);
  if (chose && StateOf(hwnd)) Notify(hwnd, CBN_SELCHANGE);
}

void ToggleDrop(ComboState& s) {
  if (s.dropped) CloseList(s, false, true);
  else Drop(s);
}

/* Arrow keys and their kin move the selection and tell the parent at once. */
bool MoveSelection(ComboState& s, int vk) {
  int count = static_cast<int>(SendMessage(s.list, LB_GETCOUNT, 0, 0));
  if (count <= 0) return false;
  int current = CurrentIndex(s);
  int itemHeight = std::max(static_cast<int>(SendMessage(s.list, LB_GETITEMHEIGHT, 0, 0)), 1);
  int page = std::max((s.droppedHeight - s.fieldHeight) / itemHeight - 1, 1);
  int target;
  switch (vk) {
    case VK_UP: target = current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_PRIOR: target = current - page; break;
    case VK_NEXT: target = current + page; break;
    default: return false;
  }
  target = std::clamp(target, 0, count - 1);
  if (target == current) return true;
  SendMessage(s.list, LB_SETCURSEL, target, 0);
  ShowSelectionText(s);
  if (StateOf(s.hwnd)) Notify(s.hwnd, CBN_SELCHANGE);
  return true;
}

/* The keys a combo box takes for itself, whether they reached its edit or the combo. */
bool OnComboKey(ComboState& s, UINT message, int vk) {
  bool alt = message == WM_SYSKEYDOWN;
  if ((vk == VK_F4 && !alt && !s.extendedUI) || (alt && (vk == VK_DOWN || vk == VK_UP))) {
    ToggleDrop(s);
    return true;
  }
  if (alt) return false;
  if (s.dropped && (vk == VK_RETURN || vk == VK_ESCAPE)) {
    CloseList(s, vk == VK_RETURN, true);
    return true;
  }
  if (vk == VK_DOWN && s.extendedUI && !s.dropped && s.kind != CBS_SIMPLE) {
    Drop(s);
    return true;
  }
  // Home and End belong to the field when there is one.
  if (s.edit && (vk == VK_HOME || vk == VK_END)) return false;
  return MoveSelection(s, vk);
}

/* In a drop-down list a typed character selects the next item that begins with it. */
void OnListChar(ComboState& s, WPARAM ch) {
  if (ch < 0x20) return;
  char text[2] = {static_cast<char>(ch), 0};
  int found = static_cast<int>(
      SendMessage(s.list, LB_FINDSTRING, CurrentIndex(s), reinterpret_cast<LPARAM>(text)));
  if (found < 0 || found == CurrentIndex(s)) return;
  SendMessage(s.list, LB_SETCURSEL, found, 0);
  ShowSelectionText(s);
  if (StateOf(s.hwnd)) Notify(s.hwnd, CBN_SELCHANGE);
}

/* The combo's subclass of its edit: the arrows, F4, and Enter and Esc on an open list. */
LRESULT CALLBACK ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = StateOfEdit(edit);
  if (!s) return DefWindowProc(edit, message, wParam, lParam);
  WNDPROC base = s->editProc;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnComboKey(*s, message, static_cast<int>(wParam))) return 0;
      break;
    case WM_CHAR:
      if (s->dropped && (wParam == '\r' || wParam == 0x1B)) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProc(base, edit, message, wParam, lParam);
      return s->dropped ? code | DLGC_WANTALLKEYS : code;
    }
    default: break;
  }
  return CallWindowProc(base, edit, message, wParam, lParam);
}

std::string TextOfEdit(const ComboState& s) {
  int length = GetWindowTextLength(s.edit);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowText(s.edit, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

/* Typing in the field: the parent hears of it, and a visible list follows the text. */
void OnEditChanged(ComboState& s, WORD code) {
  if (s.quiet) return;
  HWND hwnd = s.hwnd;
  if (code == EN_UPDATE) {
    Notify(hwnd, CBN_EDITUPDATE);
    return;
  }
  Notify(hwnd, CBN_EDITCHANGE);
  ComboState* still = StateOf(hwnd);
  if (!still || !(still->dropped || still->kind == CBS_SIMPLE)) return;
  std::string text = TextOfEdit(*still);
  int found =
      text.empty()
          ? -1
          : static_cast<int>(SendMessage(still->list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
  SendMessage(still->list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void OnFocusGained(ComboState& s) {
  if (s.hasFocus) return;
  s.hasFocus = true;
  if (s.face) s.face->update();
  Notify(s.hwnd, CBN_SETFOCUS);
}

/* Focus moving inside the combo (to its edit) is no loss. */
void OnFocusLost(ComboState& s) {
  HWND now = GetFocus();
  if (!s.hasFocus || now == s.hwnd || (now && IsChild(s.hwnd, now))) return;
  HWND hwnd = s.hwnd;
  CloseList(s, false, true);
  ComboState* still = StateOf(hwnd);
  if (!still) return;
  still->hasFocus = false;
  if (still->face) still->face->update();
  Notify(hwnd, CBN_KILLFOCUS);
}

LRESULT OnChildCommand(ComboState& s, WPARAM wParam, LPARAM lParam) {
  auto child = reinterpret_cast<HWND>(lParam);
  WORD code = HIWORD(wParam);
  if (child == s.edit) {
    if (code == EN_CHANGE || code == EN_UPDATE) OnEditChanged(s, code);
    else if (code == EN_SETFOCUS) OnFocusGained(s);
    else if (code == EN_KILLFOCUS) OnFocusLost(s);
    return 0;
  }
  if (child != s.list) return 0;
  if (code == LBN_SELCHANGE) {
    ShowSelectionText(s);
    if (!StateOf(s.hwnd)) return 0;
    if (s.dropped) s.choseWhileDropped = true;  // told when the list closes
    else Notify(s.hwnd, CBN_SELCHANGE);
  } else if (code == LBN_DBLCLK && s.kind == CBS_SIMPLE) {
    Notify(s.hwnd, CBN_DBLCLK);
  }
  return 0;
}

/* ---- building and laying out ---- */

int FieldHeightFor(HFONT font) {
  QFontMetrics metrics(GdiFontToQFont(font));
  return metrics.height() + 8;
}

void LayOut(ComboState& s) {
  RECT client{};
  GetClientRect(s.hwnd, &client);
  int width = RectWidth(client), height = RectHeight(client);
  if (s.kind == CBS_SIMPLE) {
    if (s.edit) MoveWindow(s.edit, 0, 0, width, s.fieldHeight, TRUE);
    if (s.list)
      MoveWindow(s.list, 0, s.fieldHeight, width, std::max(height - s.fieldHeight, 0), TRUE);
    return;
  }
  if (s.face) s.face->setGeometry(0, 0, width, height);
  if (s.edit)
    MoveWindow(s.edit, 3, 3, std::max(width - ButtonWidth() - 5, 0), std::max(height - 6, 0), TRUE);
}

HWND CreateEditPart(ComboState& s, DWORD style, int width) {
  DWORD editStyle = WS_CHILD | WS_VISIBLE | (s.kind == CBS_SIMPLE ? WS_BORDER : 0);
  if (style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
  if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
  if (style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
  HWND edit = CreateWindowEx(0, "edit", "", editStyle, 0, 0, width, s.fieldHeight, s.hwnd,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(COMBO_EDIT_ID)), nullptr,
                             nullptr);
  if (!edit) return nullptr;
  s.edit = edit;
  s.editProc = reinterpret_cast<WNDPROC>(
      SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc)));
  return edit;
}

HWND CreateListPart(ComboState& s, DWORD style, int width, int height) {
  DWORD listStyle =
      WS_BORDER | WS_VSCROLL | LBS_NOTIFY | ((style & CBS_SORT) ? LBS_SORT : 0) |
      (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) |  // the same bits as LBS_
      ((style & CBS_HASSTRINGS) ? LBS_HASSTRINGS : 0);
  HWND list;
  if (s.kind == CBS_SIMPLE) {
    list = CreateWindowEx(0, "listbox", "", listStyle | WS_CHILD | WS_VISIBLE, 0, s.fieldHeight,
                          width, std::max(height - s.fieldHeight, 0), s.hwnd,
                          reinterpret_cast<HMENU>(static_cast<intptr_t>(COMBO_LIST_ID)), nullptr,
                          nullptr);
  } else {
    // Floats above the dialog, owned by it, and never takes the activation.
    list = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "listbox", "",
                          listStyle | WS_POPUP, 0, 0, width, std::max(height - s.fieldHeight, 0),
                          s.hwnd, nullptr, nullptr, nullptr);
  }
  if (!list) return nullptr;
  SetListBoxOwnerCombo(list, s.hwnd);
  s.list = list;
  return list;
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCT* cs) {
  ComboState* s = StateOf(hwnd);
  if (!s || !cs) return -1;
  s->kind = static_cast<DWORD>(cs->style) & 3;
  if (s->kind == 0) s->kind = CBS_SIMPLE;
  s->fieldHeight = FieldHeightFor(nullptr);
  s->droppedHeight = cs->cy;
  if (s->kind != CBS_SIMPLE) {
    WindowPtr window = FindWindowObject(hwnd);
    auto* face = new ComboFace(hwnd, window ? window->clientWidget.data() : nullptr);
    InstallControlInput(hwnd, face);
    face->show();
    s->face = face;
  }
  if (s->kind != CBS_DROPDOWNLIST && !CreateEditPart(*s, static_cast<DWORD>(cs->style), cs->cx))
    return -1;
  if (s->face) s->face->lower();  // the field lies on the face
  if (!StateOf(hwnd) || !CreateListPart(*s, static_cast<DWORD>(cs->style), cs->cx, cs->cy))
    return -1;
  if (s->kind != CBS_SIMPLE)
    SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, s->fieldHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (ComboState* still = StateOf(hwnd)) LayOut(*still);
  return 0;
}

void SetFont(ComboState& s, HFONT font, BOOL redraw) {
  s.font = font;
  if (s.face) s.face->setFont(GdiFontToQFont(font));
  if (s.edit) SendMessage(s.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  if (s.list) SendMessage(s.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  int height = FieldHeightFor(font);
  if (height == s.fieldHeight) return;
  s.fieldHeight = height;
  RECT window{};
  GetWindowRect(s.hwnd, &window);
  if (s.kind != CBS_SIMPLE)
    SetWindowPos(s.hwnd, nullptr, 0, 0, RectWidth(window), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (ComboState* still = StateOf(s.hwnd)) LayOut(*still);
}

/* A drop-down combo keeps its field's height; a new height given it is the dropped height. */
void KeepFieldHeight(ComboState& s, WINDOWPOS* pos) {
  if (!pos || s.kind == CBS_SIMPLE || (pos->flags & SWP_NOSIZE) || pos->cy == s.fieldHeight) return;
  s.droppedHeight = pos->cy;
  pos->cy = s.fieldHeight;
}

/* Text messages: the edit field's text, or a drop-down list's selected item. */
LRESULT TextMessage(ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  if (s.edit) {
    // Setting the text is not the user's edit: no CBN_EDITUPDATE or CBN_EDITCHANGE.
    HWND hwnd = s.hwnd;
    if (message == WM_SETTEXT) ++s.quiet;
    LRESULT result = SendMessage(s.edit, message, wParam, lParam);
    if (message == WM_SETTEXT && StateOf(hwnd)) {
      --s.quiet;
      DefWindowProc(hwnd, message, wParam, lParam);
    }
    return result;
  }
  int index = CurrentIndex(s);
  std::string text = index >= 0 ? ItemText(s, index) : std::string();
  switch (message) {
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(text.size());
    case WM_GETTEXT: {
      auto buffer = reinterpret_cast<LPSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t length = std::min(text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buffer, text.data(), length);
      buffer[length] = 0;
      return static_cast<LRESULT>(length);
    }
    default: {  // WM_SETTEXT selects the item of that text, if there is one
      int found = static_cast<int>(
          SendMessage(s.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam));
      if (found < 0) return CB_ERR;
      SendMessage(s.list, LB_SETCURSEL, found, 0);
      ShowSelectionText(s);
      return TRUE;
    }
  }
}

LRESULT SetCurSel(ComboState& s, int index) {
  LRESULT result = SendMessage(s.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (result == LB_ERR) SendMessage(s.list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ShowSelectionText(s);
  return result == LB_ERR ? CB_ERR : result;
}

LRESULT EditSelection(ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!s.edit) return CB_ERR;
  if (message == CB_GETEDITSEL) return SendMessage(s.edit, EM_GETSEL, wParam, lParam);
  SendMessage(s.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
              static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lParam))));
  return TRUE;
}

/* CB_ messages that are the list's own under another name. */
UINT ListMessageFor(UINT message) {
  switch (message) {
    case CB_ADDSTRING: return LB_ADDSTRING;
    case CB_INSERTSTRING: return LB_INSERTSTRING;
    case CB_DELETESTRING: return LB_DELETESTRING;
    case CB_GETCOUNT: return LB_GETCOUNT;
    case CB_GETCURSEL: return LB_GETCURSEL;
    case CB_GETLBTEXT: return LB_GETTEXT;
    case CB_GETLBTEXTLEN: return LB_GETTEXTLEN;
    case CB_FINDSTRING: return LB_FINDSTRING;
    case CB_FINDSTRINGEXACT: return LB_FINDSTRINGEXACT;
    case CB_GETITEMDATA: return LB_GETITEMDATA;
    case CB_SETITEMDATA: return LB_SETITEMDATA;
    case CB_DIR: return LB_DIR;
    default: return 0;
  }
}

LRESULT ComboMessage(ComboState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UINT listMessage = ListMessageFor(message))
    return SendMessage(s.list, listMessage, wParam, lParam);
  switch (message) {
    case CB_RESETCONTENT:
      SendMessage(s.list, LB_RESETCONTENT, 0, 0);
      if (s.edit) ShowSelectionText(s);
      else if (s.face) s.face->update();
      return CB_OKAY;
    case CB_SETCURSEL: return SetCurSel(s, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case CB_SELECTSTRING: {
      LRESULT found = SendMessage(s.list, LB_FINDSTRING, wParam, lParam);
      if (found == LB_ERR) return CB_ERR;
      return SetCurSel(s, static_cast<int>(found));
    }
    case CB_LIMITTEXT:
      if (s.edit) SendMessage(s.edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETEDITSEL:
    case CB_SETEDITSEL: return EditSelection(s, message, wParam, lParam);
    case CB_SHOWDROPDOWN:
      if (wParam) Drop(s);
      else CloseList(s, false, false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return s.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return CB_ERR;
      GetWindowRect(hwnd, rect);
      rect->bottom = rect->top + std::max(s.droppedHeight, s.fieldHeight);
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
      return static_cast<int>(static_cast<INT_PTR>(wParam)) == -1
                 ? s.fieldHeight - 6
                 : SendMessage(s.list, LB_GETITEMHEIGHT, 0, 0);
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(static_cast<INT_PTR>(wParam)) == -1) return CB_OKAY;
      return SendMessage(s.list, LB_SETITEMHEIGHT, 0, lParam) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_SETEXTENDEDUI: s.extendedUI = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return s.extendedUI ? TRUE : FALSE;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT OnMouseDown(ComboState& s, HWND hwnd, LPARAM lParam) {
  if (GetFocus() != hwnd && !(s.edit && GetFocus() == s.edit)) SetFocus(hwnd);
  ComboState* still = StateOf(hwnd);
  if (!still) return 0;
  RECT client{};
  GetClientRect(hwnd, &client);
  int x = static_cast<SHORT>(LOWORD(lParam));
  bool onButton = x >= client.right - ButtonWidth() - 2;
  if (still->kind == CBS_DROPDOWNLIST || (still->kind == CBS_DROPDOWN && onButton))
    ToggleDrop(*still);
  return 0;
}

}  // namespace

LRESULT CALLBACK ComboBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto state = std::make_unique<ComboState>();
    state->hwnd = hwnd;
    Combos()[hwnd] = std::move(state);
    // WS_VSCROLL and WS_HSCROLL are for the combo's list; the combo itself shows no bars.
    SetWindowLong(hwnd, GWL_STYLE, GetWindowLong(hwnd, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL));
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  ComboState* s = StateOf(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_DESTROY:
      if (IsWindow(s->list) && !IsChild(hwnd, s->list)) DestroyWindow(s->list);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_NCDESTROY:
      WatchOutsideClicks(*s, false);
      Combos().erase(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
      KeepFieldHeight(*s, reinterpret_cast<WINDOWPOS*>(lParam));
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SIZE:
      DefWindowProc(hwnd, message, wParam, lParam);
      if (ComboState* still = StateOf(hwnd); still && (still->edit || still->face)) LayOut(*still);
      return 0;
    case WM_SETFONT:
      SetFont(*s, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_ERASEBKGND: return 1;
    case WM_ENABLE:
      if (!wParam)
        CloseList(*s, false, false);  // a disabled or hidden combo box keeps no list open
      if (ComboState* still = StateOf(hwnd)) {
        if (still->edit) EnableWindow(still->edit, wParam != 0);
        if (still->face) still->face->update();
      }
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam) CloseList(*s, false, false);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
        if (ComboState* still = StateOf(hwnd); still && GetFocus() == still->edit)
          SendMessage(still->edit, EM_SETSEL, 0, -1);
      } else {
        OnFocusGained(*s);
      }
      return 0;
    case WM_KILLFOCUS: OnFocusLost(*s); return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (s->dropped && msg && msg->message == WM_KEYDOWN &&
          (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnComboKey(*s, message, static_cast<int>(wParam))) return 0;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CHAR:
      if (s->kind == CBS_DROPDOWNLIST) OnListChar(*s, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnMouseDown(*s, hwnd, lParam);
    case WM_COMMAND: return OnChildCommand(*s, wParam, lParam);
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: return TextMessage(*s, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // The combo's parent chooses its parts' colours.
      if (HWND parent = GetParent(hwnd)) return SendMessage(parent, message, wParam, lParam);
      return 0;
    default: return ComboMessage(*s, hwnd, message, wParam, lParam);
  }
}

HWND ComboBoxListWindow(HWND combo) {
  ComboState* s = StateOf(combo);
  return s ? s->list : nullptr;
}

HWND ComboBoxEditWindow(HWND combo) {
  ComboState* s = StateOf(combo);
  return s ? s->edit : nullptr;
}

void ComboListPicked(HWND combo, bool onItem) {
  ComboState* s = StateOf(combo);
  if (!s || !s->dropped || !onItem) return;
  CloseList(*s, true, true);
}

void RegisterComboBoxClass() {
  WNDCLASS combo{};
  combo.style = CS_DBLCLKS | CS_PARENTDC;
  combo.lpfnWndProc = ComboBoxWindowProc;
  combo.cbWndExtra = 8;
  combo.hCursor = LoadCursor(nullptr, IDC_ARROW);
  combo.lpszClassName = "ComboBox";
  RegisterSystemClass(&combo);
}
