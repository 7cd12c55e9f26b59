/*
** The system "edit" class. A QLineEdit (or a QPlainTextEdit for ES_MULTILINE) fills the
** client area; its Qt input is caught and queued as window messages, so the window procedure
** (and any subclass or superclass) sees each key and click first, and this class's default
** handling replays what it is given to the editor. Text crosses the interface in
** Windows-1252, multi-line text with CR LF line ends, positions counted the same way.
*/
#include "platform/user/edit_control.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/clipboard.h"
#include "platform/user/combobox_control.h"
#include "platform/user/control_colors.h"
#include "platform/user/control_input.h"
#include "platform/user/input.h"
#include "platform/user/key_mapping.h"
#include "platform/user/listbox_control.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/scroll_bars.h"
#include "platform/user/scrollbar_control.h"
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
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kDefaultLimit = 30000;

struct EditState {
  HWND hwnd = nullptr;
  QPointer<QLineEdit> line;
  QPointer<QPlainTextEdit> multi;
  int limit = kDefaultLimit;
  HFONT font = nullptr;
  bool quiet = false;          // no EN_CHANGE while the text is set without notification
  bool windowVBar = false;     // created with WS_VSCROLL / WS_HSCROLL: the window's bars
  bool windowHBar = false;     // show and move the editor's scrolling
  bool hasRect = false;        // EM_SETRECT gave a formatting rectangle
  bool focused = false;        // the selection shows (multi-line)
  bool highlightShown = true;  // what the palette shows now
  RECT rect{};
  char passwordChar = '*';
};

std::map<HWND, std::unique_ptr<EditState>>& Edits() {
  static std::map<HWND, std::unique_ptr<EditState>> edits;
  return edits;
}

EditState* StateOf(HWND hwnd) {
  auto it = Edits().find(hwnd);
  return it == Edits().end() ? nullptr : it->second.get();
}

QWidget* Editor(const EditState& s) {
  return s.line ? static_cast<QWidget*>(s.line.data()) : static_cast<QWidget*>(s.multi.data());
}

QWidget* MouseTarget(const EditState& s) { return s.multi ? s.multi->viewport() : Editor(s); }

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

void Notify(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (parent)
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                reinterpret_cast<LPARAM>(hwnd));
}

/* ---- text and positions in the interface's terms (CR LF counts two) ---- */

/* The multi-line editor's text with its line ends as '\n'. Qt's plain text would also turn
   every no-break space (0xA0) into a space, which the caller's bytes must not suffer. */
QString MultiLineText(const QPlainTextEdit& editor) {
  QString text = editor.document()->toRawText();
  for (QChar& c : text) {
    char16_t code = c.unicode();
    if (code == QChar::ParagraphSeparator || code == QChar::LineSeparator || code == 0xFDD0 ||
        code == 0xFDD1)
      c = QLatin1Char('\n');
  }
  return text;
}

QString EditorText(const EditState& s) { return s.line ? s.line->text() : MultiLineText(*s.multi); }

std::string InterfaceText(const EditState& s) {
  QString text = EditorText(s);
  if (s.multi) text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return EncodeWindows1252(text);
}

int ToInterfacePos(const EditState& s, int editorPos) {
  if (!s.multi) return editorPos;
  QString text = EditorText(s);
  return editorPos + static_cast<int>(text.left(editorPos).count(QLatin1Char('\n')));
}

int ToEditorPos(const EditState& s, int pos) {
  if (!s.multi) return pos;
  QString text = EditorText(s);
  int counted = 0;
  for (int i = 0; i < text.size(); ++i) {
    int width = text[i] == QLatin1Char('\n') ? 2 : 1;
    if (counted + width > pos) return i;
    counted += width;
  }
  return static_cast<int>(text.size());
}

