/*
** MessageBox and its pluggable presenter. The default presenter exists so that a program or
** test with no windowing layer never blocks on a box nobody can see.
*/
#include "platform/user/message_box.h"

#include <QApplication>

#include <cstdio>
#include <utility>

namespace {

int StderrPresenter(const MessageBoxRequest& box) {
  std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
  return DefaultMessageBoxAnswer(box.type);
}

MessageBoxPresenter& CurrentPresenter() {
  static MessageBoxPresenter presenter;
  return presenter;
}

}  // namespace

int MessageBoxButtons(UINT type, int out[3]) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      out[0] = IDOK;
      out[1] = IDCANCEL;
      return 2;
    case MB_ABORTRETRYIGNORE:
      out[0] = IDABORT;
      out[1] = IDRETRY;
      out[2] = IDIGNORE;
      return 3;
    case MB_YESNOCANCEL:
      out[0] = IDYES;
      out[1] = IDNO;
      out[2] = IDCANCEL;
      return 3;
    case MB_YESNO:
      out[0] = IDYES;
      out[1] = IDNO;
      return 2;
    case MB_RETRYCANCEL:
      out[0] = IDRETRY;
      out[1] = IDCANCEL;
      return 2;
    default: out[0] = IDOK; return 1;
  }
}

int DefaultMessageBoxAnswer(UINT type) {
  int buttons[3];
  int count = MessageBoxButtons(type, buttons);
  int index = static_cast<int>((type & MB_DEFMASK) >> 8);
  if (index >= count) index = 0;  // the platform falls back to the first button
  return buttons[index];
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  return std::exchange(CurrentPresenter(), std::move(presenter));
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxRequest box{owner, text ? text : "", caption ? caption : "Error", type};
  const MessageBoxPresenter& presenter = CurrentPresenter();
  if (presenter) return presenter(box);
  // An offscreen program has nobody to answer a real box.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) &&
      QGuiApplication::platformName() != QLatin1String("offscreen"))
    return QtMessageBoxPresenter(box);
  return StderrPresenter(box);
}