void GetSelection(const EditState& s, int& start, int& end) {
  if (s.line) {
    if (s.line->hasSelectedText()) {
      start = s.line->selectionStart();
      end = s.line->selectionEnd();
    } else {
      start = end = s.line->cursorPosition();
    }
  } else {
    QTextCursor c = s.multi->textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
  }
  start = ToInterfacePos(s, start);
  end = ToInterfacePos(s, end);
}

void SetSelection(EditState& s, int start, int end) {
  int length = static_cast<int>(InterfaceText(s).size());
  if (end < 0 || end > length) end = length;
  if (start < 0) {
    // -1 removes the selection and leaves the caret where it was.
    int a, b;
    GetSelection(s, a, b);
    start = end = b;
  }
  start = std::min(start, length);
  int from = ToEditorPos(s, start), to = ToEditorPos(s, end);
  if (s.line) {
    s.line->setSelection(from, to - from);
  } else {
    QTextCursor c = s.multi->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    s.multi->setTextCursor(c);
  }
}

void SetEditorText(EditState& s, const std::string& text, bool notify) {
  QString value = DecodeWindows1252(text);
  s.quiet = !notify;
  if (s.line) {
    s.line->setText(value);
  } else {
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.multi->setPlainText(value);
  }
  s.quiet = false;
}

/* ES_UPPERCASE and ES_LOWERCASE hold for all text put in at the selection. */
std::string CaseConverted(HWND hwnd, const std::string& text) {
  DWORD style = Style(hwnd);
  if (!(style & (ES_UPPERCASE | ES_LOWERCASE))) return text;
  QString value = DecodeWindows1252(text);
  return EncodeWindows1252((style & ES_UPPERCASE) ? value.toUpper() : value.toLower());
}

/* How many bytes of `text` a single line without ES_AUTOHSCROLL still shows in full. */
size_t FittingWidth(const EditState& s, const std::string& text, int start, int end) {
  if (!s.line || (Style(s.hwnd) & ES_AUTOHSCROLL)) return text.size();
  RECT client{};
  GetClientRect(s.hwnd, &client);
  int room = (s.hasRect ? RectWidth(s.rect) : RectWidth(client)) - 4;
  QFontMetrics metrics(s.line->font());
  QString before = s.line->text();
  int from = ToEditorPos(s, start), to = ToEditorPos(s, end);
  size_t count = text.size();
  while (count > 0) {
    QString shown = before.left(from) + DecodeWindows1252(text.substr(0, count)) + before.mid(to);
    if (s.line->echoMode() == QLineEdit::Password) shown.fill(QLatin1Char('*'));
    if (metrics.horizontalAdvance(shown) <= room) break;
    --count;
  }
  return count;
}

/* Inserts at the selection as typing does: no further than the text limit, and for a single
** line without ES_AUTOHSCROLL no further than its width. */
void InsertText(EditState& s, const std::string& given) {
  std::string text = CaseConverted(s.hwnd, given);
  int start, end;
  GetSelection(s, start, end);
  int room = s.limit - (static_cast<int>(InterfaceText(s).size()) - (end - start));
  std::string fitting = text.substr(0, static_cast<size_t>(std::max(room, 0)));
  fitting.resize(FittingWidth(s, fitting, start, end));
  if (fitting.size() < text.size()) {
    Notify(s.hwnd, EN_MAXTEXT);
    if (fitting.empty()) {
      MessageBeep(0);
      return;
    }
  }
  QString value = DecodeWindows1252(fitting);
  if (s.line) {
    s.line->insert(value);
  } else {
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.multi->insertPlainText(value);
  }
}

/* Shift+Insert pastes, Ctrl+Insert copies and Shift+Delete cuts, as the platform's clipboard
** messages (the editor must not do them by itself, past a subclass and the text limit). */
UINT ClipboardKeyMessage(int vk) {
  bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
  if (vk == VK_INSERT && shift && !control) return WM_PASTE;
  if (vk == VK_INSERT && control && !shift) return WM_COPY;
  if (vk == VK_DELETE && shift && !control) return WM_CUT;
  return 0;
}

bool IsNavigationKey(int vk) {
  return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_DELETE || vk == VK_INSERT;
}

/* Without ES_NOHIDESEL the selection shows only while the edit has the focus (a single-line
** editor hides it by itself; a multi-line one is told so through its palette). The palette
** follows the focus just before the editor paints: a field move takes the focus away and gives
** it back before anything is drawn, and each palette change restyles the editor. */
void ApplySelectionHighlight(EditState& s) {
  if (!s.multi || (Style(s.hwnd) & ES_NOHIDESEL) || s.highlightShown == s.focused) return;
  s.highlightShown = s.focused;
  QPalette palette = s.multi->palette();
  QPalette standard = QApplication::palette(s.multi);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setBrush(group, QPalette::Highlight,
                     s.focused ? standard.brush(group, QPalette::Highlight)
                               : palette.brush(group, QPalette::Base));
    palette.setBrush(group, QPalette::HighlightedText,
                     s.focused ? standard.brush(group, QPalette::HighlightedText)
                               : palette.brush(group, QPalette::Text));
  }
  s.multi->setPalette(palette);
}

/* The focus changed: the selection's colours change at the next paint, which covers it all. */
void FollowFocus(EditState& s, bool focused) {
  if (s.focused == focused) return;
  s.focused = focused;
  if (s.multi && s.multi->isVisible()) s.multi->viewport()->update();
}

class SelectionHighlightFilter : public QObject {
 public:
  SelectionHighlightFilter(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    EditState* s = StateOf(hwnd_);
    if (!s) return false;
    auto* viewport = static_cast<QWidget*>(watched);
    // A paint of the whole viewport draws with the new colours already: the repaint the
    // palette change asks for would draw the same pixels a second time.
    bool whole = (QRegion(viewport->rect()) - static_cast<QPaintEvent*>(event)->region()).isEmpty();
    std::vector<QWidget*> held;
    if (whole)
      for (QWidget* widget : {static_cast<QWidget*>(s->multi), viewport})
        if (widget && !widget->testAttribute(Qt::WA_UpdatesDisabled)) held.push_back(widget);
    // The attribute is set directly: setUpdatesEnabled(true) would ask for the repaint itself.
    for (QWidget* widget : held) widget->setAttribute(Qt::WA_UpdatesDisabled, true);
    ApplySelectionHighlight(*s);
    for (QWidget* widget : held) widget->setAttribute(Qt::WA_UpdatesDisabled, false);
    return false;
  }

 private:
  HWND hwnd_;
};

/* The window's own scroll bar shows where the editor is scrolled. */
void MirrorScrollBar(HWND hwnd, int bar) {
  EditState* s = StateOf(hwnd);
  if (!s || !s->multi || !(bar == SB_VERT ? s->windowVBar : s->windowHBar)) return;
  QScrollBar* source =
      bar == SB_VERT ? s->multi->verticalScrollBar() : s->multi->horizontalScrollBar();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = source->minimum();
  info.nMax = source->maximum() + source->pageStep() - 1;
  info.nPage = static_cast<UINT>(source->pageStep());
  info.nPos = source->value();
  SetScrollInfo(hwnd, bar, &info, TRUE);
}

/* The editor moves its vertical bar quietly when the caret scrolls the text, so vertical
** scrolling is seen in the repaint it asks for; horizontal scrolling in the bar's value. */
void FollowScrollBars(HWND hwnd, QPlainTextEdit* editor) {
  auto scrolled = [hwnd](int bar) {
    MirrorScrollBar(hwnd, bar);
    if (StateOf(hwnd)) Notify(hwnd, bar == SB_VERT ? EN_VSCROLL : EN_HSCROLL);
  };
  QObject::connect(editor->verticalScrollBar(), &QScrollBar::rangeChanged, editor,
                   [hwnd](int, int) { MirrorScrollBar(hwnd, SB_VERT); });
  QObject::connect(editor, &QPlainTextEdit::updateRequest, editor,
                   [scrolled](const QRect&, int dy) {
                     if (dy != 0) scrolled(SB_VERT);
                   });
  QObject::connect(editor->horizontalScrollBar(), &QScrollBar::rangeChanged, editor,
                   [hwnd](int, int) { MirrorScrollBar(hwnd, SB_HORZ); });
  QObject::connect(editor->horizontalScrollBar(), &QScrollBar::valueChanged, editor,
                   [scrolled](int) { scrolled(SB_HORZ); });
}

/* WM_VSCROLL / WM_HSCROLL from the window's own bars scroll the editor. */
void OnWindowScroll(EditState& s, int bar, int code, int pos) {
  if (!s.multi) return;
  QScrollBar* target =
      bar == SB_VERT ? s.multi->verticalScrollBar() : s.multi->horizontalScrollBar();
  switch (code) {
    case SB_LINEUP: target->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_LINEDOWN: target->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_PAGEUP: target->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case SB_PAGEDOWN: target->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case SB_TOP: target->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case SB_BOTTOM: target->triggerAction(QAbstractSlider::SliderToMaximum); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target->setValue(pos); break;
    default: break;
  }
}

void CreateEditor(HWND hwnd, DWORD style) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->clientWidget) return;
  auto state = std::make_unique<EditState>();
  state->hwnd = hwnd;
  auto* layout = new QVBoxLayout(window->clientWidget);
  layout->setContentsMargins(0, 0, 0, 0);
  QWidget* editor;
  if (style & ES_MULTILINE) {
    state->multi = new QPlainTextEdit(window->clientWidget);
    state->multi->setFrameShape(QFrame::NoFrame);
    state->multi->setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                           : QPlainTextEdit::WidgetWidth);
    state->multi->setReadOnly(style & ES_READONLY);
    if (style & (ES_CENTER | ES_RIGHT)) {
      QTextOption option = state->multi->document()->defaultTextOption();
      option.setAlignment((style & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignRight);
      state->multi->document()->setDefaultTextOption(option);
    }
    InstallControlInput(hwnd, state->multi->viewport());
    editor = state->multi;
    QObject::connect(state->multi.data(), &QPlainTextEdit::textChanged, state->multi.data(),
                     [hwnd] {
                       EditState* s = StateOf(hwnd);
                       if (s && !s->quiet) Notify(hwnd, EN_UPDATE), Notify(hwnd, EN_CHANGE);
                     });
    // Scrolling the text, by the user or by the caret, is told to the parent and shown on the
    // window's own bars; the editor shows none of its own.
    state->multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    state->multi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    state->windowVBar = (style & WS_VSCROLL) != 0;
    state->windowHBar = (style & WS_HSCROLL) != 0;
    FollowScrollBars(hwnd, state->multi);
  } else {
    state->line = new QLineEdit(window->clientWidget);
    state->line->setFrame(false);
    state->line->setReadOnly(style & ES_READONLY);
    if (style & ES_PASSWORD) state->line->setEchoMode(QLineEdit::Password);
    if (style & ES_CENTER) state->line->setAlignment(Qt::AlignCenter);
    else if (style & ES_RIGHT) state->line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    editor = state->line;
    QObject::connect(state->line.data(), &QLineEdit::textChanged, state->line.data(), [hwnd] {
      EditState* s = StateOf(hwnd);
      if (s && !s->quiet) Notify(hwnd, EN_UPDATE), Notify(hwnd, EN_CHANGE);
    });
  }
  editor->setFocusPolicy(Qt::NoFocus);
  editor->setContextMenuPolicy(Qt::NoContextMenu);
  editor->setAcceptDrops(false);  // text comes in only by the messages a subclass can see
  if (state->multi) {
    ApplySelectionHighlight(*state);
    // Installed first, so it runs after the parent's colours are asked for.
    state->multi->viewport()->installEventFilter(
        new SelectionHighlightFilter(hwnd, state->multi->viewport()));
  }
  InstallControlInput(hwnd, editor);
  AskParentColorsWhenPainting(hwnd, WM_CTLCOLOREDIT,
                              state->multi ? state->multi->viewport() : editor, editor);
  layout->addWidget(editor);
  window->focusTarget = editor;
  Edits()[hwnd] = std::move(state);
}

void GetFormattingRect(const EditState& s, RECT* rect);

/* Without ES_AUTOVSCROLL a multi-line edit never scrolls down to a new line: a line break is
** taken only while the lines after it still fit the formatting rectangle's height. */
bool LineBreakFits(const EditState& s) {
  if (Style(s.hwnd) & ES_AUTOVSCROLL) return true;
  RECT area{};
  GetFormattingRect(s, &area);
  int lineHeight = std::max(QFontMetrics(s.multi->font()).lineSpacing(), 1);
  int fitting = std::max((area.bottom - area.top) / lineHeight, 1);
  QTextCursor selection = s.multi->textCursor();
  int removed = static_cast<int>(selection.selectedText().count(QChar::ParagraphSeparator));
  int after = s.multi->document()->lineCount() - removed + 1;
  return after <= fitting;
}

void InsertLineBreak(EditState& s) {
  if (!LineBreakFits(s)) {
    MessageBeep(0);
    return;
  }
  InsertText(s, "\r\n");
}

LRESULT OnChar(EditState& s, HWND hwnd, WPARAM ch) {
  DWORD style = Style(hwnd);
  bool readOnly = (style & ES_READONLY) != 0;
  switch (ch) {
    case 0x03: SendMessage(hwnd, WM_COPY, 0, 0); return 0;
    case 0x16:
      if (!readOnly) SendMessage(hwnd, WM_PASTE, 0, 0);
      return 0;
    case 0x18:
      if (!readOnly) SendMessage(hwnd, WM_CUT, 0, 0);
      return 0;
    case 0x1A:
      if (!readOnly) SendMessage(hwnd, WM_UNDO, 0, 0);
      return 0;
    case 0x08:
      if (!readOnly) ReplayKeyPress(Editor(s), Qt::Key_Backspace);
      return 0;
    case 0x1B: return 0;
    case 0x0D:
    case 0x0A:  // Ctrl+Enter: the line break a dialog's multi-line edit takes
      if (s.multi && !readOnly) InsertLineBreak(s);
      return 0;
    case 0x09:
      if (s.multi && !readOnly) InsertText(s, "\t");
      return 0;
    default: break;
  }
  if (ch < 0x20 || readOnly) return 0;
  char c = static_cast<char>(ch);
  if ((style & ES_NUMBER) && (c < '0' || c > '9')) {
    MessageBeep(0);
    return 0;
  }
  InsertText(s, std::string(1, c));
  return 0;
}

/* Pasting is typing the clipboard's text: the limit holds. */
void PasteText(EditState& s, HWND hwnd) {
  if (!OpenClipboard(hwnd)) return;
  HANDLE block = GetClipboardData(CF_TEXT);
  std::string text;
  if (const char* bytes = block ? static_cast<const char*>(GlobalLock(block)) : nullptr) {
    text = bytes;
    GlobalUnlock(block);
  }
  CloseClipboard();
  if (!s.multi) {
    // A single line takes the text up to its first line end.
    size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos) text.resize(end);
  }
  if (!text.empty()) InsertText(s, text);
}

/* The formatting rectangle: the editor is laid inside it, the rest of the client stays blank. */
void SetFormattingRect(EditState& s, const RECT* rect) {
  WindowPtr window = FindWindowObject(s.hwnd);
  if (!window || !window->clientWidget || !window->clientWidget->layout()) return;
  RECT client{};
  GetClientRect(s.hwnd, &client);
  s.hasRect = rect != nullptr;
  if (rect) s.rect = *rect;
  RECT r = s.hasRect ? s.rect : client;
  window->clientWidget->layout()->setContentsMargins(
      std::max<int>(r.left, 0), std::max<int>(r.top, 0), std::max<int>(client.right - r.right, 0),
      std::max<int>(client.bottom - r.bottom, 0));
}

void GetFormattingRect(const EditState& s, RECT* rect) {
  if (!rect) return;
  if (s.hasRect) {
    *rect = s.rect;
    return;
  }
  GetClientRect(s.hwnd, rect);
}

/* Scrolls a multi-line edit by lines; answers how many lines it moved. */
int ScrollLines(EditState& s, int lines) {
  if (!s.multi) return 0;
  QScrollBar* bar = s.multi->verticalScrollBar();
  int before = bar->value();
  bar->setValue(before + lines);
  return bar->value() - before;
}

/* Scrolls by whole lines until the caret's line is in view. */
void ScrollCaretIntoView(EditState& s) {
  if (!s.multi) return;
  QScrollBar* bar = s.multi->verticalScrollBar();
  int line = s.multi->textCursor().block().firstLineNumber();
  int visible = std::max(bar->pageStep(), 1);
  if (line < bar->value()) bar->setValue(line);
  else if (line >= bar->value() + visible) bar->setValue(line - visible + 1);
  s.multi->ensureCursorVisible();
}

LRESULT OnScrollMessage(EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!s.multi) return FALSE;
  if (message == EM_LINESCROLL) {
    QScrollBar* across = s.multi->horizontalScrollBar();
    across->setValue(across->value() +
                     static_cast<int>(wParam) * QFontMetrics(s.multi->font()).averageCharWidth());
    ScrollLines(s, static_cast<int>(lParam));
    return TRUE;
  }
  int page = std::max(
      s.multi->viewport()->height() / std::max(QFontMetrics(s.multi->font()).lineSpacing(), 1), 1);
  int moved;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: moved = ScrollLines(s, -1); break;
    case SB_LINEDOWN: moved = ScrollLines(s, 1); break;
    case SB_PAGEUP: moved = ScrollLines(s, -page); break;
    case SB_PAGEDOWN: moved = ScrollLines(s, page); break;
    default: return FALSE;
  }
  return MAKELRESULT(static_cast<WORD>(moved), TRUE);
}

/* Multi-line edits take every key, but in a dialog Enter (without ES_WANTRETURN or Ctrl), Esc
** and Tab (without Ctrl) stay with the dialog for its default button, cancel and focus moves. */
LRESULT DialogCode(const EditState& s, HWND hwnd, LPARAM lParam) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (!s.multi) return code;
  code |= DLGC_WANTALLKEYS;
  auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (!msg || msg->message != WM_KEYDOWN) return code;
  bool control = GetKeyState(VK_CONTROL) < 0;
  bool released = (msg->wParam == VK_RETURN && !(Style(hwnd) & ES_WANTRETURN) && !control) ||
                  msg->wParam == VK_ESCAPE || (msg->wParam == VK_TAB && !control);
  return released ? code & ~DLGC_WANTALLKEYS : code;
}

/* Cut, clear and paste of an edit that may be changed. */
void EditClipboard(EditState& s, HWND hwnd, UINT message) {
  if (message == WM_PASTE) {
    PasteText(s, hwnd);
  } else if (message == WM_CLEAR) {
    InsertText(s, "");
  } else if (s.line) {
    s.line->cut();
  } else {
    s.multi->cut();
  }
}

LRESULT GetLine(const EditState& s, int line, LPSTR buffer) {
  if (!buffer) return 0;
  WORD room;
  std::memcpy(&room, buffer, sizeof(room));  // the first word says how much fits
  QString text = s.line ? s.line->text()
                        : (s.multi->document()->findBlockByNumber(line).isValid()
                               ? s.multi->document()->findBlockByNumber(line).text()
                               : QString());
  std::string bytes = EncodeWindows1252(text);
  size_t count = std::min<size_t>(bytes.size(), room);
  std::memcpy(buffer, bytes.data(), count);
  return static_cast<LRESULT>(count);  // not terminated, as on the original platform
}

LRESULT LineMessage(const EditState& s, UINT message, WPARAM wParam) {
  if (!s.multi) {
    int length = static_cast<int>(InterfaceText(s).size());
    switch (message) {
      case EM_GETLINECOUNT: return 1;
      case EM_LINEINDEX: return static_cast<int>(wParam) <= 0 ? 0 : -1;
      case EM_LINELENGTH: return length;
      default: return 0;  // EM_LINEFROMCHAR
    }
  }
  QTextDocument* doc = s.multi->document();
  switch (message) {
    case EM_GETLINECOUNT: return doc->blockCount();
    case EM_LINEINDEX: {
      int line = static_cast<int>(wParam);
      if (line < 0) line = s.multi->textCursor().blockNumber();
      QTextBlock block = doc->findBlockByNumber(line);
      return block.isValid() ? ToInterfacePos(s, block.position()) : -1;
    }
    case EM_LINELENGTH: {
      int pos = static_cast<int>(wParam);
      QTextBlock block =
          pos < 0 ? s.multi->textCursor().block() : doc->findBlock(ToEditorPos(s, pos));
      return block.isValid() ? static_cast<int>(EncodeWindows1252(block.text()).size()) : 0;
    }
    default: {  // EM_LINEFROMCHAR
      int pos = static_cast<int>(wParam);
      if (pos < 0) return s.multi->textCursor().blockNumber();
      return doc->findBlock(ToEditorPos(s, pos)).blockNumber();
    }
  }
}

}  // namespace

LRESULT CALLBACK EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    CreateEditor(hwnd, cs ? static_cast<DWORD>(cs->style) : Style(hwnd));
    LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
    if (EditState* s = StateOf(hwnd); s && cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
      SetEditorText(*s, cs->lpszName, false);
    return result;
  }
  EditState* s = StateOf(hwnd);
  if (!s || !Editor(*s)) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY: Edits().erase(hwnd); return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETTEXT: {
      auto text = reinterpret_cast<LPCSTR>(lParam);
      DefWindowProc(hwnd, message, wParam, lParam);
      SetEditorText(*s, text ? text : "", s->line != nullptr);  // multi-line: no EN_CHANGE
      if (s->line) s->line->setCursorPosition(0);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto buffer = reinterpret_cast<LPSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      std::string text = InterfaceText(*s);
      size_t length = std::min(text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buffer, text.data(), length);
      buffer[length] = 0;
      return static_cast<LRESULT>(length);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(InterfaceText(*s).size());
    case WM_KEYDOWN: {
      int vk = static_cast<int>(wParam);
      if (UINT clipboard = ClipboardKeyMessage(vk)) {
        SendMessage(hwnd, clipboard, 0, 0);  // through the procedure, so a subclass sees it
        return 0;
      }
      if (IsNavigationKey(vk) && !(vk == VK_DELETE && (Style(hwnd) & ES_READONLY)))
        ReplayKeyPress(Editor(*s), QtKeyFromVirtualKey(vk));
      return 0;
    }
    case WM_CHAR: return OnChar(*s, hwnd, wParam);
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      ReplayMouseMessage(hwnd, MouseTarget(*s), message, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: ReplayMouseMessage(hwnd, MouseTarget(*s), message, wParam, lParam); return 0;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) ReplayMouseMessage(hwnd, MouseTarget(*s), message, wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      ApplyParentColors(hwnd, GetParent(hwnd), WM_CTLCOLOREDIT, Editor(*s));
      if (!StateOf(hwnd)) return 0;
      FollowFocus(*s, true);
      Editor(*s)->setFocus(Qt::OtherFocusReason);
      Notify(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      FollowFocus(*s, false);
      Editor(*s)->clearFocus();
      Notify(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      Editor(*s)->setFont(GdiFontToQFont(s->font));
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DialogCode(*s, hwnd, lParam);
    case WM_SIZE:
      DefWindowProc(hwnd, message, wParam, lParam);
      if (EditState* still = StateOf(hwnd); still && still->hasRect)
        SetFormattingRect(*still, &still->rect);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lParam == 0)
        OnWindowScroll(*s, message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam),
                       static_cast<SHORT>(HIWORD(wParam)));
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: SetFormattingRect(*s, reinterpret_cast<const RECT*>(lParam)); return 0;
    case EM_GETRECT: GetFormattingRect(*s, reinterpret_cast<RECT*>(lParam)); return 0;
    case EM_SCROLL:
    case EM_LINESCROLL: return OnScrollMessage(*s, message, wParam, lParam);
    case EM_GETFIRSTVISIBLELINE: return s->multi ? s->multi->verticalScrollBar()->value() : 0;
    case EM_SCROLLCARET: ScrollCaretIntoView(*s); return TRUE;
    case EM_SETPASSWORDCHAR:
      if (!s->line) return 0;
      s->passwordChar = static_cast<char>(wParam);
      s->line->setEchoMode(wParam ? QLineEdit::Password : QLineEdit::Normal);
      return 0;
    case EM_GETPASSWORDCHAR:
      return s->line && s->line->echoMode() == QLineEdit::Password ? s->passwordChar : 0;
    case WM_ERASEBKGND: return 1;
    case EM_GETSEL: {
      int start, end;
      GetSelection(*s, start, end);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      return MAKELRESULT(std::min(start, 0xFFFF), std::min(end, 0xFFFF));
    }
    case EM_SETSEL: SetSelection(*s, static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case EM_LIMITTEXT: s->limit = wParam ? static_cast<int>(wParam) : 0x7FFFFFFE; return 0;
    case EM_GETLIMITTEXT: return s->limit;
    case EM_REPLACESEL: {
      auto text = reinterpret_cast<LPCSTR>(lParam);
      InsertText(*s, text ? text : "");
      return 0;
    }
    case EM_GETMODIFY: return s->line ? s->line->isModified() : s->multi->document()->isModified();
    case EM_SETMODIFY:
      if (s->line) s->line->setModified(wParam != 0);
      else s->multi->document()->setModified(wParam != 0);
      return 0;
    case EM_SETREADONLY: {
      if (s->line) s->line->setReadOnly(wParam != 0);
      else s->multi->setReadOnly(wParam != 0);
      DWORD style = Style(hwnd);
      SetWindowLong(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      return TRUE;
    }
    case EM_CANUNDO:
      return s->line ? s->line->isUndoAvailable() : s->multi->document()->isUndoAvailable();
    case EM_UNDO:
    case WM_UNDO:
      if (Style(hwnd) & ES_READONLY) return FALSE;  // a read-only text is never changed by editing
      if (s->line) s->line->undo();
      else s->multi->undo();
      return TRUE;
    case EM_EMPTYUNDOBUFFER:
      if (s->multi) s->multi->document()->clearUndoRedoStacks();
      return 0;
    case EM_GETLINE: return GetLine(*s, static_cast<int>(wParam), reinterpret_cast<LPSTR>(lParam));
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINELENGTH:
    case EM_LINEFROMCHAR: return LineMessage(*s, message, wParam);
    case WM_COPY:
      if (s->line) s->line->copy();
      else s->multi->copy();
      return 0;
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
      if (!(Style(hwnd) & ES_READONLY)) EditClipboard(*s, hwnd, message);
      return 0;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterEditClass() {
  WNDCLASS edit{};
  edit.style = CS_DBLCLKS | CS_PARENTDC;
  edit.lpfnWndProc = EditWindowProc;
  edit.cbWndExtra = 6;
  edit.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  edit.lpszClassName = "Edit";
  RegisterSystemClass(&edit);
}
